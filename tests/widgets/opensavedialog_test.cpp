// TOpenSaveDialog: filter conversion, remembered filter index, cancel,
// multi-selection and the option set, through the hook and through the real
// QFileDialog driven by a timer.
#include "tabulo/widgets/opensavedialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

namespace {

struct FilterCase {
    const char* name;
    const char* filter;
    const char* qt;
};

std::ostream& operator<<(std::ostream& os, const FilterCase& c) {
    return os << c.name;
}

class DialogFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(DialogFilter, BecomesQtsForm) {
    EXPECT_EQ(ConvertDialogFilter(GetParam().filter), GetParam().qt);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DialogFilter,
    ::testing::Values(
        FilterCase{"TwoTypes", "*.png|*.png|*.gif|*.gif", "*.png (*.png);;*.gif (*.gif)"},
        FilterCase{"SeveralPatterns", "Pictures|*.png;*.gif;*.jpg|All files|*.*",
                   "Pictures (*.png *.gif *.jpg);;All files (*.*)"},
        FilterCase{"BlanksTidied", " Charts | *.png ; *.gif ", "Charts (*.png *.gif)"},
        FilterCase{"Empty", "", ""}, FilterCase{"NameOnly", "Pictures", ""},
        FilterCase{"UnpairedNameIgnored", "A|*.a|B", "A (*.a)"},
        FilterCase{"TrailingBarIgnored", "A|*.a|", "A (*.a)"},
        FilterCase{"EmptyNameTakesThePattern", "|*.x", "*.x (*.x)"},
        FilterCase{"EmptyPatternMatchesAll", "All|", "All (*)"}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

// Records every request and answers from a queue.
class DialogHook : public ::testing::Test {
protected:
    void SetUp() override {
        SetOpenSaveDialogHook([this](const TOpenSaveRequest& r) {
            requests.push_back(r);
            TOpenSaveAnswer a = answers.empty() ? TOpenSaveAnswer{} : answers.front();
            if (!answers.empty()) answers.erase(answers.begin());
            return a;
        });
    }
    void TearDown() override { SetOpenSaveDialogHook({}); }
    std::vector<TOpenSaveRequest> requests;
    std::vector<TOpenSaveAnswer> answers;
};

TEST_F(DialogHook, RemembersTheConfirmedFilterBetweenRuns) {
    TOpenSaveDialog dialog;
    dialog.Filter = "*.png|*.png|*.gif|*.gif";
    answers = {{true, {"/c/a.gif"}, 1}, {false, {}, 0}, {true, {"/c/b.gif"}, 1}};
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(requests[0].SelectedFilter, 0);
    EXPECT_EQ(requests[0].NameFilters,
              (std::vector<std::string>{"*.png (*.png)", "*.gif (*.gif)"}));
    EXPECT_EQ(dialog.FilterIndex, 2);
    EXPECT_FALSE(dialog.Execute());  // cancelled: the index stays
    EXPECT_EQ(requests[1].SelectedFilter, 1);
    EXPECT_EQ(dialog.FilterIndex, 2);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(requests[2].SelectedFilter, 1);
}

TEST_F(DialogHook, OutOfRangeFilterIndexStartsAtTheFirst) {
    TOpenSaveDialog dialog;
    dialog.Filter = "*.png|*.png";
    dialog.FilterIndex = 7;
    answers = {{true, {"/c/a.png"}, 5}};
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(requests[0].SelectedFilter, 0);
    EXPECT_EQ(dialog.FilterIndex, 7) << "an answer outside the list changes nothing";
}

TEST_F(DialogHook, CancelEmptiesTheNameAndAnswersFalse) {
    TOpenSaveDialog dialog;
    dialog.FileName = "C:\\charts\\old.png";
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(requests[0].FileName, "C:/charts/old.png");
    EXPECT_EQ(dialog.FileName, "");
    answers = {{true, {}, 0}};  // accepted with nothing chosen counts as cancel
    EXPECT_FALSE(dialog.Execute());
}

TEST_F(DialogHook, ChosenFileComesBackWhole) {
    TOpenSaveDialog dialog;
    answers = {{true, {"/home/u/charts/My chart.png"}, 0}};
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/home/u/charts/My chart.png");
}

TEST_F(DialogHook, MultiSelectionGivesFolderAndNamesSeparatedByCr) {
    TOpenSaveDialog dialog;
    dialog.Options = osAllowMultiSelect;
    answers = {{true, {"/d/a.png", "/d/b c.png", "/d/z.gif"}, 0}, {true, {"/d/only.png"}, 0}};
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/d\ra.png\rb c.png\rz.gif");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/d/only.png");
}

TEST_F(DialogHook, OptionSetMapsToWhatQtOffers) {
    TOpenSaveDialog open;
    open.Options = osNoValidate;  // the set the open-dialog component uses
    open.Title = "Open chart";
    open.InitialDir = "\\home\\u";
    open.DefExtension = ".png";
    open.Execute();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].OpenDialog);
    EXPECT_FALSE(requests[0].FilesMustExist);
    EXPECT_FALSE(requests[0].MultiSelect);
    EXPECT_TRUE(requests[0].ResolveSymlinks);
    EXPECT_EQ(requests[0].Title, "Open chart");
    EXPECT_EQ(requests[0].InitialDir, "/home/u");
    EXPECT_EQ(requests[0].DefaultSuffix, "png");

