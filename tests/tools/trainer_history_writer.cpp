// Helper of the history test: records answers into a history as fast as it
// can and prints "committed N" after each commit.
//
//   trainer_history_writer <history file> <answers>
#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>

#include "history.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) return 2;
    trainer::History history;
    if (history.open(QString::fromLocal8Bit(argv[1])) != trainer::HistoryState::Open) {
        std::fprintf(stderr, "open: %s\n", qPrintable(history.stateText()));
        return 1;
    }
    const int answers = std::atoi(argv[2]);
    for (int i = 1; i <= answers; ++i) {
        trainer::Review review;
        review.timeMs = QDateTime::currentMSecsSinceEpoch();
        review.rangeFile = QStringLiteral("ranges.txt");
        review.spot = QStringLiteral("UTG");
        review.hand = QStringLiteral("AJo");
        review.cards = QStringLiteral("A\u2660 J\u2666");
        review.answer = QStringLiteral("raise");
        review.right = i % 2 == 0;
        review.roll = 1 + i % 100;
        trainer::StoredCard card{QStringLiteral("raise:6000 fold:4000"), {}};
        card.schedule.repetitions = i;
        if (!history.record(review, card)) {
            std::fprintf(stderr, "record %d: %s\n", i, qPrintable(history.error()));
            return 1;
        }
        std::printf("committed %d\n", i);
        std::fflush(stdout);
    }
    return 0;
}
