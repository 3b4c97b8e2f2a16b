// The tooltip control: making the tip window, when it shows and hides, its
// look, and the record outliving the owner's window.

#include <gtest/gtest.h>

#include <QCursor>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <memory>

#include "tabulo/widgets/control.h"
#include "tabulo/widgets/graphics.h"
#include "tabulo/widgets/tooltip.h"

namespace {

void enter(QWidget* w) {
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(w, &e);
}

// A shown form with a tip (delays short enough for a test).
class TipTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reset(NewForm(nullptr, "owner"));
        form->SetSize(200, 100);
        form->Show();
        ASSERT_TRUE(CreateTipWindow(tip, form.get()));
        SetTipDelays(tip, 20, 5000);
        tip.Text = "AKs: raise";
        UpdateTipText(tip);
    }
    void TearDown() override { DestroyTipWindow(tip); }

    bool shown() const { return tip.TipWindow && tip.TipWindow->isVisible(); }
    bool waitShown() {
        return QTest::qWaitFor([&] { return shown(); }, 3000);
    }

    std::unique_ptr<TControl> form;
    TToolTip tip;
};

TEST(TipWindow, NeedsAnOwnerWindowAndIsMadeOncePerRecord) {
    TToolTip tip;
    EXPECT_FALSE(CreateTipWindow(tip, nullptr));
    EXPECT_EQ(tip.TipWindow, nullptr);

    // A child whose window went with its parent's.
    std::unique_ptr<TControl> parent(NewForm(nullptr, "parent"));
    std::unique_ptr<TControl> child(NewPanel(parent.get()));
    parent.reset();
    ASSERT_EQ(child->Widget(), nullptr);
    EXPECT_FALSE(CreateTipWindow(tip, child.get()));
    EXPECT_EQ(tip.Owner, nullptr);

    std::unique_ptr<TControl> form(NewForm(nullptr, "form"));
    ASSERT_TRUE(CreateTipWindow(tip, form.get()));
    QLabel* w = tip.TipWindow;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(tip.Owner, form->Widget());
    EXPECT_EQ(w->parentWidget(), form->Widget());
    EXPECT_EQ(w->objectName(), "TabuloToolTip");
    EXPECT_TRUE(w->windowFlags() & Qt::ToolTip);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(CreateTipWindow(tip, form.get())) << "one tip window per record";
    EXPECT_EQ(tip.TipWindow, w);

    QPointer<QLabel> gone(w);
    DestroyTipWindow(tip);
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(tip.TipWindow, nullptr);
    EXPECT_EQ(tip.Owner, nullptr);
    DestroyTipWindow(tip);  // twice is harmless
}

TEST(TipWindow, IsMadeOnlyWhenFirstNeededWithTheLookAndTextSetBefore) {
    std::unique_ptr<TControl> form(NewForm(nullptr, "lazy"));
    form->SetSize(200, 100);
    form->Show();
    TToolTip tip;
    ASSERT_TRUE(CreateTipWindow(tip, form.get(), true));
    TGraphicTool font(TGraphicToolKind::Font);
    font.SetFontName("Tahoma");
    font.SetFontStyle(fsBold);
    SetTipFont(tip, font);
    const TColor text = RGBColor(10, 20, 30), back = RGBColor(250, 240, 200);
    SetTipColors(tip, text, back);
    SetTipMargin(tip, 4);
    SetTipDelays(tip, 20, 5000);
    tip.Text = "AKs: raise";
    UpdateTipText(tip);
    auto made = [&] { return form->Widget()->findChild<QLabel*>("TabuloToolTip"); };
    EXPECT_EQ(made(), nullptr) << "no window before it is needed";

    enter(form->Widget());
    ASSERT_TRUE(QTest::qWaitFor([&] { return made() && made()->isVisible(); }, 3000));
    QLabel* w = made();
    EXPECT_EQ(tip.TipWindow, w);
    EXPECT_EQ(w->text(), "AKs: raise");
    EXPECT_EQ(w->font().family(), "Tahoma");
    EXPECT_TRUE(w->font().bold());
    EXPECT_EQ(w->palette().color(QPalette::Window), ToQColor(back));
    EXPECT_EQ(w->palette().color(QPalette::WindowText), ToQColor(text));
    EXPECT_TRUE(w->styleSheet().contains("border-radius: 6px")) << "balloon";
    EXPECT_TRUE(w->styleSheet().contains("padding: 6px")) << "margin";
    EXPECT_EQ(form->Widget()->findChildren<QLabel*>("TabuloToolTip").size(), 1) << "made once";
    DestroyTipWindow(tip);
    EXPECT_EQ(made(), nullptr);
}

