#include "tabulo/components/wintools.h"

#include "tabulo/widgets/control.h"

void TKVWinTools::doTopMost(TData& value, uint16_t) {
    const uint32_t handle = uint32_t(ReadInt(value, pullHandle, 0));
    const bool on = IsTrue(value);
    // The control changes its window only when the wanted state differs from
    // the window's real one, so a call on every mouse move costs nothing.
    if (TControl* window = ControlFromHandle(handle)) window->SetStaysOnTop(on);
}
