// Window tools, launcher, icon animation and the message component.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include "tabulo/components/iconanimation.h"
#include "tabulo/components/showmessage.h"
#include "tabulo/components/winexec.h"
#include "tabulo/components/wintools.h"
#include "tabulo/widgets/control.h"
#include "tabulo/widgets/messagebox.h"
#include "tabulo_test/probe.h"

namespace {

TEST(WinTools, TopMostFollowsTheValueThroughThePulledHandle) {
    LiveHooks hooks;
    std::unique_ptr<TControl> form(NewForm(nullptr, "main"));
    TKVWinTools tools;
    Source handle;
    handle.Answer = MakeInt(int32_t(form->Handle()));
    tools.pullHandle = handle.Link();
    ASSERT_FALSE(form->StaysOnTop());

    FireInt(BindEvent<&TKVWinTools::doTopMost>(&tools), 1);
    EXPECT_TRUE(form->StaysOnTop());
    FireInt(BindEvent<&TKVWinTools::doTopMost>(&tools), 1);  // unchanged state: no change
    EXPECT_TRUE(form->StaysOnTop());
    FireInt(BindEvent<&TKVWinTools::doTopMost>(&tools), 0);
    EXPECT_FALSE(form->StaysOnTop());
    FireText(BindEvent<&TKVWinTools::doTopMost>(&tools), "");  // true by IsTrue
    EXPECT_TRUE(form->StaysOnTop());

    // An unknown handle does nothing.
    handle.Answer = MakeInt(0);
    FireInt(BindEvent<&TKVWinTools::doTopMost>(&tools), 0);
    EXPECT_TRUE(form->StaysOnTop());
}

TEST(WinExec, StartsAProgramWithItsParametersAndFiresOnExec) {
    LiveHooks hooks;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string marker = dir.filePath("ran").toStdString();
    TKVWinExec exec;
    Probe p;
    exec.onExec = p.Link();
    exec.FileName = "/bin/sh";
    exec.Parameters = TText("-c \"echo hi > '" + marker + "'\"");
    FireNull(BindEvent<&TKVWinExec::doExec>(&exec));
    ASSERT_EQ(p.Count(), 1u);
    EXPECT_GT(exec.ProcessId, 0);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return QFile::exists(QString::fromStdString(marker)); }, 10000));

    exec.FileName = "/nonexistent/program";
    exec.Parameters = "";
    FireNull(BindEvent<&TKVWinExec::doExec>(&exec));
    EXPECT_EQ(p.Count(), 1u) << "a failed start fires nothing";
}

TEST(IconAnimation, IsCreatedStoppedAndCyclesThroughItsFrames) {
    LiveHooks hooks;
    TkvIconAnimation anim;
    EXPECT_FALSE(anim.Timer->Enabled());
    EXPECT_EQ(anim.Timer->Interval(), 83);
    EXPECT_EQ(anim.IconSize(), 32);
    anim.SetIconSize(8);
    EXPECT_EQ(anim.IconSize(), 32);
    anim.SetIconSize(16);

    anim.Tick();  // no frame list: nothing but the interval
    EXPECT_TRUE(anim.CurrentFrame.Empty());

    std::vector<QImage> frames(3, QImage(16, 16, QImage::Format_ARGB32));
    anim.Frames = &frames;
    Probe end;
    anim.onCycleEnd = end.Link();
    anim.FrameInterval = 10;
    anim.Timer->SetEnabled(true);
    anim.Tick();
    anim.Tick();
    EXPECT_EQ(anim.FrameIndex, 2);
    EXPECT_FALSE(anim.CurrentFrame.Empty());
    anim.Tick();
    EXPECT_EQ(anim.FrameIndex, 0);
    EXPECT_EQ(end.Count(), 1u);
    EXPECT_FALSE(anim.Timer->Enabled()) << "no repeat: the timer stops";

    anim.Repeat = true;
    anim.CycleInterval = 700;
    anim.Timer->SetEnabled(true);
    for (int i = 0; i < 3; ++i) anim.Tick();
    EXPECT_TRUE(anim.Timer->Enabled());
    EXPECT_EQ(anim.Timer->Interval(), 700);
    anim.Timer->SetEnabled(false);
}

TEST(ShowMessage, ShowsTheTextByTheReadRule) {
    LiveHooks hooks;
    std::vector<std::pair<std::string, std::string>> shown;
    SetMessageBoxHook([&](const std::string& caption, const std::string& text, uint32_t type) {
        shown.emplace_back(caption, text);
        EXPECT_EQ(type & 0xF0, MbIconError);
        return IdOk;
    });
    TKVShowMessage m;
    m.Caption = "Tabulo";
    Probe done;
    m.onShown = done.Link();
    FireText(BindEvent<&TKVShowMessage::doShow>(&m), "Could not save /x/Custom.ini");
    m.Text = "fixed";
    FireText(BindEvent<&TKVShowMessage::doShow>(&m), "ignored");
    SetMessageBoxHook(nullptr);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].first, "Tabulo");
    EXPECT_EQ(shown[0].second, "Could not save /x/Custom.ini");
    EXPECT_EQ(shown[1].second, "fixed");
    EXPECT_EQ(done.Count(), 2u);
}

}  // namespace