TEST(TipWindow, IsNeverMadeForATipWithoutText) {
    std::unique_ptr<TControl> form(NewForm(nullptr, "silent"));
    form->SetSize(200, 100);
    form->Show();
    TToolTip silent, spoken;
    ASSERT_TRUE(CreateTipWindow(silent, form.get()));
    std::unique_ptr<TControl> other(NewForm(nullptr, "other"));
    other->Show();
    ASSERT_TRUE(CreateTipWindow(spoken, other.get()));
    SetTipDelays(silent, 20, 5000);
    SetTipDelays(spoken, 20, 5000);
    spoken.Text = "text";
    UpdateTipText(spoken);
    // Once the second tip shows, the first one's delay has passed too.
    enter(form->Widget());
    enter(other->Widget());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QLabel* w = other->Widget()->findChild<QLabel*>("TabuloToolTip");
            return w && w->isVisible();
        },
        3000));
    EXPECT_EQ(form->Widget()->findChild<QLabel*>("TabuloToolTip"), nullptr);
    DestroyTipWindow(silent);
    DestroyTipWindow(spoken);
}

TEST_F(TipTest, ShowsAfterTheDelayBelowThePointerOnTheScreen) {
    enter(form->Widget());
    EXPECT_FALSE(shown()) << "not before the initial delay";
    ASSERT_TRUE(waitShown());
    EXPECT_EQ(tip.TipWindow->text(), "AKs: raise");
    const QRect r = tip.TipWindow->geometry();
    if (const QScreen* s = QGuiApplication::screenAt(QCursor::pos())) {
        EXPECT_TRUE(s->availableGeometry().contains(r)) << "kept on the screen";
    }
}

TEST_F(TipTest, MovingPointerRestartsTheWait) {
    // Moves every 50 ms for 400 ms against a 1 s delay: the tip may show
    // only a full delay after the last move, not a delay after the enter.
    SetTipDelays(tip, 1000, 5000);
    QElapsedTimer clock;
    clock.start();
    enter(form->Widget());
    qint64 lastMove = 0;
    for (int i = 0; i < 8; ++i) {
        QTest::qWait(50);
        if (shown()) {
            if (clock.elapsed() - lastMove >= 900) GTEST_SKIP() << "the machine stalled";
            FAIL() << "shown while the pointer moves, after move " << i;
        }
        QMouseEvent move(QEvent::MouseMove, QPointF(6 + i, 6), QPointF(6 + i, 6), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form->Widget(), &move);
        lastMove = clock.elapsed();
    }
    ASSERT_TRUE(waitShown());
    // Timers may fire a little early; 10% is more than they are allowed.
    EXPECT_GE(clock.elapsed() - lastMove, 900);
}

TEST_F(TipTest, HidesAfterTheAutoPopDelay) {
    SetTipDelays(tip, 10, 150);
    enter(form->Widget());
    ASSERT_TRUE(waitShown());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown(); }, 3000));
}

