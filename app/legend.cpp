#include "tabulo/app/legend.h"

#include "tabulo/app/design.h"
#include "tabulo/chartpack/handsgrid.h"
#include "tabulo/controls/label.h"
#include "tabulo/controls/panel.h"
#include "tabulo/widgets/obj.h"

namespace {

struct TLegendLabel {
    const char* Caption;
    int Left, Top, Width, Height;
    TColor Background;
    uint8_t Alignment;  // 0 left, 2 centre
    uint8_t FontStyle;  // 1 bold
};

// The legend names the colours of the hand grid and the detailed charts.
constexpr TColor Colour(chartpack::GridColour colour) {
    return chartpack::gridColourRgb(colour).bgr();
}
constexpr TColor kRed = Colour(chartpack::GridColour::Red);
constexpr TColor kOrange = Colour(chartpack::GridColour::Orange);
constexpr TColor kYellow = Colour(chartpack::GridColour::Yellow);
constexpr TColor kLightBlue = Colour(chartpack::GridColour::Blue);
constexpr TColor kGreen = Colour(chartpack::GridColour::Green);

constexpr TLegendLabel kLabels[] = {
    {"BU", 202, 19, 25, 15, kLightBlue, 2, 0},
    {"CO", 181, 19, 25, 15, kYellow, 2, 0},
    {"SB", 227, 19, 25, 15, kGreen, 2, 0},
    {"UTG", 125, 19, 33, 15, kRed, 2, 0},
    {"MP", 156, 19, 25, 15, kOrange, 2, 0},
    {"Main chart (OpenRaise):", 5, 17, 120, 17, clBtnFace, 0, 0},
    {"Detailed charts:", 5, 35, 79, 17, clBtnFace, 0, 0},
    {"Raise/Reraise", 185, 35, 72, 17, kRed, 2, 0},
    {"Call", 81, 35, 41, 17, kYellow, 2, 0},
    {"Raise/Fold", 121, 35, 64, 17, kLightBlue, 2, 0},
    {"Colors used:", 102, 2, 161, 17, clBtnFace, 0, 1},
};
static_assert(std::size(kLabels) == std::tuple_size_v<decltype(TClassChildPanel_261B4F0::Labels)>);

}  // namespace

TClassChildPanel_261B4F0::TClassChildPanel_261B4F0(TKVContainer* container, TControl* parent,
                                                   TObject* /*owner*/) {
    // Create, set, initialise.
    LegendPanel = Create<TKVPanel>(parent);
    LegendPanel->Name = "LegendPanel";
    SetDesignBounds(LegendPanel, 0, 0, 265, kLegendHeight);
    LegendPanel->Align = Align::None;
    LegendPanel->Color = clBtnFace;
    SetDesignFont(LegendPanel);
    LegendPanel->BorderStyle = Border::Single;
    LegendPanel->Init();

    LegendBoundary = Create<TKVEditMulti>(0, 0);
    LegendBoundary->Container = container;
    LegendBoundary->Schema = this;
    Boundary = LegendBoundary;

    for (std::size_t i = 0; i < Labels.size(); ++i) {
        const TLegendLabel& d = kLabels[i];
        auto* label = Create<TKVLabel>(LegendPanel->Control);
        label->Name = d.Caption;
        SetDesignBounds(label, d.Left, d.Top, d.Width, d.Height);
        label->Align = Align::None;
        label->Color = d.Background;
        SetDesignFont(label, d.FontStyle);
        label->BorderStyle = Border::Single;
        label->HoverColor = 0;
        label->HoverUnderline = false;
        label->Caption = d.Caption;
        label->SetAutoSize(false);
        label->SetAlignment(d.Alignment);
        label->Init();
        Labels[i] = label;
    }

    // No wiring. Register.
    LegendPanel->AttachLayout(nullptr);
    LegendPanel->RegisterHint();
    for (TKVLabel* label : Labels) {
        label->AttachLayout(nullptr);
        label->RegisterHint();
    }
}
