#include "tabulo/app/position.h"

#include <string>

#include "tabulo/app/donate.h"
#include "tabulo/chartpack/seats.h"

namespace {

// The page's design of each seat, in the seat grid's order (seats.h). A
// column takes its seat's Left, a row its seat's Top; the spacing is
// irregular on purpose. Header: the diagonal cell's colour; tint: its row's
// lighter shade. These are the page's own colours: its SB header is a lighter
// green than the hand grid's.
struct TSeatDesign {
    int Left;
    int Top;
    uint32_t Header;
    uint32_t Tint;
};
constexpr TSeatDesign Seats[TClassPosition_253CB10::SeatCount] = {
    {0, 20, 0x001600DD, 0x00E8D5FF},    {44, 62, 0x003C9DFF, 0x00CCE2FD},
    {88, 105, 0x0000FFFF, 0x00DFFFFF},  {130, 149, 0x00F8CE52, 0x00FEEDC0},
    {174, 193, 0x0046FB81, 0x00DDFFDD}, {218, 237, 0x0052A330, 0x00BFE8AE},
};
static_assert(TClassPosition_253CB10::SeatCount == chartpack::kSeatCount);

constexpr uint32_t ButtonShadow = 0xFF000010;

}  // namespace

void TClassPosition_253CB10::InitPage(TControl* pageArea) {
    Panel = MakePagePanel(pageArea, "Position", 35, 105, 400, 300);
}

void TClassPosition_253CB10::BuildPage() {
    CreatePicture();
    CreateChartPath("%1img\\Positions\\%2.png");

    for (int c = 0; c < SeatCount; ++c) {
        for (int r = 0; r < SeatCount; ++r) {
            const TSeatDesign& hero = Seats[r];
            const TSeatDesign& opponent = Seats[c];
            const std::string caption = chartpack::seatGridCaption(r, c);
            const std::string key = chartpack::seatGridKey(r, c);
            const std::string hint = chartpack::seatGridMatchup(r, c);
            TChartCell cell;
            cell.Left = opponent.Left;
            cell.Top = hero.Top;
            cell.Width = 46;
            cell.Height = 45;
            cell.Color = r == c ? hero.Header : hero.Tint;
            cell.Caption = caption;
            cell.Hint = hint;
            cell.Key = key;
            cell.Bold = r == c;
            cell.NoFrame = false;
            cell.FrameColor = ButtonShadow;
            Cells[std::size_t(c * SeatCount + r)] = CreateCell(cell);
        }
    }

    CreateControls(&MakeMultiSchema<TClassChildFormEx_261B440>);
    WireChart(Cells);
    RegisterHints(Cells);
}
