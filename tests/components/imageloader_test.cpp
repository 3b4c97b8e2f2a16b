// The image loader over the real decoder: loads, completion, rendering.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <stdexcept>

#include "tabulo/components/imageloader.h"
#include "tabulo/widgets/bitmap.h"
#include "tabulo/widgets/decodedpicture.h"
#include "tabulo/widgets/imagedecoder.h"
#include "tabulo_test/probe.h"

namespace {

// Records what each Bitmap value shows during the call (the bitmap is lent
// for that call only).
struct BitmapProbe : TObject {
    struct Shot {
        int w, h;
        QImage image;
    };
    std::vector<Shot> Shots;
    void doEvent(TData& v, uint16_t) {
        TBitmap* b = BitmapOf(v);
        ASSERT_NE(b, nullptr);
        Shots.push_back({b->Width(), b->Height(), b->Image().copy()});
    }
};

// Left half red, right half blue.
QImage twoColours(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, x < w / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return img;
}

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        loader.FileName = "";  // the incoming value names the file (a property would win)
        loader.onDecoded = BindEvent<&TKvImageLoader::doDraw>(&loader, 1);
        loader.onLoad = BindEvent<&BitmapProbe::doEvent>(&shots);
        decodedProbe_ = BindEvent<&Counter::doEvent>(&decoded);
    }
    void TearDown() override { TKvImageLoader::SetDecoderFactory(nullptr); }

    std::string make(const QString& name, int w, int h, const char* format = "PNG") {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(twoColours(w, h).save(path, format));
        return path.toStdString();
    }
    void load(const std::string& name) {
        FireText(BindEvent<&TKvImageLoader::doLoad>(&loader), name);
    }
    // Lets every decode still running finish and delivers what it posted.
    static void settle() {
        QDeadlineTimer deadline(10000);
        while (ImageDecoder::RunningDecodes() > 0 && !deadline.hasExpired()) QThread::msleep(1);
        QCoreApplication::processEvents();
    }
    bool waitShots(std::size_t n) {
        return QTest::qWaitFor([&] { return shots.Shots.size() >= n; }, 10000);
    }

    struct Counter : TObject {
        int n = 0;
        TKvImageLoader* loader = nullptr;
        void doEvent(TData& v, uint16_t) {
            ++n;
            EXPECT_EQ(v.Tag, dtNull);
            if (loader) loader->doDraw(v, 1);
        }
    };

    LiveHooks hooks;
    QTemporaryDir dir_;
    TKvImageLoader loader;
    BitmapProbe shots;
    Counter decoded;
    TKV_Event decodedProbe_;
};

