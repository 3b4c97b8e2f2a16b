#include "places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "tabulo/chartpack/userfolders.h"
#include "tabulo/widgets/customini.h"
#include "tabulo/widgets/paths.h"

namespace ranges {

namespace {

// The viewer's "Custom.ini" in its program folder, by the viewer's own rule.
QString customIniOf(const QString& viewerFolder) {
    return QString::fromStdString(
        ProgramFileIn(viewerFolder.toStdString(), std::string(customini::FileName)));
}

// The folder of the viewer installed beside this program: the package puts
// "tabulo", a link to the viewer in its own folder, beside the companions.
QString viewerBesideThisProgram() {
    const QFileInfo viewer(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tabulo")));
    const QString real = viewer.canonicalFilePath();
    return real.isEmpty() ? QString() : QFileInfo(real).absolutePath();
}

}  // namespace

Places Places::user() {
    const QString viewer = viewerBesideThisProgram();
    if (!viewer.isEmpty()) return forViewer(viewer);
    const std::string config = UserConfigFolder();
    return {chartpack::userRangesFile(), chartpack::userChartFolder(),
            config.empty() ? QString()
                           : QString::fromStdString(config + std::string(customini::FileName))};
}

Places Places::forViewer(const QString& viewerFolder) {
    return {chartpack::userRangesFile(), chartpack::userChartFolder(), customIniOf(viewerFolder)};
}

Places Places::program(const QString& folder) {
    return {chartpack::userRangesFile(), folder, customIniOf(folder)};
}

}  // namespace ranges
