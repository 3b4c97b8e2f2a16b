#pragma once
// The colour legend of the charts, shown on the Help page: a panel with a
// heading and two rows of coloured labels. It has no wiring.
//
//   LegendPanel  "Colors used:"
//     "Main chart (OpenRaise):"  UTG MP CO BU SB
//     "Detailed charts:"         Call Raise/Fold Raise/Reraise

#include <array>

#include "tabulo/runtime/schema.h"

class TKVPanel;
class TKVLabel;

// Height of the legend panel, at the top of its parent.
inline constexpr int kLegendHeight = 55;
class TClassChildPanel_261B4F0 : public TClassMultiBase {
public:
    TClassChildPanel_261B4F0(TKVContainer* container, TControl* parent, TObject* owner);

    TKVPanel* LegendPanel = nullptr;
    TKVEditMulti* LegendBoundary = nullptr;
    // In creation order: a later label is drawn over an earlier neighbour.
    std::array<TKVLabel*, 11> Labels{};
};
