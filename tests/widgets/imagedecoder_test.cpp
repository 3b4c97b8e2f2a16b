// ImageDecoder: formats, damaged files, and the asynchronous completion
// contract (after Load returns, only for the live decoder, at most once).
#include "tabulo/widgets/imagedecoder.h"
#include "tabulo/widgets/imagebytes.h"
#include "tabulo/widgets/pngreader.h"

#include "tabulo/widgets/bitmap.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Readable sizes in failure messages.
void PrintTo(const QSize& s, std::ostream* os) {
    *os << s.width() << " x " << s.height();
}

namespace {

// ------------------------------------------------------------ test pictures

// A picture with distinct colours per quadrant plus a diagonal, so that
// offsets and scaling show in the pixels.
QImage Pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            QRgb c = (x < w / 2) ? (y < h / 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                 : (y < h / 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 0));
            if (x == y) c = qRgb(0, 0, 0);
            image.setPixel(x, y, c);
        }
    return image;
}

uint32_t Crc32(const QByteArray& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (char ch : data) {
        crc ^= static_cast<uint8_t>(ch);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void AppendBigEndian(QByteArray& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.append(static_cast<char>((v >> shift) & 0xFF));
}

// A PNG of 8-bit samples of the given colour type with the header's size and
// the zlib stream as its one data chunk.
QByteArray Png(uint32_t w, uint32_t h, char colourType, const QByteArray& stream) {
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    auto chunk = [&png](const char* type, const QByteArray& data) {
        AppendBigEndian(png, static_cast<uint32_t>(data.size()));
        QByteArray body(type, 4);
        body += data;
        png += body;
        AppendBigEndian(png, Crc32(body));
    };
    QByteArray ihdr;
    AppendBigEndian(ihdr, w);
    AppendBigEndian(ihdr, h);
    ihdr += '\x08';
    ihdr += colourType;
    ihdr += QByteArray("\x00\x00\x00", 3);
    chunk("IHDR", ihdr);
    chunk("IDAT", stream);
    chunk("IEND", QByteArray());
    return png;
}

// A PNG whose (valid, checksummed) header claims the given size, followed by
// a tiny data chunk and the end chunk.
QByteArray PngClaiming(uint32_t w, uint32_t h) {
    return Png(w, h, 6, QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8));  // RGBA
}

// The picture as an RGB or RGBA PNG whose rows take the five row filters in
// turn (none, sub, up, average, Paeth), each with the predictor the PNG
// format gives it.
QByteArray PngWithEveryFilter(const QImage& image, bool alpha) {
    const int bpp = alpha ? 4 : 3;
    const int length = image.width() * bpp;
    std::vector<int> prior(static_cast<std::size_t>(length), 0);
    std::vector<int> row(static_cast<std::size_t>(length));
    QByteArray filtered;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int channels[4] = {qRed(c), qGreen(c), qBlue(c), qAlpha(c)};
            for (int k = 0; k < bpp; ++k) row[std::size_t(x * bpp + k)] = channels[k];
        }
        const int filter = y % 5;
        filtered += char(filter);
        for (int i = 0; i < length; ++i) {
            const int a = i >= bpp ? row[std::size_t(i - bpp)] : 0;
            const int b = prior[std::size_t(i)];
            const int c = i >= bpp ? prior[std::size_t(i - bpp)] : 0;
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b),
                      pc = std::abs(p - c);
            const int paeth = pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
            const int predicted[5] = {0, a, b, (a + b) / 2, paeth};
            filtered += char((row[std::size_t(i)] - predicted[filter]) & 0xff);
        }
        prior = row;
    }
    // qCompress puts the length in front of the zlib stream.
    return Png(uint32_t(image.width()), uint32_t(image.height()), alpha ? 6 : 2,
               qCompress(filtered).mid(4));
}

