#pragma once
// The part both chart pages (Position and Hands) share: the picture display,
// the path from a cell click to a shown chart, the "Scale" box and "Donate".
//
//   cell.onClick --> ChartPath.doFormat ("%1img\<folder>\%2.png")
//                      %1 <-- ChartDir.getProgramDir, %2 the cell's key
//                    ChartPath.onFormatted --> Loader.doLoad
//                      Loader.pullFileName <-- ChartPath.getResult
//   Loader.onDecoded --> Loader.doDraw --(onLoad: bitmap)--> ShowPictureHub
//   cell.onHoverValue --> PrefetchPath.doFormat (the same mask and %1)
//                    PrefetchPath.onFormatted --> Loader.doPrefetch
//   cell.onMouseLeave --> Loader.doDropPrefetch   (decode ahead of the click)
//   ShowPictureHub  0 --> Picture.doLoad
//                   1 --> Picture.doBringToFront      (the chart covers the page)
//                   3 --> ScaleSwitch.doSwitch
//   Picture.onClick --> HidePictureHub
//   HidePictureHub  0 --> Picture.doSendToBack
//                   1 --> Picture.doClear             (the grid shows again)
//                   2 --> ScaleSwitch.doSwitch
//                   3 --> Loader.doRelease        (the picture's memory goes)
//   ScaleSwitch.onSwitch --> ScaleBox.doVisible       (0 hides, 1 shows)
//   ScaleBox.onCheck     --> Picture.doMode           (1 stretch, 0 centre)
//   DonateButton.onClick --> DonateHost input 0       (shows the donate window)
//   every visual component's onMouseUp --> Boundary output 0 (to the page control)
//
// The helpers below only create, set, initialise, wire and register; the
// pages call them in their own creation order.

#include <cstdint>
#include <span>
#include <string_view>

#include "tabulo/app/base.h"
#include "tabulo/runtime/schema.h"

class TKVImage;
class TKvImageLoader;
class TKVDir;
class TKVFormatStr;
class TKVBitBtn;
class TKVButton;
class TKVCheckBox;
class TKVHub;
class TKVSwitch;
class TKVMultiElementEx;
class TKVWin;

// What one grid cell carries; the pages fill it from their grid rules.
struct TChartCell {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    uint32_t Color = 0;
    std::string_view Caption;
    std::string_view Hint;
    std::string_view Key;  // the cell's Data: %2 of the chart path
    bool Bold = false;
    bool NoFrame = false;
    uint32_t FrameColor = 0;
};

class TChartPageSchema : public TClassbase_253CB10 {
public:
    TKVImage* Picture = nullptr;
    TKvImageLoader* Loader = nullptr;
    TKVDir* ChartDir = nullptr;
    TKVFormatStr* ChartPath = nullptr;
    TKVFormatStr* PrefetchPath = nullptr;
    TKVButton* DonateButton = nullptr;
    TKVMultiElementEx* DonateHost = nullptr;
    TKVCheckBox* ScaleBox = nullptr;
    TKVHub* HidePictureHub = nullptr;
    TKVHub* ShowPictureHub = nullptr;
    TKVSwitch* ScaleSwitch = nullptr;

protected:
    using TClassbase_253CB10::TClassbase_253CB10;

    // The page's own components, created after the template's panel and
    // boundary.
    void BuildPage() override = 0;

    // Picture: fills the panel, stretch mode, smooth, sized by its bitmap.
    void CreatePicture();
    // Loader, ChartDir, ChartPath and PrefetchPath with the page's mask.
    void CreateChartPath(std::string_view mask);
    // One grid cell (a flat bit button in "Tahoma" 8, Cyrillic character set).
    TKVBitBtn* CreateCell(const TChartCell& cell);
    // DonateButton, DonateHost (building the donate window now), ScaleBox,
    // the two hubs and ScaleSwitch, in that order.
    void CreateControls(TMultiFactory donateWindow);
    // Every link of the diagram above; the cells report to ChartPath.
    void WireChart(std::span<TKVBitBtn* const> cells);
    // The hints of every visual component (empty ones register nothing).
    void RegisterHints(std::span<TKVBitBtn* const> cells);

private:
    void wireMouseUp(TKVWin* control);
};
