#pragma once
// Whether an answer to a hand with a mixed strategy is right, in the three
// ways a player can drill mixed hands.

#include <QString>
#include <vector>

#include "tabulo/chartpack/rangefile.h"

namespace trainer {

enum class GradingMode { Roll, AnyPlayed, Frequencies };
inline constexpr int kModeCount = 3;

// "roll", "any", "frequencies": as stored in the history.
QString modeKey(GradingMode mode);
GradingMode modeFromKey(const QString& key);
QString modeName(GradingMode mode);
// One line for the window.
QString modeExplanation(GradingMode mode);

// How often a hand takes an action; for fold, what the others leave.
chartpack::Weight actionWeight(const chartpack::Strategy& strategy, chartpack::Action action);

// The action whose band holds a roll of 1..100: the bands lie in the given
// order, each as wide as the action's frequency.
chartpack::Action rollAction(const chartpack::Strategy& strategy,
                             const std::vector<chartpack::Action>& order, int roll);

// A share a player sets in the frequency mode may be this far off (points).
inline constexpr int kShareTolerance = 10;

struct Answer {
    chartpack::Action action = chartpack::Action::Fold;  // Roll and AnyPlayed
    std::vector<int> shares;                             // Frequencies: percent, by order
};

// Whether an answer is right; roll is used by the Roll mode only.
bool isRight(GradingMode mode, const chartpack::Strategy& strategy,
             const std::vector<chartpack::Action>& order, int roll, const Answer& answer);

// The actions a hand takes at all, in the given order.
std::vector<chartpack::Action> playedActions(const chartpack::Strategy& strategy,
                                             const std::vector<chartpack::Action>& order);

// "AJo: raise 60 %, fold 40 %" (only the actions the hand takes).
QString mixText(chartpack::Hand hand, const chartpack::Strategy& strategy,
                const std::vector<chartpack::Action>& order);
// "raise:6000 fold:4000": a hand's mix as stored with its schedule.
QString mixKey(const chartpack::Strategy& strategy, const std::vector<chartpack::Action>& order);
QString actionLabel(chartpack::Action action);
// A percentage with at most two decimals: "60", "12.5".
QString percentText(chartpack::Weight weight);

}  // namespace trainer