// A GIF with a 4-colour palette. The LZW stream sends a clear code after
// every two pixels, so every code stays 3 bits wide.
QByteArray Gif(const std::vector<uint8_t>& pixels, int w, int h, const QRgb palette[4],
               int screenW = -1, int screenH = -1) {
    QByteArray gif("GIF89a");
    auto word = [&gif](int v) {
        gif.append(static_cast<char>(v & 0xFF));
        gif.append(static_cast<char>((v >> 8) & 0xFF));
    };
    word(screenW < 0 ? w : screenW);
    word(screenH < 0 ? h : screenH);
    gif.append('\x81');  // global palette of 4 entries
    gif.append('\0');
    gif.append('\0');
    for (int i = 0; i < 4; ++i) {
        gif.append(static_cast<char>(qRed(palette[i])));
        gif.append(static_cast<char>(qGreen(palette[i])));
        gif.append(static_cast<char>(qBlue(palette[i])));
    }
    gif.append(',');
    word(0);
    word(0);
    word(w);
    word(h);
    gif.append('\0');
    gif.append('\x02');  // minimum code size
    std::vector<uint8_t> bytes;
    uint32_t acc = 0;
    int bits = 0;
    auto put = [&](uint32_t code) {
        acc |= code << bits;
        bits += 3;
        while (bits >= 8) {
            bytes.push_back(static_cast<uint8_t>(acc & 0xFF));
            acc >>= 8;
            bits -= 8;
        }
    };
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i % 2 == 0) put(4);  // clear
        put(pixels[i]);
    }
    put(5);  // end of information
    if (bits > 0) bytes.push_back(static_cast<uint8_t>(acc & 0xFF));
    for (std::size_t i = 0; i < bytes.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, bytes.size() - i);
        gif.append(static_cast<char>(n));
        gif.append(reinterpret_cast<const char*>(bytes.data() + i), static_cast<qsizetype>(n));
    }
    gif.append('\0');
    gif.append(';');
    return gif;
}

class Pictures {
public:
    Pictures() {
        const QImage pattern = Pattern(40, 30);
        pattern.save(path("p.png"), "PNG");
        pattern.save(path("p.jpg"), "JPEG", 95);
        Pattern(40, 30).mirrored(true, false).save(path("other.png"), "PNG");
        const QRgb palette[4] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255),
                                 qRgb(255, 255, 255)};
        std::vector<uint8_t> pixels;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) pixels.push_back(static_cast<uint8_t>((x / 2) % 4));
        write("p.gif", Gif(pixels, 8, 6, palette));
        // A small frame on a logical screen of 65535 x 65535.
        write("huge.gif", Gif(pixels, 8, 6, palette, 65535, 65535));

        QFile png(path("p.png"));
        png.open(QIODevice::ReadOnly);
        const QByteArray bytes = png.readAll();
        write("truncated.png", bytes.left(bytes.size() / 2));
        write("empty.png", QByteArray());
        QByteArray noise;
        for (int i = 0; i < 4096; ++i) noise.append(static_cast<char>((i * 7919) % 251));
        write("corrupt.png", noise);
        QByteArray damaged = bytes;
        for (qsizetype i = 60; i < damaged.size() - 20; i += 3) damaged[i] = '\x55';
        write("damaged.png", damaged);
        write("huge.png", PngClaiming(100000, 100000));
        write("wide.png", PngClaiming(40000, 1));
        // A valid picture, cheap to decode, but wider than any bitmap can be.
        QImage wide(MaxDecodedSide + 1, 1, QImage::Format_RGB32);
        wide.fill(Qt::white);
        wide.save(path("wide_valid.png"), "PNG");
        QImage edge(MaxDecodedSide, 1, QImage::Format_RGB32);
        edge.fill(Qt::white);
        edge.save(path("edge.png"), "PNG");
    }
    std::string file(const char* name) const { return path(name).toStdString(); }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

private:
    void write(const char* name, const QByteArray& bytes) {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    QTemporaryDir dir_;
};

const Pictures& Files() {
    static Pictures pictures;
    return pictures;
}

// ------------------------------------------------------------ helpers

struct Completion {
    int calls = 0;
    ImageDecoder* decoder = nullptr;
    static void Record(ImageDecoder* d, void* data) {
        auto* c = static_cast<Completion*>(data);
        ++c->calls;
        c->decoder = d;
    }
};

