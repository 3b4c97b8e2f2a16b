#include "places.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "tabulo/chartpack/userfolders.h"

namespace ranges {

Places Places::user() {
    return {chartpack::userRangesFile(), chartpack::userChartFolder(), chartpack::userCustomIni()};
}

Places Places::program(const QString& folder) {
    return {chartpack::userRangesFile(), folder,
            QDir(folder).filePath(QStringLiteral("Custom.ini"))};
}

QByteArray defaultRangesText() {
    QFile file(QStringLiteral(":/tabulo/ranges.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

bool ensureRangesFile(const QString& path, QString* error) {
    if (QFileInfo::exists(path)) return true;
    const QByteArray text = defaultRangesText();
    QSaveFile file(path);
    if (text.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()) ||
        !file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error) *error = QStringLiteral("cannot create %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace ranges
