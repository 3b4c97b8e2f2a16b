#include "tabulo/app/mainschema.h"

#include "tabulo/app/base.h"
#include "tabulo/app/custom.h"
#include "tabulo/app/design.h"
#include "tabulo/app/hands.h"
#include "tabulo/app/help.h"
#include "tabulo/app/position.h"
#include "tabulo/app/restorehandle.h"
#include "tabulo/components/routing.h"
#include "tabulo/components/wintools.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/controls/pagecontrol.h"
#include "tabulo/controls/panel.h"
#include "tabulo/widgets/control.h"

namespace {

TClassMainForm_3063820* running = nullptr;

// The page registry, in registration order; "base" is never built.
struct TPageEntry {
    const char* Name;
    TPolyFactory Factory;
};
const TPageEntry kPages[] = {
    {"base", &MakePage<TClassbase_253CB10>},   {"Custom", &MakePage<TClassCustom_253CB10>},
    {"Hands", &MakePage<TClassHands_253CB10>}, {"Position", &MakePage<TClassPosition_253CB10>},
    {"Help", &MakePage<TClassHelp_253CB10>},
};

// The main window's outputs that reach FormHub, with their FormHub input.
// Input 3 stays unwired.
using TFormOutput = TKV_Event TKVMainForm::*;
struct TFormHubEntry {
    TFormOutput Output;
    uint16_t Input;
};
const TFormHubEntry kFormHub[] = {
    {&TKVMainForm::onActivate, 0},  {&TKVMainForm::onDeactivate, 1},
    {&TKVMainForm::onCreate, 2},    {&TKVMainForm::onSetFocus, 4},
    {&TKVMainForm::onKillFocus, 5}, {&TKVMainForm::onMouseEnter, 6},
    {&TKVMainForm::onMouseMove, 7}, {&TKVMainForm::onMouseLeave, 8},
    {&TKVMainForm::onShow, 9},
};

}  // namespace

TClassMainForm_3063820* RunningMainSchema() {
    return running;
}

TClassMainForm_3063820::TClassMainForm_3063820() {
    running = this;

    // Create, set, initialise.
    MainWindow = Create<TKVMainForm>(nullptr);
    InitForm(MainWindow, {.Name = "MainWindow",
                          .Left = 0,
                          .Top = 0,
                          .Width = 282,
                          .Height = 350,
                          .Color = clBtnFace,
                          .Caption = "Tabulo v. 1.3",
                          .Frame = FrameStyle::Sizeable,
                          .Icon = "ICON0",
                          .PlaceKey = "Tabulo\\ChartPlace",
                          .Visible = true,
                          .ClientSize = true});

    WindowTools = Create<TKVWinTools>();

    Pages = Create<TKVPageControl>(MainWindow->Control);
    Pages->Name = "Pages";
    Pages->Left = 0;
    Pages->Top = 0;
    Pages->Width = 400;
    Pages->Height = 300;
    Pages->Align = Align::Client;
    Pages->Color = clBtnFace;
    SetDesignFont(Pages);
    Pages->Visible = true;
    Pages->Enabled = true;
    Pages->Cursor = 0;
    Pages->TabOrder = 0;
    Pages->BorderStyle = Border::Single;
    Pages->Edge = 0;
    Pages->Hint = "";
    Pages->CreateAll = true;
    Pages->DeferHiddenPages = true;
    Pages->SelectNew = false;
    Pages->Buttons = false;
    Pages->Outputs.resize(1);
    Pages->Pulls.resize(1);
    Pages->Owner = this;
    for (const TPageEntry& page : kPages) Pages->RegisterPage(page.Name, page.Factory);
    Pages->Initialize();

    HandleHost = Create<TKVMultiElement>();
    HandleHost->ParentControl = MainWindow->Control;
    HandleHost->Outputs.resize(3);
    HandleHost->Pulls.resize(1);
    HandleHost->Owner = this;
    HandleHost->OnDemand = false;

    ButtonRouter = Create<TKVIndexToChanel>();
    ButtonRouter->SetCount(2);

    MinimizeHub = Create<TKVHub>();
    MinimizeHub->SetInCount(2);
    MinimizeHub->SetCount(3);

    FormHub = Create<TKVHub>();
    FormHub->SetInCount(10);
    FormHub->SetCount(3);

    // Wire.
    for (const TFormHubEntry& e : kFormHub)
        MainWindow->*e.Output = BindEvent<&TKVHub::doEvent>(FormHub, e.Input);
    MainWindow->onMouseUp = BindEvent<&TKVIndexToChanel::doEvent>(ButtonRouter, 0);
    WindowTools->pullHandle = BindEvent<&TKVMainForm::getHandle>(MainWindow, 0);
    Pages->Outputs[0] = BindEvent<&TKVIndexToChanel::doEvent>(ButtonRouter, 0);
    HandleHost->Outputs[0] = BindEvent<&TKVMainForm::doRestore>(MainWindow, 1);
    ButtonRouter->onEvent[1] = BindEvent<&TKVHub::doEvent>(MinimizeHub, 0);
    MinimizeHub->onEvent[1] = BindEvent<&TKVMainForm::doMinimize>(MainWindow, 2);
    MinimizeHub->onEvent[2] = BindEvent<&TKVMultiElement::doWork>(HandleHost, 0);
    FormHub->onEvent[0] = BindEvent<&TKVWinTools::doTopMost>(WindowTools, 1);

    // Register.
    MainWindow->AttachLayout(nullptr);
    MainWindow->RegisterHint();

    // The restore handle is built now; its deferred start-up waits for RunInits.
    HandleHost->SetFactory(&MakeMultiSchema<TClassChildForm_261B5A0>);
    MainWindow->Control->SetTabNavigation(true);
}

TClassMainForm_3063820::~TClassMainForm_3063820() {
    if (running == this) running = nullptr;
}
