// The per-user placement store under a temporary XDG_CONFIG_HOME.
#include "tabulo/widgets/placementstore.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

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

// A store that is a FIFO or a folder is ignored, never waited on. The read
// runs on a helper thread with a deadline; a reader stuck in open() is
// released by opening the FIFO's other end.
TEST_F(ScratchConfig, AStoreThatIsNoRegularFileIsIgnored) {
    std::filesystem::create_directories(config_.path().toStdString() + "/Tabulo");
    ASSERT_EQ(::mkfifo(configFile().c_str(), 0600), 0);
    auto read = std::async(std::launch::async, [] {
        TPlacementRecord r;
        return ReadPlacement("Tabulo\\ChartPlace", r);
    });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        const int fd = ::open(configFile().c_str(), O_WRONLY | O_NONBLOCK);
        read.wait();
        if (fd >= 0) ::close(fd);
        FAIL() << "reading the placements waited on a FIFO";
    }
    EXPECT_FALSE(read.get());
    EXPECT_FALSE(WritePlacement("Tabulo\\ChartPlace", 1, 2, 3, 4));

    std::filesystem::remove(configFile());
    std::filesystem::create_directory(configFile());
    TPlacementRecord r;
    EXPECT_FALSE(ReadPlacement("Tabulo\\ChartPlace", r));
    EXPECT_FALSE(WritePlacement("Tabulo\\ChartPlace", 1, 2, 3, 4));
    EXPECT_TRUE(std::filesystem::is_directory(configFile()));
}

// ---------------------------------------------------------------- restoring

struct RestoreCase {
    const char* name;
    TPlacementRecord saved;
    TRect expected;  // on one 1920 x 1050 monitor below a 30 px panel
};

std::ostream& operator<<(std::ostream& os, const RestoreCase& c) {
    return os << c.name;
}

class Restore : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(Restore, KeepsTheWindowUsableOnTheScreen) {
    const TRect area[] = {{0, 30, 1920, 1080}};
    const TRect current{10, 40, 10 + 290, 40 + 387};
    EXPECT_EQ(RestoredPlacement(GetParam().saved, current, area), GetParam().expected);
}

constexpr int kMax = 2147483647, kMin = -2147483647 - 1;

INSTANTIATE_TEST_SUITE_P(
    Table, Restore,
    ::testing::Values(
        RestoreCase{"Unchanged", {100, 200, 387, 290}, {100, 200, 390, 587}},
        RestoreCase{"MissingValuesKeepTheCurrentOnes", {{}, 300, {}, 500}, {10, 300, 510, 687}},
        RestoreCase{"HugeSizeFitsTheArea", {0, 30, 100000, 100000}, {0, 30, 1920, 1080}},
        RestoreCase{
            "FarRightAndAboveComesWhollyBack", {40000, -40000, 387, 290}, {1630, 30, 1920, 417}},
        RestoreCase{
            "FarLeftAndBelowComesWhollyBack", {-40000, 40000, 387, 290}, {0, 693, 290, 1080}},
        RestoreCase{"PartlyOffScreenStays", {-100, 900, 387, 290}, {-100, 900, 190, 1287}},
        RestoreCase{"NoSizeBecomesOnePixel", {5, 40, 0, -7}, {5, 40, 6, 41}},
        RestoreCase{"ExtremesDoNotOverflow", {kMax, kMin, kMax, kMax}, {0, 30, 1920, 1080}},
        RestoreCase{"OtherExtremes", {kMin, kMax, kMin, kMin}, {0, 1079, 1, 1080}}),
    [](const ::testing::TestParamInfo<RestoreCase>& info) { return std::string(info.param.name); });

// ------------------------------------------------------- several monitors

// Monitors' usable areas, the primary first.
// Side by side: a 1920 x 1080 primary with a 30 px panel at the bottom, and
// a 1280 x 1024 monitor to its right.
const std::vector<TRect> kSideBySide{{0, 0, 1920, 1050}, {1920, 0, 3200, 1024}};
// The same with the second monitor unplugged.
const std::vector<TRect> kSecondRemoved{{0, 0, 1920, 1050}};
// Two 1920 x 1080 monitors, the second below the first.
const std::vector<TRect> kStacked{{0, 0, 1920, 1080}, {0, 1080, 1920, 2160}};
// A 2560 x 1600 laptop screen at 200 % (1280 x 800 logical pixels), and at
// its right a 1920 x 1080 monitor at 100 %: the toolkit keeps each screen's
// corner where the X server has it, so a gap lies between them.
const std::vector<TRect> kMixedScales{{0, 0, 1280, 800}, {2560, 0, 4480, 1080}};

struct MonitorCase {
    const char* name;
    const std::vector<TRect>* monitors;
    TRect window;
    TRect expected;
};

std::ostream& operator<<(std::ostream& os, const MonitorCase& c) {
    return os << c.name;
}

class Monitors : public ::testing::TestWithParam<MonitorCase> {};

TEST_P(Monitors, KeepTheWindowOnTheMonitorThatHoldsMostOfIt) {
    EXPECT_EQ(KeepOnMonitors(GetParam().window, *GetParam().monitors), GetParam().expected);
}

const std::vector<TRect> kNone;

INSTANTIATE_TEST_SUITE_P(
    Layouts, Monitors,
    ::testing::Values(
        MonitorCase{
            "WhollyOnTheSecondStays", &kSideBySide, {2200, 100, 2490, 487}, {2200, 100, 2490, 487}},
        MonitorCase{
            "MostlyOnTheSecondStays", &kSideBySide, {1800, 100, 2090, 487}, {1800, 100, 2090, 487}},
        MonitorCase{"BelowTheSecondComesUpOnIt",
                    &kSideBySide,
                    {2500, 1000, 2790, 1387},
                    {2500, 960, 2790, 1347}},
        MonitorCase{
            "TallerThanTheSecondIsCut", &kSideBySide, {2000, 0, 2300, 1200}, {2000, 0, 2300, 1024}},
        MonitorCase{"AboveEveryMonitorComesToTheNearest",
                    &kSideBySide,
                    {2500, -3000, 2790, -2613},
                    {2500, 0, 2790, 387}},
        MonitorCase{"OnARemovedMonitorComesWhollyOntoTheOther",
                    &kSecondRemoved,
                    {2200, 100, 2490, 487},
                    {1630, 100, 1920, 487}},
        MonitorCase{"StackedLowerStays", &kStacked, {300, 1500, 590, 1887}, {300, 1500, 590, 1887}},
        MonitorCase{"StackedStraddlingKeepsToTheLargerShare",
                    &kStacked,
                    {300, 900, 590, 1287},
                    {300, 1080, 590, 1467}},
        MonitorCase{"InTheGapBetweenScalesGoesToTheNearer",
                    &kMixedScales,
                    {1700, 100, 1990, 487},
                    {990, 100, 1280, 487}},
        MonitorCase{"OnTheUnscaledMonitorStays",
                    &kMixedScales,
                    {3000, 500, 3290, 887},
                    {3000, 500, 3290, 887}},
        MonitorCase{
            "NoMonitorsLeaveItAlone", &kNone, {2200, 100, 2490, 487}, {2200, 100, 2490, 487}}),
    [](const ::testing::TestParamInfo<MonitorCase>& info) { return std::string(info.param.name); });

}  // namespace
