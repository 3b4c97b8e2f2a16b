#pragma once
// The colour table of the 13 x 13 hand grid (header only, standard C++ only,
// so the Hands page can use it without linking the chart-pack library).
//
// Rows and columns are rank indexes in the order A K Q J T 9 8 7 6 5 4 3 2;
// the cell in row r, column c is the pair (r == c), the suited hand (r < c)
// or the offsuit hand (r > c). A cell's colour is the colour of the earliest
// seat that open-raises the hand: red UTG, orange MP, yellow CO, light blue
// BU, green SB; silver hands are opened from no seat. Every later seat opens
// everything an earlier one does, so seat s opens a hand exactly when
// openingSeat(colour) <= s.

#include <cstdint>

namespace chartpack {

// In seat order: the enumerator's value is the index of the opening seat
// (0 UTG, 1 MP, 2 CO, 3 BU, 4 SB); Silver (5) is never opened.
enum class GridColour : uint8_t { Red, Orange, Yellow, Blue, Green, Silver };

struct GridRgb {
    uint8_t r, g, b;
    // As a colour value with red in the low byte (0x00BBGGRR).
    constexpr uint32_t bgr() const { return uint32_t{r} | uint32_t{g} << 8 | uint32_t{b} << 16; }
    friend constexpr bool operator==(GridRgb, GridRgb) = default;
};

// Row by row, one letter per column: R red, O orange, Y yellow, G green,
// B light blue, S silver.
inline constexpr const char* kHandsGridColourTable[13] = {
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

constexpr GridColour handsGridColour(int row, int col) {
    switch (kHandsGridColourTable[row][col]) {
        case 'R':
            return GridColour::Red;
        case 'O':
            return GridColour::Orange;
        case 'Y':
            return GridColour::Yellow;
        case 'B':
            return GridColour::Blue;
        case 'G':
            return GridColour::Green;
        default:
            return GridColour::Silver;
    }
}

// The big blind opens nothing; its own charts take a darker green.
inline constexpr GridRgb kBigBlindRgb{48, 163, 82};

constexpr GridRgb gridColourRgb(GridColour colour) {
    switch (colour) {
        case GridColour::Red:
            return {221, 0, 22};
        case GridColour::Orange:
            return {255, 157, 60};
        case GridColour::Yellow:
            return {255, 255, 0};
        case GridColour::Blue:
            return {82, 206, 248};
        case GridColour::Green:
            return {61, 185, 57};
        case GridColour::Silver:
            break;
    }
    return {192, 192, 192};
}

// 0x00BBGGRR of a cell, as the grid buttons take it.
constexpr uint32_t handsGridColourValue(int row, int col) {
    return gridColourRgb(handsGridColour(row, col)).bgr();
}

// The earliest seat (0 UTG .. 4 SB) that opens the hand of a cell; 5 for none.
constexpr int openingSeat(int row, int col) {
    return static_cast<int>(handsGridColour(row, col));
}

}  // namespace chartpack
