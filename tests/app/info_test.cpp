// The one command-line argument: "/ih" shows the information box and ends
// the program before any window exists.

#include <QApplication>

#include "support/program_fixture.h"

namespace {

using InfoTest = ProgramTest;

TEST_F(InfoTest, SlashIhShowsTheBoxAndEndsWithoutAWindow) {
    const int windowsBefore = int(QApplication::topLevelWidgets().size());
    char name[] = "tabulo";
    char ih[] = "/ih";
    char* argv[] = {name, ih, nullptr};

    EXPECT_EQ(RunTabulo(2, argv), 0);

    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Caption, "Kalvo Info");
    EXPECT_EQ(boxes_[0].Text, "Сделано в Kalvo.");
    EXPECT_EQ(boxes_[0].Type & 0x0F, 0u);  // OK button only
    EXPECT_EQ(int(QApplication::topLevelWidgets().size()), windowsBefore);
}

struct ArgsCase {
    std::vector<const char*> Args;
    bool Info;
};

class InfoArgumentTest : public ::testing::TestWithParam<ArgsCase> {};

TEST_P(InfoArgumentTest, OnlyAnExactFirstArgumentCounts) {
    const ArgsCase& c = GetParam();
    EXPECT_EQ(TProgram::IsInfoRequest(int(c.Args.size()), c.Args.data()), c.Info);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, InfoArgumentTest,
    ::testing::Values(ArgsCase{{"tabulo", "/ih"}, true}, ArgsCase{{"tabulo", "/ih", "x"}, true},
                      ArgsCase{{"tabulo"}, false}, ArgsCase{{"tabulo", "/IH"}, false},
                      ArgsCase{{"tabulo", "/ih "}, false}, ArgsCase{{"tabulo", "ih"}, false},
                      ArgsCase{{"tabulo", "-ih"}, false}, ArgsCase{{"tabulo", "x", "/ih"}, false},
                      ArgsCase{{"tabulo", ""}, false}));

}  // namespace
