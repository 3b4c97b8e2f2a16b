#include "tabulo/controls/mainform.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "support/controls_test.h"
#include "tabulo/runtime/init_queue.h"
#include "tabulo/widgets/ini.h"
#include "tabulo/widgets/paths.h"
#include "tabulo/widgets/placementstore.h"
#include "tabulo/widgets/screen.h"
#include "tabulo_test/probe.h"

namespace {
// Each test runs with its own configuration and program folders, live
// dispatchers, and a fresh application object.
struct FormFixture : ::testing::Test {
    QTemporaryDir config, program;
    QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    std::unique_ptr<LiveHooks> hooks = std::make_unique<LiveHooks>();

    void SetUp() override {
        ResetApplicationForTesting();
        SetInitsDone(false);
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        SetProgramFolder(program.path().toStdString() + "/");
    }
    void TearDown() override {
        SetProgramFolder("");
        SetScreenSizeHook(nullptr);
        SetMonitorAreasHook(nullptr);
        if (oldConfig.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
        hooks.reset();
        ResetApplicationForTesting();
    }

    static std::unique_ptr<TKVMainForm> MakeForm(TControl* parent, const char* placeKey,
                                                 bool visible = true) {
        auto f = std::make_unique<TKVMainForm>(parent);
        f->Left = 10;
        f->Top = 20;
        f->Width = 282;
        f->Height = 350;
        f->ClientSize = true;
        f->Visible = visible;
        f->PlaceKey = placeKey;
        f->SetCaption("Tabulo v. 1.3");
        f->SetFrameStyle(2);
        f->Init();
        return f;
    }
    // The deferred step: onCreate, then the window follows Visible.
    static void Start() {
        RunInits();
        Pump();
    }
};

TEST_F(FormFixture, FirstFormIsTheMainFormAndShowsAfterTheDeferredStep) {
    Probe created;
    auto main = MakeForm(nullptr, "");
    auto child = MakeForm(main->Control, "", false);
    main->onCreate = created.Link();
    EXPECT_TRUE(main->IsMainForm);
    EXPECT_FALSE(child->IsMainForm);
    EXPECT_FALSE(main->Control->Visible());
    Start();
    EXPECT_EQ(created.Count(), 1u);
    EXPECT_TRUE(main->Control->Visible());
    EXPECT_FALSE(child->Control->Visible());
    EXPECT_TRUE(main->Shown);
    EXPECT_EQ(main->Control->Text(), "Tabulo v. 1.3");
    EXPECT_EQ(main->Control->ClientWidth(), 282);
    EXPECT_EQ(main->Control->ClientHeight(), 350);
}

TEST_F(FormFixture, PlacementRoundTripsThroughThePerUserStore) {
    {
        auto form = MakeForm(nullptr, "Tabulo\\ChartPlace");
        Start();
        form->Control->SetPosition(40, 50);
        form->Control->SetSize(300, 200);
        TData v;
        form->doClose(v, 0);
        TPlacementRecord r;
        ASSERT_TRUE(ReadPlacement("Tabulo\\ChartPlace", r));
        EXPECT_EQ(r.Left, 40);
        EXPECT_EQ(r.Top, 50);
        EXPECT_EQ(r.Height, 200);
        EXPECT_EQ(r.Width, 300);
    }
    ResetApplicationForTesting();
    InstallHooks();
    auto again = MakeForm(nullptr, "Tabulo\\ChartPlace");
    EXPECT_EQ(again->Control->Left(), 10);  // applied at the first showing, not before
    Start();
    EXPECT_EQ(again->Control->Left(), 40);
    EXPECT_EQ(again->Control->Top(), 50);
    EXPECT_EQ(again->Control->Width(), 300);
    EXPECT_EQ(again->Control->Height(), 200);
}

// Placements keep to the monitors there are: a first start whose design
// position no monitor shows, a window left wholly on the second monitor (it
// stays there), and the same once that monitor is gone (it comes onto the
// first).
TEST_F(FormFixture, PlacementsKeepToTheMonitorsThereAre) {
    SetMonitorAreasHook([] { return std::vector<TRect>{{2000, 0, 3000, 800}}; });
    {
        auto first = MakeForm(nullptr, "Tabulo\\ChartPlace");
        Start();
        EXPECT_EQ(first->Control->Left(), 2000);
    }
    const std::vector<TRect> sideBySide{{0, 0, 1920, 1050}, {1920, 0, 3200, 1024}};
    ASSERT_TRUE(WritePlacement("Tabulo\\ChartPlace", 2200, 100, 350, 282));
    for (const std::vector<TRect>& monitors : {sideBySide, std::vector<TRect>{sideBySide[0]}}) {
        ResetApplicationForTesting();
        SetInitsDone(false);
        InstallHooks();
        SetMonitorAreasHook([monitors] { return monitors; });
        auto again = MakeForm(nullptr, "Tabulo\\ChartPlace");
        Start();
        EXPECT_EQ(again->Control->Left(), monitors.size() == 2 ? 2200 : 1920 - 282);
        EXPECT_EQ(again->Control->Top(), 100);
    }
}

// A damaged or foreign placement (either form) never opens a window larger
// than the screen or out of reach, and the clamped size is what is saved.
TEST_F(FormFixture, RestoredPlacementIsClampedToTheScreen) {
    SetScreenSizeHook([] { return TScreenSize{1024, 768}; });
    ASSERT_TRUE(WritePlacement("Tabulo\\ChartPlace", 40000, -40000, 100000, 100000));
    const std::string ini = program.filePath("pos.ini").toStdString();
    ASSERT_TRUE(WritePrivateProfileString("Main", "Left", "-40000", ini));
    ASSERT_TRUE(WritePrivateProfileString("Main", "Width", "100000", ini));
    auto store = MakeForm(nullptr, "Tabulo\\ChartPlace");
    auto fromIni = MakeForm(nullptr, "pos.ini\\Main");
    Start();
    for (TKVMainForm* form : {store.get(), fromIni.get()}) {
        const TRect r = form->Control->BoundsRect();
        EXPECT_LE(r.Width(), 1024);
        EXPECT_LE(r.Height(), 768);
        EXPECT_GE(r.Top, 0);
        EXPECT_LE(r.Top, 768 - 64);
        EXPECT_GE(r.Right, 64);
        EXPECT_LE(r.Left, 1024 - 64);
    }
    TData v;
    store->doClose(v, 0);
    TPlacementRecord saved;
    ASSERT_TRUE(ReadPlacement("Tabulo\\ChartPlace", saved));
    EXPECT_LE(*saved.Width, 1024);
    EXPECT_LE(*saved.Height, 768);
}

TEST_F(FormFixture, EmptyPlaceKeyKeepsNothing) {
    auto form = MakeForm(nullptr, "");
    Start();
    form->SavePlacement();
    TPlacementRecord r;
    EXPECT_FALSE(ReadPlacement("", r));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(PlacementStoreLocation())));
}

