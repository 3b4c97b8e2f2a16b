#include "customslot.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "tabulo/chartpack/render.h"
#include "tabulo/widgets/ini.h"

namespace ranges {

bool putOnCustomSlot(const chartpack::ChartPack& pack, int spot, int slot,
                     const QString& chartFolder, const QString& customIni, QString* error) {
    auto fail = [&](const QString& reason) {
        if (error) *error = reason;
        return false;
    };
    if (slot < 1 || slot > kCustomSlots) return fail(QStringLiteral("no slot %1").arg(slot));
    const chartpack::Spot chart = chartpack::Spot::fromIndex(spot);
    const QDir folder(QDir(chartFolder).filePath(QStringLiteral("custom")));
    const QString picture =
        QFileInfo(folder.filePath(QString::fromStdString(chart.key()) + ".png")).absoluteFilePath();
    QSaveFile file(picture);
    if (!folder.mkpath(QStringLiteral(".")) || !file.open(QIODevice::WriteOnly) ||
        !chartpack::renderSpotChart(pack, chart).save(&file, "png") || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(picture, file.errorString()));
    if (!QDir().mkpath(QFileInfo(customIni).absolutePath()))
        return fail(QStringLiteral("cannot create the folder of %1").arg(customIni));
    const std::string section = customini::SlotSection(slot);
    const std::string ini = customIni.toStdString();
    if (!WritePrivateProfileString(section, customini::FileKey, picture.toStdString(), ini) ||
        !WritePrivateProfileString(section, customini::CaptionKey, chart.title(), ini))
        return fail(QStringLiteral("cannot write %1").arg(customIni));
    return true;
}

}  // namespace ranges
