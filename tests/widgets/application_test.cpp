// The application object: closing forms, the loop, minimising, Tab order.

#include <gtest/gtest.h>
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

#include "tabulo/widgets/afterfirstpaint.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/messagebox.h"
#include "tabulo/widgets/screen.h"

namespace {

struct Program : ::testing::Test {
    void SetUp() override { ResetApplicationForTesting(); }
    void TearDown() override { ResetApplicationForTesting(); }
};

TEST_F(Program, TheFirstFormIsTheAppletAndEveryFormIsListed) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    std::unique_ptr<TControl> child(NewForm(main.get(), "Child"));
    EXPECT_EQ(Applet(), main.get());
    const auto& forms = FormList();
    ASSERT_GE(forms.size(), 2u);
    EXPECT_EQ(forms[forms.size() - 2], main.get());
    EXPECT_EQ(forms.back(), child.get());
    TControl* c = child.release();
    delete c;
    EXPECT_EQ(FormList().back(), main.get());
}

TEST_F(Program, ClosingAChildFormDoesNotEndTheProgramButClosingTheMainFormDoes) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    std::unique_ptr<TControl> child(NewForm(nullptr, "Child"));
    main->Show();
    child->Show();
    int destroyed = 0;
    child->OnDestroy = [&](TControl&) { ++destroyed; };
    EXPECT_TRUE(child->Close());
    ProcessMessages();
    EXPECT_FALSE(AppletTerminated());
    EXPECT_EQ(destroyed, 1);  // the child's window was destroyed
    EXPECT_TRUE(main->Visible());

    // The loop runs until the main form closes.
    bool closeSlot = false;
    main->OnClose = [&](TControl&, bool&) { closeSlot = true; };
    QTimer::singleShot(0, [&] { main->Close(); });
    ::Run(main.get());
    EXPECT_TRUE(closeSlot);
    EXPECT_TRUE(AppletTerminated());
    EXPECT_FALSE(main->Visible());
}

TEST_F(Program, AMainFormWhoseCloseIsRefusedKeepsTheProgramRunning) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    main->Show();
    main->OnClose = [](TControl&, bool& accept) { accept = false; };
    EXPECT_FALSE(main->Close());
    EXPECT_FALSE(AppletTerminated());
    EXPECT_TRUE(main->Visible());
}

TEST_F(Program, RunReturnsAtOnceWhenAlreadyTerminatedAndCallsTheIdleHook) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    int idles = 0;
    SetIdleHook([&] {
        if (++idles == 3) Terminate();
    });
    // Something to wake the loop until it ends.
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [] {});
    ticker.start(1);
    ::Run(main.get());
    EXPECT_EQ(idles, 3);
    ::Run(main.get());  // the flag is still set
    EXPECT_EQ(idles, 3);
}

TEST_F(Program, MinimisingTheMainFormMinimisesTheApplication) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    main->Show();
    EXPECT_EQ(ApplicationState(), wsNormal);
    std::vector<intptr_t> states;
    main->SetMessageHook([&](TControl&, TMsg& m) {
        if (m.Message == msgWindowState) states.push_back(m.WParam);
        return false;
    });
    main->SetWindowState(wsMinimized);
    EXPECT_EQ(main->WindowState(), wsMinimized);
    EXPECT_EQ(ApplicationState(), wsMinimized);
    SetApplicationState(wsNormal);
    EXPECT_EQ(main->WindowState(), wsNormal);
    EXPECT_EQ(ApplicationState(), wsNormal);
    EXPECT_EQ(states, (std::vector<intptr_t>{wsMinimized, wsNormal}));
}

TEST_F(Program, TheAppletHookSeesMessagesBeforeTheControlsOwnHook) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    std::unique_ptr<TControl> c(NewControl(main.get()));
    std::vector<std::string> order;
    SetAppletMessageHook([&](TControl& target, TMsg& m) {
        if (m.Message == msgUser && &target == c.get()) order.push_back("applet");
        return m.WParam == 1;
    });
    c->SetMessageHook([&](TControl&, TMsg& m) {
        if (m.Message == msgUser) order.push_back("own");
        return false;
    });
    TMsg m;
    m.Message = msgUser;
    c->Perform(m);
    m.WParam = 1;
    EXPECT_TRUE(c->Perform(m));
    EXPECT_EQ(order, (std::vector<std::string>{"applet", "own", "applet"}));
}

