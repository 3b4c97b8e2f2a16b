// Controls: handles, hook chains, alignment, sibling order, lifetime, and
// the standard controls driven by real toolkit events.

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <memory>
#include <vector>

#include "tabulo/widgets/application.h"
#include "tabulo/widgets/control.h"
#include "tabulo/widgets/eventscope.h"

namespace {

// A form that is freed (with the applet reset) at the end of each test.
struct FormFixture : ::testing::Test {
    void SetUp() override { ResetApplicationForTesting(); }
    void TearDown() override {
        owned.clear();
        delete form;
        ResetApplicationForTesting();
    }
    TControl* keep(TControl* c) {
        owned.emplace_back(c);
        return c;
    }
    TControl* form = nullptr;
    std::vector<std::unique_ptr<TControl>> owned;  // freed before the form
};

using HandleTable = FormFixture;

TEST_F(HandleTable, IssuesDistinctHandlesThatLeadBackToTheirControls) {
    form = NewForm(nullptr, "Form");
    TControl* a = keep(NewPanel(form));
    TControl* b = keep(NewButton(form, "b"));
    ASSERT_NE(form->Handle(), 0u);
    EXPECT_NE(a->Handle(), b->Handle());
    EXPECT_NE(a->Handle(), form->Handle());
    EXPECT_EQ(ControlFromHandle(form->Handle()), form);
    EXPECT_EQ(ControlFromHandle(a->Handle()), a);
    EXPECT_EQ(ControlFromHandle(b->Handle()), b);
    EXPECT_EQ(ControlFromHandle(0), nullptr);
}

TEST_F(HandleTable, ForgetsTheHandleOfAFreedControl) {
    form = NewForm(nullptr, "Form");
    TControl* b = NewButton(form, "b");
    const uint32_t h = b->Handle();
    delete b;
    EXPECT_EQ(ControlFromHandle(h), nullptr);
}

using Lifetime = FormFixture;

TEST_F(Lifetime, ChildrenOutliveTheirParentsWindowAsInertShells) {
    form = NewForm(nullptr, "Form");
    TControl* panel = NewPanel(form);
    TControl* child = keep(NewButton(panel, "x"));
    int destroyed = 0;
    child->OnDestroy = [&](TControl&) { ++destroyed; };
    QPointer<QWidget> childWidget = child->Widget();
    const uint32_t h = child->Handle();
    delete panel;  // the child's window goes with the panel's
    EXPECT_TRUE(childWidget.isNull());
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(child->Widget(), nullptr);
    EXPECT_EQ(child->Handle(), 0u);
    EXPECT_EQ(ControlFromHandle(h), nullptr);
    EXPECT_EQ(child->Parent(), nullptr);
    // Operations on the shell do nothing and do not crash.
    child->SetText("y");
    child->SetSize(10, 10);
    child->SetVisible(false);
    EXPECT_EQ(child->Width(), 0);
    EXPECT_TRUE(child->Text().empty());
}

TEST_F(Lifetime, ShellsOfEveryKindAnswerAsEmptyControls) {
    form = NewForm(nullptr, "Form");
    TControl* panel = NewPanel(form, "P");
    std::vector<TControl*> kinds = {
        keep(NewPanel(panel, "p")),      keep(NewControl(panel)),
        keep(NewLabel(panel, "l")),      keep(NewButton(panel, "b")),
        keep(NewBitButton(panel, "bb")), keep(NewCheckBox(panel, "c")),
        keep(NewEdit(panel, 0)),         keep(NewEdit(panel, eoMultiline)),
        keep(NewTabControl(panel)),      keep(NewSplitter(panel)),
    };
    kinds.back()->SetAlign(caLeft);
    kinds[8]->AddTab("t");
    delete panel;
    for (TControl* c : kinds) {
        SCOPED_TRACE(int(c->Kind()));
        ASSERT_EQ(c->Widget(), nullptr);
        c->SetText("x\r\ny");
        c->SetIcon(nullptr);
        c->SetChecked(true);
        c->SetDefaultButton(true);
        c->SetTextAlign(taCenter);
        c->SetWordWrap(true);
        c->SetReadOnly(true);
        c->SetSelection(0, 1);
        c->ReplaceSelection("z");
        c->SetStyle(c->Style() | WS_BORDER);
        c->SetColor(clWhite);
        c->Font().SetFontSize(12);
        c->SetCurrentTab(0);
        c->SetTabText(0, "u");
        c->DeleteTab(0);
        EXPECT_TRUE(c->Text().empty());
        EXPECT_FALSE(c->Checked());
        EXPECT_FALSE(c->ReadOnly());
        EXPECT_EQ(c->DrawState(), odsNormal);
        EXPECT_EQ(c->LineCount(), 0);
        EXPECT_EQ(c->LineStart(0), -1);
        EXPECT_TRUE(c->Line(0).empty());
        EXPECT_TRUE(c->SelText().empty());
        EXPECT_EQ(c->AddTab("t"), nullptr);
        EXPECT_EQ(c->TabCount(), 0);
        EXPECT_EQ(c->TabPage(0), nullptr);
        EXPECT_EQ(c->CurrentTab(), -1);
    }
}

TEST_F(Lifetime, FreeingAChildFirstLeavesTheParentIntact) {
    form = NewForm(nullptr, "Form");
    TControl* panel = keep(NewPanel(form));
    TControl* child = NewLabel(panel, "x");
    QPointer<QWidget> w = child->Widget();
    delete child;
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(panel->ChildCount(), 0);
    EXPECT_NE(panel->Widget(), nullptr);
}

TEST_F(Lifetime, AControlFreedFromItsOwnClickIsSafe) {
    form = NewForm(nullptr, "Form");
    form->SetSize(200, 100);
    form->Show();
    TControl* button = NewButton(form, "bye");
    button->SetBoundsRect({10, 10, 90, 40});
    bool clicked = false;
    button->OnClick = [&](TControl& c) {
        clicked = true;
        delete &c;
    };
    QWidget* w = button->Widget();
    QPointer<QWidget> guard = w;
    QTest::mouseClick(w, Qt::LeftButton);
    ProcessMessages();
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(guard.isNull());
    EXPECT_EQ(form->ChildCount(), 0);
}

TEST_F(Lifetime, AFormFreedFromAClickOnOneOfItsButtonsIsSafe) {
    form = NewForm(nullptr, "Main");
    TControl* child = NewForm(nullptr, "Child");
    child->SetSize(200, 100);
    child->Show();
    TControl* button = keep(NewButton(child, "close"));
    button->SetBoundsRect({10, 10, 90, 40});
    int destroyed = 0;
    button->OnDestroy = [&](TControl&) { ++destroyed; };
    button->OnClick = [&](TControl&) { delete child; };
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    ProcessMessages();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(button->Widget(), nullptr);
    EXPECT_EQ(FormList().size(), 1u);
}

using HookChain = FormFixture;

TEST_F(HookChain, PassesMessagesFromTheNewestHookDownToTheOldestAndRestores) {
    form = NewForm(nullptr, "Form");
    TControl* c = keep(NewControl(form));
    std::vector<std::string> order;
    TMessageHook first = [&](TControl&, TMsg& m) {
        if (m.Message == msgUser) order.push_back("first");
        return false;
    };
    EXPECT_FALSE(c->SetMessageHook(first));
    TMessageHook prevOfSecond = c->SetMessageHook([&](TControl& s, TMsg& m) {
        if (m.Message == msgUser) order.push_back("second");
        return PassMessage(prevOfSecond, s, m);
    });
    TMessageHook prevOfThird = c->SetMessageHook([&](TControl& s, TMsg& m) {
        if (m.Message == msgUser) order.push_back("third");
        return PassMessage(prevOfThird, s, m);
    });
    TMsg msg;
    msg.Message = msgUser;
    EXPECT_FALSE(c->Perform(msg));
    EXPECT_EQ(order, (std::vector<std::string>{"third", "second", "first"}));

    // Removing the third puts the second back at the head of the chain.
    order.clear();
    c->SetMessageHook(prevOfThird);
    c->Perform(msg);
    EXPECT_EQ(order, (std::vector<std::string>{"second", "first"}));
    order.clear();
    c->SetMessageHook(prevOfSecond);
    c->Perform(msg);
    EXPECT_EQ(order, (std::vector<std::string>{"first"}));
}

TEST_F(HookChain, AConsumingHookStopsTheChainAndTheSlots) {
    form = NewForm(nullptr, "Form");
    form->SetSize(200, 200);
    form->Show();
    TControl* c = keep(NewControl(form));
    c->SetBoundsRect({0, 0, 100, 100});
    bool oldHookSaw = false;
    int slotDowns = 0;
    c->SetMessageHook([&](TControl&, TMsg& m) {
        if (m.Message == msgMouseDown) oldHookSaw = true;
        return false;
    });
    TMessageHook prev = c->SetMessageHook([&](TControl& s, TMsg& m) {
        if (m.Message == msgMouseDown && m.Mouse.Button == 2) return true;
        return PassMessage(prev, s, m);
    });
    c->OnMouseDown = [&](TControl&, const TMouseInfo&) { ++slotDowns; };
    QTest::mousePress(c->Widget(), Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseRelease(c->Widget(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(oldHookSaw);
    EXPECT_EQ(slotDowns, 0);
    QTest::mousePress(c->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(c->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(oldHookSaw);
    EXPECT_EQ(slotDowns, 1);
}

// The scope a higher layer puts around each event (the INI reads of one
// event look at each file once).
int scopeDepth = 0;
bool countedScope(TEventDelivery deliver, void* context) {
    ++scopeDepth;
    const bool handled = deliver(context);
    --scopeDepth;
    return handled;
}

TEST_F(HookChain, EveryEventRunsInsideTheInstalledScopeAndEventsInsideNest) {
    form = NewForm(nullptr, "F");
    form->SetSize(200, 100);
    form->Show();
    TControl* c = keep(NewControl(form));
    c->SetBoundsRect({0, 0, 50, 50});
    std::vector<int> depths;
    c->OnMouseMove = [&](TControl& self, const TMouseInfo&) {
        depths.push_back(scopeDepth);
        self.SetSize(60, 60);  // its resize is an event inside this one
    };
    c->OnResize = [&](TControl&) { depths.push_back(scopeDepth); };
    const TEventScope before = SetEventScope(&countedScope);
    QTest::mouseMove(c->Widget(), QPoint(10, 10));
    EXPECT_EQ(SetEventScope(before), &countedScope);
    EXPECT_EQ(depths, (std::vector<int>{1, 2}));
    EXPECT_EQ(scopeDepth, 0);
    // Without a scope the events still arrive.
    depths.clear();
    c->SetSize(70, 70);
    EXPECT_EQ(depths, (std::vector<int>{0}));
}

TEST_F(HookChain, AHookCanRefuseAClose) {
    form = NewForm(nullptr, "Form");
    TControl* child = keep(NewForm(nullptr, "Child"));
    child->Show();
    std::vector<intptr_t> seen;
    child->SetMessageHook([&](TControl&, TMsg& m) {
        if (m.Message != msgClose) return false;
        seen.push_back(m.WParam);
        return true;
    });
    EXPECT_FALSE(child->Close());
    EXPECT_FALSE(child->Close(true));
    EXPECT_EQ(seen, (std::vector<intptr_t>{0, 1}));
    EXPECT_TRUE(child->Visible());
}

TEST_F(HookChain, SizeChangingLetsAHookAdjustTheNewSize) {
    form = NewForm(nullptr, "Form");
    TControl* c = keep(NewControl(form));
    c->SetMessageHook([](TControl&, TMsg& m) {
        if (m.Message == msgSizeChanging) m.NewHeight = std::min(m.NewHeight, 50);
        return false;
    });
    c->SetSize(80, 120);
    EXPECT_EQ(c->Width(), 80);
    EXPECT_EQ(c->Height(), 50);
}

// ----- alignment

struct AlignCase {
    uint8_t align;
    TRect expected;  // in a 200 x 100 parent, child designed 30 x 20 at (5, 6)
};

class Alignment : public ::testing::TestWithParam<AlignCase> {
protected:
    void SetUp() override { ResetApplicationForTesting(); }
    void TearDown() override { ResetApplicationForTesting(); }
};

TEST_P(Alignment, PlacesTheChildAndFollowsEveryResize) {
    const AlignCase& k = GetParam();
    std::unique_ptr<TControl> form(NewForm(nullptr, "F"));
    std::unique_ptr<TControl> parent(NewPanel(form.get()));
    parent->SetBoundsRect({0, 0, 200, 100});
    std::unique_ptr<TControl> child(NewControl(parent.get()));
    child->SetBoundsRect({5, 6, 35, 26});
    child->SetAlign(k.align);
    EXPECT_EQ(child->BoundsRect(), k.expected);
    // The parent grows: aligned edges follow.
    parent->SetSize(300, 150);
    TRect grown = k.expected;
    switch (k.align) {
        case caLeft:
            grown.Bottom = 150;
            break;
        case caTop:
            grown.Right = 300;
            break;
        case caRight:
            grown = {270, 0, 300, 150};
            break;
        case caBottom:
            grown = {0, 130, 300, 150};
            break;
        case caClient:
            grown = {0, 0, 300, 150};
            break;
        default:
            break;
    }
    EXPECT_EQ(child->BoundsRect(), grown);
}

INSTANTIATE_TEST_SUITE_P(Widgets, Alignment,
                         ::testing::Values(AlignCase{caNone, {5, 6, 35, 26}},
                                           AlignCase{caLeft, {0, 0, 30, 100}},
                                           AlignCase{caTop, {0, 0, 200, 20}},
                                           AlignCase{caRight, {170, 0, 200, 100}},
                                           AlignCase{caBottom, {0, 80, 200, 100}},
                                           AlignCase{caClient, {0, 0, 200, 100}}));

TEST(AlignmentOrder, EdgesAreTakenBeforeTheFillingChildAndHiddenChildrenTakeNone) {
    ResetApplicationForTesting();
    std::unique_ptr<TControl> form(NewForm(nullptr, "F"));
    std::unique_ptr<TControl> parent(NewPanel(form.get()));
    parent->SetBoundsRect({0, 0, 200, 100});
    std::unique_ptr<TControl> fill(NewControl(parent.get()));
    fill->SetAlign(caClient);
    std::unique_ptr<TControl> top(NewControl(parent.get()));
    top->SetSize(10, 10);
    top->SetAlign(caTop);
    std::unique_ptr<TControl> left(NewControl(parent.get()));
    left->SetSize(40, 10);
    left->SetAlign(caLeft);
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 200, 10}));
    EXPECT_EQ(left->BoundsRect(), (TRect{0, 10, 40, 100}));
    EXPECT_EQ(fill->BoundsRect(), (TRect{40, 10, 200, 100}));
    top->Hide();
    EXPECT_EQ(left->BoundsRect(), (TRect{0, 0, 40, 100}));
    EXPECT_EQ(fill->BoundsRect(), (TRect{40, 0, 200, 100}));
    parent->SetSpacing(2);
    EXPECT_EQ(left->BoundsRect(), (TRect{2, 2, 42, 98}));
    EXPECT_EQ(fill->BoundsRect(), (TRect{44, 2, 198, 98}));
    ResetApplicationForTesting();
}

TEST(Splitter, DraggingResizesTheAlignedNeighbourWithinItsLimits) {
    ResetApplicationForTesting();
    std::unique_ptr<TControl> form(NewForm(nullptr, "F"));
    form->SetSize(200, 100);
    form->Show();
    std::unique_ptr<TControl> left(NewControl(form.get()));
    left->SetSize(50, 10);
    left->SetAlign(caLeft);
    std::unique_ptr<TControl> bar(NewSplitter(form.get(), 30, 40));
    bar->SetAlign(caLeft);
    std::unique_ptr<TControl> rest(NewControl(form.get()));
    rest->SetAlign(caClient);
    ASSERT_EQ(bar->BoundsRect(), (TRect{50, 0, 54, 100}));
    QWidget* w = bar->Widget();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(2, 50));
    QTest::mouseMove(w, QPoint(22, 50));
    EXPECT_EQ(left->Width(), 70);
    EXPECT_EQ(rest->BoundsRect().Left, 74);
    QTest::mouseMove(w, QPoint(-100, 50));  // not below the neighbour's minimum
    EXPECT_EQ(left->Width(), 30);
    QTest::mouseMove(w, QPoint(500, 50));  // leaves the rest its minimum
    EXPECT_EQ(left->Width(), 200 - 40 - 4);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(500, 50));
    ResetApplicationForTesting();
}

// ----- sibling order

using SiblingOrder = FormFixture;

TEST_F(SiblingOrder, BringToFrontAndSendToBackChangeWhichSiblingIsHit) {
    form = NewForm(nullptr, "F");
    form->SetSize(100, 100);
    TControl* a = keep(NewControl(form));
    TControl* b = keep(NewControl(form));
    a->SetBoundsRect({0, 0, 50, 50});
    b->SetBoundsRect({0, 0, 50, 50});
    QWidget* fw = form->Widget();
    EXPECT_EQ(fw->childAt(10, 10), b->Widget());  // the later one is on top
    a->BringToFront();
    EXPECT_EQ(fw->childAt(10, 10), a->Widget());
    a->SendToBack();
    EXPECT_EQ(fw->childAt(10, 10), b->Widget());
    b->SendToBack();
    EXPECT_EQ(fw->childAt(10, 10), a->Widget());
}

// ----- standard controls with real events

using StandardControls = FormFixture;

TEST_F(StandardControls, ADoubleClickOnABitButtonGivesTwoClicks) {
    form = NewForm(nullptr, "F");
    form->SetSize(200, 100);
    form->Show();
    TControl* b = keep(NewBitButton(form, "AKs"));
    b->SetBoundsRect({10, 10, 60, 40});
    int clicks = 0, dbl = 0;
    b->OnClick = [&](TControl&) { ++clicks; };
    b->OnMouseDblClk = [&](TControl&, const TMouseInfo&) { ++dbl; };
    // A real double click through the window: press, release, press,
    // double click, release.
    QWindow* win = form->Widget()->windowHandle();
    ASSERT_NE(win, nullptr);
    QTest::mouseDClick(win, Qt::LeftButton, {}, QPoint(30, 25));
    EXPECT_EQ(dbl, 1);
    EXPECT_EQ(clicks, 2);
    // The platform's order without a second press: down, up, double, up.
    clicks = 0;
    QWidget* w = b->Widget();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(20, 15));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(20, 15));
    QMouseEvent dblEvent(QEvent::MouseButtonDblClick, QPointF(20, 15),
                         w->mapToGlobal(QPointF(20, 15)), Qt::LeftButton, Qt::LeftButton,
                         Qt::NoModifier);
    QApplication::sendEvent(w, &dblEvent);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(clicks, 2);
}

