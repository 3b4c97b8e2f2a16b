#include "drill.h"

#include <algorithm>

namespace trainer {

using namespace chartpack;

SpotKind kindOf(Spot spot) {
    if (spot.isSeat() && spot.hero != kBigBlind) return SpotKind::Open;
    return spot.facesThreeBet() ? SpotKind::VersusThreeBet : SpotKind::VersusOpen;
}

bool isEdgeHand(const ChartPack& pack, Spot spot, Hand hand) {
    const Strategy& own = pack.strategy(spot.index(), hand.index());
    const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& step : steps) {
        const int row = hand.row + step[0];
        const int col = hand.col + step[1];
        if (row < 0 || col < 0 || row >= kRankCount || col >= kRankCount) continue;
        if (!(pack.strategy(spot.index(), Hand{row, col}.index()) == own)) return true;
    }
    return false;
}

Drill::Drill(RangeBook book, QString rangeFile, uint64_t seed)
    : book_(std::move(book)), rangeFile_(std::move(rangeFile)), random_(seed) {}

const BookSpot& Drill::spotOf(const Question& question) const {
    return *book_.find(Spot::fromIndex(question.card.spot));
}

const Schedule& Drill::schedule(CardId card) const {
    return cards_[static_cast<size_t>(card.spot)][static_cast<size_t>(card.hand)];
}

void Drill::loadCards(const QHash<QString, StoredCard>& stored) {
    for (const BookSpot& spot : book_.spots) {
        const QString spotKey = QString::fromStdString(spot.spot.key());
        for (int h = 0; h < kHandCount; ++h) {
            Schedule& schedule =
                cards_[static_cast<size_t>(spot.spot.index())][static_cast<size_t>(h)];
            schedule = {};
            const auto at = stored.find(
                cardKey(spotKey, QString::fromStdString(handKeys()[static_cast<size_t>(h)])));
            if (at == stored.end()) continue;
            const QString mix = mixKey(book_.pack.strategy(spot.spot.index(), h), spot.actions);
            if (at->mix == mix) schedule = at->schedule;
        }
    }
}

bool Drill::passes(CardId card) const {
    const Spot spot = Spot::fromIndex(card.spot);
    if (!filters_.seats[static_cast<size_t>(spot.hero)]) return false;
    if (!filters_.kinds[static_cast<size_t>(kindOf(spot))]) return false;
    const Hand hand = Hand::fromIndex(card.hand);
    switch (filters_.hands) {
        case HandFilter::All:
            return true;
        case HandFilter::Edge:
            return isEdgeHand(book_.pack, spot, hand);
        case HandFilter::Mixed:
            return !book_.pack.strategy(card.spot, card.hand).isPure();
    }
    return true;
}

std::vector<CardId> Drill::eligible() const {
    std::vector<CardId> cards;
    if (!focus_.empty()) {
        for (CardId card : focus_)
            if (book_.find(Spot::fromIndex(card.spot))) cards.push_back(card);
        return cards;
    }
    for (const BookSpot& spot : book_.spots)
        for (int h = 0; h < kHandCount; ++h)
            if (passes({spot.spot.index(), h})) cards.push_back({spot.spot.index(), h});
    return cards;
}

std::optional<Question> Drill::next(int64_t now) {
    const std::vector<CardId> cards = eligible();
    if (cards.empty()) return std::nullopt;
    // The card just asked waits for another unless it is the only one.
    auto notLast = [&](CardId card) { return !last_ || !(card == *last_) || cards.size() == 1; };
    std::optional<CardId> chosen;
    int64_t overdue = 0;
    std::vector<Hand> fresh;
    std::vector<CardId> freshCards;
    std::optional<CardId> soonest;
    int64_t soonestDue = 0;
    for (CardId card : cards) {
        if (!notLast(card)) continue;
        const Schedule& s = schedule(card);
        if (!s.seen) {
            freshCards.push_back(card);
            fresh.push_back(Hand::fromIndex(card.hand));
        } else if (s.due <= now) {
            if (!chosen || now - s.due > overdue) {
                chosen = card;
                overdue = now - s.due;
            }
        } else if (!soonest || s.due < soonestDue) {
            soonest = card;
            soonestDue = s.due;
        }
    }
    if (!chosen && !freshCards.empty()) {
        // Among the new cards, a hand class as often as it is dealt.
        const Hand hand = *pickByCombos(fresh, random_);
        std::vector<CardId> same;
        for (CardId card : freshCards)
            if (card.hand == hand.index()) same.push_back(card);
        chosen = same[std::uniform_int_distribution<size_t>(0, same.size() - 1)(random_)];
    }
    if (!chosen) chosen = soonest;
    if (!chosen) chosen = cards.front();
    last_ = chosen;
    Question question;
    question.card = *chosen;
    question.cards = dealSuits(Hand::fromIndex(chosen->hand), random_);
    question.roll = std::uniform_int_distribution<int>(1, 100)(random_);
    return question;
}

Graded Drill::answer(const Question& question, GradingMode mode, const Answer& answer, int answerMs,
                     int64_t nowMs) {
    const BookSpot& spot = spotOf(question);
    const Strategy& strategy = book_.pack.strategy(question.card.spot, question.card.hand);
    Graded graded;
    graded.right = isRight(mode, strategy, spot.actions, question.roll, answer);
    if (mode == GradingMode::Roll)
        graded.rightActions = {rollAction(strategy, spot.actions, question.roll)};
    else
        graded.rightActions = playedActions(strategy, spot.actions);

    Schedule& schedule =
        cards_[static_cast<size_t>(question.card.spot)][static_cast<size_t>(question.card.hand)];
    schedule = review(schedule, qualityOf(graded.right, answerMs / 1000.0), nowMs / 1000);

    Review& r = graded.review;
    r.timeMs = nowMs;
    r.rangeFile = rangeFile_;
    r.spot = QString::fromStdString(spot.spot.key());
    r.hand = QString::fromStdString(Hand::fromIndex(question.card.hand).key());
    r.cards = cardsText(question.cards);
    if (mode == GradingMode::Frequencies) {
        QStringList shares;
        for (size_t i = 0; i < spot.actions.size() && i < answer.shares.size(); ++i)
            shares
                << QStringLiteral("%1 %2").arg(actionLabel(spot.actions[i])).arg(answer.shares[i]);
        r.answer = shares.join(QStringLiteral(" / "));
    } else {
        r.answer = actionLabel(answer.action);
    }
    r.right = graded.right;
    r.mode = mode;
    r.roll = question.roll;
    r.answerMs = answerMs;
    graded.card = {mixKey(strategy, spot.actions), schedule};
    return graded;
}

double Session::secondsPerAnswer() const {
    return asked_ == 0 ? 0.0 : static_cast<double>(totalMs_) / 1000.0 / asked_;
}

void Session::add(CardId card, bool right, int answerMs) {
    ++asked_;
    if (right) ++right_;
    totalMs_ += answerMs;
    auto at = tallies_.find(card.spot);
    if (at == tallies_.end()) at = tallies_.insert(card.spot, SpotTallies{});
    Tally& tally = (*at)[static_cast<size_t>(card.hand)];
    ++tally.answers;
    if (right) ++tally.right;
}

}  // namespace trainer
