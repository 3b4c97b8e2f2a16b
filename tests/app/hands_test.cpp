// The Hands page: the 13 x 13 hand grid, and the chart it shows for a hand.

#include <QApplication>
#include <QTabBar>
#include <map>
#include <set>
#include <string>

#include "chartpage_fixture.h"
#include "tabulo/app/donate.h"
#include "tabulo/app/hands.h"
#include "tabulo/controls/button.h"
#include "tabulo/widgets/imagedecoder.h"
#include "tabulo_test/probe.h"

// The chart-pack generator's copy of the grid colours (header only, standard
// C++); the page keeps its own table, and the two must agree.

namespace {

constexpr int N = TClassHands_253CB10::RankCount;

constexpr uint32_t Red = 0x001600DD, Orange = 0x003C9DFF, Yellow = 0x0000FFFF, Green = 0x0039B93D,
                   Blue = 0x00F8CE52, Silver = 0x00C0C0C0;

class HandsPage : public ChartPageTest {
protected:
    void Start() {
        page_ = StartWithPage<TClassHands_253CB10>("Hands");
        ASSERT_NE(page_, nullptr);
    }
    TKVBitBtn* Cell(int row, int col) const { return page_->Cells[std::size_t(col * N + row)]; }
    QString File(const std::string& key) const { return PictureFile("Holecards", key); }
    static QPoint CentreOf(const TKVBitBtn* cell) {
        return {cell->Left + cell->Width / 2, cell->Top + cell->Height / 2};
    }

