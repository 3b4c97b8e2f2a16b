#pragma once
// Writing hands back as range notation, the inverse of parseRange: the
// shortest usual tokens ("22+", "A2s+", "A5s-A2s", "KTo+", "AK") with a
// frequency on every token of a hand played less than 100% ("AJo:0.6").

#include <array>
#include <string>

#include "tabulo/chartpack/range.h"

namespace chartpack {

// "TT+, AJs+, KQs, AKo" for a set of hands; empty for none.
std::string formatRange(const HandSet& hands);

// The hands with a frequency above 0, the pure ones first, then one group
// per frequency, most frequent first: "QQ+, AKs, AJo:0.6, KQo:0.25".
std::string formatWeightedRange(const std::array<Weight, kHandCount>& weights);

// The ways to write a range out, each read back by parseRangeTokens to the
// same frequencies.
enum class RangeFormat : uint8_t {
    Classes,       // "QQ+, AKs, AJo:0.6", as formatWeightedRange
    Combinations,  // every combination played: "AsAh: 1, AsKs: 0.5, ..."
    Brackets,      // percentages in brackets: "QQ+, [60]AJo, KQo[/60]"
};
std::string formatRange(const std::array<Weight, kHandCount>& weights, RangeFormat format);

}  // namespace chartpack
