// The Position page: the 6 x 6 seat grid, and the chart it shows for a cell.

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <array>
#include <string>

#include "chartpage_fixture.h"
#include "tabulo/app/donate.h"
#include "tabulo/app/position.h"
#include "tabulo/components/hintmanager.h"
#include "tabulo/controls/button.h"
#include "tabulo_test/probe.h"

namespace {

constexpr int N = TClassPosition_253CB10::SeatCount;

// The page's design, written out cell by cell as the page is meant to look.
constexpr std::array<int, N> ColumnLeft = {0, 44, 88, 130, 174, 218};
constexpr std::array<int, N> RowTop = {20, 62, 105, 149, 193, 237};
constexpr std::array<uint32_t, N> HeaderColour = {0x001600DD, 0x003C9DFF, 0x0000FFFF,
                                                  0x00F8CE52, 0x0046FB81, 0x0052A330};
constexpr std::array<uint32_t, N> RowTint = {0x00E8D5FF, 0x00CCE2FD, 0x00DFFFFF,
                                             0x00FEEDC0, 0x00DDFFDD, 0x00BFE8AE};
// Row by row (hero), each from column UTG to BB.
const char* const Keys[N][N] = {
    {"UTG", "UTGvsMP", "UTGvsCO", "UTGvsBU", "UTGvsSB", "UTGvsBB"},
    {"MPvsUTG", "MP", "MPvsCO", "MPvsBU", "MPvsSB", "MPvsBB"},
    {"COvsUTG", "COvsMP", "CO", "COvsBU", "COvsSB", "COvsBB"},
    {"BUvsUTG", "BUvsMP", "BUvsCO", "BU", "BUvsSB", "BUvsBB"},
    {"SBvsUTG", "SBvsMP", "SBvsCO", "SBvsBU", "SB", "SBvsBB"},
    {"BBvsUTG", "BBvsMP", "BBvsCO", "BBvsBU", "BBvsSB", "BB"},
};
const char* const Hints[N][N] = {
    {"", "UTG vs MP 3bet", "UTG vs CO 3bet", "UTG vs BU 3bet", "UTG vs SB 3bet", "UTG vs BB 3bet"},
    {"MP vs UTG", "", "MP vs CO 3bet", "MP vs BU 3bet", "MP vs SB 3bet", "MP vs BB 3bet"},
    {"CO vs UTG", "CO vs MP", "", "CO vs BU 3bet", "CO vs SB 3bet", "CO vs BB 3bet"},
    {"BU vs UTG", "BU vs MP", "BU vs CO", "", "BU vs SB 3bet", "BU vs BB 3bet"},
    {"SB vs UTG", "SB vs MP", "SB vs CO", "SB vs BU", "", "SB vs BB 3bet"},
    {"BB vs UTG", "BB vs MP", "BB vs CO", "BB vs BU", "BB vs SB", ""},
};
const char* const Seats[N] = {"UTG", "MP", "CO", "BU", "SB", "BB"};

class PositionPage : public ChartPageTest {
protected:
    void Start() {
        page_ = StartWithPage<TClassPosition_253CB10>("Position");
        ASSERT_NE(page_, nullptr);
    }
    // Cells are made column by column, each column top to bottom.
    TKVBitBtn* Cell(int row, int col) const { return page_->Cells[std::size_t(col * N + row)]; }
    TKVBitBtn* CellWithKey(const std::string& key) const {
        for (TKVBitBtn* c : page_->Cells)
            if (AsText(c->Data).str() == key) return c;
        return nullptr;
    }
    QString File(const std::string& key) const { return PictureFile("Positions", key); }
    QPoint CentreOf(TKVBitBtn* cell) const {
        return {cell->Left + cell->Width / 2, cell->Top + cell->Height / 2};
    }
    // Right of the grid's last column and below its last row.
    QPoint BareArea() const {
        const QWidget* panel = WidgetOf(page_->Panel->Control);
        return {panel->width() - 4, panel->height() - 4};
    }

