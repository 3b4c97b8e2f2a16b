#include "tabulo/chartpack/userfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

QString userTrainerDatabase() {
    return QDir(userChartFolder()).filePath(QStringLiteral("trainer.sqlite"));
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

}  // namespace chartpack
