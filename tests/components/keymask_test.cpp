// The key-state filter, with the key state set through its hook.
#include <gtest/gtest.h>

#include "tabulo/components/keymask.h"
#include "tabulo/widgets/keystate.h"
#include "tabulo_test/probe.h"

namespace {

struct Keys {
    bool shift = false, ctrl = false, alt = false;
};

struct MaskCase {
    uint8_t shift, ctrl, alt;
    int32_t key;
    TData value;
    Keys down;
    bool match;
};

class KeyMaskRule : public ::testing::TestWithParam<MaskCase> {
protected:
    void TearDown() override { SetKeyStateHook(nullptr); }
};

TEST_P(KeyMaskRule, ForwardsTheValueReceivedToMatchOrNoMatch) {
    const MaskCase& c = GetParam();
    SetKeyStateHook([k = c.down](TModifierKey key) {
        switch (key) {
            case TModifierKey::Shift:
                return k.shift;
            case TModifierKey::Ctrl:
                return k.ctrl;
            case TModifierKey::Alt:
                return k.alt;
        }
        return false;
    });
    LiveHooks hooks;
    TKVKeyMask m;
    m.ShiftMode = c.shift;
    m.CtrlMode = c.ctrl;
    m.AltMode = c.alt;
    m.Key = c.key;
    Probe yes, no;
    m.onMatch = yes.Link();
    m.onNoMatch = no.Link();
    TData v = c.value;
    Fire(BindEvent<&TKVKeyMask::doCheck>(&m), v);
    Probe& hit = c.match ? yes : no;
    EXPECT_EQ((c.match ? no : yes).Count(), 0u);
    ASSERT_EQ(hit.Count(), 1u);
    EXPECT_EQ(hit.Last().Tag, c.value.Tag);
    EXPECT_EQ(hit.Last().IntValue, c.value.IntValue);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyMaskRule,
                         ::testing::Values(
                             // The restore handle's mask: Ctrl up, key 0, fed NULL.
                             MaskCase{0, 2, 0, 0, TData(), {}, true},
                             MaskCase{0, 2, 0, 0, TData(), {false, true, false}, false},
                             MaskCase{0, 2, 0, 0, TData(), {true, false, true}, true},
                             // Only the low byte counts: 256 compares as 0, 0x141 as 0x41.
                             MaskCase{0, 0, 0, 0, MakeInt(256), {}, true},
                             MaskCase{0, 0, 0, 0x41, MakeInt(0x141), {}, true},
                             MaskCase{0, 0, 0, 0x41, MakeInt(0x42), {}, false},
                             // Mode 1 wants the key down, any other mode up.
                             MaskCase{1, 0, 0, 0, TData(), {true, false, false}, true},
                             MaskCase{1, 0, 0, 0, TData(), {}, false},
                             MaskCase{0, 0, 7, 0, TData(), {false, false, true}, false},
                             MaskCase{0, 0, 7, 0, TData(), {}, true},
                             MaskCase{1, 1, 1, 5, MakeInt(5), {true, true, true}, true}));

TEST(KeyMask, PrefersThePulledKey) {
    SetKeyStateHook([](TModifierKey) { return false; });
    LiveHooks hooks;
    TKVKeyMask m;
    m.Key = 9;
    Source key;
    key.Answer = MakeInt(0x309);
    m.pullKey = key.Link();
    Probe yes;
    m.onMatch = yes.Link();
    FireText(BindEvent<&TKVKeyMask::doCheck>(&m), "x");
    ASSERT_EQ(yes.Count(), 1u);
    EXPECT_EQ(yes.Last().TextValue, "x");
    SetKeyStateHook(nullptr);
}

}  // namespace