// Waits (without running the event loop) until every decode thread has
// finished and posted what it had.
void WaitForDecodeThreads() {
    QDeadlineTimer deadline(10000);
    while (ImageDecoder::RunningDecodes() > 0 && !deadline.hasExpired()) QThread::msleep(1);
    ASSERT_EQ(ImageDecoder::RunningDecodes(), 0);
}

// Runs the event loop until the decode threads are done and every posted
// completion has been delivered.
void Settle() {
    WaitForDecodeThreads();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QSize DecodeSize(const std::string& path) {
    ImageDecoder decoder;
    Completion done;
    decoder.SetCallback(&Completion::Record, &done);
    decoder.Load(path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.calls > 0; }, 10000)) << path;
    EXPECT_EQ(done.calls, 1);
    EXPECT_TRUE(decoder.Completed());
    return decoder.Size();
}

// ------------------------------------------------------------ formats

struct FormatCase {
    const char* file;
    QSize size;
};

std::ostream& operator<<(std::ostream& os, const FormatCase& c) {
    return os << c.file;
}

class DecoderFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DecoderFormats, CompletesWithTheNaturalSizeOrZero) {
    EXPECT_EQ(DecodeSize(Files().file(GetParam().file)), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecoderFormats,
    ::testing::Values(FormatCase{"p.png", QSize(40, 30)}, FormatCase{"p.jpg", QSize(40, 30)},
                      FormatCase{"p.gif", QSize(8, 6)}, FormatCase{"truncated.png", QSize(0, 0)},
                      FormatCase{"empty.png", QSize(0, 0)}, FormatCase{"corrupt.png", QSize(0, 0)},
                      FormatCase{"damaged.png", QSize(0, 0)}, FormatCase{"huge.png", QSize(0, 0)},
                      FormatCase{"wide.png", QSize(0, 0)},
                      FormatCase{"wide_valid.png", QSize(0, 0)},
                      FormatCase{"edge.png", QSize(MaxDecodedSide, 1)},
                      FormatCase{"huge.gif", QSize(0, 0)}, FormatCase{"missing.png", QSize(0, 0)},
                      FormatCase{"", QSize(0, 0)}),
    [](const ::testing::TestParamInfo<FormatCase>& info) {
        std::string name = info.param.file[0] ? info.param.file : "EmptyName";
        for (char& c : name)
            if (c == '.') c = '_';
        return name;
    });

TEST(Decoder, DecodesThePixelsOfEachFormat) {
    ImageDecoder png, gif, jpg;
    Completion a, b, c;
    png.SetCallback(&Completion::Record, &a);
    gif.SetCallback(&Completion::Record, &b);
    jpg.SetCallback(&Completion::Record, &c);
    png.Load(Files().file("p.png"));
    gif.Load(Files().file("p.gif"));
    jpg.Load(Files().file("p.jpg"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return a.calls && b.calls && c.calls; }, 10000));
    EXPECT_EQ(png.Image().convertToFormat(QImage::Format_RGB32), Pattern(40, 30));
    EXPECT_EQ(gif.Image().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(gif.Image().pixel(3, 5), qRgb(0, 255, 0));
    EXPECT_EQ(gif.Image().pixel(7, 2), qRgb(255, 255, 255));
    const QRgb corner = jpg.Image().pixel(35, 25);  // yellow, give or take the compression
    EXPECT_GT(qRed(corner), 230);
    EXPECT_GT(qGreen(corner), 230);
    EXPECT_LT(qBlue(corner), 30);
}

TEST(Decoder, AcceptsBackslashesInThePath) {
    std::string path = Files().file("p.png");
    for (char& c : path)
        if (c == '/') c = '\\';
    EXPECT_EQ(DecodeSize(path), QSize(40, 30));
}

// ------------------------------------------------------------ completion contract

TEST(DecoderCompletion, ComesOnlyAfterLoadHasReturned) {
    for (const char* name : {"p.png", "missing.png", "empty.png"}) {
        ImageDecoder decoder;
        Completion done;
        decoder.SetCallback(&Completion::Record, &done);
        decoder.Load(Files().file(name));
        // Even when the worker is long finished, nothing runs until the loop does.
        WaitForDecodeThreads();
        EXPECT_EQ(done.calls, 0) << name;
        EXPECT_FALSE(decoder.Completed());
        EXPECT_EQ(decoder.Size(), QSize(0, 0));
        Settle();
        EXPECT_EQ(done.calls, 1) << name;
        EXPECT_EQ(done.decoder, &decoder);
    }
}

TEST(DecoderCompletion, CallbackSetAfterLoadStillRuns) {
    ImageDecoder decoder;
    Completion done;
    decoder.Load(Files().file("p.png"));
    decoder.SetCallback(&Completion::Record, &done);
    Settle();
    EXPECT_EQ(done.calls, 1);
    EXPECT_EQ(decoder.Size(), QSize(40, 30));
}

TEST(DecoderCompletion, IsDroppedWhenTheDecoderIsReleased) {
    Completion done;
    for (int i = 0; i < 20; ++i) {
        auto* decoder = new ImageDecoder;
        decoder->SetCallback(&Completion::Record, &done);
        decoder->Load(Files().file(i % 2 ? "p.png" : "p.jpg"));
        if (i % 3 == 0) WaitForDecodeThreads();  // result already posted
        delete decoder;
    }
    Settle();
    EXPECT_EQ(done.calls, 0);
}

TEST(DecoderCompletion, IsDroppedByDisconnect) {
    ImageDecoder decoder;
    Completion done;
    decoder.SetCallback(&Completion::Record, &done);
    decoder.Load(Files().file("p.png"));
    decoder.Disconnect();
    Settle();
    EXPECT_EQ(done.calls, 0);
    EXPECT_FALSE(decoder.Completed());
}

TEST(DecoderCompletion, ANewLoadSupersedesThePendingOne) {
    ImageDecoder decoder;
    Completion done;
    decoder.SetCallback(&Completion::Record, &done);
    decoder.Load(Files().file("p.png"));
    WaitForDecodeThreads();
    decoder.Load(Files().file("p.gif"));
    Settle();
    EXPECT_EQ(done.calls, 1);
    EXPECT_EQ(decoder.Size(), QSize(8, 6));
}

TEST(DecoderCompletion, TheCallbackMayDeleteTheDecoder) {
    struct Owner {
        ImageDecoder* decoder = new ImageDecoder;
        QSize seen;
        static void Done(ImageDecoder* d, void* data) {
            auto* self = static_cast<Owner*>(data);
            self->seen = d->Size();
            delete self->decoder;
            self->decoder = nullptr;
        }
    } owner;
    owner.decoder->SetCallback(&Owner::Done, &owner);
    owner.decoder->Load(Files().file("p.png"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return owner.decoder == nullptr; }, 10000));
    EXPECT_EQ(owner.seen, QSize(40, 30));
}

