#include "tabulo/app/help.h"

#include "tabulo/app/design.h"
#include "tabulo/app/legend.h"
#include "tabulo/components/iconanimation.h"
#include "tabulo/components/winexec.h"
#include "tabulo/controls/layout.h"
#include "tabulo/controls/memo.h"
#include "tabulo/controls/pagecontrol.h"
#include "tabulo/controls/panel.h"
#include "tabulo/widgets/resources.h"

void TClassHelp_253CB10::InitPage(TControl* pageArea) {
    Panel = MakePagePanel(pageArea, "About", 35, 105, 266, 315);
}

void TClassHelp_253CB10::BuildPage() {
    // Create, set, initialise.
    AboutText = Create<TKVMemo>(Panel->Control);
    AboutText->Name = "AboutText";
    SetDesignBounds(AboutText, 1, 74, 398, 225);
    AboutText->Align = Align::Bottom;
    AboutText->Color = clWindow;
    SetDesignFont(AboutText);
    AboutText->BorderStyle = Border::ByEdge;
    AboutText->ReadOnly = 0;  // 0 makes the memo read-only
    AboutText->ScrollBars = 2;
    AboutText->LayoutWeight = 100;
    AboutText->Text = ResourceText("Str4");
    AboutText->Init();

    HelpAnimation = Create<TkvIconAnimation>();
    HelpAnimation->FrameInterval = 83;
    HelpAnimation->CycleInterval = 83;
    HelpAnimation->Repeat = false;
    HelpAnimation->SetIconSize(16);

    HelpLauncher = Create<TKVWinExec>();
    HelpLauncher->FileName = "";
    HelpLauncher->Parameters = "";
    HelpLauncher->ShowMode = 1;

    LegendHost = Create<TKVMultiElement>();
    LegendHost->ParentControl = Panel->Control;
    LegendHost->Owner = this;
    LegendHost->OnDemand = false;
    LegendHost->SetFactory(&MakeMultiSchema<TClassChildPanel_261B4F0>);

    Grid = Create<TKVVBoxLayout>();
    Grid->Margin = 0;
    Grid->Spacing = 0;
    // The legend sits at the top of the page; the text takes the height below
    // it, so that no line of the text is ever hidden under the legend.
    Grid->AddSpace(kLegendHeight);

    // No wiring. Register.
    AboutText->AttachLayout(Grid);
    AboutText->RegisterHint();
    Grid->AttachTo(Panel->Control);
}
