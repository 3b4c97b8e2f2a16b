// TIniFile and the private-profile functions: reads and writes against
// hand-written files.
#include "tabulo/widgets/ini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "tabulo-ini-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        for (auto& e : fs::recursive_directory_iterator(path_, ec))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (fs::path(path_) / name).string(); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t EntriesIn(const std::string& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

using namespace std::string_literals;

// A file as a Windows editor saves "Unicode": UTF-16LE behind its mark.
std::string Utf16(std::u16string_view text) {
    std::string out = "\xff\xfe";
    for (char16_t u : text) {
        out += static_cast<char>(u & 0xff);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

// ---------------------------------------------------------------- reading

struct ReadCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    const char* def;
    std::string expected;
};

std::ostream& operator<<(std::ostream& os, const ReadCase& c) {
    return os << c.name;
}

class IniStringRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniStringRead, GivesTheValueWindowsWouldGive) {
    const ReadCase& c = GetParam();
    TempFolder dir;
    const std::string path = dir.file("t.ini");
    WriteBytes(path, c.file);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, c.def, path), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniStringRead,
    ::testing::Values(
        ReadCase{"CrLf", "[S]\r\nk=v\r\n", "S", "k", "d", "v"},
        ReadCase{"Lf", "[S]\nk=v\n", "S", "k", "d", "v"},
        ReadCase{"LoneCr", "[S]\rk=v\rx=y\r", "S", "x", "d", "y"},
        ReadCase{"NoFinalLineEnd", "[S]\r\nk=v", "S", "k", "d", "v"},
        ReadCase{"EmptyLinesOfEveryKind", "[S]\r\r\n\n\r\nk=v", "S", "k", "d", "v"},
        ReadCase{"NamesIgnoreCase", "[sEcT]\r\nKeY=v\r\n", "SECT", "kEy", "d", "v"},
        ReadCase{"BlanksAroundEverything", " \t[ S \t]\t\r\n \tk \t= \t v x \t\r\n", "S", "k", "d",
                 "v x"},
        ReadCase{"ArgumentsLoseSpaces", "[S]\r\nk=v\r\n", " S  ", " k ", "d", "v"},
        ReadCase{"ArgumentsKeepTabs", "[S]\r\nk=v\r\n", "\tS", "k\t", "d", "d"},
        ReadCase{"DoubleQuotesStripped", "[S]\r\nk=\" a \"\r\n", "S", "k", "d", " a "},
        ReadCase{"SingleQuotesStripped", "[S]\r\nk='b'\r\n", "S", "k", "d", "b"},
        ReadCase{"MismatchedQuotesKept", "[S]\r\nk=\"a'\r\n", "S", "k", "d", "\"a'"},
        ReadCase{"LoneQuoteKept", "[S]\r\nk=\"\r\n", "S", "k", "d", "\""},
        ReadCase{"OnlyOnePairStripped", "[S]\r\nk=\"\"x\"\"\r\n", "S", "k", "d", "\"x\""},
        ReadCase{"CommentLineSkipped", "[S]\r\n;k=c\r\n  ; k=c2\r\nk=v\r\n", "S", "k", "d", "v"},
        ReadCase{"SemicolonInValueKept", "[S]\r\nk=a ;b=c\r\n", "S", "k", "d", "a ;b=c"},
        ReadCase{"SecondEqualsBelongsToValue", "[S]\r\nk==a=b\r\n", "S", "k", "d", "=a=b"},
        ReadCase{"LineWithoutEqualsIsNoKey", "[S]\r\nk\r\nk=v\r\n", "S", "k", "d", "v"},
        ReadCase{"BackslashesLiteral", "[S]\r\nk=C:\\a\\b\\n\r\n", "S", "k", "d", "C:\\a\\b\\n"},
        ReadCase{"FirstKeyWins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "d", "1"},
        ReadCase{"FirstSectionWins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\n", "S", "k", "d", "1"},
        ReadCase{"DuplicateSectionNotSearched", "[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b", "d", "d"},
        ReadCase{"KeyOfAnotherSection", "[T]\r\nk=v\r\n[S]\r\nx=1\r\n", "S", "k", "d", "d"},
        ReadCase{"KeysBeforeAnySection", "k=v\r\n[S]\r\n", "S", "k", "d", "d"},
        ReadCase{"EmptyValueIsNotMissing", "[S]\r\nk=\r\n", "S", "k", "d", ""},
        ReadCase{"MissingSection", "[T]\r\nk=v\r\n", "S", "k", "d", "d"},
        ReadCase{"DefaultLosesTrailingSpaces", "", "S", "k", " dd  ", " dd"},
        ReadCase{"TextAfterSectionHeader", "[S] junk\r\nk=v\r\n", "S", "k", "d", "v"},
        ReadCase{"UnclosedBracketOpensSection", "[S\r\nk=v\r\n", "S", "k", "d", "v"},
        ReadCase{"UnclosedBracketWithEqualsIsSection", "[S\r\n[k=v\r\nk=w\r\n", "S", "k", "d", "d"},
        ReadCase{"SectionNameEndsAtFirstBracket", "[S]x]\r\nk=v\r\n", "S", "k", "d", "v"},
        ReadCase{"Utf8MarkSkipped", "\xef\xbb\xbf[S]\r\nk=v\r\n", "S", "k", "d", "v"},
        ReadCase{"Utf16File", Utf16(u"[S\u00e9]\r\nk=\u0416 \U0001F600\r\n"), "S\xc3\xa9", "K", "d",
                 "\xd0\x96 \xf0\x9f\x98\x80"},
        ReadCase{"Utf16FileWithOddLastByte", Utf16(u"[S]\nk=v\n") + "\x01", "S", "k", "d", "v"},
        ReadCase{"ValueCutAtNul", "[S]\r\nk=v\0w\r\n"s, "S", "k", "d", "v"},
        ReadCase{"BinaryAroundIsHarmless", "\xfe\xff\0\x01\x02[\r\n[S]\r\nk=v\r\n\x80\x81"s, "S",
                 "k", "d", "v"},
        ReadCase{"Utf8BytesOpaque", "[\xc3\xa9t\xc3\xa9]\r\nk=\xd0\x96\r\n", "\xc3\xa9t\xc3\xa9",
                 "k", "d", "\xd0\x96"}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

struct IntCase {
    const char* name;
    const char* value;  // nullptr: the key is missing
    int32_t def;
    int32_t expected;
};

std::ostream& operator<<(std::ostream& os, const IntCase& c) {
    return os << c.name;
}

class IniIntRead : public ::testing::TestWithParam<IntCase> {};

TEST_P(IniIntRead, ParsesLikeTheWindowsReader) {
    const IntCase& c = GetParam();
    TempFolder dir;
    const std::string path = dir.file("t.ini");
    WriteBytes(path, "[S]\r\n"s + (c.value ? "k="s + c.value + "\r\n" : ""s));
    EXPECT_EQ(GetPrivateProfileInt("S", "k", c.def, path), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniIntRead,
    ::testing::Values(IntCase{"Plain", "42", 7, 42}, IntCase{"Negative", "-17", 7, -17},
                      IntCase{"PlusSign", "+5", 7, 5}, IntCase{"LeadingZeros", "007", 7, 7},
                      IntCase{"LeadingBlanks", "   12", 7, 12},
                      IntCase{"QuotedBlanks", "\"  13\"", 7, 13},
                      IntCase{"TrailingText", "12abc", 7, 12}, IntCase{"NoDigits", "abc", 7, 0},
                      IntCase{"Empty", "", 7, 0}, IntCase{"SignOnly", "-", 7, 0},
                      IntCase{"BlankAfterSign", "- 3", 7, 0}, IntCase{"HexIsNotRead", "0x10", 7, 0},
                      IntCase{"WrapsAbove32Bits", "4294967297", 7, 1},
                      IntCase{"AllOnes", "4294967295", 7, -1},
                      IntCase{"WrapsBelowMinimum", "-2147483649", 7, 2147483647},
                      IntCase{"Missing", nullptr, 7, 7}),
    [](const ::testing::TestParamInfo<IntCase>& info) { return std::string(info.param.name); });

TEST(IniRead, CutsLongValuesAndDefaultsAt2047Characters) {
    TempFolder dir;
    const std::string path = dir.file("t.ini");
    const std::string longValue(3000, 'a');
    WriteBytes(path, "[S]\r\nk=" + longValue + "\r\nexact=" + std::string(2047, 'b') + "\r\n");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", path), std::string(2047, 'a'));
    EXPECT_EQ(GetPrivateProfileString("S", "exact", "", path), std::string(2047, 'b'));
    EXPECT_EQ(GetPrivateProfileString("S", "missing", longValue, path), std::string(2047, 'a'));
    // A character the limit would split goes whole.
    const std::string e = "\xc3\xa9", emoji = "\xf0\x9f\x98\x80";
    WriteBytes(path, "[S]\r\nk=" + std::string(2046, 'a') + e + "\r\nm=" + std::string(2045, 'a') +
                         emoji + "\r\n");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", path), std::string(2046, 'a'));
    EXPECT_EQ(GetPrivateProfileString("S", "m", "", path), std::string(2045, 'a'));
}

TEST(IniRead, WhatIsNoIniFileReadsAsMissing) {
    TempFolder dir;
    EXPECT_EQ(GetPrivateProfileString("S", "k", "d", dir.file("none.ini")), "d");
    EXPECT_EQ(GetPrivateProfileInt("S", "k", 9, dir.file("none.ini")), 9);
    EXPECT_EQ(GetPrivateProfileString("S", "k", "d", dir.path()), "d");  // a folder
    EXPECT_EQ(GetPrivateProfileString("S", "k", "d", ""), "d");
    // A file larger than the cap is not read (sparse, so it costs nothing).
    const std::string huge = dir.file("huge.ini");
    WriteBytes(huge, "[S]\r\nk=v\r\n");
    fs::resize_file(huge, MaxIniFileSize + 1);
    EXPECT_EQ(GetPrivateProfileString("S", "k", "d", huge), "d");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "w", huge));
    EXPECT_EQ(fs::file_size(huge), MaxIniFileSize + 1);
    // One just under the cap reads whole, byte-order mark and all.
    const std::string edge = dir.file("edge.ini");
    WriteBytes(edge, "\xEF\xBB\xBF[S]\r\nk=v\r\n");
    fs::resize_file(edge, MaxIniFileSize - 16);
    std::ofstream(edge, std::ios::binary | std::ios::app) << "\r\n[T]\r\nz=end\r\n";
    EXPECT_EQ(GetPrivateProfileString("S", "k", "d", edge), "v");
    EXPECT_EQ(GetPrivateProfileString("T", "z", "d", edge), "end");
}

TEST(IniRead, AcceptsBackslashesInTheFileName) {
    TempFolder dir;
    fs::create_directory(dir.file("sub"));
    WriteBytes(dir.file("sub/a.ini"), "[S]\r\nk=v\r\n");
    const std::string name = dir.path() + "\\sub\\a.ini";
    EXPECT_EQ(GetPrivateProfileString("S", "k", "d", name), "v");
    EXPECT_TRUE(WritePrivateProfileString("S", "k", "w", name));
    EXPECT_EQ(ReadBytes(dir.file("sub/a.ini")), "[S]\r\nk=w\r\n");
}

TEST(IniRead, RandomBytesNeverCrash) {
    TempFolder dir;
    const std::string path = dir.file("noise.ini");
    uint32_t seed = 12345;
    for (int round = 0; round < 50; ++round) {
        std::string bytes;
        for (int i = 0; i < 2000; ++i) {
            seed = seed * 1103515245u + 12345u;
            const char alphabet[] = "[]=;'\" \t\r\nSk\0\xff";
            bytes += alphabet[(seed >> 16) % (sizeof(alphabet) - 1)];
        }
        WriteBytes(path, bytes);
        const std::string v = GetPrivateProfileString("S", "k", "", path);
        EXPECT_LE(v.size(), MaxIniValueLength);
        GetPrivateProfileInt("S", "k", 0, path);
        ASSERT_TRUE(WritePrivateProfileString("S", "k", "v", path));
        EXPECT_EQ(GetPrivateProfileString("S", "k", "", path), "v") << "round " << round;
    }
}

// ---------------------------------------------------------------- writing

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    std::string value;
    std::string after;
};

