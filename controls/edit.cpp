#include "tabulo/controls/edit.h"

TKVEdit::TKVEdit(TControl* parent) : TKVWin(parent) {
    Width = 100;
    Height = 22;
}

bool TKVEdit::TextValue(TData& value) {
    MakeText(value, Control ? Control->Text() : TText());
    return true;
}

void TKVEdit::Init() {
    uint32_t options = eoNoHScroll | eoNoVScroll;
    if (Password) options |= eoPassword;
    if (ReadOnly) options |= eoReadonly;
    if (!Control) Control = NewEdit(ParentControl, options);
    Control->SetTextAlign(Alignment);
    InitControl();
    Control->OnChange = [this](TControl&) { changed(); };
    Control->SetText(Text);
    RememberedText = Text;
}

void TKVEdit::changed() {
    if (ChangeArmed) {
        TData v;
        if ((this->*ValueGetter)(v)) Fire(onChange, v);
    }
    ChangeArmed = true;
}

void TKVEdit::KeyDown(int& key, uint32_t shift) {
    if (key != vkReturn || !onEnter.wired()) {
        TKVWin::KeyDown(key, shift);
        return;
    }
    TData v;
    if ((this->*ValueGetter)(v)) {
        ClearPending = true;
        Fire(onEnter, v);
    }
    if (ClearPending && Control) {
        ClearPending = false;
        ChangeArmed = false;
        Control->SetText(TText());
        // Clearing an already empty box changes nothing and fires nothing:
        // the next real change must not be swallowed.
        ChangeArmed = true;
    }
    key = 0;
}

void TKVEdit::doText(TData& value, uint16_t) {
    ClearPending = false;
    if (!Control) return;
    const int caret = Control->SelStart();
    Control->SetText(ReadText(value, pullStr));
    Control->SetSelection(caret, 0);
}

void TKVEdit::getText(TData& value, uint16_t) {
    TData v;
    if ((this->*ValueGetter)(v))
        value = v;
    else
        MakeNull(value);
}
