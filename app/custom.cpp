#include "tabulo/app/custom.h"

#include <string>

#include "tabulo/app/design.h"
#include "tabulo/app/donate.h"
#include "tabulo/app/editform.h"
#include "tabulo/components/flow.h"
#include "tabulo/components/formatstr.h"
#include "tabulo/components/imageloader.h"
#include "tabulo/components/ini.h"
#include "tabulo/components/routing.h"
#include "tabulo/controls/bitbtn.h"
#include "tabulo/controls/button.h"
#include "tabulo/controls/checkbox.h"
#include "tabulo/controls/image.h"
#include "tabulo/controls/panel.h"
#include "tabulo/runtime/multi.h"

namespace {

constexpr uint32_t ButtonFace = 0xFF00000F;
constexpr uint32_t MenuBackground = 0xFF000004;
constexpr uint32_t SlotFrame = 0x808080;

TText SlotSection(int k) {
    return TText(std::string("B").append(std::to_string(k)));
}

// The order in which CaptionHubA's outputs 1 to 13 reach the readers of the
// first column.
constexpr int FirstColumnReadOrder[13] = {2, 13, 12, 11, 3, 4, 5, 6, 7, 8, 9, 10, 1};

}  // namespace

TClassCustom_253CB10::TClassCustom_253CB10(TKVContainer* container, TControl* pageArea,
                                           TObject* owner)
    : TClassbase_253CB10(container, pageArea, owner) {}

void TClassCustom_253CB10::InitPage(TControl* pageArea) {
    Panel = MakePagePanel(pageArea, "Custom", 35, 105, 469, 469);
}

void TClassCustom_253CB10::BuildPage() {
    createComponents();
    wire();
    // Both children are built now, together with the page; the edit window
    // stays hidden until a slot is clicked in edit mode.
    EditWindowHost->SetFactory(&MakeMultiSchema<TClassChildFormEx_261A310>);
    DonateHost->SetFactory(&MakeMultiSchema<TClassChildFormEx_261AC00>);
    registerHints();
}

void TClassCustom_253CB10::createComponents() {
    Picture = Create<TKVImage>(Panel->Control);
    Picture->Name = "Picture";
    SetDesignBounds(Picture, 1, 1, 467, 467);
    Picture->Align = 5;
    Picture->Color = ButtonFace;
    SetDesignFont(Picture);
    Picture->AutoSize = true;
    Picture->SetMode(1);
    Picture->SetSmooth(true);
    Picture->Init();

    EditModeBox = Create<TKVCheckBox>(Panel->Control);
    EditModeBox->Name = "EditModeBox";
    SetDesignBounds(EditModeBox, 120, 0, 70, 20);
    EditModeBox->Color = ButtonFace;
    SetDesignFont(EditModeBox);
    EditModeBox->SetCaption("Edit mode");
    EditModeBox->SetChecked(1);  // any value but 0: unchecked
    EditModeBox->Init();

    ScaleBox = Create<TKVCheckBox>(Panel->Control);
    ScaleBox->Name = "ScaleBox";
    SetDesignBounds(ScaleBox, 193, 0, 49, 20);
    ScaleBox->Color = MenuBackground;
    SetDesignFont(ScaleBox);
    ScaleBox->Hint = "Scale or Center charts";
    ScaleBox->SetCaption("Scale");
    ScaleBox->SetChecked(0);  // 0: checked
    ScaleBox->Init();

    HidePictureHub = Create<TKVHub>();
    HidePictureHub->SetCount(5);
    ShowPictureHub = Create<TKVHub>();
    ShowPictureHub->SetCount(4);

    // Its own FileName is never used: the name is always pulled from ChartPath.
    Loader = Create<TKvImageLoader>();
    Loader->FileName = "Charts\\AA.gif";

    DonateButton = Create<TKVButton>(Panel->Control);
    DonateButton->Name = "DonateButton";
    SetDesignBounds(DonateButton, 0, 0, 45, 20);
    DonateButton->Color = ButtonFace;
    SetDesignFont(DonateButton);
    DonateButton->Caption = "Donate";
    DonateButton->Init();

    FileReader = Create<TKVini>();
    FileReader->Key = "File";
    FileReader->DataType = idtString;
    FileDir = Create<TKVDir>();
    FilePath = Create<TKVFormatStr>();
    FilePath->Mask = "%1Custom.ini";
    FilePath->SetCount(2);

    EditWindowHost = Create<TKVMultiElementEx>();
    EditWindowHost->ParentControl = Panel->Control;
    EditWindowHost->Owner = this;
    EditWindowHost->OnDemand = false;
    EditWindowHost->Outputs.resize(1);

    ModeTest = Create<TKVIf_else>();
    ModeTest->Type = ieEqual;
    MakeText(ModeTest->Op2, TText("1"));

    CaptionReaders[0] = createCaptionReader(1);
    CaptionDir = Create<TKVDir>();
    CaptionPath = Create<TKVFormatStr>();
    CaptionPath->Mask = "%1Custom.ini";
    CaptionPath->SetCount(2);
    ChartPath = Create<TKVFormatStr>();
    ChartPath->Mask = "%1";
    ChartPath->SetCount(1);
    CaptionHubA = Create<TKVHub>();
    CaptionHubA->SetCount(14);

    DonateHost = Create<TKVMultiElementEx>();
    DonateHost->ParentControl = Panel->Control;
    DonateHost->Owner = this;
    DonateHost->OnDemand = false;

    ShowChartHub = Create<TKVHub>();
    ShowChartHub->SetCount(3);
    SlotClickHub = Create<TKVHub>();
    SlotClickHub->SetCount(2);

    SlotButtons[0] = createSlotButton(1);
    for (int k = 2; k <= SlotCount; ++k) {
        CaptionReaders[std::size_t(k - 1)] = createCaptionReader(k);
        SlotButtons[std::size_t(k - 1)] = createSlotButton(k);
    }

    CaptionHubB = Create<TKVHub>();
    CaptionHubB->SetCount(14);
    CaptionHubC = Create<TKVHub>();
    CaptionHubC->SetCount(13);

    ScaleSwitch = Create<TKVSwitch>();
    MakeInt(ScaleSwitch->DataOn, 0);
    MakeInt(ScaleSwitch->DataOff, 1);
    ScaleSwitch->Init(1);  // starts off
    EditModeSwitch = Create<TKVSwitch>();
    MakeInt(EditModeSwitch->DataOn, 0);
    MakeInt(EditModeSwitch->DataOff, 1);
    EditModeSwitch->Init(1);
}

