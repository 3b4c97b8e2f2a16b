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
// Any token may carry a frequency after a colon, as solvers and range tools
// export it: AJo:0.6, AJo:60%, A5s-A2s:.25, "KK : 0.5". Without one the
// hands play 100%.

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
    std::string text;  // as written, frequency included
    int line = 0;
    HandSet hands;
    Weight weight = kFullWeight;
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

// The hands of a set as keys, cell by cell.
std::vector<std::string> handKeysOf(const HandSet& hands);

}  // namespace chartpack
