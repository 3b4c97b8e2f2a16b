// Drawing: geometry of every canvas operation, stretch modes, fonts,
// bitmaps.

#include <gtest/gtest.h>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <functional>
#include <random>

#include "tabulo/widgets/bitmap.h"
#include "tabulo/widgets/canvas.h"
#include "tabulo/widgets/icon.h"

namespace {

constexpr TColor kRed = RGBColor(255, 0, 0);

// Bounding box and number of the pixels that are no longer paper coloured.
struct Ink {
    TRect box;
    int count = 0;
};
constexpr TColor kPaper = RGBColor(10, 20, 30);
Ink inkOf(const TBitmap& b, TColor paper = clWhite) {
    Ink ink;
    ink.box = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Pixel(x, y) != paper) {
                ++ink.count;
                ink.box.Left = std::min(ink.box.Left, x);
                ink.box.Top = std::min(ink.box.Top, y);
                ink.box.Right = std::max(ink.box.Right, x + 1);
                ink.box.Bottom = std::max(ink.box.Bottom, y + 1);
            }
    if (ink.count == 0) ink.box = {};
    return ink;
}

struct DrawCase {
    const char* name;
    std::function<void(TCanvas&)> draw;
    TRect box;
    int count;
};

class CanvasGeometry : public ::testing::TestWithParam<DrawCase> {};

TEST_P(CanvasGeometry, PaintsExactlyTheExpectedPixels) {
    const DrawCase& k = GetParam();
    TBitmap b(20, 20, kPaper);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(kRed);
    c.Pen().SetColor(clBlack);
    k.draw(c);
    Ink ink = inkOf(b, kPaper);
    EXPECT_EQ(ink.box, k.box) << k.name;
    EXPECT_EQ(ink.count, k.count) << k.name;
}

const TBitmap& twoByTwo() {
    static TBitmap b(2, 2, clBlack);
    b.SetPixel(1, 0, kRed);
    b.SetPixel(0, 1, RGBColor(0, 0, 255));
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Widgets, CanvasGeometry,
    ::testing::Values(DrawCase{"fill rect, right and bottom exclusive",
                               [](TCanvas& c) {
                                   c.FillRect({2, 3, 7, 8});
                               },
                               {2, 3, 7, 8},
                               25},
                      DrawCase{"fill with a clear brush paints nothing",
                               [](TCanvas& c) {
                                   c.Brush().SetBrushStyle(bsClear);
                                   c.FillRect({2, 3, 7, 8});
                               },
                               {},
                               0},
                      DrawCase{"empty rectangle fills nothing",
                               [](TCanvas& c) {
                                   c.FillRect({5, 5, 5, 9});
                               },
                               {},
                               0},
                      DrawCase{"rectangle: outline on the outermost pixels, inside filled",
                               [](TCanvas& c) { c.Rectangle(2, 2, 10, 6); },
                               {2, 2, 10, 6},
                               32},
                      DrawCase{"frame rect is one pixel wide",
                               [](TCanvas& c) {
                                   c.FrameRect({2, 2, 10, 6}, clBlack);
                               },
                               {2, 2, 10, 6},
                               20},
                      DrawCase{"horizontal line leaves out its end point",
                               [](TCanvas& c) {
                                   c.MoveTo(1, 1);
                                   c.LineTo(6, 1);
                               },
                               {1, 1, 6, 2},
                               5},
                      DrawCase{"diagonal line leaves out its end point",
                               [](TCanvas& c) {
                                   c.MoveTo(0, 0);
                                   c.LineTo(4, 4);
                               },
                               {0, 0, 4, 4},
                               4},
                      DrawCase{"polyline joins its points",
                               [](TCanvas& c) {
                                   const TPoint pts[] = {{1, 1}, {5, 1}, {5, 5}};
                                   c.Polyline(pts);
                               },
                               {1, 1, 6, 5},
                               8},
                      DrawCase{"raised edge: two bands round the rectangle",
                               [](TCanvas& c) {
                                   TRect r{0, 0, 10, 10};
                                   c.DrawEdge(r, edgeRaised, bfRect);
                               },
                               {0, 0, 10, 10},
                               36 + 28},
                      DrawCase{"edge on the left and top only",
                               [](TCanvas& c) {
                                   TRect r{0, 0, 10, 10};
                                   c.DrawEdge(r, bdrSunkenOuter, bfLeft | bfTop);
                               },
                               {0, 0, 10, 10},
                               19},
                      DrawCase{"plain copy is clipped at the edges",
                               [](TCanvas& c) { c.Draw(-1, 19, twoByTwo()); },
                               {0, 19, 1, 20},
                               1},
                      DrawCase{"stretch copies every source pixel into a block",
                               [](TCanvas& c) {
                                   c.SetStretchMode(smColorOnColor);
                                   c.StretchDraw({3, 4, 7, 10}, twoByTwo());
                               },
                               {3, 4, 7, 10},
                               24},
                      DrawCase{"an empty bitmap draws nothing",
                               [](TCanvas& c) {
                                   TBitmap empty;
                                   c.Draw(0, 0, empty);
                                   c.StretchDraw({0, 0, 10, 10}, empty);
                               },
                               {},
                               0},
                      DrawCase{"stretch into an empty rectangle draws nothing",
                               [](TCanvas& c) {
                                   c.StretchDraw({3, 3, 3, 10}, twoByTwo());
                               },
                               {},
                               0},
                      DrawCase{"a painter of one operation keeps the clip",
                               [](TCanvas& c) {
                                   c.SetClipRect({0, 0, 3, 3});
                                   c.WithPainter(
                                       [](QPainter& p) { p.fillRect(1, 1, 10, 10, Qt::black); });
                               },
                               {1, 1, 3, 3},
                               4},
                      DrawCase{"clip rectangle limits every later operation",
                               [](TCanvas& c) {
                                   c.SetClipRect({0, 0, 4, 4});
                                   c.FillRect({2, 2, 10, 10});
                               },
                               {2, 2, 4, 4},
                               4}));