    TClassPosition_253CB10* page_ = nullptr;
};

TEST_F(PositionPage, LaysOutTheSeatGridColumnByColumnWithItsCaptionsKeysAndColours) {
    Start();
    for (int col = 0; col < N; ++col) {
        for (int row = 0; row < N; ++row) {
            SCOPED_TRACE(Keys[row][col]);
            const TKVBitBtn* b = Cell(row, col);
            const bool header = row == col;
            EXPECT_EQ(b->Left, ColumnLeft[col]);
            EXPECT_EQ(b->Top, RowTop[row]);
            EXPECT_EQ(b->Width, 46);
            EXPECT_EQ(b->Height, 45);
            EXPECT_EQ(AsText(b->Data).str(), Keys[row][col]);
            EXPECT_EQ(b->Data.Tag, dtString);
            EXPECT_EQ(b->Hint.str(), Hints[row][col]);
            EXPECT_EQ(b->Caption.str(),
                      header ? std::string(Seats[row]) : "vs " + std::string(Seats[col]));
            EXPECT_EQ(b->Color, header ? HeaderColour[row] : RowTint[row]);
            EXPECT_EQ(b->Font.Name.str(), "Tahoma");
            EXPECT_EQ(b->Font.Size, 8);
            EXPECT_EQ(b->Font.Style, header ? 1 : 0);
            EXPECT_EQ(b->Font.Charset, 204);
            EXPECT_EQ(b->Font.Color, 0u);
            EXPECT_TRUE(b->Flat);
            EXPECT_FALSE(b->NoFrame);
            EXPECT_EQ(b->FrameColor, 0xFF000010u);
            // The control shows what the component was given.
            const QWidget* w = WidgetOf(b->Control);
            EXPECT_EQ(w->geometry(), QRect(ColumnLeft[col], RowTop[row], 46, 45));
        }
    }
}

TEST_F(PositionPage, LaterCellsLieOverEarlierOnesWhereTheyOverlap) {
    Start();
    const QWidget* panel = WidgetOf(page_->Panel->Control);
    // Columns UTG (0..45) and MP (44..89) share x 44..45; rows UTG (20..64)
    // and MP (62..106) share y 62..64. The later-made cell wins.
    EXPECT_EQ(panel->childAt(44, 30), WidgetOf(Cell(0, 1)->Control));
    EXPECT_EQ(panel->childAt(10, 63), WidgetOf(Cell(1, 0)->Control));
    // The picture lies under the grid until a chart is shown.
    EXPECT_EQ(panel->childAt(CentreOf(Cell(3, 3))), WidgetOf(Cell(3, 3)->Control));
}

TEST_F(PositionPage, TooltipsCarryTheMatchupNamesAndHeadersHaveNone) {
    Start();
    for (int row = 0; row < N; ++row) {
        for (int col = 0; col < N; ++col) {
            SCOPED_TRACE(Keys[row][col]);
            const TToolTip* tip = Cell(row, col)->HintRecord;
            if (row == col) {
                EXPECT_EQ(tip, nullptr);
            } else {
                ASSERT_NE(tip, nullptr);
                EXPECT_EQ(tip->Text.str(), Hints[row][col]);
                EXPECT_EQ(tip->Owner, WidgetOf(Cell(row, col)->Control));
            }
        }
    }
    ASSERT_NE(page_->ScaleBox->HintRecord, nullptr);
    EXPECT_EQ(page_->ScaleBox->HintRecord->Text.str(), "Scale or Center charts");

    // Resting the pointer on a cell shows its tip with the full matchup name.
    QWidget* cell = WidgetOf(CellWithKey("MPvsUTG")->Control);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), cell->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(cell, &enter);
    const QLabel* tip = CellWithKey("MPvsUTG")->HintRecord->TipWindow;
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([tip] { return tip->isVisible(); }, 5000));
    EXPECT_EQ(tip->text(), "MP vs UTG");
}

