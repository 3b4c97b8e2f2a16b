#pragma once
// TKVButton: a push button that fires its Data on every click.

#include "tabulo/controls/win.h"

class TKVButton : public TKVWin {
public:
    explicit TKVButton(TControl* parent);

    TKV_Event onClick;
    TData Data;  // fired (as a copy) with onClick; NULL unless set
    TText Caption;
    bool Default = false;  // the form's default button (Enter presses it)

    void SetCaption(const TText& caption);
    void Init() override;
};