std::ostream& operator<<(std::ostream& os, const WriteCase& c) {
    return os << c.name;
}

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    TempFolder dir;
    const std::string path = dir.file("t.ini");
    WriteBytes(path, c.before);
    ASSERT_TRUE(WritePrivateProfileString(c.section, c.key, c.value, path));
    EXPECT_EQ(ReadBytes(path), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniWrite,
    ::testing::Values(
        WriteCase{"KeyRewrittenInPlaceWithFileCasing", "[Sec]\r\nKey=old\r\nz=1\r\n", "SEC", "key",
                  "new", "[Sec]\r\nKey=new\r\nz=1\r\n"},
        WriteCase{"BlanksOfRewrittenLineDropped", "[S]\r\n  k = old  \r\nz=1\r\n", "S", "k", "new",
                  "[S]\r\nk=new\r\nz=1\r\n"},
        WriteCase{"LfFileKeepsItsLineEnds", "[S]\nk=old\nx=1\n", "S", "k", "new",
                  "[S]\nk=new\nx=1\n"},
        WriteCase{"NewKeyAfterLastKeyOfSection", "[S]\r\na=1\r\n\r\n;c\r\n[T]\r\nb=2\r\n", "S", "k",
                  "v", "[S]\r\na=1\r\nk=v\r\n\r\n;c\r\n[T]\r\nb=2\r\n"},
        WriteCase{"NewKeyInSectionWithoutKeys", "[S]\r\n;only a comment\r\n[T]\r\n", "s", "k", "v",
                  "[S]\r\nk=v\r\n;only a comment\r\n[T]\r\n"},
        WriteCase{"NewSectionAppended", "[T]\r\nb=2\r\n", "S", "k", "v",
                  "[T]\r\nb=2\r\n[S]\r\nk=v\r\n"},
        WriteCase{"NewSectionInEmptyFile", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"FinalLineEndCompletedBeforeSection", "[T]\r\nb=2", "S", "k", "v",
                  "[T]\r\nb=2\r\n[S]\r\nk=v\r\n"},
        WriteCase{"FinalLineEndCompletedBeforeKey", "[S]\r\na=1", "S", "k", "v",
                  "[S]\r\na=1\r\nk=v\r\n"},
        WriteCase{"FinalLineEndCompletedOnRewrite", "[S]\r\nk=1", "S", "k", "2", "[S]\r\nk=2\r\n"},
        WriteCase{"EmptyValueWritesKeyAndEquals", "[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n"},
        WriteCase{"FirstOfDuplicateSectionsWritten", "[S]\r\na=1\r\n[S]\r\nk=2\r\n", "S", "k", "3",
                  "[S]\r\na=1\r\nk=3\r\n[S]\r\nk=2\r\n"},
        WriteCase{"OtherBytesUntouched",
                  "\xfe\xff;\x01\r\n[S]\r\nk=1\r\n\xc3\xa9=\0x\r\n  odd line  \r\n"s, "S", "k", "2",
                  "\xfe\xff;\x01\r\n[S]\r\nk=2\r\n\xc3\xa9=\0x\r\n  odd line  \r\n"s},
        WriteCase{"MixedLineEndsKept", "[S]\rk=1\n[T]\r\nx=1", "T", "y", "v",
                  "[S]\rk=1\n[T]\r\nx=1\r\ny=v\r\n"},
        WriteCase{"QuotedValueKeepsItsQuotes", "", "S", "k", "'q'", "[S]\r\nk=\"'q'\"\r\n"},
        WriteCase{"EdgeBlanksWrittenInQuotes", "[S]\r\nk=1\r\n", "S", "k", " C:\\a b\t",
                  "[S]\r\nk=\" C:\\a b\t\"\r\n"},
        WriteCase{"InnerQuotesWrittenAsGiven", "", "S", "k", "a\"b'", "[S]\r\nk=a\"b'\r\n"},
        WriteCase{"ArgumentSpacesDropped", "", " S ", " k ", "v", "[S]\r\nk=v\r\n"},
        WriteCase{"UnclosedSectionGetsTheKey", "[S\r\na=1\r\n", "S", "k", "v",
                  "[S\r\na=1\r\nk=v\r\n"},
        WriteCase{"Utf8MarkKept", "\xef\xbb\xbf[S]\r\nk=1\r\n", "S", "k", "2",
                  "\xef\xbb\xbf[S]\r\nk=2\r\n"},
        WriteCase{"Utf16StaysUtf16", Utf16(u";\U0001F600\r\n[S]\r\nk=1\r\n"), "S", "k", "\xd0\x96",
                  Utf16(u";\U0001F600\r\n[S]\r\nk=\u0416\r\n")},
        WriteCase{"Utf16LoneSurrogateAndOddByteKept", Utf16(u"\xdc00;\r\n") + "\x07", "S", "k", "v",
                  Utf16(u"\xdc00;\r\n[S]\r\nk=v\r\n") + "\x07"},
        WriteCase{"SameLineLeavesFileAsItWas", "[S]\nk=v\n", "S", "k", "v", "[S]\nk=v\n"}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(IniWrite, CreatesAMissingFileThatReadsBack) {
    TempFolder dir;
    const std::string path = dir.file("new.ini");
    EXPECT_TRUE(WritePrivateProfileString("B1", "Caption", "", path));
    EXPECT_TRUE(WritePrivateProfileString("B1", "File", "C:\\charts\\a.png", path));
    EXPECT_TRUE(WritePrivateProfileString("B2", "Caption", "Two", path));
    EXPECT_EQ(ReadBytes(path),
              "[B1]\r\nCaption=\r\nFile=C:\\charts\\a.png\r\n[B2]\r\nCaption=Two\r\n");
    EXPECT_EQ(GetPrivateProfileString("b1", "file", "", path), "C:\\charts\\a.png");
    EXPECT_EQ(GetPrivateProfileString("B1", "Caption", "d", path), "");
}

TEST(IniWrite, RefusesNamesThatWouldReadBackAsSomethingElse) {
    TempFolder dir;
    const std::string path = dir.file("t.ini");
    EXPECT_FALSE(WritePrivateProfileString("S", "a=b", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("S", ";k", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("S]x", "k", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("S", "k\r\n[T]", "v", path));
    EXPECT_FALSE(fs::exists(path));
    // A value with a line break would store another value (and could add keys).
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "a\r\nb=c", path));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "a\nb", path));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", std::string("a\0b", 3), path));
    EXPECT_FALSE(fs::exists(path));
    // Names the reader would not find again.
    EXPECT_FALSE(WritePrivateProfileString("\tS", "k", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("S", "k\t", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("S", "[k", "v", path));
    EXPECT_FALSE(fs::exists(path));
}

// A value that could not be read back whole is refused and the file stays
// byte for byte; one that can is read back exactly.
TEST(IniWrite, SavesOnlyWhatReadsBackWhole) {
    TempFolder dir;
    const std::string path = dir.file("t.ini");
    const std::string before = "[B1]\r\nFile=/a.png\r\nCaption=x\r\n";
    WriteBytes(path, before);
    const std::string e = "\xc3\xa9";
    EXPECT_FALSE(WritePrivateProfileString("B1", "File", "/" + std::string(2047, 'p'), path));
    EXPECT_FALSE(WritePrivateProfileString("B1", "File", std::string(2046, 'p') + e, path));
    EXPECT_FALSE(WritePrivateProfileString("B2", "File", std::string(3000, 'p'), path));
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);

    for (const std::string& value : {std::string(2047, 'p'), std::string(2045, 'p') + e,
                                     " /edge.png"s, "/edge.png\t"s, "\"/q.png\""s, "''"s, " "s}) {
        ASSERT_TRUE(WritePrivateProfileString("B1", "File", value, path)) << value.size();
        EXPECT_EQ(GetPrivateProfileString("B1", "File", "", path), value);
        EXPECT_EQ(GetPrivateProfileString("B1", "Caption", "", path), "x");
    }
    // A UTF-16 file cannot hold bytes that are not UTF-8.
    const std::string wide = Utf16(u"[B1]\r\nFile=a\r\n");
    WriteBytes(path, wide);
    EXPECT_FALSE(WritePrivateProfileString("B1", "File", "\xff", path));
    EXPECT_EQ(ReadBytes(path), wide);
}

// Another program's change shows at the next read, even with the same size
// within the same second (the parsed file is kept between reads).
TEST(IniRead, SeesEveryChangeOnDisk) {
    TempFolder dir;
    const std::string path = dir.file("t.ini");
    WriteBytes(path, "[S]\r\nk=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", path), "1");
    WriteBytes(path, "[S]\r\nk=2\r\n");  // rewritten in place, same size
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", path), "2");
    WriteBytes(dir.file("u.ini"), "[S]\r\nk=3\r\n");
    fs::rename(dir.file("u.ini"), path);
    EXPECT_EQ(GetPrivateProfileInt("S", "k", 0, path), 3);
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "4", path));
    EXPECT_EQ(GetPrivateProfileString("s", "K", "", path), "4");
    fs::remove(path);
    EXPECT_EQ(GetPrivateProfileString("S", "k", "gone", path), "gone");
}

