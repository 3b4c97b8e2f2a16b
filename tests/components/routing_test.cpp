// The hub and the index router.
#include <gtest/gtest.h>

#include "tabulo/components/routing.h"
#include "tabulo_test/probe.h"

namespace {

// Records the order in which outputs are reached, and consumes its value.
struct Consumer : TObject {
    std::vector<int>* order = nullptr;
    void doEvent(TData& value, uint16_t index) {
        order->push_back(index);
        seen.push_back(value);
        Consume(value);
    }
    std::vector<TData> seen;
};

TEST(Hub, FiresOutputsInOrderSkippingUnwired) {
    LiveHooks hooks;
    TKVHub hub;
    hub.SetCount(4);
    EXPECT_EQ(hub.onEvent.size(), 4u);
    std::vector<int> order;
    Consumer c;
    c.order = &order;
    hub.onEvent[0] = BindEvent<&Consumer::doEvent>(&c, 0);
    hub.onEvent[1] = BindEvent<&Consumer::doEvent>(&c, 1);
    hub.onEvent[3] = BindEvent<&Consumer::doEvent>(&c, 3);

    TData v = MakeText("chart");
    Fire(BindEvent<&TKVHub::doEvent>(&hub), v);

    EXPECT_EQ(order, (std::vector<int>{0, 1, 3}));
    // Each output got its own copy: consuming one does not reach the next.
    ASSERT_EQ(c.seen.size(), 3u);
    for (const TData& d : c.seen) {
        EXPECT_EQ(d.Tag, dtString);
        EXPECT_EQ(d.TextValue, "chart");
    }
    EXPECT_EQ(v.Tag, dtString);
    EXPECT_EQ(v.TextValue, "chart");
}

TEST(Hub, WithNoOutputsDoesNothing) {
    LiveHooks hooks;
    TKVHub hub;
    TData v = MakeInt(3);
    Fire(BindEvent<&TKVHub::doEvent>(&hub, 7), v);
    EXPECT_EQ(v.Tag, dtInteger);
    EXPECT_EQ(v.IntValue, 3);
}

struct RouteCase {
    int index;
    int expectedChannel;  // -1: nothing fires
};

class IndexRouter : public ::testing::TestWithParam<RouteCase> {};

TEST_P(IndexRouter, ForwardsToTheChannelOrNowhere) {
    LiveHooks hooks;
    TKVIndexToChanel r;
    r.SetCount(3);
    Probe p0, p1, p2;
    r.onEvent[0] = p0.Link(0);
    r.onEvent[1] = p1.Link(1);
    r.onEvent[2] = p2.Link(2);
    FireInt(BindEvent<&TKVIndexToChanel::doEvent>(&r), GetParam().index);
    const std::size_t counts[3] = {p0.Count(), p1.Count(), p2.Count()};
    for (int ch = 0; ch < 3; ++ch)
        EXPECT_EQ(counts[ch], ch == GetParam().expectedChannel ? 1u : 0u) << "channel " << ch;
    // The index was taken from the incoming value and consumed: the channel
    // gets NULL (Data is NULL and pullData unwired).
    Probe* hit[3] = {&p0, &p1, &p2};
    if (GetParam().expectedChannel >= 0) {
        EXPECT_EQ(hit[GetParam().expectedChannel]->Last().Tag, dtNull);
    }
}

INSTANTIATE_TEST_SUITE_P(Bounds, IndexRouter,
                         ::testing::Values(RouteCase{0, 0}, RouteCase{1, 1}, RouteCase{2, 2},
                                           RouteCase{3, -1}, RouteCase{-1, -1},
                                           RouteCase{1000, -1}));

TEST(IndexRouterData, ForwardsDataOrThePulledValue) {
    LiveHooks hooks;
    TKVIndexToChanel r;
    r.SetCount(2);
    Probe p1;
    r.onEvent[1] = p1.Link();
    r.Data = MakeText("default");
    FireInt(BindEvent<&TKVIndexToChanel::doEvent>(&r), 1);
    ASSERT_EQ(p1.Count(), 1u);
    EXPECT_EQ(p1.Last().TextValue, "default");

    Source index, data;
    index.Answer = MakeInt(1);
    data.Answer = MakeInt(99);
    r.pullIndex = index.Link();
    r.pullData = data.Link();
    FireText(BindEvent<&TKVIndexToChanel::doEvent>(&r), "ignored");
    ASSERT_EQ(p1.Count(), 2u);
    EXPECT_EQ(p1.Last().Tag, dtInteger);
    EXPECT_EQ(p1.Last().IntValue, 99);
}

TEST(IndexRouterData, ForwardsTheRestOfTheIncomingValueWhenDataIsNull) {
    LiveHooks hooks;
    TKVIndexToChanel r;
    r.SetCount(2);
    Probe p0;
    r.onEvent[0] = p0.Link();
    Source index;
    index.Answer = MakeInt(0);
    r.pullIndex = index.Link();
    FireText(BindEvent<&TKVIndexToChanel::doEvent>(&r), "payload");
    ASSERT_EQ(p0.Count(), 1u);
    EXPECT_EQ(p0.Last().TextValue, "payload");
}

}  // namespace
