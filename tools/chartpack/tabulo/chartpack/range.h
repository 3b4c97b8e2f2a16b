#pragma once
// Standard range notation for sets of starting hands.
//
// A range is a list of tokens separated by commas or white space; '#' starts
// a comment that runs to the end of the line. Tokens:
//   AA, AKs, AKo   one hand
//   AK             both AKs and AKo
//   22+            the pair and every higher pair
//   A2s+, KTo+, AT+  the hand and every higher kicker below the first rank
//   77-55, A5s-A2s, KQo-KTo, A5-A2   everything between the two ends, written
//                  in either order; the ends share the first rank and the suit mark
// Rank letters are upper case (T for ten), suit marks lower case.
//   AhKs, KsAh, 7c7d   one combination of two cards (suits s h d c)
// Any token may carry a frequency, as solvers and range tools export it:
// after a colon, AJo:0.6, AJo:60%, A5s-A2s:.25, "AhKs: 0.5"; in percent after
// '@', QQ@50, AKs@25; or in percent for every token between two brackets,
// "[50]AKs, KQs[/50]" (brackets do not nest and close in the same text).
// Without one the hands play 100%.

#include <bitset>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tabulo/chartpack/hands.h"

namespace chartpack {

// A set of hands by cell index (Hand::index()).
using HandSet = std::bitset<kHandCount>;

// Text that is not a valid range: names the line and the offending token.
class RangeError : public std::runtime_error {
public:
    RangeError(int line, std::string token, const std::string& reason);
    int line() const { return line_; }
    const std::string& token() const { return token_; }
    const std::string& reason() const { return reason_; }

private:
    int line_;
    std::string token_;
    std::string reason_;
};

// A frequency in steps of 1/10000 (0.01 %): exact for every percentage with
// two decimals and for solver exports with four.
using Weight = uint16_t;
inline constexpr Weight kFullWeight = 10000;

struct RangeToken {
    std::string text;  // as written, frequency and brackets included
    int line = 0;
    HandSet hands;
    Weight weight = kFullWeight;
    int combo = -1;  // a combination token: its number in its one hand; -1 all
};

// A frequency as written after the colon: "0.6", ".6", "1", "60%", "12.5%";
// throws RangeError naming the token unless it lies in 0..1 (0..100 %).
Weight parseWeight(std::string_view text, std::string_view token, int line);

// "0.6", "1", "0.125": the shortest decimal that reads back as the weight.
std::string formatWeight(Weight weight);

// One token with an optional frequency ("AJo:0.6").
RangeToken parseWeightedToken(std::string_view token, int line);

// The hands of one token without a frequency; throws RangeError naming the
// line and the token.
HandSet parseRangeToken(std::string_view token, int line);

// Every token of a text in order; lines are counted from firstLine.
std::vector<RangeToken> parseRangeTokens(std::string_view text, int firstLine = 1);

// The union of all tokens of a text with a frequency above 0.
HandSet parseRange(std::string_view text, int firstLine = 1);

// What the tokens of one action give every hand. A token sets each
// combination of its hands to its frequency (a combination token only its
// own); a later mention replaces an earlier one. A hand's frequency is the
// mean over its combinations, absent ones counting 0, rounded to the nearest
// step: AhKh:1 and AsKs:1 alone give AKs 0.5, one combination of 12 at 1
// gives an offsuit hand 0.0833.
class ActionRange {
public:
    void add(const RangeToken& token);
    void add(const std::vector<RangeToken>& tokens) {
        for (const auto& token : tokens) add(token);
    }

    // Whether a token named the hand (at any frequency, 0 included).
    bool listed(int hand) const { return line_[static_cast<size_t>(hand)] != 0; }
    // The last token that named the hand, and its line.
    const std::string& token(int hand) const { return token_[static_cast<size_t>(hand)]; }
    int line(int hand) const { return line_[static_cast<size_t>(hand)]; }
    Weight combo(int hand, int index) const {
        return combos_[static_cast<size_t>(hand)][static_cast<size_t>(index)];
    }
    // The sum over the hand's combinations, in steps.
    int total(int hand) const;
    Weight weight(int hand) const;
    std::array<Weight, kHandCount> weights() const;

private:
    std::array<std::array<Weight, kMostCombos>, kHandCount> combos_{};
    std::array<int, kHandCount> line_{};
    std::array<std::string, kHandCount> token_{};
};

// The mean of a hand's combinations from their sum, to the nearest step.
Weight meanWeight(int total, Hand hand);

// The hands of a set as keys, cell by cell.
std::vector<std::string> handKeysOf(const HandSet& hands);

}  // namespace chartpack
