#pragma once
// The "Hands" page: the 169 starting hands as a 13 x 13 grid of small flat
// cells. Ranks run A K Q J T 9 8 7 6 5 4 3 2 along rows and columns; pairs sit
// on the diagonal, suited hands above it ("AKs"), offsuit hands below ("AKo").
// A cell's colour is the earliest seat that opens the hand (red UTG, orange
// MP, yellow CO, light blue BU, green SB; silver none).
//
//   cell (key) --> ChartPath "%1img\Holecards\%2.png" --> Loader --> Picture
//
// The rest of the chart display is the shared chart-page wiring.

#include <array>
#include <cstdint>
#include <string>

#include "tabulo/app/chartpage.h"

class TClassHands_253CB10 : public TChartPageSchema {
public:
    static constexpr int RankCount = 13;
    static constexpr int CellCount = RankCount * RankCount;

    using TChartPageSchema::TChartPageSchema;

    // The 169 cells in creation order: column by column (column A first),
    // each top to bottom (index = column * 13 + row).
    std::array<TKVBitBtn*, CellCount> Cells{};

    // The page's fixed grid settings, by row and column (rank indexes).
    static std::string HandKey(int row, int col);
    static std::string HandCaption(int row, int col);
    static uint32_t HandColor(int row, int col);

protected:
    void InitPage(TControl* pageArea) override;
    void BuildPage() override;
};