TEST_F(FormFixture, IniPlacementWritesLeftTopWidthHeightInTheProgramFolder) {
    auto form = MakeForm(nullptr, "pos.ini\\Main");
    Start();
    form->Control->SetPosition(11, 22);
    form->Control->SetSize(333, 144);
    form->SavePlacement();
    QFile f(program.filePath("pos.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
              QByteArray("[Main]\r\nLeft=11\r\nTop=22\r\nWidth=333\r\nHeight=144\r\n"));
    f.close();

    // A missing key keeps the current value.
    QFile::remove(program.filePath("pos.ini"));
    ASSERT_TRUE(
        WritePrivateProfileString("Main", "Top", "77", program.filePath("pos.ini").toStdString()));
    form->Control->SetPosition(5, 6);
    form->LoadPlacement();
    EXPECT_EQ(form->Control->Left(), 5);
    EXPECT_EQ(form->Control->Top(), 77);
    EXPECT_EQ(form->Control->Width(), 333);
}

TEST_F(FormFixture, CanCloseRefusesAUserCloseButDoCloseClosesAnyway) {
    Source refuse;
    refuse.Answer = MakeInt(1);
    Probe closed;
    auto form = MakeForm(nullptr, "Tabulo\\ChartPlace");
    form->pullCanClose = refuse.Link();
    form->onClose = closed.Link();
    Start();
    EXPECT_FALSE(form->Control->Close(false));
    EXPECT_TRUE(form->Control->Visible());
    EXPECT_EQ(closed.Count(), 0u);
    EXPECT_EQ(refuse.Reads, 1);
    TPlacementRecord r;
    EXPECT_FALSE(ReadPlacement("Tabulo\\ChartPlace", r));

    TData v;
    form->doClose(v, 0);
    EXPECT_EQ(closed.Count(), 1u);
    EXPECT_EQ(refuse.Reads, 1);  // a close by the program is not asked
    EXPECT_FALSE(form->Control->Visible());
    EXPECT_TRUE(AppletTerminated());
    EXPECT_TRUE(ReadPlacement("Tabulo\\ChartPlace", r));
    // The dispatchers are muted: nothing fires any more.
    FireNull(form->onClose);
    EXPECT_EQ(closed.Count(), 1u);
}

TEST_F(FormFixture, ChildFormIsHiddenNotDestroyedAndShowsAgain) {
    auto main = MakeForm(nullptr, "");
    auto child = MakeForm(main->Control, "HidePos", false);
    Probe closed;
    child->onClose = closed.Link();
    Start();
    TData text = MakeText("B12");  // a non-integer value counts as true
    child->doVisible(text, 0);
    EXPECT_TRUE(child->Control->Visible());
    EXPECT_FALSE(child->Control->Close(false));
    EXPECT_FALSE(child->Control->Visible());
    ASSERT_NE(child->Control->Widget(), nullptr);
    Pump();
    ASSERT_NE(child->Control->Widget(), nullptr);  // not deleted later either
    EXPECT_EQ(closed.Count(), 0u);
    EXPECT_FALSE(AppletTerminated());
    TPlacementRecord r;
    EXPECT_TRUE(ReadPlacement("HidePos", r));
    child->doVisible(text, 0);
    EXPECT_TRUE(child->Control->Visible());
    TData zero = MakeInt(0);
    child->doVisible(zero, 0);
    EXPECT_FALSE(child->Control->Visible());
}

TEST_F(FormFixture, ClosingTheMainFormClosesItsChildForms) {
    auto main = MakeForm(nullptr, "");
    auto child = MakeForm(main->Control, "", false);
    Start();
    TData on = MakeInt(1);
    child->doVisible(on, 0);
    ASSERT_TRUE(child->Control->Visible());
    EXPECT_TRUE(main->Control->Close(false));
    EXPECT_FALSE(child->Control->Visible());
    EXPECT_NE(child->Control->Widget(), nullptr);
    EXPECT_TRUE(AppletTerminated());
}

TEST_F(FormFixture, MinimiseAndRestoreChangeTheStateOnlyWhenItDiffers) {
    auto main = MakeForm(nullptr, "");
    Start();
    int states = 0;
    TMessageHook previous = main->Control->SetMessageHook([&](TControl& s, TMsg& m) {
        if (m.Message == msgWindowState) ++states;
        return PassMessage(previous, s, m);
    });
    TData v;
    main->doRestore(v, 1);
    Pump();
    EXPECT_EQ(states, 0);
    main->doMinimize(v, 2);
    Pump();
    EXPECT_EQ(main->Control->WindowState(), wsMinimized);
    main->doRestore(v, 1);
    Pump();
    EXPECT_EQ(main->Control->WindowState(), wsNormal);
    main->Control->SetMessageHook(previous);
}

TEST_F(FormFixture, CentreOnScreenHalvesTowardZero) {
    SetScreenSizeHook([] { return TScreenSize{1001, 801}; });
    auto form = std::make_unique<TKVMainForm>(nullptr);
    form->Width = 264;
    form->Height = 230;
    form->ClientSize = true;
    form->StartPosition = &TKVMainForm::CenterOnScreen;
    form->Init();
    EXPECT_EQ(form->Control->Left(), (1001 - 264) / 2);
    EXPECT_EQ(form->Control->Top(), (801 - 230) / 2);
}

TEST_F(FormFixture, AlphaBlendBelow255MakesTheWindowTranslucent) {
    auto form = std::make_unique<TKVMainForm>(nullptr);
    form->AlphaBlend = 128;
    form->Init();
    EXPECT_EQ(form->Control->AlphaBlend(), 128);
    ASSERT_NE(form->Control->Widget(), nullptr);
    EXPECT_NEAR(form->Control->Widget()->windowOpacity(), 128.0 / 255.0, 0.01);
}

TEST_F(FormFixture, FrameStylesAboveNineAreIgnored) {
    auto form = MakeForm(nullptr, "");
    form->SetFrameStyle(7);
    const uint32_t style = form->Control->Style(), ex = form->Control->ExStyle();
    EXPECT_EQ(style & WS_CAPTION, 0u);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    form->SetFrameStyle(10);
    EXPECT_EQ(form->Control->Style(), style);
    EXPECT_EQ(form->Control->ExStyle(), ex);
}

TEST_F(FormFixture, BackgroundIsPaintedWhenNotEmpty) {
    auto form = MakeForm(nullptr, "");
    form->Color = RGBColor(1, 2, 3);
    Start();
    EXPECT_EQ(Rgb(Grab(form->Control), 5, 5), RgbOf(ColorToRGB(form->Control->Color())));
    form->Background->SetSize(20, 20);
    form->Background->Canvas().FillRect(MakeRect(0, 0, 20, 20), RGBColor(0, 255, 0));
    const QImage img = Grab(form->Control);
    EXPECT_EQ(Rgb(img, 5, 5), 0x00FF00u);
    EXPECT_EQ(Rgb(img, 19, 19), 0x00FF00u);
}

TEST_F(FormFixture, AnEmptyIconTakesTheParentsIcon) {
    auto main = MakeForm(nullptr, "");
    QImage pic(16, 16, QImage::Format_RGB32);
    pic.fill(Qt::red);
    main->SetIcon(QIcon(QPixmap::fromImage(pic)));
    ASSERT_NE(main->Control->Icon(), nullptr);
    EXPECT_FALSE(main->Control->Icon()->Empty());
    auto child = MakeForm(main->Control, "", false);
    child->SetIcon(QIcon());  // "KLVA" is not among the resources
    ASSERT_NE(child->Control->Icon(), nullptr);
    EXPECT_FALSE(child->Control->Icon()->Empty());
}

TEST_F(FormFixture, ShowingRemembersTheActiveFormAndHidingForgetsIt) {
    auto main = MakeForm(nullptr, "");
    auto child = MakeForm(main->Control, "", false);
    Start();
    main->Control->Activate();
    Pump();
    if (ActiveForm() != main->Control) GTEST_SKIP() << "no window activation on this platform";
    TData on = MakeInt(1), off = MakeInt(0);
    child->doVisible(on, 0);
    EXPECT_EQ(child->RememberedWindow, main->Control->Handle());
    child->doVisible(off, 0);
    EXPECT_EQ(child->RememberedWindow, 0u);
    Pump();
    EXPECT_EQ(ActiveForm(), main->Control);
}

TEST_F(FormFixture, DragAnywhereMovesTheWindowWithThePointer) {
    auto form = MakeForm(nullptr, "");
    form->DragAnywhere = true;
    Start();
    form->Control->SetPosition(100, 100);
    Pump();
    QWidget* w = form->Control->Widget();
    auto send = [&](QEvent::Type t, QPointF at, Qt::MouseButton b, Qt::MouseButtons held) {
        QMouseEvent e(t, at, w->mapToGlobal(at), b, held, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    send(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {30, 25}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form->Control->Left(), 120);
    EXPECT_EQ(form->Control->Top(), 115);
    send(QEvent::MouseButtonRelease, {10, 10}, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseMove, {50, 50}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(form->Control->Left(), 120);
}

TEST_F(FormFixture, ActivationMessagesReachTheOutputs) {
    Probe on, off;
    auto form = MakeForm(nullptr, "");
    form->onActivate = on.Link();
    form->onDeactivate = off.Link();
    TMsg m;
    m.Message = msgActivate;
    m.WParam = 1;
    form->Control->Perform(m);
    m.WParam = 0;
    form->Control->Perform(m);
    EXPECT_EQ(on.Count(), 1u);
    EXPECT_EQ(off.Count(), 1u);
}
}  // namespace