// Each event over the owner hides a shown tip and cancels a pending one.
class TipHiding : public TipTest, public ::testing::WithParamInterface<QEvent::Type> {
protected:
    void send() {
        QWidget* w = form->Widget();
        switch (GetParam()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick: {
                QMouseEvent e(GetParam(), QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(w, &e);
                break;
            }
            case QEvent::Wheel: {
                QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(w, &e);
                break;
            }
            case QEvent::KeyPress: {
                QKeyEvent e(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
                QCoreApplication::sendEvent(w, &e);
                break;
            }
            default: {
                QEvent e(GetParam());
                QCoreApplication::sendEvent(w, &e);
                break;
            }
        }
    }
};

TEST_P(TipHiding, HidesAShownTip) {
    enter(form->Widget());
    ASSERT_TRUE(waitShown());
    send();
    EXPECT_FALSE(shown());
}

TEST_P(TipHiding, CancelsAPendingTip) {
    // A second owner entered at the same time: once its tip shows, the first
    // tip's delay has passed too.
    std::unique_ptr<TControl> other(NewForm(nullptr, "other"));
    other->Show();
    TToolTip ref;
    ASSERT_TRUE(CreateTipWindow(ref, other.get()));
    SetTipDelays(ref, 60, 5000);
    SetTipDelays(tip, 40, 5000);
    ref.Text = "reference";
    UpdateTipText(ref);
    enter(form->Widget());
    enter(other->Widget());
    send();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ref.TipWindow->isVisible(); }, 3000));
    EXPECT_FALSE(shown());
    DestroyTipWindow(ref);
}

INSTANTIATE_TEST_SUITE_P(Widgets, TipHiding,
                         ::testing::Values(QEvent::Leave, QEvent::MouseButtonPress,
                                           QEvent::MouseButtonDblClick, QEvent::Wheel,
                                           QEvent::KeyPress, QEvent::WindowDeactivate));

TEST_F(TipTest, EmptyTextNeverShowsAndHidesAShownTip) {
    enter(form->Widget());
    ASSERT_TRUE(waitShown());
    tip.Text = "";
    UpdateTipText(tip);
    EXPECT_FALSE(shown());
    TrackTip(tip, true);
    EXPECT_FALSE(shown());
}

TEST_F(TipTest, TitleIsABoldFirstLineAndTextIsEscaped) {
    tip.Title = "Hands <top>";
    tip.Text = "a & b\nnext";
    UpdateTipText(tip);
    const QString t = tip.TipWindow->text();
    EXPECT_TRUE(t.startsWith("<b>Hands &lt;top&gt;</b><br>")) << t.toStdString();
    EXPECT_TRUE(t.endsWith("a &amp; b<br>next")) << t.toStdString();
}

TEST(TipWindow, TheToolkitsOwnTooltipOfTheOwnerIsSuppressed) {
    // Event filters run newest first: this one, installed before the tip's
    // watcher, sees only what the watcher lets through.
    struct Seen : QObject {
        int n = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::ToolTip) ++n;
            return false;
        }
    } seen;
    std::unique_ptr<TControl> owner(NewForm(nullptr, "owner"));
    owner->Widget()->installEventFilter(&seen);
    TToolTip t;
    ASSERT_TRUE(CreateTipWindow(t, owner.get()));
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), QPoint(5, 5));
    QCoreApplication::sendEvent(owner->Widget(), &help);
    EXPECT_EQ(seen.n, 0);
    DestroyTipWindow(t);
    QCoreApplication::sendEvent(owner->Widget(), &help);
    EXPECT_EQ(seen.n, 1) << "without the tip the event passes";
    owner->Widget()->removeEventFilter(&seen);
}

