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

#include <bitset>
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

struct RangeToken {
    std::string text;
    int line = 0;
    HandSet hands;
};

// The hands of one token; throws RangeError naming the line and the token.
HandSet parseRangeToken(std::string_view token, int line);

// Every token of a text in order; lines are counted from firstLine.
std::vector<RangeToken> parseRangeTokens(std::string_view text, int firstLine = 1);

// The union of all tokens of a text.
HandSet parseRange(std::string_view text, int firstLine = 1);

// The hands of a set as keys, cell by cell.
std::vector<std::string> handKeysOf(const HandSet& hands);

}  // namespace chartpack