// Inside a read scope (one event) a file is looked at once; whatever
// changed shows in the next scope, in a nested one (a modal loop inside an
// event) and in the outer one after a nested one ended. Our own writes
// show at once.
TEST(IniRead, ChangesOnDiskShowInTheNextReadScope) {
    TempFolder dir;
    const std::string path = dir.file("t.ini");
    {
        TIniReadScope event;
        EXPECT_EQ(GetPrivateProfileString("S", "k", "none", path), "none");
        WriteBytes(path, "[S]\r\nk=1\r\n");
    }
    {
        TIniReadScope event;
        EXPECT_EQ(GetPrivateProfileString("S", "k", "", path), "1");
        WriteBytes(path, "[S]\r\nk=2\r\n");  // in place, same size
    }
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", path), "2");
    {
        TIniReadScope outer;
        EXPECT_EQ(GetPrivateProfileString("S", "k", "", path), "2");
        WriteBytes(path, "[S]\r\nk=3\r\n");
        {
            TIniReadScope inner;
            EXPECT_EQ(GetPrivateProfileString("S", "k", "", path), "3");
            WriteBytes(path, "[S]\r\nk=4\r\n");
        }
        EXPECT_EQ(GetPrivateProfileString("S", "k", "", path), "4");
        ASSERT_TRUE(WritePrivateProfileString("S", "k", "5", path));
        EXPECT_EQ(GetPrivateProfileInt("S", "k", 0, path), 5);
        // A modal loop may run inside one event without any event of ours.
        WriteBytes(path, "[S]\r\nk=6\r\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        EXPECT_EQ(GetPrivateProfileInt("S", "k", 0, path), 6);
    }
}

TEST(IniWrite, KeepsPermissionsAndReplacesAtomically) {
    TempFolder dir;
    const std::string path = dir.file("t.ini");
    WriteBytes(path, "[S]\r\nk=1\r\n");
    ::chmod(path.c_str(), 0640);
    std::ifstream oldReader(path, std::ios::binary);  // sees the old file
    struct stat before {};
    ::stat(path.c_str(), &before);
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "2", path));
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_NE(after.st_ino, before.st_ino) << "the new content must arrive by rename";
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(oldReader), {}), "[S]\r\nk=1\r\n");
    EXPECT_EQ(EntriesIn(dir.path()), 1u) << "no temporary file is left behind";
}