TEST(DecoderCompletion, ReusedBuffersCarryTheNewPicture) {
    // The first picture's buffer goes back to the pool when its decoder dies;
    // the second decode of the same size may land in it.
    QImage first;
    {
        ImageDecoder d;
        Completion done;
        d.SetCallback(&Completion::Record, &done);
        d.Load(Files().file("p.png"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return done.calls > 0; }, 10000));
        first = d.Image().copy();
    }
    ImageDecoder d;
    Completion done;
    d.SetCallback(&Completion::Record, &done);
    d.Load(Files().file("other.png"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return done.calls > 0; }, 10000));
    EXPECT_EQ(d.Image().convertToFormat(QImage::Format_RGB32),
              Pattern(40, 30).mirrored(true, false));
    EXPECT_EQ(first.convertToFormat(QImage::Format_RGB32), Pattern(40, 30));
}

// ------------------------------------------------------------ tiling

class DecoderTile : public ::testing::Test {
protected:
    void SetUp() override {
        Completion done;
        decoder.SetCallback(&Completion::Record, &done);
        decoder.Load(Files().file("p.png"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return done.calls > 0; }, 10000));
        decoder.SetCallback(nullptr, nullptr);
    }
    QImage Paint(QSize target, QPoint origin, QRect clip, QSize tile) {
        QImage out(target, QImage::Format_RGB32);
        out.fill(qRgb(1, 2, 3));
        QPainter p(&out);
        decoder.Tile(p, origin, clip, tile);
        p.end();
        return out;
    }
    ImageDecoder decoder;
    const QRgb background = qRgb(1, 2, 3);
};

