// What is asked next: SM-2's intervals written out from its published
// description, a missed card coming back, a changed mix starting again,
// the filters, and the table drawn for a spot.
#include <gtest/gtest.h>

#include <QFile>

#include "drill.h"
#include "seattable.h"

using namespace chartpack;
using namespace trainer;

namespace {

RangeBook defaultBook() {
    QFile file(QStringLiteral(TABULO_RANGES_FILE));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    return readRangeBook(std::string_view(text.constData(), size_t(text.size())));
}

constexpr int64_t kNow = 1'800'000'000;

std::vector<int> intervals(std::initializer_list<int> qualities) {
    Schedule s;
    std::vector<int> days;
    for (int q : qualities) {
        s = review(s, q, kNow);
        days.push_back(s.intervalDays);
    }
    return days;
}

}  // namespace

TEST(Scheduler, FollowsSm2) {
    // q = 4 keeps EF at 2.5: 1, 6, 6 x 2.5 = 15, 15 x 2.5 = 37.5 -> 38.
    EXPECT_EQ(intervals({4, 4, 4, 4}), (std::vector<int>{1, 6, 15, 38}));
    // q = 5 adds 0.1 each time: 1, 6, 6 x 2.7 = 16.2 -> 17, 17 x 2.8 = 47.6 -> 48.
    EXPECT_EQ(intervals({5, 5, 5, 5}), (std::vector<int>{1, 6, 17, 48}));
    // A lapse after EF 2.9 (q = 1: -0.54 -> 2.36) starts again at 1 and 6,
    // then 6 x 2.36 = 14.16 -> 15.
    EXPECT_EQ(intervals({5, 5, 5, 5, 1, 4, 4, 4}), (std::vector<int>{1, 6, 17, 48, 1, 1, 6, 15}));
    // q = 3 costs 0.14: 2.5, 2.36, 2.22; the third interval is 6 x 2.22 = 13.32 -> 14.
    EXPECT_EQ(intervals({3, 3, 3}), (std::vector<int>{1, 6, 14}));

    Schedule s;
    for (int i = 0; i < 10; ++i) s = review(s, 0, kNow);
    EXPECT_DOUBLE_EQ(s.easiness, 1.3);
    // A miss comes back within the session, a right answer after its interval.
    EXPECT_EQ(review(Schedule{}, 1, kNow).due, kNow + kRelearnSeconds);
    EXPECT_EQ(review(Schedule{}, 5, kNow).due, kNow + kDaySeconds);
    EXPECT_EQ(qualityOf(false, 1.0), 1);
    EXPECT_EQ(qualityOf(true, 1.0), 5);
    EXPECT_EQ(qualityOf(true, 9.0), 4);
}

TEST(Drill, MissedCardsComeBackFirstAndAChangedMixStartsAgain) {
    RangeBook book = defaultBook();
    ASSERT_EQ(book.spots.size(), 35u);  // every chart but the big blind's own
    Drill drill(book, QStringLiteral("r.txt"), 1);
    Filters utgOpen;
    utgOpen.seats = {true, false, false, false, false, false};
    utgOpen.kinds = {true, false, false};
    drill.setFilters(utgOpen);
    ASSERT_EQ(drill.eligible().size(), size_t(kHandCount));

    // AA, KK and QQ always open under the gun: folding one is wrong.
    drill.setFocus({{Spot{0, 0}.index(), Hand::pair(0).index()},
                    {Spot{0, 0}.index(), Hand::pair(1).index()},
                    {Spot{0, 0}.index(), Hand::pair(2).index()}});
    const Question first = *drill.next(kNow);
    EXPECT_EQ(first.card.spot, (Spot{0, 0}.index()));
    Answer fold;
    fold.action = Action::Fold;
    const Graded graded = drill.answer(first, GradingMode::AnyPlayed, fold, 500, kNow * 1000);
    EXPECT_FALSE(graded.right);
    EXPECT_EQ(graded.review.spot.toStdString(), "UTG");
    EXPECT_EQ(graded.review.answer.toStdString(), "fold");
    // Before the relearning step a new pair comes; after it the missed one,
    // due now, comes before the third pair, still new.
    const Question second = *drill.next(kNow + 1);
    EXPECT_NE(second.card.hand, first.card.hand);
    Answer raise;
    raise.action = Action::Open;
    EXPECT_TRUE(drill.answer(second, GradingMode::AnyPlayed, raise, 500, kNow * 1000).right);
    EXPECT_EQ(drill.next(kNow + kRelearnSeconds + 1)->card.hand, first.card.hand);

    // The stored schedule survives only while the mix is the same.
    const QString hand = QString::fromStdString(Hand::fromIndex(first.card.hand).key());
    QHash<QString, StoredCard> stored;
    stored.insert(cardKey(QStringLiteral("UTG"), hand), graded.card);
    Drill same(book, QStringLiteral("r.txt"), 1);
    same.loadCards(stored);
    EXPECT_TRUE(same.schedule(first.card).seen);
    StoredCard changed = graded.card;
    changed.mix = QStringLiteral("raise:5000 fold:5000");
    stored.insert(cardKey(QStringLiteral("UTG"), hand), changed);
    Drill edited(book, QStringLiteral("r.txt"), 1);
    edited.loadCards(stored);
    EXPECT_FALSE(edited.schedule(first.card).seen);
}

