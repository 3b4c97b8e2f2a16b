#include "grading.h"

#include <QStringList>
#include <cstdlib>

namespace trainer {

using namespace chartpack;

QString modeKey(GradingMode mode) {
    switch (mode) {
        case GradingMode::Roll:
            return QStringLiteral("roll");
        case GradingMode::AnyPlayed:
            return QStringLiteral("any");
        case GradingMode::Frequencies:
            return QStringLiteral("frequencies");
    }
    return {};
}

GradingMode modeFromKey(const QString& key) {
    if (key == QLatin1String("any")) return GradingMode::AnyPlayed;
    if (key == QLatin1String("frequencies")) return GradingMode::Frequencies;
    return GradingMode::Roll;
}

QString modeName(GradingMode mode) {
    switch (mode) {
        case GradingMode::Roll:
            return QStringLiteral("Random roll");
        case GradingMode::AnyPlayed:
            return QStringLiteral("Any played action");
        case GradingMode::Frequencies:
            return QStringLiteral("Frequencies");
    }
    return {};
}

QString modeExplanation(GradingMode mode) {
    switch (mode) {
        case GradingMode::Roll:
            return QStringLiteral(
                "Play the action whose band holds the roll: bands run in the file's order of "
                "actions, each as wide as its frequency.");
        case GradingMode::AnyPlayed:
            return QStringLiteral("Any action the hand takes at some frequency is right.");
        case GradingMode::Frequencies:
            return QStringLiteral(
                "Set how often you take each action; right when none is more than 10 points "
                "off.");
    }
    return {};
}

Weight actionWeight(const Strategy& strategy, Action action) {
    if (action == Action::Fold) return static_cast<Weight>(kFullWeight - strategy.played());
    return strategy.weight(action);
}

Action rollAction(const Strategy& strategy, const std::vector<Action>& order, int roll) {
    // Roll r covers (r - 1, r] percent: it lies in the band whose upper edge
    // is the first at or above r.
    const int point = roll * (kFullWeight / 100);
    int edge = 0;
    Action last = Action::Fold;
    for (Action action : order) {
        const int weight = actionWeight(strategy, action);
        if (weight == 0) continue;
        edge += weight;
        last = action;
        if (point <= edge) return action;
    }
    return last;
}

bool isRight(GradingMode mode, const Strategy& strategy, const std::vector<Action>& order, int roll,
             const Answer& answer) {
    switch (mode) {
        case GradingMode::Roll:
            return rollAction(strategy, order, roll) == answer.action;
        case GradingMode::AnyPlayed:
            return actionWeight(strategy, answer.action) > 0;
        case GradingMode::Frequencies:
            if (answer.shares.size() != order.size()) return false;
            for (size_t i = 0; i < order.size(); ++i) {
                const int truth = actionWeight(strategy, order[i]);
                if (std::abs(answer.shares[i] * (kFullWeight / 100) - truth) >
                    kShareTolerance * (kFullWeight / 100))
                    return false;
            }
            return true;
    }
    return false;
}

std::vector<Action> playedActions(const Strategy& strategy, const std::vector<Action>& order) {
    std::vector<Action> played;
    for (Action action : order)
        if (actionWeight(strategy, action) > 0) played.push_back(action);
    return played;
}

QString actionLabel(Action action) {
    return QString::fromUtf8(actionName(action).data(),
                             static_cast<qsizetype>(actionName(action).size()));
}

QString percentText(Weight weight) {
    return QString::number(weight / 100.0, 'g', 5);
}

QString mixText(Hand hand, const Strategy& strategy, const std::vector<Action>& order) {
    QStringList parts;
    for (Action action : playedActions(strategy, order))
        parts << QStringLiteral("%1 %2 %").arg(actionLabel(action),
                                               percentText(actionWeight(strategy, action)));
    return QStringLiteral("%1: %2").arg(QString::fromStdString(hand.key()),
                                        parts.join(QStringLiteral(", ")));
}

QString mixKey(const Strategy& strategy, const std::vector<Action>& order) {
    QStringList parts;
    for (Action action : order)
        parts
            << QStringLiteral("%1:%2").arg(actionLabel(action)).arg(actionWeight(strategy, action));
    return parts.join(QLatin1Char(' '));
}

}  // namespace trainer