TEST_F(StandardControls, AQuickClickOnAWindowJustRaisedOverTheLastOneIsAClick) {
    // The toolkit pairs the two clicks into a double click although the first
    // went to another window: the second arrives as double click + release.
    form = NewForm(nullptr, "F");
    form->SetSize(200, 100);
    form->Show();
    TControl* picture = keep(NewControl(form));
    picture->SetBoundsRect({0, 0, 100, 100});
    int clicks = 0;
    picture->OnClick = [&](TControl&) { ++clicks; };
    QWidget* w = picture->Widget();
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(20, 15), w->mapToGlobal(QPointF(20, 15)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &dbl);
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(clicks, 1);
    // A real double click on it is two clicks, not three.
    clicks = 0;
    QTest::mouseDClick(form->Widget()->windowHandle(), Qt::LeftButton, {}, QPoint(30, 25));
    EXPECT_EQ(clicks, 2);
}

TEST_F(StandardControls, TheBitButtonIsPaintedByItsOwnerWithTheState) {
    form = NewForm(nullptr, "F");
    form->SetSize(200, 100);
    form->Show();
    TControl* b = keep(NewBitButton(form, "x"));
    b->SetBoundsRect({10, 10, 60, 40});
    std::vector<int> states;
    TRect seen;
    b->OnDrawItem = [&](TControl&, TCanvas& canvas, const TRect& r, int state) {
        states.push_back(state);
        seen = r;
        canvas.FillRect(r, RGBColor(1, 2, 3));
        return true;
    };
    QImage shot = b->Widget()->grab().toImage();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back(), odsNormal);
    EXPECT_EQ(seen, (TRect{0, 0, 50, 30}));
    EXPECT_EQ(QColor(shot.pixel(25, 15)), QColor(1, 2, 3));
    b->SetEnabled(false);
    b->Widget()->grab();
    EXPECT_EQ(states.back(), odsDisabled);
}

