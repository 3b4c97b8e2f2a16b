// Where the program's own files are read and written: beside a portable
// program, in the user's folders when the program folder is shared (not the
// user's to write), and with '\' inside the program folder's own name.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "tabulo/widgets/ini.h"
#include "tabulo/widgets/paths.h"
#include "tabulo_test/userfiles.h"

namespace fs = std::filesystem;

namespace {

// A program folder with an installed pack and "Custom.ini", and empty
// per-user folders that the test's user may write.
class UserFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        base_ = root_.path().toStdString();
        ::chmod(base_.c_str(), 0755);
        prog_ = base_ + "/prog/";
        config_ = base_ + "/config";
        data_ = base_ + "/data";
        for (const std::string& d : {config_, data_}) {
            fs::create_directories(d);
            ::chmod(d.c_str(), 0777);
        }
        put(prog_ + "img/Holecards/AA.png", "installed AA");
        put(prog_ + "img/Holecards/KK.png", "installed KK");
        put(prog_ + "Custom.ini", "[B1]\nCaption=Installed\n");
        SetProgramFolder(prog_);
    }
    void TearDown() override { SetProgramFolder(""); }

    std::string userIni() const { return config_ + "/Tabulo/Custom.ini"; }

    QTemporaryDir root_;
    std::string base_, prog_, config_, data_;
    Env configHome_{"XDG_CONFIG_HOME", nullptr}, dataHome_{"XDG_DATA_HOME", nullptr};
    void usePerUserFolders() {
        ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
        ::setenv("XDG_DATA_HOME", data_.c_str(), 1);
    }
};

TEST_F(UserFiles, APortableFolderKeepsEverythingBesideTheProgram) {
    usePerUserFolders();
    put(userIni(), "[B1]\nCaption=Mine\n");
    put(data_ + "/tabulo/img/Holecards/AA.png", "my AA");
    ASSERT_FALSE(ProgramFolderIsShared());
    EXPECT_EQ(NativePath(prog_ + "Custom.ini"), prog_ + "Custom.ini");
    EXPECT_EQ(NativePath(prog_ + "img\\Holecards\\AA.png"), prog_ + "img/Holecards/AA.png");
    ASSERT_TRUE(WritePrivateProfileString("B2", "Caption", "New", prog_ + "Custom.ini"));
    EXPECT_EQ(GetPrivateProfileString("B2", "Caption", "", prog_ + "Custom.ini"), "New");
    EXPECT_EQ(slurp(userIni()), "[B1]\nCaption=Mine\n");
}

TEST_F(UserFiles, ASharedFolderSavesIntoTheUsersCopyAndLeavesTheInstalledFile) {
    usePerUserFolders();
    NotMine installed(prog_);
    ASSERT_TRUE(ProgramFolderIsShared());
    // The copy starts with the installed content...
    EXPECT_EQ(GetPrivateProfileString("B1", "Caption", "", prog_ + "Custom.ini"), "Installed");
    EXPECT_EQ(NativePath(prog_ + "Custom.ini"), userIni());
    // ...and takes the user's saves.
    ASSERT_TRUE(WritePrivateProfileString("B2", "File", "/home/me/a.png", prog_ + "Custom.ini"));
    EXPECT_EQ(GetPrivateProfileString("B2", "File", "", prog_ + "Custom.ini"), "/home/me/a.png");
    EXPECT_EQ(slurp(prog_ + "Custom.ini"), "[B1]\nCaption=Installed\n");
    EXPECT_NE(slurp(userIni()).find("File=/home/me/a.png"), std::string::npos);
    for (const auto& e : fs::directory_iterator(config_ + "/Tabulo"))
        EXPECT_EQ(e.path().filename(), "Custom.ini");
}

TEST_F(UserFiles, AnExistingUserCopyIsNeverReplacedByTheInstalledOne) {
    usePerUserFolders();
    put(userIni(), "[B1]\nCaption=Mine\n");
    ::chmod(userIni().c_str(), 0666);
    NotMine installed(prog_);
    EXPECT_EQ(GetPrivateProfileString("B1", "Caption", "", prog_ + "Custom.ini"), "Mine");
    EXPECT_EQ(slurp(userIni()), "[B1]\nCaption=Mine\n");
}

TEST_F(UserFiles, AnInstalledFileTheUserMayWriteIsKeptInPlace) {
    usePerUserFolders();
    ::chmod((prog_ + "Custom.ini").c_str(), 0666);
    NotMine installed(prog_);
    EXPECT_EQ(NativePath(prog_ + "Custom.ini"), prog_ + "Custom.ini");
    EXPECT_FALSE(fs::exists(config_ + "/Tabulo"));
}

TEST_F(UserFiles, ChartsComeFirstFromTheUsersDataFolder) {
    usePerUserFolders();
    put(data_ + "/tabulo/img/Holecards/AA.png", "my AA");
    NotMine installed(prog_);
    EXPECT_EQ(NativePath(prog_ + "img\\Holecards\\AA.png"), data_ + "/tabulo/img/Holecards/AA.png");
    EXPECT_EQ(NativePath(prog_ + "img\\Holecards\\KK.png"), prog_ + "img/Holecards/KK.png");
    EXPECT_TRUE(FileExists(prog_ + "img\\Holecards\\AA.png"));
    // Reading a chart never makes per-user folders.
    EXPECT_FALSE(fs::exists(config_ + "/Tabulo"));
}

