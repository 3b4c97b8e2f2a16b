#include "tabulo/app/hands.h"

#include "tabulo/app/donate.h"

namespace {

constexpr char Ranks[] = "AKQJT98765432";

// Cell colours row by row (rank of the row), one letter per column:
// R red (UTG opens), O orange (MP), Y yellow (CO), B light blue (BU),
// G green (SB), S silver (nobody opens).
constexpr const char* ColourRows[TClassHands_253CB10::RankCount] = {
    "RRRRRYYYYOOOO",  // A
    "RRRRRYYYGGGGG",  // K
    "RRRRRYYGGGGBS",  // Q
    "ROYRRRYYBBBBS",  // J
    "YYYYRRRYBBBBS",  // T
    "YYYYYRRRYBBSS",  // 9
    "GBBBBYRRYYBSS",  // 8
    "GBBBBBBRRYBBS",  // 7
    "BBSSBBBBROGBS",  // 6
    "BBSSSSSSBRYBS",  // 5
    "BSSSSSSSSSOBS",  // 4
    "BSSSSSSSSSSOS",  // 3
    "BSSSSSSSSSSSO",  // 2
};

constexpr uint32_t ColourOf(char code) {
    switch (code) {
        case 'R':
            return 0x001600DD;
        case 'O':
            return 0x003C9DFF;
        case 'Y':
            return 0x0000FFFF;
        case 'G':
            return 0x0039B93D;
        case 'B':
            return 0x00F8CE52;
        default:
            return 0x00C0C0C0;
    }
}

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
    return ColourOf(ColourRows[row][col]);
}

TClassHands_253CB10::TClassHands_253CB10(TKVContainer* container, TControl* pageArea,
                                         TObject* owner)
    : TChartPageSchema(container, pageArea, owner) {}

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
