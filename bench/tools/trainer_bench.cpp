// The trainer's response times: an answer graded, committed and shown with
// its chart, then the next question painted; the window built and painted
// over a history of 100,000 answers; the statistics view opened over it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <memory>

#include "rangebook.h"
#include "statisticsdialog.h"
#include "trainerwindow.h"

using namespace chartpack;
using namespace trainer;

namespace {

constexpr int kHistoryAnswers = 100000;

struct Place {
    QTemporaryDir dir;
    TrainerOptions options;
    Place() {
        options.rangeFile = QDir(dir.path()).filePath(QStringLiteral("ranges.txt"));
        QFile::copy(QStringLiteral(TABULO_RANGES_FILE), options.rangeFile);
        options.historyFile = QDir(dir.path()).filePath(QStringLiteral("trainer.sqlite"));
        options.seed = 1;
    }
    // A history of many answers over every spot and hand of the file.
    void fill(int answers) {
        {
            History history;
            history.open(options.historyFile);
        }
        const RangeBook book = loadRangeBook(options.rangeFile);
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
            db.setDatabaseName(options.historyFile);
            db.open();
            QSqlQuery query(db);
            query.exec(QStringLiteral("BEGIN"));
            query.prepare(QStringLiteral(
                "INSERT INTO reviews(time, range_file, spot, hand, cards, answer, correct, mode,"
                " roll, answer_ms) VALUES(?, ?, ?, ?, 'A\u2660 K\u2660', 'raise', ?, 'roll', 50, "
                "900)"));
            const QString file = QFileInfo(options.rangeFile).absoluteFilePath();
            for (int i = 0; i < answers; ++i) {
                const BookSpot& spot = book.spots[size_t(i) % book.spots.size()];
                query.addBindValue(qint64(1'800'000'000'000) + i);
                query.addBindValue(file);
                query.addBindValue(QString::fromStdString(spot.spot.key()));
                query.addBindValue(QString::fromStdString(handKeys()[size_t(i * 7) % kHandCount]));
                query.addBindValue(i % 3 == 0 ? 0 : 1);
                query.exec();
            }
            QSqlQuery(db).exec(QStringLiteral("COMMIT"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    }
};

void BM_AnswerShownThenNextQuestionPainted(benchmark::State& state) {
    Place place;
    TrainerWindow window(place.options);
    window.show();
    if (!QTest::qWaitForWindowActive(&window)) state.SkipWithError("the window is not active");
    const bool toNext = state.range(0) == 1;
    for (auto _ : state) {
        if (toNext) {
            state.PauseTiming();
            QTest::keyClick(&window, Qt::Key_1);
            window.repaint();
            state.ResumeTiming();
            QTest::keyClick(&window, Qt::Key_Space);
        } else {
            QTest::keyClick(&window, Qt::Key_1);
        }
        window.repaint();
        if (!toNext) {
            state.PauseTiming();
            QTest::keyClick(&window, Qt::Key_Space);
            state.ResumeTiming();
        }
    }
    state.SetLabel(toNext ? "Space to the next question painted"
                          : "answer graded, committed and shown with its chart");
}
BENCHMARK(BM_AnswerShownThenNextQuestionPainted)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_StartWith100000Answers(benchmark::State& state) {
    Place place;
    place.fill(kHistoryAnswers);
    for (auto _ : state) {
        auto window = std::make_unique<TrainerWindow>(place.options);
        window->show();
        window->repaint();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartWith100000Answers)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StatisticsOver100000Answers(benchmark::State& state) {
    Place place;
    place.fill(kHistoryAnswers);
    TrainerWindow window(place.options);
    window.show();
    for (auto _ : state) {
        StatisticsDialog* dialog = window.showStatistics();
        dialog->repaint();
        state.PauseTiming();
        dialog->hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StatisticsOver100000Answers)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
