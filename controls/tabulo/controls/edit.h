#pragma once
// TKVEdit: a single-line text box.
//
// Enter (with onEnter wired) fires onEnter with the text and then empties the
// box without a change event, unless a handler of onEnter gave the box new
// text through doText. Every other change of the text fires onChange.

#include "tabulo/controls/win.h"

class TKVEdit : public TKVWin {
public:
    explicit TKVEdit(TControl* parent);

    TText RememberedText;       // Text as it was at Init
    bool ChangeArmed = true;    // false: the next change fires nothing (then re-arms)
    bool ClearPending = false;  // Enter: empty the box after onEnter
    // Turns the current text into a value; answers whether it made one.
    using TValueGetter = bool (TKVEdit::*)(TData& value);
    TValueGetter ValueGetter = &TKVEdit::TextValue;
    bool Password = false;
    TText Text;  // initial text
    bool ReadOnly = false;
    uint8_t Alignment = 0;  // 0 left, 1 right, 2 centre
    TKV_Event pullStr;      // where doText may take its text from
    TKV_Event onEnter;
    TKV_Event onChange;

    // The text as a string value; always succeeds.
    bool TextValue(TData& value);

    // Replaces the text, keeping the caret position.
    void doText(TData& value, uint16_t index);
    // The text as a string, or NULL when the value getter fails.
    void getText(TData& value, uint16_t index);

    void Init() override;
    void KeyDown(int& key, uint32_t shift) override;

private:
    void changed();
};
