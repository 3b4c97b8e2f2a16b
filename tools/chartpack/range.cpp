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

// The hands of the text 'token'; errors name 'named', the token as written.
HandSet handsOf(std::string_view token, std::string_view named, int line) {
    HandSet set;
    if (token.empty()) fail(line, named, "empty token");
    const auto dash = token.find('-');
    if (dash != std::string_view::npos) {
        const auto left = token.substr(0, dash);
        const auto right = token.substr(dash + 1);
        if (left.empty() || right.empty() || right.find('-') != std::string_view::npos)
            fail(line, named, "a range has two ends: 77-55, A5s-A2s");
        if (left.back() == '+' || right.back() == '+')
            fail(line, named, "a range with '-' takes no '+'");
        const Single a = parseSingle(left, named, line);
        const Single b = parseSingle(right, named, line);
        if ((a.kind == Kind::Pair) != (b.kind == Kind::Pair))
            fail(line, named, "a range joins two pairs or two hands with the same first rank");
        if (a.kind == Kind::Pair) {
            for (int r = std::min(a.high, b.high); r <= std::max(a.high, b.high); ++r)
                add(set, r, r, Kind::Pair);
            return set;
        }
        if (a.high != b.high)
            fail(line, named, "both ends of a range must have the same first rank");
        if (a.kind != b.kind)
            fail(line, named, "both ends of a range must have the same suit mark");
        for (int low = std::min(a.low, b.low); low <= std::max(a.low, b.low); ++low)
            add(set, a.high, low, a.kind);
        return set;
    }
    const bool plus = token.back() == '+';
    const Single single =
        parseSingle(plus ? token.substr(0, token.size() - 1) : token, named, line);
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

bool isSeparator(char ch) {
    return ch == ',' || ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '#';
}

}  // namespace

RangeError::RangeError(int line, std::string token, const std::string& reason)
    : std::runtime_error("line " + std::to_string(line) + ": '" + token + "': " + reason),
      line_(line),
      token_(std::move(token)),
      reason_(reason) {}

HandSet parseRangeToken(std::string_view token, int line) {
    return handsOf(token, token, line);
}

Weight parseWeight(std::string_view text, std::string_view token, int line) {
    const std::string usage = "a frequency is 0 to 1 or 0% to 100% (AJo:0.6, AJo:60%)";
    const bool percent = !text.empty() && text.back() == '%';
    if (percent) text.remove_suffix(1);
    const auto dot = text.find('.');
    const auto whole = text.substr(0, dot);
    const auto fraction = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
    if (whole.empty() && fraction.empty()) fail(line, token, usage);
    auto digits = [](std::string_view part) {
        return std::all_of(part.begin(), part.end(),
                           [](char ch) { return ch >= '0' && ch <= '9'; });
    };
    if (!digits(whole) || !digits(fraction)) fail(line, token, usage);
    // Exact arithmetic: value = number / 10^places, scaled to steps of 1/10000.
    const auto significant = [](std::string_view part) {
        while (!part.empty() && part.front() == '0') part.remove_prefix(1);
        return part;
    };
    std::string_view places = fraction;
    while (!places.empty() && places.back() == '0') places.remove_suffix(1);
    if (significant(whole).size() > 3) fail(line, token, usage);
    places = places.substr(0, std::min<size_t>(places.size(), 9));  // nothing shows beyond
    uint64_t number = 0;
    for (char ch : significant(whole)) number = number * 10 + uint64_t(ch - '0');
    uint64_t scale = 1;
    for (char ch : places) {
        number = number * 10 + uint64_t(ch - '0');
        scale *= 10;
    }
    const uint64_t unit = percent ? 100 : kFullWeight;
    if (number * unit > uint64_t{kFullWeight} * scale) fail(line, token, usage);
    return static_cast<Weight>((number * unit + scale / 2) / scale);
}

std::string formatWeight(Weight weight) {
    if (weight >= kFullWeight) return "1";
    std::string text = "0." + std::to_string(kFullWeight + weight).substr(1);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

RangeToken parseWeightedToken(std::string_view token, int line) {
    const auto colon = token.find(':');
    if (colon == std::string_view::npos)
        return {std::string(token), line, handsOf(token, token, line), kFullWeight};
    return {std::string(token), line, handsOf(token.substr(0, colon), token, line),
            parseWeight(token.substr(colon + 1), token, line)};
}

std::vector<RangeToken> parseRangeTokens(std::string_view text, int firstLine) {
    std::vector<RangeToken> tokens;
    int line = firstLine;
    size_t i = 0;
    const size_t n = text.size();
    auto skipBlanks = [&](size_t at) {
        while (at < n && (text[at] == ' ' || text[at] == '\t')) ++at;
        return at;
    };
    while (i < n) {
        const char ch = text[i];
        if (ch == '\n') {
            ++line;
            ++i;
        } else if (ch == '#') {
            while (i < n && text[i] != '\n') ++i;
        } else if (isSeparator(ch)) {
            ++i;
        } else {
            const size_t start = i;
            while (i < n && !isSeparator(text[i])) ++i;
            std::string token(text.substr(start, i - start));
            // "KK : 0.5" and "KK: 0.5": a pasted frequency may stand apart.
            if (token.find(':') == std::string::npos) {
                const size_t colon = skipBlanks(i);
                if (colon < n && text[colon] == ':') {
                    token += ':';
                    i = colon + 1;
                }
            }
            if (token.back() == ':') {
                i = skipBlanks(i);
                const size_t weight = i;
                while (i < n && !isSeparator(text[i])) ++i;
                token += text.substr(weight, i - weight);
            }
            tokens.push_back(parseWeightedToken(token, line));
        }
    }
    return tokens;
}

HandSet parseRange(std::string_view text, int firstLine) {
    HandSet set;
    for (const auto& token : parseRangeTokens(text, firstLine))
        if (token.weight > 0) set |= token.hands;
    return set;
}
std::vector<std::string> handKeysOf(const HandSet& hands) {
    std::vector<std::string> keys;
    for (int i = 0; i < kHandCount; ++i)
        if (hands.test(static_cast<size_t>(i))) keys.push_back(Hand::fromIndex(i).key());
    return keys;
}

}  // namespace chartpack