TEST(IniWrite, WritesThroughASymlinkToItsTarget) {
    TempFolder dir;
    fs::create_directory(dir.file("real"));
    WriteBytes(dir.file("real/t.ini"), "[S]\r\nk=1\r\n");
    fs::create_symlink(dir.file("real/t.ini"), dir.file("link.ini"));
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "2", dir.file("link.ini")));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.ini")));
    EXPECT_EQ(ReadBytes(dir.file("real/t.ini")), "[S]\r\nk=2\r\n");
}

TEST(IniWrite, ReadOnlyFileIsLeftUnchanged) {
    TempFolder dir;
    const std::string path = dir.file("t.ini");
    const std::string content = "[S]\r\nk=1\r\n";
    WriteBytes(path, content);
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2", path));
    EXPECT_FALSE(WritePrivateProfileString("T", "k", "2", path));
    EXPECT_EQ(ReadBytes(path), content);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

// A writable file in a read-only folder is rewritten in place; no new file
// appears there.
TEST(IniWrite, ReadOnlyFolderGetsNoFileButItsWritableFileIsSaved) {
    TempFolder dir;
    const std::string sub = dir.file("ro");
    fs::create_directory(sub);
    WriteBytes(sub + "/t.ini", "[S]\r\nk=100\r\nz=1\r\n");
    ::chmod((sub + "/t.ini").c_str(), 0644);
    ::chmod(sub.c_str(), 0555);
    struct stat before {};
    ::stat((sub + "/t.ini").c_str(), &before);
    EXPECT_TRUE(WritePrivateProfileString("S", "k", "2", sub + "/t.ini"));
    EXPECT_EQ(ReadBytes(sub + "/t.ini"), "[S]\r\nk=2\r\nz=1\r\n");  // shorter: cut to length
    EXPECT_TRUE(WritePrivateProfileString("T", "k", "3", sub + "/t.ini"));
    EXPECT_EQ(ReadBytes(sub + "/t.ini"), "[S]\r\nk=2\r\nz=1\r\n[T]\r\nk=3\r\n");
    struct stat after {};
    ::stat((sub + "/t.ini").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0644u);
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "2", sub + "/new.ini"));
    EXPECT_EQ(EntriesIn(sub), 1u);
}

