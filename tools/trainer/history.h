#pragma once
// The answer history: SQLite through Qt SQL, in WAL mode with a busy
// timeout so that two trainers can share it, one transaction per answer.
//
// Tables: reviews (one row per answer), cards (the schedule of each spot and
// hand class of a range file). The schema version is SQLite's user_version,
// the file is marked by its application_id. A file that is not a database,
// fails its check, belongs to another program or comes from a newer trainer
// is never written: the history stays off, or the user starts a fresh file
// and the old one is kept beside it under another name.

#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "grading.h"
#include "scheduler.h"

namespace trainer {

inline constexpr int kSchemaVersion = 2;
inline constexpr int32_t kApplicationId = 0x54626c54;  // "TblT"
inline constexpr int kBusyTimeoutMs = 5000;

enum class HistoryState { Off, Open, Corrupt, Newer, Foreign, Failed };

struct Review {
    int64_t timeMs = 0;  // since the epoch
    QString rangeFile;
    QString spot;    // "MPvsUTG"
    QString hand;    // "AJo"
    QString cards;   // "A♠ J♦"
    QString answer;  // "raise", or the shares "raise 60 / fold 40"
    bool right = false;
    GradingMode mode = GradingMode::Roll;
    int roll = 0;
    int answerMs = 0;
};

struct StoredCard {
    QString mix;
    Schedule schedule;
};

// Answers and right answers of every spot and hand of a range file.
struct Tally {
    int answers = 0;
    int right = 0;
};
using SpotTallies = std::array<Tally, chartpack::kHandCount>;

class History {
public:
    History();
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // Opens or creates the history; a file that must not be written is left
    // as it is and the state says why.
    HistoryState open(const QString& path);
    // Moves the file that could not be used aside (kept, renamed with the
    // time) and opens a new one in its place.
    HistoryState startFresh();
    void close();

    HistoryState state() const { return state_; }
    bool isOpen() const { return state_ == HistoryState::Open; }
    const QString& path() const { return path_; }
    // The reason of the last failure, for the window.
    const QString& error() const { return error_; }
    QString stateText() const;

    // Stores an answer and the card's new schedule in one transaction;
    // false (with error()) when it could not be committed.
    bool record(const Review& review, const StoredCard& card);

    // "spot/hand" -> card, for one range file.
    QHash<QString, StoredCard> cards(const QString& rangeFile);
    // Per spot key, the tallies of its hands.
    QHash<QString, SpotTallies> tallies(const QString& rangeFile);
    int reviewCount();
    // Writes every answer as CSV; false with error() on failure.
    bool exportCsv(const QString& file);

private:
    bool exec(const QString& sql);
    bool enterWal();
    bool migrate();
    HistoryState inspect();

    QString connection_;
    QString path_;
    QString error_;
    HistoryState state_ = HistoryState::Off;
};

// The key of a card in the history's card map.
QString cardKey(const QString& spot, const QString& hand);

}  // namespace trainer