TEST(Drill, FiltersPickSeatsKindsAndHands) {
    const RangeBook book = defaultBook();
    Drill drill(book, QStringLiteral("r.txt"), 1);
    Filters filters;
    filters.seats = {false, false, false, false, false, true};
    drill.setFilters(filters);
    // The big blind: five answers to an open, no 3-bet spot of its own.
    EXPECT_EQ(drill.eligible().size(), size_t(5 * kHandCount));
    filters.kinds = {false, false, true};
    drill.setFilters(filters);
    EXPECT_TRUE(drill.eligible().empty());
    EXPECT_FALSE(drill.next(kNow).has_value());

    // UTG's open: AA has only opening neighbours, 22 sits beside folding 32s.
    filters = {};
    filters.seats = {true, false, false, false, false, false};
    filters.kinds = {true, false, false};
    filters.hands = HandFilter::Edge;
    drill.setFilters(filters);
    std::vector<int> hands;
    for (CardId card : drill.eligible()) hands.push_back(card.hand);
    auto has = [&](Hand h) {
        return std::find(hands.begin(), hands.end(), h.index()) != hands.end();
    };
    EXPECT_FALSE(has(Hand::pair(0)));
    EXPECT_FALSE(has(Hand::offsuit(12, 11)));  // 32o: folds among folds
    for (int h : hands) EXPECT_TRUE(isEdgeHand(book.pack, Spot{0, 0}, Hand::fromIndex(h)));
}

TEST(SeatTable, ShowsTheSituationTheTitleNames) {
    using R = SeatRole;
    auto roles = [](Spot spot) {
        std::vector<R> r;
        for (const SeatView& v : tableSeats(spot)) r.push_back(v.role);
        return r;
    };
    // "CO open": UTG and MP folded, the rest still to act.
    EXPECT_EQ(roles({2, 2}), (std::vector<R>{R::Folded, R::Folded, R::Waiting, R::Waiting,
                                             R::Waiting, R::Waiting}));
    // "BU vs MP": MP raised, UTG and CO folded.
    EXPECT_EQ(roles({3, 1}), (std::vector<R>{R::Folded, R::Raised, R::Folded, R::Waiting,
                                             R::Waiting, R::Waiting}));
    // "MP vs SB 3bet": MP raised, SB 3-bet, everyone else out.
    EXPECT_EQ(roles({1, 4}),
              (std::vector<R>{R::Folded, R::Raised, R::Folded, R::Folded, R::ThreeBet, R::Folded}));
    const auto seats = tableSeats({1, 4});
    EXPECT_TRUE(seats[1].hero);
    EXPECT_EQ(seats[4].bet.toStdString(), "3-bet");
    EXPECT_EQ(seats[5].bet.toStdString(), "1");  // the big blind's post stays
    // "BB vs SB open": the small blind raised, everyone else folded.
    EXPECT_EQ(roles({5, 5}),
              (std::vector<R>{R::Folded, R::Folded, R::Folded, R::Folded, R::Raised, R::Waiting}));
}