struct ShownChart {
    const char* Key;   // the cell's key
    const char* Hint;  // its tooltip ("" for a seat header)
};

class PositionChart : public PositionPage, public ::testing::WithParamInterface<ShownChart> {};

TEST_P(PositionChart, ClickShowsTheCellsPictureOverTheWholePage) {
    Start();
    TKVBitBtn* cell = CellWithKey(GetParam().Key);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->Hint.str(), GetParam().Hint);
    ASSERT_TRUE(ScaleBoxShown(page_));

    Click(cell);
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_TRUE(ShowsFile(page_, File(GetParam().Key)));
    EXPECT_EQ(page_->ChartPath->FString.str(),
              (folder_->path() + "/img\\Positions\\" + GetParam().Key + ".png").toStdString());
    // The chart covers the grid, the Donate button and the box, which is hidden.
    EXPECT_TRUE(PictureCovers(page_, CentreOf(cell)));
    EXPECT_TRUE(PictureCovers(page_, {5, 5}));
    EXPECT_FALSE(ScaleBoxShown(page_));
    const QWidget* picture = WidgetOf(page_->Picture->Control);
    EXPECT_EQ(picture->size(), WidgetOf(page_->Panel->Control)->size());

    // A click on the chart brings the grid back.
    Click(page_->Picture);
    EXPECT_FALSE(HasChart(page_));
    EXPECT_TRUE(ScaleBoxShown(page_));
    EXPECT_FALSE(PictureCovers(page_, CentreOf(cell)));
}

INSTANTIATE_TEST_SUITE_P(Cells, PositionChart,
                         ::testing::Values(ShownChart{"MPvsUTG", "MP vs UTG"},
                                           ShownChart{"UTGvsMP", "UTG vs MP 3bet"},
                                           ShownChart{"BU", ""}, ShownChart{"BBvsSB", "BB vs SB"},
                                           ShownChart{"SBvsBB", "SB vs BB 3bet"}),
                         [](const auto& info) { return std::string(info.param.Key); });

TEST_F(PositionPage, MissingPictureLeavesGridAndScaleBoxAlone) {
    ASSERT_TRUE(QFile::remove(File("COvsBU")));
    Start();
    Click(CellWithKey("COvsBU"));
    Settle();
    EXPECT_EQ(page_->Loader->Decoder(), nullptr);  // nothing was even decoded
    EXPECT_FALSE(HasChart(page_));
    EXPECT_TRUE(ScaleBoxShown(page_));
    EXPECT_FALSE(PictureCovers(page_, CentreOf(CellWithKey("COvsBU"))));
    EXPECT_TRUE(boxes_.empty());

    // The page still works: the next cell with a picture shows it.
    Click(CellWithKey("COvsUTG"));
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_TRUE(ShowsFile(page_, File("COvsUTG")));
    EXPECT_FALSE(ScaleBoxShown(page_));
}

TEST_F(PositionPage, ScaleBoxHidesShowsAndHidesAcrossDecodeClickDecode) {
    Start();
    Click(CellWithKey("CO"));
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_FALSE(ScaleBoxShown(page_));
    Click(page_->Picture);
    EXPECT_TRUE(ScaleBoxShown(page_));
    Click(CellWithKey("SB"));
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_FALSE(ScaleBoxShown(page_));
    EXPECT_TRUE(ShowsFile(page_, File("SB")));
}

TEST_F(PositionPage, ClickBesideTheGridHidesTheScaleBoxUntilTheNextChart) {
    Start();
    ASSERT_TRUE(PictureCovers(page_, BareArea()));  // no cell there: the empty picture
    ClickAt(page_->Picture, BareArea());
    EXPECT_FALSE(ScaleBoxShown(page_));
    EXPECT_FALSE(HasChart(page_));
    Click(CellWithKey("MP"));
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_TRUE(ScaleBoxShown(page_));
}

