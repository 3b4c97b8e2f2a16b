// The range editor driven offscreen as a user would: pick a chart, paint with
// the brush, type ranges, undo, redo, save, render, put a chart on a Custom
// slot; and a broken file opened without losing a byte.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "customslot.h"
#include "gridwidget.h"
#include "mainwindow.h"
#include "tabulo/chartpack/render.h"
#include "tabulo/chartpack/userfolders.h"
#include "tabulo/widgets/ini.h"

using namespace chartpack;
using ranges::GridWidget;
using ranges::MainWindow;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

int hand(const char* key) {
    return handFromKey(key)->index();
}

constexpr int kMpVsUtg = 6;  // Spot{1, 0}

// A window on a copy of the default range file in a scratch folder.
class Editor : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        places_ = {dir_.filePath("ranges.txt"), dir_.filePath("charts"),
                   dir_.filePath("Custom.ini")};
        original_ = readAll(TABULO_RANGES_FILE);
        writeAll(places_.rangesFile, original_);
        window_ = std::make_unique<MainWindow>(places_);
        window_->questions().showError = [this](const QString& text) { shown_ << text; };
        window_->openFile(places_.rangesFile);
        window_->show();
    }

    template <typename T>
    T* find(const char* name) {
        T* child = window_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QAction* action(const QString& text) {
        for (QAction* a : window_->findChildren<QAction*>())
            if (a->text() == text) return a;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    void chooseChart(const QString& name) {
        auto* list = find<QListWidget>("Charts");
        const auto items = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        list->scrollToItem(items[0]);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(items[0]).center());
        ASSERT_EQ(window_->model().spot(), items[0]->data(Qt::UserRole).toInt());
    }
    void setBrush(const QString& action, int percent) {
        auto* combo = find<QComboBox>("BrushAction");
        combo->setCurrentIndex(combo->findText(action));
        find<QSpinBox>("BrushFrequency")->setValue(percent);
    }
    // Presses on the first hand, drags across the others, releases on the last.
    void stroke(std::initializer_list<const char*> keys) {
        auto* grid = find<GridWidget>("HandGrid");
        std::vector<QPoint> points;
        for (const char* key : keys) points.push_back(grid->cellRect(hand(key)).center());
        QTest::mousePress(grid, Qt::LeftButton, {}, points.front());
        for (size_t i = 1; i < points.size(); ++i) {
            QMouseEvent move(QEvent::MouseMove, points[i], grid->mapToGlobal(points[i]),
                             Qt::NoButton, Qt::LeftButton, {});
            QCoreApplication::sendEvent(grid, &move);
        }
        QTest::mouseRelease(grid, Qt::LeftButton, {}, points.back());
    }
    Weight weight(int spot, const char* key, Action a) {
        return window_->model().pack().weight(spot, hand(key), a);
    }

    QTemporaryDir dir_;
    ranges::Places places_;
    QByteArray original_;
    std::unique_ptr<MainWindow> window_;
    QStringList shown_;
};

}  // namespace

TEST(Brush, KeepsEveryHandWithin100Percent) {
    struct Row {
        Strategy start;
        Action brush;
        Weight weight;
        Weight call, raise_fold, reraise;
    };
    auto mix = [](Weight call, Weight rf, Weight rr) {
        Strategy s;
        s.set(Action::Call, call);
        s.set(Action::RaiseFold, rf);
        s.set(Action::RaiseReraise, rr);
        return s;
    };
    const std::vector<Row> rows = {
        {mix(10000, 0, 0), Action::RaiseFold, 4000, 6000, 4000, 0},
        {mix(5000, 0, 5000), Action::Call, 10000, 10000, 0, 0},
        {mix(3000, 0, 0), Action::RaiseFold, 5000, 3000, 5000, 0},
        {mix(6000, 0, 4000), Action::Fold, 5000, 3000, 0, 2000},
        {mix(6000, 0, 4000), Action::Fold, 10000, 0, 0, 0},
        {mix(0, 0, 0), Action::Fold, 5000, 0, 0, 0},
    };
    for (const Row& row : rows) {
        const Strategy got = ranges::brushed(row.start, row.brush, row.weight);
        EXPECT_EQ(got, mix(row.call, row.raise_fold, row.reraise))
            << actionName(row.brush) << " " << row.weight;
    }
}

