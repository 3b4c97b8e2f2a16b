#include "tabulo/controls/label.h"

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QWidget>

#include "support/controls_test.h"
#include "tabulo_test/probe.h"

namespace {
void Hover(TControl* c, bool in) {
    QWidget* w = c->Widget();
    if (in) {
        QEnterEvent e(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
        QApplication::sendEvent(w, &e);
    } else {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(w, &e);
    }
}

TEST(Label, HoverColourAndUnderlineComeAndGo) {
    HostWindow host;
    LiveHooks hooks;
    TKVLabel label(host.Control());
    label.Font.Color = RGBColor(0, 0, 0);
    label.HoverColor = RGBColor(0, 0, 255);
    label.HoverUnderline = true;
    label.Caption = "Link";
    label.Init();
    Hover(label.Control, true);
    EXPECT_EQ(label.Control->Font().Color(), RGBColor(0, 0, 255));
    EXPECT_TRUE(label.Control->Font().FontStyle() & fsUnderline);
    Hover(label.Control, false);
    EXPECT_EQ(label.Control->Font().Color(), RGBColor(0, 0, 0));
    EXPECT_FALSE(label.Control->Font().FontStyle() & fsUnderline);
}

TEST(Label, WithoutHoverSettingsTheFontStays) {
    HostWindow host;
    LiveHooks hooks;
    TKVLabel label(host.Control());
    label.Font.Color = RGBColor(9, 8, 7);
    label.Font.Style = fsBold;
    label.Init();
    Hover(label.Control, true);
    EXPECT_EQ(label.Control->Font().Color(), RGBColor(9, 8, 7));
    EXPECT_EQ(label.Control->Font().FontStyle(), fsBold);
    Hover(label.Control, false);
    EXPECT_EQ(label.Control->Font().FontStyle(), fsBold);
}

TEST(Label, CaptionInAndOut) {
    HostWindow host;
    LiveHooks hooks;
    TKVLabel label(host.Control());
    label.Caption = "Input chart name";
    label.SetAlignment(2);
    label.Init();
    EXPECT_EQ(label.Control->Text(), "Input chart name");
    EXPECT_EQ(label.Control->TextAlign(), taCenter);
    TData path = MakeText("/charts/a.png");
    label.doCaption(path, 0);
    TData out;
    label.getCaption(out, 0);
    EXPECT_EQ(out.Tag, dtString);
    EXPECT_EQ(out.TextValue, "/charts/a.png");
    Source src;
    src.Answer = MakeText("pulled");
    label.pullStr = src.Link();
    label.doCaption(path, 0);
    EXPECT_EQ(label.Control->Text(), "pulled");
}

TEST(Label, AutoSizeFollowsTheText) {
    HostWindow host;
    TKVLabel label(host.Control());
    label.Width = 5;
    label.SetAutoSize(true);
    label.Caption = "A rather long caption";
    label.Init();
    const int wide = label.Control->Width();
    EXPECT_GT(wide, 5);
    TData shorter = MakeText("A");
    label.doCaption(shorter, 0);
    EXPECT_LT(label.Control->Width(), wide);
}
}  // namespace
