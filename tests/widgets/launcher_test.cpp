// Starting programs: how the command line is split, what counts as a start.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <fstream>
#include <string>
#include <vector>

#include "tabulo/widgets/launcher.h"

namespace {

// A script that writes each argument after the first on its own line into
// the file named by the first, then a last line "end".
class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(dir.filePath("with space"));
        script = dir.filePath("with space/args.sh").toStdString();
        std::ofstream f(script);
        f << "#!/bin/sh\nout=$1\nshift\n"
             "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out.tmp\"\n"
             "echo end >> \"$out.tmp\"\nmv \"$out.tmp\" \"$out\"\n";
        f.close();
        ASSERT_EQ(chmod(script.c_str(), 0755), 0);
        out = dir.filePath("out.txt").toStdString();
    }

    // The lines the script wrote (waits for it), without the "end" line.
    std::vector<std::string> written() {
        if (!QTest::qWaitFor([&] { return QFile::exists(QString::fromStdString(out)); }, 10000))
            return {"<nothing written>"};
        std::ifstream f(out);
        std::vector<std::string> lines;
        for (std::string l; std::getline(f, l);) lines.push_back(l);
        if (lines.empty() || lines.back() != "end") return {"<incomplete>"};
        lines.pop_back();
        return lines;
    }

    QTemporaryDir dir;
    std::string script, out;
};

TEST_F(LaunchTest, QuotesGroupAndNoShellExpandsAnything) {
    const std::string line =
        "\"" + script + "\" " + out + " plain \"two words\" $HOME * ~ `id` a;b \"\"\"quoted\"\"\"";
    EXPECT_GT(LaunchProgram(line), 0);
    const std::vector<std::string> expected = {"plain", "two words", "$HOME", "*",
                                               "~",     "`id`",      "a;b",   "\"quoted\""};
    EXPECT_EQ(written(), expected);
}

TEST_F(LaunchTest, AnswersTheIdOfTheRunningProgram) {
    const int64_t pid = LaunchProgram("/bin/sleep 30");
    ASSERT_GT(pid, 0);
    // The detached program runs on its own under the id answered (once its
    // exec has happened: the id is known before).
    std::string args;
    for (QDeadlineTimer deadline(5000); !deadline.hasExpired(); QThread::msleep(10)) {
        std::ifstream cmdline("/proc/" + std::to_string(pid) + "/cmdline");
        args.assign(std::istreambuf_iterator<char>(cmdline), std::istreambuf_iterator<char>());
        if (args.find("sleep") != std::string::npos) break;
    }
    EXPECT_NE(args.find("sleep"), std::string::npos) << args;
    kill(pid_t(pid), SIGKILL);
}

TEST_F(LaunchTest, NothingToStartAnswersZero) {
    EXPECT_EQ(LaunchProgram(""), 0);
    EXPECT_EQ(LaunchProgram("   "), 0);
    EXPECT_EQ(LaunchProgram("\"\" arg"), 0);
    EXPECT_EQ(LaunchProgram("/nonexistent/program arg"), 0);
    EXPECT_EQ(LaunchProgram(dir.path().toStdString()), 0) << "a folder is no program";
    // Unquoted, the space splits the path: "<dir>/with" does not exist.
    EXPECT_EQ(LaunchProgram(script + " " + out), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
}

}  // namespace
