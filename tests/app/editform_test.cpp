// The chart edit window inside the whole program: loading a slot, choosing
// its picture, saving, and what happens when the file cannot be written.

#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <csignal>

#include "custom_fixture.h"
#include "tabulo/widgets/placementstore.h"

namespace {

class EditWindow : public CustomTest {
protected:
    // Opens the edit window for slot k, as a slot click in edit mode does.
    void Open(int k) {
        SetEditMode(true);
        ClickSlot(k);
        ASSERT_TRUE(EditWindowOpen());
    }

    // The scratch files a write may leave beside "Custom.ini".
    QStringList Leftovers() const {
        return QDir(folder_->path())
            .entryList(QStringList() << ".Custom.ini*", QDir::Files | QDir::Hidden | QDir::System);
    }

    // The whole failure contract of a save that could not be written.
    void ExpectSaveRefused(const std::string& before, const QString& typed,
                           const std::string& path) {
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_NE(boxes_[0].Text.find(IniPath()), std::string::npos) << boxes_[0].Text;
        EXPECT_TRUE(EditWindowOpen());
        EXPECT_EQ(NameBox()->text(), typed);
        EXPECT_EQ(PathHeld(), path);
        EXPECT_EQ(ReadIni(), before);
        EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(",").toStdString();
    }
};

TEST_F(EditWindow, IsBuiltHiddenWithItsDesignValues) {
    Start();
    EXPECT_FALSE(EditWindowOpen());
    EXPECT_EQ(EditFormWidget()->windowTitle(), "Edit");
    EXPECT_EQ(editor->EditForm->PlaceKey.str(), "Tabulo\\EditForm");
    EXPECT_EQ(W(editor->SelectButton)->property("text").toString(), "Select Chart");
    EXPECT_EQ(editor->NameLabel->Control->Text().str(), "Input chart name");
    EXPECT_EQ(editor->DropLabel->Control->Text().str(), "Or Drag'n'Drop  your file here");
    EXPECT_EQ(editor->SaveButton->Control->Text().str(), "Save");
    EXPECT_EQ(NameBox()->text(), "");
    EXPECT_EQ(PathHeld(), "");
}

TEST_F(EditWindow, OpeningASlotShowsItsOwnValuesAndNothingFromTheSlotBefore) {
    WriteIni("[B2]\r\nCaption=Two\r\nFile=/charts/two.png\r\n[B6]\r\nCaption=Six\r\n");
    Start();
    Open(2);
    EXPECT_EQ(NameBox()->text(), "Two");
    EXPECT_EQ(PathHeld(), "/charts/two.png");
    ClickSlot(5);  // never saved: both fields empty
    EXPECT_TRUE(EditWindowOpen());
    EXPECT_EQ(NameBox()->text(), "");
    EXPECT_EQ(PathHeld(), "");
    ClickSlot(6);  // a caption but no file
    EXPECT_EQ(NameBox()->text(), "Six");
    EXPECT_EQ(PathHeld(), "");
}

TEST_F(EditWindow, SelectChartAsksTheOpenDialogAndKeepsTheChosenType) {
    Start();
    std::vector<TOpenSaveRequest> asked;
    SetOpenSaveDialogHook([&](const TOpenSaveRequest& r) {
        asked.push_back(r);
        TOpenSaveAnswer a;
        a.Accepted = true;
        a.Files = {"/charts/picked.gif"};
        a.SelectedFilter = 1;
        return a;
    });
    Open(1);
    Click(editor->SelectButton);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].OpenDialog);
    EXPECT_EQ(asked[0].Title, "Open Dialog");
    EXPECT_EQ(asked[0].InitialDir, ".");
    EXPECT_EQ(asked[0].FileName, "nul");
    EXPECT_EQ(asked[0].NameFilters.size(), 4u);
    EXPECT_EQ(asked[0].SelectedFilter, 0);
    EXPECT_FALSE(asked[0].FilesMustExist);
    EXPECT_EQ(PathHeld(), "/charts/picked.gif");

    Click(editor->SelectButton);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].SelectedFilter, 1);  // "*.gif", confirmed last time
    EXPECT_EQ(asked[1].FileName, "nul");
}

TEST_F(EditWindow, ACancelledDialogKeepsThePath) {
    WriteIni("[B1]\nFile=/charts/kept.png\n");
    Start();
    SetOpenSaveDialogHook([](const TOpenSaveRequest&) { return TOpenSaveAnswer{}; });
    Open(1);
    Click(editor->SelectButton);
    EXPECT_EQ(PathHeld(), "/charts/kept.png");
}

TEST_F(EditWindow, ThreeDroppedFilesLeaveTheLastPath) {
    const std::string a = WritePng("a.png", 4, 4, Qt::red);
    const std::string b = WritePng("b.png", 4, 4, Qt::green);
    const std::string c = WritePng("c.png", 4, 4, Qt::blue);
    Start();
    Open(8);
    DropFiles({a, b, c});
    EXPECT_EQ(PathHeld(), c);
    PressSave();
    EXPECT_EQ(ReadIni(), "[B8]\r\nFile=" + c + "\r\nCaption=\r\n");
}

