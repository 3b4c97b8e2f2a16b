#pragma once
// TKVWinExec: starts a program. The command line is FileName, a space and
// Parameters, split into arguments the way the platform's command lines are
// (double quotes group, no shell is involved); the program runs on its own
// and is not waited for. A successful start fires onExec with NULL; a failed
// one fires nothing. ShowMode (the show-window code) has no counterpart on
// this platform and is only kept.

#include <cstdint>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

class TKVWinExec : public TObject {
public:
    using TRunOperation = bool (TKVWinExec::*)(const TText& fileName, const TText& parameters);

    int64_t ProcessId = 0;  // of the last program started; it is not held
    bool Running = false;
    TText FileName;
    TText Parameters;
    uint8_t ShowMode = 1;  // normal window
    TRunOperation RunOperation = &TKVWinExec::WinExecRun;
    TKV_Event onExec;

    // Runs RunOperation with FileName and Parameters.
    void doExec(TData& value, uint16_t index);

    // The simple launcher; true when the program started.
    bool WinExecRun(const TText& fileName, const TText& parameters);
};
