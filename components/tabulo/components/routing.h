#pragma once
// Routing components: TKVHub fans one call out to its outputs in order;
// TKVIndexToChanel sends a value to the one output chosen by an index.

#include <cstdint>
#include <vector>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

// Fires every wired output, 0 first, each with its own copy of the incoming
// value: what one receiver does to its copy never reaches the next, and the
// incoming value is unchanged afterwards.
class TKVHub : public TObject {
public:
    uint8_t OutCount = 0;
    uint8_t InCount = 0;  // number of input indices wired to doEvent; informative only
    std::vector<TKV_Event> onEvent;

    // Sets the output count and resizes onEvent.
    void SetCount(uint8_t outputs);
    void SetInCount(uint8_t inputs) { InCount = inputs; }

    void doEvent(TData& value, uint16_t index);
};

// Reads a channel number (pullIndex, else the incoming value) and a value
// (pullData, else Data, else what is left of the incoming value) and forwards
// the value to onEvent[channel]. A channel outside 0..Count-1 fires nothing.
class TKVIndexToChanel : public TObject {
public:
    int32_t Count = 0;
    TData Data;
    TKV_Event pullData;
    TKV_Event pullIndex;
    std::vector<TKV_Event> onEvent;

    // Sets Count and resizes onEvent (negative counts as 0).
    void SetCount(int32_t count);

    void doEvent(TData& value, uint16_t index);
};