TEST_F(DecoderTile, NaturalSizeAtTheOriginCopiesThePicture) {
    EXPECT_EQ(Paint({40, 30}, {0, 0}, QRect(0, 0, 40, 30), {40, 30}), Pattern(40, 30));
}

TEST_F(DecoderTile, RepeatsFromTheOriginInBothDirections) {
    const QImage out = Paint({100, 70}, {10, 5}, QRect(0, 0, 100, 70), {40, 30});
    const QImage p = Pattern(40, 30);
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(out.pixel(x, y), p.pixel(((x - 10) % 40 + 40) % 40, ((y - 5) % 30 + 30) % 30))
                << x << "," << y;
}

TEST_F(DecoderTile, PaintsOnlyInsideTheClip) {
    const QImage out = Paint({40, 30}, {0, 0}, QRect(5, 6, 10, 8), {40, 30});
    const QImage p = Pattern(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 5 && x < 15 && y >= 6 && y < 14;
            ASSERT_EQ(out.pixel(x, y), inside ? p.pixel(x, y) : background) << x << "," << y;
        }
}

TEST_F(DecoderTile, ScalesThePictureToTheTileSize) {
    const QImage out = Paint({20, 15}, {0, 0}, QRect(0, 0, 20, 15), {20, 15});
    EXPECT_EQ(out.pixel(2, 12), qRgb(0, 255, 0));  // bottom-left quadrant
    EXPECT_EQ(out.pixel(17, 2), qRgb(0, 0, 255));  // top-right quadrant
    EXPECT_EQ(out.pixel(17, 12), qRgb(255, 255, 0));
}

TEST_F(DecoderTile, ManyTinyTilesStillCoverTheClip) {
    const QImage out = Paint({300, 200}, {0, 0}, QRect(0, 0, 300, 200), {2, 2});
    for (int y = 0; y < 200; y += 37)
        for (int x = 0; x < 300; x += 41) ASSERT_NE(out.pixel(x, y), background) << x << "," << y;
}

TEST_F(DecoderTile, PaintsIntoABitmapCanvasAsTheImageLoaderDoes) {
    TBitmap bitmap(40, 30);
    decoder.Tile(bitmap.Canvas(), TPoint{0, 0}, MakeRect(0, 0, 40, 30), TSize{40, 30});
    EXPECT_EQ(bitmap.Image().convertToFormat(QImage::Format_RGB32), Pattern(40, 30));

    // An offset clip, as with Point1 = (10, 5): the bitmap's top-left part
    // outside the clip stays as it was.
    TBitmap part(40, 30, RGBColor(1, 2, 3));
    decoder.Tile(part.Canvas(), TPoint{0, 0}, MakeRect(10, 5, 40, 30), TSize{40, 30});
    EXPECT_EQ(part.Image().pixel(5, 2), background);
    EXPECT_EQ(part.Image().pixel(12, 7), Pattern(40, 30).pixel(12, 7));
}

TEST_F(DecoderTile, NothingForAnEmptyTileOrClip) {
    const QImage untouched = Paint({40, 30}, {0, 0}, QRect(0, 0, 0, 0), {40, 30});
    EXPECT_EQ(untouched.pixel(10, 10), background);
    EXPECT_EQ(Paint({40, 30}, {0, 0}, QRect(0, 0, 40, 30), {0, 30}).pixel(10, 10), background);
    EXPECT_EQ(Paint({40, 30}, {0, 0}, QRect(0, 0, 40, 30), {-5, 30}).pixel(10, 10), background);
    ImageDecoder fresh;
    QImage out(10, 10, QImage::Format_RGB32);
    out.fill(background);
    QPainter p(&out);
    fresh.Tile(p, {0, 0}, QRect(0, 0, 10, 10), {10, 10});
    p.end();
    EXPECT_EQ(out.pixel(5, 5), background);
}

