// The three ways a mixed hand is graded, as one table with every band edge
// of the roll, and the feedback line of a hand's mix.
#include <gtest/gtest.h>

#include <vector>

#include "grading.h"

using namespace chartpack;
using namespace trainer;

namespace {

Strategy mix(std::initializer_list<std::pair<Action, Weight>> weights) {
    Strategy strategy;
    for (auto [action, weight] : weights) strategy.set(action, weight);
    return strategy;
}

// raise 60 %, fold 40 %.
const Strategy kOpen = mix({{Action::Open, 6000}});
const std::vector<Action> kOpenOrder = {Action::Open, Action::Fold};
// call 30 %, raise/reraise 45 %, fold 25 %; raise/fold listed but never played.
const Strategy kDefend = mix({{Action::Call, 3000}, {Action::RaiseReraise, 4500}});
const std::vector<Action> kDefendOrder = {Action::Call, Action::RaiseFold, Action::RaiseReraise,
                                          Action::Fold};
// The same hand in a file that lists raise/reraise first.
const std::vector<Action> kReraiseFirst = {Action::RaiseReraise, Action::Call, Action::Fold};
// call 12.5 %, fold 87.5 %: a band edge inside a roll.
const Strategy kThin = mix({{Action::Call, 1250}});
const std::vector<Action> kThinOrder = {Action::Call, Action::RaiseFold, Action::Fold};
const Strategy kPureRaise = mix({{Action::Open, kFullWeight}});

struct Case {
    const char* name;
    GradingMode mode;
    const Strategy* strategy;
    const std::vector<Action>* order;
    int roll;
    Action action;
    std::vector<int> shares;
    bool right;
};

class Grading : public testing::TestWithParam<Case> {};

TEST_P(Grading, MatchesTheTable) {
    const Case& c = GetParam();
    Answer answer;
    answer.action = c.action;
    answer.shares = c.shares;
    EXPECT_EQ(isRight(c.mode, *c.strategy, *c.order, c.roll, answer), c.right);
}

constexpr auto R = GradingMode::Roll;
constexpr auto A = GradingMode::AnyPlayed;
constexpr auto F = GradingMode::Frequencies;
constexpr auto kRaise = Action::Open;
constexpr auto kFold = Action::Fold;
constexpr auto kCall = Action::Call;
constexpr auto kRF = Action::RaiseFold;
constexpr auto kRR = Action::RaiseReraise;

INSTANTIATE_TEST_SUITE_P(
    Modes, Grading,
    testing::Values(
        // Random roll: raise on 1..60, fold on 61..100.
        Case{"Roll1Raise", R, &kOpen, &kOpenOrder, 1, kRaise, {}, true},
        Case{"Roll1NotFold", R, &kOpen, &kOpenOrder, 1, kFold, {}, false},
        Case{"Roll60Raise", R, &kOpen, &kOpenOrder, 60, kRaise, {}, true},
        Case{"Roll61Fold", R, &kOpen, &kOpenOrder, 61, kFold, {}, true},
        Case{"Roll61NotRaise", R, &kOpen, &kOpenOrder, 61, kRaise, {}, false},
        Case{"Roll100Fold", R, &kOpen, &kOpenOrder, 100, kFold, {}, true},
        // call 1..30, raise/reraise 31..75, fold 76..100.
        Case{"Defend30Call", R, &kDefend, &kDefendOrder, 30, kCall, {}, true},
        Case{"Defend31Reraise", R, &kDefend, &kDefendOrder, 31, kRR, {}, true},
        Case{"Defend31NotRaiseFold", R, &kDefend, &kDefendOrder, 31, kRF, {}, false},
        Case{"Defend75Reraise", R, &kDefend, &kDefendOrder, 75, kRR, {}, true},
        Case{"Defend76Fold", R, &kDefend, &kDefendOrder, 76, kFold, {}, true},
        Case{"Defend100Fold", R, &kDefend, &kDefendOrder, 100, kFold, {}, true},
        // The file's order lays out the bands: raise/reraise 1..45, call 46..75.
        Case{"Order1Reraise", R, &kDefend, &kReraiseFirst, 1, kRR, {}, true},
        Case{"Order45Reraise", R, &kDefend, &kReraiseFirst, 45, kRR, {}, true},
        Case{"Order46Call", R, &kDefend, &kReraiseFirst, 46, kCall, {}, true},
        Case{"Order75Call", R, &kDefend, &kReraiseFirst, 75, kCall, {}, true},
        Case{"Order76Fold", R, &kDefend, &kReraiseFirst, 76, kFold, {}, true},
        // 12.5 %: the roll 12 lies wholly in the call band, 13 reaches past it.
        Case{"Thin12Call", R, &kThin, &kThinOrder, 12, kCall, {}, true},
        Case{"Thin13Fold", R, &kThin, &kThinOrder, 13, kFold, {}, true},
        Case{"PureRaise100", R, &kPureRaise, &kOpenOrder, 100, kRaise, {}, true},
        // Any played action.
        Case{"AnyCall", A, &kDefend, &kDefendOrder, 0, kCall, {}, true},
        Case{"AnyReraise", A, &kDefend, &kDefendOrder, 0, kRR, {}, true},
        Case{"AnyFold", A, &kDefend, &kDefendOrder, 0, kFold, {}, true},
        Case{"AnyNeverPlayed", A, &kDefend, &kDefendOrder, 0, kRF, {}, false},
        Case{"AnyPureNoFold", A, &kPureRaise, &kOpenOrder, 0, kFold, {}, false},
        // Frequencies: right while no share is more than 10 points off.
        Case{"SharesExact", F, &kDefend, &kDefendOrder, 0, kFold, {30, 0, 45, 25}, true},
        Case{"SharesTenOff", F, &kDefend, &kDefendOrder, 0, kFold, {40, 0, 45, 15}, true},
        Case{"SharesElevenOff", F, &kDefend, &kDefendOrder, 0, kFold, {41, 0, 45, 14}, false},
        Case{"SharesOneElevenOff", F, &kDefend, &kDefendOrder, 0, kFold, {30, 0, 56, 14}, false},
        Case{"SharesUnplayedTenOn", F, &kDefend, &kDefendOrder, 0, kFold, {25, 10, 40, 25}, true},
        Case{"SharesHalfPointIn", F, &kThin, &kThinOrder, 0, kFold, {22, 0, 78}, true},
        Case{"SharesHalfPointOut", F, &kThin, &kThinOrder, 0, kFold, {23, 0, 77}, false},
        Case{"SharesMissing", F, &kOpen, &kOpenOrder, 0, kFold, {60}, false}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(Feedback, NamesTheHandsTrueMixInTheFilesOrder) {
    EXPECT_EQ(mixText(Hand::offsuit(0, 3), kOpen, kOpenOrder).toStdString(),
              "AJo: raise 60 %, fold 40 %");
    EXPECT_EQ(mixText(Hand::suited(1, 2), kDefend, kReraiseFirst).toStdString(),
              "KQs: raise/reraise 45 %, call 30 %, fold 25 %");
    EXPECT_EQ(mixText(Hand::pair(0), kThin, kThinOrder).toStdString(),
              "AA: call 12.5 %, fold 87.5 %");
}

}  // namespace
