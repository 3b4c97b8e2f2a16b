#pragma once
// TKVPanel: a plain panel with a caption.

#include "tabulo/controls/win.h"

class TKVPanel : public TKVWin {
public:
    explicit TKVPanel(TControl* parent);

    TText Caption;
    // The widget layer's panel settings: caption alignment (vertical 0 top,
    // 1 centre, 2 bottom; horizontal 0 left, 1 centre, 2 right) and two
    // values it keeps for its owner; Flag and Extra are kept unchanged.
    uint8_t VAlign = 1;
    uint8_t HAlign = 1;
    int16_t Value1 = 0;
    uint8_t Flag = 0;
    int16_t Value2 = 0;
    uint8_t Extra = 0;

    void Init() override;
    bool HandleMessage(TControl& sender, TMsg& msg) override;
};

// TKVPagePanel: the panel of a page. It makes no window of its own: it adopts
// its tab's page area and names the tab. Its design position, size,
// alignment and colour are not applied (the tab strip lays the area out).
class TKVPagePanel : public TKVWin {
public:
    // `pageArea`: the tab's page area, which becomes Control.
    explicit TKVPagePanel(TControl* pageArea);

    TText Caption;  // the tab text when not empty
    int32_t ImageIndex = -1;

    void Init() override;
};
