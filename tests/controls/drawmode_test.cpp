#include "tabulo/controls/drawmode.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct ModeCase {
    const char* Name;
    int CW, CH, W, H, Mode;
    TDrawPlan::Kind How;
    TDrawRect Target;
    std::vector<TDrawRect> Fills;
};

class DrawingPlan : public ::testing::TestWithParam<ModeCase> {};

TEST_P(DrawingPlan, GivesTheTargetAndTheBackgroundBands) {
    const ModeCase& c = GetParam();
    const TDrawPlan p = PlanDrawing(c.CW, c.CH, c.W, c.H, c.Mode);
    EXPECT_EQ(p.How, c.How);
    EXPECT_EQ(p.Target, c.Target);
    ASSERT_EQ(p.Fills.size(), c.Fills.size());
    for (std::size_t i = 0; i < c.Fills.size(); ++i)
        EXPECT_EQ(p.Fills[i], c.Fills[i]) << "fill " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DrawingPlan,
    ::testing::Values(
        ModeCase{"CentreSmallPicture",
                 467,
                 467,
                 200,
                 100,
                 0,
                 TDrawPlan::Copy,
                 {133, 183, 333, 283},
                 {{0, 0, 467, 183}, {0, 283, 467, 467}, {0, 183, 133, 283}, {333, 183, 467, 283}}},
        ModeCase{"CentreLargerPictureFillsNothing",
                 100,
                 50,
                 301,
                 151,
                 0,
                 TDrawPlan::Copy,
                 {-100, -50, 201, 101},
                 {}},
        ModeCase{"CentreOddDifferenceTruncates",
                 10,
                 10,
                 7,
                 7,
                 0,
                 TDrawPlan::Copy,
                 {1, 1, 8, 8},
                 {{0, 0, 10, 1}, {0, 8, 10, 10}, {0, 1, 1, 8}, {8, 1, 10, 8}}},
        ModeCase{
            "StretchCoversClient", 282, 330, 470, 470, 1, TDrawPlan::Stretch, {0, 0, 282, 330}, {}},
        ModeCase{"FitWidthRoundsHalfQuarterUp",
                 467,
                 467,
                 200,
                 100,
                 2,
                 TDrawPlan::Stretch,
                 {0, 117, 467, 350},
                 {{0, 0, 467, 117}, {0, 350, 467, 467}}},
        ModeCase{"FitHeight",
                 400,
                 100,
                 100,
                 100,
                 2,
                 TDrawPlan::Stretch,
                 {150, 0, 250, 100},
                 {{0, 0, 150, 100}, {250, 0, 400, 100}}},
        ModeCase{
            "FitExactHasNoBands", 200, 100, 200, 100, 2, TDrawPlan::Stretch, {0, 0, 200, 100}, {}},
        ModeCase{"FillRoundsHalfToEven",
                 467,
                 467,
                 200,
                 100,
                 5,
                 TDrawPlan::Stretch,
                 {-234, 0, 701, 467},
                 {}},
        ModeCase{"FillWidth", 100, 400, 100, 100, 5, TDrawPlan::Stretch, {-150, 0, 250, 400}, {}},
        ModeCase{"TopLeft",
                 300,
                 200,
                 100,
                 50,
                 4,
                 TDrawPlan::Copy,
                 {0, 0, 100, 50},
                 {{100, 0, 300, 200}, {0, 50, 100, 200}}},
        ModeCase{
            "TopLeftLargerPicture", 50, 50, 100, 100, 4, TDrawPlan::Copy, {0, 0, 100, 100}, {}},
        ModeCase{"UnknownModeStretches", 10, 20, 5, 5, 9, TDrawPlan::Stretch, {0, 0, 10, 20}, {}}),
    [](const ::testing::TestParamInfo<ModeCase>& i) { return std::string(i.param.Name); });

TEST(DrawingPlan, HalfToEvenAlsoRoundsDownOnEvenNeighbour) {
    // (10 - 5) / 2 = 2.5 -> 2; the picture is centred one pixel closer to the top.
    const TDrawPlan p = PlanDrawing(10, 10, 10, 5, 2);
    EXPECT_EQ(p.Target, (TDrawRect{0, 2, 10, 8}));
}

TEST(DrawingPlan, TileCountsIncludeTheClippedRowAndColumn) {
    const TDrawPlan p = PlanDrawing(250, 250, 100, 100, 3);
    EXPECT_EQ(p.How, TDrawPlan::Tile);
    EXPECT_EQ(p.TilesX, 3);
    EXPECT_EQ(p.TilesY, 3);
    EXPECT_TRUE(p.Fills.empty());
    const TDrawPlan exact = PlanDrawing(200, 100, 100, 100, 3);
    EXPECT_EQ(exact.TilesX, 3);  // i from 0 to CW div W inclusive
    EXPECT_EQ(exact.TilesY, 2);
}
}  // namespace
