#include "tabulo/controls/button.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPushButton>

#include "support/controls_test.h"
#include "tabulo_test/probe.h"

namespace {
TEST(Button, EveryClickFiresACopyOfData) {
    HostWindow host;
    LiveHooks hooks;
    Probe clicks;
    TKVButton donate(host.Control());
    donate.Left = 0;
    donate.Top = 0;
    donate.Width = 45;
    donate.Height = 20;
    donate.SetCaption("Donate");
    donate.Init();
    donate.onClick = clicks.Link();
    host.Show();
    EXPECT_EQ(donate.Control->Text(), "Donate");
    auto* w = donate.Control->Widget();
    for (int i = 0; i < 2; ++i) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5),
                            w->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(w, &release);
    }
    ASSERT_EQ(clicks.Count(), 2u);
    EXPECT_EQ(clicks.Last().Tag, dtNull);  // no Data set: NULL, which shows a window

    donate.Data = MakeInt(7);
    static_cast<QPushButton*>(w)->click();
    ASSERT_EQ(clicks.Count(), 3u);
    EXPECT_EQ(clicks.Last().Tag, dtInteger);
    EXPECT_EQ(clicks.Last().IntValue, 7);
}

TEST(Button, DefaultMakesTheFormsDefaultButton) {
    HostWindow host;
    TKVButton save(host.Control());
    save.Default = true;
    save.Init();
    EXPECT_TRUE(save.Control->DefaultButton());
    EXPECT_EQ(save.Control->Height(), 22);  // the default height
}
}  // namespace
