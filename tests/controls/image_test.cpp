#include "tabulo/controls/image.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <memory>

#include "support/controls_test.h"
#include "tabulo_test/probe.h"

namespace {
constexpr TColor Back = RGBColor(10, 20, 30);
constexpr TColor Red = RGBColor(220, 0, 0);
constexpr TColor Marker = RGBColor(0, 200, 0);

struct ImageFixture : ::testing::Test {
    HostWindow host{700, 700};
    std::unique_ptr<TKVImage> image;

    TKVImage* Make(int w, int h, int mode, bool smooth = false) {
        image = std::make_unique<TKVImage>(host.Control());
        image->Left = 0;
        image->Top = 0;
        image->Width = w;
        image->Height = h;
        image->Color = Back;
        image->SetSmooth(smooth);
        image->SetMode(mode);
        image->Init();
        return image.get();
    }
    void Load(const TBitmap& bmp) {
        TData d;
        MakeBitmap(d, const_cast<TBitmap*>(&bmp));
        image->doLoad(d, 0);
    }
    static std::unique_ptr<TBitmap> Picture(int w, int h) {
        auto b = std::make_unique<TBitmap>(w, h, Red);
        b->SetPixel(0, 0, Marker);
        return b;
    }
};

TEST_F(ImageFixture, CentreDrawsAtNaturalSizeAndFillsTheBands) {
    Make(467, 467, 0);
    Load(*Picture(200, 100));
    const QImage img = Grab(image->Control);
    EXPECT_EQ(Rgb(img, 133, 183), RgbOf(Marker));
    EXPECT_EQ(Rgb(img, 332, 282), RgbOf(Red));
    for (auto [x, y] : {std::pair{132, 183},
                        {133, 182},
                        {333, 282},
                        {332, 283},
                        {0, 0},
                        {466, 466},
                        {0, 250},
                        {400, 200}})
        EXPECT_EQ(Rgb(img, x, y), RgbOf(Back)) << x << "," << y;
}

TEST_F(ImageFixture, FitKeepsProportionsWithBandsAboveAndBelow) {
    Make(467, 467, 2);
    Load(TBitmap(200, 100, Red));
    const QImage img = Grab(image->Control);
    EXPECT_EQ(Rgb(img, 0, 116), RgbOf(Back));
    EXPECT_EQ(Rgb(img, 0, 117), RgbOf(Red));
    EXPECT_EQ(Rgb(img, 466, 349), RgbOf(Red));
    EXPECT_EQ(Rgb(img, 466, 350), RgbOf(Back));
}

TEST_F(ImageFixture, FillCoversTheAreaAndCutsBothSides) {
    Make(467, 467, 5);
    TBitmap b(200, 100, Red);
    b.Canvas().FillRect(MakeRect(0, 0, 100, 100), Marker);  // left half green
    Load(b);
    const QImage img = Grab(image->Control);
    // The picture is 935 wide from -234: the halves meet near x = 233.
    for (int x : {0, 100, 230}) EXPECT_EQ(Rgb(img, x, 200), RgbOf(Marker)) << x;
    for (int x : {237, 400, 466}) EXPECT_EQ(Rgb(img, x, 200), RgbOf(Red)) << x;
    EXPECT_EQ(Rgb(img, 0, 0), RgbOf(Marker));
    EXPECT_EQ(Rgb(img, 466, 466), RgbOf(Red));
}

TEST_F(ImageFixture, TileRepeatsThePictureIntoTheCutRowAndColumn) {
    Make(250, 250, 3);
    Load(*Picture(100, 100));
    const QImage img = Grab(image->Control);
    for (int x : {0, 100, 200})
        for (int y : {0, 100, 200}) EXPECT_EQ(Rgb(img, x, y), RgbOf(Marker)) << x << "," << y;
    EXPECT_EQ(Rgb(img, 249, 249), RgbOf(Red));
}

TEST_F(ImageFixture, TileOfATinyPictureCoversTheArea) {
    Make(300, 200, 3);
    TBitmap b(2, 1, Red);
    b.SetPixel(0, 0, Marker);
    Load(b);
    const QImage img = Grab(image->Control);
    EXPECT_EQ(Rgb(img, 0, 0), RgbOf(Marker));
    EXPECT_EQ(Rgb(img, 1, 0), RgbOf(Red));
    EXPECT_EQ(Rgb(img, 298, 199), RgbOf(Marker));
    EXPECT_EQ(Rgb(img, 299, 199), RgbOf(Red));
}

TEST_F(ImageFixture, FillOfAVeryThinPictureScalesOnlyTheVisiblePart) {
    // 20000 x 1 in 300 x 300: the picture would be 6,000,000 pixels wide.
    Make(300, 300, 5);
    TBitmap b(20000, 1, Red);
    b.Canvas().FillRect(MakeRect(10000, 0, 20000, 1), Marker);
    Load(b);
    const QImage img = Grab(image->Control);
    // The visible middle of the picture: left half red, right half green.
    EXPECT_EQ(Rgb(img, 100, 150), RgbOf(Red));
    EXPECT_EQ(Rgb(img, 200, 150), RgbOf(Marker));
    EXPECT_EQ(Rgb(img, 0, 0), RgbOf(Red));
    EXPECT_EQ(Rgb(img, 299, 299), RgbOf(Marker));
    // Smooth scaling takes the same path.
    image->SetSmooth(true);
    TData five = MakeInt(5);
    image->doMode(five, 4);
    const QImage smooth = Grab(image->Control);
    EXPECT_GT(qRed(smooth.pixel(0, 0)), 200);
    EXPECT_LT(qGreen(smooth.pixel(0, 0)), 20);
    EXPECT_LT(qRed(smooth.pixel(299, 299)), 20);
    EXPECT_GT(qGreen(smooth.pixel(299, 299)), 180);
}

TEST_F(ImageFixture, TopLeftFillsRightAndBelow) {
    Make(300, 200, 4);
    Load(*Picture(100, 50));
    const QImage img = Grab(image->Control);
    EXPECT_EQ(Rgb(img, 0, 0), RgbOf(Marker));
    EXPECT_EQ(Rgb(img, 99, 49), RgbOf(Red));
    EXPECT_EQ(Rgb(img, 100, 0), RgbOf(Back));
    EXPECT_EQ(Rgb(img, 0, 50), RgbOf(Back));
    EXPECT_EQ(Rgb(img, 299, 199), RgbOf(Back));
}

TEST_F(ImageFixture, EmptyPictureShowsTheBackground) {
    Make(50, 40, 1);
    const QImage img = Grab(image->Control);
    EXPECT_EQ(Rgb(img, 0, 0), RgbOf(Back));
    EXPECT_EQ(Rgb(img, 49, 39), RgbOf(Back));
}

TEST_F(ImageFixture, LoadTakesACopyAndClearEmptiesIt) {
    Make(100, 100, 1);
    auto source = Picture(10, 10);
    Load(*source);
    source->SetPixel(0, 0, Red);
    EXPECT_EQ(image->Bitmap->Pixel(0, 0), Marker);
    TData none;
    image->doLoad(none, 0);  // no bitmap in the value: nothing changes
    EXPECT_EQ(image->Bitmap->Width(), 10);
    image->doClear(none, 1);
    EXPECT_TRUE(image->Bitmap->Empty());
    EXPECT_EQ(Rgb(Grab(image->Control), 50, 50), RgbOf(Back));
}

TEST_F(ImageFixture, AutoSizeSetsTheClientSizeToThePicture) {
    Make(100, 100, 0);
    image->AutoSize = true;
    Load(TBitmap(300, 200, Red));
    EXPECT_EQ(image->Control->ClientWidth(), 300);
    EXPECT_EQ(image->Control->ClientHeight(), 200);
}

TEST_F(ImageFixture, AlignmentAppliesAfterAutoSize) {
    Make(100, 100, 0);
    image->AutoSize = true;
    image->Control->SetAlign(caClient);
    Load(TBitmap(300, 200, Red));
    EXPECT_EQ(image->Control->Width(), host.Control()->ClientWidth());
    EXPECT_EQ(image->Control->Height(), host.Control()->ClientHeight());
}

struct PaintCounter {
    int Paints = 0;
    TMessageHook previous;
    TControl* control;
    explicit PaintCounter(TControl* c) : control(c) {
        previous = c->SetMessageHook([this](TControl& s, TMsg& m) {
            if (m.Message == msgPaint) ++Paints;
            return PassMessage(previous, s, m);
        });
    }
    ~PaintCounter() { control->SetMessageHook(previous); }
};

TEST_F(ImageFixture, ClearOnEmptyDoesNotRepaintAndAnUnknownModeRepaintsKeepingTheMode) {
    Make(100, 100, 1);
    host.Show();
    PaintCounter counter(image->Control);
    Pump();
    counter.Paints = 0;
    TData v;
    image->doClear(v, 1);
    Pump();
    EXPECT_EQ(counter.Paints, 0);

    Load(*Picture(10, 10));
    Pump();
    EXPECT_GT(counter.Paints, 0);
    counter.Paints = 0;
    TData seven = MakeInt(7);
    image->doMode(seven, 4);
    Pump();
    EXPECT_GT(counter.Paints, 0);
    EXPECT_EQ(image->Mode(), 1);
    TData two = MakeInt(2);
    image->doMode(two, 4);
    EXPECT_EQ(image->Mode(), 2);
}

TEST_F(ImageFixture, ClickFiresOnClick) {
    LiveHooks hooks;
    Probe probe;
    Make(100, 100, 1);
    image->onClick = probe.Link();
    host.Show();
    QWidget* w = image->Control->Widget();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
    ASSERT_EQ(probe.Count(), 1u);
    EXPECT_EQ(probe.Last().Tag, dtNull);
}

// ---- smooth scaling ---------------------------------------------------------

// A chart of 1-pixel lines and small labels, as the range charts are.
QImage Chart(int size) {
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const int cell = size / 13;
    for (int r = 0; r < 13; ++r)
        for (int c = 0; c < 13; ++c)
            if ((r * 7 + c * 3) % 5 < 2)
                p.fillRect(c * cell + 1, r * cell + 1, cell - 1, cell - 1, QColor(221, 0, 22));
    p.setPen(Qt::black);
    for (int i = 0; i <= 13; ++i) {
        p.drawLine(i * cell, 0, i * cell, size - 1);
        p.drawLine(0, i * cell, size - 1, i * cell);
    }
    QFont f;
    f.setPixelSize(cell / 4);
    p.setFont(f);
    for (int r = 0; r < 13; ++r)
        for (int c = 0; c < 13; ++c) p.drawText(c * cell + 4, r * cell + cell / 2, "AKs");
    return img;
}

// Area-weighted average of the source pixels under each target pixel.
QImage BoxFilter(const QImage& src, int w, int h) {
    QImage out(w, h, QImage::Format_RGB32);
    const double sx = double(src.width()) / w, sy = double(src.height()) / h;
    for (int y = 0; y < h; ++y) {
        const double y0 = y * sy, y1 = y0 + sy;
        for (int x = 0; x < w; ++x) {
            const double x0 = x * sx, x1 = x0 + sx;
            double acc[3] = {0, 0, 0}, area = 0;
            for (int j = int(y0); j < int(std::ceil(y1)) && j < src.height(); ++j) {
                const double wy = std::min(y1, j + 1.0) - std::max(y0, double(j));
                const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(j));
                for (int i = int(x0); i < int(std::ceil(x1)) && i < src.width(); ++i) {
                    const double wgt = wy * (std::min(x1, i + 1.0) - std::max(x0, double(i)));
                    acc[0] += wgt * qRed(line[i]);
                    acc[1] += wgt * qGreen(line[i]);
                    acc[2] += wgt * qBlue(line[i]);
                    area += wgt;
                }
            }
            out.setPixel(
                x, y,
                qRgb(int(acc[0] / area + 0.5), int(acc[1] / area + 0.5), int(acc[2] / area + 0.5)));
        }
    }
    return out;
}

