#include "places.h"

#include <QDir>

#include "tabulo/chartpack/userfolders.h"

namespace ranges {

Places Places::user() {
    return {chartpack::userRangesFile(), chartpack::userChartFolder(), chartpack::userCustomIni()};
}

Places Places::program(const QString& folder) {
    return {chartpack::userRangesFile(), folder,
            QDir(folder).filePath(QStringLiteral("Custom.ini"))};
}

}  // namespace ranges
