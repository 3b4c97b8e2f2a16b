#include "tabulo/controls/layout.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/controls_test.h"
#include "tabulo/controls/memo.h"
#include "tabulo/controls/panel.h"

namespace {
struct HeightCase {
    const char* Name;
    int Height, Margin, Spacing;
    std::vector<TVBoxEntry> Items;
    std::vector<int> Expected;
};

class VBoxHeightRule : public ::testing::TestWithParam<HeightCase> {};

TEST_P(VBoxHeightRule, SplitsTheFreeHeightByWeight) {
    const HeightCase& c = GetParam();
    EXPECT_EQ(VBoxHeights(c.Height, c.Margin, c.Spacing, c.Items), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VBoxHeightRule,
    ::testing::Values(
        HeightCase{"OneFullWeightItemTakesAll", 225, 0, 0, {{40, 100}}, {225}},
        HeightCase{"TwoHalvesSplitEqually", 300, 0, 0, {{1, 50}, {2, 50}}, {150, 150}},
        HeightCase{"WeightZeroKeepsItsHeight", 300, 0, 0, {{40, 0}, {9, 100}}, {40, 260}},
        HeightCase{
            "MarginsAndSpacingComeOff", 300, 5, 4, {{20, 0}, {0, 50}, {0, 50}}, {20, 131, 131}},
        HeightCase{"HalfRoundsToEven", 261, 0, 0, {{0, 50}, {0, 50}}, {130, 130}},
        HeightCase{"HalfRoundsUpToEven", 263, 0, 0, {{0, 50}}, {132}},
        HeightCase{"NegativeWeightKeepsItsHeightButCountsAsFree",
                   100,
                   0,
                   0,
                   {{30, -1}, {0, 100}},
                   {30, 100}}),
    [](const ::testing::TestParamInfo<HeightCase>& i) { return std::string(i.param.Name); });

TEST(VBoxLayout, ArrangesOnEverySizeChangeOfItsControl) {
    HostWindow host(400, 400);
    TKVPanel panel(host.Control());
    panel.Width = 266;
    panel.Height = 315;
    panel.Init();
    TKVVBoxLayout grid;
    TKVMemo about(panel.Control);
    about.Left = 1;
    about.Top = 74;
    about.Width = 398;
    about.Height = 225;
    about.LayoutWeight = 100;
    about.Init();
    about.AttachLayout(&grid);
    grid.AttachTo(panel.Control);
    EXPECT_EQ(about.Control->Top(), 0);
    EXPECT_EQ(about.Control->Left(), 0);
    EXPECT_EQ(about.Control->Width(), panel.Control->ClientWidth());
    EXPECT_EQ(about.Control->Height(), panel.Control->ClientHeight());
    panel.Control->SetSize(200, 150);
    Pump();
    EXPECT_EQ(about.Control->Width(), panel.Control->ClientWidth());
    EXPECT_EQ(about.Control->Height(), panel.Control->ClientHeight());
}

TEST(VBoxLayout, StacksItemsWithMarginAndSpacing) {
    HostWindow host(400, 400);
    TKVPanel panel(host.Control());
    panel.Width = 200;
    panel.Height = 300;
    panel.BorderStyle = 2;
    panel.Init();
    TKVVBoxLayout box;
    box.Margin = 5;
    box.Spacing = 4;
    TKVPanel a(panel.Control), b(panel.Control), c(panel.Control);
    a.Height = 20;
    b.LayoutWeight = 50;
    c.LayoutWeight = 50;
    for (TKVPanel* p : {&a, &b, &c}) {
        p->Init();
        p->AttachLayout(&box);
    }
    box.AttachTo(panel.Control);
    const int ch = panel.Control->ClientHeight(), cw = panel.Control->ClientWidth();
    const int each = VBoxHeights(ch, 5, 4, {{20, 0}, {0, 50}, {0, 50}})[1];
    EXPECT_EQ(a.Control->BoundsRect(), MakeRect(5, 5, cw - 5, 25));
    EXPECT_EQ(b.Control->BoundsRect(), MakeRect(5, 29, cw - 5, 29 + each));
    EXPECT_EQ(c.Control->Top(), 29 + each + 4);
    EXPECT_EQ(c.Control->Height(), each);
}

TEST(VBoxLayout, ComponentAndLayoutMayGoInEitherOrder) {
    HostWindow host;
    TKVPanel panel(host.Control());
    panel.Init();
    auto memo = std::make_unique<TKVMemo>(panel.Control);
    memo->Init();
    {
        TKVVBoxLayout box;
        memo->AttachLayout(&box);
        EXPECT_EQ(box.ItemCount(), 1);
        box.AttachTo(panel.Control);
    }
    EXPECT_EQ(memo->Layout, nullptr);  // the layout went first
    TKVVBoxLayout box2;
    memo->AttachLayout(&box2);
    memo.reset();
    EXPECT_EQ(box2.ItemCount(), 0);  // the component went first
}
}  // namespace