double Psnr(const QImage& a, const QImage& b) {
    double se = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                se += double(d) * d;
        }
    const double mse = se / (3.0 * a.width() * a.height());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

TEST_F(ImageFixture, SmoothShrinkOfALargeChartMatchesAnAreaAverage) {
    TBitmap chart;
    chart.AssignImage(Chart(2000));
    const QImage reference = BoxFilter(chart.Image(), 282, 330);

    Make(282, 330, 1, true);
    Load(chart);
    const double smooth = Psnr(Grab(image->Control), reference);
    EXPECT_GE(smooth, 30.0);

    // The comparison tells the two scalings apart.
    image->SetSmooth(false);
    TData one = MakeInt(1);
    image->doMode(one, 4);
    const double nearest = Psnr(Grab(image->Control), reference);
    EXPECT_LT(nearest, smooth - 5.0);
}

TEST_F(ImageFixture, ScaledPicturesKeptNeverShowAnOlderPicture) {
    Make(100, 100, 1, true);
    TBitmap a(10, 10, Red);
    TBitmap b(10, 10, Marker);
    Load(a);
    EXPECT_EQ(Rgb(Grab(image->Control), 50, 50), RgbOf(Red));
    Load(b);
    EXPECT_EQ(Rgb(Grab(image->Control), 50, 50), RgbOf(Marker));
    Load(a);  // shown before at this size
    EXPECT_EQ(Rgb(Grab(image->Control), 50, 50), RgbOf(Red));
    // The same bitmap, drawn on since, shows what it holds now.
    a.Canvas().FillRect(MakeRect(0, 0, 10, 10), Marker);
    Load(a);
    EXPECT_EQ(Rgb(Grab(image->Control), 50, 50), RgbOf(Marker));
    // Scaled pictures are kept within the budget, the latest whatever its size.
    EXPECT_GE(image->ScaledKept(), 2);
    TBitmap large(2000, 1000, Red);
    Load(large);
    image->Control->SetSize(1000, 1000);
    EXPECT_EQ(Rgb(Grab(image->Control), 500, 500), RgbOf(Red));
    EXPECT_EQ(image->ScaledKept(), 1);
}

TEST_F(ImageFixture, RepaintAfterResizeScalesToTheNewSize) {
    Make(100, 100, 1, true);
    TBitmap b(10, 10, Red);
    b.Canvas().FillRect(MakeRect(5, 0, 10, 10), Marker);
    Load(b);
    EXPECT_EQ(Rgb(Grab(image->Control), 90, 50), RgbOf(Marker));
    image->Control->SetSize(200, 100);
    const QImage img = Grab(image->Control);
    EXPECT_EQ(Rgb(img, 190, 50), RgbOf(Marker));
    EXPECT_EQ(Rgb(img, 10, 50), RgbOf(Red));
}
}  // namespace