TEST_F(LoaderTest, LoadingAFileGivesOneDecodedAndOneBitmapOfNaturalSize) {
    decoded.loader = &loader;
    loader.onDecoded = decodedProbe_;
    const std::string path = make("AA.png", 47, 31);
    load(path);
    EXPECT_FALSE(loader.Loaded) << "completion comes later, from the event loop";
    EXPECT_EQ(decoded.n, 0);
    ASSERT_TRUE(waitShots(1));
    EXPECT_EQ(decoded.n, 1);
    EXPECT_TRUE(loader.Loaded);
    EXPECT_EQ(loader.Width, 47);
    EXPECT_EQ(loader.Height, 31);
    ASSERT_EQ(shots.Shots.size(), 1u);
    EXPECT_EQ(shots.Shots[0].w, 47);
    EXPECT_EQ(shots.Shots[0].h, 31);
    EXPECT_EQ(shots.Shots[0].image.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(shots.Shots[0].image.pixel(44, 28), qRgb(0, 0, 255));
    settle();
    EXPECT_EQ(decoded.n, 1);
}

TEST_F(LoaderTest, ReadsGifAndJpegToo) {
    // A 1 x 1 red GIF (the toolkit reads GIF but does not write it).
    static const char gif[] =
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,\x00\x00\x00\x00"
        "\x01\x00\x01\x00\x00\x02\x02"
        "D\x01\x00;";
    QFile f(dir_.filePath("a.gif"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(gif, sizeof gif - 1);
    f.close();
    load(f.fileName().toStdString());
    ASSERT_TRUE(waitShots(1));
    EXPECT_EQ(shots.Shots[0].w, 1);
    EXPECT_EQ(QColor(shots.Shots[0].image.pixel(0, 0)), QColor(Qt::red));
    load(make("a.jpg", 30, 12, "JPEG"));
    ASSERT_TRUE(waitShots(2));
    EXPECT_EQ(shots.Shots[1].w, 30);
    EXPECT_EQ(shots.Shots[1].h, 12);
}

TEST_F(LoaderTest, MissingFilesFoldersAndEmptyNamesStartNothing) {
    for (const std::string& name :
         {dir_.filePath("none.png").toStdString(), dir_.path().toStdString(), std::string()}) {
        loader.FileName = "";
        load(name);
        EXPECT_EQ(loader.Decoder(), nullptr) << name;
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(shots.Shots.empty());
    EXPECT_FALSE(loader.Loaded);
}

TEST_F(LoaderTest, DrawBeforeCompletionOrAfterAMissingLoadFiresNothing) {
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    EXPECT_TRUE(shots.Shots.empty());
    load(make("a.png", 10, 10));
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    EXPECT_TRUE(shots.Shots.empty());
    ASSERT_TRUE(waitShots(1));

    // A load of a missing file keeps the decoder but clears Loaded.
    const ImageDecoder* kept = loader.Decoder();
    load(dir_.filePath("missing.png").toStdString());
    EXPECT_EQ(loader.Decoder(), kept);
    EXPECT_FALSE(loader.Loaded);
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    EXPECT_EQ(shots.Shots.size(), 1u);
}

TEST_F(LoaderTest, ReleaseDropsThePictureButNotAPendingLoad) {
    const std::string first = make("a.png", 20, 10);
    load(first);
    ASSERT_TRUE(waitShots(1));
    FireNull(BindEvent<&TKvImageLoader::doRelease>(&loader));
    EXPECT_FALSE(loader.Loaded);
    EXPECT_EQ(DecodedSize(*loader.Decoder()).cx, 0);
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    EXPECT_EQ(shots.Shots.size(), 1u);

    // Shown again (from the decoder's cache): the same picture.
    load(first);
    ASSERT_TRUE(waitShots(2));
    EXPECT_EQ(shots.Shots[1].image, shots.Shots[0].image);

    // A release while the next picture decodes lets it arrive.
    load(make("b.png", 30, 12));
    FireNull(BindEvent<&TKvImageLoader::doRelease>(&loader));
    ASSERT_TRUE(waitShots(3));
    EXPECT_EQ(shots.Shots[2].w, 30);
}

TEST_F(LoaderTest, Point2AsSizeRendersThatSize) {
    loader.onDecoded = TKV_Event();
    load(make("a.png", 40, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loader.Loaded; }, 10000));
    loader.Point2 = 50 | (100 << 16);
    loader.Point2IsSize = true;
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    ASSERT_EQ(shots.Shots.size(), 1u);
    EXPECT_EQ(shots.Shots[0].w, 50);
    EXPECT_EQ(shots.Shots[0].h, 100);
    // The picture is tiled in steps of its natural size: x 45 is red again.
    EXPECT_EQ(shots.Shots[0].image.pixel(45, 5), qRgb(255, 0, 0));
    EXPECT_EQ(shots.Shots[0].image.pixel(25, 25), qRgb(0, 0, 255));

    // As a corner, with Point1 (10, 20): 50 - 10 by 100 - 20.
    loader.Point2IsSize = false;
    loader.Point1 = 10 | (20 << 16);
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    ASSERT_EQ(shots.Shots.size(), 2u);
    EXPECT_EQ(shots.Shots[1].w, 40);
    EXPECT_EQ(shots.Shots[1].h, 80);

    // Point2 = 0 keeps the natural size; pulled settings win over properties.
    loader.Point1 = 0;
    loader.Point2 = 0;
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    EXPECT_EQ(shots.Shots.back().w, 40);
    Source p2;
    p2.Answer = MakeInt(7 | (9 << 16));
    loader.pullPoint2 = p2.Link();
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    EXPECT_EQ(shots.Shots.back().w, 7);
    EXPECT_EQ(shots.Shots.back().h, 9);
}

TEST_F(LoaderTest, PackedHalvesAreSignExtended) {
    loader.onDecoded = TKV_Event();
    load(make("a.png", 40, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loader.Loaded; }, 10000));
    // Point1 (-10, -5): the width and height grow by 10 and 5.
    loader.Point1 = int32_t(uint32_t(uint16_t(-10)) | (uint32_t(uint16_t(-5)) << 16));
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    ASSERT_EQ(shots.Shots.size(), 1u);
    EXPECT_EQ(shots.Shots[0].w, 50);
    EXPECT_EQ(shots.Shots[0].h, 25);
    // A negative size renders nothing.
    loader.Point1 = 0;
    loader.Point2 = int32_t(uint32_t(uint16_t(-10)) | (5u << 16));
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    EXPECT_EQ(shots.Shots.size(), 1u);
}

TEST_F(LoaderTest, RelativeNameResolvesAgainstTheCurrentFolder) {
    make("Charts/AA.png", 12, 8);
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    loader.FileName = "Charts\\AA.gif";  // the default, missing here
    FireNull(BindEvent<&TKvImageLoader::doLoad>(&loader));
    EXPECT_EQ(loader.Decoder(), nullptr);
    loader.FileName = "Charts\\AA.png";
    FireNull(BindEvent<&TKvImageLoader::doLoad>(&loader));
    QDir::setCurrent(old);
    ASSERT_TRUE(waitShots(1));
    EXPECT_EQ(shots.Shots[0].w, 12);
}

TEST_F(LoaderTest, SecondLoadWhileDecodingCompletesOnceWithTheSecondPicture) {
    decoded.loader = &loader;
    loader.onDecoded = decodedProbe_;
    const std::string big = make("big.png", 1600, 1200);
    const std::string small = make("small.png", 33, 22);
    load(big);
    const ImageDecoder* first = loader.Decoder();
    load(small);
    EXPECT_NE(loader.Decoder(), first);
    ASSERT_TRUE(waitShots(1));
    settle();  // the first picture's result, had it survived, would have arrived now
    EXPECT_EQ(decoded.n, 1);
    ASSERT_EQ(shots.Shots.size(), 1u);
    EXPECT_EQ(shots.Shots[0].w, 33);
    EXPECT_EQ(shots.Shots[0].h, 22);
}

// A receiver that starts the next load from inside the completion chain.
struct Reloader : TObject {
    TKvImageLoader* loader = nullptr;
    std::string next;
    int n = 0;
    void doEvent(TData&, uint16_t) {
        if (n++ == 0) FireText(BindEvent<&TKvImageLoader::doLoad>(loader), next);
    }
};

TEST_F(LoaderTest, LoadFromInsideTheCompletionChainIsSafe) {
    Reloader r;
    r.loader = &loader;
    r.next = make("second.png", 9, 9);
    loader.onDecoded = BindEvent<&Reloader::doEvent>(&r);
    load(make("first.png", 5, 5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return r.n == 2; }, 10000));
    EXPECT_EQ(loader.Width, 9);
}

TEST_F(LoaderTest, UnreadablePictureDecodesToNothing) {
    const QString path = dir_.filePath("bad.png");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    decoded.loader = &loader;
    loader.onDecoded = decodedProbe_;
    load(path.toStdString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return decoded.n == 1; }, 10000));
    EXPECT_TRUE(loader.Loaded);
    EXPECT_EQ(loader.Width, 0);
    EXPECT_TRUE(shots.Shots.empty());
}

