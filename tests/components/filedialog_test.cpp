// The open-file dialog component, driven through the dialog hook.
#include <gtest/gtest.h>

#include "tabulo/components/filedialog.h"
#include "tabulo/widgets/application.h"
#include "tabulo/widgets/opensavedialog.h"
#include "tabulo_test/probe.h"

namespace {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetOpenSaveDialogHook([this](const TOpenSaveRequest& r) {
            requests.push_back(r);
            TOpenSaveAnswer a = answer;
            return a;
        });
        dlg.Filter = "*.png|*.png|*.gif|*.gif";
        dlg.Title = "Choose a chart";
        dlg.InitDir = "/charts";
        dlg.onExecute = executed.Link();
        dlg.onCancel = cancelled.Link();
    }
    void TearDown() override { SetOpenSaveDialogHook(nullptr); }
    void run(TData v = TData()) { Fire(BindEvent<&TKVODialog::doExecute>(&dlg), v); }

    LiveHooks hooks;
    TKVODialog dlg;
    Probe executed, cancelled;
    std::vector<TOpenSaveRequest> requests;
    TOpenSaveAnswer answer;
};

TEST_F(DialogTest, ConfirmedFilterTypeIsSelectedAgainNextTime) {
    answer.Accepted = true;
    answer.Files = {"/charts/b.gif"};
    answer.SelectedFilter = 1;
    run();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].NameFilters.size(), 2u);
    EXPECT_EQ(requests[0].SelectedFilter, 0);
    EXPECT_TRUE(requests[0].OpenDialog);
    EXPECT_EQ(requests[0].Title, "Choose a chart");
    EXPECT_EQ(requests[0].InitialDir, "/charts");
    EXPECT_EQ(requests[0].Options, uint32_t(osNoValidate));
    EXPECT_FALSE(requests[0].FilesMustExist);
    ASSERT_EQ(executed.Count(), 1u);
    EXPECT_EQ(executed.Last().Tag, dtString);
    EXPECT_EQ(executed.Last().TextValue, "/charts/b.gif");

    answer.Accepted = false;
    answer.Files.clear();
    run();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].SelectedFilter, 1);
    const TOpenSaveDialog* first = dlg.Dialog.get();
    run();
    EXPECT_EQ(dlg.Dialog.get(), first) << "the dialog object is kept";
}

TEST_F(DialogTest, CancelForwardsNullToOnCancel) {
    answer.Accepted = false;
    run(MakeText("keep me?"));
    EXPECT_EQ(executed.Count(), 0u);
    ASSERT_EQ(cancelled.Count(), 1u);
    EXPECT_EQ(cancelled.Last().Tag, dtNull);
}

TEST_F(DialogTest, InitialNameFollowsTheReadRule) {
    answer.Accepted = false;
    run(MakeText("from-incoming.png"));
    dlg.FileName = "property.png";
    run(MakeText("from-incoming.png"));
    Source pulled;
    pulled.Answer = MakeText("pulled.png");
    dlg.pullFileName = pulled.Link();
    run(MakeText("from-incoming.png"));
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].FileName, "from-incoming.png");
    EXPECT_EQ(requests[1].FileName, "property.png");
    EXPECT_EQ(requests[2].FileName, "pulled.png");
}

TEST_F(DialogTest, NoDialogObjectBeforeTheFirstRun) {
    EXPECT_EQ(dlg.Dialog, nullptr);
}

}  // namespace
