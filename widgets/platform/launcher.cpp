// Starting programs through QProcess.

#include "tabulo/widgets/launcher.h"

#include <QProcess>
#include <QString>
#include <QStringList>

int64_t LaunchProgram(std::string_view commandLine) {
    QStringList args = QProcess::splitCommand(
        QString::fromUtf8(commandLine.data(), qsizetype(commandLine.size())));
    if (args.isEmpty() || args.front().isEmpty()) return 0;
    const QString program = args.takeFirst();
    qint64 pid = 0;
    if (!QProcess::startDetached(program, args, QString(), &pid) || pid <= 0) return 0;
    return pid;
}