TEST(CanvasEdges, UseTheThreeDimensionalSystemColours) {
    TBitmap b(10, 10, clWhite);
    TRect r{0, 0, 10, 10};
    b.Canvas().DrawEdge(r, edgeRaised, bfRect | bfAdjust);
    EXPECT_EQ(b.Pixel(0, 5), ColorToRGB(cl3DLight));
    EXPECT_EQ(b.Pixel(9, 5), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(b.Pixel(1, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(b.Pixel(8, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(b.Pixel(9, 0), ColorToRGB(cl3DDkShadow));  // dark owns the far corners
    EXPECT_EQ(r, (TRect{2, 2, 8, 8}));
}

TEST(CanvasText, TextOutPutsTheCellTopLeftAtThePoint) {
    TBitmap b(100, 40, clWhite);
    TCanvas& c = b.Canvas();
    c.Font().SetFontHeight(-14);
    c.TextOut(10, 5, "WH");
    Ink ink = inkOf(b);
    ASSERT_GT(ink.count, 0);
    const TSize ext = c.TextExtent("WH");
    EXPECT_GE(ink.box.Left, 10);
    EXPECT_GE(ink.box.Top, 5);
    EXPECT_LE(ink.box.Right, 10 + ext.cx + 1);
    EXPECT_LE(ink.box.Bottom, 5 + ext.cy);
}

TEST(CanvasText, DrawTextCentresASingleLineInItsRectangle) {
    TBitmap b(200, 40, clWhite);
    TCanvas& c = b.Canvas();
    c.Font().SetFontHeight(-12);
    TRect r{0, 0, 200, 40};
    c.DrawText("vs UTG", r, dtCenter | dtVCenter | dtSingleLine);
    Ink ink = inkOf(b);
    ASSERT_GT(ink.count, 0);
    EXPECT_NEAR((ink.box.Left + ink.box.Right) / 2.0, 100.0, 3.0);
    EXPECT_NEAR((ink.box.Top + ink.box.Bottom) / 2.0, 20.0, 4.0);

    TRect calc{5, 5, 5, 5};
    c.DrawText("vs UTG", calc, dtCalcRect | dtSingleLine);
    EXPECT_EQ(calc.Width(), c.TextExtent("vs UTG").cx);
    EXPECT_EQ(calc.Height(), c.TextExtent("vs UTG").cy);
}

TEST(CanvasText, DrawTextIsClippedToItsRectangle) {
    TBitmap b(100, 40, clWhite);
    TCanvas& c = b.Canvas();
    c.Font().SetFontHeight(-20);
    TRect r{10, 10, 20, 20};
    c.DrawText("WWWWWW", r, dtLeft | dtSingleLine);
    Ink ink = inkOf(b);
    ASSERT_GT(ink.count, 0);
    EXPECT_GE(ink.box.Left, 10);
    EXPECT_LE(ink.box.Right, 20);
    EXPECT_LE(ink.box.Bottom, 20);
}

// ----- stretch modes

QImage noise(int w, int h, unsigned seed) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(rng() & 255, rng() & 255, rng() & 255));
    return img;
}

// The reference: each target pixel is the average of the source area it
// covers, partial pixels weighted by the part covered.
QColor boxAverage(const QImage& src, int tx, int ty, int tw, int th) {
    const double sx = double(src.width()) / tw, sy = double(src.height()) / th;
    const double x0 = tx * sx, x1 = (tx + 1) * sx, y0 = ty * sy, y1 = (ty + 1) * sy;
    double r = 0, g = 0, b = 0, area = 0;
    for (int y = int(y0); y < int(std::ceil(y1)); ++y) {
        const double wy = std::min(y1, y + 1.0) - std::max(y0, double(y));
        for (int x = int(x0); x < int(std::ceil(x1)); ++x) {
            const double wx = std::min(x1, x + 1.0) - std::max(x0, double(x));
            const QRgb p = src.pixel(x, y);
            r += qRed(p) * wx * wy;
            g += qGreen(p) * wx * wy;
            b += qBlue(p) * wx * wy;
            area += wx * wy;
        }
    }
    return QColor(int(std::lround(r / area)), int(std::lround(g / area)),
                  int(std::lround(b / area)));
}

struct ShrinkCase {
    int sw, sh, tw, th, tolerance;
};
class Halftone : public ::testing::TestWithParam<ShrinkCase> {};

TEST_P(Halftone, ShrinkingAveragesTheCoveredSourcePixels) {
    const ShrinkCase k = GetParam();
    const QImage src = noise(k.sw, k.sh, 7);
    const QImage out = StretchImage(src, k.tw, k.th, smHalftone);
    ASSERT_EQ(out.size(), QSize(k.tw, k.th));
    int worst = 0;
    for (int y = 0; y < k.th; ++y)
        for (int x = 0; x < k.tw; ++x) {
            const QColor want = boxAverage(src, x, y, k.tw, k.th);
            const QColor got(out.pixel(x, y));
            worst = std::max({worst, std::abs(got.red() - want.red()),
                              std::abs(got.green() - want.green()),
                              std::abs(got.blue() - want.blue())});
        }
    EXPECT_LE(worst, k.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Widgets, Halftone,
                         ::testing::Values(ShrinkCase{40, 40, 10, 10, 1},
                                           ShrinkCase{64, 32, 8, 16, 1},
                                           ShrinkCase{200, 200, 30, 30, 4},
                                           ShrinkCase{2000, 2000, 300, 300, 4}));

TEST(StretchModes, HalftoneAndNearestReallyDiffer) {
    // One-pixel black and white stripes: averaging gives grey, the nearest
    // pixel gives pure black or white.
    QImage stripes(64, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x)
            stripes.setPixel(x, y, (x % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    TBitmap src;
    src.AssignImage(stripes);
    TBitmap soft(16, 8), hard(16, 8);
    soft.Canvas().SetStretchMode(smHalftone);
    soft.Canvas().StretchDraw({0, 0, 16, 8}, src);
    hard.Canvas().SetStretchMode(smColorOnColor);
    hard.Canvas().StretchDraw({0, 0, 16, 8}, src);
    for (int x = 0; x < 16; ++x) {
        const TColor s = soft.Pixel(x, 4), h = hard.Pixel(x, 4);
        EXPECT_NEAR(RedOf(s), 128, 2) << x;
        EXPECT_TRUE(h == clBlack || h == clWhite) << x;
    }
}

TEST(StretchModes, StretchDrawOverhangingTheSurfaceIsClipped) {
    // A target that overhangs on two sides (the "fill" picture mode).
    TBitmap src(2, 1, clBlack);
    src.SetPixel(1, 0, kRed);
    TBitmap dst(10, 10, clWhite);
    dst.Canvas().StretchDraw({-10, 0, 20, 10}, src);
    EXPECT_EQ(dst.Pixel(0, 5), clBlack);
    EXPECT_EQ(dst.Pixel(4, 5), clBlack);
    EXPECT_EQ(dst.Pixel(5, 5), kRed);
    EXPECT_EQ(dst.Pixel(9, 5), kRed);
}

TEST(StretchModes, OnATwiceDenseSurfaceEveryPixelOfThePictureIsKept) {
    // A 200 % surface: 8 x 8 device pixels for 4 x 4 logical ones. A picture
    // of 8 x 8 stretched over the 4 x 4 rectangle lands pixel for pixel, in
    // either mode; halved first and doubled, every pixel would come twice.
    QImage picture(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) picture.setPixel(x, y, qRgb(x * 30, y * 30, 200));
    for (TStretchMode mode : {smHalftone, smColorOnColor}) {
        QImage surface(8, 8, QImage::Format_RGB32);
        surface.setDevicePixelRatio(2);
        surface.fill(Qt::white);
        {
            QPainter painter(&surface);
            TCanvas canvas;
            canvas.BindPainter(&painter);
            EXPECT_EQ(canvas.DeviceRatio(), 2.0);
            canvas.SetStretchMode(mode);
            canvas.StretchDrawImage({0, 0, 4, 4}, picture);
        }
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(surface.pixel(x, y), picture.pixel(x, y)) << x << "," << y;
    }
}

// ----- fonts

struct FontCase {
    int points, dpi, height;
};
class FontHeight : public ::testing::TestWithParam<FontCase> {};

TEST_P(FontHeight, IsMinusPointsTimesDpiPlus36Over72Truncated) {
    const FontCase k = GetParam();
    EXPECT_EQ(FontHeightForSize(k.points, k.dpi), k.height);
}

INSTANTIATE_TEST_SUITE_P(Widgets, FontHeight,
                         ::testing::Values(FontCase{8, 96, -11}, FontCase{8, 120, -13},
                                           FontCase{9, 96, -12}, FontCase{10, 96, -13},
                                           FontCase{12, 96, -16}, FontCase{8, 144, -16},
                                           FontCase{0, 96, 0}, FontCase{1, 96, -1}));

TEST(Fonts, SizeUsesTheCachedScreenDpiAndBecomesAPixelHeight) {
    SetScreenLogicalDpiForTesting(120);
    TGraphicTool f(TGraphicToolKind::Font);
    f.SetFontName("Tahoma");
    f.SetFontSize(8);
    f.SetFontStyle(fsBold | fsUnderline);
    EXPECT_EQ(f.FontHeight(), -13);
    const QFont q = f.ToQFont();
    EXPECT_EQ(q.pixelSize(), 13);
    EXPECT_TRUE(q.bold());
    EXPECT_TRUE(q.underline());
    EXPECT_FALSE(q.italic());
    SetScreenLogicalDpiForTesting(0);
    EXPECT_GT(ScreenLogicalDpi(), 0);
}

TEST(Fonts, AChangeNotifiesTheOwner) {
    TGraphicTool f(TGraphicToolKind::Font);
    int changes = 0;
    f.OnChange = [&] { ++changes; };
    f.SetColor(kRed);
    f.SetFontStyle(fsItalic);
    f.SetColor(kRed);  // same colour: nothing to do
    EXPECT_EQ(changes, 2);
}

TEST(Fonts, SettingWhatTheFontAlreadyHasIsNoChange) {
    TGraphicTool f(TGraphicToolKind::Font);
    f.SetFontName("Tahoma");
    f.SetFontSize(8);
    f.SetFontStyle(fsBold);
    f.SetFontCharset(204);
    int changes = 0;
    f.OnChange = [&] { ++changes; };
    f.SetFontName("Tahoma");
    f.SetFontSize(8);
    f.SetFontStyle(fsBold | 0xF0);  // only the four style bits count
    f.SetFontCharset(204);
    f.SetFontHeight(f.FontHeight());
    EXPECT_EQ(changes, 0);
    f.SetFontName("Arial");
    f.SetFontSize(9);
    f.SetFontHeight(-20);
    f.SetFontStyle(fsItalic);
    f.SetFontCharset(1);
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(f.FontName().str(), "Arial");
    EXPECT_EQ(f.FontHeight(), -20);
    // A size equal to the current one still counts when the height differs.
    f.SetFontSize(9);
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(f.FontHeight(), FontHeightForSize(9));
}

TEST(Colors, SystemColoursResolveThroughThePaletteAndRgbStaysAsItIs) {
    EXPECT_EQ(ColorToRGB(RGBColor(1, 2, 3)), RGBColor(1, 2, 3));
    const QColor face = QGuiApplication::palette().color(QPalette::Button);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(face.red(), face.green(), face.blue()));
    EXPECT_EQ(ToQColor(RGBColor(221, 0, 22)), QColor(221, 0, 22));
}

// ----- bitmaps

TEST(Bitmap, CopiesAreDeepAndEmptyMeansZeroInADimension) {
    TBitmap a(3, 2, kRed);
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    b.Assign(a);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Height(), 2);
    a.SetPixel(0, 0, clBlack);
    EXPECT_EQ(b.Pixel(0, 0), kRed);
    // Drawing through either canvas leaves the other picture as it was.
    b.Canvas().FillRect(TRect{0, 0, 3, 2}, RGBColor(0, 255, 0));
    EXPECT_EQ(a.Pixel(1, 1), kRed);
    TBitmap c;
    c.Assign(b);
    c.Canvas().FillRect(TRect{0, 0, 1, 1}, RGBColor(0, 0, 255));
    EXPECT_EQ(b.Pixel(0, 0), RGBColor(0, 255, 0));
    EXPECT_EQ(c.Pixel(0, 0), RGBColor(0, 0, 255));
    a.SetSize(0, 5);
    EXPECT_TRUE(a.Empty());
    b.Assign(a);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Pixel(0, 0), clNone);
}

TEST(Bitmap, ResizingKeepsTheOldContentAtTheTopLeft) {
    TBitmap a(2, 2, kRed);
    a.SetSize(4, 3);
    EXPECT_EQ(a.Pixel(1, 1), kRed);
    EXPECT_EQ(a.Pixel(3, 2), clWhite);
    a.SetWidth(1);
    EXPECT_EQ(a.Width(), 1);
    EXPECT_EQ(a.Height(), 3);
}

TEST(Bitmap, TransparentPicturesAreFlattenedOntoWhite) {
    QImage img(2, 1, QImage::Format_ARGB32);
    img.setPixel(0, 0, qRgba(0, 0, 0, 0));
    img.setPixel(1, 0, qRgba(0, 0, 255, 255));
    TBitmap b;
    b.AssignImage(img);
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(1, 0), RGBColor(0, 0, 255));
}

TEST(Icon, DrawsAtItsSizeOrTheSizeGiven) {
    QImage pic(16, 16, QImage::Format_ARGB32);
    pic.fill(QColor(0, 128, 0));
    TIcon icon;
    EXPECT_TRUE(icon.Empty());
    icon.SetImage(pic);
    icon.SetSize(16);
    TBitmap b(40, 40, clWhite);
    b.Canvas().DrawIcon(2, 3, icon);
    EXPECT_EQ(inkOf(b).box, (TRect{2, 3, 18, 19}));
    TBitmap c(40, 40, clWhite);
    icon.Draw(c.Canvas(), 0, 0, 32, 8);
    EXPECT_EQ(inkOf(c).box, (TRect{0, 0, 32, 8}));
}

}  // namespace
