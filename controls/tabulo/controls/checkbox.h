#pragma once
// TKVCheckBox: a check box; a click fires onCheck and then onClick, both with
// the state after the click (1 checked, 0 not).

#include "tabulo/controls/win.h"

class TKVCheckBox : public TKVWin {
public:
    // Makes the control at once, so that the setters act immediately.
    explicit TKVCheckBox(TControl* parent);

    TKV_Event onCheck;
    TKV_Event onClick;

    // Enumeration: 0 checked, any other value unchecked. Fires nothing.
    void SetChecked(int value);
    void SetCaption(const TText& caption);
    // 1 checked, 0 not.
    void getChecked(TData& value, uint16_t index);

    void Init() override;
};
