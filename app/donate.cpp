#include "tabulo/app/donate.h"

#include "tabulo/app/design.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/controls/memo.h"
#include "tabulo/widgets/resources.h"

TClassDonateForm::TClassDonateForm(TKVContainer* container, TControl* parent,
                                   const char* textResource) {
    // Create, set, initialise.
    DonateForm = Create<TKVMainForm>(parent);
    InitForm(DonateForm, {.Name = "DonateForm",
                          .Left = 35,
                          .Top = 105,
                          .Width = 264,
                          .Height = 230,
                          .Color = clBtnFace,
                          .Caption = "Donate",
                          .Frame = FrameStyle::SizeableTool,
                          .Icon = "KLVA",
                          .StartPosition = &TKVMainForm::CenterOnScreen});

    DonateBoundary = Create<TKVEditMultiEx>(1, 0);
    DonateBoundary->Container = container;
    DonateBoundary->Schema = this;
    Boundary = DonateBoundary;

    DonateText = Create<TKVMemo>(DonateForm->Control);
    DonateText->Name = "DonateText";
    SetDesignBounds(DonateText, 0, 0, 258, 206);
    DonateText->Align = Align::Client;
    DonateText->Color = clWindow;
    SetDesignFont(DonateText);
    DonateText->BorderStyle = Border::ByEdge;
    DonateText->ReadOnly = 0;  // 0 makes the memo read-only
    DonateText->ScrollBars = 0;
    DonateText->Text = ResourceText(textResource);
    DonateText->Init();

    // Wire.
    DonateBoundary->Inputs[0] = BindEvent<&TKVMainForm::doVisible>(DonateForm, 0);

    // Register.
    DonateForm->AttachLayout(nullptr);
    DonateForm->RegisterHint();
    DonateText->AttachLayout(nullptr);
    DonateText->RegisterHint();
}
