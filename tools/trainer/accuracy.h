#pragma once
// Accuracy of the answers: the weakest spots and pairs, and the 13 x 13
// accuracy map drawn by the pack's painter.

#include <QColor>
#include <QHash>
#include <QImage>
#include <optional>
#include <vector>

#include "drill.h"
#include "history.h"

namespace trainer {

// The history's tallies by spot index (spot keys it does not know are left out).
QHash<int, SpotTallies> bySpotIndex(const QHash<QString, SpotTallies>& tallies);
Tally total(const SpotTallies& tallies);
// Red for all wrong, green for all right, in between by the share.
QColor accuracyColour(const Tally& tally);
// The map of one spot; hands not yet asked stay blank.
QImage renderAccuracyMap(chartpack::Spot spot, const SpotTallies& tallies);

// Spots with answers, the lowest share right first (more answers first on a tie).
std::vector<int> weakestSpots(const QHash<int, SpotTallies>& tallies, size_t count);
// (spot, hand) pairs with answers, the lowest share right first.
std::vector<CardId> weakestPairs(const QHash<int, SpotTallies>& tallies, size_t count);

}  // namespace trainer
