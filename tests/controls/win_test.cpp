#include "tabulo/controls/win.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <memory>

#include "support/controls_test.h"
#include "tabulo/components/hintmanager.h"
#include "tabulo/controls/edit.h"
#include "tabulo/controls/panel.h"
#include "tabulo_test/probe.h"

namespace {
struct WinFixture : ::testing::Test {
    HostWindow host;
    LiveHooks hooks;
    std::unique_ptr<TKVPanel> panel;
    QWidget* w = nullptr;

    void SetUp() override {
        panel = std::make_unique<TKVPanel>(host.Control());
        panel->Left = 5;
        panel->Top = 6;
        panel->Width = 100;
        panel->Height = 80;
        panel->Name = "Subject";
        panel->Init();
        host.Show();
        w = panel->Control->Widget();
    }
    void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QMouseEvent e(type, QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), button, held, mods);
        QApplication::sendEvent(w, &e);
    }
    void Wheel(int delta) {
        QWheelEvent e(QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    }
};

TEST_F(WinFixture, InitAppliesGeometryAndName) {
    EXPECT_EQ(panel->Control->Left(), 5);
    EXPECT_EQ(panel->Control->Top(), 6);
    EXPECT_EQ(panel->Control->Width(), 100);
    EXPECT_EQ(panel->Control->Height(), 80);
    EXPECT_EQ(host.Control()->Widget()->findChild<QWidget*>("Subject"), w);
    TData h;
    panel->getHandle(h, 0);
    EXPECT_EQ(h.Tag, dtInteger);
    EXPECT_EQ(uint32_t(h.IntValue), panel->Control->Handle());
    EXPECT_NE(h.IntValue, 0);
}

