#include "tabulo/chartpack/range.h"

#include <algorithm>

namespace chartpack {

namespace {

enum class Kind { Pair, Suited, Offsuit, Both };

// One end of a token: two ranks, high before low, and the suit mark.
struct Single {
    int high = 0;
    int low = 0;
    Kind kind = Kind::Pair;
};

[[noreturn]] void fail(int line, std::string_view token, const std::string& reason) {
    throw RangeError(line, std::string(token), reason);
}

Single parseSingle(std::string_view text, std::string_view token, int line) {
    if (text.size() < 2 || text.size() > 3)
        fail(line, token, "a hand is two ranks and an optional suit mark (AA, AKs, AKo, AK)");
    for (size_t i = 0; i < 2; ++i) {
        if (rankIndex(text[i]) < 0)
            fail(line, token,
                 std::string(1, '\'')
                     .append(1, text[i])
                     .append("' is not a rank (A K Q J T 9 8 7 6 5 4 3 2)"));
    }
    Single single{rankIndex(text[0]), rankIndex(text[1]), Kind::Both};
    if (single.high > single.low) fail(line, token, "write the higher rank first");
    if (single.high == single.low) {
        if (text.size() == 3) fail(line, token, "a pair takes no suit mark");
        single.kind = Kind::Pair;
        return single;
    }
    if (text.size() == 3) {
        if (text[2] == 's') {
            single.kind = Kind::Suited;
        } else if (text[2] == 'o') {
            single.kind = Kind::Offsuit;
        } else {
            fail(line, token,
                 "'" + std::string(1, text[2]) + "' is not a suit mark (s suited, o offsuit)");
        }
    }
    return single;
}

void add(HandSet& set, int high, int low, Kind kind) {
    if (kind == Kind::Pair) {
        set.set(static_cast<size_t>(Hand::pair(high).index()));
        return;
    }
    if (kind != Kind::Offsuit) set.set(static_cast<size_t>(Hand::suited(high, low).index()));
    if (kind != Kind::Suited) set.set(static_cast<size_t>(Hand::offsuit(high, low).index()));
}

}  // namespace

RangeError::RangeError(int line, std::string token, const std::string& reason)
    : std::runtime_error("line " + std::to_string(line) + ": '" + token + "': " + reason),
      line_(line),
      token_(std::move(token)),
      reason_(reason) {}

HandSet parseRangeToken(std::string_view token, int line) {
    HandSet set;
    if (token.empty()) fail(line, token, "empty token");
    const auto dash = token.find('-');
    if (dash != std::string_view::npos) {
        const auto left = token.substr(0, dash);
        const auto right = token.substr(dash + 1);
        if (left.empty() || right.empty() || right.find('-') != std::string_view::npos)
            fail(line, token, "a range has two ends: 77-55, A5s-A2s");
        if (left.back() == '+' || right.back() == '+')
            fail(line, token, "a range with '-' takes no '+'");
        const Single a = parseSingle(left, token, line);
        const Single b = parseSingle(right, token, line);
        if ((a.kind == Kind::Pair) != (b.kind == Kind::Pair))
            fail(line, token, "a range joins two pairs or two hands with the same first rank");
        if (a.kind == Kind::Pair) {
            for (int r = std::min(a.high, b.high); r <= std::max(a.high, b.high); ++r)
                add(set, r, r, Kind::Pair);
            return set;
        }
        if (a.high != b.high)
            fail(line, token, "both ends of a range must have the same first rank");
        if (a.kind != b.kind)
            fail(line, token, "both ends of a range must have the same suit mark");
        for (int low = std::min(a.low, b.low); low <= std::max(a.low, b.low); ++low)
            add(set, a.high, low, a.kind);
        return set;
    }
    const bool plus = token.back() == '+';
    const Single single =
        parseSingle(plus ? token.substr(0, token.size() - 1) : token, token, line);
    if (!plus) {
        add(set, single.high, single.low, single.kind);
    } else if (single.kind == Kind::Pair) {
        for (int r = 0; r <= single.high; ++r) add(set, r, r, Kind::Pair);
    } else {
        for (int low = single.high + 1; low <= single.low; ++low)
            add(set, single.high, low, single.kind);
    }
    return set;
}

std::vector<RangeToken> parseRangeTokens(std::string_view text, int firstLine) {
    std::vector<RangeToken> tokens;
    int line = firstLine;
    size_t i = 0;
    while (i < text.size()) {
        const char ch = text[i];
        if (ch == '\n') {
            ++line;
            ++i;
        } else if (ch == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
        } else if (ch == ',' || ch == ' ' || ch == '\t' || ch == '\r') {
            ++i;
        } else {
            const size_t start = i;
            while (i < text.size() && text[i] != ',' && text[i] != ' ' && text[i] != '\t' &&
                   text[i] != '\r' && text[i] != '\n' && text[i] != '#')
                ++i;
            const auto token = text.substr(start, i - start);
            tokens.push_back({std::string(token), line, parseRangeToken(token, line)});
        }
    }
    return tokens;
}

HandSet parseRange(std::string_view text, int firstLine) {
    HandSet set;
    for (const auto& token : parseRangeTokens(text, firstLine)) set |= token.hands;
    return set;
}

std::vector<std::string> handKeysOf(const HandSet& hands) {
    std::vector<std::string> keys;
    for (int i = 0; i < kHandCount; ++i)
        if (hands.test(static_cast<size_t>(i))) keys.push_back(Hand::fromIndex(i).key());
    return keys;
}

}  // namespace chartpack
