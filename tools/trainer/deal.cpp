#include "deal.h"

namespace trainer {

using chartpack::Hand;

namespace {

int uniform(Random& random, int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random);
}

}  // namespace

Hand handOf(const HoleCards& cards) {
    const int high = std::min(cards.first.rank, cards.second.rank);
    const int low = std::max(cards.first.rank, cards.second.rank);
    if (high == low) return Hand::pair(high);
    return cards.first.suit == cards.second.suit ? Hand::suited(high, low)
                                                 : Hand::offsuit(high, low);
}

HoleCards dealSuits(Hand hand, Random& random) {
    const int first = uniform(random, kSuitCount);
    int second = first;
    if (!hand.isSuited()) {
        // Any of the three other suits.
        second = (first + 1 + uniform(random, kSuitCount - 1)) % kSuitCount;
    }
    return {{hand.high(), first}, {hand.low(), second}};
}

std::optional<Hand> pickByCombos(const std::vector<Hand>& hands, Random& random) {
    int total = 0;
    for (Hand hand : hands) total += comboCount(hand);
    if (total == 0) return std::nullopt;
    int at = uniform(random, total);
    for (Hand hand : hands) {
        at -= comboCount(hand);
        if (at < 0) return hand;
    }
    return hands.back();
}

QString cardText(Card card) {
    static const char16_t kSuits[] = u"\u2660\u2665\u2666\u2663";
    return QString(QChar(chartpack::kRanks[static_cast<size_t>(card.rank)])) +
           QChar(kSuits[card.suit]);
}

QString cardsText(const HoleCards& cards) {
    return cardText(cards.first) + QLatin1Char(' ') + cardText(cards.second);
}

bool isRedSuit(int suit) {
    return suit == 1 || suit == 2;
}

}  // namespace trainer