// Bad per-user folders: the installed file is read, a save to it fails, and
// nothing is written anywhere else.
TEST_F(UserFiles, BadUserFoldersFallBackToTheInstalledFile) {
    struct Case {
        const char* name;
        std::string configHome;  // empty: unset
        std::string home;
        std::string expectedFolder;  // where the user's copy goes; empty: nowhere
    };
    put(base_ + "/plainfile", "x");
    fs::create_directories(base_ + "/home");
    ::chmod((base_ + "/home").c_str(), 0777);
    fs::create_directories(base_ + "/locked");
    ::chmod((base_ + "/locked").c_str(), 0555);
    const Case cases[] = {
        {"relative XDG_CONFIG_HOME uses HOME", "rel/config", base_ + "/home",
         base_ + "/home/.config/Tabulo/"},
        {"empty XDG_CONFIG_HOME uses HOME", "", base_ + "/home", base_ + "/home/.config/Tabulo/"},
        {"relative HOME gives none", "rel", "home", ""},
        {"folder under a plain file", base_ + "/plainfile/cfg", "", ""},
        {"folder under a locked folder", base_ + "/locked/cfg", "", ""},
    };
    const std::string cwd = fs::current_path();
    fs::current_path(base_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Env config("XDG_CONFIG_HOME", c.configHome.c_str());
        Env home("HOME", c.home.c_str());
        NotMine installed(prog_);
        const std::string real = NativePath(prog_ + "Custom.ini");
        EXPECT_EQ(real, c.expectedFolder.empty() ? prog_ + "Custom.ini"
                                                 : c.expectedFolder + "Custom.ini");
        EXPECT_EQ(GetPrivateProfileString("B1", "Caption", "", prog_ + "Custom.ini"), "Installed");
        EXPECT_EQ(WritePrivateProfileString("B2", "Caption", "x", prog_ + "Custom.ini"),
                  !c.expectedFolder.empty());
        EXPECT_EQ(slurp(prog_ + "Custom.ini"), "[B1]\nCaption=Installed\n");
    }
    fs::current_path(cwd);
    EXPECT_FALSE(fs::exists(base_ + "/rel"));
    EXPECT_FALSE(fs::exists(base_ + "/home/rel"));
    EXPECT_FALSE(fs::exists(base_ + "/locked/cfg"));
}

TEST_F(UserFiles, AUserCopyThatIsAFolderLeavesTheInstalledOneReadable) {
    usePerUserFolders();
    fs::create_directories(userIni());
    NotMine installed(prog_);
    EXPECT_EQ(NativePath(prog_ + "Custom.ini"), prog_ + "Custom.ini");
    EXPECT_EQ(GetPrivateProfileString("B1", "Caption", "", prog_ + "Custom.ini"), "Installed");
    EXPECT_FALSE(WritePrivateProfileString("B2", "Caption", "x", prog_ + "Custom.ini"));
    EXPECT_TRUE(fs::is_directory(userIni()));
}

// A save rewrites the whole file: one the user cannot read would lose its
// content, so the save is refused instead.
TEST_F(UserFiles, AnUnreadableUserCopyIsNeitherReadNorReplaced) {
    usePerUserFolders();
    put(userIni(), "[B7]\nCaption=Kept\n");
    ::chmod((config_ + "/Tabulo").c_str(), 0777);
    ::chmod(userIni().c_str(), 0222);
    {
        NotMine installed(prog_);
        EXPECT_EQ(GetPrivateProfileString("B1", "Caption", "", prog_ + "Custom.ini"), "Installed");
        EXPECT_FALSE(WritePrivateProfileString("B2", "Caption", "x", prog_ + "Custom.ini"));
    }
    ::chmod(userIni().c_str(), 0644);
    EXPECT_EQ(slurp(userIni()), "[B7]\nCaption=Kept\n");
}

// A program folder whose own name holds '\' (legal on Linux): masks and values
// still have their '\' turned into separators, the folder's name never.
TEST(ProgramFolderName, KeepsItsBackslashWhileMasksAreConverted) {
    QTemporaryDir root;
    const std::string prog = root.path().toStdString() + "/Poker\\Tabulo/";
    put(prog + "img/Holecards/AA.png", "AA");
    put(prog + "Custom.ini", "[B1]\nCaption=Here\n");
    SetProgramFolder(prog);
    EXPECT_EQ(NativePath(prog + "img\\Holecards\\AA.png"), prog + "img/Holecards/AA.png");
    EXPECT_TRUE(FileExists(prog + "img\\Holecards\\AA.png"));
    EXPECT_EQ(GetPrivateProfileString("B1", "Caption", "", prog + "Custom.ini"), "Here");
    ASSERT_TRUE(WritePrivateProfileString("B2", "Caption", "Saved", prog + "Custom.ini"));
    EXPECT_NE(slurp(prog + "Custom.ini").find("Caption=Saved"), std::string::npos);
    // Nothing went to the folder the converted name would denote.
    EXPECT_FALSE(fs::exists(root.path().toStdString() + "/Poker"));
    // A name outside the program folder is converted whole.
    EXPECT_EQ(NativePath("\\tmp\\x\\Custom.ini"), "/tmp/x/Custom.ini");
    SetProgramFolder("");
}

}  // namespace
