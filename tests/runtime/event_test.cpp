// Firing, reading and forwarding through the two dispatchers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "tabulo/runtime/event.h"
#include "tabulo_test/probe.h"

namespace {

// Changes the value it receives, so a test can see whether it got the
// caller's value or a copy.
class Stamper : public TObject {
public:
    void doEvent(TData& value, uint16_t) { MakeInt(value, 99); }
};

// Forwards every value to its output, recording how deep the stack is.
class Relay : public TObject {
public:
    TKV_Event onEvent;
    static inline uintptr_t lowestFrame = UINTPTR_MAX;
    static inline uintptr_t highestFrame = 0;

    void doEvent(TData& value, uint16_t) {
        volatile char marker = 0;
        const auto here = reinterpret_cast<uintptr_t>(&marker);
        lowestFrame = std::min(lowestFrame, here);
        highestFrame = std::max(highestFrame, here);
        MakeInt(value, AsInt(value) + 1);
        Forward(value, onEvent);
    }
};

TEST(Fire, UnwiredOutputDoesNothingAndLeavesTheValue) {
    LiveHooks hooks;
    TKV_Event unwired;
    TData d = MakeText("x");
    Fire(unwired, d);
    EXPECT_EQ(d.Tag, dtString);
    EXPECT_EQ(d.TextValue, "x");
}

TEST(Fire, ReceiverChangesTheFirersValueButNotACopy) {
    LiveHooks hooks;
    Stamper s;
    const TKV_Event link = BindEvent<&Stamper::doEvent>(&s);
    TData d = MakeInt(1);
    FireCopy(link, d);
    EXPECT_EQ(d.IntValue, 1);
    Fire(link, d);
    EXPECT_EQ(d.IntValue, 99);
}

TEST(Fire, TemporariesCarryTheirKind) {
    LiveHooks hooks;
    Probe p;
    FireNull(p.Link(3));
    FireInt(p.Link(), -4);
    FireText(p.Link(), "hand");
    FireBitmap(p.Link(), nullptr);
    ASSERT_EQ(p.Count(), 4u);
    EXPECT_EQ(p.Hits[0].Value.Tag, dtNull);
    EXPECT_EQ(p.Hits[0].Index, 3);
    EXPECT_EQ(p.Hits[1].Value.IntValue, -4);
    EXPECT_EQ(p.Hits[2].Value.TextValue, "hand");
    EXPECT_EQ(p.Hits[3].Value.Tag, dtBitmap);
}

TEST(Forwarding, ForwardToUnwiredOutputClearsTheFlag) {
    LiveHooks hooks;
    Relay r;
    TData d = MakeInt(0);
    Fire(BindEvent<&Relay::doEvent>(&r), d);
    EXPECT_EQ(d.Tag, dtInteger);
    EXPECT_EQ(d.IntValue, 1);
}

TEST(Forwarding, HandlerSeesThePlainTag) {
    LiveHooks hooks;
    Relay r;
    class TagCheck : public TObject {
    public:
        uint8_t seen = 0xff;
        void doEvent(TData& v, uint16_t) { seen = v.Tag; }
    } check;
    r.onEvent = BindEvent<&TagCheck::doEvent>(&check);
    TData d = MakeInt(0);
    Fire(BindEvent<&Relay::doEvent>(&r), d);
    EXPECT_EQ(check.seen, dtInteger);
}

TEST(Forwarding, LongChainsRunFlatInTheDispatcher) {
    LiveHooks hooks;
    constexpr int kLength = 100000;
    std::vector<std::unique_ptr<Relay>> chain;
    chain.reserve(kLength);
    for (int i = 0; i < kLength; ++i) chain.push_back(std::make_unique<Relay>());
    Probe end;
    for (int i = 0; i + 1 < kLength; ++i)
        chain[std::size_t(i)]->onEvent = BindEvent<&Relay::doEvent>(chain[std::size_t(i) + 1].get());
    chain.back()->onEvent = end.Link(7);
    Relay::lowestFrame = UINTPTR_MAX;
    Relay::highestFrame = 0;

    TData d = MakeInt(0);
    Fire(BindEvent<&Relay::doEvent>(chain.front().get()), d);

    ASSERT_EQ(end.Count(), 1u);
    EXPECT_EQ(end.Last().IntValue, kLength);
    EXPECT_EQ(end.Hits[0].Index, 7);
    // Every relay ran in the same stack frame: nesting would spread them
    // over megabytes.
    EXPECT_LT(Relay::highestFrame - Relay::lowestFrame, 4096u);
}

TEST(Forwarding, CopyIntAndTextSetFlagAndTarget) {
    TKV_Event target;
    TData d;
    ForwardInt(d, target, 5);
    EXPECT_EQ(d.Tag, dtInteger | ForwardFlag);
    EXPECT_EQ(d.ForwardTo, &target);
    ForwardText(d, target, "t");
    EXPECT_EQ(d.Tag, dtString | ForwardFlag);
    EXPECT_EQ(d.TextValue, "t");
    ForwardCopy(d, target, MakeInt(8));
    EXPECT_EQ(d.Tag, dtInteger | ForwardFlag);
    EXPECT_EQ(d.IntValue, 8);
}

class ReadRule : public ::testing::Test {
protected:
    LiveHooks hooks;
    Source source;
    TKV_Event unwired;
};

TEST_F(ReadRule, UnwiredPointZeroDefaultConsumesTheIncomingValue) {
    TData in = MakeInt(7);
    EXPECT_EQ(ReadInt(in, unwired, 0), 7);
    EXPECT_EQ(in.Tag, dtNull);
    EXPECT_EQ(ReadInt(in, unwired, 0), 0);
}

TEST_F(ReadRule, NonZeroDefaultWinsAndKeepsTheIncomingValue) {
    TData in = MakeInt(7);
    EXPECT_EQ(ReadInt(in, unwired, 5), 5);
    EXPECT_EQ(in.Tag, dtInteger);
}

TEST_F(ReadRule, WiredPointAnswersWithoutTouchingTheIncomingValue) {
    source.Answer = MakeText("12");
    TData in = MakeInt(7);
    EXPECT_EQ(ReadInt(in, source.Link(), 5), 12);
    EXPECT_EQ(in.IntValue, 7);
    EXPECT_EQ(in.Tag, dtInteger);
}

TEST_F(ReadRule, BreakAnswerFallsBackAsIfUnwired) {
    source.Answer.Tag = dtBreak;
    TData in = MakeInt(7);
    EXPECT_EQ(ReadInt(in, source.Link(), 0), 7);
    EXPECT_EQ(in.Tag, dtNull);
    EXPECT_EQ(source.Reads, 1);
}

TEST_F(ReadRule, ReadTextConvertsTheIncomingInteger) {
    TData in = MakeInt(-3);
    EXPECT_EQ(ReadText(in, unwired), "-3");
    EXPECT_EQ(in.Tag, dtNull);
    EXPECT_EQ(ReadText(in, unwired, "def"), "def");
}

TEST_F(ReadRule, ReadTextOfNullGivesTheEmptyDefault) {
    TData in;
    EXPECT_EQ(ReadText(in, unwired), "");
}

TEST_F(ReadRule, ReadBitmapOnlyTakesBitmaps) {
    TData in = MakeInt(3);
    EXPECT_EQ(ReadBitmap(in, unwired), nullptr);
    EXPECT_EQ(in.Tag, dtInteger);  // not consumed
    auto* fake = reinterpret_cast<TBitmap*>(&source);
    MakeBitmap(in, fake);
    EXPECT_EQ(ReadBitmap(in, unwired), fake);
    EXPECT_EQ(in.Tag, dtNull);
    source.Answer = MakeInt(5);
    EXPECT_EQ(ReadBitmap(in, source.Link()), nullptr);
}

TEST_F(ReadRule, ReadValueCopiesAndConsumes) {
    TData in = MakeText("v");
    TData def = MakeInt(4);
    TData got = ReadValue(in, unwired, &def);
    EXPECT_EQ(got.IntValue, 4);
    EXPECT_EQ(in.Tag, dtString);
    got = ReadValue(in, unwired);
    EXPECT_EQ(got.TextValue, "v");
    EXPECT_EQ(in.Tag, dtNull);
    TData nullDefault;
    got = ReadValue(in, unwired, &nullDefault);
    EXPECT_EQ(got.Tag, dtNull);
}

TEST_F(ReadRule, ChainsAreConsumedOneValueAtATime) {
    TData third = MakeInt(3);
    TData second = MakeInt(2);
    second.Next = &third;
    TData in = MakeInt(1);
    in.Next = &second;
    EXPECT_EQ(ReadInt(in, unwired), 1);
    EXPECT_EQ(ReadInt(in, unwired), 2);
    TData v = ReadValue(in, unwired);
    EXPECT_EQ(v.IntValue, 3);
    EXPECT_EQ(v.Next, nullptr);
    EXPECT_EQ(in.Tag, dtNull);
}

TEST_F(ReadRule, ReadValueFromAWiredPointClearsNext) {
    TData other;
    source.Answer = MakeInt(9);
    source.Answer.Next = &other;
    TData in;
    TData got = ReadValue(in, source.Link());
    EXPECT_EQ(got.IntValue, 9);
    EXPECT_EQ(got.Next, nullptr);
}

TEST_F(ReadRule, PeekIntAsksWithNullAndGivesZeroForNoAnswer) {
    EXPECT_EQ(PeekInt(unwired), 0);
    source.Answer = MakeInt(11);
    EXPECT_EQ(PeekInt(source.Link()), 11);
    source.Answer.Tag = dtBreak;
    EXPECT_EQ(PeekInt(source.Link()), 0);
}

TEST_F(ReadRule, ReadRawMarksAnUnboundPointWithBreak) {
    TData d = MakeInt(1);
    ReadRaw(d, unwired);
    EXPECT_EQ(d.Tag, dtBreak);
    source.Answer = MakeText("a");
    ReadRaw(d, source.Link());
    EXPECT_EQ(d.TextValue, "a");
}

TEST(MutedHooks, NothingIsCalledBeforeInstallOrAfterMute) {
    MuteHooks();
    Probe p;
    Source s;
    s.Answer = MakeInt(5);
    FireInt(p.Link(), 1);
    TData in = MakeInt(7);
    EXPECT_EQ(ReadInt(in, s.Link(), 3), 0);  // the NULL request comes back unchanged
    EXPECT_EQ(in.Tag, dtInteger);
    EXPECT_EQ(ReadText(in, s.Link(), "d"), "");
    EXPECT_EQ(ReadValue(in, s.Link()).Tag, dtNull);
    EXPECT_EQ(p.Count(), 0u);
    EXPECT_EQ(s.Reads, 0);

    InstallHooks();
    FireInt(p.Link(), 1);
    EXPECT_EQ(p.Count(), 1u);
    MuteHooks();
    FireInt(p.Link(), 2);
    EXPECT_EQ(PeekInt(s.Link()), 0);
    EXPECT_EQ(p.Count(), 1u);
    EXPECT_EQ(s.Reads, 0);
}

TEST(Links, BindToABaseClassMethodThroughADerivedObject) {
    LiveHooks hooks;
    class Derived : public Probe {};
    Derived d;
    FireInt(BindEvent<&Probe::doEvent>(&d, 2), 6);
    ASSERT_EQ(d.Count(), 1u);
    EXPECT_EQ(d.Hits[0].Index, 2);
    EXPECT_EQ(BindEvent<&Probe::doEvent>(&d, 2), BindEvent<&Probe::doEvent>(&d, 2));
    EXPECT_FALSE(TKV_Event{}.wired());
}

}  // namespace
