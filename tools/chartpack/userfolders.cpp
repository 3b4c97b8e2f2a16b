#include "tabulo/chartpack/userfolders.h"

#include <QDir>

#include "tabulo/widgets/paths.h"

namespace chartpack {

QString userChartFolder() {
    const QString folder = QString::fromStdString(UserDataFolder());
    return folder.isEmpty() ? folder : QDir::cleanPath(folder);
}

QString userRangesFile() {
    const QString folder = userChartFolder();
    return folder.isEmpty() ? folder : QDir(folder).filePath(QStringLiteral("ranges.txt"));
}

}  // namespace chartpack
