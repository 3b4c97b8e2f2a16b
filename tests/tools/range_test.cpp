// Range notation: every token form, both directions of a range, comments,
// separators, and the errors that name the line and the token.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "tabulo/chartpack/handsgrid.h"
#include "tabulo/chartpack/range.h"

using namespace chartpack;

namespace {

std::vector<std::string> sorted(std::vector<std::string> keys) {
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::vector<std::string> keysOf(std::string_view text) {
    return sorted(handKeysOf(parseRange(text)));
}

}  // namespace

TEST(Hands, GridRulePutsPairsOnTheDiagonalSuitedAboveOffsuitBelow) {
    EXPECT_EQ((Hand{0, 0}.key()), "AA");
    EXPECT_EQ((Hand{0, 1}.key()), "AKs");
    EXPECT_EQ((Hand{1, 0}.key()), "AKo");
    EXPECT_EQ((Hand{12, 12}.key()), "22");
    EXPECT_EQ((Hand{4, 5}.key()), "T9s");
    EXPECT_EQ((Hand{5, 4}.key()), "T9o");
    EXPECT_EQ((Hand{5, 4}.caption()), "T9");
    EXPECT_EQ((Hand{11, 12}.key()), "32s");
}

TEST(Hands, EveryKeyNamesItsOwnCellAndThereAre13Pairs78SuitedAnd78Offsuit) {
    int pairs = 0, suited = 0, offsuit = 0;
    for (int i = 0; i < kHandCount; ++i) {
        const auto& key = handKeys()[static_cast<size_t>(i)];
        const auto hand = handFromKey(key);
        ASSERT_TRUE(hand.has_value()) << key;
        EXPECT_EQ(hand->index(), i) << key;
        pairs += key.size() == 2;
        suited += key.back() == 's';
        offsuit += key.back() == 'o';
    }
    EXPECT_EQ(pairs, 13);
    EXPECT_EQ(suited, 78);
    EXPECT_EQ(offsuit, 78);
}

TEST(Hands, KeysThatAreNotHandsAreRefused) {
    for (const char* bad : {"", "A", "AK", "KAs", "AAs", "AKx", "AKs ", "aks", "A1s", "AKso"})
        EXPECT_FALSE(handFromKey(bad).has_value()) << bad;
}

TEST(HandsGrid, ColourCountsAndCornersFollowTheTable) {
    int counts[6] = {};
    for (int r = 0; r < 13; ++r)
        for (int c = 0; c < 13; ++c) ++counts[static_cast<int>(handsGridColour(r, c))];
    EXPECT_EQ(counts[static_cast<int>(GridColour::Red)], 31);
    EXPECT_EQ(counts[static_cast<int>(GridColour::Orange)], 9);
    EXPECT_EQ(counts[static_cast<int>(GridColour::Yellow)], 28);
    EXPECT_EQ(counts[static_cast<int>(GridColour::Green)], 12);
    EXPECT_EQ(counts[static_cast<int>(GridColour::Blue)], 39);
    EXPECT_EQ(counts[static_cast<int>(GridColour::Silver)], 50);
    EXPECT_EQ(handsGridColourValue(0, 1), 0x001600DDu);    // AKs red
    EXPECT_EQ(handsGridColourValue(1, 0), 0x001600DDu);    // AKo red
    EXPECT_EQ(handsGridColourValue(12, 12), 0x003C9DFFu);  // 22 orange
    EXPECT_EQ(handsGridColourValue(1, 8), 0x0039B93Du);    // K6s green
    EXPECT_EQ(handsGridColourValue(6, 1), 0x00F8CE52u);    // K8o light blue
    EXPECT_EQ(handsGridColourValue(0, 5), 0x0000FFFFu);    // A9s yellow
    EXPECT_EQ(handsGridColourValue(12, 0), 0x00F8CE52u);   // A2o light blue
    EXPECT_EQ(handsGridColourValue(2, 12), 0x00C0C0C0u);   // Q2s silver
    EXPECT_EQ(openingSeat(0, 0), 0);
    EXPECT_EQ(openingSeat(12, 11), 5);  // 32o is opened nowhere
}

struct TokenCase {
    const char* text;
    std::vector<std::string> keys;
};

class RangeTokens : public testing::TestWithParam<TokenCase> {};

TEST_P(RangeTokens, ExpandToTheirHands) {
    EXPECT_EQ(keysOf(GetParam().text), sorted(GetParam().keys)) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Notation, RangeTokens,
    testing::Values(
        TokenCase{"AA", {"AA"}}, TokenCase{"22", {"22"}}, TokenCase{"AKs", {"AKs"}},
        TokenCase{"AKo", {"AKo"}}, TokenCase{"T9s", {"T9s"}}, TokenCase{"32o", {"32o"}},
        TokenCase{"AK", {"AKs", "AKo"}}, TokenCase{"TT+", {"AA", "KK", "QQ", "JJ", "TT"}},
        TokenCase{"AA+", {"AA"}},
        TokenCase{"22+",
                  {"AA", "KK", "QQ", "JJ", "TT", "99", "88", "77", "66", "55", "44", "33", "22"}},
        TokenCase{"A9s+", {"AKs", "AQs", "AJs", "ATs", "A9s"}},
        TokenCase{"KTo+", {"KQo", "KJo", "KTo"}}, TokenCase{"AKs+", {"AKs"}},
        TokenCase{"QT+", {"QJs", "QTs", "QJo", "QTo"}}, TokenCase{"32s+", {"32s"}},
        TokenCase{"A5s-A2s", {"A5s", "A4s", "A3s", "A2s"}},
        TokenCase{"A2s-A5s", {"A5s", "A4s", "A3s", "A2s"}},
        TokenCase{"KQo-KTo", {"KQo", "KJo", "KTo"}},
        TokenCase{"A5-A4", {"A5s", "A4s", "A5o", "A4o"}}, TokenCase{"77-55", {"77", "66", "55"}},
        TokenCase{"55-77", {"77", "66", "55"}}, TokenCase{"88-88", {"88"}},
        TokenCase{"AKs, AKo", {"AKs", "AKo"}},
        TokenCase{"AKs AKo\tAQs,,AQo", {"AKs", "AKo", "AQs", "AQo"}},
        TokenCase{"QQ+, AKs # KK AA 72o and AKx are a comment", {"AA", "KK", "QQ", "AKs"}},
        TokenCase{"AKs,\r\n  # a comment line\r\nT9s", {"AKs", "T9s"}}, TokenCase{"", {}},
        TokenCase{"  # nothing here", {}}, TokenCase{"AKs AKs AK", {"AKs", "AKo"}}));

struct ErrorCase {
    const char* token;
    const char* reason;
};

class BadTokens : public testing::TestWithParam<ErrorCase> {};

TEST_P(BadTokens, AreRefusedWithTheTokenAndTheLine) {
    const std::string text = std::string("AKs, QQ+\n# comment\nKK ") + GetParam().token + " 22";
    try {
        parseRange(text, 10);
        FAIL() << "accepted " << GetParam().token;
    } catch (const RangeError& e) {
        EXPECT_EQ(e.line(), 12);
        EXPECT_EQ(e.token(), GetParam().token);
        const std::string message = e.what();
        EXPECT_NE(message.find("line 12"), std::string::npos) << message;
        EXPECT_NE(message.find(std::string("'") + GetParam().token + "'"), std::string::npos)
            << message;
        EXPECT_NE(message.find(GetParam().reason), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Notation, BadTokens,
    testing::Values(
        ErrorCase{"AKx", "'x' is not a suit mark"}, ErrorCase{"KAs", "higher rank first"},
        ErrorCase{"AAs", "a pair takes no suit mark"}, ErrorCase{"A1s", "'1' is not a rank"},
        ErrorCase{"aks", "'a' is not a rank"}, ErrorCase{"A", "two ranks"},
        ErrorCase{"AKso", "two ranks"}, ErrorCase{"A5s-K2s", "same first rank"},
        ErrorCase{"A5s-A2o", "same suit mark"}, ErrorCase{"A5-A2s", "same suit mark"},
        ErrorCase{"77-A2s", "two pairs"}, ErrorCase{"A5s+-A2s", "no '+'"},
        ErrorCase{"-A2s", "two ends"}, ErrorCase{"A5s-", "two ends"},
        ErrorCase{"A5s-A3s-A2s", "two ends"}, ErrorCase{"AK+s", "two ranks"},
        ErrorCase{"+", "two ranks"}, ErrorCase{"AJo:1.2", "a frequency is 0 to 1"},
        ErrorCase{"AJo:101%", "a frequency is 0 to 1"},
        ErrorCase{"AJo:1.00001", "a frequency is 0 to 1"},
        ErrorCase{"AJo:0.5.5", "a frequency is 0 to 1"},
        ErrorCase{"AJo:%", "a frequency is 0 to 1"}, ErrorCase{"AJo:x", "a frequency is 0 to 1"},
        ErrorCase{"AJo::0.5", "a frequency is 0 to 1"},
        ErrorCase{"AKx:0.5", "'x' is not a suit mark"}, ErrorCase{"2000AJo:0.5", "two ranks"},
        // Two cards, '@' and brackets.
        ErrorCase{"AhAh", "the same card twice"}, ErrorCase{"AhKx", "'x' is not a suit"},
        ErrorCase{"Ah1s", "'1' is not a rank"}, ErrorCase{"AhKs+", "two ranks"},
        ErrorCase{"QQ@", "a weight after '@' or in brackets is 0 to 100"},
        ErrorCase{"QQ@150", "0 to 100"}, ErrorCase{"QQ@0.5:0.5", "one frequency per token"},
        ErrorCase{"[50][25]AKs[/25][/50]", "brackets do not nest"},
        ErrorCase{"[50]AKs", "not closed: write [/50] after its last hand"},
        ErrorCase{"KQs[/50]", "closes no bracket"},
        ErrorCase{"[50]AKs[/25]", "'[/25]' does not close [50]"},
        ErrorCase{"[50]AKs:0.5[/50]", "takes the weight of its brackets"},
        ErrorCase{"[x]AKs[/x]", "0 to 100"}, ErrorCase{"[150]AKs[/150]", "0 to 100"},
        ErrorCase{"[50", "a bracket weight is written [50]AKs, KQs[/50]"},
        ErrorCase{"[/50]AKs", "a closing bracket follows its last hand"}));

// What each way of writing a range gives every hand, as hand-worked means
// over the combinations (6 of a pair, 4 suited, 12 offsuit; absent ones 0).
// Hands not listed in a row play 'rest': by pair, suited, offsuit.
struct FormatCase {
    std::string text;
    std::vector<std::pair<std::string, Weight>> expected;
    std::array<Weight, 3> rest{};
};

// A solver's export of all 1326 combinations, each written "AhKs: 1" or
// "AhKs:0" by its own spacing: the combinations holding a spade play 1.
std::string spadeExport() {
    const std::string ranks = "23456789TJQKA", suits = "cdhs";
    std::string text;
    int n = 0;
    for (int i = 0; i < 52; ++i)
        for (int j = 0; j < i; ++j) {
            const bool spade = suits[size_t(i % 4)] == 's' || suits[size_t(j % 4)] == 's';
            text += n++ == 0 ? "" : ",";
            text += {ranks[size_t(i / 4)], suits[size_t(i % 4)], ranks[size_t(j / 4)],
                     suits[size_t(j % 4)]};
            text += (n % 2 ? ": " : ":") + std::string(spade ? "1" : "0");
        }
    EXPECT_EQ(n, 1326);
    return text;
}

TEST(RangeFormats, ReadToTheMeanOfTheirCombinations) {
    const std::vector<FormatCase> cases = {
        // A spade in 3 of a pair's 6, 1 of a suited hand's 4, 6 of 12 offsuit.
        {spadeExport(), {}, {5000, 2500, 5000}},
        {"AhKh:1,AsKs:1", {{"AKs", 5000}}},
        {"AhAd, AsAc", {{"AA", 3333}}},
        {"KdKc:0.5", {{"KK", 833}}},
        {"AhKs", {{"AKo", 833}}},
        {"KsAh, AhKs, AhKd:1, AhKc, AdKs, AdKh, AdKc, AcKs, AcKh, AcKd, AsKh, AsKd",
         {{"AKo", 9167}}},
        {"[50]AKs, KQs[/50]", {{"AKs", 5000}, {"KQs", 5000}}},
        {"[50] AKs KQs [/50], [12.5]22+[/12.5] AA",
         {{"AKs", 5000},
          {"KQs", 5000},
          {"AA", 10000},
          {"KK", 1250},
          {"QQ", 1250},
          {"JJ", 1250},
          {"TT", 1250},
          {"99", 1250},
          {"88", 1250},
          {"77", 1250},
          {"66", 1250},
          {"55", 1250},
          {"44", 1250},
          {"33", 1250},
          {"22", 1250}}},
        {"QQ@50, AKs@25, A5s-A4s@12.5%",
         {{"QQ", 5000}, {"AKs", 2500}, {"A5s", 1250}, {"A4s", 1250}}},
        // Mixed formats on one line.
        {"QQ@50, [25]JJ, AKs[/25], AhKd: 0.6, T9s:0.5, 99 AcKc",
         {{"QQ", 5000}, {"JJ", 2500}, {"AKs", 4375}, {"AKo", 500}, {"T9s", 5000}, {"99", 10000}}},
        // A later mention replaces an earlier one, combination by combination.
        {"AKs:0.5, AhKh:1", {{"AKs", 6250}}},
        {"AhKh:1, AKs:0.5", {{"AKs", 5000}}},
    };
    for (const auto& row : cases) {
        ActionRange range;
        range.add(parseRangeTokens(row.text));
        std::array<Weight, kHandCount> expected{};
        for (int h = 0; h < kHandCount; ++h) {
            const Hand hand = Hand::fromIndex(h);
            expected[static_cast<size_t>(h)] = row.rest[hand.isPair()     ? 0
                                                        : hand.isSuited() ? 1
                                                                          : 2];
        }
        for (const auto& [key, weight] : row.expected)
            expected[static_cast<size_t>(handFromKey(key)->index())] = weight;
        for (int h = 0; h < kHandCount; ++h)
            EXPECT_EQ(range.weight(h), expected[static_cast<size_t>(h)])
                << Hand::fromIndex(h).key() << " in " << row.text.substr(0, 80);
    }
}

struct WeightCase {
    const char* text;
    Weight weight;
};

class Weights : public testing::TestWithParam<WeightCase> {};

TEST_P(Weights, ReadAsDecimalsOrPercentages) {
    const auto tokens = parseRangeTokens(std::string("QQ ") + GetParam().text + ", 22");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].weight, kFullWeight);
    EXPECT_EQ(tokens[1].weight, GetParam().weight) << GetParam().text;
    EXPECT_EQ(tokens[2].weight, kFullWeight);
    EXPECT_EQ(handKeysOf(tokens[1].hands), std::vector<std::string>{"AJo"});
}

INSTANTIATE_TEST_SUITE_P(
    Frequencies, Weights,
    testing::Values(WeightCase{"AJo:0.6", 6000}, WeightCase{"AJo:60%", 6000},
                    WeightCase{"AJo:.25", 2500}, WeightCase{"AJo:12.5%", 1250},
                    WeightCase{"AJo:1", 10000}, WeightCase{"AJo:1.000", 10000},
                    WeightCase{"AJo:100%", 10000}, WeightCase{"AJo:0", 0}, WeightCase{"AJo:0%", 0},
                    WeightCase{"AJo:0.33335", 3334}, WeightCase{"AJo:0.00004", 0},
                    WeightCase{"AJo:007.5%", 750}, WeightCase{"AJo : 0.75", 7500},
                    WeightCase{"AJo:\t0.75", 7500}, WeightCase{"AJo :0.75", 7500}));

TEST(RangeText, PastedWeightedListsKeepEveryTokensFrequency) {
    const auto tokens = parseRangeTokens("AA,KK:0.5,AKs:0.75,\n A5s-A2s:0.25 , QJo:0", 3);
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[1].text, "KK:0.5");
    EXPECT_EQ(tokens[2].weight, 7500);
    EXPECT_EQ(tokens[3].hands.count(), 4u);
    EXPECT_EQ(tokens[3].weight, 2500);
    EXPECT_EQ(tokens[3].line, 4);
    // A zero frequency lists the hand without playing it.
    EXPECT_EQ(keysOf("AA,KK:0.5,QJo:0"), sorted({"AA", "KK"}));
}

TEST(RangeText, EveryWeightReadsBackFromItsWrittenForm) {
    for (int w = 0; w <= kFullWeight; ++w) {
        const std::string text = formatWeight(static_cast<Weight>(w));
        ASSERT_EQ(parseWeight(text, text, 1), w) << text;
    }
    EXPECT_EQ(formatWeight(6000), "0.6");
    EXPECT_EQ(formatWeight(1250), "0.125");
    EXPECT_EQ(formatWeight(10000), "1");
}

TEST(RangeText, TokensCarryTheirOwnLineNumbers) {
    const auto tokens = parseRangeTokens("AKs,\n\n  QQ+ # x\nT9s", 7);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].text, "AKs");
    EXPECT_EQ(tokens[0].line, 7);
    EXPECT_EQ(tokens[1].text, "QQ+");
    EXPECT_EQ(tokens[1].line, 9);
    EXPECT_EQ(tokens[1].hands.count(), 3u);
    EXPECT_EQ(tokens[2].line, 10);
}
