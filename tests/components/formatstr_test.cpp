// The formatter: placeholder replacement, markers, consumption of the
// incoming value, the forwarded result and getResult.
#include <gtest/gtest.h>

#include <string>

#include "tabulo/components/formatstr.h"
#include "tabulo_test/probe.h"

namespace {

struct FormatCase {
    const char* name;
    std::string mask;
    int count;
    // Values pulled through pullStr; nullptr leaves the point unwired.
    std::vector<const char*> pulled;
    std::string incoming;  // empty: a NULL incoming value
    std::string expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class FormatRule : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatRule, ForwardsTheFilledMask) {
    const FormatCase& c = GetParam();
    LiveHooks hooks;
    TKVFormatStr f;
    f.Mask = TText(c.mask);
    f.SetCount(c.count);
    std::vector<Source> sources(c.pulled.size());
    for (std::size_t i = 0; i < c.pulled.size(); ++i) {
        if (!c.pulled[i]) continue;
        sources[i].Answer = MakeText(TText(c.pulled[i]));
        f.pullStr[i] = sources[i].Link();
    }
    Probe out;
    f.onFormatted = out.Link();

    TData v;
    if (!c.incoming.empty()) v = MakeText(TText(c.incoming));
    Fire(BindEvent<&TKVFormatStr::doFormat>(&f), v);

    ASSERT_EQ(out.Count(), 1u);
    EXPECT_EQ(out.Last().Tag, dtString);
    EXPECT_EQ(out.Last().TextValue.str(), c.expected);
    EXPECT_EQ(f.FString.str(), c.expected);
}

const char* const none = nullptr;

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatRule,
    ::testing::Values(
        FormatCase{"position_page",
                   "%1img\\Positions\\%2.png",
                   2,
                   {"C:\\A\\", none},
                   "BBvsSB",
                   "C:\\A\\img\\Positions\\BBvsSB.png"},
        FormatCase{"both_pulled",
                   "%1img\\Positions\\%2.png",
                   2,
                   {"/x/", "MP"},
                   "ignored",
                   "/x/img\\Positions\\MP.png"},
        FormatCase{"double_percent", "100%% %1", 1, {"x"}, "", "100% x"},
        FormatCase{"double_percent_before_token", "%%1", 1, {"x"}, "", "%1"},
        FormatCase{"triple_percent", "%%%1", 1, {"x"}, "", "%x"},
        FormatCase{"token_followed_by_digit_stays", "%1%10", 1, {"a"}, "", "a%10"},
        FormatCase{"twelve_replaced_whole",
                   "%12-%1",
                   12,
                   {"one", none, none, none, none, none, none, none, none, none, none, "twelve"},
                   "",
                   "twelve-one"},
        FormatCase{"value_starting_with_digit", "%2%1", 2, {"5", "z"}, "", "z5"},
        FormatCase{"value_holding_later_token", "[%1]", 2, {"%2", "two"}, "", "[two]"},
        FormatCase{"value_holding_earlier_token_stays", "[%2]", 2, {"one", "%1"}, "", "[%1]"},
        FormatCase{"marker_chars_in_mask", std::string("a\0b\1c", 5), 0, {}, "", "a%bc"},
        FormatCase{"marker_chars_in_value", "<%1>", 1, {"p\1q"}, "", "<pq>"},
        FormatCase{
            "only_lowest_unwired_gets_incoming", "%1|%2|%3", 3, {none, "B", none}, "in", "in|B|"},
        FormatCase{"null_incoming_gives_empty", "n=%1", 1, {none}, "", "n="},
        FormatCase{"token_at_end", "x%1", 1, {"y"}, "", "xy"},
        FormatCase{"repeated_token", "%1-%1", 1, {none}, "v", "v-v"},
        FormatCase{"no_placeholders", "plain", 0, {}, "v", "plain"},
        FormatCase{"lone_percent", "50% %", 1, {"v"}, "", "50% %"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatStr, ReadsAnIntegerIncomingValueAsDecimalText) {
    LiveHooks hooks;
    TKVFormatStr f;
    f.Mask = "n=%1";
    f.SetCount(1);
    Probe out;
    f.onFormatted = out.Link();
    FireInt(BindEvent<&TKVFormatStr::doFormat>(&f), -42);
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_EQ(out.Last().TextValue, "n=-42");
}

TEST(FormatStr, GetResultIsEmptyBeforeTheFirstCallThenTheLastResult) {
    LiveHooks hooks;
    TKVFormatStr f;
    f.Mask = "<%1>";
    f.SetCount(1);
    TData r;
    ReadRaw(r, BindEvent<&TKVFormatStr::getResult>(&f));
    EXPECT_EQ(r.Tag, dtString);
    EXPECT_TRUE(r.TextValue.empty());

    FireText(BindEvent<&TKVFormatStr::doFormat>(&f), "a");
    FireText(BindEvent<&TKVFormatStr::doFormat>(&f), "b");
    TData r2;
    ReadRaw(r2, BindEvent<&TKVFormatStr::getResult>(&f));
    EXPECT_EQ(r2.Tag, dtString);
    EXPECT_EQ(r2.TextValue, "<b>");
}

TEST(FormatStr, ResultIsForwardedAfterTheInputReturnsAndLandsInTheFiredValue) {
    LiveHooks hooks;
    TKVFormatStr f;
    f.Mask = "%1!";
    f.SetCount(1);
    // Unwired output: the firer's value is the result, with the plain tag.
    TData v = MakeText("hi");
    Fire(BindEvent<&TKVFormatStr::doFormat>(&f), v);
    EXPECT_EQ(v.Tag, dtString);
    EXPECT_EQ(v.TextValue, "hi!");
}

TEST(FormatStr, CountSetWithoutTheSetterReadsMissingPointsAsUnwired) {
    LiveHooks hooks;
    TKVFormatStr f;
    f.Mask = "%1%2";
    f.Count = 2;  // pullStr left empty
    TData v = MakeText("v");
    Fire(BindEvent<&TKVFormatStr::doFormat>(&f), v);
    EXPECT_EQ(v.TextValue, "v");
}

}  // namespace