// A click on a chart that follows the cell click at the same point within
// the double-click time arrives at the picture as a double click and a
// release; it hides the chart like any click.
TEST_F(PositionPage, QuickClickOnTheChartReportedAsDoubleClickHidesIt) {
    Start();
    Click(CellWithKey("BU"));
    ASSERT_TRUE(WaitForChart(page_));
    QWidget* picture = WidgetOf(page_->Picture->Control);
    const QPoint at = CentreOf(CellWithKey("BU"));
    QTest::mouseDClick(picture, Qt::LeftButton, {}, at);
    QTest::mouseRelease(picture, Qt::LeftButton, {}, at);
    EXPECT_FALSE(HasChart(page_));
    EXPECT_TRUE(ScaleBoxShown(page_));
}

TEST_F(PositionPage, AQuickSecondClickShowsOnlyTheSecondChart) {
    Start();
    Click(CellWithKey("UTG"));
    Click(CellWithKey("BB"));
    ASSERT_TRUE(WaitForChart(page_));
    EXPECT_TRUE(ShowsFile(page_, File("BB")));
    EXPECT_FALSE(ScaleBoxShown(page_));
    // The first load was dropped: hiding the chart brings the grid back for good.
    Click(page_->Picture);
    Settle();
    EXPECT_FALSE(HasChart(page_));
    EXPECT_TRUE(ScaleBoxShown(page_));
}

TEST_F(PositionPage, UncheckedScaleDrawsTheChartCentredAndCheckedStretchesIt) {
    const QColor red(200, 0, 0);
    ReplacePicture(File("BU"), 60, 40, red);
    Start();
    ASSERT_EQ(WidgetOf(page_->ScaleBox->Control)->property("checked").toBool(), true);
    ASSERT_EQ(page_->Picture->Mode(), 1);

    Click(page_->ScaleBox);  // uncheck: centred
    EXPECT_EQ(page_->Picture->Mode(), 0);
    Click(CellWithKey("BU"));
    ASSERT_TRUE(WaitForChart(page_));
    QImage shot = Shot(page_);
    const QPoint centre(shot.width() / 2, shot.height() / 2);
    EXPECT_EQ(QColor(shot.pixel(centre)), red);
    EXPECT_EQ(QColor(shot.pixel(centre + QPoint(28, 18))), red);
    EXPECT_NE(QColor(shot.pixel(centre + QPoint(32, 22))), red);  // the margin
    EXPECT_NE(QColor(shot.pixel(2, 2)), red);
    Click(page_->Picture);

    Click(page_->ScaleBox);  // check again: stretched over the whole page
    EXPECT_EQ(page_->Picture->Mode(), 1);
    Click(CellWithKey("BU"));
    ASSERT_TRUE(WaitForChart(page_));
    shot = Shot(page_);
    EXPECT_EQ(QColor(shot.pixel(2, 2)), red);
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 3, shot.height() - 3)), red);
}

TEST_F(PositionPage, EveryControlReportsItsMouseButtonToThePageControl) {
    Start();
    ExpectEveryControlReportsItsMouseButton(page_);
}

TEST_F(PositionPage, DonateShowsThePagesOneDonateWindow) {
    Start();
    ExpectDonateShowsOneWindow<TClassChildFormEx_261B440>(page_);
}

// Shows and hides 200 charts in a row; under the sanitizer build the leak
// checker sees every bitmap and decoder these leave behind.
TEST_F(PositionPage, ShowsAndHides200ChartsInARow) {
    Start();
    for (int i = 0; i < 200; ++i) {
        TKVBitBtn* cell = page_->Cells[std::size_t(i % (N * N))];
        Click(cell);
        ASSERT_TRUE(WaitForChart(page_)) << i;
        ASSERT_FALSE(ScaleBoxShown(page_)) << i;
        Click(page_->Picture);
        ASSERT_FALSE(HasChart(page_)) << i;
        ASSERT_TRUE(ScaleBoxShown(page_)) << i;
    }
    // One decoder at a time: the loader keeps only the last one.
    EXPECT_NE(page_->Loader->Decoder(), nullptr);
}

}  // namespace