TEST_F(EditWindow, SaveWithoutChoosingAFileWritesThePathLoadedOnOpening) {
    WriteIni("[B10]\nFile=/charts/ten.png\nCaption=old\n");
    Start();
    Open(10);
    TypeName("new name");
    PressSave();
    EXPECT_FALSE(EditWindowOpen());
    EXPECT_EQ(ReadIni(), "[B10]\nFile=/charts/ten.png\nCaption=new name\n");
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(Leftovers().isEmpty());
    TPlacementRecord placed;  // closing keeps the window's placement
    EXPECT_TRUE(ReadPlacement("Tabulo\\EditForm", placed));
}

TEST_F(EditWindow, AFileWrittenByTheWindowsVersionKeepsEveryOtherByte) {
    const std::string before =
        "; Tabulo custom charts\r\n"
        "[B1]\r\n"
        "File=C:\\Charts\\bb-defend.png\r\n"
        "Caption=BB defend\r\n"
        "\r\n"
        "[Notes]\r\n"
        "text=keep ; me = as is\r\n"
        "[b5]\r\n"
        "file=D:\\poker\\3bet.gif\r\n"
        "; a comment inside\r\n"
        "caption=3bet\r\n"
        "[B7]\r\n"
        "Caption=untouched\r\n";
    WriteIni(before);
    Start();
    Open(5);
    EXPECT_EQ(NameBox()->text(), "3bet");
    EXPECT_EQ(PathHeld(), "D:\\poker\\3bet.gif");
    TypeName("3bet pots");
    PressSave();
    std::string expected = before;
    expected.replace(expected.find("caption=3bet\r\n"), 14, "caption=3bet pots\r\n");
    EXPECT_EQ(ReadIni(), expected);
    EXPECT_EQ(SlotCaption(5), "3bet pots");
    EXPECT_EQ(SlotCaption(1), "BB defend");
}

TEST_F(EditWindow, AReadOnlyFileMakesSaveSayWhyAndKeepsWhatWasTyped) {
    const std::string before = "[B3]\r\nFile=/charts/three.png\r\nCaption=Three\r\n";
    WriteIni(before);
    Start();
    Open(3);
    DropFiles({"/charts/new three.png"});
    TypeName("Three, new");
    ASSERT_EQ(::chmod(IniPath().c_str(), 0444), 0);
    PressSave();
    ExpectSaveRefused(before, "Three, new", "/charts/new three.png");
    EXPECT_EQ(SlotCaption(3), "Three");  // the page was not told of a save

    // Once the file can be written again, the same window saves it all.
    ASSERT_EQ(::chmod(IniPath().c_str(), 0644), 0);
    boxes_.clear();
    PressSave();
    EXPECT_TRUE(boxes_.empty());
    EXPECT_FALSE(EditWindowOpen());
    EXPECT_EQ(ReadIni(), "[B3]\r\nFile=/charts/new three.png\r\nCaption=Three, new\r\n");
    EXPECT_EQ(SlotCaption(3), "Three, new");
}

TEST_F(EditWindow, APathThatCannotBeStoredOnOneLineIsRefusedNotCut) {
    // A Linux file name may hold a line break; stored as it is it would end
    // the "File" line early and the rest would become a line of its own.
    const std::string before = "[B2]\r\nFile=/charts/two.png\r\nCaption=Two\r\n";
    WriteIni(before);
    Start();
    Open(2);
    const std::string odd = "/charts/two\n[B1]\nCaption=evil.png";
    DropFiles({odd});
    ASSERT_EQ(PathHeld(), odd);
    PressSave();
    ExpectSaveRefused(before, "Two", odd);
}

TEST_F(EditWindow, AReadOnlyFolderMakesSaveSayWhyAndCreatesNothing) {
    Start();
    Open(4);
    TypeName("Four");
    const QByteArray folder = folder_->path().toUtf8();
    ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
    PressSave();
    ::chmod(folder.constData(), 0755);
    ExpectSaveRefused("<missing>", "Four", "");
}

// A write that dies halfway (here: the file-size limit stops it, as a full
// disk would) must leave the old file whole and no scratch file behind.
TEST_F(EditWindow, AWriteCutOffHalfwayLeavesTheOldFileWhole) {
    std::string before = "; padding so the rewrite is larger than the limit\r\n";
    for (int i = 0; i < 200; ++i) before += "; line " + std::to_string(i) + " of old notes\r\n";
    before += "[B11]\r\nFile=/charts/eleven.png\r\nCaption=Eleven\r\n";
    WriteIni(before);
    Start();
    Open(11);
    TypeName("Eleven, new");

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 1024;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    PressSave();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    ExpectSaveRefused(before, "Eleven, new", "/charts/eleven.png");
}

}  // namespace