TEST_F(Program, TheTabKeyMovesTheFocusByTabOrder) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    main->SetSize(300, 100);
    std::unique_ptr<TControl> a(NewEdit(main.get(), 0));
    std::unique_ptr<TControl> b(NewButton(main.get(), "b"));
    std::unique_ptr<TControl> c(NewEdit(main.get(), 0));
    std::unique_ptr<TControl> label(NewLabel(main.get(), "not a stop"));
    a->SetBoundsRect({0, 0, 50, 20});
    b->SetBoundsRect({60, 0, 110, 20});
    c->SetBoundsRect({120, 0, 170, 20});
    // The order given: c, a, b.
    c->SetTabOrder(1);
    a->SetTabOrder(2);
    b->SetTabOrder(3);
    main->ShowWindow(true);
    QApplication::setActiveWindow(main->Widget());
    c->SetFocus();
    ASSERT_TRUE(c->Focused());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(a->Focused());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(b->Focused());
    b->SetTabStop(false);
    a->SetFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(c->Focused());
    // Without navigation the key stays with the focused control.
    main->SetTabNavigation(false);
    int tabs = 0;
    c->OnKeyDown = [&](TControl&, int& key, uint32_t) { tabs += key == vkTab; };
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(c->Focused());
    EXPECT_EQ(tabs, 1);
}

TEST_F(Program, EnterPressesTheDefaultButtonOfTheForm) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    main->SetSize(300, 100);
    std::unique_ptr<TControl> e(NewEdit(main.get(), 0));
    std::unique_ptr<TControl> ok(NewButton(main.get(), "OK"));
    ok->SetDefaultButton(true);
    int clicks = 0;
    ok->OnClick = [&](TControl&) { ++clicks; };
    main->ShowWindow(true);
    QApplication::setActiveWindow(main->Widget());
    e->SetFocus();
    QTest::keyClick(e->Widget(), Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
}

// When a monitor goes, every form on it comes onto one that is left, the
// hidden ones too (the restore handle is shown where it was hidden).
TEST_F(Program, FormsOnAMonitorThatGoesComeOntoAnother) {
    std::vector<TRect> monitors{{0, 0, 1920, 1050}, {1920, 0, 3200, 1024}};
    SetMonitorAreasHook([&monitors] { return monitors; });
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    std::unique_ptr<TControl> handle(NewForm(nullptr, "Handle"));
    main->SetBoundsRect({2200, 100, 2482, 450});
    handle->SetBoundsRect({3100, 900, 3213, 957});
    main->Show();
    KeepFormsOnMonitors();
    EXPECT_EQ(main->BoundsRect(), (TRect{2200, 100, 2482, 450}));
    monitors.pop_back();
    KeepFormsOnMonitors();
    EXPECT_EQ(main->BoundsRect(), (TRect{1638, 100, 1920, 450}));
    EXPECT_EQ(handle->BoundsRect(), (TRect{1807, 900, 1920, 957}));
    EXPECT_FALSE(handle->Visible());
    SetMonitorAreasHook(nullptr);
}

