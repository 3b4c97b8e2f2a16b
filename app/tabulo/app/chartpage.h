#pragma once
// The part both chart pages (Position and Hands) share on top of the picture
// page: the path from a cell click to a shown chart.
//
//   cell.onClick --> ChartPath.doFormat ("%1img\<folder>\%2.png")
//                      %1 <-- ChartDir.getProgramDir, %2 the cell's key
//                    ChartPath.onFormatted --> Loader.doLoad
//   cell.onHoverValue --> PrefetchPath.doFormat (the same mask and %1)
//                    PrefetchPath.onFormatted --> Loader.doPrefetch
//   cell.onMouseLeave --> Loader.doDropPrefetch   (decode ahead of the click)
//   the picture page's links, HidePictureHub 3 --> Loader.doRelease
//   every visual component's onMouseUp --> Boundary output 0 (to the page control)
//
// The helpers below only create, set, initialise, wire and register; the
// pages call them in their own creation order.

#include <cstdint>
#include <span>
#include <string_view>

#include "tabulo/app/picturepage.h"
#include "tabulo/runtime/schema.h"

class TKVDir;
class TKVFormatStr;
class TKVBitBtn;

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

class TChartPageSchema : public TPicturePageSchema {
public:
    using TPicturePageSchema::TPicturePageSchema;

    TKVDir* ChartDir = nullptr;
    TKVFormatStr* PrefetchPath = nullptr;

protected:
    // The page's own components, created after the template's panel and
    // boundary.
    void BuildPage() override = 0;

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
};
