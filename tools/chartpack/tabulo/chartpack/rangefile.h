#pragma once
// The range file: what every hand does in each of the 36 charts of the seat
// grid, and its consistency rules.
//
// The seat grid has one row per hero seat and one column per opponent seat,
// in the order UTG MP CO BU SB BB. Its diagonal holds the seats' own charts
// (the open raise; for the big blind its defence against a small-blind open),
// below it the hero faces the opponent's open ("MP vs UTG"), above it the
// hero's open meets the opponent's 3-bet ("UTG vs MP 3bet").
//
// File format (see ranges.txt): '#' comments; a section per chart,
// "[UTG open]" .. "[SB open]", "[MP vs UTG]", "[UTG vs MP 3bet]"; in a section
// lines "action: range", where a line without "action:" continues the action
// above. Open sections take "raise:", the others "call:", "raise/fold:" and
// "raise/reraise:". Hands not listed fold. Every section appears exactly once.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tabulo/chartpack/range.h"

namespace chartpack {

inline constexpr int kSeatCount = 6;
inline constexpr int kSpotCount = kSeatCount * kSeatCount;
inline constexpr int kBigBlind = 5;
inline constexpr int kSmallBlind = 4;
inline constexpr std::array<std::string_view, kSeatCount> kSeatNames = {"UTG", "MP", "CO",
                                                                        "BU",  "SB", "BB"};

enum class Action : uint8_t { Fold, Open, Call, RaiseFold, RaiseReraise };

// The name of an action in the range file ("raise", "call", "raise/fold",
// "raise/reraise"; "fold" for Fold).
std::string_view actionName(Action action);

// A cell of the seat grid.
struct Spot {
    int hero = 0;
    int opponent = 0;

    static constexpr Spot fromIndex(int index) { return {index / kSeatCount, index % kSeatCount}; }
    constexpr int index() const { return hero * kSeatCount + opponent; }
    constexpr bool isSeat() const { return hero == opponent; }
    constexpr bool facesOpen() const { return hero > opponent; }
    constexpr bool facesThreeBet() const { return hero < opponent; }

    // The picture name: "UTG", "MPvsUTG", "UTGvsMP".
    std::string key() const;
    // The chart title: "UTG open", "BB vs SB open", "MP vs UTG", "UTG vs MP 3bet".
    std::string title() const;
    // The caption of the seat-grid cell: "UTG" or "vs UTG".
    std::string caption() const;
};

class ChartPack {
public:
    ChartPack();

    Action action(int spot, int hand) const {
        return actions_[static_cast<size_t>(spot)][static_cast<size_t>(hand)];
    }
    Action action(Spot spot, Hand hand) const { return action(spot.index(), hand.index()); }
    void setAction(int spot, int hand, Action action) {
        actions_[static_cast<size_t>(spot)][static_cast<size_t>(hand)] = action;
    }

    // The hands that take an action in a spot.
    HandSet hands(int spot, Action action) const;
    // The hands that do not fold in a spot.
    HandSet played(int spot) const;
    // The open-raise range of a seat (0 UTG .. 4 SB).
    HandSet opens(int seat) const { return hands(Spot{seat, seat}.index(), Action::Open); }

private:
    std::array<std::array<Action, kHandCount>, kSpotCount> actions_{};
};

// Reads range-file text; throws RangeError naming the line and the token.
ChartPack parseRangeFile(std::string_view text);

// Reads a range file; throws RangeError for bad text and std::runtime_error
// when the file cannot be read.
ChartPack loadRangeFile(const std::string& path);

// What is inconsistent in a pack, one sentence per fault; empty when sound:
// the open ranges follow the colours of the hand grid; a hero answers a 3-bet
// only with hands it opens; continuing ranges widen against later seats;
// aces always raise and reraise when facing a raise.
std::vector<std::string> checkConsistency(const ChartPack& pack);

}  // namespace chartpack