TEST_F(Program, StaysOnTopChangesTheWindowOnlyWhenItDiffers) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    main->Show();
    int hides = 0;
    main->OnHide = [&](TControl&) { ++hides; };
    main->SetStaysOnTop(true);
    EXPECT_TRUE(main->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(main->Visible());
    const int afterFirst = hides;
    for (int i = 0; i < 5; ++i) main->SetStaysOnTop(true);
    EXPECT_EQ(hides, afterFirst);  // no flicker when nothing changes
    main->SetStaysOnTop(false);
    EXPECT_FALSE(main->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(Program, FlagChangesAreNoShowOrHideForTheProgram) {
    // Changing a window flag makes the toolkit hide and show the window; the
    // program, which answers a show by asking for "on top", must not see it.
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    main->Show();
    int shows = 0, hides = 0, showMsgs = 0;
    main->OnShow = [&](TControl& c) {
        ++shows;
        c.SetStaysOnTop(true);
    };
    main->OnHide = [&](TControl&) { ++hides; };
    main->SetMessageHook([&](TControl&, TMsg& m) {
        showMsgs += m.Message == msgShow || m.Message == msgHide;
        return false;
    });
    main->SetStaysOnTop(true);
    main->SetStaysOnTop(false);
    EXPECT_EQ(shows, 0);
    EXPECT_EQ(hides, 0);
    EXPECT_EQ(showMsgs, 0);
    EXPECT_FALSE(main->StaysOnTop());
    EXPECT_FALSE(main->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(main->Visible());
    main->SetFrameStyle(4);
    EXPECT_EQ(shows, 0);
    // A real hide and show are reported.
    main->Hide();
    main->Show();
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(shows, 1);
    EXPECT_TRUE(main->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(Program, StartAndStopSetUpAndForgetTheLoopState) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    Terminate();
    StartApplication();
    EXPECT_FALSE(AppletTerminated());
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
    StopApplication();
    EXPECT_EQ(Applet(), nullptr);
}

TEST_F(Program, FrameStylesMapToWindowFlags) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    auto flags = [&] { return main->Widget()->windowFlags(); };
    main->SetFrameStyle(0);
    EXPECT_TRUE(flags() & Qt::FramelessWindowHint);
    main->SetFrameStyle(4);
    EXPECT_EQ(main->ExStyle() & 0x181u, 0x80u);
    EXPECT_EQ(flags() & Qt::WindowType_Mask, Qt::Tool);
    main->SetFrameStyle(2);
    EXPECT_EQ(main->Style() & 0xC70000u, 0xC70000u);
    EXPECT_TRUE(flags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags() & Qt::WindowMinimizeButtonHint);
    const uint32_t before = main->Style();
    main->SetFrameStyle(10);  // ignored
    EXPECT_EQ(main->Style(), before);

    // A title bar without a close button until the system menu is given.
    main->SetFrameStyle(5);
    EXPECT_EQ(flags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags() & Qt::WindowTitleHint);
    EXPECT_FALSE(flags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
    main->SetStyle(main->Style() | WS_SYSMENU);
    EXPECT_TRUE(flags() & Qt::WindowCloseButtonHint);

    // A sizing border without a title: neither a title bar nor no frame,
    // and no tool window for the toolkit (it would make it a transient).
    main->SetFrameStyle(7);
    EXPECT_EQ(flags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_FALSE(flags() & (Qt::WindowTitleHint | Qt::FramelessWindowHint));
    EXPECT_TRUE(flags() & Qt::CustomizeWindowHint);
}

TEST_F(Program, OnlyAWindowWithoutTitleStaysVisibleWithoutItsMinimisedOwner) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    std::unique_ptr<TControl> tool(NewForm(main.get(), "Tool"));
    std::unique_ptr<TControl> handle(NewForm(main.get(), "Handle"));
    tool->SetFrameStyle(5);
    handle->SetFrameStyle(7);
    main->Show();
    tool->Show();
    handle->Show();
    // Window managers minimise transient windows with their owner.
    ASSERT_NE(tool->Widget()->windowHandle(), nullptr);
    ASSERT_NE(handle->Widget()->windowHandle(), nullptr);
    EXPECT_EQ(tool->Widget()->windowHandle()->transientParent(), main->Widget()->windowHandle());
    EXPECT_EQ(handle->Widget()->windowHandle()->transientParent(), nullptr);
    handle->SetFrameStyle(5);
    handle->Hide();
    handle->Show();
    EXPECT_EQ(handle->Widget()->windowHandle()->transientParent(), main->Widget()->windowHandle());
}

TEST_F(Program, AMessageBoxBelongsToTheActiveFormElseTheFirstElseNone) {
    EXPECT_EQ(MessageBoxOwner(), nullptr);
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    std::unique_ptr<TControl> other(NewForm(main.get(), "Other"));
    EXPECT_EQ(MessageBoxOwner(), main.get());
    other->Show();
    QApplication::setActiveWindow(other->Widget());
    EXPECT_EQ(MessageBoxOwner(), other.get());
    other->Hide();
    QApplication::setActiveWindow(nullptr);
    EXPECT_EQ(MessageBoxOwner(), main.get());
}

}  // namespace

namespace {

// Notes the form's paint events and when the work ran among them.
class PaintLog : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++Paints;
        return false;
    }
};

// Work after the first paint: it runs once, after the form's first paint
// (not before it, however many events come first), or first thing when
// input arrives earlier; dropped with its owner.
TEST_F(Program, WorkAfterTheFirstPaintRunsOnceAfterItOrBeforeAnyInput) {
    std::unique_ptr<TControl> main(NewForm(nullptr, "Main"));
    PaintLog log;
    main->Widget()->installEventFilter(&log);
    std::vector<int> paintsSeenByWork;
    TAfterFirstPaint after(main.get(), [&] { paintsSeenByWork.push_back(log.Paints); });
    QApplication::processEvents();
    EXPECT_TRUE(after.Pending());  // not shown, never painted
    main->Show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !after.Pending(); }, 5000));
    ASSERT_EQ(paintsSeenByWork.size(), 1u);
    EXPECT_GE(paintsSeenByWork[0], 1);
    main->Widget()->update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.Paints > paintsSeenByWork[0]; }, 5000));
    EXPECT_EQ(paintsSeenByWork.size(), 1u);

    // A key before any paint runs the work before the key is handled.
    std::unique_ptr<TControl> other(NewForm(nullptr, "Other"));
    int keysSeenByWork = -1, keys = 0;
    TAfterFirstPaint early(other.get(), [&] { keysSeenByWork = keys; });
    other->OnKeyDown = [&](TControl&, int&, uint32_t) { ++keys; };
    QTest::keyClick(other->Widget(), Qt::Key_A);
    EXPECT_EQ(keysSeenByWork, 0);
    EXPECT_EQ(keys, 1);

    // Dropped work never runs.
    bool ran = false;
    {
        TAfterFirstPaint dropped(other.get(), [&] { ran = true; });
    }
    QTest::keyClick(other->Widget(), Qt::Key_A);
    EXPECT_FALSE(ran);
}

}  // namespace