TEST_F(TipTest, FontAndColoursAreTheOnesSet) {
    TGraphicTool font(TGraphicToolKind::Font);
    font.SetFontName("Tahoma");
    font.SetFontSize(10);
    font.SetFontStyle(fsBold | fsItalic);
    SetTipFont(tip, font);
    const TColor text = RGBColor(10, 20, 30), back = RGBColor(250, 240, 200);
    SetTipColors(tip, text, back);
    QLabel* w = tip.TipWindow;
    EXPECT_EQ(w->font().family(), "Tahoma");
    EXPECT_EQ(w->font().pixelSize(), -FontHeightForSize(10));
    EXPECT_TRUE(w->font().bold());
    EXPECT_TRUE(w->font().italic());
    EXPECT_EQ(w->palette().color(QPalette::Window), ToQColor(back));
    EXPECT_EQ(w->palette().color(QPalette::WindowText), ToQColor(text));

    // What is drawn: a 1-pixel frame in the text colour, square corners,
    // the background inside.
    w->adjustSize();
    const QImage img = w->grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(QColor(img.pixel(0, 0)), ToQColor(text));
    EXPECT_EQ(QColor(img.pixel(img.width() / 2, 0)), ToQColor(text));
    EXPECT_EQ(QColor(img.pixel(img.width() - 1, img.height() - 1)), ToQColor(text));
    EXPECT_EQ(QColor(img.pixel(1, 1)), ToQColor(back));

    // System colours are resolved.
    SetTipColors(tip, clInfoText, clInfoBk);
    EXPECT_EQ(w->palette().color(QPalette::Window), ToQColor(ColorToRGB(clInfoBk)));
}

TEST_F(TipTest, BalloonTipsHaveRoundedCorners) {
    std::unique_ptr<TControl> owner(NewForm(nullptr, "balloon"));
    TToolTip balloon;
    ASSERT_TRUE(CreateTipWindow(balloon, owner.get(), true));
    const TColor text = RGBColor(0, 0, 0), back = RGBColor(255, 255, 255);
    SetTipColors(balloon, text, back);
    balloon.Text = "round";
    UpdateTipText(balloon);
    balloon.TipWindow->adjustSize();
    const QImage img = balloon.TipWindow->grab().toImage();
    ASSERT_FALSE(img.isNull());
    EXPECT_NE(QColor(img.pixel(0, 0)), ToQColor(text)) << "no frame in the corner";
    EXPECT_EQ(QColor(img.pixel(img.width() / 2, 0)), ToQColor(text)) << "frame along the edge";
    DestroyTipWindow(balloon);
}

TEST_F(TipTest, MarginWidensTheTipOnEverySide) {
    QLabel* w = tip.TipWindow;
    SetTipMargin(tip, 0);
    w->adjustSize();
    const QSize plain = w->size();
    SetTipMargin(tip, 7);
    w->adjustSize();
    EXPECT_EQ(w->width(), plain.width() + 14);
    EXPECT_EQ(w->height(), plain.height() + 14);
    SetTipMargin(tip, -3);  // nonsense counts as none
    w->adjustSize();
    EXPECT_EQ(w->size(), plain);
}

TEST_F(TipTest, TrackingShowsWhereTheTipWasPutAndHidesOnRequest) {
    TrackTipPosition(tip, 40, 30);
    TrackTip(tip, true);
    EXPECT_TRUE(shown());
    EXPECT_EQ(tip.TipWindow->pos(), QPoint(40, 30));
    TrackTip(tip, false);
    EXPECT_FALSE(shown());
}

TEST_F(TipTest, RecordOutlivesTheOwnersWindow) {
    QPointer<QLabel> window(tip.TipWindow);
    form.reset();  // the owner's window goes first, the tip window with it
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(tip.TipWindow, nullptr);
    EXPECT_EQ(tip.Owner, nullptr);
    EXPECT_EQ(tip.Controller, nullptr);
    // Every operation is a no-op now.
    tip.Text = "later";
    UpdateTipText(tip);
    SetTipColors(tip, clBlack, clWhite);
    SetTipDelays(tip, 1, 1);
    SetTipMargin(tip, 3);
    TGraphicTool font(TGraphicToolKind::Font);
    SetTipFont(tip, font);
    TrackTip(tip, true);
    TrackTipPosition(tip, 1, 1);
    DestroyTipWindow(tip);
    EXPECT_EQ(tip.Text, "later");
}

}  // namespace