TEST_F(LoaderTest, DecoderThatCannotBeMadeAbandonsTheLoadWithAMessage) {
    load(make("a.png", 10, 10));
    ASSERT_TRUE(waitShots(1));
    const ImageDecoder* kept = loader.Decoder();

    TKvImageLoader::SetDecoderFactory([]() -> std::unique_ptr<ImageDecoder> { return nullptr; });
    ::testing::internal::CaptureStderr();
    load(make("b.png", 20, 20));
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("image decoder"), std::string::npos) << err;
    EXPECT_EQ(loader.Decoder(), kept);

    TKvImageLoader::SetDecoderFactory(
        []() -> std::unique_ptr<ImageDecoder> { throw std::runtime_error("no COM here"); });
    ::testing::internal::CaptureStderr();
    load(make("c.png", 20, 20));
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("no COM here"), std::string::npos) << err;
    EXPECT_EQ(loader.Decoder(), kept);
    QCoreApplication::processEvents();
    EXPECT_EQ(shots.Shots.size(), 1u);
}

// A receiver that marks each bitmap it is lent (through its Tag) and notes
// whether the bitmap came marked, i.e. was lent before.
struct MarkingProbe : TObject {
    std::vector<bool> CameMarked;
    std::vector<QImage> Images;
    void doEvent(TData& v, uint16_t) {
        TBitmap* b = BitmapOf(v);
        ASSERT_NE(b, nullptr);
        CameMarked.push_back(b->Tag == this);
        b->Tag = this;
        Images.push_back(b->Image().copy());
    }
};

