#include "tabulo/controls/panel.h"

TKVPanel::TKVPanel(TControl* parent) : TKVWin(parent) {}

void TKVPanel::Init() {
    if (!Control) Control = NewPanel(ParentControl, Caption, VAlign, HAlign, Value1, Value2);
    InitControl();
    Control->SetText(Caption);
}

bool TKVPanel::HandleMessage(TControl& sender, TMsg& msg) {
    if (msg.Message == msgSize || msg.Message == msgEnable) sender.Invalidate();
    return TKVWin::HandleMessage(sender, msg);
}

TKVPagePanel::TKVPagePanel(TControl* pageArea) : TKVWin(pageArea) {
    Control = pageArea;
    OwnsControl = false;
}

void TKVPagePanel::Init() {
    if (!Control) return;
    if (!Name.empty()) Control->SetName(Name.str());
    ApplyFont();
    InstallHandlers();
    TControl* strip = Control->Parent();
    if (!strip || strip->Kind() != TControlKind::TabControl) return;
    // The first tab whose page area is this panel's control.
    for (int i = 0; i < strip->TabCount(); ++i) {
        if (strip->TabPage(i) != Control) continue;
        if (!Caption.empty()) strip->SetTabText(i, Caption);
        if (ImageIndex != -1) strip->SetTabImage(i, ImageIndex);
        break;
    }
}
