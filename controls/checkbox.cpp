#include "tabulo/controls/checkbox.h"

TKVCheckBox::TKVCheckBox(TControl* parent) : TKVWin(parent) {
    Width = 72;
    Height = 22;
    Control = NewCheckBox(parent, "CheckBox");
}

void TKVCheckBox::SetChecked(int value) {
    Control->SetChecked(value == 0);
}

void TKVCheckBox::SetCaption(const TText& caption) {
    Control->SetText(caption);
}

void TKVCheckBox::getChecked(TData& value, uint16_t) {
    MakeInt(value, Control->Checked() ? 1 : 0);
}

void TKVCheckBox::Init() {
    InitControl();
    Control->OnClick = [this](TControl& c) {
        const int32_t state = c.Checked() ? 1 : 0;
        FireInt(onCheck, state);
        FireInt(onClick, state);
    };
}
