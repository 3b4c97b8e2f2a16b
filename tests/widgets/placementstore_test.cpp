// The per-user placement store under a temporary XDG_CONFIG_HOME.
#include "tabulo/widgets/placementstore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Points XDG_CONFIG_HOME (and HOME) at temporary folders for one test.
class ScratchConfig : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config_.isValid() && home_.isValid());
        save("XDG_CONFIG_HOME", savedXdg_, hadXdg_);
        save("HOME", savedHome_, hadHome_);
        ::setenv("XDG_CONFIG_HOME", config_.path().toUtf8().constData(), 1);
        ::setenv("HOME", home_.path().toUtf8().constData(), 1);
    }
    void TearDown() override {
        restore("XDG_CONFIG_HOME", savedXdg_, hadXdg_);
        restore("HOME", savedHome_, hadHome_);
    }
    std::string configFile() const {
        return config_.path().toStdString() + "/Tabulo/placements.conf";
    }
    QTemporaryDir config_, home_;

private:
    static void save(const char* name, std::string& value, bool& had) {
        const char* v = std::getenv(name);
        had = v != nullptr;
        value = v ? v : "";
    }
    static void restore(const char* name, const std::string& value, bool had) {
        if (had)
            ::setenv(name, value.c_str(), 1);
        else
            ::unsetenv(name);
    }
    std::string savedXdg_, savedHome_;
    bool hadXdg_ = false, hadHome_ = false;
};

TEST_F(ScratchConfig, RoundTripsTheFourValues) {
    ASSERT_TRUE(WritePlacement("Tabulo\\ChartPlace", 120, -40, 387, 290));
    TPlacementRecord r;
    ASSERT_TRUE(ReadPlacement("Tabulo\\ChartPlace", r));
    EXPECT_EQ(r.Left, 120);
    EXPECT_EQ(r.Top, -40);
    EXPECT_EQ(r.Height, 387);
    EXPECT_EQ(r.Width, 290);
    EXPECT_EQ(PlacementStoreLocation(), configFile());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(configFile())));
}

TEST_F(ScratchConfig, KeysAreIndependent) {
    ASSERT_TRUE(WritePlacement("Tabulo\\ChartPlace", 1, 2, 3, 4));
    ASSERT_TRUE(WritePlacement("Tabulo\\EditForm", 5, 6, 7, 8));
    ASSERT_TRUE(WritePlacement("HidePos", 9, 10, 11, 12));
    ASSERT_TRUE(WritePlacement("Tabulo\\ChartPlace", 13, 14, 15, 16));  // overwrite
    TPlacementRecord a, b, c;
    ASSERT_TRUE(ReadPlacement("Tabulo/ChartPlace", a));  // either separator
    ASSERT_TRUE(ReadPlacement("Tabulo\\EditForm", b));
    ASSERT_TRUE(ReadPlacement("HidePos", c));
    EXPECT_EQ(a.Left, 13);
    EXPECT_EQ(a.Width, 16);
    EXPECT_EQ(b.Top, 6);
    EXPECT_EQ(c.Height, 11);
}

TEST_F(ScratchConfig, MissingKeyIsReportedAndLeavesEveryValueEmpty) {
    TPlacementRecord r;
    r.Left = 99;  // stale content must not survive
    EXPECT_FALSE(ReadPlacement("Tabulo\\ChartPlace", r));
    EXPECT_FALSE(r.Left || r.Top || r.Height || r.Width);
    ASSERT_TRUE(WritePlacement("Tabulo\\Other", 1, 2, 3, 4));
    EXPECT_FALSE(ReadPlacement("Tabulo\\ChartPlace", r));
    EXPECT_FALSE(ReadPlacement("", r));
    EXPECT_FALSE(WritePlacement("", 1, 2, 3, 4));
}

TEST_F(ScratchConfig, PartialOrDamagedValuesReadOneByOne) {
    std::filesystem::create_directories(config_.path().toStdString() + "/Tabulo");
    std::ofstream(configFile()) << "[Tabulo]\nChartPlace\\Left=17\nChartPlace\\Top=abc\n"
                                   "ChartPlace\\Width=300\n";
    TPlacementRecord r;
    ASSERT_TRUE(ReadPlacement("Tabulo\\ChartPlace", r));
    EXPECT_EQ(r.Left, 17);
    EXPECT_FALSE(r.Top.has_value());
    EXPECT_FALSE(r.Height.has_value());
    EXPECT_EQ(r.Width, 300);
}

TEST_F(ScratchConfig, FollowsXdgConfigHomeAtEveryCall) {
    ASSERT_TRUE(WritePlacement("HidePos", 1, 2, 3, 4));
    QTemporaryDir other;
    ::setenv("XDG_CONFIG_HOME", other.path().toUtf8().constData(), 1);
    TPlacementRecord r;
    EXPECT_FALSE(ReadPlacement("HidePos", r));
    ASSERT_TRUE(WritePlacement("HidePos", 5, 6, 7, 8));
    EXPECT_TRUE(QFile::exists(other.path() + QStringLiteral("/Tabulo/placements.conf")));
    ::unsetenv("XDG_CONFIG_HOME");  // falls back to ~/.config
    EXPECT_EQ(PlacementStoreLocation(),
              home_.path().toStdString() + "/.config/Tabulo/placements.conf");
    EXPECT_FALSE(ReadPlacement("HidePos", r));
}

TEST_F(ScratchConfig, AStoreThatCannotBeWrittenIsReported) {
    // The configuration folder is a plain file: nothing can be created in it.
    const QString blocker = config_.path() + QStringLiteral("/blocked");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ::setenv("XDG_CONFIG_HOME", blocker.toUtf8().constData(), 1);
    EXPECT_FALSE(WritePlacement("Tabulo\\ChartPlace", 1, 2, 3, 4));
    TPlacementRecord r;
    EXPECT_FALSE(ReadPlacement("Tabulo\\ChartPlace", r));
}

}  // namespace
