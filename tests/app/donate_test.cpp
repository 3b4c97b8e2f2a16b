// The donate windows: built hidden with their page, centred on the screen,
// shown by "Donate", hidden on close and shown again where they were.

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <memory>

#include "support/program_fixture.h"
#include "tabulo/app/donate.h"
#include "tabulo/controls/mainform.h"
#include "tabulo/runtime/init_queue.h"
#include "tabulo/runtime/multi.h"
#include "tabulo/widgets/resources.h"
#include "tabulo_test/probe.h"

namespace {

class DonateTest : public ProgramTest {
protected:
    // A main window standing in for the page, and the page's container.
    void Build(TMultiFactory factory) {
        StartUnits();
        owner_ = std::make_unique<TKVMainForm>(nullptr);
        owner_->Name = "Owner";
        owner_->Init();
        host_ = std::make_unique<TKVMultiElementEx>();
        host_->ParentControl = owner_->Control;
        host_->OnDemand = false;
        host_->SetFactory(factory);
        hooks_ = std::make_unique<LiveHooks>();
        RunInits();
        Settle();
    }
    void TearDown() override {
        host_.reset();
        owner_.reset();
        hooks_.reset();
        ProgramTest::TearDown();
    }
    void Click() {
        TData value;  // a button without Data sends NULL
        host_->doWork(value, 0);
        Settle();
    }
    TClassDonateForm* Donate() const {
        return static_cast<TClassDonateForm*>(host_->Current->Schema);
    }
    QWidget* Window() const { return WidgetOf(Donate()->DonateForm->Control); }
    static int VisibleDonateWindows() {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += w->objectName() == "DonateForm" && w->isVisible() ? 1 : 0;
        return n;
    }

    std::unique_ptr<TKVMainForm> owner_;
    std::unique_ptr<TKVMultiElementEx> host_;
    std::unique_ptr<LiveHooks> hooks_;
};

TEST_F(DonateTest, IsBuiltHiddenWithThePage) {
    Build(&MakeMultiSchema<TClassChildFormEx_261B440>);
    ASSERT_EQ(host_->InstanceCount(), 1);
    EXPECT_FALSE(Window()->isVisible());
    EXPECT_EQ(VisibleDonateWindows(), 0);
}

TEST_F(DonateTest, TwoClicksShowOneWindow) {
    Build(&MakeMultiSchema<TClassChildFormEx_261B440>);
    Click();
    Click();
    EXPECT_EQ(host_->InstanceCount(), 1);
    EXPECT_EQ(VisibleDonateWindows(), 1);
    EXPECT_EQ(Window()->windowTitle(), "Donate");
}

TEST_F(DonateTest, OpensCentredOnTheScreen) {
    Build(&MakeMultiSchema<TClassChildFormEx_261B440>);
    Click();
    TControl* form = Donate()->DonateForm->Control;
    EXPECT_EQ(form->Left(), (1024 - form->Width()) / 2);
    EXPECT_EQ(form->Top(), (768 - form->Height()) / 2);
    EXPECT_GT(form->Left(), 0);
}

TEST_F(DonateTest, ClosingHidesItAndTheNextClickShowsItWhereItWas) {
    Build(&MakeMultiSchema<TClassChildFormEx_261B440>);
    Click();
    Donate()->DonateForm->Control->SetPosition(10, 20);
    const QPoint where = Window()->pos();
    // Closed by the user: hidden, not destroyed.
    Donate()->DonateForm->Control->Close();
    Settle();
    EXPECT_FALSE(Window()->isVisible());
    EXPECT_TRUE(WidgetOf(owner_->Control)->isVisible() || !owner_->Visible);
    EXPECT_EQ(host_->InstanceCount(), 1);

    Click();
    EXPECT_TRUE(Window()->isVisible());
    EXPECT_EQ(Window()->pos(), where);
    EXPECT_EQ(VisibleDonateWindows(), 1);
}

struct DonateCase {
    const char* Page;
    TMultiFactory Factory;
    const char* Text;
};

class DonateTextTest : public DonateTest, public ::testing::WithParamInterface<DonateCase> {};

TEST_P(DonateTextTest, ShowsItsTextReadOnlyWithoutScrollBars) {
    Build(GetParam().Factory);
    auto* memo = Window()->findChild<QPlainTextEdit*>();
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QString expected = QString::fromStdString(ResourceText(GetParam().Text));
    expected.replace("\r\n", "\n");
    EXPECT_EQ(memo->toPlainText(), expected);
    EXPECT_FALSE(expected.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, DonateTextTest,
    ::testing::Values(DonateCase{"Custom", &MakeMultiSchema<TClassChildFormEx_261AC00>, "Str1"},
                      DonateCase{"Hands", &MakeMultiSchema<TClassChildFormEx_261B180>, "Str2"},
                      DonateCase{"Position", &MakeMultiSchema<TClassChildFormEx_261B440>, "Str3"}),
    [](const auto& info) { return std::string(info.param.Page); });

}  // namespace
