#include "accuracy.h"

#include <algorithm>

#include "tabulo/chartpack/render.h"

namespace trainer {

using namespace chartpack;

namespace {

const QColor kWrong(214, 39, 40);
const QColor kRight(44, 160, 44);

// Whether a is weaker than b: a lower share right, then more answers.
bool weaker(const Tally& a, const Tally& b) {
    const qint64 left = qint64(a.right) * b.answers;
    const qint64 right = qint64(b.right) * a.answers;
    if (left != right) return left < right;
    return a.answers > b.answers;
}

}  // namespace

QHash<int, SpotTallies> bySpotIndex(const QHash<QString, SpotTallies>& tallies) {
    QHash<int, SpotTallies> result;
    for (int s = 0; s < kSpotCount; ++s) {
        const auto at = tallies.find(QString::fromStdString(Spot::fromIndex(s).key()));
        if (at != tallies.end()) result.insert(s, *at);
    }
    return result;
}

Tally total(const SpotTallies& tallies) {
    Tally sum;
    for (const Tally& t : tallies) {
        sum.answers += t.answers;
        sum.right += t.right;
    }
    return sum;
}

QColor accuracyColour(const Tally& tally) {
    const double share = tally.answers == 0 ? 0.0 : double(tally.right) / tally.answers;
    auto mix = [&](int wrong, int right) {
        return static_cast<int>(wrong + (right - wrong) * share + 0.5);
    };
    return QColor(mix(kWrong.red(), kRight.red()), mix(kWrong.green(), kRight.green()),
                  mix(kWrong.blue(), kRight.blue()));
}

QImage renderAccuracyMap(Spot spot, const SpotTallies& tallies) {
    return renderHandMap(QString::fromStdString(spot.title()),
                         [&](Hand hand) -> std::optional<QColor> {
                             const Tally& t = tallies[static_cast<size_t>(hand.index())];
                             if (t.answers == 0) return std::nullopt;
                             return accuracyColour(t);
                         },
                         {{kWrong, QStringLiteral("Wrong")},
                          {accuracyColour({2, 1}), QStringLiteral("Half right")},
                          {kRight, QStringLiteral("Right")}});
}

std::vector<int> weakestSpots(const QHash<int, SpotTallies>& tallies, size_t count) {
    std::vector<std::pair<int, Tally>> spots;
    for (auto it = tallies.begin(); it != tallies.end(); ++it) {
        const Tally sum = total(*it);
        if (sum.answers > 0) spots.push_back({it.key(), sum});
    }
    std::sort(spots.begin(), spots.end(), [](const auto& a, const auto& b) {
        if (weaker(a.second, b.second)) return true;
        if (weaker(b.second, a.second)) return false;
        return a.first < b.first;
    });
    std::vector<int> result;
    for (size_t i = 0; i < spots.size() && i < count; ++i) result.push_back(spots[i].first);
    return result;
}

std::vector<CardId> weakestPairs(const QHash<int, SpotTallies>& tallies, size_t count) {
    std::vector<std::pair<CardId, Tally>> pairs;
    for (auto it = tallies.begin(); it != tallies.end(); ++it)
        for (int h = 0; h < kHandCount; ++h)
            if ((*it)[static_cast<size_t>(h)].answers > 0)
                pairs.push_back({{it.key(), h}, (*it)[static_cast<size_t>(h)]});
    std::sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
        if (weaker(a.second, b.second)) return true;
        if (weaker(b.second, a.second)) return false;
        return a.first.spot != b.first.spot ? a.first.spot < b.first.spot
                                            : a.first.hand < b.first.hand;
    });
    std::vector<CardId> result;
    for (size_t i = 0; i < pairs.size() && i < count; ++i) result.push_back(pairs[i].first);
    return result;
}

}  // namespace trainer