TEST(IniWrite, FailsWhereNoFileCanBe) {
    TempFolder dir;
    WriteBytes(dir.file("plain"), "x");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", dir.file("plain/t.ini")));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", dir.file("missing/t.ini")));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", dir.path()));  // a folder
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", ""));
    EXPECT_EQ(ReadBytes(dir.file("plain")), "x");
}

// The operating system's own refusal (not only the read-only rule): a user
// without rights runs the writes in a child process. Needs root to switch
// users; as another user the permission bits above already refuse for real.
TEST(IniWrite, OperatingSystemRefusalIsReportedAndHarmless) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
    TempFolder dir;
    const std::string locked = dir.file("locked");  // root's folder, rwxr-xr-x
    const std::string open = dir.file("open");      // anyone may create files
    fs::create_directory(locked);
    fs::create_directory(open);
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(locked.c_str(), 0755);
    ::chmod(open.c_str(), 0777);
    WriteBytes(locked + "/w.ini", "[S]\r\nk=1\r\n");
    ::chmod((locked + "/w.ini").c_str(), 0666);  // the file may be written...
    WriteBytes(open + "/r.ini", "[S]\r\nk=1\r\n");
    ::chmod((open + "/r.ini").c_str(), 0644);  // ...this one may not

    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(10);
        int code = 0;
        // ...and, as no temporary file can be made beside it, in place.
        if (!WritePrivateProfileString("S", "k", "2", locked + "/w.ini")) code |= 1;
        if (WritePrivateProfileString("S", "k", "2", locked + "/new.ini")) code |= 2;
        // The folder would allow a rename over a file the user may not write.
        if (WritePrivateProfileString("S", "k", "2", open + "/r.ini")) code |= 4;
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "bit 1: w.ini not saved, 2: new.ini, 4: r.ini written";
    EXPECT_EQ(ReadBytes(locked + "/w.ini"), "[S]\r\nk=2\r\n");
    EXPECT_EQ(ReadBytes(open + "/r.ini"), "[S]\r\nk=1\r\n");
    EXPECT_EQ(EntriesIn(locked), 1u);
    EXPECT_EQ(EntriesIn(open), 1u);
}

