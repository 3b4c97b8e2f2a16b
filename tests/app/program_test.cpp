// The whole program on the offscreen platform: the main window, its tabs,
// minimising to the restore handle and back, staying on top, and the saved
// placement.

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QScreen>
#include <QTabBar>
#include <QTest>

#include "support/program_fixture.h"
#include "tabulo/app/help.h"
#include "tabulo/app/position.h"
#include "tabulo/app/restorehandle.h"
#include "tabulo/controls/bitbtn.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/controls/pagecontrol.h"
#include "tabulo/controls/panel.h"
#include "tabulo/widgets/keystate.h"

namespace {

class MainWindowTest : public ProgramTest {
protected:
    QWidget* Main() const { return WidgetOf(Schema()->MainWindow->Control); }
    TClassChildForm_261B5A0* Handle() const {
        return static_cast<TClassChildForm_261B5A0*>(Schema()->HandleHost->Child->Schema);
    }
    QWidget* HandleWindow() const { return WidgetOf(Handle()->HandleForm->Control); }
    bool Minimised() const { return Main()->isMinimized(); }
    bool OnTop() const { return Main()->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

    static void Release(QWidget* w, Qt::MouseButton button) {
        QTest::mouseClick(w, button, {}, QPoint(5, 5));
        Settle();
    }
    static void Move(QWidget* w, Qt::MouseButtons held, Qt::KeyboardModifiers keys = {}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)),
                         Qt::NoButton, held, keys);
        QApplication::sendEvent(w, &move);
        Settle();
    }
    void MinimiseByRightRelease() {
        Release(Main(), Qt::RightButton);
        ASSERT_TRUE(Minimised());
        ASSERT_TRUE(HandleWindow()->isVisible());
    }

    void TearDown() override {
        SetKeyStateHook({});
        ProgramTest::TearDown();
    }
};

TEST_F(MainWindowTest, OpensAtTheOriginWithItsCaptionClientSizeAndIcon) {
    StartProgram();
    QWidget* w = Main();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Tabulo v. 1.3");
    EXPECT_EQ(w->size(), QSize(282, 350));
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    EXPECT_FALSE(HandleWindow()->isVisible());
    // Every size of the program icon, the large ones given after the first
    // paint.
    QTRY_VERIFY(w->windowIcon().availableSizes().size() == 6);
    const QList<QSize> sizes = w->windowIcon().availableSizes();
    for (int side : {16, 32, 48, 64, 128, 256})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
}

// The frame the window system gets from the window's first paint, taken by a
// call posted from that paint: it runs before the program's own call posted
// from the same paint (application filters installed later see events first).
class FirstFrame : public QObject {
public:
    FirstFrame(QWidget* window, TKVPageControl* pages) : window_(window), pages_(pages) {
        qApp->installEventFilter(this);
    }
    ~FirstFrame() override { qApp->removeEventFilter(this); }
    QImage Image;
    bool PagesWaiting = false;

protected:
    bool eventFilter(QObject* receiver, QEvent* e) override {
        if (e->type() != QEvent::Paint || posted_ || !receiver->isWidgetType() ||
            static_cast<QWidget*>(receiver)->window() != window_)
            return false;
        posted_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                PagesWaiting = pages_->ContentsWaiting();
                Image = window_->screen()->grabWindow(window_->winId()).toImage();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QWidget* window_;
    TKVPageControl* pages_;
    bool posted_ = false;
};

TEST_F(MainWindowTest, TabsReadCustomHandsPositionAboutAndOpenOnCustom) {
    // The first frame shows the four tabs and the Custom page while the
    // hidden pages have no contents yet; building them changes no pixel.
    QCursor::setPos(900, 700);  // off the window: no pointer event at the start
    StartProgramBeforeFirstPaint();
    auto* tabs = Main()->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    const auto expectTabs = [tabs] {
        ASSERT_EQ(tabs->count(), 4);
        EXPECT_EQ(tabs->tabText(0), "Custom");
        EXPECT_EQ(tabs->tabText(1), "Hands");
        EXPECT_EQ(tabs->tabText(2), "Position");
        EXPECT_EQ(tabs->tabText(3), "About");
        EXPECT_EQ(tabs->currentIndex(), 0);
    };
    expectTabs();
    auto* position = static_cast<TClassPosition_253CB10*>(Schema()->Pages->PageAt(2).Schema.get());
    EXPECT_EQ(position->Cells[0], nullptr);
    FirstFrame first(Main(), Schema()->Pages);

    WaitForPages();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !first.Image.isNull(); }, 5000));
    EXPECT_TRUE(first.PagesWaiting);
    expectTabs();
    EXPECT_NE(position->Cells[0], nullptr);
    Main()->repaint();
    const QImage complete = Main()->screen()->grabWindow(Main()->winId()).toImage();
    ASSERT_EQ(first.Image.size(), complete.size());
    EXPECT_TRUE(first.Image == complete) << "building the hidden pages changed the window";

    // The template ("base") is registered but never built.
    ASSERT_EQ(Schema()->Pages->PageCount(), 4);
    EXPECT_EQ(Schema()->Pages->PageAt(0).Name, "Custom");
    EXPECT_EQ(Schema()->Pages->PageAt(3).Name, "Help");
    auto* custom = static_cast<TClassbase_253CB10*>(Schema()->Pages->PageAt(0).Schema.get());
    auto* help = static_cast<TClassbase_253CB10*>(Schema()->Pages->PageAt(3).Schema.get());
    EXPECT_TRUE(WidgetOf(custom->Panel->Control)->isVisible());
    EXPECT_FALSE(WidgetOf(help->Panel->Control)->isVisible());
}

