#include "tabulo/widgets/placementstore.h"

#include <sys/stat.h>

#include <QSettings>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "tabulo/widgets/ini.h"

namespace {

// "Tabulo\ChartPlace" -> "Tabulo/ChartPlace"; empty parts dropped.
QString GroupOf(std::string_view key) {
    QString k = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
    k.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return k.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

std::unique_ptr<QSettings> OpenStore() {
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software"),
                                       QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QString::fromStdString(PlacementStoreLocation()),
                                       QSettings::IniFormat);
#endif
}

// A store that is not a regular file (a FIFO, a folder, a device) is never
// opened: reading a FIFO would wait for a writer forever.
bool StoreUsable() {
#ifdef Q_OS_WIN
    return true;
#else
    struct stat st {};
    const std::string path = PlacementStoreLocation();
    return ::stat(path.c_str(), &st) != 0 ? errno == ENOENT : S_ISREG(st.st_mode);
#endif
}

const char* const kNames[4] = {"Left", "Top", "Height", "Width"};

}  // namespace

std::string PlacementStoreLocation() {
#ifdef Q_OS_WIN
    return "HKEY_CURRENT_USER\\Software";
#else
    std::string config;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        config = xdg;
    } else {
        const char* home = std::getenv("HOME");
        config = std::string(home && *home ? home : "/") + "/.config";
    }
    if (config.back() != '/') config += '/';
    return config + "Tabulo/placements.conf";
#endif
}

bool ReadPlacement(std::string_view key, TPlacementRecord& out) {
    out = TPlacementRecord{};
    const QString group = GroupOf(key);
    if (group.isEmpty() || !StoreUsable()) return false;
    auto settings = OpenStore();
    settings->beginGroup(group);
    std::optional<int32_t>* fields[4] = {&out.Left, &out.Top, &out.Height, &out.Width};
    bool found = false;
    for (int i = 0; i < 4; ++i) {
        const QVariant v = settings->value(QLatin1String(kNames[i]));
        bool ok = false;
        const qlonglong n = v.isValid() ? v.toString().trimmed().toLongLong(&ok) : 0;
        if (ok && n >= INT32_MIN && n <= INT32_MAX) {
            *fields[i] = static_cast<int32_t>(n);
            found = true;
        }
    }
    return found;
}

bool WritePlacement(std::string_view key, int32_t left, int32_t top, int32_t height,
                    int32_t width) {
    const QString group = GroupOf(key);
    if (group.isEmpty() || !StoreUsable()) return false;
    auto settings = OpenStore();
    if (!settings->isWritable()) return false;
    settings->beginGroup(group);
    const int32_t values[4] = {left, top, height, width};
    for (int i = 0; i < 4; ++i) settings->setValue(QLatin1String(kNames[i]), values[i]);
    settings->endGroup();
    settings->sync();
    return settings->status() == QSettings::NoError;
}

TPlacementRecord ReadIniPlacement(std::string_view file, std::string_view section,
                                  const TRect& current) {
    TPlacementRecord r;
    r.Left = GetPrivateProfileInt(section, "Left", current.Left, file);
    r.Top = GetPrivateProfileInt(section, "Top", current.Top, file);
    r.Width = GetPrivateProfileInt(section, "Width", current.Width(), file);
    r.Height = GetPrivateProfileInt(section, "Height", current.Height(), file);
    return r;
}

TRect RestoredPlacement(const TPlacementRecord& saved, const TRect& current, const TRect& area) {
    // 64-bit throughout: stored values may be anything a 32-bit integer holds.
    int64_t left = saved.Left.value_or(current.Left);
    int64_t top = saved.Top.value_or(current.Top);
    int64_t width = saved.Width.value_or(current.Width());
    int64_t height = saved.Height.value_or(current.Height());
    if (!area.Empty()) {
        width = std::clamp<int64_t>(width, 1, area.Width());
        height = std::clamp<int64_t>(height, 1, area.Height());
        const int64_t grip = std::min<int64_t>(width, kPlacementGrip);
        left = std::clamp<int64_t>(left, int64_t{area.Left} - width + grip,
                                   int64_t{area.Right} - grip);
        top = std::clamp<int64_t>(top, area.Top,
                                  int64_t{area.Bottom} - std::min<int64_t>(height, kPlacementGrip));
    } else {
        width = std::clamp<int64_t>(width, 0, INT32_MAX / 2);
        height = std::clamp<int64_t>(height, 0, INT32_MAX / 2);
        left = std::clamp<int64_t>(left, INT32_MIN / 2, INT32_MAX / 2);
        top = std::clamp<int64_t>(top, INT32_MIN / 2, INT32_MAX / 2);
    }
    return TRect{int(left), int(top), int(left + width), int(top + height)};
}