// ---------------------------------------------------------------- TIniFile

TEST(IniFile, ModeDecidesBetweenReadingAndWriting) {
    TempFolder dir;
    TIniFile ini(dir.file("c.ini"));
    ini.SetSection("B3");
    ini.SetMode(TIniFileMode::Write);
    EXPECT_EQ(ini.ValueString("Caption", "Open"), "Open");
    EXPECT_EQ(ini.ValueInteger("Count", 42), 42);
    EXPECT_TRUE(ini.LastWriteOk());
    EXPECT_EQ(ReadBytes(dir.file("c.ini")), "[B3]\r\nCaption=Open\r\nCount=42\r\n");

    ini.SetMode(TIniFileMode::Read);
    EXPECT_EQ(ini.ValueString("caption", "d"), "Open");
    EXPECT_EQ(ini.ValueInteger("count", 0), 42);
    EXPECT_EQ(ini.ValueString("missing", "d "), "d");
    EXPECT_EQ(ini.ValueInteger("missing", -3), -3);
}

TEST(IniFile, ReportsAFailedWrite) {
    TempFolder dir;
    TIniFile ini(dir.file("missing/c.ini"));
    ini.SetSection("S");
    ini.SetMode(TIniFileMode::Write);
    EXPECT_EQ(ini.ValueInteger("k", -5), -5);
    EXPECT_FALSE(ini.LastWriteOk());
    EXPECT_FALSE(ini.WriteString("k", "v"));
}

TEST(IniFile, WritesNegativeIntegersAsDecimalText) {
    TempFolder dir;
    TIniFile ini(dir.file("c.ini"));
    ini.SetSection("Main");
    EXPECT_TRUE(ini.WriteInteger("Left", -120));
    EXPECT_EQ(ini.ReadString("Left", ""), "-120");
    EXPECT_EQ(ini.ReadInteger("Left", 0), -120);
}

}  // namespace