    TClassHands_253CB10* page_ = nullptr;
};

TEST_F(HandsPage, LaysOutThe169CellsByTheGridRule) {
    Start();
    std::set<std::string> keys;
    for (int col = 0; col < N; ++col) {
        for (int row = 0; row < N; ++row) {
            const TKVBitBtn* b = Cell(row, col);
            const std::string key = AsText(b->Data).str();
            SCOPED_TRACE(key);
            keys.insert(key);
            EXPECT_EQ(b->Left, 20 * col - 1);
            EXPECT_EQ(b->Top, 20 * row + 20);
            EXPECT_EQ(b->Width, 24);
            EXPECT_EQ(b->Height, 22);
            EXPECT_EQ(WidgetOf(b->Control)->geometry(), QRect(20 * col - 1, 20 * row + 20, 24, 22));
            // Two rank letters, the higher first; pairs plain, "s" above the
            // diagonal, "o" below.
            ASSERT_EQ(b->Caption.size(), 2u);
            const std::string ranks = "AKQJT98765432";
            EXPECT_LE(ranks.find(b->Caption.str()[0]), ranks.find(b->Caption.str()[1]));
            EXPECT_EQ(key, b->Caption.str() + (row < col ? "s" : row > col ? "o" : ""));
            EXPECT_TRUE(b->Hint.str().empty());
            EXPECT_EQ(b->HintRecord, nullptr);
            EXPECT_EQ(b->Font.Name.str(), "Tahoma");
            EXPECT_EQ(b->Font.Size, 8);
            EXPECT_EQ(b->Font.Style, 1);
            EXPECT_EQ(b->Font.Charset, 204);
            EXPECT_TRUE(b->Flat);
            EXPECT_TRUE(b->NoFrame);
            EXPECT_EQ(b->FrameColor, 0x00FFFFFFu);
        }
    }
    EXPECT_EQ(keys.size(), 169u);

    struct Corner {
        int row, col;
        const char* caption;
        const char* key;
    };
    for (const Corner& c :
         {Corner{0, 0, "AA", "AA"}, Corner{0, 1, "AK", "AKs"}, Corner{1, 0, "AK", "AKo"},
          Corner{12, 12, "22", "22"}, Corner{0, 12, "A2", "A2s"}, Corner{12, 0, "A2", "A2o"},
          Corner{4, 5, "T9", "T9s"}, Corner{5, 4, "T9", "T9o"}}) {
        EXPECT_EQ(Cell(c.row, c.col)->Caption.str(), c.caption);
        EXPECT_EQ(AsText(Cell(c.row, c.col)->Data).str(), c.key);
    }
    // The last column reaches pixel 262.
    EXPECT_EQ(Cell(0, 12)->Left + Cell(0, 12)->Width - 1, 262);
}

TEST_F(HandsPage, ColoursEachHandByItsEarliestOpeningSeat) {
    Start();
    std::map<uint32_t, int> counts;
    for (TKVBitBtn* b : page_->Cells) ++counts[b->Color];
    EXPECT_EQ(counts[Red], 31);
    EXPECT_EQ(counts[Orange], 9);
    EXPECT_EQ(counts[Yellow], 28);
    EXPECT_EQ(counts[Green], 12);
    EXPECT_EQ(counts[Blue], 39);
    EXPECT_EQ(counts[Silver], 50);
    EXPECT_EQ(counts.size(), 6u);

    EXPECT_EQ(Cell(0, 1)->Color, Red);       // AKs
    EXPECT_EQ(Cell(1, 0)->Color, Red);       // AKo
    EXPECT_EQ(Cell(12, 12)->Color, Orange);  // 22
    EXPECT_EQ(Cell(3, 1)->Color, Orange);    // KJo
    EXPECT_EQ(Cell(2, 12)->Color, Silver);   // Q2s
    EXPECT_EQ(Cell(6, 0)->Color, Green);     // A8o
    EXPECT_EQ(Cell(12, 0)->Color, Blue);     // A2o
}

TEST_F(HandsPage, LaterCellsLieOverEarlierOnesWhereTheyOverlap) {
    Start();
    const QWidget* panel = WidgetOf(page_->Panel->Control);
    // Column A spans x -1..22, column K 19..42; row A y 20..41, row K 40..61.
    EXPECT_EQ(panel->childAt(20, 30), WidgetOf(Cell(0, 1)->Control));
    EXPECT_EQ(panel->childAt(5, 41), WidgetOf(Cell(1, 0)->Control));
    EXPECT_EQ(panel->childAt(CentreOf(Cell(6, 6))), WidgetOf(Cell(6, 6)->Control));
}

struct HandChart {
    int Row, Col;
    const char* Key;
};

class HandsChart : public HandsPage, public ::testing::WithParamInterface<HandChart> {};

TEST_P(HandsChart, ClickShowsTheHandsPictureOverTheWholePage) {
    Start();
    TKVBitBtn* cell = Cell(GetParam().Row, GetParam().Col);
    Click(cell);
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_TRUE(ShowsFile(page_, File(GetParam().Key)));
    EXPECT_EQ(page_->ChartPath->FString.str(),
              (folder_->path() + "/img\\Holecards\\" + GetParam().Key + ".png").toStdString());
    EXPECT_TRUE(PictureCovers(page_, CentreOf(cell)));
    EXPECT_TRUE(PictureCovers(page_, {5, 5}));  // over the Donate button too
    EXPECT_FALSE(ScaleBoxShown(page_));

    Click(page_->Picture);
    EXPECT_FALSE(HasChart(page_));
    EXPECT_TRUE(ScaleBoxShown(page_));
    EXPECT_FALSE(PictureCovers(page_, CentreOf(cell)));
}

INSTANTIATE_TEST_SUITE_P(CornersAndT9, HandsChart,
                         ::testing::Values(HandChart{0, 0, "AA"}, HandChart{0, 12, "A2s"},
                                           HandChart{12, 0, "A2o"}, HandChart{12, 12, "22"},
                                           HandChart{4, 5, "T9s"}, HandChart{5, 4, "T9o"}),
                         [](const auto& info) { return std::string(info.param.Key); });

TEST_F(HandsPage, MissingPictureLeavesGridAndScaleBoxAlone) {
    ASSERT_TRUE(QFile::remove(File("K7o")));
    Start();
    TKVBitBtn* cell = Cell(7, 1);  // row 7, column K: K7 offsuit
    ASSERT_EQ(AsText(cell->Data).str(), "K7o");
    Click(cell);
    Settle();
    EXPECT_EQ(page_->Loader->Decoder(), nullptr);
    EXPECT_FALSE(HasChart(page_));
    EXPECT_TRUE(ScaleBoxShown(page_));
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(HandsPage, UnreadablePictureLeavesGridAndScaleBoxAlone) {
    {
        QFile bad(File("QJs"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bad.write("\x89PNG\r\n\x1a\n not really a picture");
    }
    Start();
    Click(Cell(2, 3));  // QJs
    // The decode of the broken file completes with nothing to show; the next
    // good chart then arrives as usual and toggles the box exactly once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return page_->Loader->Loaded; }, 10000));
    Settle();
    EXPECT_FALSE(HasChart(page_));
    EXPECT_TRUE(ScaleBoxShown(page_));
    Click(Cell(2, 2));  // QQ
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_FALSE(ScaleBoxShown(page_));
}

TEST_F(HandsPage, ScaleBoxHidesShowsAndHidesAcrossDecodeClickDecode) {
    Start();
    Click(Cell(0, 0));
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_FALSE(ScaleBoxShown(page_));
    Click(page_->Picture);
    EXPECT_TRUE(ScaleBoxShown(page_));
    Click(Cell(12, 12));
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_FALSE(ScaleBoxShown(page_));
}

TEST_F(HandsPage, ScaleBoxSwitchesThePictureBetweenStretchAndCentre) {
    Start();
    ASSERT_TRUE(WidgetOf(page_->ScaleBox->Control)->property("checked").toBool());
    EXPECT_EQ(page_->Picture->Mode(), 1);
    Click(page_->ScaleBox);
    EXPECT_EQ(page_->Picture->Mode(), 0);
    Click(page_->ScaleBox);
    EXPECT_EQ(page_->Picture->Mode(), 1);
}

TEST_F(HandsPage, EveryControlReportsItsMouseButtonToThePageControl) {
    Start();
    ExpectEveryControlReportsItsMouseButton(page_);
}

TEST_F(HandsPage, DonateShowsThePagesOneDonateWindow) {
    Start();
    ExpectDonateShowsOneWindow<TClassChildFormEx_261B180>(page_);
}

// The pages not shown first are built after the first paint, but never after
// input: a click on the Hands tab that comes before the window has painted
// finds the grid, and a click on a cell its chart. Both are sent to the
// window where the pointer lands.
TEST_F(HandsPage, AClickOnItsTabBeforeTheFirstPaintShowsTheGridAndACellItsChart) {
    StartProgramBeforeFirstPaint();
    ASSERT_TRUE(Schema()->Pages->ContentsWaiting());
    page_ = dynamic_cast<TClassHands_253CB10*>(Schema()->Pages->PageAt(1).Schema.get());
    ASSERT_NE(page_, nullptr);
    EXPECT_EQ(page_->Cells[0], nullptr);
    QWidget* main = WidgetOf(Schema()->MainWindow->Control);
    auto* tabs = main->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, {},
                      tabs->mapTo(main, tabs->tabRect(1).center()));
    EXPECT_EQ(tabs->currentIndex(), 1);
    ASSERT_NE(Cell(0, 0), nullptr);
    QWidget* aces = WidgetOf(Cell(0, 0)->Control);
    ASSERT_TRUE(aces->isVisible());
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, {},
                      aces->mapTo(main, aces->rect().center()));
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_TRUE(ShowsFile(page_, File("AA")));
}

TEST_F(HandsPage, PointingAtACellDecodesAheadShowingNothingAndTheClickShowsTheFileAsItIsNow) {
    Start();
    PictureCache::Clear();
    TKVBitBtn* cell = Cell(0, 0);  // AA
    QTest::mouseMove(WidgetOf(page_->DonateButton->Control));
    QTest::mouseMove(WidgetOf(cell->Control));
    ASSERT_TRUE(QTest::qWaitFor([] { return PictureCache::Count() == 1; }, 10000));
    Settle();
    EXPECT_FALSE(HasChart(page_));
    EXPECT_TRUE(ScaleBoxShown(page_));
    EXPECT_FALSE(page_->Loader->Loaded);

    // The file changed after it was decoded ahead: the click shows it as it is.
    ReplacePicture(File("AA"), 50, 60, QColor(0, 0, 255));
    Click(cell);
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_TRUE(ShowsFile(page_, File("AA")));
}

// Shows and hides 200 charts in a row; under the sanitizer build the leak
// checker sees every bitmap and decoder these leave behind.
TEST_F(HandsPage, ShowsAndHides200ChartsInARow) {
    Start();
    for (int i = 0; i < 200; ++i) {
        TKVBitBtn* cell = page_->Cells[std::size_t((i * 7) % (N * N))];
        Click(cell);
        ASSERT_TRUE(WaitForChart(page_)) << i;
        ASSERT_FALSE(ScaleBoxShown(page_)) << i;
        Click(page_->Picture);
        ASSERT_FALSE(HasChart(page_)) << i;
        ASSERT_TRUE(ScaleBoxShown(page_)) << i;
    }
}

}  // namespace
