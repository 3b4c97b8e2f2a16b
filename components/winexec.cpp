#include "tabulo/components/winexec.h"

#include "tabulo/widgets/launcher.h"

void TKVWinExec::doExec(TData&, uint16_t) {
    if (RunOperation) (this->*RunOperation)(FileName, Parameters);
}

bool TKVWinExec::WinExecRun(const TText& fileName, const TText& parameters) {
    const int64_t pid = LaunchProgram(fileName.str() + " " + parameters.str());
    if (pid == 0) return false;
    ProcessId = pid;
    FireNull(onExec);
    return true;
}