// A decode that reads the file at once and then waits for the gate, so a
// test can change the file between the read and the completion.
std::atomic<int> gatedDecodes{0};
std::atomic<bool> gateOpen{true};
DecodedFile ReadThenWaitForGate(const std::string& path, const std::atomic<bool>* wanted) {
    DecodedFile decoded = DecodePictureFile(path, wanted);
    ++gatedDecodes;
    while (!gateOpen && (!wanted || *wanted)) QThread::msleep(1);
    return decoded;
}

class PrefetchTest : public LoaderTest {
protected:
    void SetUp() override {
        LoaderTest::SetUp();
        PictureCache::Clear();
        gatedDecodes = 0;
        gateOpen = false;
        TKvImageLoader::SetDecoderFactory(
            [] { return std::make_unique<ImageDecoder>(&ReadThenWaitForGate); });
    }
    void TearDown() override {
        gateOpen = true;
        settle();
        LoaderTest::TearDown();
    }
    void prefetch(const std::string& name) {
        FireText(BindEvent<&TKvImageLoader::doPrefetch>(&loader, 3), name);
    }
    bool waitDecodes(int n) {
        return QTest::qWaitFor([&] { return gatedDecodes >= n; }, 10000);
    }
};

TEST_F(PrefetchTest, PrefetchFiresNothingAndTheLoadOfItsFileTakesItsDecodeOver) {
    decoded.loader = &loader;
    loader.onDecoded = decodedProbe_;
    const std::string path = make("AA.png", 30, 20);
    prefetch(path);
    ASSERT_TRUE(waitDecodes(1));
    gateOpen = true;
    settle();
    EXPECT_EQ(decoded.n, 0);
    EXPECT_TRUE(shots.Shots.empty());
    EXPECT_FALSE(loader.Loaded);
    EXPECT_EQ(loader.Width, 0);
    EXPECT_EQ(loader.Decoder(), nullptr);
    EXPECT_EQ(PictureCache::Count(), 1);  // what the prefetch was for

    // The picture decoded ahead is shown without reading the file again.
    load(path);
    ASSERT_TRUE(waitShots(1));
    EXPECT_EQ(gatedDecodes, 1);
    EXPECT_EQ(shots.Shots[0].image.pixel(25, 5), qRgb(0, 0, 255));

    // A load while the prefetch still decodes takes that decode over.
    PictureCache::Clear();
    gateOpen = false;
    prefetch(path);
    ASSERT_TRUE(waitDecodes(2));
    load(path);
    gateOpen = true;
    ASSERT_TRUE(waitShots(2));
    settle();
    EXPECT_EQ(gatedDecodes, 2);
    EXPECT_EQ(decoded.n, 2);
    EXPECT_EQ(shots.Shots[1].w, 30);

    // A prefetch dropped (or superseded by a load of another file) never
    // completes into anything.
    PictureCache::Clear();
    gateOpen = false;
    prefetch(make("KK.png", 8, 8));
    ASSERT_TRUE(waitDecodes(3));
    FireNull(BindEvent<&TKvImageLoader::doDropPrefetch>(&loader, 4));
    prefetch(make("QQ.png", 9, 9));
    ASSERT_TRUE(waitDecodes(4));
    load(make("JJ.png", 7, 7));
    gateOpen = true;
    ASSERT_TRUE(waitShots(3));
    settle();
    EXPECT_EQ(decoded.n, 3);
    EXPECT_EQ(shots.Shots[2].w, 7);
    EXPECT_EQ(PictureCache::Count(), 1);
}

