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

namespace {

struct Box {
    int64_t Left, Top, Right, Bottom;
    int64_t Width() const { return Right - Left; }
    int64_t Height() const { return Bottom - Top; }
};

Box ToBox(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

int64_t SharedArea(const Box& a, const Box& b) {
    const int64_t w = std::min(a.Right, b.Right) - std::max(a.Left, b.Left);
    const int64_t h = std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top);
    return w > 0 && h > 0 ? w * h : 0;
}

// The squared distance between two rectangles that do not overlap (as
// doubles: the coordinates may be far apart).
double Distance2(const Box& a, const Box& b) {
    const double dx = double(std::max<int64_t>({0, b.Left - a.Right, a.Left - b.Right}));
    const double dy = double(std::max<int64_t>({0, b.Top - a.Bottom, a.Top - b.Bottom}));
    return dx * dx + dy * dy;
}

Box Keep(Box w, std::span<const TRect> monitors) {
    const TRect* chosen = nullptr;
    int64_t most = 0;
    for (const TRect& m : monitors) {
        if (m.Empty()) continue;
        const int64_t shared = SharedArea(w, ToBox(m));
        if (shared > most) most = shared, chosen = &m;
    }
    const bool held = chosen != nullptr;
    if (!held) {
        double nearest = 0;
        for (const TRect& m : monitors) {
            if (m.Empty()) continue;
            const double d = Distance2(w, ToBox(m));
            if (!chosen || d < nearest) nearest = d, chosen = &m;
        }
    }
    if (!chosen) return w;
    const Box a = ToBox(*chosen);
    const int64_t width = std::clamp<int64_t>(w.Width(), 1, a.Width());
    const int64_t height = std::clamp<int64_t>(w.Height(), 1, a.Height());
    // Held: enough of it stays reachable. Not held: all of it comes in.
    const int64_t grip = held ? std::min<int64_t>(width, kPlacementGrip) : width;
    const int64_t gripHigh = held ? std::min<int64_t>(height, kPlacementGrip) : height;
    const int64_t left = std::clamp<int64_t>(w.Left, a.Left - width + grip, a.Right - grip);
    const int64_t top = std::clamp<int64_t>(w.Top, a.Top, a.Bottom - gripHigh);
    return {left, top, left + width, top + height};
}

}  // namespace

TRect KeepOnMonitors(const TRect& window, std::span<const TRect> monitors) {
    const Box b = Keep(ToBox(window), monitors);
    return TRect{int(b.Left), int(b.Top), int(b.Right), int(b.Bottom)};
}

bool OnSomeMonitor(const TRect& window, std::span<const TRect> monitors) {
    bool any = false;
    for (const TRect& m : monitors) {
        if (m.Empty()) continue;
        any = true;
        if (SharedArea(ToBox(window), ToBox(m)) > 0) return true;
    }
    return !any;
}

TRect RestoredPlacement(const TPlacementRecord& saved, const TRect& current,
                        std::span<const TRect> monitors) {
    // 64-bit throughout: stored values may be anything a 32-bit integer
    // holds; a window no monitor takes in is kept within half the range.
    const int64_t width =
        std::clamp<int64_t>(saved.Width.value_or(current.Width()), 0, INT32_MAX / 2);
    const int64_t height =
        std::clamp<int64_t>(saved.Height.value_or(current.Height()), 0, INT32_MAX / 2);
    const int64_t left =
        std::clamp<int64_t>(saved.Left.value_or(current.Left), INT32_MIN / 2, INT32_MAX / 2);
    const int64_t top =
        std::clamp<int64_t>(saved.Top.value_or(current.Top), INT32_MIN / 2, INT32_MAX / 2);
    const Box b = Keep({left, top, left + width, top + height}, monitors);
    return TRect{int(b.Left), int(b.Top), int(b.Right), int(b.Bottom)};
}
