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
#include "tabulo/widgets/customini.h"

namespace {

constexpr uint32_t SlotFrame = 0x808080;

TText SlotSection(int k) {
    return TText(customini::SlotSection(k));
}

// The order in which CaptionHubA's outputs 1 to 13 reach the readers of the
// first column.
constexpr int FirstColumnReadOrder[13] = {2, 13, 12, 11, 3, 4, 5, 6, 7, 8, 9, 10, 1};

}  // namespace

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
    CreatePicture();

    EditModeBox = Create<TKVCheckBox>(Panel->Control);
    EditModeBox->Name = "EditModeBox";
    SetDesignBounds(EditModeBox, 120, 0, 70, 20);
    EditModeBox->Color = clBtnFace;
    SetDesignFont(EditModeBox);
    EditModeBox->SetCaption("Edit mode");
    EditModeBox->SetChecked(1);  // any value but 0: unchecked
    EditModeBox->Init();

    CreateScaleBox();
    CreatePictureHubs(5);
    CreateLoader();
    CreateDonateButton();

    FileReader = Create<TKVini>();
    FileReader->Key = TText(customini::FileKey);
    FileReader->DataType = idtString;
    FileDir = Create<TKVDir>();
    FilePath = Create<TKVFormatStr>();
    FilePath->Mask = TText(customini::FileMask);
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
    CaptionPath->Mask = TText(customini::FileMask);
    CaptionPath->SetCount(2);
    ChartPath = Create<TKVFormatStr>();
    ChartPath->Mask = "%1";
    ChartPath->SetCount(1);
    CaptionHubA = Create<TKVHub>();
    CaptionHubA->SetCount(14);

    CreateDonateHost();

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

    ScaleSwitch = CreateBoxSwitch();
    EditModeSwitch = CreateBoxSwitch();
}

TKVini* TClassCustom_253CB10::createCaptionReader(int k) {
    auto* reader = Create<TKVini>();
    reader->Section = SlotSection(k);
    reader->Key = TText(customini::CaptionKey);
    reader->DataType = idtString;
    return reader;
}

TKVBitBtn* TClassCustom_253CB10::createSlotButton(int k) {
    const TText section = SlotSection(k);
    auto* b = Create<TKVBitBtn>(Panel->Control);
    b->Name = TText("SlotButton" + std::to_string(k));
    b->TagText = section;
    SetDesignBounds(b, SlotLeft(k), SlotTop(k), 86, 23);
    b->Color = clMenu;
    b->Font.Name = "MS Sans Serif";
    b->Font.Size = 10;
    b->Font.Style = FontStyle::Regular;
    b->Font.Color = 0;
    b->Font.Charset = Charset::Cyrillic;
    b->ParentFont = false;
    b->NoFrame = false;
    b->FrameColor = SlotFrame;
    b->Caption = section;
    MakeText(b->Data, section);
    b->Init();
    return b;
}

void TClassCustom_253CB10::wire() {
    // What leaves the page: every mouse-up, for the page control's routing.
    WireMouseUp(Picture);
    WireMouseUp(Panel);
    WireMouseUp(EditModeBox);
    WireMouseUp(ScaleBox);
    WireMouseUp(DonateButton);
    for (TKVBitBtn* b : SlotButtons) WireMouseUp(b);

    // Showing and hiding a chart; the edit-mode box hides with the scale box.
    WirePicture(4);
    Picture->onMouseEnter = BindEvent<&TKVFormatStr::doFormat>(CaptionPath, 0);
    HidePictureHub->onEvent[3] = BindEvent<&TKVSwitch::doSwitch>(EditModeSwitch, 0);
    ShowPictureHub->onEvent[2] = BindEvent<&TKVSwitch::doSwitch>(EditModeSwitch, 0);
    EditModeSwitch->onSwitch = BindEvent<&TKVCheckBox::doVisible>(EditModeBox, 0);

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
    RegisterHintOf(Picture);
    RegisterHintOf(EditModeBox);
    RegisterHintOf(ScaleBox);
    RegisterHintOf(DonateButton);
    for (TKVBitBtn* b : SlotButtons) RegisterHintOf(b);
}