TKVini* TClassCustom_253CB10::createCaptionReader(int k) {
    auto* reader = Create<TKVini>();
    reader->Section = SlotSection(k);
    reader->Key = "Caption";
    reader->DataType = idtString;
    return reader;
}

TKVBitBtn* TClassCustom_253CB10::createSlotButton(int k) {
    const TText section = SlotSection(k);
    auto* b = Create<TKVBitBtn>(Panel->Control);
    b->Name = TText("SlotButton" + std::to_string(k));
    b->TagText = section;
    SetDesignBounds(b, SlotLeft(k), SlotTop(k), 86, 23);
    b->Color = MenuBackground;
    b->Font.Name = "MS Sans Serif";
    b->Font.Size = 10;
    b->Font.Style = 0;
    b->Font.Color = 0;
    b->Font.Charset = 204;
    b->ParentFont = false;
    b->NoFrame = false;
    b->FrameColor = SlotFrame;
    b->Caption = section;
    MakeText(b->Data, section);
    b->Init();
    return b;
}

void TClassCustom_253CB10::wireMouseUp(TKVWin* control) {
    control->onMouseUp = BindEvent<&TKVBoundary::doOutput>(Boundary, 0);
}

void TClassCustom_253CB10::wire() {
    // What leaves the page: every mouse-up, for the page control's routing.
    wireMouseUp(Picture);
    wireMouseUp(Panel);
    wireMouseUp(EditModeBox);
    wireMouseUp(ScaleBox);
    wireMouseUp(DonateButton);
    for (TKVBitBtn* b : SlotButtons) wireMouseUp(b);

    // Showing and hiding a chart.
    Picture->onMouseEnter = BindEvent<&TKVFormatStr::doFormat>(CaptionPath, 0);
    Picture->onClick = BindEvent<&TKVHub::doEvent>(HidePictureHub, 0);
    HidePictureHub->onEvent[0] = BindEvent<&TKVImage::doSendToBack>(Picture, 2);
    HidePictureHub->onEvent[1] = BindEvent<&TKVImage::doClear>(Picture, 1);
    HidePictureHub->onEvent[2] = BindEvent<&TKVSwitch::doSwitch>(ScaleSwitch, 0);
    HidePictureHub->onEvent[3] = BindEvent<&TKVSwitch::doSwitch>(EditModeSwitch, 0);
    HidePictureHub->onEvent[4] = BindEvent<&TKvImageLoader::doRelease>(Loader, 2);
    Loader->onLoad = BindEvent<&TKVHub::doEvent>(ShowPictureHub, 0);
    ShowPictureHub->onEvent[0] = BindEvent<&TKVImage::doLoad>(Picture, 0);
    ShowPictureHub->onEvent[1] = BindEvent<&TKVImage::doBringToFront>(Picture, 3);
    ShowPictureHub->onEvent[2] = BindEvent<&TKVSwitch::doSwitch>(EditModeSwitch, 0);
    ShowPictureHub->onEvent[3] = BindEvent<&TKVSwitch::doSwitch>(ScaleSwitch, 0);
    Loader->pullFileName = BindEvent<&TKVFormatStr::getResult>(ChartPath, 0);
    Loader->onDecoded = BindEvent<&TKvImageLoader::doDraw>(Loader, 1);
    ScaleBox->onCheck = BindEvent<&TKVImage::doMode>(Picture, 4);
    ScaleSwitch->onSwitch = BindEvent<&TKVCheckBox::doVisible>(ScaleBox, 0);
    EditModeSwitch->onSwitch = BindEvent<&TKVCheckBox::doVisible>(EditModeBox, 0);
    DonateButton->onClick = BindEvent<&TKVMultiElementEx::doWork>(DonateHost, 0);

    // A slot click: refresh the captions, then edit the slot or show its chart.
    for (TKVBitBtn* b : SlotButtons) b->onClick = BindEvent<&TKVHub::doEvent>(SlotClickHub, 0);
    SlotClickHub->onEvent[0] = BindEvent<&TKVFormatStr::doFormat>(CaptionPath, 0);
    SlotClickHub->onEvent[1] = BindEvent<&TKVIf_else::doCompare>(ModeTest, 0);
    ModeTest->pullOp1 = BindEvent<&TKVCheckBox::getChecked>(EditModeBox, 0);
    ModeTest->onTrue = BindEvent<&TKVMultiElementEx::doWork>(EditWindowHost, 0);
    ModeTest->onFalse = BindEvent<&TKVHub::doEvent>(ShowChartHub, 0);
    ShowChartHub->onEvent[0] = BindEvent<&TKVFormatStr::doFormat>(FilePath, 0);
    ShowChartHub->onEvent[1] = BindEvent<&TKVini::doRead>(FileReader, 0);
    FilePath->pullStr[0] = BindEvent<&TKVDir::getProgramDir>(FileDir, 0);
    FileReader->pullFileName = BindEvent<&TKVFormatStr::getResult>(FilePath, 0);
    FileReader->onResult = BindEvent<&TKVFormatStr::doFormat>(ChartPath, 0);
    ChartPath->onFormatted = BindEvent<&TKvImageLoader::doLoad>(Loader, 0);

    // Refreshing the 39 captions from the custom-chart file.
    CaptionPath->pullStr[0] = BindEvent<&TKVDir::getProgramDir>(CaptionDir, 0);
    CaptionPath->onFormatted = BindEvent<&TKVHub::doEvent>(CaptionHubA, 0);
    CaptionHubA->onEvent[0] = BindEvent<&TKVHub::doEvent>(CaptionHubB, 0);
    for (int i = 0; i < 13; ++i) {
        const int k = FirstColumnReadOrder[i];
        CaptionHubA->onEvent[std::size_t(i + 1)] =
            BindEvent<&TKVini::doRead>(CaptionReaders[std::size_t(k - 1)], 0);
    }
    CaptionHubB->onEvent[0] = BindEvent<&TKVHub::doEvent>(CaptionHubC, 0);
    for (int i = 0; i < 13; ++i) {
        CaptionHubB->onEvent[std::size_t(i + 1)] =
            BindEvent<&TKVini::doRead>(CaptionReaders[std::size_t(13 + i)], 0);
        CaptionHubC->onEvent[std::size_t(i)] =
            BindEvent<&TKVini::doRead>(CaptionReaders[std::size_t(26 + i)], 0);
    }
    for (int k = 1; k <= SlotCount; ++k) {
        CaptionReaders[std::size_t(k - 1)]->onResult =
            BindEvent<&TKVBitBtn::doCaption>(SlotButtons[std::size_t(k - 1)], 0);
    }
    EditWindowHost->Outputs[0] = BindEvent<&TKVFormatStr::doFormat>(CaptionPath, 0);
}

void TClassCustom_253CB10::registerHints() {
    Picture->AttachLayout(nullptr);
    Picture->RegisterHint();
    EditModeBox->AttachLayout(nullptr);
    EditModeBox->RegisterHint();
    ScaleBox->AttachLayout(nullptr);
    ScaleBox->RegisterHint();
    DonateButton->AttachLayout(nullptr);
    DonateButton->RegisterHint();
    for (TKVBitBtn* b : SlotButtons) {
        b->AttachLayout(nullptr);
        b->RegisterHint();
    }
}
