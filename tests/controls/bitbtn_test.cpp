#include "tabulo/controls/bitbtn.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <memory>

#include "support/controls_test.h"
#include "tabulo_test/probe.h"

namespace {
constexpr TColor Tint = RGBColor(255, 213, 232);
constexpr TColor Frame = RGBColor(128, 128, 128);
constexpr TColor Ink = RGBColor(255, 0, 0);

struct BitBtnFixture : ::testing::Test {
    HostWindow host;
    std::unique_ptr<TKVBitBtn> btn;

    TKVBitBtn* Make(const char* caption, bool noFrame = false) {
        btn = std::make_unique<TKVBitBtn>(host.Control());
        btn->Width = 46;
        btn->Height = 45;
        btn->Flat = true;
        btn->Color = Tint;
        btn->NoFrame = noFrame;
        btn->FrameColor = Frame;
        btn->Font.Name = "Tahoma";
        btn->Font.Color = Ink;
        btn->SetCaption(caption);
        btn->Init();
        return btn.get();
    }
    QImage Draw(int state) {
        TBitmap bmp(46, 45, clWhite);
        btn->DrawButton(bmp.Canvas(), MakeRect(0, 0, 46, 45), state);
        return bmp.Image().copy();
    }
};

// The bounding box of the pixels of one colour.
QRect Extent(const QImage& img, unsigned rgb) {
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Rgb(img, x, y) == rgb) r |= QRect(x, y, 1, 1);
    return r;
}

TEST_F(BitBtnFixture, NormalFlatButtonHasAOnePixelFrameInFrameColor) {
    Make("vs UTG");
    const QImage img = Draw(odsNormal);
    for (auto [x, y] : {std::pair{0, 0}, {45, 44}, {0, 22}, {23, 0}, {45, 10}, {10, 44}})
        EXPECT_EQ(Rgb(img, x, y), RgbOf(Frame)) << x << "," << y;
    EXPECT_EQ(Rgb(img, 1, 1), RgbOf(Tint));
    EXPECT_EQ(Rgb(img, 44, 43), RgbOf(Tint));
}

TEST_F(BitBtnFixture, NoFrameLeavesTheFillOnly) {
    Make("vs UTG", true);
    const QImage img = Draw(odsNormal);
    EXPECT_EQ(Rgb(img, 0, 0), RgbOf(Tint));
    EXPECT_EQ(Rgb(img, 45, 44), RgbOf(Tint));
}

