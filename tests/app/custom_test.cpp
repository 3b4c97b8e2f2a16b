// The Custom page inside the whole program: slot layout, caption refresh,
// showing a slot's chart and opening the edit window in edit mode.

#include "custom_fixture.h"
#include "tabulo/app/donate.h"
#include "tabulo_test/probe.h"

namespace {

using CustomPage = CustomTest;

TEST_F(CustomPage, SlotsFollowTheThreeColumnRule) {
    Start();
    for (int k = 1; k <= 39; ++k) {
        SCOPED_TRACE(k);
        TKVBitBtn* b = Slot(k);
        QWidget* w = W(b);
        const int col = (k - 1) / 13;
        const int row = (k - 1) % 13;
        EXPECT_EQ(w->geometry(), QRect(87 * col, 20 + 24 * row, 86, 23));
        EXPECT_EQ(AsText(b->Data).str(), "B" + std::to_string(k));
        EXPECT_EQ(b->TagText.str(), "B" + std::to_string(k));
        EXPECT_EQ(b->Font.Name.str(), "MS Sans Serif");
        EXPECT_EQ(b->Font.Size, 10);
        EXPECT_EQ(b->Font.Charset, 204);
        EXPECT_EQ(b->FrameColor, 0x808080u);
        EXPECT_FALSE(b->NoFrame);
        EXPECT_EQ(w->objectName().toStdString(), "SlotButton" + std::to_string(k));
    }
    EXPECT_EQ(W(Slot(14))->pos(), QPoint(87, 20));
    EXPECT_EQ(W(Slot(39))->pos(), QPoint(174, 308));
}

TEST_F(CustomPage, ChecksBoxesStartAsDesigned) {
    Start();
    auto* edit = qobject_cast<QAbstractButton*>(W(page->EditModeBox));
    auto* scale = qobject_cast<QAbstractButton*>(W(page->ScaleBox));
    ASSERT_TRUE(edit && scale);
    EXPECT_EQ(edit->text(), "Edit mode");
    EXPECT_FALSE(edit->isChecked());
    EXPECT_EQ(scale->text(), "Scale");
    EXPECT_TRUE(scale->isChecked());
    EXPECT_EQ(page->ScaleBox->Hint.str(), "Scale or Center charts");
    EXPECT_EQ(page->Picture->Mode(), 1);
}

TEST_F(CustomPage, WithoutTheFileSlotsShowTheirNamesUntilTheFirstRefreshThenNothing) {
    Start();
    for (int k = 1; k <= 39; ++k) EXPECT_EQ(SlotCaption(k), "B" + std::to_string(k));
    HoverPicture();
    for (int k = 1; k <= 39; ++k) EXPECT_EQ(SlotCaption(k), "") << k;
    EXPECT_EQ(ReadIni(), "<missing>");  // reading never creates the file
}

TEST_F(CustomPage, EveryRefreshReadsEachSlotsOwnCaption) {
    // Covers the odd reader order of the first column: slot k must still
    // get section "B"k.
    std::string ini;
    for (int k = 1; k <= 39; ++k)
        ini += "[B" + std::to_string(k) + "]\r\nCaption=chart " + std::to_string(k) + "\r\n";
    WriteIni(ini);
    Start();
    ClickSlot(20);  // view mode; slot 20 has no file, so only the refresh shows
    for (int k = 1; k <= 39; ++k) EXPECT_EQ(SlotCaption(k), "chart " + std::to_string(k));
    EXPECT_FALSE(ChartShown());
}

TEST_F(CustomPage, PointerOverThePictureRereadsTheFile) {
    WriteIni("[B2]\nCaption=first\n");
    Start();
    HoverPicture();
    EXPECT_EQ(SlotCaption(2), "first");
    WriteIni("[B2]\nCaption=second\n");
    HoverPicture();
    EXPECT_EQ(SlotCaption(2), "second");
}

TEST_F(CustomPage, ViewModeShowsTheSlotsChartInFrontAndTheListComesBackOnAClick) {
    const std::string png = WritePng("red.png", 40, 30, Qt::red);
    WriteIni("[B4]\r\nFile=" + png + "\r\nCaption=Red\r\n");
    Start();
    QWidget* scale = W(page->ScaleBox);
    QWidget* edit = W(page->EditModeBox);
    ASSERT_FALSE(scale->isHidden());
    ASSERT_FALSE(edit->isHidden());
    EXPECT_NE(TopAtSlot(1), W(page->Picture));

    ClickSlot(4);
    ASSERT_TRUE(WaitFor([&] { return ChartShown(); }));
    Settle();
    EXPECT_EQ(page->Picture->Bitmap->Width(), 40);
    EXPECT_EQ(page->Picture->Bitmap->Pixel(5, 5), RGBColor(255, 0, 0));
    EXPECT_EQ(TopAtSlot(1), W(page->Picture));  // the chart covers the slots
    EXPECT_EQ(TopAtSlot(39), W(page->Picture));
    EXPECT_TRUE(scale->isHidden());
    EXPECT_TRUE(edit->isHidden());
    EXPECT_FALSE(EditWindowOpen());
    EXPECT_EQ(SlotCaption(4), "Red");

    Click(page->Picture);
    EXPECT_FALSE(ChartShown());
    EXPECT_EQ(TopAtSlot(1), W(Slot(1)));
    EXPECT_FALSE(scale->isHidden());
    EXPECT_FALSE(edit->isHidden());
}

TEST_F(CustomPage, SlotsWithoutAPictureLeaveTheListAlone) {
    WriteIni("[B1]\nFile=\n[B2]\nFile=" + Folder() + "missing.png\n[B3]\nFile=" + Folder() +
             "\n[B4]\nFile=C:\\Charts\\bb.png\n");
    const std::string corrupt = Folder() + "corrupt.png";
    WriteFile(corrupt, "not a picture at all");
    WriteIni(ReadIni() + "[B5]\nFile=" + corrupt + "\n");
    Start();
    for (int k = 1; k <= 6; ++k) {
        SCOPED_TRACE(k);
        ClickSlot(k);
        QTest::qWait(100);
        Settle();
        EXPECT_FALSE(ChartShown());
        EXPECT_FALSE(W(page->ScaleBox)->isHidden());
        EXPECT_FALSE(W(page->EditModeBox)->isHidden());
        EXPECT_EQ(TopAtSlot(k), W(Slot(k)));
    }
}

TEST_F(CustomPage, ScaleBoxSwitchesTheShownChartBetweenStretchedAndCentred) {
    const std::string png = WritePng("blue.png", 20, 20, Qt::blue);
    WriteIni("[B9]\nFile=" + png + "\n");
    Start();
    ClickSlot(9);
    ASSERT_TRUE(WaitFor([&] { return ChartShown(); }));
    // The box is hidden while the chart shows; its click still reaches the
    // picture's mode the same way a user's click does when it is visible.
    auto* scale = qobject_cast<QAbstractButton*>(W(page->ScaleBox));
    scale->click();
    Settle();
    EXPECT_EQ(page->Picture->Mode(), 0);
    scale->click();
    Settle();
    EXPECT_EQ(page->Picture->Mode(), 1);
}

TEST_F(CustomPage, ClickingTheBarePictureHidesTheBoxesUntilTheNextChart) {
    const std::string png = WritePng("green.png", 10, 10, Qt::green);
    WriteIni("[B1]\nFile=" + png + "\n");
    Start();
    Click(page->Picture);  // beside the slots, nothing shown
    EXPECT_TRUE(W(page->ScaleBox)->isHidden());
    EXPECT_TRUE(W(page->EditModeBox)->isHidden());
    ClickSlot(1);
    ASSERT_TRUE(WaitFor([&] { return ChartShown(); }));
    Settle();
    EXPECT_FALSE(W(page->ScaleBox)->isHidden());
    EXPECT_FALSE(W(page->EditModeBox)->isHidden());
}

TEST_F(CustomPage, EditModeOpensTheEditWindowForTheSlotAndShowsNoChart) {
    const std::string png = WritePng("seven.png", 10, 10, Qt::yellow);
    WriteIni("[B7]\r\nCaption=Seven\r\nFile=" + png + "\r\n");
    Start();
    EXPECT_FALSE(EditWindowOpen());
    SetEditMode(true);
    ClickSlot(7);
    EXPECT_TRUE(EditWindowOpen());
    EXPECT_TRUE(EditFormWidget()->isEnabled());
    TData slot;
    editor->SlotMemory->getValue(slot, 0);
    EXPECT_EQ(AsText(slot).str(), "B7");
    EXPECT_EQ(NameBox()->text(), "Seven");
    EXPECT_EQ(PathHeld(), png);
    QTest::qWait(200);
    Settle();
    EXPECT_FALSE(ChartShown());
    EXPECT_EQ(SlotCaption(7), "Seven");  // the click refreshed the captions too
}

TEST_F(CustomPage, SavingASlotShowsItsNewCaptionAtOnce) {
    Start();
    SetEditMode(true);
    ClickSlot(3);
    ASSERT_TRUE(EditWindowOpen());
    TypeName("Three-bet pots");
    PressSave();
    EXPECT_FALSE(EditWindowOpen());
    EXPECT_EQ(SlotCaption(3), "Three-bet pots");
    EXPECT_EQ(SlotCaption(4), "");
    EXPECT_EQ(ReadIni(), "[B3]\r\nFile=\r\nCaption=Three-bet pots\r\n");
    // The next slot click in edit mode shows the same window again.
    ClickSlot(3);
    EXPECT_TRUE(EditWindowOpen());
    EXPECT_EQ(NameBox()->text(), "Three-bet pots");
}

TEST_F(CustomPage, ASavedPictureIsShownInViewMode) {
    const std::string png = WritePng("chart.png", 30, 20, Qt::magenta);
    Start();
    SetEditMode(true);
    ClickSlot(12);
    DropFiles({png});
    TypeName("Mine");
    PressSave();
    SetEditMode(false);
    ClickSlot(12);
    ASSERT_TRUE(WaitFor([&] { return ChartShown(); }));
    EXPECT_EQ(page->Picture->Bitmap->Pixel(1, 1), RGBColor(255, 0, 255));
}

TEST_F(CustomPage, EveryPartReportsItsMouseButtonOnceAndARightReleaseMinimises) {
    Start();
    QWidget* main = WidgetOf(Schema()->MainWindow->Control);
    TKVWin* parts[] = {page->Picture,      page->Panel, page->EditModeBox, page->ScaleBox,
                       page->DonateButton, Slot(1),     Slot(27),          Slot(39)};
    // Each release leaves the page once, as its button number, through the
    // page boundary; none reaches the main window by any other way.
    Probe probe;
    TKV_Event toRouter = Schema()->Pages->Outputs.at(0);
    Schema()->Pages->Outputs.at(0) = probe.Link(0);
    for (TKVWin* part : parts) QTest::mouseRelease(W(part), Qt::MiddleButton, {}, QPoint(3, 3));
    ASSERT_EQ(probe.Count(), std::size(parts));
    for (const auto& hit : probe.Hits) EXPECT_EQ(AsInt(hit.Value), 2);
    Schema()->Pages->Outputs.at(0) = toRouter;

    for (TKVWin* part :
         std::initializer_list<TKVWin*>{page->Picture, page->EditModeBox, Slot(39)}) {
        SCOPED_TRACE(W(part)->objectName().toStdString());
        QTest::mouseClick(W(part), Qt::RightButton, {}, QPoint(3, 3));
        Settle();
        EXPECT_TRUE(main->isMinimized());
        main->showNormal();
        Settle();
    }
}

TEST_F(CustomPage, DonateOpensThePagesDonateWindow) {
    Start();
    ASSERT_NE(page->DonateHost->Current, nullptr);
    auto* donate = dynamic_cast<TClassChildFormEx_261AC00*>(page->DonateHost->Current->Schema);
    ASSERT_NE(donate, nullptr);
    QWidget* window = WidgetOf(donate->DonateForm->Control);
    EXPECT_TRUE(window->isHidden());
    Click(page->DonateButton);
    EXPECT_FALSE(window->isHidden());
}

}  // namespace
