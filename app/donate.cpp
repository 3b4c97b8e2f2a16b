#include "tabulo/app/donate.h"

#include "tabulo/app/design.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/controls/memo.h"
#include "tabulo/widgets/resources.h"

TClassDonateForm::TClassDonateForm(TKVContainer* container, TControl* parent,
                                   const char* textResource) {
    // Create, set, initialise.
    DonateForm = Create<TKVMainForm>(parent);
    DonateForm->Name = "DonateForm";
    SetDesignBounds(DonateForm, 35, 105, 264, 230);
    DonateForm->Color = clBtnFace;
    SetDesignFont(DonateForm);
    DonateForm->BorderStyle = Border::Single;
    DonateForm->Visible = false;
    DonateForm->AlphaBlend = 255;
    DonateForm->PlaceKey = "";
    DonateForm->StartPosition = &TKVMainForm::CenterOnScreen;
    DonateForm->SetCaption("Donate");
    DonateForm->SetFrameStyle(FrameStyle::SizeableTool);
    DonateForm->SetIcon(ResourceIcon("KLVA"));
    DonateForm->Init();

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
