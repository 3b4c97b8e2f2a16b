#include "tabulo/components/keymask.h"

#include "tabulo/widgets/keystate.h"

namespace {
bool passes(uint8_t mode, TModifierKey key) {
    if (mode == kmAny) return true;
    const bool down = IsKeyDown(key);
    return mode == kmDown ? down : !down;
}
}  // namespace

void TKVKeyMask::doCheck(TData& value, uint16_t) {
    TData received = value;
    received.Tag &= uint8_t(~ForwardFlag);
    received.ForwardTo = nullptr;
    const int32_t low = ReadInt(value, pullKey, 0) & 0xFF;
    const bool match = passes(ShiftMode, TModifierKey::Shift) &&
                       passes(CtrlMode, TModifierKey::Ctrl) && passes(AltMode, TModifierKey::Alt) &&
                       low == Key;
    ForwardCopy(value, match ? onMatch : onNoMatch, received);
}
