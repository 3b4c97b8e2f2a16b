#include "tabulo/controls/button.h"

namespace {
constexpr uint32_t BS_DEFPUSHBUTTON = 0x1;
constexpr uint32_t BS_MULTILINE = 0x2000;
}  // namespace

TKVButton::TKVButton(TControl* parent) : TKVWin(parent) {
    Height = 22;
}

void TKVButton::SetCaption(const TText& caption) {
    Caption = caption;
    if (Control) Control->SetText(caption);
}

void TKVButton::Init() {
    if (!Control) Control = NewButton(ParentControl, Caption);
    if (Default) {
        Control->SetDefaultButton(true);
        Control->SetStyle(Control->Style() | BS_DEFPUSHBUTTON);
    }
    Control->SetStyle(Control->Style() | BS_MULTILINE);
    InitControl();
    Control->OnClick = [this](TControl&) { FireCopy(onClick, Data); };
}
