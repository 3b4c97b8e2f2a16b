#pragma once
// TKVShowMessage: tells the user something in a message box with an OK
// button. The text is read by the read rule (pullText, else a non-empty
// Text, else the incoming value); the box has the caption Caption and the
// error icon when Error is set.

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

class TKVShowMessage : public TObject {
public:
    TText Caption;
    TText Text;
    bool Error = true;
    TKV_Event pullText;
    TKV_Event onShown;  // fired with NULL after the box is closed

    void doShow(TData& value, uint16_t index);
};
