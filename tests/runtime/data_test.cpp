// Conversions between the kinds of value.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tabulo/runtime/data.h"

namespace {

TData Real(double v) {
    TData d;
    d.Tag = dtReal;
    d.RealValue = v;
    return d;
}

TData Null() { return TData{}; }

struct IntCase {
    const char* name;
    TData value;
    int32_t asInt;
    int32_t asIndex;
};

class Conversion : public ::testing::TestWithParam<IntCase> {};

TEST_P(Conversion, AsIntAndAsIndexFollowTheTables) {
    const IntCase& c = GetParam();
    EXPECT_EQ(AsInt(c.value), c.asInt);
    EXPECT_EQ(AsIndex(c.value), c.asIndex);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Conversion,
    ::testing::Values(IntCase{"Null", Null(), 0, -1}, IntCase{"Int", MakeInt(42), 42, 42},
                      IntCase{"NegInt", MakeInt(-7), -7, -7},
                      IntCase{"EmptyText", MakeText(""), 0, -1},
                      IntCase{"Zero", MakeText("0"), 0, 0}, IntCase{"Letter", MakeText("x"), 0, -1},
                      IntCase{"LeadingZero", MakeText("07"), 7, 7},
                      IntCase{"MinusZero", MakeText("-0"), 0, -1},
                      IntCase{"DigitsThenLetters", MakeText("12ab"), 12, 12},
                      IntCase{"LeadingSpace", MakeText(" 5"), 0, -1},
                      IntCase{"Plus", MakeText("+9"), 9, 9},
                      IntCase{"Negative", MakeText("-15"), -15, -15},
                      IntCase{"WrapsAt32Bits", MakeText("4294967297"), 1, 1},
                      IntCase{"WrapsToNegative", MakeText("2147483648"),
                              std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<int32_t>::min()},
                      IntCase{"RealHalfDown", Real(2.5), 2, 2}, IntCase{"RealHalfUp", Real(3.5), 4, 4},
                      IntCase{"RealNegativeHalf", Real(-2.5), -2, -2},
                      IntCase{"RealPlain", Real(7.4), 7, 7}, IntCase{"RealNaN", Real(NAN), 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Conversion, AsIndexOfOtherKindsIsMinusOne) {
    TData d;
    d.Tag = dtBitmap;
    EXPECT_EQ(AsIndex(d), -1);
    EXPECT_EQ(AsInt(d), 0);
}

TEST(Conversion, AsTextGivesDecimalDigitsForIntegers) {
    EXPECT_EQ(AsText(MakeInt(-3)), "-3");
    EXPECT_EQ(AsText(MakeInt(std::numeric_limits<int32_t>::min())), "-2147483648");
    EXPECT_EQ(AsText(MakeText("abc")), "abc");
    EXPECT_EQ(AsText(Null()), "");
    EXPECT_EQ(AsText(Real(2.5)), "2.5");
    TData bmp;
    bmp.Tag = dtBitmap;
    EXPECT_EQ(AsText(bmp), "");
}

TEST(Conversion, IsTrueIsFalseOnlyForIntegerZero) {
    EXPECT_TRUE(IsTrue(Null()));
    EXPECT_TRUE(IsTrue(MakeText("")));
    EXPECT_TRUE(IsTrue(MakeText("0")));
    EXPECT_TRUE(IsTrue(MakeInt(-1)));
    EXPECT_FALSE(IsTrue(MakeInt(0)));
    EXPECT_TRUE(IsTrue(Real(0.0)));
}

TEST(Values, MakersClearLinksButKeepOtherFields) {
    TData other;
    TData d;
    d.TextValue = "kept";
    d.ForwardTo = nullptr;
    d.Next = &other;
    MakeInt(d, 5);
    EXPECT_EQ(d.Tag, dtInteger);
    EXPECT_EQ(d.Next, nullptr);
    EXPECT_EQ(d.TextValue, "kept");
    MakeNull(d);
    EXPECT_EQ(d.Tag, dtNull);
    EXPECT_EQ(d.IntValue, 5);
}

TEST(Values, BitmapReferencesTravelAsPointers) {
    alignas(16) static char fakeBitmap[1];
    auto* bmp = reinterpret_cast<TBitmap*>(fakeBitmap);
    TData d;
    MakeBitmap(d, bmp);
    EXPECT_EQ(BitmapOf(d), bmp);
    EXPECT_EQ(d.IntValue, 0);
    MakeInt(d, 1);
    EXPECT_EQ(BitmapOf(d), nullptr);
}

TEST(Values, TagTableNamesEveryKind) {
    EXPECT_STREQ(TagNames[dtNull], "NULL");
    EXPECT_STREQ(TagNames[dtBitmap], "Bitmap");
    EXPECT_STREQ(TagNames[dtBreak], "Break");
    EXPECT_STREQ(TagNames[dtReal], "Real");
}

TEST(Text, CopiesShareOneBuffer) {
    TText a("a path that is longer than any small-string buffer");
    TText b = a;
    EXPECT_EQ(a.useCount(), 2u);
    EXPECT_EQ(a.c_str(), b.c_str());
    b = TText("other");
    EXPECT_EQ(a.useCount(), 1u);
    TText empty;
    EXPECT_STREQ(empty.c_str(), "");
    EXPECT_TRUE(empty.empty());
    TText moved = std::move(a);
    EXPECT_EQ(moved, "a path that is longer than any small-string buffer");
    moved = moved;  // self-assignment keeps the text
    EXPECT_EQ(moved.useCount(), 1u);
}

TEST(Text, HoldsArbitraryBytes) {
    const std::string bytes("a\0b\x01\xff", 5);
    TText t(bytes);
    EXPECT_EQ(t.size(), 5u);
    EXPECT_EQ(t.view(), bytes);
}

}  // namespace