TEST_F(StandardControls, ACheckBoxClickReportsTheNewState) {
    form = NewForm(nullptr, "F");
    form->SetSize(200, 100);
    form->Show();
    TControl* c = keep(NewCheckBox(form, "Scale"));
    c->SetBoundsRect({10, 10, 100, 32});
    c->SetChecked(true);
    std::vector<bool> states;
    c->OnClick = [&](TControl& s) { states.push_back(s.Checked()); };
    QTest::mouseClick(c->Widget(), Qt::LeftButton, {}, QPoint(8, 11));
    QTest::mouseClick(c->Widget(), Qt::LeftButton, {}, QPoint(8, 11));
    EXPECT_EQ(states, (std::vector<bool>{false, true}));
    c->SetChecked(false);  // a program change is no click
    EXPECT_EQ(states.size(), 2u);
}

TEST_F(StandardControls, AnEditReportsChangesAndItsKeySlotsCanSwallowOrChangeKeys) {
    form = NewForm(nullptr, "F");
    form->SetSize(200, 100);
    form->Show();
    TControl* e = keep(NewEdit(form, 0));
    e->SetBoundsRect({10, 10, 110, 32});
    e->SetName("edit");
    int changes = 0, enters = 0;
    e->OnChange = [&](TControl&) { ++changes; };
    e->OnKeyDown = [&](TControl&, int& key, uint32_t) {
        if (key == vkReturn) {
            ++enters;
            key = 0;
        }
    };
    auto* w = form->Widget()->findChild<QLineEdit*>("edit");
    ASSERT_NE(w, nullptr);
    QTest::keyClicks(w, "ab");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(e->Text(), "ab");
    QTest::keyClick(w, Qt::Key_Return);
    EXPECT_EQ(enters, 1);
    e->SetText("xyz");
    EXPECT_EQ(changes, 3);
    // The edit box gets the character and the key its slots made of them:
    // a typed "q" becomes "Q", and Home moves the caret before "xyzQ".
    e->OnChar = [](TControl&, std::string& ch, uint32_t) {
        if (ch == "q") ch = "Q";
    };
    e->OnKeyDown = [](TControl&, int& key, uint32_t) {
        if (key == vkEnd) key = vkHome;
    };
    QTest::keyClicks(w, "q");
    QTest::keyClick(w, Qt::Key_End);
    QTest::keyClicks(w, "!");
    EXPECT_EQ(e->Text(), "!xyzQ");
}

