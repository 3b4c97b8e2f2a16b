#pragma once
// The names of the seat grid, for the viewer's Position page and the
// chart-pack library alike (header only, standard C++ only).
//
// The grid has one row per hero seat and one column per opponent seat, in
// the order UTG MP CO BU SB BB. Its diagonal holds the seats' own charts,
// below it the hero faces the opponent's open, above it the hero's open
// meets the opponent's 3-bet.

#include <array>
#include <string>
#include <string_view>

namespace chartpack {

inline constexpr int kSeatCount = 6;
inline constexpr int kSmallBlind = 4;
inline constexpr int kBigBlind = 5;
inline constexpr std::array<std::string_view, kSeatCount> kSeatNames = {"UTG", "MP", "CO",
                                                                        "BU",  "SB", "BB"};

inline std::string seatName(int seat) {
    return std::string(kSeatNames[static_cast<size_t>(seat)]);
}

// The picture name of a cell: "UTG" on the diagonal, "MPvsUTG" elsewhere.
inline std::string seatGridKey(int hero, int opponent) {
    return hero == opponent ? seatName(hero) : seatName(hero) + "vs" + seatName(opponent);
}

// The caption of a cell: "UTG" on the diagonal, "vs UTG" elsewhere.
inline std::string seatGridCaption(int hero, int opponent) {
    return hero == opponent ? seatName(hero) : "vs " + seatName(opponent);
}

// The match-up of a cell off the diagonal: "MP vs UTG" facing an open,
// "UTG vs MP 3bet" facing a 3-bet; empty on the diagonal.
inline std::string seatGridMatchup(int hero, int opponent) {
    if (hero == opponent) return std::string();
    return seatName(hero) + " vs " + seatName(opponent) + (hero < opponent ? " 3bet" : "");
}

}  // namespace chartpack
