#include "tabulo/components/wintools.h"

#include "tabulo/widgets/control.h"

void TKVWinTools::doTopMost(TData& value, uint16_t) {
    const uint32_t handle = uint32_t(ReadInt(value, pullHandle, 0));
    const bool on = IsTrue(value);
    TControl* window = ControlFromHandle(handle);
    if (!window || window->StaysOnTop() == on) return;
    window->SetStaysOnTop(on);
}