// ------------------------------------------------------------ what is read, and on which thread

// Completes within a bounded wait (the test fails instead of hanging).
QSize DecodeSizeWithin(const std::string& path, int ms) {
    ImageDecoder decoder;
    Completion done;
    decoder.SetCallback(&Completion::Record, &done);
    decoder.Load(path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.calls > 0; }, ms)) << path;
    return decoder.Size();
}

TEST(DecoderFiles, OnlyRegularFilesAreReadAndNoneBlocks) {
    QTemporaryDir dir;
    const std::string fifo = dir.filePath("chart.png").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, dir.path().toStdString(), std::string("/dev/zero")})
        EXPECT_EQ(DecodeSizeWithin(path, 5000), QSize(0, 0)) << path;
    // Should a reader be stuck in open(), a writer lets it go.
    if (const int w = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK); w >= 0) ::close(w);
    // The refusal is in the decode itself, for any caller.
    EXPECT_TRUE(DecodePictureFile(fifo).Image.isNull());
    EXPECT_FALSE(DecodePictureFile(fifo).Stamp.Valid());
    EXPECT_EQ(DecodePictureFile(Files().file("p.png")).Image.size(), QSize(40, 30));
}

TEST(DecoderFiles, DecodesPicturesInMemory) {
    QFile png(Files().path("p.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_EQ(DecodePictureData(png.readAll()).convertToFormat(QImage::Format_RGB32),
              Pattern(40, 30));
    EXPECT_TRUE(DecodePictureData(PngClaiming(100000, 100000)).isNull());
    EXPECT_TRUE(DecodePictureData(QByteArray()).isNull());
}

QByteArray PngOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return bytes;
}

// Plain 8-bit RGB and RGBA PNGs are read by the decoder itself; every picture,
// whole or damaged, must come out as Qt's own reader gives it.
TEST(DecoderFiles, PlainPngsReadAsQtReadsThem) {
    QImage translucent(37, 23, QImage::Format_ARGB32);
    for (int y = 0; y < translucent.height(); ++y)
        for (int x = 0; x < translucent.width(); ++x)
            translucent.setPixel(x, y, qRgba(x * 7, y * 11, (x * y) % 256, (x * 13 + y) % 256));
    const QImage opaque = Pattern(40, 30);
    QImage noise(29, 31, QImage::Format_ARGB32);  // every branch of every filter
    uint32_t seed = 12345;
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            noise.setPixel(x, y, seed);
        }
    struct Case {
        const char* name;
        QImage image;
        bool plain;
        QImage::Format format;
        QByteArray png;  // Qt's writer's when empty
    };
    const std::vector<Case> cases = {
        {"rgb", opaque, true, QImage::Format_RGB32, {}},
        {"rgba", translucent, true, QImage::Format_ARGB32, {}},
        {"rgb, every filter", noise.convertToFormat(QImage::Format_RGB32), true,
         QImage::Format_RGB32, PngWithEveryFilter(noise, false)},
        {"rgba, every filter", noise, true, QImage::Format_ARGB32, PngWithEveryFilter(noise, true)},
        {"palette", opaque.convertToFormat(QImage::Format_Indexed8), false, {}, {}},
        {"grey", opaque.convertToFormat(QImage::Format_Grayscale8), false, {}, {}},
        {"16-bit", translucent.convertToFormat(QImage::Format_RGBA64), false, {}, {}},
    };
    for (const Case& c : cases) {
        const QByteArray whole = c.png.isEmpty() ? PngOf(c.image) : c.png;
        QBuffer probe;
        probe.setData(whole);
        probe.open(QIODevice::ReadOnly);
        const std::optional<QImage> direct = ReadPlainPng(probe, [](QSize) { return true; });
        EXPECT_EQ(direct.has_value(), c.plain) << c.name;
        if (c.plain) {
            EXPECT_EQ(direct->format(), c.format) << c.name;
            EXPECT_EQ(*direct, c.image) << c.name;
        }
        std::vector<QByteArray> variants = {whole, whole.left(whole.size() / 3),
                                            whole.left(whole.size() * 2 / 3),
                                            whole.left(whole.size() - 12)};  // no IEND
        QByteArray flipped = whole;
        flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x40);
        variants.push_back(flipped);
        for (size_t v = 0; v < variants.size(); ++v) {
            QBuffer buffer;
            buffer.setData(variants[v]);
            buffer.open(QIODevice::ReadOnly);
            // A picture Qt cannot read whole is no picture.
            QImage byQt;
            if (!QImageReader(&buffer, "png").read(&byQt)) byQt = QImage();
            const QImage ours = DecodePictureData(variants[v]);
            EXPECT_EQ(ours.isNull(), byQt.isNull()) << c.name << " variant " << v;
            EXPECT_EQ(ours.format(), byQt.format()) << c.name << " variant " << v;
            EXPECT_EQ(ours, byQt) << c.name << " variant " << v;
        }
    }
}