    open.Options = osFileMustExist | osNoDereferenceLinks | osAllowMultiSelect;
    open.Execute();
    EXPECT_TRUE(requests[1].FilesMustExist);
    EXPECT_TRUE(requests[1].MultiSelect);
    EXPECT_FALSE(requests[1].ResolveSymlinks);

    TOpenSaveDialog save(false);
    save.Options = osOverwritePrompt | osAllowMultiSelect;
    save.Execute();
    EXPECT_FALSE(requests[2].OpenDialog);
    EXPECT_TRUE(requests[2].ConfirmOverwrite);
    EXPECT_FALSE(requests[2].MultiSelect) << "a save dialog names one file";
}

// The real dialog, answered by a timer from inside its own loop.
class RealDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"a.png", "b.gif", "c.gif"}) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }
    // Runs `answer` on the dialog once it is shown.
    void AnswerWith(std::function<void(QFileDialog*)> answer) {
        QTimer::singleShot(0, [answer] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no file dialog open";
                return;
            }
            answer(dialog);
        });
    }
    QTemporaryDir dir;
};

TEST_F(RealDialog, ShowsTheFiltersAndReportsTheChosenOne) {
    TOpenSaveDialog dialog;
    dialog.Filter = "*.png|*.png|*.gif|*.gif";
    dialog.InitialDir = dir.path().toStdString();
    dialog.Options = osNoValidate;
    QStringList shown;
    QFileDialog::FileMode mode = QFileDialog::Directory;
    AnswerWith([&](QFileDialog* d) {
        shown = d->nameFilters();
        mode = d->fileMode();
        d->selectNameFilter(shown.value(1));
        d->selectFile(dir.filePath(QStringLiteral("b.gif")));
        static_cast<QDialog*>(d)->accept();  // QFileDialog hides it
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(shown,
              QStringList({QStringLiteral("*.png (*.png)"), QStringLiteral("*.gif (*.gif)")}));
    EXPECT_EQ(mode, QFileDialog::AnyFile);
    EXPECT_EQ(dialog.FileName, dir.filePath(QStringLiteral("b.gif")).toStdString());
    EXPECT_EQ(dialog.FilterIndex, 2);

    QString selected;
    AnswerWith([&](QFileDialog* d) {
        selected = d->selectedNameFilter();
        d->reject();
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(selected, QStringLiteral("*.gif (*.gif)"));
    EXPECT_EQ(dialog.FileName, "");
}

TEST_F(RealDialog, MultiSelectionAsksForExistingFiles) {
    TOpenSaveDialog dialog;
    dialog.InitialDir = dir.path().toStdString();
    dialog.Options = osAllowMultiSelect | osFileMustExist;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    AnswerWith([&](QFileDialog* d) {
        mode = d->fileMode();
        d->reject();
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(mode, QFileDialog::ExistingFiles);
}

}  // namespace