TEST_F(MainWindowTest, EveryPageBoundaryKnowsItsContainerAndSchema) {
    StartProgram();
    for (int i = 0; i < Schema()->Pages->PageCount(); ++i) {
        const auto& page = Schema()->Pages->PageAt(i);
        auto* schema = static_cast<TClassbase_253CB10*>(page.Schema.get());
        EXPECT_EQ(page.Boundary, schema->Boundary) << page.Name;
        EXPECT_EQ(schema->Boundary->Container, Schema()->Pages) << page.Name;
        EXPECT_EQ(schema->Boundary->Schema, schema) << page.Name;
        EXPECT_EQ(schema->ContainerOwner, Schema()) << page.Name;
        EXPECT_EQ(schema->TopControl, schema->Panel->Control) << page.Name;
        EXPECT_EQ(schema->Boundary->Inputs.size(), 1u) << page.Name;
        EXPECT_EQ(schema->Boundary->Pulls.size(), 1u) << page.Name;
    }
}

TEST_F(MainWindowTest, RightReleaseOnTheMainWindowMinimisesAndShowsTheHandle) {
    StartProgram();
    ASSERT_FALSE(Minimised());
    MinimiseByRightRelease();
}

TEST_F(MainWindowTest, LeftAndMiddleReleasesDoNothing) {
    StartProgram();
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::MiddleButton}) {
        Release(Main(), button);
        EXPECT_FALSE(Minimised()) << button;
        EXPECT_FALSE(HandleWindow()->isVisible()) << button;
    }
}

TEST_F(MainWindowTest, RightReleaseOnAControlInsideAPageMinimises) {
    StartProgram();
    auto* position = dynamic_cast<TClassPosition_253CB10*>(Schema()->Pages->PageAt(2).Schema.get());
    ASSERT_NE(position, nullptr);
    if (position->Cells[0] == nullptr) GTEST_SKIP() << "the Position page has no cells yet";
    Release(WidgetOf(position->Cells[0]->Control), Qt::LeftButton);
    EXPECT_FALSE(Minimised());
    Release(WidgetOf(position->Cells[0]->Control), Qt::RightButton);
    EXPECT_TRUE(Minimised());
    EXPECT_TRUE(HandleWindow()->isVisible());
}