TEST_F(StandardControls, AMemoKeepsLinesAndReplacesASelection) {
    form = NewForm(nullptr, "F");
    TControl* m = keep(NewEdit(form, eoMultiline | eoNoHScroll));
    m->SetText("one\r\ntwo\r\nthree");
    EXPECT_EQ(m->LineCount(), 3);
    EXPECT_EQ(m->Line(1), "two");
    EXPECT_EQ(m->Text(), "one\r\ntwo\r\nthree");
    m->SetSelection(m->LineStart(1), m->LineStart(2) - m->LineStart(1));
    m->ReplaceSelection("");
    EXPECT_EQ(m->Text(), "one\r\nthree");
    EXPECT_EQ(m->LineStart(5), -1);
}

TEST_F(StandardControls, MouseButtonsReachOnlyTheControlUnderThePointerOnce) {
    form = NewForm(nullptr, "F");
    form->SetSize(300, 200);
    form->Show();
    TControl* panel = keep(NewPanel(form, "P"));
    panel->SetBoundsRect({0, 0, 300, 200});
    TControl* m = keep(NewEdit(panel, eoMultiline | eoReadonly));
    m->SetBoundsRect({0, 0, 200, 150});
    m->SetText("About");
    TControl* label = keep(NewLabel(panel, "L"));
    label->SetBoundsRect({210, 10, 60, 20});
    std::vector<int> memoUps, labelUps, parentUps;
    m->OnMouseUp = [&](TControl&, const TMouseInfo& i) { memoUps.push_back(i.Button); };
    label->OnMouseUp = [&](TControl&, const TMouseInfo& i) { labelUps.push_back(i.Button); };
    auto toParent = [&](TControl&, const TMouseInfo& i) { parentUps.push_back(i.Button); };
    panel->OnMouseUp = toParent;
    form->OnMouseUp = toParent;
    // The pointer over a memo is over its text area (an inner window).
    auto* viewport = static_cast<QPlainTextEdit*>(m->Widget())->viewport();
    QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(20, 20));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(20, 20));
    // A label takes no mouse of its own in the toolkit; here it keeps it.
    QTest::mouseClick(label->Widget(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(memoUps, (std::vector<int>{2, 1}));
    EXPECT_EQ(labelUps, (std::vector<int>{2}));
    EXPECT_TRUE(parentUps.empty());
}

TEST_F(StandardControls, ThePanelDrawsItsCaptionThenRunsItsPaintHook) {
    form = NewForm(nullptr, "F");
    form->SetSize(200, 100);
    TControl* p = keep(NewPanel(form, "Caption", 1, 1));
    p->SetBoundsRect({0, 0, 120, 40});
    p->SetColor(clWhite);
    bool hooked = false;
    p->PanelData()->PaintHook = [&](TControl&, TCanvas& c) {
        hooked = true;
        c.FillRect({0, 0, 4, 4}, RGBColor(255, 0, 0));
    };
    QImage shot = p->Widget()->grab().toImage();
    EXPECT_TRUE(hooked);
    EXPECT_EQ(QColor(shot.pixel(1, 1)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(shot.pixel(110, 35)), QColor(255, 255, 255));
    // Some caption pixels in the middle are not background.
    int ink = 0;
    for (int x = 30; x < 90; ++x)
        for (int y = 12; y < 28; ++y) ink += QColor(shot.pixel(x, y)) != QColor(255, 255, 255);
    EXPECT_GT(ink, 10);
}

TEST_F(StandardControls, TheTabStripShowsOnlyTheSelectedPageArea) {
    form = NewForm(nullptr, "F");
    form->SetSize(300, 200);
    form->Show();
    TControl* tabs = keep(NewTabControl(form));
    tabs->SetAlign(caClient);
    TControl* p0 = tabs->AddTab("tab");
    TControl* p1 = tabs->AddTab("tab");
    tabs->SetTabText(1, "Hands");
    EXPECT_EQ(tabs->TabCount(), 2);
    EXPECT_EQ(tabs->TabText(1), "Hands");
    EXPECT_EQ(tabs->TabPage(1), p1);
    EXPECT_EQ(tabs->TabIndexOfPage(p0), 0);
    tabs->SetCurrentTab(1);
    EXPECT_FALSE(p0->Widget()->isVisible());
    EXPECT_TRUE(p1->Widget()->isVisible());
    tabs->SetCurrentTab(7);  // ignored
    EXPECT_EQ(tabs->CurrentTab(), 1);
    // Children on a page go when the tab is deleted; their objects stay.
    TControl* onPage = keep(NewButton(p1, "x"));
    tabs->DeleteTab(1);
    EXPECT_EQ(tabs->TabCount(), 1);
    EXPECT_EQ(onPage->Widget(), nullptr);
}

TEST_F(StandardControls, HoverAndLeaveReachTheSlotsAndHooks) {
    form = NewForm(nullptr, "F");
    form->SetSize(200, 100);
    form->Show();
    TControl* c = keep(NewControl(form));
    c->SetBoundsRect({0, 0, 50, 50});
    std::vector<uint32_t> msgs;
    c->SetMessageHook([&](TControl&, TMsg& m) {
        if (m.Message == msgMouseHover || m.Message == msgMouseLeave) msgs.push_back(m.Message);
        return false;
    });
    int enters = 0, leaves = 0;
    c->OnMouseEnter = [&](TControl&) { ++enters; };
    c->OnMouseLeave = [&](TControl&) { ++leaves; };
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(c->Widget(), &enter);
    QApplication::sendEvent(c->Widget(), &leave);
    EXPECT_EQ(msgs, (std::vector<uint32_t>{msgMouseHover, msgMouseLeave}));
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST_F(StandardControls, DroppedFilesArriveAsOneMessageInDropOrder) {
    form = NewForm(nullptr, "F");
    form->SetSize(200, 100);
    form->Show();
    std::vector<std::string> files;
    int drops = 0;
    TMessageHook prev = form->SetMessageHook([&](TControl& c, TMsg& m) {
        if (m.Message == msgDropFiles) {
            ++drops;
            files = m.Files;
        }
        return PassMessage(prev, c, m);
    });
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile("/tmp/a b.png"), QUrl("https://example.com/x.png"),
                  QUrl::fromLocalFile("/tmp/c.png")});
    // The toolkit delivers a drop to the window that accepted the drag.
    auto dragAndDrop = [&] {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->Widget(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->Widget(), &drop);
    };
    dragAndDrop();
    EXPECT_EQ(drops, 0);  // the window does not accept files yet
    form->SetAcceptDrops(true);
    dragAndDrop();
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(files, (std::vector<std::string>{"/tmp/a b.png", "/tmp/c.png"}));
}

TEST_F(StandardControls, ObjectNamesFindTheWindows) {
    form = NewForm(nullptr, "F");
    TControl* b = keep(NewCheckBox(form, "Edit mode"));
    b->SetName("EditMode");
    EXPECT_EQ(form->Widget()->findChild<QCheckBox*>("EditMode"), b->Widget());
    EXPECT_EQ(TControl::FromWidget(b->Widget()), b);
    EXPECT_EQ(b->Name(), "EditMode");
}

using Colours = FormFixture;

QColor windowColour(TControl* c) {
    return c->Widget()->palette().color(QPalette::Window);
}
QColor textColour(TControl* c) {
    return c->Widget()->palette().color(QPalette::WindowText);
}

TEST_F(Colours, ChildrenKeepTheirColoursWhenAnAncestorsColoursChange) {
    form = NewForm(nullptr, "Form");
    TControl* panel = keep(NewPanel(form));
    TControl* inner = keep(NewPanel(panel));
    TControl* edit = keep(NewEdit(inner, 0));
    const QColor face = ToQColor(ColorToRGB(clBtnFace));
    const QColor text = ToQColor(ColorToRGB(clWindowText));
    ASSERT_EQ(windowColour(inner), face) << "a child starts with its parent's colour";

    form->SetColor(RGBColor(200, 0, 0));
    form->Font().SetColor(RGBColor(0, 0, 200));
    EXPECT_EQ(windowColour(form), QColor(200, 0, 0));
    EXPECT_EQ(textColour(form), QColor(0, 0, 200));
    for (TControl* c : {panel, inner, edit}) {
        EXPECT_EQ(windowColour(c), face);
        EXPECT_EQ(textColour(c), text);
    }
    panel->SetColor(RGBColor(0, 150, 0));
    EXPECT_EQ(windowColour(panel), QColor(0, 150, 0));
    EXPECT_EQ(windowColour(inner), face);

    // Colours set back and forth end where they were set last.
    inner->SetColor(RGBColor(0, 150, 0));
    inner->SetColor(clBtnFace);
    EXPECT_EQ(windowColour(inner), face);
    inner->Font().SetColor(RGBColor(9, 9, 9));
    EXPECT_EQ(textColour(inner), QColor(9, 9, 9));
    EXPECT_EQ(textColour(edit), text);
    edit->SetColor(clWhite);
    EXPECT_EQ(edit->Widget()->palette().color(QPalette::Base), QColor(255, 255, 255));
}

}  // namespace
