#include "tabulo/controls/edit.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QWidget>
#include <memory>

#include "support/controls_test.h"
#include "tabulo_test/probe.h"

namespace {
// Sets the edit's text from inside its onEnter handler.
class Replier : public TObject {
public:
    TKVEdit* Edit = nullptr;
    TText Reply;
    int Calls = 0;
    void doEvent(TData&, uint16_t) {
        ++Calls;
        TData v = MakeText(Reply);
        Edit->doText(v, 0);
    }
};

struct EditFixture : ::testing::Test {
    HostWindow host;
    LiveHooks hooks;
    std::unique_ptr<TKVEdit> edit;
    Probe enter, change;

    void SetUp() override {
        edit = std::make_unique<TKVEdit>(host.Control());
        edit->Text = "Start";
        edit->Init();
        edit->onChange = change.Link();
        host.Show();
    }
    void Key(int qtKey, const QString& text = {}) {
        QWidget* w = edit->Control->Widget();
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
        QApplication::sendEvent(w, &release);
    }
};

TEST_F(EditFixture, StartsWithItsTextRemembered) {
    EXPECT_EQ(edit->Control->Text(), "Start");
    EXPECT_EQ(edit->RememberedText, "Start");
    TData v;
    edit->getText(v, 0);
    EXPECT_EQ(v.Tag, dtString);
    EXPECT_EQ(v.TextValue, "Start");
}

TEST_F(EditFixture, EnterFiresTheTextAndEmptiesTheBoxWithoutAChange) {
    edit->onEnter = enter.Link();
    Key(Qt::Key_Return);
    ASSERT_EQ(enter.Count(), 1u);
    EXPECT_EQ(enter.Last().TextValue, "Start");
    EXPECT_EQ(edit->Control->Text(), "");
    EXPECT_EQ(change.Count(), 0u);
    // The next change is reported again.
    TData v = MakeText("x");
    edit->doText(v, 0);
    ASSERT_EQ(change.Count(), 1u);
    EXPECT_EQ(change.Last().TextValue, "x");
}

TEST_F(EditFixture, EnterOnAnEmptyBoxDoesNotSwallowTheNextChange) {
    edit->onEnter = enter.Link();
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    EXPECT_EQ(enter.Count(), 2u);
    EXPECT_EQ(enter.Last().TextValue, "");
    TData v = MakeText("y");
    edit->doText(v, 0);
    EXPECT_EQ(change.Count(), 1u);
}

TEST_F(EditFixture, TextSetByTheEnterHandlerStays) {
    Replier replier;
    replier.Edit = edit.get();
    replier.Reply = "Kept";
    edit->onEnter = BindEvent<&Replier::doEvent>(&replier, 0);
    Key(Qt::Key_Enter);
    EXPECT_EQ(replier.Calls, 1);
    EXPECT_EQ(edit->Control->Text(), "Kept");
    EXPECT_EQ(change.Count(), 1u);
}

TEST_F(EditFixture, EnterWithoutAHandlerIsAnOrdinaryKey) {
    Probe keys;
    edit->onKeyDown = keys.Link();
    Key(Qt::Key_Return);
    EXPECT_EQ(edit->Control->Text(), "Start");
    ASSERT_EQ(keys.Count(), 1u);
    EXPECT_EQ(keys.Last().IntValue, vkReturn);
}

TEST_F(EditFixture, DoTextKeepsTheCaretAndFiresAChange) {
    edit->Control->SetSelection(2, 0);
    TData v = MakeText("Changed");
    edit->doText(v, 0);
    EXPECT_EQ(edit->Control->Text(), "Changed");
    EXPECT_EQ(edit->Control->SelStart(), 2);
    ASSERT_EQ(change.Count(), 1u);
    EXPECT_EQ(change.Last().TextValue, "Changed");
}

TEST_F(EditFixture, DoTextPrefersItsPullPoint) {
    Source src;
    src.Answer = MakeText("Pulled");
    edit->pullStr = src.Link();
    TData v = MakeText("Given");
    edit->doText(v, 0);
    EXPECT_EQ(edit->Control->Text(), "Pulled");
}

TEST_F(EditFixture, TypingFiresChanges) {
    edit->Control->SetFocus();
    edit->Control->SetSelection(5, 0);
    Key(Qt::Key_A, "a");
    ASSERT_GE(change.Count(), 1u);
    EXPECT_EQ(change.Last().TextValue, "Starta");
}
}  // namespace
