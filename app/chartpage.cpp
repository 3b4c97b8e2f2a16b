#include "tabulo/app/chartpage.h"

#include "tabulo/app/design.h"
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

}  // namespace

void TChartPageSchema::CreatePicture() {
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
}

void TChartPageSchema::CreateChartPath(std::string_view mask) {
    Loader = Create<TKvImageLoader>();
    Loader->FileName = "Charts\\AA.gif";  // never used: the name is pulled from ChartPath
    Loader->Point1 = Loader->Point2 = Loader->BackOrigin = Loader->TileSize = 0;
    ChartDir = Create<TKVDir>();
    ChartPath = Create<TKVFormatStr>();
    ChartPath->SetCount(2);
    ChartPath->Mask = TText(mask);
    PrefetchPath = Create<TKVFormatStr>();
    PrefetchPath->SetCount(2);
    PrefetchPath->Mask = TText(mask);
}

TKVBitBtn* TChartPageSchema::CreateCell(const TChartCell& cell) {
    auto* b = Create<TKVBitBtn>(Panel->Control);
    b->Name = TText(cell.Key);
    SetDesignBounds(b, cell.Left, cell.Top, cell.Width, cell.Height);
    b->Color = cell.Color;
    b->Font.Name = "Tahoma";
    b->Font.Size = 8;
    b->Font.Style = cell.Bold ? 1 : 0;
    b->Font.Color = 0;
    b->Font.Charset = 204;
    b->ParentFont = false;
    b->Hint = TText(cell.Hint);
    b->Flat = true;
    b->NoFrame = cell.NoFrame;
    b->FrameColor = cell.FrameColor;
    b->SetCaption(TText(cell.Caption));
    MakeText(b->Data, TText(cell.Key));
    b->Init();
    return b;
}

void TChartPageSchema::CreateControls(TMultiFactory donateWindow) {
    DonateButton = Create<TKVButton>(Panel->Control);
    DonateButton->Name = "DonateButton";
    SetDesignBounds(DonateButton, 0, 0, 45, 20);
    DonateButton->Color = ButtonFace;
    SetDesignFont(DonateButton);
    DonateButton->SetCaption("Donate");
    DonateButton->Init();

    DonateHost = Create<TKVMultiElementEx>();
    DonateHost->ParentControl = Panel->Control;
    DonateHost->Owner = this;
    DonateHost->OnDemand = false;
    DonateHost->SetFactory(donateWindow);

    ScaleBox = Create<TKVCheckBox>(Panel->Control);
    ScaleBox->Name = "ScaleBox";
    SetDesignBounds(ScaleBox, 193, 0, 49, 20);
    ScaleBox->Color = MenuBackground;
    SetDesignFont(ScaleBox);
    ScaleBox->Hint = "Scale or Center charts";
    ScaleBox->SetCaption("Scale");
    ScaleBox->SetChecked(0);  // 0 means checked
    ScaleBox->Init();

    HidePictureHub = Create<TKVHub>();
    HidePictureHub->SetCount(4);
    ShowPictureHub = Create<TKVHub>();
    ShowPictureHub->SetCount(4);

    ScaleSwitch = Create<TKVSwitch>();
    MakeInt(ScaleSwitch->DataOn, 0);
    MakeInt(ScaleSwitch->DataOff, 1);
    ScaleSwitch->Init(1);  // starts off: its first toggle sends 0
}

void TChartPageSchema::wireMouseUp(TKVWin* control) {
    control->onMouseUp = BindEvent<&TKVBoundary::doOutput>(Boundary, 0);
}

void TChartPageSchema::WireChart(std::span<TKVBitBtn* const> cells) {
    wireMouseUp(Picture);
    for (TKVBitBtn* cell : cells) {
        cell->onClick = BindEvent<&TKVFormatStr::doFormat>(ChartPath, 0);
        cell->onHoverValue = BindEvent<&TKVFormatStr::doFormat>(PrefetchPath, 0);
        cell->onMouseLeave = BindEvent<&TKvImageLoader::doDropPrefetch>(Loader, 4);
        wireMouseUp(cell);
    }
    wireMouseUp(DonateButton);
    wireMouseUp(ScaleBox);

    ChartPath->pullStr[0] = BindEvent<&TKVDir::getProgramDir>(ChartDir, 0);
    ChartPath->onFormatted = BindEvent<&TKvImageLoader::doLoad>(Loader, 0);
    Loader->pullFileName = BindEvent<&TKVFormatStr::getResult>(ChartPath, 0);
    Loader->onDecoded = BindEvent<&TKvImageLoader::doDraw>(Loader, 1);
    PrefetchPath->pullStr[0] = BindEvent<&TKVDir::getProgramDir>(ChartDir, 0);
    PrefetchPath->onFormatted = BindEvent<&TKvImageLoader::doPrefetch>(Loader, 3);
    Loader->onLoad = BindEvent<&TKVHub::doEvent>(ShowPictureHub, 0);

    ShowPictureHub->onEvent[0] = BindEvent<&TKVImage::doLoad>(Picture, 0);
    ShowPictureHub->onEvent[1] = BindEvent<&TKVImage::doBringToFront>(Picture, 3);
    ShowPictureHub->onEvent[3] = BindEvent<&TKVSwitch::doSwitch>(ScaleSwitch, 0);

    Picture->onClick = BindEvent<&TKVHub::doEvent>(HidePictureHub, 0);
    HidePictureHub->onEvent[0] = BindEvent<&TKVImage::doSendToBack>(Picture, 2);
    HidePictureHub->onEvent[1] = BindEvent<&TKVImage::doClear>(Picture, 1);
    HidePictureHub->onEvent[2] = BindEvent<&TKVSwitch::doSwitch>(ScaleSwitch, 0);
    HidePictureHub->onEvent[3] = BindEvent<&TKvImageLoader::doRelease>(Loader, 2);

    ScaleSwitch->onSwitch = BindEvent<&TKVCheckBox::doVisible>(ScaleBox, 0);
    ScaleBox->onCheck = BindEvent<&TKVImage::doMode>(Picture, 4);
    DonateButton->onClick = BindEvent<&TKVMultiElementEx::doWork>(DonateHost, 0);
}

void TChartPageSchema::RegisterHints(std::span<TKVBitBtn* const> cells) {
    Picture->AttachLayout(nullptr);
    Picture->RegisterHint();
    for (TKVBitBtn* cell : cells) {
        cell->AttachLayout(nullptr);
        cell->RegisterHint();
    }
    DonateButton->AttachLayout(nullptr);
    DonateButton->RegisterHint();
    ScaleBox->AttachLayout(nullptr);
    ScaleBox->RegisterHint();
}
