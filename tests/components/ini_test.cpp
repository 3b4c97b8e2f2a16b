// INI values and the program folder: name resolution, the read rule for
// file name, section, key and value, reads, writes and failed writes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tabulo/components/ini.h"
#include "tabulo/widgets/ini.h"
#include "tabulo/widgets/paths.h"
#include "tabulo_test/probe.h"

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A temporary program folder, current folder and TMPDIR for one test.
class IniTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program_.isValid() && current_.isValid() && tmp_.isValid());
        programDir_ = program_.path().toStdString() + "/";
        SetProgramFolder(programDir_);
        oldCurrent_ = QDir::currentPath();
        QDir::setCurrent(current_.path());
        if (const char* t = std::getenv("TMPDIR")) oldTmp_ = t, hadTmp_ = true;
        setenv("TMPDIR", tmp_.path().toLocal8Bit().constData(), 1);
    }
    void TearDown() override {
        SetProgramFolder("");
        QDir::setCurrent(oldCurrent_);
        if (hadTmp_)
            setenv("TMPDIR", oldTmp_.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

    TData read(TKVini& ini, TData incoming = TData()) {
        Probe out;
        ini.onResult = out.Link();
        Fire(BindEvent<&TKVini::doRead>(&ini), incoming);
        EXPECT_EQ(out.Count(), 1u);
        return out.Count() ? out.Last() : TData();
    }

    LiveHooks hooks_;
    QTemporaryDir program_, current_, tmp_;
    std::string programDir_;
    QString oldCurrent_;
    std::string oldTmp_;
    bool hadTmp_ = false;
};

TEST_F(IniTest, NameWithoutFolderLivesInTheProgramFolder) {
    EXPECT_EQ(TKVini::ResolveFileName("Custom.ini"), programDir_ + "Custom.ini");
    TKVini ini;
    ini.FileName = "Custom.ini";
    ini.Section = "B1";
    ini.Key = "Caption";
    FireText(BindEvent<&TKVini::doWrite>(&ini), "AK suited");
    EXPECT_EQ(GetPrivateProfileString("B1", "Caption", "", programDir_ + "Custom.ini"),
              "AK suited");
    EXPECT_EQ(read(ini).TextValue, "AK suited");
}

TEST_F(IniTest, TmpdirMacroResolvesIntoTheTemporaryFolder) {
    const std::string tmp = tmp_.path().toStdString() + "/";
    EXPECT_EQ(TKVini::ResolveFileName("%tmpdir%a.ini"), tmp + "a.ini");
    EXPECT_EQ(TKVini::ResolveFileName("%TMPDIR%a.ini"), programDir_ + "%TMPDIR%a.ini")
        << "macros match case-sensitively";
    TKVini ini;
    ini.FileName = "%tmpdir%a.ini";
    ini.Section = "S";
    ini.Key = "K";
    FireText(BindEvent<&TKVini::doWrite>(&ini), "v");
    EXPECT_EQ(GetPrivateProfileString("S", "K", "", tmp + "a.ini"), "v");
}

TEST_F(IniTest, OtherMacrosEndWithTheSeparator) {
    setenv("XDG_CONFIG_HOME", "/cfg/home", 1);
    EXPECT_EQ(TKVini::ResolveFileName("%windir%x.ini"), "/cfg/home/x.ini");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(TKVini::ResolveFileName("%sysdir%x.ini"), "/usr/lib/x.ini");
}

TEST_F(IniTest, AbsoluteAndFolderNamesAreUsedUnchanged) {
    const std::string abs = current_.path().toStdString() + "/abs.ini";
    EXPECT_EQ(TKVini::ResolveFileName(abs), abs);
    EXPECT_EQ(TKVini::ResolveFileName("sub\\a.ini"), "sub\\a.ini");
    EXPECT_EQ(TKVini::ResolveFileName("C:\\a.ini"), "C:\\a.ini");

    // sub\a.ini is relative to the current folder.
    ASSERT_TRUE(QDir(current_.path()).mkdir("sub"));
    TKVini ini;
    ini.FileName = "sub\\a.ini";
    ini.Section = "S";
    ini.Key = "K";
    FireText(BindEvent<&TKVini::doWrite>(&ini), "rel");
    EXPECT_EQ(GetPrivateProfileString("S", "K", "", current_.path().toStdString() + "/sub/a.ini"),
              "rel");
}

TEST_F(IniTest, MissingKeyReadsEmptyOrZeroAndStillFires) {
    TKVini ini;
    ini.FileName = "none.ini";
    ini.Section = "B1";
    ini.Key = "File";
    TData s = read(ini);
    EXPECT_EQ(s.Tag, dtString);
    EXPECT_TRUE(s.TextValue.empty());
    ini.DataType = idtInteger;
    TData i = read(ini);
    EXPECT_EQ(i.Tag, dtInteger);
    EXPECT_EQ(i.IntValue, 0);
}

TEST_F(IniTest, SectionFromTheIncomingValueIsConsumedSoTheKeyFallsToItsProperty) {
    WritePrivateProfileString("B7", "Caption", "seven", programDir_ + "Custom.ini");
    TKVini ini;
    ini.FileName = "Custom.ini";
    ini.Key = "Caption";  // Section empty
    EXPECT_EQ(read(ini, MakeText("B7")).TextValue, "seven");

    // With Key empty too, the key falls to the empty property, not to "B7".
    WritePrivateProfileString("B7", "B7", "wrong", programDir_ + "Custom.ini");
    ini.Key = "";
    EXPECT_EQ(read(ini, MakeText("B7")).TextValue, "");
}

TEST_F(IniTest, WiredPullPointsOverrideProperties) {
    WritePrivateProfileString("B2", "File", "two.png", programDir_ + "Custom.ini");
    TKVini ini;
    ini.FileName = "Other.ini";
    ini.Section = "B1";
    ini.Key = "Caption";
    Source file, section, key;
    file.Answer = MakeText("Custom.ini");
    section.Answer = MakeText("B2");
    key.Answer = MakeText("File");
    ini.pullFileName = file.Link();
    ini.pullSection = section.Link();
    ini.pullKey = key.Link();
    EXPECT_EQ(read(ini).TextValue, "two.png");
}

TEST_F(IniTest, WriteReadsFileSectionValueThenKeyFromOneChain) {
    TKVini ini;
    ini.FileName = "Custom.ini";
    TData key = MakeText("Caption");
    TData val = MakeText("Queens");
    TData section = MakeText("B3");
    section.Next = &val;
    val.Next = &key;
    Fire(BindEvent<&TKVini::doWrite>(&ini), section);
    EXPECT_EQ(GetPrivateProfileString("B3", "Caption", "?", programDir_ + "Custom.ini"), "Queens");
}

TEST_F(IniTest, WritesEmptyStringsAndIntegersAsText) {
    TKVini ini;
    ini.FileName = "Custom.ini";
    ini.Section = "B1";
    ini.Key = "Caption";
    Probe result;
    ini.onResult = result.Link();
    FireText(BindEvent<&TKVini::doWrite>(&ini), "");
    ini.DataType = idtInteger;
    ini.Key = "N";
    FireInt(BindEvent<&TKVini::doWrite>(&ini), 42);
    EXPECT_EQ(result.Count(), 0u) << "writes fire nothing";
    const std::string text = slurp(programDir_ + "Custom.ini");
    EXPECT_NE(text.find("Caption=\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("N=42\r\n"), std::string::npos) << text;
    EXPECT_EQ(read(ini).IntValue, 42);
}

TEST_F(IniTest, IntegerReadOfText) {
    WritePrivateProfileString("S", "K", "12ab", programDir_ + "x.ini");
    TKVini ini;
    ini.FileName = "x.ini";
    ini.Section = "S";
    ini.Key = "K";
    ini.DataType = idtInteger;
    EXPECT_EQ(read(ini).IntValue, 12);
}

// Checks, from inside the output, that the file is already released.
struct ReleaseCheck : TObject {
    TKVini* ini = nullptr;
    bool released = false;
    void doEvent(TData&, uint16_t) { released = ini->File == nullptr; }
};

TEST_F(IniTest, ResultArrivesAfterTheFileIsReleased) {
    TKVini ini;
    ini.FileName = "x.ini";
    ReleaseCheck check;
    check.ini = &ini;
    ini.onResult = BindEvent<&ReleaseCheck::doEvent>(&check);
    FireNull(BindEvent<&TKVini::doRead>(&ini));
    EXPECT_TRUE(check.released);
}

TEST_F(IniTest, FailedWriteFiresTheFullFileNameAndSuccessFiresNothing) {
    TKVini ini;
    ini.FileName = "Custom.ini";
    ini.Section = "B1";
    ini.Key = "Caption";
    Probe failed, result;
    ini.onWriteFailed = failed.Link();
    ini.onResult = result.Link();
    FireText(BindEvent<&TKVini::doWrite>(&ini), "ok");
    EXPECT_EQ(failed.Count(), 0u);

    const std::string path = programDir_ + "Custom.ini";
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    FireText(BindEvent<&TKVini::doWrite>(&ini), "lost");
    ASSERT_EQ(failed.Count(), 1u);
    EXPECT_EQ(failed.Last().Tag, dtString);
    EXPECT_EQ(failed.Last().TextValue.str(), path);
    EXPECT_EQ(result.Count(), 0u);
    EXPECT_EQ(GetPrivateProfileString("B1", "Caption", "", path), "ok");
    chmod(path.c_str(), 0644);

    // A relative name is reported as a full path.
    ini.FileName = "missing/dir/a.ini";
    FireText(BindEvent<&TKVini::doWrite>(&ini), "x");
    ASSERT_EQ(failed.Count(), 2u);
    EXPECT_EQ(failed.Last().TextValue.str(), current_.path().toStdString() + "/missing/dir/a.ini");
}

TEST(Dir, YieldsTheProgramFolderWithTheSeparator) {
    LiveHooks hooks;
    TKVDir dir;
    TData real;
    ReadRaw(real, BindEvent<&TKVDir::getProgramDir>(&dir));
    EXPECT_EQ(real.Tag, dtString);
    ASSERT_FALSE(real.TextValue.empty());
    EXPECT_EQ(real.TextValue.view().back(), '/');
    const std::string exe =
        QDir(QCoreApplication::applicationDirPath()).canonicalPath().toStdString();
    EXPECT_EQ(real.TextValue.str(), exe + "/");

    SetProgramFolder("/opt/tabulo/");
    TData set;
    ReadRaw(set, BindEvent<&TKVDir::getProgramDir>(&dir));
    EXPECT_EQ(set.TextValue, "/opt/tabulo/");
    SetProgramFolder("");
}

}  // namespace
