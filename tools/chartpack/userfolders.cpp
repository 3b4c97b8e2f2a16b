#include "tabulo/chartpack/userfolders.h"

#include <QDir>
#include <QStandardPaths>

namespace chartpack {

QString userChartFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("tabulo"));
}

QString userRangesFile() {
    return QDir(userChartFolder()).filePath(QStringLiteral("ranges.txt"));
}

QString userCustomIni() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Tabulo/Custom.ini"));
}

}  // namespace chartpack
