#pragma once
// TKVLabel: static text that may change colour and underline under the mouse.

#include "tabulo/controls/win.h"

class TKVLabel : public TKVWin {
public:
    // Makes the control at once, so that the setters act immediately.
    explicit TKVLabel(TControl* parent);

    TKV_Event onClick;      // fired with NULL
    TColor HoverColor = 0;  // 0: no change on hover
    bool HoverUnderline = false;
    TText Caption;
    TKV_Event pullStr;  // where doCaption may take its text from

    // Sized to the text now and whenever the text changes.
    void SetAutoSize(bool on);
    // 0 left, 1 right, 2 centre.
    void SetAlignment(int alignment);

    void doCaption(TData& value, uint16_t index);
    void getCaption(TData& value, uint16_t index);

    void Init() override;
    void MouseOver() override;
    void MouseLeave() override;

private:
    bool autoSize_ = false;
};
