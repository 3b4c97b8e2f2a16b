// The switch, the comparison and the memory.
#include <gtest/gtest.h>

#include "tabulo/components/flow.h"
#include "tabulo_test/probe.h"

namespace {

enum { kSwitch = 0, kOn = 1, kOff = 2 };

struct SwitchFixture {
    TKVSwitch sw;
    Probe p;
    explicit SwitchFixture(int def) {
        sw.DataOn = MakeInt(0);
        sw.DataOff = MakeInt(1);
        sw.Init(def);
        sw.onSwitch = p.Link(kSwitch);
        sw.onOn = p.Link(kOn);
        sw.onOff = p.Link(kOff);
    }
    void toggle() { FireNull(BindEvent<&TKVSwitch::doSwitch>(&sw)); }
};

TEST(Switch, InitialisationSetsStateAndCurrentAndFiresNothing) {
    LiveHooks hooks;
    SwitchFixture off(1);
    EXPECT_FALSE(off.sw.State);
    EXPECT_EQ(off.sw.Current.IntValue, 1);
    SwitchFixture on(0);
    EXPECT_TRUE(on.sw.State);
    EXPECT_EQ(on.sw.Current.IntValue, 0);
    SwitchFixture other(7);
    EXPECT_FALSE(other.sw.State);
    EXPECT_EQ(off.p.Count() + on.p.Count() + other.p.Count(), 0u);
}

TEST(Switch, DefaultOffTogglesOnThenOffFiringSwitchFirst) {
    LiveHooks hooks;
    SwitchFixture f(1);
    f.toggle();
    ASSERT_EQ(f.p.Count(), 2u);
    EXPECT_EQ(f.p.Hits[0].Index, kSwitch);
    EXPECT_EQ(f.p.Hits[0].Value.IntValue, 0);
    EXPECT_EQ(f.p.Hits[1].Index, kOn);
    EXPECT_EQ(f.p.Hits[1].Value.IntValue, 0);
    EXPECT_TRUE(f.sw.State);

    f.toggle();
    ASSERT_EQ(f.p.Count(), 4u);
    EXPECT_EQ(f.p.Hits[2].Index, kSwitch);
    EXPECT_EQ(f.p.Hits[2].Value.IntValue, 1);
    EXPECT_EQ(f.p.Hits[3].Index, kOff);
    EXPECT_EQ(f.p.Hits[3].Value.IntValue, 1);
    EXPECT_FALSE(f.sw.State);
}

TEST(Switch, DefaultOnFirstToggleTurnsOff) {
    LiveHooks hooks;
    SwitchFixture f(0);
    f.toggle();
    ASSERT_EQ(f.p.Count(), 2u);
    EXPECT_EQ(f.p.Hits[0].Index, kSwitch);
    EXPECT_EQ(f.p.Hits[1].Index, kOff);
    EXPECT_EQ(f.p.Hits[1].Value.IntValue, 1);
    f.toggle();
    f.toggle();
    ASSERT_EQ(f.p.Count(), 6u);
    EXPECT_EQ(f.p.Hits[3].Index, kOn);
    EXPECT_EQ(f.p.Hits[5].Index, kOff);
}

// A receiver on onSwitch that consumes its value must not change what the
// chosen output gets.
struct Eater : TObject {
    int calls = 0;
    void doEvent(TData& v, uint16_t) {
        ++calls;
        Consume(v);
    }
};

TEST(Switch, ChosenOutputGetsAFreshCopyEvenWhenSwitchReceiverConsumes) {
    LiveHooks hooks;
    TKVSwitch sw;
    sw.DataOn = MakeText("on");
    sw.DataOff = MakeText("off");
    sw.Init(1);
    Eater e;
    Probe p;
    sw.onSwitch = BindEvent<&Eater::doEvent>(&e);
    sw.onOn = p.Link();
    FireNull(BindEvent<&TKVSwitch::doSwitch>(&sw));
    EXPECT_EQ(e.calls, 1);
    ASSERT_EQ(p.Count(), 1u);
    EXPECT_EQ(p.Last().TextValue, "on");
}

TEST(Switch, StateValuesFollowTheReadRule) {
    LiveHooks hooks;
    TKVSwitch sw;  // DataOn and DataOff NULL
    sw.Init(1);
    Source pulledOff;
    pulledOff.Answer = MakeText("pulled");
    sw.pullDataOff = pulledOff.Link();
    Probe on, off;
    sw.onOn = on.Link();
    sw.onOff = off.Link();
    // On value: no pull, NULL property -> the incoming value.
    FireText(BindEvent<&TKVSwitch::doSwitch>(&sw), "incoming");
    ASSERT_EQ(on.Count(), 1u);
    EXPECT_EQ(on.Last().TextValue, "incoming");
    // Off value: from the wired pull point.
    FireText(BindEvent<&TKVSwitch::doSwitch>(&sw), "ignored");
    ASSERT_EQ(off.Count(), 1u);
    EXPECT_EQ(off.Last().TextValue, "pulled");
    EXPECT_EQ(sw.Current.TextValue, "pulled");
}

// ---- TKVIf_else -------------------------------------------------------------

struct CompareCase {
    const char* name;
    uint8_t type;
    TData op1;
    TData op2;
    bool expected;
};
void PrintTo(const CompareCase& c, std::ostream* os) {
    *os << c.name;
}

TData Real(double r) {
    TData d;
    d.Tag = dtReal;
    d.RealValue = r;
    return d;
}
TData Null() {
    return TData();
}
TData Str(const char* s) {
    return MakeText(s);
}
TData Int(int v) {
    return MakeInt(v);
}

class IfElseCompare : public ::testing::TestWithParam<CompareCase> {};

TEST_P(IfElseCompare, TakesTheExpectedBranchWithTheIncomingValue) {
    const CompareCase& c = GetParam();
    LiveHooks hooks;
    TKVIf_else ie;
    ie.Type = c.type;
    Source s1, s2;
    s1.Answer = c.op1;
    s2.Answer = c.op2;
    ie.pullOp1 = s1.Link();
    ie.pullOp2 = s2.Link();
    Probe t, f;
    ie.onTrue = t.Link();
    ie.onFalse = f.Link();
    FireText(BindEvent<&TKVIf_else::doCompare>(&ie), "B7");
    Probe& hit = c.expected ? t : f;
    Probe& miss = c.expected ? f : t;
    ASSERT_EQ(hit.Count(), 1u);
    EXPECT_EQ(miss.Count(), 0u);
    EXPECT_EQ(hit.Last().Tag, dtString);
    EXPECT_EQ(hit.Last().TextValue, "B7");
    EXPECT_EQ(TKVIf_else::Compare(c.type, c.op1, c.op2), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, IfElseCompare,
    ::testing::Values(
        // Integer first operand: Op2 converted to an integer.
        CompareCase{"int_eq_string_one", 0, Int(1), Str("1"), true},
        CompareCase{"int_zero_eq_string_one", 0, Int(0), Str("1"), false},
        CompareCase{"int_less", 1, Int(-5), Int(3), true},
        CompareCase{"int_less_false", 1, Int(3), Int(3), false},
        CompareCase{"int_greater", 2, Int(4), Int(3), true},
        CompareCase{"int_less_equal", 3, Int(3), Int(3), true},
        CompareCase{"int_greater_equal", 4, Int(2), Int(3), false},
        CompareCase{"int_not_equal", 5, Int(2), Int(3), true},
        CompareCase{"int_vs_null_is_zero", 0, Int(0), Null(), true},
        CompareCase{"int_unknown_type", 6, Int(1), Int(1), false},
        // String first operand.
        CompareCase{"str_eq_case_matters", 0, Str("abc"), Str("ABC"), false},
        CompareCase{"str_le_folds_case", 3, Str("abc"), Str("ABC"), true},
        CompareCase{"str_ge_folds_case", 4, Str("abc"), Str("ABC"), true},
        CompareCase{"str_lt_equal_folded", 1, Str("abc"), Str("ABC"), false},
        CompareCase{"str_ne_case", 5, Str("abc"), Str("ABC"), true},
        CompareCase{"str_eq_length_matters", 0, Str("ab"), Str("ab "), false},
        CompareCase{"str_shorter_is_less", 1, Str("ab"), Str("abc"), true},
        CompareCase{"str_longer_is_greater", 2, Str("abcd"), Str("ABC"), true},
        CompareCase{"str_underscore_sorts_after_folded_letters", 2, Str("_"), Str("a"), true},
        CompareCase{"str_underscore_vs_folded", 1, Str("_"), Str("a"), false},
        CompareCase{"str_vs_int", 0, Str("12"), Int(12), true},
        CompareCase{"str_high_bytes_unsigned", 2, Str("\xE9"), Str("z"), true},
        // Real first operand.
        CompareCase{"real_lt_int", 1, Real(2.5), Int(3), true},
        CompareCase{"real_eq_text", 0, Real(2.5), Str("2.5"), true},
        CompareCase{"real_gt_text", 2, Real(2.5), Str("x"), true},
        // NULL first operand: true exactly when Op2 is NULL, whatever the type.
        CompareCase{"null_null_eq", 0, Null(), Null(), true},
        CompareCase{"null_null_ne", 5, Null(), Null(), true},
        CompareCase{"null_null_lt", 1, Null(), Null(), true},
        CompareCase{"null_vs_empty_string", 0, Null(), Str(""), false},
        CompareCase{"null_vs_zero", 5, Null(), Int(0), false},
        // Any other kind of first operand: false.
        CompareCase{"other_kind", 0,
                    [] {
                        TData d;
                        d.Tag = dtColor;
                        return d;
                    }(),
                    Null(), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IfElse, ReadsOp1BeforeOp2FromTheIncomingChain) {
    LiveHooks hooks;
    TKVIf_else ie;
    ie.Type = ieLess;
    // Both operands come from the incoming chain: "a" then "b".
    TData second = MakeText("b");
    TData first = MakeText("a");
    first.Next = &second;
    Probe t, f;
    ie.onTrue = t.Link();
    ie.onFalse = f.Link();
    Fire(BindEvent<&TKVIf_else::doCompare>(&ie), first);
    ASSERT_EQ(t.Count(), 1u);            // "a" < "b"
    EXPECT_EQ(t.Last().TextValue, "a");  // the value that came in, not what is left of it
}

TEST(IfElse, PropertiesOverrideTheIncomingValue) {
    LiveHooks hooks;
    TKVIf_else ie;
    ie.Type = ieEqual;
    ie.Op2 = MakeText("1");
    Source editMode;
    editMode.Answer = MakeInt(1);
    ie.pullOp1 = editMode.Link();
    Probe t, f;
    ie.onTrue = t.Link();
    ie.onFalse = f.Link();
    FireText(BindEvent<&TKVIf_else::doCompare>(&ie), "B7");
    editMode.Answer = MakeInt(0);
    FireText(BindEvent<&TKVIf_else::doCompare>(&ie), "B8");
    ASSERT_EQ(t.Count(), 1u);
    ASSERT_EQ(f.Count(), 1u);
    EXPECT_EQ(t.Last().TextValue, "B7");
    EXPECT_EQ(f.Last().TextValue, "B8");
}

// ---- TKVMemory --------------------------------------------------------------

TEST(Memory, StoresForwardsAndAnswers) {
    LiveHooks hooks;
    TKVMemory m;
    m.Default = MakeText("");
    m.Init();
    Probe out;
    m.onData = out.Link();
    TData r;
    ReadRaw(r, BindEvent<&TKVMemory::getValue>(&m));
    EXPECT_EQ(r.Tag, dtString);
    EXPECT_TRUE(r.TextValue.empty());

    FireText(BindEvent<&TKVMemory::doValue>(&m), "B12");
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_EQ(out.Last().TextValue, "B12");
    for (int i = 0; i < 2; ++i) {
        TData again;
        ReadRaw(again, BindEvent<&TKVMemory::getValue>(&m));
        EXPECT_EQ(again.TextValue, "B12");
    }
    EXPECT_EQ(out.Count(), 1u);  // reading fires nothing

    FireNull(BindEvent<&TKVMemory::doValue>(&m));  // a NULL stores NULL, not Default
    EXPECT_EQ(m.Value.Tag, dtNull);
}

TEST(Memory, PrefersTheWiredPullPoint) {
    LiveHooks hooks;
    TKVMemory m;
    Source s;
    s.Answer = MakeInt(5);
    m.pullData = s.Link();
    Probe out;
    m.onData = out.Link();
    FireText(BindEvent<&TKVMemory::doValue>(&m), "ignored");
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_EQ(out.Last().IntValue, 5);
}

}  // namespace
