// The trainer's window driven from the keyboard: answers land in the
// history one by one, the buttons follow the file's order of actions, the
// session ends in a summary, the statistics view counts the answers; a bad
// range file and a damaged history are reported, not fatal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <vector>

#include "statisticsdialog.h"
#include "trainerwindow.h"

using namespace trainer;

namespace {

QString text(QWidget& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

QStringList answerLabels(QWidget& window) {
    QStringList labels;
    for (int i = 1;; ++i) {
        auto* b = window.findChild<QPushButton*>(QStringLiteral("Answer%1").arg(i));
        if (!b) return labels;
        labels << b->text();
    }
}

struct Fixture {
    QTemporaryDir dir;
    TrainerOptions options;
    Fixture(const QString& ranges = QStringLiteral(TABULO_RANGES_FILE)) {
        options.rangeFile = dir.filePath(QStringLiteral("ranges.txt"));
        QFile::copy(ranges, options.rangeFile);
        options.historyFile = dir.filePath(QStringLiteral("trainer.sqlite"));
        options.seed = 99;
    }
};

void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

}  // namespace

TEST(TrainerWindow, AKeyboardSessionIsStoredAnswerByAnswerAndSummed) {
    Fixture f;
    TrainerWindow window(f.options);
    ASSERT_TRUE(window.windowTitle().startsWith(QStringLiteral("Tabulo trainer")));
    window.findChild<QSpinBox*>(QStringLiteral("SessionLength"))->setValue(6);
    window.startSession();
    showActive(window);

    std::vector<std::pair<int, int>> asked;
    for (int i = 1; i <= 6; ++i) {
        ASSERT_TRUE(window.question().has_value());
        asked.push_back({window.question()->card.spot, window.question()->card.hand});
        const QString title = text(window, "SpotTitle");
        // The default file lists raise/reraise, raise/fold, call against a
        // raise (its own order, not the legend's) and raise in an open.
        const QStringList expected =
            title.endsWith(QStringLiteral(" open"))
                ? QStringList{"1  raise", "2  fold"}
                : QStringList{"1  raise/reraise", "2  raise/fold", "3  call", "4  fold"};
        EXPECT_EQ(answerLabels(window), expected) << title.toStdString();
        EXPECT_FALSE(text(window, "Roll").isEmpty());
        QTest::keyClick(&window, Qt::Key_2);
        EXPECT_TRUE(window.showingFeedback());
        EXPECT_TRUE(text(window, "Verdict").startsWith(QStringLiteral("Right")) ||
                    text(window, "Verdict").startsWith(QStringLiteral("Wrong")));
        // The answer is committed before the next question is asked.
        EXPECT_EQ(window.history().reviewCount(), i);
        EXPECT_EQ(window.findChild<QProgressBar*>(QStringLiteral("SessionProgress"))->value(), i);
        QTest::keyClick(&window, Qt::Key_Space);
    }
    auto* pages = window.findChild<QStackedWidget*>();
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_TRUE(text(window, "Summary").contains(QStringLiteral(" of 6 right")))
        << text(window, "Summary").toStdString();
    EXPECT_FALSE(window.findChild<QLabel*>(QStringLiteral("SummaryMap"))->pixmap().isNull());

    // Enter starts the next session.
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_TRUE(window.question().has_value());

    StatisticsDialog* stats = window.showStatistics();
    EXPECT_EQ(stats->totalAnswers(), 6);
    EXPECT_TRUE(stats->windowTitle().endsWith(QStringLiteral("(6 answers)")));
    // Every answer goes to the CSV file, one line each below the header.
    const QString csv = f.dir.filePath(QStringLiteral("answers.csv"));
    window.chooseCsvFile = [&] { return csv; };
    QTest::mouseClick(stats->findChild<QPushButton*>(QStringLiteral("ExportCsv")), Qt::LeftButton);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 7);
    // The weakest pairs are drilled: only pairs answered before qualify.
    QTest::mouseClick(stats->findChild<QPushButton*>(QStringLiteral("DrillWeakest")),
                      Qt::LeftButton);
    ASSERT_TRUE(window.question().has_value());
    EXPECT_TRUE(window.drill()->hasFocus());
    const std::pair<int, int> card{window.question()->card.spot, window.question()->card.hand};
    EXPECT_NE(std::find(asked.begin(), asked.end(), card), asked.end());
}