TEST(DecoderFiles, APictureUpToTheDocumentedLimitIsRead) {
    // 5800 x 5800 = 33.6 Mpx: 134 MB decoded, above Qt's own default guard
    // of 128 MB, within the decoder's 64 Mpx.
    QTemporaryDir dir;
    const QString path = dir.filePath("big.png");
    {
        QImage big(5800, 5800, QImage::Format_RGB32);
        big.fill(qRgb(10, 200, 30));
        ASSERT_TRUE(big.save(path, "PNG"));
    }
    ImageDecoder decoder;
    Completion done;
    decoder.SetCallback(&Completion::Record, &done);
    decoder.Load(path.toStdString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return done.calls > 0; }, 60000));
    EXPECT_EQ(decoder.Size(), QSize(5800, 5800));
    if (!decoder.Image().isNull()) {
        EXPECT_EQ(decoder.Image().pixel(5799, 5799), qRgb(10, 200, 30));
    }
}

// Decode functions standing for a picture that takes as long as the test
// wants, or for an open() that never returns.
std::atomic<bool> gateOpen{false};
DecodedFile WaitForGateOrCancel(const std::string&, const std::atomic<bool>* wanted) {
    while (!gateOpen && (!wanted || *wanted))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return {};
}
DecodedFile NeverReturns(const std::string&, const std::atomic<bool>*) {
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

TEST(DecoderThreads, StuckDecodesLeaveThreadsForTheNextPicture) {
    gateOpen = false;
    const int stuck = QThread::idealThreadCount() + 2;
    std::vector<std::unique_ptr<ImageDecoder>> slow;
    std::vector<Completion> slowDone(static_cast<std::size_t>(stuck));
    for (int i = 0; i < stuck; ++i) {
        slow.push_back(std::make_unique<ImageDecoder>(&WaitForGateOrCancel));
        slow.back()->SetCallback(&Completion::Record, &slowDone[std::size_t(i)]);
        slow.back()->Load("slow.png");
    }
    EXPECT_EQ(DecodeSizeWithin(Files().file("p.gif"), 10000), QSize(8, 6));
    for (const Completion& c : slowDone) EXPECT_EQ(c.calls, 0);
    gateOpen = true;
    Settle();
    for (const Completion& c : slowDone) EXPECT_EQ(c.calls, 1);
}

TEST(DecoderThreads, ASupersededDecodeIsCancelled) {
    gateOpen = false;
    ImageDecoder decoder(&WaitForGateOrCancel);
    Completion done;
    decoder.SetCallback(&Completion::Record, &done);
    decoder.Load("first.png");
    decoder.Load("second.png");
    // The first thread sees it is no longer wanted and ends on its own.
    QDeadlineTimer deadline(10000);
    while (ImageDecoder::RunningDecodes() > 1 && !deadline.hasExpired()) QThread::msleep(1);
    EXPECT_EQ(ImageDecoder::RunningDecodes(), 1);
    decoder.Disconnect();
    WaitForDecodeThreads();
    QCoreApplication::processEvents();
    EXPECT_EQ(done.calls, 0);
}

// Run as a child process by the test below: starts a decode that never
// ends and leaves the program the normal way.
TEST(DecoderThreads, ExitChild) {
    if (qEnvironmentVariableIsEmpty("TABULO_DECODER_EXIT_CHILD")) GTEST_SKIP() << "child only";
    static ImageDecoder kept(&NeverReturns);  // still loading when the program ends
    kept.Load("stuck.png");
    ImageDecoder dropped(&NeverReturns);
    dropped.Load("stuck.png");
}

TEST(DecoderThreads, LeavingTheProgramDoesNotWaitForADecode) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TABULO_DECODER_EXIT_CHILD", "1");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=DecoderThreads.ExitChild"});
    ASSERT_TRUE(child.waitForStarted(10000));
    const bool finished = child.waitForFinished(30000);
    if (!finished) child.kill();
    ASSERT_TRUE(finished) << "the program waited for a decode";
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
}

