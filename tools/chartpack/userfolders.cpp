#include "tabulo/chartpack/userfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

QString userTrainerDatabase() {
    const QString folder = userChartFolder();
    return folder.isEmpty() ? folder : QDir(folder).filePath(QStringLiteral("trainer.sqlite"));
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
