#include "tabulo/controls/label.h"

TKVLabel::TKVLabel(TControl* parent) : TKVWin(parent) {
    Height = 22;
    Control = NewLabel(parent, TText());
}

void TKVLabel::SetAutoSize(bool on) {
    autoSize_ = on;
    if (on) Control->AutoSizeToText();
}

void TKVLabel::SetAlignment(int alignment) {
    Control->SetTextAlign(uint8_t(alignment));
}

void TKVLabel::Init() {
    InitControl();
    Control->SetText(Caption);
    if (autoSize_) Control->AutoSizeToText();
    Control->OnClick = [this](TControl&) { FireNull(onClick); };
}

void TKVLabel::doCaption(TData& value, uint16_t) {
    Caption = ReadText(value, pullStr);
    Control->SetText(Caption);
    if (autoSize_) Control->AutoSizeToText();
}

void TKVLabel::getCaption(TData& value, uint16_t) {
    MakeText(value, Control->Text());
}

void TKVLabel::MouseOver() {
    TKVWin::MouseOver();
    TGraphicTool& f = Control->Font();
    if (HoverColor != 0 && f.Color() != HoverColor) f.SetColor(HoverColor);
    if (HoverUnderline && !(f.FontStyle() & fsUnderline))
        f.SetFontStyle(f.FontStyle() | fsUnderline);
}

void TKVLabel::MouseLeave() {
    TGraphicTool& f = Control->Font();
    if (HoverColor != 0 && f.Color() != Font.Color) f.SetColor(Font.Color);
    // The underline goes unless the label's own font has one.
    if ((f.FontStyle() & fsUnderline) && !(Font.Style & fsUnderline))
        f.SetFontStyle(uint8_t(f.FontStyle() & ~fsUnderline));
    TKVWin::MouseLeave();
}
