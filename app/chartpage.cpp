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

void TChartPageSchema::CreateChartPath(std::string_view mask) {
    CreateLoader();
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
    b->Font.Style = cell.Bold ? FontStyle::Bold : FontStyle::Regular;
    b->Font.Color = 0;
    b->Font.Charset = Charset::Cyrillic;
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
    CreateDonateButton();
    CreateDonateHost();
    DonateHost->SetFactory(donateWindow);
    CreateScaleBox();
    CreatePictureHubs(4);
    ScaleSwitch = CreateBoxSwitch();
}

void TChartPageSchema::WireChart(std::span<TKVBitBtn* const> cells) {
    WireMouseUp(Picture);
    for (TKVBitBtn* cell : cells) {
        cell->onClick = BindEvent<&TKVFormatStr::doFormat>(ChartPath, 0);
        cell->onHoverValue = BindEvent<&TKVFormatStr::doFormat>(PrefetchPath, 0);
        cell->onMouseLeave = BindEvent<&TKvImageLoader::doDropPrefetch>(Loader, 4);
        WireMouseUp(cell);
    }
    WireMouseUp(DonateButton);
    WireMouseUp(ScaleBox);

    ChartPath->pullStr[0] = BindEvent<&TKVDir::getProgramDir>(ChartDir, 0);
    ChartPath->onFormatted = BindEvent<&TKvImageLoader::doLoad>(Loader, 0);
    PrefetchPath->pullStr[0] = BindEvent<&TKVDir::getProgramDir>(ChartDir, 0);
    PrefetchPath->onFormatted = BindEvent<&TKvImageLoader::doPrefetch>(Loader, 3);
    WirePicture(3);
}

void TChartPageSchema::RegisterHints(std::span<TKVBitBtn* const> cells) {
    RegisterHintOf(Picture);
    for (TKVBitBtn* cell : cells) RegisterHintOf(cell);
    RegisterHintOf(DonateButton);
    RegisterHintOf(ScaleBox);
}