TEST_F(BitBtnFixture, HotShowsARaisedEdgeAndPressedASunkenOne) {
    Make("vs UTG");
    const QImage hot = Draw(odsHot);
    EXPECT_EQ(Rgb(hot, 0, 0), RgbOf(ColorToRGB(clBtnHighlight)));
    EXPECT_EQ(Rgb(hot, 45, 44), RgbOf(ColorToRGB(clBtnShadow)));
    const QImage pressed = Draw(odsPressed);
    EXPECT_EQ(Rgb(pressed, 0, 0), RgbOf(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(Rgb(pressed, 45, 44), RgbOf(ColorToRGB(clBtnHighlight)));
}

TEST_F(BitBtnFixture, PressingShiftsTheCaptionOnePixelDownRight) {
    Make("vs UTG");
    const QRect up = Extent(Draw(odsNormal), RgbOf(Ink));
    const QRect down = Extent(Draw(odsPressed), RgbOf(Ink));
    ASSERT_FALSE(up.isEmpty());
    EXPECT_EQ(down.topLeft(), up.topLeft() + QPoint(1, 1));
    EXPECT_EQ(down.size(), up.size());
    // Centred in the client rectangle less 3 pixels on each side, shifted up-left.
    const int centreX2 = up.left() + up.right() + 1;  // twice the centre
    EXPECT_NEAR(centreX2, 46 - 2, 3);
}

TEST_F(BitBtnFixture, DisabledCaptionIsEmbossed) {
    Make("vs UTG");
    const QImage normal = Draw(odsNormal);
    const QImage disabled = Draw(odsDisabled);
    const unsigned light = RgbOf(ColorToRGB(clWindow)), dark = RgbOf(ColorToRGB(clBtnShadow));
    ASSERT_NE(light, RgbOf(Tint));
    EXPECT_TRUE(Extent(normal, light).isEmpty());
    const QRect l = Extent(disabled, light), d = Extent(disabled, dark);
    ASSERT_FALSE(l.isEmpty());
    ASSERT_FALSE(d.isEmpty());
    EXPECT_TRUE(Extent(disabled, RgbOf(Ink)).isEmpty());
    // The light copy lies one pixel right and down of the shadow copy: the
    // weighted centre of the pixels lighter than the face lies right of and
    // below that of the darker ones.
    const QImage inside = disabled.copy(1, 1, 44, 43);
    const int face = qGray(QRgb(RgbOf(Tint)));
    double lx = 0, ly = 0, lw = 0, dx = 0, dy = 0, dw = 0;
    for (int y = 0; y < inside.height(); ++y)
        for (int x = 0; x < inside.width(); ++x) {
            const int g = qGray(inside.pixel(x, y)) - face;
            if (g > 0) lx += g * x, ly += g * y, lw += g;
            if (g < 0) dx -= g * x, dy -= g * y, dw -= g;
        }
    ASSERT_GT(lw, 0);
    ASSERT_GT(dw, 0);
    EXPECT_GT(lx / lw - dx / dw, 0.3);
    EXPECT_GT(ly / lw - dy / dw, 0.3);
}

TEST_F(BitBtnFixture, GlyphIsCentredWithoutCaptionAndGreyedWhenDisabled) {
    Make("");
    btn->Glyph->SetSize(10, 10);
    btn->Glyph->Canvas().FillRect(MakeRect(0, 0, 10, 10), RGBColor(0, 0, 255));
    btn->Glyph->SetPixel(0, 0, RGBColor(255, 0, 255));  // the transparent key
    btn->Glyph->SetPixel(5, 5, RGBColor(10, 200, 30));
    const QImage img = Draw(odsNormal);
    // (46 - 10) / 2 - 1 = 17, (45 - 10) / 2 - 1 = 16
    EXPECT_EQ(Rgb(img, 18, 16), 0x0000FFu);
    EXPECT_EQ(Rgb(img, 17, 16), 0xFF00FFu);
    EXPECT_EQ(Rgb(img, 16, 16), RgbOf(Tint));
    const QImage pressed = Draw(odsPressed);
    EXPECT_EQ(Rgb(pressed, 18, 17), 0xFF00FFu);

    const TBitmap& grey = btn->GreyGlyph();
    EXPECT_EQ(grey.Pixel(0, 0), RGBColor(255, 0, 255));
    EXPECT_EQ(grey.Pixel(5, 5), RGBColor(80, 80, 80));
    EXPECT_EQ(grey.Pixel(1, 1), RGBColor(85, 85, 85));
    EXPECT_EQ(&btn->GreyGlyph(), &grey);  // built once
    const QImage disabled = Draw(odsDisabled);
    EXPECT_EQ(Rgb(disabled, 18, 16), 0x555555u);
}

TEST_F(BitBtnFixture, GlyphSitsThreePixelsFromTheLeftBesideACaption) {
    Make("AA");
    btn->Glyph->SetSize(8, 8);
    btn->Glyph->Canvas().FillRect(MakeRect(0, 0, 8, 8), RGBColor(0, 0, 255));
    const QImage img = Draw(odsPressed);
    EXPECT_EQ(Rgb(img, 3, 18), 0x0000FFu);
    EXPECT_EQ(Rgb(img, 2, 18), RgbOf(Tint));
}

TEST_F(BitBtnFixture, ClicksFireDataAndADoubleClickCountsTwice) {
    LiveHooks hooks;
    Probe clicks;
    Make("MP");
    btn->Data = MakeText("MPvsUTG");
    btn->onClick = clicks.Link();
    host.Show();
    QWidget* w = btn->Control->Widget();
    auto send = [&](QEvent::Type t, Qt::MouseButtons held) {
        QMouseEvent e(t, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, held,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    ASSERT_EQ(clicks.Count(), 2u);
    EXPECT_EQ(clicks.Last().Tag, dtString);
    EXPECT_EQ(clicks.Last().TextValue, "MPvsUTG");
    EXPECT_EQ(btn->Data.TextValue, "MPvsUTG");  // a copy went out
}

TEST_F(BitBtnFixture, PointerComingOverFiresTheClickValueOncePerVisit) {
    LiveHooks hooks;
    Probe hover, enter;
    Make("AA");
    btn->Data = MakeText("AA");
    btn->onHoverValue = hover.Link();
    btn->onMouseEnter = enter.Link();
    host.Show();
    QWidget* w = btn->Control->Widget();
    auto move = [&] {
        QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    };
    QEnterEvent in(QPointF(5, 5), QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)));
    QEvent out(QEvent::Leave);
    QApplication::sendEvent(w, &in);
    move();
    move();
    ASSERT_EQ(hover.Count(), 1u);
    EXPECT_EQ(hover.Last().Tag, dtString);
    EXPECT_EQ(hover.Last().TextValue, "AA");
    EXPECT_GE(enter.Count(), 3u);  // every message, NULL, as before
    for (const auto& hit : enter.Hits) EXPECT_EQ(hit.Value.Tag, dtNull);
    QApplication::sendEvent(w, &out);
    move();  // back over it without an enter of its own
    EXPECT_EQ(hover.Count(), 2u);
    EXPECT_EQ(btn->Data.TextValue, "AA");
}

// Pages set every caption again on each mouse move: only a change repaints.
TEST_F(BitBtnFixture, CaptionInputSetsTheTextAndRepaintsOnlyAChange) {
    Make("B1");
    host.Show();
    int paints = 0;
    btn->Control->OnDrawItem = [&](TControl&, TCanvas&, const TRect&, int) { return ++paints > 0; };
    auto settle = [] {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    };
    settle();
    paints = 0;
    TData v = MakeText("My chart");
    btn->doCaption(v, 0);
    settle();
    EXPECT_EQ(btn->Control->Text(), "My chart");
    EXPECT_GT(paints, 0);
    paints = 0;
    TData same = MakeText("My chart");
    btn->doCaption(same, 0);
    settle();
    EXPECT_EQ(paints, 0);
    TData n = MakeInt(12);
    btn->doCaption(n, 0);
    settle();
    EXPECT_EQ(btn->Control->Text(), "12");
    EXPECT_GT(paints, 0);
}

TEST_F(BitBtnFixture, PaintsThroughTheOwnerDrawRoutine) {
    Make("vs UTG");
    btn->Control->SetPosition(200, 200);  // away from the pointer: not hot
    host.Show();
    const QImage img = Grab(btn->Control);
    EXPECT_EQ(Rgb(img, 0, 0), RgbOf(Frame));
    EXPECT_EQ(Rgb(img, 2, 2), RgbOf(Tint));
    EXPECT_FALSE(Extent(img, RgbOf(Ink)).isEmpty());
}
}  // namespace
