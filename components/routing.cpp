#include "tabulo/components/routing.h"

void TKVHub::SetCount(uint8_t outputs) {
    OutCount = outputs;
    onEvent.resize(outputs);
}

void TKVHub::doEvent(TData& value, uint16_t) {
    for (std::size_t i = 0; i < onEvent.size(); ++i)
        if (onEvent[i].wired()) FireCopy(onEvent[i], value);
}

void TKVIndexToChanel::SetCount(int32_t count) {
    if (count < 0) count = 0;
    Count = count;
    onEvent.resize(std::size_t(count));
}

void TKVIndexToChanel::doEvent(TData& value, uint16_t) {
    const int32_t k = ReadInt(value, pullIndex, 0);
    value = ReadValue(value, pullData, &Data);
    if (k >= 0 && k < Count && std::size_t(k) < onEvent.size())
        Forward(value, onEvent[std::size_t(k)]);
}
