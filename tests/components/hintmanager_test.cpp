// The tooltip manager: defaults, registration, showing and hiding.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include "tabulo/components/hintmanager.h"
#include "tabulo/widgets/control.h"
#include "tabulo/widgets/graphics.h"

namespace {

void enter(QWidget* w) {
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(w, &e);
}
void leave(QWidget* w) {
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

class HintTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(NewForm(nullptr, "form"));
        form->SetSize(200, 100);
        form->Show();
    }
    std::unique_ptr<TControl> form;
};

TEST_F(HintTest, OneManagerWithTheStartUpDefaults) {
    StartHintManager();
    TKVHintManager* m = HintManager();
    ASSERT_NE(m, nullptr);
    StartHintManager();
    EXPECT_EQ(HintManager(), m) << "one per program";
    EXPECT_EQ(m->Plain, 1);
    EXPECT_EQ(m->Background, 0xFF000018u);
    EXPECT_EQ(m->InitialDelay, 500);
    EXPECT_EQ(m->AutoPop, 5000);
    EXPECT_EQ(m->Margin, 0);
    EXPECT_EQ(m->Tracking, 0);
    EXPECT_EQ(m->Font.Name, "Tahoma");
    EXPECT_EQ(m->Font.Size, 8);
    EXPECT_EQ(m->Font.Style, 0);
    EXPECT_EQ(m->Font.Color, 0xFF000017u);
    EXPECT_EQ(m->Font.Charset, 1);
}

TEST_F(HintTest, EmptyHintGetsNoTip) {
    TKVHintManager* m = HintManager();
    const int before = m->TipCount();
    EXPECT_EQ(m->Register(form.get(), ""), nullptr);
    EXPECT_EQ(m->Register(static_cast<TControl*>(nullptr), "hint"), nullptr);
    EXPECT_EQ(m->TipCount(), before);
    EXPECT_EQ(form->Widget()->findChild<QLabel*>("TabuloToolTip"), nullptr);
}

TEST_F(HintTest, TipShowsAfterTheDelayInTheTooltipLookAndHidesOnLeave) {
    TKVHintManager* m = HintManager();
    TToolTip* tip = m->Register(form.get(), "UTG vs MP 3bet");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->Flags, 0x111u);
    QLabel* w = tip->TipWindow;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(form->Widget()->findChild<QLabel*>("TabuloToolTip"), w);
    EXPECT_EQ(w->text(), "UTG vs MP 3bet");
    EXPECT_EQ(w->font().family(), "Tahoma");
    EXPECT_EQ(w->font().pixelSize(), -FontHeightForSize(8));
    EXPECT_FALSE(w->font().bold());
    EXPECT_EQ(w->palette().color(QPalette::Window), ToQColor(ColorToRGB(clInfoBk)));
    EXPECT_EQ(w->palette().color(QPalette::WindowText), ToQColor(ColorToRGB(clInfoText)));
    EXPECT_TRUE(w->windowFlags() & Qt::ToolTip);

    enter(form->Widget());
    EXPECT_FALSE(w->isVisible()) << "not before the initial delay";
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->isVisible(); }, 3000));
    leave(form->Widget());
    EXPECT_FALSE(w->isVisible());
    m->DestroyTip(tip);
}

TEST_F(HintTest, TipHidesAfterTheAutoPopDelay) {
    TKVHintManager* m = HintManager();
    const int autoPop = m->AutoPop;
    m->AutoPop = 200;  // read when the tip is made
    TToolTip* tip = m->Register(form.get(), "Scale or Center charts");
    m->AutoPop = autoPop;
    enter(form->Widget());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->TipWindow->isVisible(); }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tip->TipWindow->isVisible(); }, 3000));
    m->DestroyTip(tip);
}

TEST_F(HintTest, EmptyTextNeverShows) {
    TKVHintManager* m = HintManager();
    TToolTip* empty = m->CreateTip(form.get());
    ASSERT_NE(empty, nullptr);
    // A sibling with a text, entered right after: once its tip shows, the
    // empty one's delay has passed too.
    std::unique_ptr<TControl> other(NewForm(nullptr, "other"));
    other->Show();
    TToolTip* tip = m->Register(other.get(), "text");
    enter(form->Widget());
    enter(other->Widget());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->TipWindow->isVisible(); }, 3000));
    EXPECT_FALSE(empty->TipWindow->isVisible());
    m->DestroyTip(tip);
    m->DestroyTip(empty);
}

TEST_F(HintTest, TrackingOperationsDoNothingWhileTrackingIsOff) {
    TKVHintManager* m = HintManager();
    TToolTip* tip = m->Register(form.get(), "tracked");
    const QPoint before = tip->TipWindow->pos();
    m->TrackPosition(tip, 300, 300);
    m->TrackActivate(tip, true);
    EXPECT_FALSE(tip->TipWindow->isVisible());
    EXPECT_EQ(tip->TipWindow->pos(), before);

    m->Tracking = 1;
    m->TrackPosition(tip, 300, 300);
    m->TrackActivate(tip, true);
    EXPECT_TRUE(tip->TipWindow->isVisible());
    m->TrackActivate(tip, false);
    EXPECT_FALSE(tip->TipWindow->isVisible());
    m->Tracking = 0;
    m->DestroyTip(tip);
}

TEST_F(HintTest, TipRecordSurvivesItsOwnerWindow) {
    TKVHintManager* m = HintManager();
    const int before = m->TipCount();
    TToolTip* tip = m->Register(form.get(), "bye");
    m->SetTitle(tip, 1, "Title");
    EXPECT_TRUE(tip->TipWindow->text().contains("Title"));
    form.reset();  // the window goes first
    EXPECT_EQ(tip->TipWindow, nullptr);
    m->SetText(tip, "still fine");
    m->DestroyTip(tip);
    EXPECT_EQ(m->TipCount(), before);
}

}  // namespace
