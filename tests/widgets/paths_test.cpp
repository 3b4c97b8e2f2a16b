// Paths: '\' as a separator, full path names, file attributes and the
// program folder.
#include "tabulo/widgets/paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Runs the body with the current folder set to `folder`.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : old_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~InFolder() { fs::current_path(old_); }

private:
    fs::path old_;
};

struct FullPathCase {
    const char* name;
    const char* input;
    const char* expected;  // "~" stands for the current folder
};

std::ostream& operator<<(std::ostream& os, const FullPathCase& c) {
    return os << c.name;
}

class FullPath : public ::testing::TestWithParam<FullPathCase> {};

TEST_P(FullPath, IsMadeWithoutTouchingTheFileSystem) {
    QTemporaryDir dir;
    const std::string cwd = fs::canonical(dir.path().toStdString()).string();
    InFolder in(cwd);
    std::string expected = GetParam().expected;
    if (!expected.empty() && expected[0] == '~') expected = cwd + expected.substr(1);
    EXPECT_EQ(FullPathName(GetParam().input), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FullPath,
    ::testing::Values(FullPathCase{"Empty", "", ""},
                      FullPathCase{"Relative", "Charts\\AA.gif", "~/Charts/AA.gif"},
                      FullPathCase{"ChartMask", "img\\Positions\\MPvsUTG.png",
                                   "~/img/Positions/MPvsUTG.png"},
                      FullPathCase{"AbsoluteWithBackslashes", "\\opt\\tabulo\\Custom.ini",
                                   "/opt/tabulo/Custom.ini"},
                      FullPathCase{"DotsFolded", "/a/./b/../c", "/a/c"},
                      FullPathCase{"DotDotAboveRoot", "/../a", "/a"},
                      FullPathCase{"TrailingSeparatorKept", "/a/b\\", "/a/b/"},
                      FullPathCase{"DoubleSeparators", "/a//b\\\\c", "/a/b/c"}),
    [](const ::testing::TestParamInfo<FullPathCase>& info) {
        return std::string(info.param.name);
    });

TEST(Paths, DotDotAboveTheCurrentFolderLeavesIt) {
    QTemporaryDir dir;
    const fs::path cwd = fs::canonical(dir.path().toStdString());
    InFolder in(cwd.string());
    EXPECT_EQ(FullPathName("x\\..\\..\\y"), (cwd.parent_path() / "y").string());
}

TEST(Paths, NativePathTurnsEveryBackslash) {
    EXPECT_EQ(NativePath("%1img\\Positions\\%2.png"), "%1img/Positions/%2.png");
    EXPECT_EQ(NativePath("/already/native"), "/already/native");
    EXPECT_EQ(NativeSeparator(), '/');
}

TEST(Paths, FolderPartMeansBackslashSlashOrColon) {
    EXPECT_FALSE(HasFolderPart("Custom.ini"));
    EXPECT_FALSE(HasFolderPart(""));
    EXPECT_TRUE(HasFolderPart("sub\\a.ini"));
    EXPECT_TRUE(HasFolderPart("sub/a.ini"));
    EXPECT_TRUE(HasFolderPart("C:a.ini"));
}

TEST(Paths, AttributesTellFilesFoldersAndNothing) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    fs::create_directory(root + "/img");
    std::ofstream(root + "/img/a.png") << "x";
    std::ofstream(root + "/ro.png") << "x";
    ::chmod((root + "/ro.png").c_str(), 0444);
    fs::create_symlink(root + "/img/a.png", root + "/link.png");
    fs::create_symlink(root + "/gone.png", root + "/dangling.png");

    EXPECT_EQ(GetFileAttributes(root + "\\img\\a.png"), FileAttributeNormal);
    EXPECT_EQ(GetFileAttributes(root + "/img"), FileAttributeDirectory);
    EXPECT_EQ(GetFileAttributes(root + "/ro.png"), FileAttributeReadOnly);
    EXPECT_EQ(GetFileAttributes(root + "/link.png"), FileAttributeNormal);
    EXPECT_EQ(GetFileAttributes(root + "/dangling.png"), InvalidFileAttributes);
    EXPECT_EQ(GetFileAttributes(root + "/none.png"), InvalidFileAttributes);
    EXPECT_EQ(GetFileAttributes(""), InvalidFileAttributes);

    EXPECT_TRUE(FileExists(root + "\\img\\a.png"));
    EXPECT_TRUE(FileExists(root + "/ro.png"));
    EXPECT_FALSE(FileExists(root + "\\img"));
    EXPECT_FALSE(FileExists(root + "/none.png"));
}

TEST(Paths, TempFolderFollowsTmpdirAndEndsWithASeparator) {
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", "/var/tmp/x", 1);
    EXPECT_EQ(TempFolder(), "/var/tmp/x/");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(TempFolder(), "/tmp/");
    if (old) ::setenv("TMPDIR", saved.c_str(), 1);
}

TEST(ProgramFolder, IsTheExecutablesFolderNeverTheCurrentOne) {
    const std::string expected = QCoreApplication::applicationDirPath().toStdString() + "/";
    EXPECT_EQ(ProgramFolder(), expected);
    QTemporaryDir dir;
    InFolder in(dir.path().toStdString());
    EXPECT_EQ(ProgramFolder(), expected);
}

TEST(ProgramFolder, CanBeOverriddenByTests) {
    const std::string real = ProgramFolder();
    SetProgramFolder("/tmp/prog");
    EXPECT_EQ(ProgramFolder(), "/tmp/prog/");
    // A real Linux name: its '\' is a character of the name, not a separator.
    SetProgramFolder("/tmp/a\\b");
    EXPECT_EQ(ProgramFolder(), "/tmp/a\\b/");
    SetProgramFolder("");
    EXPECT_EQ(ProgramFolder(), real);
}

// The test program is started once more through a symlink in another folder;
// the child prints what it takes for its program folder.
TEST(ProgramFolder, ResolvesSymlinksToTheExecutable) {
    if (qEnvironmentVariableIsSet("TABULO_PRINT_PROGRAM_FOLDER")) {
        std::printf("PROGRAM_FOLDER=%s\n", ProgramFolder().c_str());
        return;
    }
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("linked-test"));
    ASSERT_TRUE(QFile::link(QCoreApplication::applicationFilePath(), link));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TABULO_PRINT_PROGRAM_FOLDER"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(dir.path());
    child.start(link,
                {QStringLiteral("--gtest_filter=ProgramFolder.ResolvesSymlinksToTheExecutable")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    const QString expected = QStringLiteral("PROGRAM_FOLDER=") +
                             QCoreApplication::applicationDirPath() + QStringLiteral("/\n");
    EXPECT_TRUE(out.contains(expected)) << out.toStdString();
}

}  // namespace
