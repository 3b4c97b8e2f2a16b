#pragma once
// The range file: what every hand does in each of the 36 charts of the seat
// grid, and its consistency rules.
//
// The seat grid (seats.h): its diagonal holds the seats' own charts (the
// open raise; for the big blind its defence against a small-blind open, the
// same chart as "BB vs SB"), below it the hero faces the opponent's open
// ("MP vs UTG"), above it the hero's open meets the opponent's 3-bet
// ("UTG vs MP 3bet").
//
// File format (see ranges.txt): '#' comments; a section per chart,
// "[UTG open]" .. "[SB open]", "[MP vs UTG]", "[UTG vs MP 3bet]"; in a section
// lines "action: range", where a line without "action:" continues the action
// above. Open sections take "raise:", the others "call:", "raise/fold:" and
// "raise/reraise:". Hands not listed fold. A section appears at most once; a
// file may hold any of them (a pack with only some spots). A hand may carry a
// frequency ("AJo:0.6", "AJo:60%", "QQ@50", "[50]AKs[/50]") and appear under
// several actions of a section as long as its frequencies add up to at most
// 1, and each of its combinations' too; the rest folds. Within one action a
// later mention replaces an earlier one.

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tabulo/chartpack/range.h"
#include "tabulo/chartpack/seats.h"

namespace chartpack {

inline constexpr int kSpotCount = kSeatCount * kSeatCount;

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
    std::string key() const { return seatGridKey(hero, opponent); }
    // The chart title: "UTG open raise", "BB defence vs SB open", "MP vs UTG",
    // "UTG vs MP 3bet".
    std::string title() const;
    // The caption of the seat-grid cell: "UTG" or "vs UTG".
    std::string caption() const { return seatGridCaption(hero, opponent); }
    // The header of its chart's section in the range file, without brackets:
    // "UTG open", "MP vs UTG", "UTG vs MP 3bet"; the big blind's own chart is
    // kept in "BB vs SB".
    std::string sectionName() const;
    // Whether the chart has a section of its own in the range file.
    constexpr bool hasSection() const { return !(hero == kBigBlind && opponent == kBigBlind); }

    friend constexpr bool operator==(Spot, Spot) = default;
};

// The actions a spot offers besides folding: raise in a seat's own open
// chart, call, raise/fold and raise/reraise elsewhere (the big blind's own
// chart is its defence, so it offers those three).
inline constexpr int kPlayActionCount = 4;  // Open, Call, RaiseFold, RaiseReraise
std::vector<Action> spotActions(Spot spot);

// What a hand does in a spot: how often it takes each action; the rest folds.
class Strategy {
public:
    static Strategy pure(Action action);

    Weight weight(Action action) const;
    // Sets one action's frequency; the caller keeps the sum within kFullWeight.
    void set(Action action, Weight weight);
    // How often the hand does not fold.
    int played() const;
    // One action all the time (folding included).
    bool isPure() const;
    // The most frequent action (ties go to the earlier action, fold last).
    Action main() const;

    friend bool operator==(const Strategy&, const Strategy&) = default;

private:
    std::array<Weight, kPlayActionCount> weights_{};
};

// The charts of the 36 spots. A pack read from a file holds the spots whose
// sections the file has (the big blind's own chart with BB vs SB); a spot it
// does not hold has no chart at all, which is not the same as folding every
// hand. A pack built in code holds every spot.
class ChartPack {
public:
    bool holds(Spot spot) const { return !missing_.test(chartOf(spot.index())); }
    void setHeld(Spot spot, bool held) { missing_.set(chartOf(spot.index()), !held); }
    // Whether it holds all 36 spots.
    bool complete() const { return missing_.none(); }
    int heldCount() const {
        int held = 0;
        for (int s = 0; s < kSpotCount; ++s) held += holds(Spot::fromIndex(s)) ? 1 : 0;
        return held;
    }

    const Strategy& strategy(int spot, int hand) const {
        return strategies_[chartOf(spot)][static_cast<size_t>(hand)];
    }
    void setStrategy(int spot, int hand, const Strategy& strategy) {
        strategies_[chartOf(spot)][static_cast<size_t>(hand)] = strategy;
    }
    Weight weight(int spot, int hand, Action action) const {
        return strategy(spot, hand).weight(action);
    }

    // The action of a pure hand; the most frequent one of a mixed hand.
    Action action(int spot, int hand) const { return strategy(spot, hand).main(); }
    Action action(Spot spot, Hand hand) const { return action(spot.index(), hand.index()); }
    void setAction(int spot, int hand, Action action) {
        setStrategy(spot, hand, Strategy::pure(action));
    }

    // The hands that take an action in a spot at any frequency.
    HandSet hands(int spot, Action action) const;
    // The hands that do not always fold in a spot.
    HandSet played(int spot) const;
    // The open-raise range of a seat (0 UTG .. 4 SB).
    HandSet opens(int seat) const { return hands(Spot{seat, seat}.index(), Action::Open); }

    friend bool operator==(const ChartPack&, const ChartPack&) = default;

private:
    // Where a spot's chart is kept: the big blind's own chart is its defence
    // against the small blind's open, one chart under two names.
    static constexpr size_t chartOf(int spot) {
        return static_cast<size_t>(spot == Spot{kBigBlind, kBigBlind}.index()
                                       ? Spot{kBigBlind, kSmallBlind}.index()
                                       : spot);
    }

    std::array<std::array<Strategy, kHandCount>, kSpotCount> strategies_{};
    std::bitset<kSpotCount> missing_;
};

// One line of a range file as the parser read it, so that an editor can
// rewrite one chart and keep every other byte.
struct RangeLine {
    size_t begin = 0;  // byte offsets of the line without its line end
    size_t end = 0;
    int spot = -1;  // the section it lies in; -1 before the first
    bool header = false;
    bool label = false;            // starts with "action:"
    Action action = Action::Fold;  // the action its ranges go to (Fold: none)
    bool ranges = false;           // holds range tokens
};

// Reads range-file text; throws RangeError naming the line and the token.
// The pack holds the spots whose sections the text has. With layout, also
// lists every line.
ChartPack parseRangeFile(std::string_view text, std::vector<RangeLine>* layout = nullptr);

// Reads a range file; throws RangeError for bad text and std::runtime_error
// when the file cannot be read.
ChartPack loadRangeFile(const std::string& path);

// What is inconsistent in a pack, one sentence per fault; empty when sound:
// the open ranges follow the colours of the hand grid; a hero answers a 3-bet
// only with hands it opens; continuing ranges widen against later seats;
// aces always raise and reraise when facing a raise. Each rule looks only at
// spots the pack holds. With complete, every section missing from the pack
// is a fault too (the default pack is built that way).
std::vector<std::string> checkConsistency(const ChartPack& pack, bool complete = false);

// "UTG MPvsUTG BBvsSB BB": the picture names of the spots a pack holds.
std::string heldSpotKeys(const ChartPack& pack);

}  // namespace chartpack
