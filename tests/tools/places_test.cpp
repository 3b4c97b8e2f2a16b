// Where the range editor puts a chart on a Custom slot: into the very
// "Custom.ini" the viewer reads, which for an installed viewer is the user's
// copy of the installed file.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

#include "customslot.h"
#include "places.h"
#include "tabulo/widgets/ini.h"
#include "tabulo_test/userfiles.h"

namespace {

TEST(Places, ASlotOfAnInstalledViewerGoesIntoTheUsersCopyOfItsCustomIni) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = dir.path().toStdString();
    ::chmod(base.c_str(), 0755);
    const std::string viewer = base + "/lib/tabulo/", config = base + "/config",
                      data = base + "/data";
    put(viewer + "Custom.ini", "[B5]\r\nFile=/usr/share/charts/x.png\r\nCaption=Installed\r\n");
    for (const std::string& d : {config, data}) {
        std::filesystem::create_directories(d);
        ::chmod(d.c_str(), 0777);
    }
    Env configHome("XDG_CONFIG_HOME", config.c_str()), dataHome("XDG_DATA_HOME", data.c_str());
    const std::string mine = config + "/Tabulo/Custom.ini";
    {
        NotMine installed(viewer);
        const ranges::Places places = ranges::Places::forViewer(QString::fromStdString(viewer));
        EXPECT_EQ(places.customIni.toStdString(), mine);
        QString error;
        ASSERT_TRUE(ranges::putOnCustomSlot(chartpack::ChartPack{}, 6, 2, places.chartFolder,
                                            places.customIni, &error))
            << error.toStdString();
    }
    // The installed slot is still there beside the new one, and the installed
    // file is untouched.
    EXPECT_EQ(GetPrivateProfileString("B5", "Caption", "", mine), "Installed");
    EXPECT_EQ(GetPrivateProfileString("B2", "Caption", "", mine), "MP vs UTG");
    EXPECT_EQ(GetPrivateProfileString("B2", "File", "", mine), data + "/tabulo/custom/MPvsUTG.png");
    EXPECT_EQ(slurp(viewer + "Custom.ini"),
              "[B5]\r\nFile=/usr/share/charts/x.png\r\nCaption=Installed\r\n");
}

TEST(Places, APortableViewerKeepsItsCustomIniBesideIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ranges::Places places = ranges::Places::program(dir.path());
    EXPECT_EQ(places.customIni.toStdString(), dir.path().toStdString() + "/Custom.ini");
    EXPECT_EQ(places.chartFolder, dir.path());
}

}  // namespace