TEST_F(PrefetchTest, AFileChangedAfterThePrefetchReadItIsShownAsItIsNow) {
    const std::string path = make("AA.png", 30, 20);
    prefetch(path);
    ASSERT_TRUE(waitDecodes(1));  // the old picture is read; the decode is still under way
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path)));
    make("AA.png", 12, 34);
    load(path);
    gateOpen = true;
    ASSERT_TRUE(waitShots(1));
    settle();
    ASSERT_EQ(shots.Shots.size(), 1u);
    EXPECT_EQ(shots.Shots[0].w, 12);
    EXPECT_EQ(shots.Shots[0].h, 34);

    // Rewritten after a finished prefetch, or deleted: never the old picture.
    gateOpen = true;
    prefetch(path);
    settle();
    make("AA.png", 40, 10);
    load(path);
    ASSERT_TRUE(waitShots(2));
    EXPECT_EQ(shots.Shots[1].w, 40);
    prefetch(path);
    settle();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path)));
    load(path);
    settle();
    EXPECT_EQ(shots.Shots.size(), 2u);
    EXPECT_FALSE(loader.Loaded);
}

// Paints the bitmap it is lent black, as a receiver may.
struct Scribbler : TObject {
    std::vector<QRgb> Seen;
    void doEvent(TData& v, uint16_t) {
        TBitmap* b = BitmapOf(v);
        Seen.push_back(b->Image().pixel(2, 2));
        b->Canvas().FillRect(TRect{0, 0, b->Width(), b->Height()}, clBlack);
    }
};

TEST_F(LoaderTest, WhatAReceiverDrawsNeverReachesThePictureShownNextTime) {
    // The lent bitmap may share the decoded pixels (kept for the next load
    // of the unchanged file); drawing on it must not change them.
    Scribbler scribbler;
    loader.onLoad = BindEvent<&Scribbler::doEvent>(&scribbler);
    const std::string path = make("AA.png", 20, 10);
    load(path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scribbler.Seen.size() == 1; }, 10000));
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    load(path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return scribbler.Seen.size() == 3; }, 10000));
    EXPECT_EQ(scribbler.Seen, std::vector<QRgb>(3, qRgb(255, 0, 0)));
    EXPECT_EQ(loader.Decoder()->Image().pixel(2, 2), qRgb(255, 0, 0));
}

TEST_F(LoaderTest, DrawOfTheSameSizeReusesTheBitmapRepaintedInFull) {
    MarkingProbe marks;
    loader.onDecoded = TKV_Event();
    loader.onLoad = BindEvent<&MarkingProbe::doEvent>(&marks);
    load(make("a.png", 40, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loader.Loaded; }, 10000));
    auto draw = [&] { FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader)); };

    draw();  // 40 x 20, red up to x 19
    // Point1 (10, 0) to the corner (50, 20): 40 x 20 again, painted from x 10
    // on; the strip left of it is white, whatever the last draw put there.
    loader.Point1 = 10;
    loader.Point2 = 50 | (20 << 16);
    draw();
    ASSERT_EQ(marks.CameMarked.size(), 2u);
    EXPECT_FALSE(marks.CameMarked[0]);
    EXPECT_TRUE(marks.CameMarked[1]) << "the same bitmap again";
    EXPECT_EQ(marks.Images[0].pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(marks.Images[1].pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(marks.Images[1].pixel(12, 5), qRgb(255, 0, 0));
    EXPECT_EQ(marks.Images[1].pixel(25, 5), qRgb(0, 0, 255));

    // Another size takes new pixels, which are then the ones kept.
    loader.Point1 = 0;
    loader.Point2 = 30 | (10 << 16);
    draw();
    draw();
    ASSERT_EQ(marks.CameMarked.size(), 4u);
    EXPECT_TRUE(marks.CameMarked[3]);
    EXPECT_EQ(marks.Images[3].size(), QSize(30, 10));
    EXPECT_EQ(marks.Images[3], marks.Images[2]);
}

// Draws again from inside onLoad, and checks that the bitmap it was lent is
// left alone by the inner draw.
struct NestedDrawer : TObject {
    TKvImageLoader* loader = nullptr;
    int calls = 0;
    TBitmap* outer = nullptr;
    TBitmap* inner = nullptr;
    bool outerUnchanged = false;
    void doEvent(TData& v, uint16_t) {
        TBitmap* b = BitmapOf(v);
        if (calls++ > 0) {
            inner = b;
            return;
        }
        outer = b;
        const QImage before = b->Image().copy();
        loader->Point1 = 10;  // same size, other content
        loader->Point2 = 50 | (20 << 16);
        FireNull(BindEvent<&TKvImageLoader::doDraw>(loader));
        outerUnchanged = b->Image() == before;
    }
};

TEST_F(LoaderTest, DrawFromInsideOnLoadGetsItsOwnBitmap) {
    NestedDrawer nested;
    nested.loader = &loader;
    loader.onLoad = BindEvent<&NestedDrawer::doEvent>(&nested);
    load(make("a.png", 40, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return nested.calls == 2; }, 10000));
    EXPECT_NE(nested.inner, nested.outer);
    EXPECT_TRUE(nested.outerUnchanged);
}

