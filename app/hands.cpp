#include "tabulo/app/hands.h"

#include "tabulo/app/donate.h"
#include "tabulo/chartpack/handsgrid.h"

namespace {

constexpr char Ranks[] = "AKQJT98765432";

}  // namespace

std::string TClassHands_253CB10::HandCaption(int row, int col) {
    // The higher rank (the smaller index) first.
    const int high = row < col ? row : col;
    const int low = row < col ? col : row;
    return {Ranks[high], Ranks[low]};
}

std::string TClassHands_253CB10::HandKey(int row, int col) {
    std::string key = HandCaption(row, col);
    if (row < col) key += 's';
    if (row > col) key += 'o';
    return key;
}

uint32_t TClassHands_253CB10::HandColor(int row, int col) {
    return chartpack::handsGridColourValue(row, col);
}

void TClassHands_253CB10::InitPage(TControl* pageArea) {
    Panel = MakePagePanel(pageArea, "Hands", 35, 105, 263, 313);
}

void TClassHands_253CB10::BuildPage() {
    CreatePicture();

    for (int c = 0; c < RankCount; ++c) {
        for (int r = 0; r < RankCount; ++r) {
            const std::string caption = HandCaption(r, c);
            const std::string key = HandKey(r, c);
            TChartCell cell;
            cell.Left = 20 * c - 1;
            cell.Top = 20 * r + 20;
            cell.Width = 24;
            cell.Height = 22;
            cell.Color = HandColor(r, c);
            cell.Caption = caption;
            cell.Key = key;
            cell.Bold = true;
            cell.NoFrame = true;
            cell.FrameColor = 0x00FFFFFF;
            Cells[std::size_t(c * RankCount + r)] = CreateCell(cell);
        }
    }

    CreateChartPath("%1img\\Holecards\\%2.png");
    CreateControls(&MakeMultiSchema<TClassChildFormEx_261B180>);
    WireChart(Cells);
    RegisterHints(Cells);
}
