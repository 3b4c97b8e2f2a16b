// Resources, message boxes, key state and screen size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <optional>

#include "tabulo/runtime/message.h"
#include "tabulo/widgets/keystate.h"
#include "tabulo/widgets/messagebox.h"
#include "tabulo/widgets/resources.h"
#include "tabulo/widgets/screen.h"
#include "tabulo/widgets/session.h"

namespace {

// A resource tree on disk, laid out like the compiled-in one.
class ResourceTree : public ::testing::Test {
protected:
    void SetUp() override {
        QDir root(dir_.path());
        root.mkpath(QStringLiteral("text"));
        root.mkpath(QStringLiteral("icon/ICON0"));
        write(QStringLiteral("text/STR1"), QByteArray("About\r\nTabulo"));
        write(QStringLiteral("text/STR2"), QByteArray("abc\0def", 7));
        write(QStringLiteral("text/STR3"), QByteArray("\xd0\x9f\xd1\x80\xd0\xb8"));
        png(QStringLiteral("icon/ICON0/16.png"), 16);
        png(QStringLiteral("icon/ICON0/32.png"), 32);
        png(QStringLiteral("icon/Single.png"), 24);
        SetResourceRoot(dir_.path().toStdString());
    }
    void TearDown() override { SetResourceRoot(""); }

private:
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(dir_.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void png(const QString& name, int size) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(size == 32 ? Qt::blue : Qt::red);  // the 32-pixel picture is told apart
        ASSERT_TRUE(image.save(dir_.filePath(name), "PNG"));
    }
    QTemporaryDir dir_;
};

TEST_F(ResourceTree, TextsAreFoundWhateverTheCase) {
    EXPECT_EQ(ResourceText("Str1"), "About\r\nTabulo");
    EXPECT_EQ(ResourceText("str1"), "About\r\nTabulo");
    EXPECT_EQ(ResourceText("STR3"), "\xd0\x9f\xd1\x80\xd0\xb8");
}

TEST_F(ResourceTree, TextEndsAtTheFirstZeroByte) {
    EXPECT_EQ(ResourceText("Str2"), "abc");
}

TEST_F(ResourceTree, MissingTextIsEmpty) {
    EXPECT_EQ(ResourceText("Str9"), "");
    EXPECT_EQ(ResourceText(""), "");
    EXPECT_EQ(ResourceText("../text/STR1"), "");
}

TEST_F(ResourceTree, IconGroupHoldsEverySize) {
    const QIcon icon = ResourceIcon("icon0");
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_FALSE(ResourceIcon("single").isNull());
    // A 16-pixel icon on a 200 % screen is the 32-pixel picture, not the
    // 16-pixel one scaled up.
    const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage();
    const QImage sharp = icon.pixmap(QSize(16, 16), 2.0).toImage();
    EXPECT_EQ(small.size(), QSize(16, 16));
    EXPECT_EQ(small.pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(sharp.size(), QSize(32, 32));
    EXPECT_EQ(sharp.pixelColor(8, 8), QColor(Qt::blue));
}

TEST_F(ResourceTree, MissingIconIsNull) {
    EXPECT_TRUE(ResourceIcon("KLVA").isNull());
    EXPECT_TRUE(ResourceIcon("").isNull());
}

TEST(Resources, WithoutCompiledResourcesEverythingIsEmpty) {
    EXPECT_EQ(ResourceText("NoSuchText"), "");
    EXPECT_TRUE(ResourceIcon("NoSuchIcon").isNull());
}

struct MessageRecord {
    std::string caption, text;
    uint32_t type = 0xFFFF;
    int calls = 0;
};

TEST(MessageBoxHook, ReceivesTheBoxAndAnswersForIt) {
    MessageRecord seen;
    SetMessageBoxHook([&seen](const std::string& c, const std::string& t, uint32_t type) {
        seen = {c, t, type, seen.calls + 1};
        return IdNo;
    });
    EXPECT_EQ(MessageBox("Tabulo", "Really?", MbYesNo | MbIconQuestion), IdNo);
    EXPECT_EQ(seen.caption, "Tabulo");
    EXPECT_EQ(seen.text, "Really?");
    EXPECT_EQ(seen.type, MbYesNo | MbIconQuestion);
    SetMessageBoxHook({});
}

TEST(MessageBoxHook, RuntimeMessagesReachTheBoxOnceInstalled) {
    const TMessageFunction previous = GetMessageFunction();
    MessageRecord seen;
    SetMessageBoxHook([&seen](const std::string& c, const std::string& t, uint32_t type) {
        seen = {c, t, type, seen.calls + 1};
        return IdOk;
    });
    InstallRuntimeMessageBox();
    ShowMessage("Tabulo v. 1.3", "Information");
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.caption, "Tabulo v. 1.3");
    EXPECT_EQ(seen.text, "Information");
    EXPECT_EQ(seen.type, MbOk);
    SetMessageFunction(previous);
    SetMessageBoxHook({});
}

TEST(KeyState, HookAnswersForEachKey) {
    SetKeyStateHook([](TModifierKey k) { return k == TModifierKey::Ctrl; });
    EXPECT_FALSE(IsKeyDown(TModifierKey::Shift));
    EXPECT_TRUE(IsKeyDown(TModifierKey::Ctrl));
    EXPECT_FALSE(IsKeyDown(TModifierKey::Alt));
    SetKeyStateHook({});
}

TEST(KeyState, FollowsTheModifiersOfTheLastInputEvent) {
    QWidget w;
    w.resize(50, 50);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(&w, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, QPoint(5, 5));
    EXPECT_TRUE(IsKeyDown(TModifierKey::Ctrl));
    EXPECT_TRUE(IsKeyDown(TModifierKey::Shift));
    EXPECT_FALSE(IsKeyDown(TModifierKey::Alt));
    QTest::mouseClick(&w, Qt::LeftButton, Qt::AltModifier, QPoint(6, 6));
    EXPECT_FALSE(IsKeyDown(TModifierKey::Ctrl));
    EXPECT_TRUE(IsKeyDown(TModifierKey::Alt));
    QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, QPoint(7, 7));
    EXPECT_FALSE(IsKeyDown(TModifierKey::Alt));
}

