// Range text: any bytes either parse or raise RangeError; the union of the
// played tokens is the range; a token without a bracket mark parses alone
// to its own hands (its weight may come from brackets around it); and what the tokens give every
// hand, written out in each format, reads back to the same frequencies.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tabulo/chartpack/range.h"
#include "tabulo/chartpack/rangetext.h"

using namespace chartpack;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto tokens = parseRangeTokens(text);
        HandSet played;
        for (const auto& t : tokens) {
            if (t.weight > 0) played |= t.hands;
            if (t.hands.count() != 1 && t.combo >= 0) std::abort();
            if (t.text.find('[') != std::string::npos) continue;
            const RangeToken alone = parseWeightedToken(t.text, t.line);
            if (alone.hands != t.hands || alone.combo != t.combo) std::abort();
        }
        if (parseRange(text) != played) std::abort();
        ActionRange range;
        range.add(tokens);
        const auto weights = range.weights();
        for (RangeFormat format :
             {RangeFormat::Classes, RangeFormat::Combinations, RangeFormat::Brackets}) {
            ActionRange again;
            again.add(parseRangeTokens(formatRange(weights, format)));
            if (again.weights() != weights) std::abort();
        }
    } catch (const RangeError&) {
    }
    return 0;
}
