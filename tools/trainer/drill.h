#pragma once
// The drill: which card (spot and hand class) is asked next, the question
// dealt for it, and the grading and rescheduling of the answer.
//
//   filters -> eligible cards -> due first, then new by combinations -> deal suits and roll
//   answer -> grade -> SM-2 schedule -> review and card for the history

#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "deal.h"
#include "grading.h"
#include "history.h"
#include "rangebook.h"
#include "scheduler.h"

namespace trainer {

enum class SpotKind { Open, VersusOpen, VersusThreeBet };
inline constexpr int kSpotKindCount = 3;
SpotKind kindOf(chartpack::Spot spot);

enum class HandFilter { All, Edge, Mixed };

struct Filters {
    std::array<bool, chartpack::kSeatCount> seats{true, true, true, true, true, true};
    std::array<bool, kSpotKindCount> kinds{true, true, true};
    HandFilter hands = HandFilter::All;
};

// Whether a neighbour in the 13 x 13 grid (above, below, left, right) plays
// differently in the spot.
bool isEdgeHand(const chartpack::ChartPack& pack, chartpack::Spot spot, chartpack::Hand hand);

struct CardId {
    int spot = 0;  // chartpack::Spot::index()
    int hand = 0;  // chartpack::Hand::index()
    friend bool operator==(CardId, CardId) = default;
};

struct Question {
    CardId card;
    HoleCards cards;
    int roll = 1;  // 1..100
};

struct Graded {
    bool right = false;
    // The actions that were right besides the answer (any-played mode), or
    // the one that was (the others).
    std::vector<chartpack::Action> rightActions;
    Review review;
    StoredCard card;
};

class Drill {
public:
    Drill(RangeBook book, QString rangeFile, uint64_t seed);

    const RangeBook& book() const { return book_; }
    const QString& rangeFile() const { return rangeFile_; }
    const BookSpot& spotOf(const Question& question) const;

    // Schedules from the history; a card whose mix has changed in the file
    // since starts again.
    void loadCards(const QHash<QString, StoredCard>& stored);
    const Schedule& schedule(CardId card) const;

    void setFilters(const Filters& filters) { filters_ = filters; }
    const Filters& filters() const { return filters_; }
    // Only these cards until cleared (the weakest pairs); empty: the filters.
    void setFocus(std::vector<CardId> cards) { focus_ = std::move(cards); }
    bool hasFocus() const { return !focus_.empty(); }
    std::vector<CardId> eligible() const;

    // The next question at now (seconds): the most overdue card, else a new
    // one picked by its hand's combinations, else the one due soonest.
    // Nothing when no card passes the filters.
    std::optional<Question> next(int64_t now);

    Graded answer(const Question& question, GradingMode mode, const Answer& answer, int answerMs,
                  int64_t nowMs);

private:
    bool passes(CardId card) const;

    RangeBook book_;
    QString rangeFile_;
    Random random_;
    Filters filters_;
    std::vector<CardId> focus_;
    std::array<std::array<Schedule, chartpack::kHandCount>, chartpack::kSpotCount> cards_{};
    std::optional<CardId> last_;
};

// The answers of one session.
class Session {
public:
    explicit Session(int length = 50) : length_(length) {}
    int length() const { return length_; }
    int asked() const { return asked_; }
    int right() const { return right_; }
    bool finished() const { return asked_ >= length_; }
    double secondsPerAnswer() const;
    void add(CardId card, bool right, int answerMs);
    // Per spot index, the tallies of this session.
    const QHash<int, SpotTallies>& tallies() const { return tallies_; }

private:
    int length_;
    int asked_ = 0;
    int right_ = 0;
    int64_t totalMs_ = 0;
    QHash<int, SpotTallies> tallies_;
};

}  // namespace trainer
