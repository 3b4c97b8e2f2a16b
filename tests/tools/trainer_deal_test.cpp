// Dealing: hand classes come as often as their combinations, and the two
// cards are always two different real cards of the class.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

#include "deal.h"

using namespace chartpack;
using namespace trainer;

TEST(Deal, HundredThousandDealsFollowTheCombinationWeights) {
    std::vector<Hand> all;
    for (int h = 0; h < kHandCount; ++h) all.push_back(Hand::fromIndex(h));
    Random random(20261209);
    constexpr int kDeals = 100000;
    std::array<int, kHandCount> seen{};
    int pairs = 0, suited = 0, offsuit = 0;
    for (int i = 0; i < kDeals; ++i) {
        const HoleCards cards = dealSuits(*pickByCombos(all, random), random);
        ASSERT_FALSE(cards.first == cards.second) << "the same card twice";
        const Hand hand = handOf(cards);
        ++seen[static_cast<size_t>(hand.index())];
        (hand.isPair() ? pairs : hand.isSuited() ? suited : offsuit)++;
    }
    // 1326 combinations: 13 pairs x 6, 78 suited x 4, 78 offsuit x 12.
    double chi = 0;
    for (int h = 0; h < kHandCount; ++h) {
        const Hand hand = Hand::fromIndex(h);
        const double expected = kDeals *
                                (hand.isPair()     ? 6.0
                                 : hand.isSuited() ? 4.0
                                                   : 12.0) /
                                1326.0;
        const double d = seen[static_cast<size_t>(h)] - expected;
        chi += d * d / expected;
    }
    // 168 degrees of freedom: 230 is the 99.9 % point.
    EXPECT_LT(chi, 230.0);
    EXPECT_NEAR(pairs / double(kDeals), 78 / 1326.0, 0.005);
    EXPECT_NEAR(suited / double(kDeals), 312 / 1326.0, 0.01);
    EXPECT_NEAR(offsuit / double(kDeals), 936 / 1326.0, 0.01);
}

TEST(Deal, SuitsAreRandomWithinTheClassAndNeverImpossible) {
    Random random(7);
    struct Expect {
        Hand hand;
        size_t combos;
    };
    for (const Expect& e : {Expect{Hand::pair(0), 6}, Expect{Hand::suited(0, 3), 4},
                            Expect{Hand::offsuit(0, 3), 12}}) {
        std::set<std::pair<int, int>> suits;
        for (int i = 0; i < 2000; ++i) {
            const HoleCards cards = dealSuits(e.hand, random);
            EXPECT_EQ(handOf(cards), e.hand);
            EXPECT_FALSE(cards.first == cards.second);
            // A pair's two suits in either order are one combination.
            const int a = cards.first.suit, b = cards.second.suit;
            suits.insert(e.hand.isPair() ? std::pair{std::min(a, b), std::max(a, b)}
                                         : std::pair{a, b});
        }
        EXPECT_EQ(suits.size(), e.combos) << e.hand.key();
    }
    EXPECT_EQ(cardsText({{0, 0}, {3, 2}}).toStdString(), "A\u2660 J\u2666");
}