// Destroys the loader from inside onLoad, then reads the bitmap it was lent.
struct Destroyer : TObject {
    TKvImageLoader* loader = nullptr;
    int width = 0;
    QRgb pixel = 0;
    void doEvent(TData& v, uint16_t) {
        TBitmap* b = BitmapOf(v);
        delete loader;
        loader = nullptr;
        width = b->Width();
        pixel = b->Image().pixel(2, 2);
    }
};

TEST_F(LoaderTest, BitmapStaysValidForTheCallWhenTheReceiverDestroysTheLoader) {
    Destroyer d;
    d.loader = new TKvImageLoader;
    d.loader->FileName = "";
    d.loader->onDecoded = BindEvent<&TKvImageLoader::doDraw>(d.loader, 1);
    d.loader->onLoad = BindEvent<&Destroyer::doEvent>(&d);
    FireText(BindEvent<&TKvImageLoader::doLoad>(d.loader), make("a.png", 12, 6));
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.loader == nullptr; }, 10000));
    EXPECT_EQ(d.width, 12);
    EXPECT_EQ(d.pixel, qRgb(255, 0, 0));
    settle();
}

TEST_F(LoaderTest, KeptBitmapShowsTheNextPictureExactlyOpaqueOrNot) {
    MarkingProbe marks;
    loader.onDecoded = BindEvent<&TKvImageLoader::doDraw>(&loader, 1);
    loader.onLoad = BindEvent<&MarkingProbe::doEvent>(&marks);
    load(make("a.png", 40, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return marks.Images.size() == 1; }, 10000));

    // An opaque picture tiled at its natural size from another origin covers
    // the kept bitmap: tiles at x -10 and 30.
    loader.BackOrigin = 30;
    loader.TileSize = 70 | (20 << 16);  // the corner: a 40 x 20 tile
    FireNull(BindEvent<&TKvImageLoader::doDraw>(&loader));
    ASSERT_EQ(marks.Images.size(), 2u);
    EXPECT_TRUE(marks.CameMarked[1]);
    EXPECT_EQ(marks.Images[1].pixel(5, 5), qRgb(255, 0, 0));   // picture x 15
    EXPECT_EQ(marks.Images[1].pixel(12, 5), qRgb(0, 0, 255));  // picture x 22
    EXPECT_EQ(marks.Images[1].pixel(35, 5), qRgb(255, 0, 0));  // picture x 5
    loader.BackOrigin = 0;
    loader.TileSize = 0;

    // A picture of the same size with see-through pixels: they show white,
    // not what the kept bitmap held.
    QImage glass(40, 20, QImage::Format_ARGB32);
    glass.fill(Qt::transparent);
    for (int y = 0; y < 20; ++y)
        for (int x = 20; x < 40; ++x) glass.setPixel(x, y, qRgba(0, 128, 0, 255));
    const QString path = dir_.filePath("glass.png");
    ASSERT_TRUE(glass.save(path, "PNG"));
    load(path.toStdString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return marks.Images.size() == 3; }, 10000));
    EXPECT_TRUE(marks.CameMarked[2]) << "the same bitmap for the next picture of that size";
    EXPECT_EQ(marks.Images[2].pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(marks.Images[2].pixel(30, 5), qRgb(0, 128, 0));
}

}  // namespace