TEST(Screen, HookReplacesTheScreenSize) {
    SetScreenSizeHook([] { return TScreenSize{1280, 800}; });
    EXPECT_EQ(ScreenSize().Width, 1280);
    EXPECT_EQ(ScreenSize().Height, 800);
    SetScreenSizeHook({});
    EXPECT_GT(ScreenSize().Width, 0);
    EXPECT_GT(ScreenSize().Height, 0);
}

}  // namespace

namespace {

// The platform the viewer asks for, by session.
struct SessionCase {
    const char* Name;
    TSessionEnv Env;
    const char* Platform;
};

class ViewerPlatform : public ::testing::TestWithParam<SessionCase> {};

TEST_P(ViewerPlatform, FollowsTheSession) {
    EXPECT_EQ(ViewerPlatformFor(GetParam().Env), GetParam().Platform);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, ViewerPlatform,
    ::testing::Values(
        SessionCase{"X11", {"", "", "x11", ":0"}, ""},
        SessionCase{"WaylandWithXWayland", {"", "wayland-0", "wayland", ":0"}, "xcb;wayland"},
        SessionCase{"WaylandSocketOnly", {"", "wayland-1", "", ":1"}, "xcb;wayland"},
        SessionCase{"WaylandSessionTypeOnly", {"", "", "wayland", ":0"}, "xcb;wayland"},
        SessionCase{"WaylandWithoutX", {"", "wayland-0", "wayland", ""}, "wayland"},
        SessionCase{"UserChoiceOnWayland", {"wayland", "wayland-0", "wayland", ":0"}, ""},
        SessionCase{"UserChoiceOffscreen", {"offscreen", "wayland-0", "", ""}, ""},
        SessionCase{"NoDisplayAtAll", {"", "", "", ""}, ""}),
    [](const ::testing::TestParamInfo<SessionCase>& info) { return std::string(info.param.Name); });

// The choice reaches Qt only while the application object is made: programs
// the viewer starts later find the environment as the user left it.
TEST(ViewerPlatformStart, AsksForItsPlatformOnlyWhileItLives) {
    const char* names[] = {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"};
    std::optional<QByteArray> saved[3];
    for (int i = 0; i < 3; ++i)
        if (qEnvironmentVariableIsSet(names[i])) saved[i] = qgetenv(names[i]);
    qunsetenv("QT_QPA_PLATFORM");
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    qputenv("DISPLAY", ":0");
    {
        TViewerPlatformStart start;
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "xcb;wayland");
    }
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    {
        TViewerPlatformStart start;
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "offscreen");
    }
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "offscreen");
    for (int i = 0; i < 3; ++i) {
        if (saved[i])
            qputenv(names[i], *saved[i]);
        else
            qunsetenv(names[i]);
    }
}

}  // namespace
