#include "tabulo/app/picturepage.h"

#include "tabulo/app/design.h"
#include "tabulo/components/flow.h"
#include "tabulo/components/formatstr.h"
#include "tabulo/components/imageloader.h"
#include "tabulo/components/routing.h"
#include "tabulo/controls/button.h"
#include "tabulo/controls/checkbox.h"
#include "tabulo/controls/image.h"
#include "tabulo/controls/panel.h"
#include "tabulo/runtime/multi.h"

void TPicturePageSchema::CreatePicture() {
    Picture = Create<TKVImage>(Panel->Control);
    Picture->Name = "Picture";
    SetDesignBounds(Picture, 1, 1, 467, 467);
    Picture->Align = Align::Client;
    Picture->Color = clBtnFace;
    SetDesignFont(Picture);
    Picture->AutoSize = true;
    Picture->SetMode(1);
    Picture->SetSmooth(true);
    Picture->Init();
}

void TPicturePageSchema::CreateLoader() {
    Loader = Create<TKvImageLoader>();
    Loader->FileName = "Charts\\AA.gif";
}

void TPicturePageSchema::CreateDonateButton() {
    DonateButton = Create<TKVButton>(Panel->Control);
    DonateButton->Name = "DonateButton";
    SetDesignBounds(DonateButton, 0, 0, 45, 20);
    DonateButton->Color = clBtnFace;
    SetDesignFont(DonateButton);
    DonateButton->SetCaption("Donate");
    DonateButton->Init();
}

void TPicturePageSchema::CreateDonateHost() {
    DonateHost = Create<TKVMultiElementEx>();
    DonateHost->ParentControl = Panel->Control;
    DonateHost->Owner = this;
    DonateHost->OnDemand = false;
}

void TPicturePageSchema::CreateScaleBox() {
    ScaleBox = Create<TKVCheckBox>(Panel->Control);
    ScaleBox->Name = "ScaleBox";
    SetDesignBounds(ScaleBox, 193, 0, 49, 20);
    ScaleBox->Color = clMenu;
    SetDesignFont(ScaleBox);
    ScaleBox->Hint = "Scale or Center charts";
    ScaleBox->SetCaption("Scale");
    ScaleBox->SetChecked(0);  // 0 means checked
    ScaleBox->Init();
}

void TPicturePageSchema::CreatePictureHubs(int hideOutputs) {
    HidePictureHub = Create<TKVHub>();
    HidePictureHub->SetCount(hideOutputs);
    ShowPictureHub = Create<TKVHub>();
    ShowPictureHub->SetCount(4);
}

TKVSwitch* TPicturePageSchema::CreateBoxSwitch() {
    auto* boxSwitch = Create<TKVSwitch>();
    MakeInt(boxSwitch->DataOn, 0);
    MakeInt(boxSwitch->DataOff, 1);
    boxSwitch->Init(1);
    return boxSwitch;
}

void TPicturePageSchema::WirePicture(int releaseOutput) {
    Loader->pullFileName = BindEvent<&TKVFormatStr::getResult>(ChartPath, 0);
    Loader->onDecoded = BindEvent<&TKvImageLoader::doDraw>(Loader, 1);
    Loader->onLoad = BindEvent<&TKVHub::doEvent>(ShowPictureHub, 0);
    ShowPictureHub->onEvent[0] = BindEvent<&TKVImage::doLoad>(Picture, 0);
    ShowPictureHub->onEvent[1] = BindEvent<&TKVImage::doBringToFront>(Picture, 3);
    ShowPictureHub->onEvent[3] = BindEvent<&TKVSwitch::doSwitch>(ScaleSwitch, 0);

    Picture->onClick = BindEvent<&TKVHub::doEvent>(HidePictureHub, 0);
    HidePictureHub->onEvent[0] = BindEvent<&TKVImage::doSendToBack>(Picture, 2);
    HidePictureHub->onEvent[1] = BindEvent<&TKVImage::doClear>(Picture, 1);
    HidePictureHub->onEvent[2] = BindEvent<&TKVSwitch::doSwitch>(ScaleSwitch, 0);
    HidePictureHub->onEvent[std::size_t(releaseOutput)] =
        BindEvent<&TKvImageLoader::doRelease>(Loader, 2);

    ScaleSwitch->onSwitch = BindEvent<&TKVCheckBox::doVisible>(ScaleBox, 0);
    ScaleBox->onCheck = BindEvent<&TKVImage::doMode>(Picture, 4);
    DonateButton->onClick = BindEvent<&TKVMultiElementEx::doWork>(DonateHost, 0);
}

void TPicturePageSchema::WireMouseUp(TKVWin* control) {
    control->onMouseUp = BindEvent<&TKVBoundary::doOutput>(Boundary, 0);
}

void TPicturePageSchema::RegisterHintOf(TKVWin* control) {
    control->AttachLayout(nullptr);
    control->RegisterHint();
}