TEST(TrainerWindow, FrequenciesAreSetWithKeysAndGraded) {
    Fixture f;
    TrainerWindow window(f.options);
    showActive(window);
    // Alt+G reaches the grading list; two steps down is the frequency mode.
    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    QWidget* list = QApplication::focusWidget();
    ASSERT_NE(list, nullptr);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_TRUE(text(window, "ModeExplanation").contains(QStringLiteral("10 points")));
    QTest::keyClick(&window, Qt::Key_1);
    auto* slider = window.findChild<QSlider*>(QStringLiteral("Share1"));
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(slider->hasFocus());
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(slider->value(), 10);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(window.showingFeedback());
    EXPECT_EQ(window.history().reviewCount(), 1);
}

TEST(TrainerWindow, ABadRangeFileIsNamedWithItsLineAndToken) {
    Fixture f(QStringLiteral(TABULO_BAD_RANGES_FILE));
    TrainerWindow window(f.options);
    EXPECT_THAT(text(window, "SpotTitle").toStdString(),
                testing::StartsWith("ranges.txt: line 5: 'K1s': '1' is not a rank"));
    EXPECT_FALSE(window.question().has_value());
    QTest::keyClick(&window, Qt::Key_1);
    EXPECT_EQ(window.history().reviewCount(), 0);
}

TEST(TrainerWindow, ADamagedHistoryIsReportedKeptAndReplacedOnRequest) {
    Fixture f;
    {
        QFile bad(f.options.historyFile);
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("not a database at all, but the user's file");
    }
    TrainerWindow window(f.options);
    showActive(window);
    EXPECT_TRUE(text(window, "HistoryStatus").contains(QStringLiteral("damaged")));
    auto* fresh = window.findChild<QPushButton*>(QStringLiteral("FreshHistory"));
    ASSERT_TRUE(fresh->isVisible());
    // Drilling goes on without history.
    QTest::keyClick(&window, Qt::Key_1);
    EXPECT_TRUE(window.showingFeedback());
    {
        QFile bad(f.options.historyFile);
        ASSERT_TRUE(bad.open(QIODevice::ReadOnly));
        EXPECT_EQ(bad.readAll(), QByteArray("not a database at all, but the user's file"));
    }
    QTest::mouseClick(fresh, Qt::LeftButton);
    EXPECT_TRUE(window.history().isOpen());
    EXPECT_FALSE(fresh->isVisible());
    QTest::keyClick(&window, Qt::Key_Space);
    QTest::keyClick(&window, Qt::Key_1);
    EXPECT_EQ(window.history().reviewCount(), 1);
}

TEST(TrainerWindow, FollowsTheRangeFileWhenItChanges) {
    Fixture f;
    TrainerWindow window(f.options);
    const int utg = chartpack::Spot{0, 0}.index();
    const int sevenTwo = chartpack::handFromKey("72o")->index();
    ASSERT_EQ(window.drill()->book().pack.weight(utg, sevenTwo, chartpack::Action::Open), 0);
    QFile original(f.options.rangeFile);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();
    auto save = [&](const QByteArray& bytes) {
        // As the editor saves: a new file renamed over the old one.
        QSaveFile file(f.options.rangeFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        ASSERT_TRUE(file.commit());
    };
    QByteArray opens = before;
    opens.replace("[UTG open]\n", "[UTG open]\nraise: 72o\n");
    ASSERT_NE(opens, before);
    save(opens);
    auto opensSevenTwo = [&] {
        return window.drill()->book().pack.weight(utg, sevenTwo, chartpack::Action::Open) ==
               chartpack::kFullWeight;
    };
    ASSERT_TRUE(QTest::qWaitFor(opensSevenTwo, 10000));

    // A file that no longer parses is named; the ranges read before stay.
    QByteArray broken = before;
    broken.replace("[UTG open]\n", "[UTG open]\nraise: 7Xo\n");
    save(broken);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return text(window, "HistoryStatus").contains(QStringLiteral("'7Xo'")); }, 10000))
        << text(window, "HistoryStatus").toStdString();
    EXPECT_TRUE(opensSevenTwo());
}