TEST_F(MainWindowTest, HandleRightReleaseHidesItAndRestoresTheMainWindow) {
    StartProgram();
    MinimiseByRightRelease();
    // With Ctrl held the pointer may pass over the handle; only the release counts.
    SetKeyStateHook([](TModifierKey key) { return key == TModifierKey::Ctrl; });
    Release(HandleWindow(), Qt::LeftButton);
    EXPECT_TRUE(HandleWindow()->isVisible());
    EXPECT_TRUE(Minimised());
    Release(HandleWindow(), Qt::RightButton);
    EXPECT_FALSE(HandleWindow()->isVisible());
    EXPECT_FALSE(Minimised());
}

TEST_F(MainWindowTest, HandleDoubleClickRestoresTheMainWindow) {
    StartProgram();
    MinimiseByRightRelease();
    SetKeyStateHook([](TModifierKey key) { return key == TModifierKey::Ctrl; });
    QTest::mouseDClick(HandleWindow(), Qt::LeftButton, {}, QPoint(5, 5));
    Settle();
    EXPECT_FALSE(HandleWindow()->isVisible());
    EXPECT_FALSE(Minimised());
}

TEST_F(MainWindowTest, MouseMoveOverTheHandleRestoresOnlyWithoutCtrl) {
    StartProgram();
    MinimiseByRightRelease();
    SetKeyStateHook([](TModifierKey key) { return key == TModifierKey::Ctrl; });
    Move(HandleWindow(), Qt::NoButton, Qt::ControlModifier);
    EXPECT_TRUE(HandleWindow()->isVisible());
    EXPECT_TRUE(Minimised());

    SetKeyStateHook([](TModifierKey) { return false; });
    Move(HandleWindow(), Qt::NoButton);
    EXPECT_FALSE(HandleWindow()->isVisible());
    EXPECT_FALSE(Minimised());
}

TEST_F(MainWindowTest, TheCycleRepeats) {
    StartProgram();
    for (int round = 0; round < 3; ++round) {
        MinimiseByRightRelease();
        Release(HandleWindow(), Qt::RightButton);
        EXPECT_FALSE(Minimised()) << round;
        EXPECT_FALSE(HandleWindow()->isVisible()) << round;
    }
}

TEST_F(MainWindowTest, StaysOnTopExceptWhileALeftButtonDragMoves) {
    StartProgram();
    EXPECT_TRUE(OnTop());

    Move(Main(), Qt::LeftButton);
    EXPECT_FALSE(OnTop());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(Main(), &leave);
    Settle();
    EXPECT_TRUE(OnTop());

    // Only exactly the left button releases it: not with Ctrl, not the right button.
    Move(Main(), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(OnTop());
    Move(Main(), Qt::RightButton);
    EXPECT_TRUE(OnTop());

    Move(Main(), Qt::LeftButton);
    ASSERT_FALSE(OnTop());
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(Main(), &focus);
    Settle();
    EXPECT_TRUE(OnTop());

    Move(Main(), Qt::LeftButton);
    ASSERT_FALSE(OnTop());
    Main()->hide();
    Main()->show();
    Settle();
    EXPECT_TRUE(OnTop());

    // A plain move over the window puts it back as well.
    Move(Main(), Qt::LeftButton);
    ASSERT_FALSE(OnTop());
    Move(Main(), Qt::NoButton);
    EXPECT_TRUE(OnTop());
}

TEST_F(MainWindowTest, PlacementIsSavedOnCloseAndRestoredAtTheNextStart) {
    StartProgram();
    Schema()->MainWindow->Control->SetPosition(40, 60);
    Schema()->MainWindow->Control->SetClientSize(300, 380);
    Settle();
    EXPECT_TRUE(Schema()->MainWindow->Control->Close());
    Settle();
    StopProgram();

    StartProgram();
    EXPECT_EQ(Main()->pos(), QPoint(40, 60));
    EXPECT_EQ(Main()->size(), QSize(300, 380));
}

TEST_F(MainWindowTest, RestoreHandleKeepsItsPlaceUnderHidePos) {
    StartProgram();
    MinimiseByRightRelease();
    Handle()->HandleForm->Control->SetPosition(500, 400);
    Release(HandleWindow(), Qt::RightButton);
    StopProgram();

    StartProgram();
    MinimiseByRightRelease();
    EXPECT_EQ(HandleWindow()->pos(), QPoint(500, 400));
}

}  // namespace