// ------------------------------------------------------------ kept pictures

class DecoderCache : public ::testing::Test {
protected:
    void SetUp() override {
        PictureCache::Clear();
        path = dir.filePath("chart.png").toStdString();
    }
    void TearDown() override { PictureCache::Clear(); }
    static DecodedFile Counting(const std::string& p, const std::atomic<bool>* wanted) {
        ++reads;
        return DecodePictureFile(p, wanted);
    }
    QImage load() {
        ImageDecoder decoder(&Counting);
        Completion done;
        decoder.SetCallback(&Completion::Record, &done);
        decoder.Load(path);
        EXPECT_TRUE(QTest::qWaitFor([&] { return done.calls > 0; }, 10000));
        return decoder.Image().convertToFormat(QImage::Format_RGB32);
    }
    QTemporaryDir dir;
    std::string path;
    static inline int reads = 0;
};

TEST_F(DecoderCache, AnUnchangedFileIsNotReadAgain) {
    reads = 0;
    ASSERT_TRUE(Pattern(40, 30).save(QString::fromStdString(path), "PNG"));
    EXPECT_EQ(load(), Pattern(40, 30));
    EXPECT_EQ(load(), Pattern(40, 30));
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(PictureCache::Count(), 1);
    EXPECT_EQ(PictureCache::Bytes(), qint64(40 * 30 * 4));
}

TEST_F(DecoderCache, AChangedOrDeletedFileIsNeverShownStale) {
    ASSERT_TRUE(Pattern(40, 30).save(QString::fromStdString(path), "PNG"));
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ASSERT_EQ(load(), Pattern(40, 30));

    // Rewritten with a picture of the same size, the modification time put
    // back as it was.
    const QImage other = Pattern(40, 30).mirrored(true, false);
    ASSERT_TRUE(other.save(QString::fromStdString(path), "PNG"));
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(load(), other);

    // Replaced by another file under the same name.
    const std::string fresh = dir.filePath("fresh.png").toStdString();
    ASSERT_TRUE(Pattern(40, 30).save(QString::fromStdString(fresh), "PNG"));
    std::filesystem::rename(fresh, path);
    EXPECT_EQ(load(), Pattern(40, 30));

    std::filesystem::remove(path);
    EXPECT_TRUE(load().isNull());
    EXPECT_EQ(PictureCache::Count(), 0);
}

TEST_F(DecoderCache, StaysWithinItsBudget) {
    // 1000 x 1000 pictures (4 MB each) fill the budget after three.
    for (int i = 0; i < 5; ++i) {
        path = dir.filePath(QString("big%1.png").arg(i)).toStdString();
        QImage image(1000, 1000, QImage::Format_RGB32);
        image.fill(qRgb(i, 0, 0));
        ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
        load();
        EXPECT_LE(PictureCache::Bytes(), PictureCache::Budget);
    }
    EXPECT_EQ(PictureCache::Count(), 3);
    // A picture above the entry limit is not kept at all.
    path = dir.filePath("huge.png").toStdString();
    QImage huge(1100, 1000, QImage::Format_RGB32);
    huge.fill(Qt::white);
    ASSERT_TRUE(huge.save(QString::fromStdString(path), "PNG"));
    reads = 0;
    load();
    load();
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(PictureCache::Count(), 3);
}

}  // namespace
