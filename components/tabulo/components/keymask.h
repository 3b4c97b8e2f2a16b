#pragma once
// TKVKeyMask: passes its input to onMatch when the low byte of the key
// (pullKey, else the incoming value) equals Key and the Shift, Ctrl and Alt
// keys are in the states their modes ask for; otherwise to onNoMatch. Both
// outputs get the value that came in.

#include <cstdint>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

// Modes of the three modifier keys.
enum TKeyMaskMode : uint8_t {
    kmAny = 0,   // either state passes
    kmDown = 1,  // the key must be down
    kmUp = 2,    // the key must be up (so must it for any other value)
};

class TKVKeyMask : public TObject {
public:
    uint8_t ShiftMode = kmAny;
    uint8_t CtrlMode = kmAny;
    uint8_t AltMode = kmAny;
    int32_t Key = 0;  // compared with the low byte of the value
    TKV_Event pullKey;
    TKV_Event onMatch;
    TKV_Event onNoMatch;

    void doCheck(TData& value, uint16_t index);
};
