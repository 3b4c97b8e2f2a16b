#pragma once
// The "Position" page: a 6 x 6 grid of seat cells (UTG, MP, CO, BU, SB, BB).
// Row = hero seat, column = opponent seat. The diagonal holds the seat
// headers ("UTG", key "UTG"); below it the hero faces the opponent's open
// (caption "vs UTG", hint "MP vs UTG", key "MPvsUTG"), above it the hero's
// open faces the opponent's 3-bet (hint "UTG vs MP 3bet", key "UTGvsMP").
//
//   cell (key) --> ChartPath "%1img\Positions\%2.png" --> Loader --> Picture
//
// The rest of the chart display is the shared chart-page wiring.

#include <array>

#include "tabulo/app/chartpage.h"

class TClassPosition_253CB10 : public TChartPageSchema {
public:
    static constexpr int SeatCount = 6;

    using TChartPageSchema::TChartPageSchema;

    // The 36 cells in creation order: column by column, each top to bottom
    // (index = column * 6 + row).
    std::array<TKVBitBtn*, SeatCount * SeatCount> Cells{};

protected:
    void InitPage(TControl* pageArea) override;
    void BuildPage() override;
};
