#include "tabulo/chartpack/range.h"

#include <algorithm>
#include <optional>

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
        fail(line, token,
             "a hand is two ranks and an optional suit mark (AA, AKs, AKo, AK) or two cards "
             "(AhKs)");
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

bool isSuit(char ch) {
    return kSuits.find(ch) != std::string_view::npos;
}

// Two cards such as "AhKs": the second letter is a suit, which no hand's is.
bool looksLikeCombo(std::string_view token) {
    return token.size() == 4 && isSuit(token[1]);
}

Combo parseCombo(std::string_view text, std::string_view token, int line) {
    for (size_t i : {size_t{0}, size_t{2}})
        if (rankIndex(text[i]) < 0)
            fail(line, token,
                 "'" + std::string(1, text[i]) + "' is not a rank (A K Q J T 9 8 7 6 5 4 3 2)");
    for (size_t i : {size_t{1}, size_t{3}})
        if (!isSuit(text[i]))
            fail(line, token, "'" + std::string(1, text[i]) + "' is not a suit (s h d c)");
    const auto combo = comboFromText(text);
    if (!combo) fail(line, token, "the same card twice");
    return *combo;
}

// The hands of the text 'token'; errors name 'named', the token as written.
// A combination token sets *combo to its number; others leave it alone.
HandSet handsOf(std::string_view token, std::string_view named, int line, int* combo = nullptr) {
    HandSet set;
    if (token.empty()) fail(line, named, "empty token");
    if (looksLikeCombo(token)) {
        const Combo parsed = parseCombo(token, named, line);
        set.set(static_cast<size_t>(parsed.hand.index()));
        if (combo) *combo = parsed.index;
        return set;
    }
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

namespace {

// A frequency as a decimal of 0..1, or of 0..100 with a '%' or when given in
// percent (after '@' and in brackets).
Weight readWeight(std::string_view text, std::string_view token, int line, bool inPercent,
                  const std::string& usage) {
    const bool percent = inPercent || (!text.empty() && text.back() == '%');
    if (!text.empty() && text.back() == '%') text.remove_suffix(1);
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

const std::string kFrequencyUsage = "a frequency is 0 to 1 or 0% to 100% (AJo:0.6, AJo:60%)";
const std::string kPercentUsage = "a weight after '@' or in brackets is 0 to 100 (QQ@50, [50]AKs)";

// One token with an optional ":frequency" or "@percent"; errors name 'named'.
RangeToken weightedToken(std::string_view token, std::string_view named, int line) {
    RangeToken result{std::string(named), line, {}, kFullWeight, -1};
    const auto at = token.find('@');
    const auto colon = token.find(':');
    if (at != std::string_view::npos && colon != std::string_view::npos)
        fail(line, named, "one frequency per token: QQ@50 or QQ:0.5");
    if (at != std::string_view::npos) {
        result.hands = handsOf(token.substr(0, at), named, line, &result.combo);
        result.weight = readWeight(token.substr(at + 1), named, line, true, kPercentUsage);
    } else if (colon != std::string_view::npos) {
        result.hands = handsOf(token.substr(0, colon), named, line, &result.combo);
        result.weight = readWeight(token.substr(colon + 1), named, line, false, kFrequencyUsage);
    } else {
        result.hands = handsOf(token, named, line, &result.combo);
    }
    return result;
}

// An open bracket "[50]" in force over the tokens that follow it.
struct Bracket {
    Weight weight;
    std::string marker;  // "[50]"
    std::string token;   // the token it opened in, for errors
    int line;
};

// The weight of a bracket marker: "[50]" or "[/50]" (closing true).
Weight bracketWeight(std::string_view marker, bool closing, std::string_view named, int line) {
    auto number = marker.substr(closing ? 2 : 1, marker.size() - (closing ? 3 : 2));
    return readWeight(number, named, line, true, kPercentUsage);
}

}  // namespace

Weight parseWeight(std::string_view text, std::string_view token, int line) {
    return readWeight(text, token, line, false, kFrequencyUsage);
}

std::string formatWeight(Weight weight) {
    if (weight >= kFullWeight) return "1";
    std::string text = "0." + std::to_string(kFullWeight + weight).substr(1);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

RangeToken parseWeightedToken(std::string_view token, int line) {
    return weightedToken(token, token, line);
}

namespace {

// A token with its bracket markers: "[50]AKs" opens a bracket, "KQs[/50]"
// closes it, "[50]" and "[/50]" may also stand alone.
void readBracketed(const std::string& token, int line, std::optional<Bracket>& bracket,
                   std::vector<RangeToken>& tokens) {
    std::string_view body = token;
    bool closes = false;
    if (body.front() == '[' && body.substr(0, 2) != "[/") {
        const auto end = body.find(']');
        if (end == std::string_view::npos)
            fail(line, token, "a bracket weight is written [50]AKs, KQs[/50]");
        if (bracket)
            fail(line, token,
                 "brackets do not nest: close " + bracket->marker + " (line " +
                     std::to_string(bracket->line) + ") first");
        const auto marker = body.substr(0, end + 1);
        bracket =
            Bracket{bracketWeight(marker, false, token, line), std::string(marker), token, line};
        body.remove_prefix(end + 1);
        if (!body.empty() && body.front() == '[' && body.substr(0, 2) != "[/")
            fail(line, token, "brackets do not nest: close " + bracket->marker + " first");
    }
    const auto close = body.find("[/");
    if (close != std::string_view::npos) {
        const auto marker = body.substr(close);
        if (marker.back() != ']' || marker.find(']') != marker.size() - 1)
            fail(line, token, "a closing bracket follows its last hand: KQs[/50]");
        if (!bracket) fail(line, token, "'" + std::string(marker) + "' closes no bracket");
        if (bracketWeight(marker, true, token, line) != bracket->weight)
            fail(line, token,
                 "'" + std::string(marker) + "' does not close " + bracket->marker + " (line " +
                     std::to_string(bracket->line) + ")");
        closes = true;
        body = body.substr(0, close);
    }
    if (!body.empty()) {
        RangeToken parsed = weightedToken(body, token, line);
        if (bracket) {
            if (body.find_first_of(":@") != std::string_view::npos)
                fail(line, token, "a hand in brackets takes the weight of its brackets");
            parsed.weight = bracket->weight;
        }
        tokens.push_back(std::move(parsed));
    }
    if (closes) bracket.reset();
}

}  // namespace

std::vector<RangeToken> parseRangeTokens(std::string_view text, int firstLine) {
    std::vector<RangeToken> tokens;
    std::optional<Bracket> bracket;
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
            readBracketed(token, line, bracket, tokens);
        }
    }
    if (bracket)
        fail(bracket->line, bracket->token,
             "the bracket " + bracket->marker + " is not closed: write [/" +
                 bracket->marker.substr(1) + " after its last hand");
    return tokens;
}

HandSet parseRange(std::string_view text, int firstLine) {
    HandSet set;
    for (const auto& token : parseRangeTokens(text, firstLine))
        if (token.weight > 0) set |= token.hands;
    return set;
}
void ActionRange::add(const RangeToken& token) {
    for (int h = 0; h < kHandCount; ++h) {
        if (!token.hands.test(static_cast<size_t>(h))) continue;
        auto& combos = combos_[static_cast<size_t>(h)];
        if (token.combo >= 0)
            combos[static_cast<size_t>(token.combo)] = token.weight;
        else
            std::fill_n(combos.begin(), comboCount(Hand::fromIndex(h)), token.weight);
        line_[static_cast<size_t>(h)] = token.line;
        token_[static_cast<size_t>(h)] = token.text;
    }
}

int ActionRange::total(int hand) const {
    int sum = 0;
    for (Weight w : combos_[static_cast<size_t>(hand)]) sum += w;
    return sum;
}

Weight meanWeight(int total, Hand hand) {
    const int count = comboCount(hand);
    return static_cast<Weight>((2 * total + count) / (2 * count));
}

Weight ActionRange::weight(int hand) const {
    return meanWeight(total(hand), Hand::fromIndex(hand));
}

std::array<Weight, kHandCount> ActionRange::weights() const {
    std::array<Weight, kHandCount> list{};
    for (int h = 0; h < kHandCount; ++h) list[static_cast<size_t>(h)] = weight(h);
    return list;
}

std::vector<std::string> handKeysOf(const HandSet& hands) {
    std::vector<std::string> keys;
    for (int i = 0; i < kHandCount; ++i)
        if (hands.test(static_cast<size_t>(i))) keys.push_back(Hand::fromIndex(i).key());
    return keys;
}

}  // namespace chartpack
