// The texts and the icon compiled into the program, as the program looks
// them up.

#include <gtest/gtest.h>

#include <QIcon>
#include <QPixmap>
#include <string>
#include <vector>

#include "tabulo/resources/resources.h"
#include "tabulo/widgets/resources.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return lines;
        start = end + 2;
    }
}

bool HasCyrillic(const std::string& s) {
    // UTF-8 lead bytes 0xD0 and 0xD1 start the basic Cyrillic letters.
    for (unsigned char c : s)
        if (c == 0xD0 || c == 0xD1) return true;
    return false;
}

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override { InitTabuloResources(); }
};

TEST_F(ProgramResources, AboutTextHasItsTwentySixLinesInBothLanguages) {
    const std::vector<std::string> lines = Lines(ResourceText("Str4"));
    ASSERT_EQ(lines.size(), 26u);
    EXPECT_EQ(lines[0], "Tabulo v. 1.3");
    EXPECT_NE(lines[6].find("example.org"), std::string::npos);
    for (int i = 8; i < 12; ++i) EXPECT_TRUE(HasCyrillic(lines[i])) << i;
    for (int i = 14; i < 18; ++i) EXPECT_FALSE(HasCyrillic(lines[i])) << i;
    EXPECT_EQ(lines[25], ".");
    EXPECT_EQ(ResourceText("Str4").find('\0'), std::string::npos);
}

TEST_F(ProgramResources, ThreeDonateTextsAreOneTwelveLineText) {
    const std::string first = ResourceText("Str1");
    EXPECT_EQ(ResourceText("Str2"), first);
    EXPECT_EQ(ResourceText("Str3"), first);
    const std::vector<std::string> lines = Lines(first);
    ASSERT_EQ(lines.size(), 12u);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(HasCyrillic(lines[i])) << i;
    EXPECT_FALSE(HasCyrillic(lines[10]));
    EXPECT_FALSE(HasCyrillic(lines[11]));
}

TEST_F(ProgramResources, NamesAreFoundWhateverTheirCase) {
    EXPECT_EQ(ResourceText("str4"), ResourceText("STR4"));
    EXPECT_FALSE(ResourceText("Str4").empty());
    EXPECT_TRUE(ResourceText("Str5").empty());
}

TEST_F(ProgramResources, IconHoldsEverySizeAndThereIsNoKlva) {
    const QIcon icon = ResourceIcon("ICON0");
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QPixmap p = icon.pixmap(size, size);
        EXPECT_EQ(p.width(), size);
        // Drawn at that size, not scaled from another one.
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    }
    EXPECT_TRUE(ResourceIcon("KLVA").isNull());
}

}  // namespace
