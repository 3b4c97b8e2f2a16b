#include "tabulo/widgets/placementstore.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <memory>

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
    if (group.isEmpty()) return false;
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
    if (group.isEmpty()) return false;
    auto settings = OpenStore();
    if (!settings->isWritable()) return false;
    settings->beginGroup(group);
    const int32_t values[4] = {left, top, height, width};
    for (int i = 0; i < 4; ++i) settings->setValue(QLatin1String(kNames[i]), values[i]);
    settings->endGroup();
    settings->sync();
    return settings->status() == QSettings::NoError;
}