TEST_F(WinFixture, MouseEnterFiresForEveryMouseMessage) {
    Probe enter;
    panel->onMouseEnter = enter.Link();
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(enter.Count(), 2u);
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    Wheel(120);
    EXPECT_EQ(enter.Count(), 6u);
    QEnterEvent in(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(w, &in);
    EXPECT_EQ(enter.Count(), 7u);
    for (const auto& hit : enter.Hits) EXPECT_EQ(hit.Value.Tag, dtNull);
}

TEST_F(WinFixture, MouseLeaveFiresOnLeaving) {
    Probe leave;
    panel->onMouseLeave = leave.Link();
    QEvent out(QEvent::Leave);
    QApplication::sendEvent(w, &out);
    EXPECT_EQ(leave.Count(), 1u);
}

struct MoveCase {
    Qt::MouseButtons Held;
    Qt::KeyboardModifiers Mods;
    int32_t Expected;
};

class MouseMoveValue : public WinFixture, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MouseMoveValue, IsTheButtonOnlyWhenExactlyOneIsHeldWithoutShiftOrCtrl) {
    Probe move;
    panel->onMouseMove = move.Link();
    Mouse(QEvent::MouseMove, Qt::NoButton, GetParam().Held, GetParam().Mods);
    ASSERT_EQ(move.Count(), 1u);
    EXPECT_EQ(move.Last().Tag, dtInteger);
    EXPECT_EQ(move.Last().IntValue, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(States, MouseMoveValue,
                         ::testing::Values(MoveCase{Qt::LeftButton, Qt::NoModifier, 0},
                                           MoveCase{Qt::RightButton, Qt::NoModifier, 1},
                                           MoveCase{Qt::MiddleButton, Qt::NoModifier, 2},
                                           MoveCase{Qt::NoButton, Qt::NoModifier, -1},
                                           MoveCase{Qt::LeftButton | Qt::RightButton,
                                                    Qt::NoModifier, -1},
                                           MoveCase{Qt::LeftButton, Qt::ShiftModifier, -1},
                                           MoveCase{Qt::LeftButton, Qt::ControlModifier, -1},
                                           MoveCase{Qt::RightButton, Qt::ControlModifier, -1},
                                           MoveCase{Qt::LeftButton, Qt::AltModifier, 0}));

TEST_F(WinFixture, ButtonsAndWheelReportTheirValues) {
    Probe down, up, dbl, wheel;
    panel->onMouseDown = down.Link();
    panel->onMouseUp = up.Link();
    panel->onDblClick = dbl.Link();
    panel->onMouseWheel = wheel.Link();
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton);
    Mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    Wheel(-240);
    ASSERT_EQ(down.Count(), 2u);
    EXPECT_EQ(down.Hits[0].Value.IntValue, 1);
    EXPECT_EQ(down.Hits[1].Value.IntValue, 2);
    ASSERT_EQ(up.Count(), 2u);
    EXPECT_EQ(up.Hits[0].Value.IntValue, 1);
    EXPECT_EQ(up.Hits[1].Value.IntValue, 2);
    ASSERT_EQ(dbl.Count(), 1u);
    EXPECT_EQ(dbl.Last().IntValue, 0);
    ASSERT_EQ(wheel.Count(), 1u);
    EXPECT_EQ(wheel.Last().IntValue, -240);
    EXPECT_EQ(int16_t(panel->LastMouse.State >> 16), -240);
}

TEST_F(WinFixture, VisibleTakesAnyNonIntegerAsTrue) {
    TData zero = MakeInt(0), text = MakeText("x"), null;
    panel->doVisible(zero, 0);
    EXPECT_FALSE(panel->Control->Visible());
    panel->doVisible(null, 0);
    EXPECT_TRUE(panel->Control->Visible());
    panel->doVisible(zero, 0);
    panel->doVisible(text, 0);
    EXPECT_TRUE(panel->Control->Visible());
    panel->doEnabled(zero, 0);
    EXPECT_FALSE(panel->Control->Enabled());
}

TEST_F(WinFixture, SendToBackAndBringToFrontChangeTheSiblingOrder) {
    TKVPanel other(host.Control());
    other.Init();
    QWidget* parent = host.Control()->Widget();
    TData v;
    panel->doBringToFront(v, 3);
    EXPECT_EQ(parent->children().indexOf(w), parent->children().size() - 1);
    panel->doSendToBack(v, 2);
    EXPECT_LT(parent->children().indexOf(w), parent->children().indexOf(other.Control->Widget()));
    TData zero = MakeInt(0);
    panel->doVisible(zero, 0);
    ASSERT_FALSE(panel->Control->Visible());
    panel->doBringToFront(v, 3);
    EXPECT_TRUE(panel->Control->Visible());
}

TEST_F(WinFixture, SizePullsMayCorrectAResize) {
    Source keepHeight;
    keepHeight.Answer = MakeInt(0);  // no change of height allowed
    panel->pullSizeH = keepHeight.Link();
    panel->Control->SetSize(150, 120);
    EXPECT_EQ(panel->Control->Width(), 150);
    EXPECT_EQ(panel->Control->Height(), 80);
    EXPECT_EQ(keepHeight.Reads, 1);
    panel->Control->SetSize(170, 80);  // same height: not asked
    EXPECT_EQ(keepHeight.Reads, 1);
}

TEST_F(WinFixture, OtherEventsReachTheirOutputs) {
    Probe moved, resized;
    panel->onMove = moved.Link();
    panel->onResize = resized.Link();
    panel->Control->SetPosition(30, 40);
    panel->Control->SetSize(60, 70);
    Pump();
    EXPECT_GE(moved.Count(), 1u);
    EXPECT_GE(resized.Count(), 1u);
}

TEST_F(WinFixture, FontFollowsTheRecordOrTheParent) {
    TKVPanel child(panel->Control);
    child.Font.Name = "Tahoma";
    child.Font.Size = 8;
    child.Font.Style = 1;
    child.Font.Color = RGBColor(1, 2, 3);
    child.Init();
    EXPECT_EQ(child.Control->Font().FontHeight(), FontHeightForSize(8));
    EXPECT_EQ(child.Control->Font().FontStyle(), 1);
    EXPECT_EQ(child.Control->Font().Color(), RGBColor(1, 2, 3));
    TKVPanel inherit(child.Control);
    inherit.ParentFont = true;
    inherit.Init();
    EXPECT_EQ(inherit.Control->Font().FontName(), "Tahoma");
    EXPECT_EQ(inherit.Control->Font().FontStyle(), 1);
}

TEST_F(WinFixture, BorderStyleZeroWithEdgeTwoHasOnlyTheStaticEdge) {
    TKVPanel a(host.Control());
    a.BorderStyle = 0;
    a.Edge = 2;
    a.Init();
    EXPECT_EQ(a.Control->ExStyle() & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE),
              uint32_t(WS_EX_STATICEDGE));
    TKVPanel b(host.Control());
    b.BorderStyle = 0;
    b.Init();
    EXPECT_TRUE(b.Control->ExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(b.Control->Style() & WS_BORDER);
    TKVPanel c(host.Control());
    c.BorderStyle = 1;
    c.Init();
    EXPECT_TRUE(c.Control->Style() & WS_BORDER);
}

TEST_F(WinFixture, CompanionSplitterTakesItsPlaceBesideATopAlignedControl) {
    TKVPanel top(host.Control());
    top.Width = 100;
    top.Height = 60;
    top.Align = caTop;
    top.CompanionFactory.Make = &MakeSplitterCompanion;
    top.CompanionFactory.Args[0] = 4;
    top.CompanionFactory.Args[1] = int(clAppWorkSpace);
    top.Init();
    ASSERT_NE(top.Companion, nullptr);
    EXPECT_EQ(top.Control->Height(), 56);
    EXPECT_EQ(top.Companion->Height(), 4);
    EXPECT_EQ(top.Companion->Color(), clAppWorkSpace);
    EXPECT_TRUE(top.Companion->Visible());
    TData zero = MakeInt(0);
    top.doVisible(zero, 0);
    EXPECT_FALSE(top.Companion->Visible());
}

TEST_F(WinFixture, OnlyANonEmptyHintGetsATooltip) {
    const int before = HintManager()->TipCount();
    panel->RegisterHint();  // empty hint
    EXPECT_EQ(panel->HintRecord, nullptr);
    {
        TKVPanel cell(host.Control());
        cell.Hint = "MP vs UTG";
        cell.Init();
        cell.RegisterHint();
        ASSERT_NE(cell.HintRecord, nullptr);
        EXPECT_EQ(cell.HintRecord->Text, "MP vs UTG");
        EXPECT_EQ(HintManager()->TipCount(), before + 1);
    }
    EXPECT_EQ(HintManager()->TipCount(), before);  // the tip goes with its component
}

TEST_F(WinFixture, KeysAreOfferedToTheParentFirst) {
    Probe keys;
    TKVEdit edit(panel->Control);
    edit.Init();
    panel->onKeyDown = keys.Link(1);
    edit.onKeyDown = keys.Link(2);
    edit.Control->SetFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(edit.Control->Widget(), &press);
    ASSERT_EQ(keys.Count(), 2u);
    EXPECT_EQ(keys.Hits[0].Index, 1);
    EXPECT_EQ(keys.Hits[1].Index, 2);
    EXPECT_EQ(keys.Hits[1].Value.IntValue, 'A');

    edit.ParentKeys = false;
    QApplication::sendEvent(edit.Control->Widget(), &press);
    ASSERT_EQ(keys.Count(), 3u);
    EXPECT_EQ(keys.Hits[2].Index, 2);
}

TEST_F(WinFixture, TabOrderMakesATabStop) {
    TKVPanel a(host.Control());
    a.TabOrder = 3;
    a.Init();
    EXPECT_TRUE(a.Control->TabStop());
    EXPECT_EQ(a.Control->TabOrder(), 3);
    EXPECT_FALSE(panel->Control->TabStop());
}
}  // namespace
