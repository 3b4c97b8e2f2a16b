#include "tabulo/app/base.h"

#include "tabulo/app/design.h"
#include "tabulo/controls/pagecontrol.h"
#include "tabulo/controls/panel.h"
#include "tabulo/widgets/control.h"

TClassbase_253CB10::TClassbase_253CB10(TKVContainer* container, TControl* /*pageArea*/,
                                       TObject* owner)
    : PageContainer(container), ContainerOwner(owner) {}

void TClassbase_253CB10::BuildFrame(TControl* pageArea) {
    InitPage(pageArea);

    Boundary = Create<TKVEditPolyMulti>(1, 1);
    Boundary->Container = PageContainer;
    Boundary->Schema = this;

    Panel->AttachLayout(nullptr);
    Panel->RegisterHint();
    if (TControl* form = Panel->Control->ParentForm()) form->SetTabNavigation(true);
    TopControl = Panel->Control;
}

void TClassbase_253CB10::BuildContents() {
    BuildPage();
}

void TClassbase_253CB10::InitPage(TControl* pageArea) {
    Panel = MakePagePanel(pageArea, "", 35, 105, 400, 300);
}

TKVPagePanel* TClassbase_253CB10::MakePagePanel(TControl* pageArea, const char* caption, int left,
                                                int top, int width, int height) {
    auto* panel = Create<TKVPagePanel>(pageArea);
    panel->Name = "Panel";
    SetDesignBounds(panel, left, top, width, height);
    panel->Align = Align::Client;
    panel->Color = clBtnFace;
    SetDesignFont(panel);
    panel->BorderStyle = Border::Single;
    panel->Visible = true;
    panel->Enabled = true;
    panel->Caption = caption;
    panel->Init();
    return panel;
}
