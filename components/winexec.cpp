#include "tabulo/components/winexec.h"

#include <QProcess>
#include <QString>
#include <QStringList>

void TKVWinExec::doExec(TData&, uint16_t) {
    if (RunOperation) (this->*RunOperation)(FileName, Parameters);
}

bool TKVWinExec::WinExecRun(const TText& fileName, const TText& parameters) {
    const std::string line = fileName.str() + " " + parameters.str();
    QStringList args =
        QProcess::splitCommand(QString::fromUtf8(line.data(), qsizetype(line.size())));
    if (args.isEmpty()) return false;
    const QString program = args.takeFirst();
    qint64 pid = 0;
    if (!QProcess::startDetached(program, args, QString(), &pid)) return false;
    ProcessId = pid;
    FireNull(onExec);
    return true;
}
