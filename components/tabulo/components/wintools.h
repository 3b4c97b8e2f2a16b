#pragma once
// TKVWinTools: window tools. doTopMost keeps the window whose handle it pulls
// (pullHandle, else the incoming value) above all other windows when the
// value is true (IsTrue), and puts it back among the others when it is
// false. The window flag changes only when the state differs, so calling it
// on every mouse move costs nothing.

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

class TKVWinTools : public TObject {
public:
    TKV_Event pullHandle;

    void doTopMost(TData& value, uint16_t index);
};