TEST_F(Editor, PaintUndoRedoSaveAndRenderAgreeWithThePackTool) {
    chooseChart("MP vs UTG");
    setBrush("call", 60);
    stroke({"AJo", "ATo"});
    EXPECT_EQ(weight(kMpVsUtg, "AJo", Action::Call), 6000);
    EXPECT_EQ(weight(kMpVsUtg, "ATo", Action::Call), 6000);
    EXPECT_EQ(weight(kMpVsUtg, "A9o", Action::Call), 0);
    // Live: the call row's text and counts (36 combos + 2 x 12 x 0.6).
    EXPECT_EQ(find<QLineEdit>("ActionRange0")->text(), "JJ-88, AQs-AJs, KQs, AJo-ATo:0.6");
    EXPECT_EQ(find<QLabel>("ActionCount0")->text(), "50.4 combos, 3.8%");
    // The preview shows the painted cell as call and fold bands.
    const QImage preview = find<QLabel>("Preview")->pixmap().toImage();
    const QRect cell = handCellRect(*handFromKey("AJo"));
    EXPECT_EQ(preview.pixelColor((cell.left() + 6) / 2, (cell.top() + 6) / 2), QColor(255, 255, 0));
    EXPECT_EQ(preview.pixelColor((cell.right() - 6) / 2, (cell.top() + 6) / 2),
              QColor(192, 192, 192));

    // The stroke undoes and redoes as one step.
    action("Undo")->trigger();
    EXPECT_EQ(weight(kMpVsUtg, "AJo", Action::Call), 0);
    EXPECT_EQ(weight(kMpVsUtg, "ATo", Action::Call), 0);
    EXPECT_FALSE(window_->model().modified());
    action("Redo")->trigger();
    EXPECT_EQ(weight(kMpVsUtg, "AJo", Action::Call), 6000);
    EXPECT_EQ(weight(kMpVsUtg, "ATo", Action::Call), 6000);

    action("Save")->trigger();
    QByteArray want = original_;
    want.replace("call:          JJ-88, AQs-AJs, KQs\n\n[CO vs UTG]",
                 "call: JJ-88, AQs-AJs, KQs, AJo-ATo:0.6\n\n[CO vs UTG]");
    ASSERT_NE(want, original_);
    EXPECT_EQ(readAll(places_.rangesFile), want);

    QSignalSpy done(&window_->renderJob(), &ranges::RenderJob::finished);
    action("Render charts")->trigger();
    ASSERT_TRUE(done.wait(120000));
    EXPECT_TRUE(done.at(0).at(0).toBool()) << done.at(0).at(1).toString().toStdString();
    EXPECT_EQ(find<QProgressBar>("RenderProgress")->value(), 205);

    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ASAN_OPTIONS", "detect_leaks=0");  // the toolkit's own caches at exit
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral(TABULO_CHARTPACK_TOOL),
               {"--quiet", places_.rangesFile, dir_.filePath("cli")});
    ASSERT_TRUE(tool.waitForFinished(120000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    for (const QString& name : packFileNames()) {
        const QByteArray ours = readAll(QDir(places_.chartFolder).filePath(name));
        ASSERT_FALSE(ours.isEmpty()) << name.toStdString();
        EXPECT_EQ(ours, readAll(dir_.filePath("cli/" + name))) << name.toStdString();
    }
    EXPECT_TRUE(shown_.isEmpty()) << shown_.join('\n').toStdString();
}

TEST_F(Editor, TypedRangesApplyOrStayWithTheirError) {
    chooseChart("MP vs UTG");
    auto* call = find<QLineEdit>("ActionRange0");
    call->selectAll();
    QTest::keyClicks(call, "AA, K1s");
    QTest::keyClick(call, Qt::Key_Return);
    EXPECT_EQ(find<QLabel>("RangeError")->text(),
              "call: line 1: 'K1s': '1' is not a rank (A K Q J T 9 8 7 6 5 4 3 2)");
    EXPECT_FALSE(window_->model().modified());
    // A change elsewhere keeps what was typed.
    setBrush("raise/fold", 100);
    stroke({"A3s"});
    EXPECT_EQ(weight(kMpVsUtg, "A3s", Action::RaiseFold), kFullWeight);
    EXPECT_EQ(call->text(), "AA, K1s");
    chooseChart("CO vs UTG");
    chooseChart("MP vs UTG");
    EXPECT_EQ(call->text(), "AA, K1s");

    // KK already reraises: half a call more would play it 150 %.
    call->selectAll();
    QTest::keyClicks(call, "JJ, KK:0.5");
    QTest::keyClick(call, Qt::Key_Return);
    EXPECT_TRUE(
        find<QLabel>("RangeError")
            ->text()
            .endsWith("'KK:0.5': KK would play more than 100%: the other actions take 100% of it"))
        << find<QLabel>("RangeError")->text().toStdString();
    EXPECT_EQ(weight(kMpVsUtg, "KK", Action::Call), 0);

    // A pasted solver list with its own spacing.
    call->selectAll();
    QTest::keyClicks(call, "JJ,TT: 0.5 ,KK:0");
    QTest::keyClick(call, Qt::Key_Return);
    EXPECT_TRUE(find<QLabel>("RangeError")->text().isEmpty());
    EXPECT_EQ(weight(kMpVsUtg, "JJ", Action::Call), kFullWeight);
    EXPECT_EQ(weight(kMpVsUtg, "TT", Action::Call), 5000);
    EXPECT_EQ(weight(kMpVsUtg, "TT", Action::Fold), 5000);
    EXPECT_EQ(weight(kMpVsUtg, "AQs", Action::Call), 0);
    EXPECT_EQ(call->text(), "JJ, TT:0.5");
    action("Undo")->trigger();
    EXPECT_EQ(weight(kMpVsUtg, "AQs", Action::Call), kFullWeight);
}

TEST_F(Editor, ABrokenFileOpensAsTextWithItsErrorAndNothingIsLost) {
    const QByteArray broken = readAll(TABULO_BAD_RANGES_FILE);
    writeAll(places_.rangesFile, broken);
    window_->openFile(places_.rangesFile);
    EXPECT_TRUE(find<QLabel>("FileError")
                    ->text()
                    .endsWith("line 5: 'K1s': '1' is not a rank (A K Q J T 9 8 7 6 5 4 3 2)"))
        << find<QLabel>("FileError")->text().toStdString();
    auto* text = find<QPlainTextEdit>("FileText");
    EXPECT_EQ(text->toPlainText().toUtf8(), broken);
    EXPECT_EQ(text->textCursor().blockNumber(), 4);
    EXPECT_FALSE(action("Render charts")->isEnabled());

    // Typed into and saved before it parses: saved as typed.
    text->appendPlainText("# half done");
    action("Save")->trigger();
    EXPECT_EQ(readAll(places_.rangesFile), broken + "\n# half done");
    // Once it parses it is charts again.
    text->setPlainText(QString::fromUtf8(original_));
    find<QPushButton>("ReadText")->click();
    EXPECT_TRUE(find<QLabel>("FileError")->text().isEmpty());
    EXPECT_TRUE(action("Render charts")->isEnabled());
    EXPECT_EQ(weight(kMpVsUtg, "AA", Action::RaiseReraise), kFullWeight);
}

TEST_F(Editor, APartialFileShowsTheSpotsItLacksGreyedAndAddsThem) {
    writeAll(places_.rangesFile, "[MP vs UTG]\ncall: AhKh:1, AsKs:1\nraise/reraise: AA\n");
    window_->openFile(places_.rangesFile);
    ASSERT_TRUE(find<QLabel>("FileError")->text().isEmpty())
        << find<QLabel>("FileError")->text().toStdString();
    auto* list = find<QListWidget>("Charts");
    auto item = [&](const char* name) { return list->findItems(name, Qt::MatchExactly).at(0); };
    EXPECT_NE(item("UTG open")->foreground(), item("MP vs UTG")->foreground());
    EXPECT_TRUE(item("UTG open")->toolTip().contains("add this spot"));

    chooseChart("UTG open");
    auto* add = find<QPushButton>("AddSpot");
    EXPECT_TRUE(add->isVisible());
    EXPECT_FALSE(find<GridWidget>("HandGrid")->isEnabled());
    EXPECT_FALSE(find<QLineEdit>("ActionRange0")->isEnabled());
    EXPECT_TRUE(find<QLabel>("Preview")->pixmap().isNull());
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_FALSE(add->isVisible());
    EXPECT_EQ(item("UTG open")->foreground(), item("MP vs UTG")->foreground());
    setBrush("raise", 100);
    stroke({"AA", "KK"});
    action("Save")->trigger();
    ASSERT_TRUE(shown_.isEmpty()) << shown_.join('\n').toStdString();
    EXPECT_EQ(readAll(places_.rangesFile),
              "[MP vs UTG]\ncall: AhKh:1, AsKs:1\nraise/reraise: AA\n\n[UTG open]\nraise: KK+\n");

    // Rendering writes the two charts; its warnings stay readable after it.
    QSignalSpy done(&window_->renderJob(), &ranges::RenderJob::finished);
    action("Render charts")->trigger();
    ASSERT_TRUE(done.wait(120000));
    EXPECT_EQ(QDir(dir_.filePath("charts/img/Positions")).entryList(QDir::Files),
              QStringList({"MPvsUTG.png", "UTG.png"}));
    EXPECT_TRUE(QDir(dir_.filePath("charts/img/Holecards")).isEmpty());
    EXPECT_TRUE(window_->statusBar()->currentMessage().startsWith("2 charts written, 0 unchanged"))
        << window_->statusBar()->currentMessage().toStdString();
    auto* warnings = find<QPlainTextEdit>("Warnings");
    EXPECT_TRUE(warnings->isVisible());
    EXPECT_EQ(warnings->toPlainText().left(62).toStdString(),
              "warning: UTG folds hands the hand grid opens from it: AKs AQs ");

    // The call range copied out in each format, and pasted back unchanged.
    chooseChart("MP vs UTG");
    auto* format = find<QComboBox>("CopyFormat");
    auto* call = find<QLineEdit>("ActionRange0");
    const std::vector<QString> copies = {"AKs:0.5", "AsKs: 0.5, AhKh: 0.5, AdKd: 0.5, AcKc: 0.5",
                                         "[50]AKs[/50]"};
    for (int i = 0; i < 3; ++i) {
        format->setCurrentIndex(i);
        QTest::mouseClick(find<QToolButton>("CopyRange0"), Qt::LeftButton);
        const QString copied = QGuiApplication::clipboard()->text();
        EXPECT_EQ(copied, copies[static_cast<size_t>(i)]);
        call->selectAll();
        QTest::keyClicks(call, copied);
        QTest::keyClick(call, Qt::Key_Return);
        EXPECT_TRUE(find<QLabel>("RangeError")->text().isEmpty());
        EXPECT_EQ(weight(kMpVsUtg, "AKs", Action::Call), 5000);
        EXPECT_EQ(call->text(), "AKs:0.5");
    }
}

TEST_F(Editor, PutsTheChartOnACustomSlotThroughTheViewersIni) {
    writeAll(places_.customIni, "[B1]\r\nFile=/x/mine.png\r\nCaption=Mine\r\n");
    chooseChart("MP vs UTG");
    setBrush("call", 50);
    stroke({"AJo"});
    window_->questions().chooseSlot = [] { return std::optional<int>(5); };
    action("Put on Custom slot...")->trigger();
    ASSERT_TRUE(shown_.isEmpty()) << shown_.join('\n').toStdString();
    const std::string ini = places_.customIni.toStdString();
    EXPECT_EQ(GetPrivateProfileString("B1", "File", "", ini), "/x/mine.png");
    EXPECT_EQ(GetPrivateProfileString("B5", "Caption", "", ini), "MP vs UTG");
    const std::string file = GetPrivateProfileString("B5", "File", "", ini);
    EXPECT_EQ(QString::fromStdString(file),
              QDir(places_.chartFolder).absoluteFilePath("custom/MPvsUTG.png"));
    const QImage picture(QString::fromStdString(file));
    ASSERT_EQ(picture.size(), QSize(kChartWidth, kChartHeight));
    const QRect cell = handCellRect(*handFromKey("AJo"));
    EXPECT_EQ(picture.pixelColor(cell.left() + 3, cell.top() + 3), QColor(255, 255, 0));
    EXPECT_EQ(picture.pixelColor(cell.right() - 3, cell.top() + 3), QColor(192, 192, 192));
}

TEST(Places, TheUsersRangeFileStartsAsTheDefaultPacksAndIsNeverReplaced) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("deep/tabulo/ranges.txt");
    QString error;
    ASSERT_TRUE(chartpack::ensureRangesFile(path, &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), readAll(TABULO_RANGES_FILE));
    writeAll(path, "# mine");
    ASSERT_TRUE(chartpack::ensureRangesFile(path, &error));
    EXPECT_EQ(readAll(path), "# mine");
}
