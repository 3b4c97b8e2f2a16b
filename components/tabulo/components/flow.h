#pragma once
// Flow and memory components:
//   TKVSwitch   a two-state toggle that sends the value of its new state
//   TKVIf_else  compares two operands and passes its input to one of two outputs
//   TKVMemory   remembers the last value it was given
// Operands and state values are read by the read rule: a wired pull point
// first, then a non-empty property, then the incoming value (consumed).

#include <cstdint>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

class TKVSwitch : public TObject {
public:
    bool State = false;  // true: on
    TData Current;       // the value of the present state
    TData DataOn;
    TData DataOff;
    TKV_Event pullDataOff;
    TKV_Event pullDataOn;
    TKV_Event onOff;
    TKV_Event onOn;
    TKV_Event onSwitch;

    // Called by the schema after DataOn and DataOff are set: Default 0 starts
    // on, any other value off. Fires nothing.
    void Init(int32_t Default);

    // Flips the state, fires onSwitch with the new state's value at once,
    // then forwards a copy of it to onOn or onOff.
    void doSwitch(TData& value, uint16_t index);
};

// Operators of TKVIf_else.Type.
enum TIfElseOp : uint8_t {
    ieEqual = 0,
    ieLess = 1,
    ieGreater = 2,
    ieLessOrEqual = 3,
    ieGreaterOrEqual = 4,
    ieNotEqual = 5,
};

// Compares by the kind of the first operand: NULL is true exactly when Op2 is
// NULL too (whatever the operator); Integer and Real convert Op2 and compare
// numerically; String converts Op2 and compares bytes exactly for = and <>,
// and ASCII-case-insensitively for the four orderings. Any other kind: false.
// The outputs get the value that came in, even when reading consumed it.
class TKVIf_else : public TObject {
public:
    uint8_t Type = ieEqual;
    TData Op1;
    TData Op2;
    TKV_Event pullOp2;
    TKV_Event pullOp1;
    TKV_Event onTrue;
    TKV_Event onFalse;

    void doCompare(TData& value, uint16_t index);

    // The comparison alone, as doCompare makes it.
    static bool Compare(uint8_t type, const TData& op1, const TData& op2);
};

class TKVMemory : public TObject {
public:
    TData Value;
    TData Default;
    TKV_Event onData;
    TKV_Event pullData;

    // Value := Default.
    void Init();

    // Stores the pulled value (or the incoming one; Default is not consulted)
    // and forwards a copy of it to onData.
    void doValue(TData& value, uint16_t index);
    // Answers with a copy of Value.
    void getValue(TData& value, uint16_t index);
};
