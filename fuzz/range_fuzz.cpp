// Range text: any bytes either parse or raise RangeError; the union of the
// tokens is the range, and each token parses alone to its own hands.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tabulo/chartpack/range.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const auto tokens = chartpack::parseRangeTokens(text);
        chartpack::HandSet all;
        for (const auto& t : tokens) {
            all |= t.hands;
            if (chartpack::parseRangeToken(t.text, t.line) != t.hands) std::abort();
        }
        if (chartpack::parseRange(text) != all) std::abort();
        (void)chartpack::handKeysOf(all);
    } catch (const chartpack::RangeError&) {
    }
    return 0;
}
