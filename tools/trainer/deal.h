#pragma once
// Hole cards: the hand classes of the grid dealt as real cards.

#include <QString>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "tabulo/chartpack/hands.h"

namespace trainer {

using Random = std::mt19937_64;

inline constexpr int kSuitCount = 4;

struct Card {
    int rank = 0;  // 0 for an ace .. 12 for a deuce
    int suit = 0;  // 0 spades, 1 hearts, 2 diamonds, 3 clubs

    friend bool operator==(Card, Card) = default;
};

// The higher card first.
struct HoleCards {
    Card first;
    Card second;
};

// The class of two cards.
chartpack::Hand handOf(const HoleCards& cards);
// Two cards of a class, their suits random within it.
HoleCards dealSuits(chartpack::Hand hand, Random& random);
// One of the given classes, each as likely as its number of combinations;
// nothing when the list is empty.
std::optional<chartpack::Hand> pickByCombos(const std::vector<chartpack::Hand>& hands,
                                            Random& random);
// "A♠", "T♦"; and "A♠ J♦" for both cards.
QString cardText(Card card);
QString cardsText(const HoleCards& cards);
// Hearts and diamonds print red.
bool isRedSuit(int suit);

}  // namespace trainer
