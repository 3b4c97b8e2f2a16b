#include "tabulo/components/imageloader.h"

#include <cstdio>
#include <exception>

#include "tabulo/widgets/bitmap.h"
#include "tabulo/widgets/canvas.h"
#include "tabulo/widgets/decodedpicture.h"
#include "tabulo/widgets/imagedecoder.h"
#include "tabulo/widgets/paths.h"

namespace {
TKvImageLoader::DecoderFactory& factory() {
    static TKvImageLoader::DecoderFactory f;
    return f;
}

int32_t lowHalf(int32_t packed) {
    return int16_t(uint32_t(packed) & 0xFFFFu);
}
int32_t highHalf(int32_t packed) {
    return int16_t(uint32_t(packed) >> 16);
}

// A bitmap up to this many pixels (32 MB) is kept for the next draw; a
// larger one is freed after its draw rather than held while unused.
constexpr int64_t KeptBitmapPixels = 8ll * 1024 * 1024;
}  // namespace

void TKvImageLoader::SetDecoderFactory(DecoderFactory f) {
    factory() = std::move(f);
}

TKvImageLoader::TKvImageLoader() {
    PaintRoutine = TileRoutine{this};
}

TKvImageLoader::~TKvImageLoader() {
    *alive_ = false;
}

std::unique_ptr<ImageDecoder> TKvImageLoader::makeDecoder(const std::string& full, bool quiet) {
    std::unique_ptr<ImageDecoder> fresh;
    try {
        fresh = factory() ? factory()() : std::make_unique<ImageDecoder>();
    } catch (const std::exception& e) {
        if (!quiet)
            std::fprintf(stderr, "tabulo: cannot create the image decoder for %s: %s\n",
                         full.c_str(), e.what());
        return nullptr;
    }
    if (!fresh && !quiet)
        std::fprintf(stderr, "tabulo: cannot create the image decoder for %s\n", full.c_str());
    return fresh;
}

void TKvImageLoader::doLoad(TData& value, uint16_t) {
    Loaded = false;
    const TText name = ReadText(value, pullFileName, FileName);
    const std::string full = FullPathName(name.view());
    if (full.empty() || !FileExists(full)) {
        prefetch_.reset();
        return;
    }

    // A decode of this file started ahead is taken over; any other is dropped.
    std::unique_ptr<ImageDecoder> fresh = std::move(prefetch_);
    const bool takeOver = fresh && fresh->Pending() && fresh->Path() == full;
    if (!takeOver) {
        fresh = makeDecoder(full, false);
        if (!fresh) return;
    }
    if (decoder_ && decoder_.get() == completing_)
        retired_ = std::move(decoder_);  // still running its completion
    decoder_ = std::move(fresh);
    if (takeOver)
        decoder_->RequireCurrent();
    else
        decoder_->Load(full);
    decoder_->SetCallback(&TKvImageLoader::completed, this);
}

void TKvImageLoader::doPrefetch(TData& value, uint16_t) {
    const std::string full = FullPathName(AsText(value).view());
    if (full.empty() || !FileExists(full)) {
        prefetch_.reset();
        return;
    }
    if (prefetch_ && prefetch_->Pending() && prefetch_->Path() == full) return;  // under way
    if (decoder_ && decoder_->Pending() && decoder_->Path() == full) return;     // being loaded
    prefetch_.reset();
    prefetch_ = makeDecoder(full, true);
    if (!prefetch_) return;
    prefetch_->Load(full);
    prefetch_->SetCallback(&TKvImageLoader::prefetched, this);
}

void TKvImageLoader::doDropPrefetch(TData&, uint16_t) {
    prefetch_.reset();
}

void TKvImageLoader::prefetched(ImageDecoder* decoder, void*) {
    // The cache holds what is worth keeping; a larger picture goes at once.
    decoder->ReleasePicture();
}

void TKvImageLoader::completed(ImageDecoder* decoder, void* data) {
    auto* self = static_cast<TKvImageLoader*>(data);
    if (decoder != self->decoder_.get()) return;  // a replaced decoder
    self->completing_ = decoder;
    self->Loaded = true;
    const TSize size = DecodedSize(*decoder);
    self->Width = size.cx;
    self->Height = size.cy;
    decoder->Disconnect();
    const std::shared_ptr<bool> alive = self->alive_;
    FireNull(self->onDecoded);
    if (!*alive) return;  // the chain destroyed the loader (and the decoder with it)
    self->completing_ = nullptr;
    self->retired_.reset();
}

void TKvImageLoader::doDraw(TData& value, uint16_t) {
    if (!Loaded || Width == 0 || Height == 0) return;
    int32_t w = Width, h = Height;

    const int32_t p1 = ReadInt(value, pullPoint1, Point1);
    const int32_t x1 = lowHalf(p1), y1 = highHalf(p1);

    if (const int32_t p2 = ReadInt(value, pullPoint2, Point2); p2 != 0) {
        w = lowHalf(p2);
        h = highHalf(p2);
    }
    if (!Point2IsSize) {
        w -= x1;
        h -= y1;
    }

    const int32_t p3 = ReadInt(value, pullBackOrigin, BackOrigin);
    const int32_t ox = lowHalf(p3), oy = highHalf(p3);

    int32_t tw = Width, th = Height;
    if (const int32_t p4 = ReadInt(value, pullTileSize, TileSize); p4 != 0) {
        tw = lowHalf(p4);
        th = highHalf(p4);
    }
    if (!TileSizeIsSize) {
        tw -= ox;
        th -= oy;
    }

    // Sides are at most 16 bits wide here, so the product cannot overflow.
    if (w <= 0 || h <= 0 || w > MaxDecodedSide || h > MaxDecodedSide ||
        int64_t(w) * h > MaxDecodedPixels)
        return;
    x1_ = x1, y1_ = y1, w_ = w, h_ = h, ox_ = ox, oy_ = oy, tw_ = tw, th_ = th;
    const TileRoutine* routine = PaintRoutine.target<TileRoutine>();
    const bool ownRoutine = routine && routine->Loader == this && decoder_;
    // The kept bitmap (a draw started from inside this one's onLoad finds
    // none and makes its own).
    std::unique_ptr<TBitmap> bitmap = std::move(bitmap_);
    if (!bitmap) bitmap = std::make_unique<TBitmap>();
    if (ownRoutine && x1 == 0 && y1 == 0 && ox == 0 && oy == 0 && w == Width && h == Height &&
        tw == Width && th == Height && DecodedInBitmapFormat(*decoder_)) {
        // The whole picture as it is, the case of every chart shown: the
        // bitmap shares the decoded pixels instead of having them drawn in.
        bitmap->AssignImage(decoder_->Image());
    } else {
        // The kept pixels are drawn over when they have the size and are
        // shared with nothing (drawing into shared pixels would copy them).
        const bool reused =
            bitmap->Width() == w && bitmap->Height() == h && bitmap->Image().isDetached();
        if (!reused) {
            bitmap->Clear();              // the old memory goes before the new is taken
            bitmap->SetSize(w, h);        // white
            if (bitmap->Empty()) return;  // the memory could not be had
        }
        TCanvas& canvas = bitmap->Canvas();
        canvas.ClearClip();
        if (reused) {
            // A new bitmap starts white. The kept one is whitened too, unless
            // the loader's own routine is about to cover every pixel: an
            // opaque picture at its natural tile size over the whole bitmap
            // (tiles repeat from any origin).
            const bool covered = ownRoutine && x1 == 0 && y1 == 0 && tw == Width && th == Height &&
                                 DecodedOpaque(*decoder_);
            if (!covered) canvas.FillRect(TRect{0, 0, w, h}, clWhite);
        }
        if (PaintRoutine) PaintRoutine(canvas);
    }
    const std::shared_ptr<bool> alive = alive_;
    FireBitmap(onLoad, bitmap.get());
    if (!*alive) return;  // the chain destroyed the loader; the bitmap goes here
    if (!bitmap_ && int64_t(w) * h <= KeptBitmapPixels) bitmap_ = std::move(bitmap);
}

void TKvImageLoader::doRelease(TData&, uint16_t) {
    if (!decoder_ || !decoder_->Completed()) return;  // a pending load is not touched
    Loaded = false;
    decoder_->ReleasePicture();
    // The kept bitmap stays (it is at most KeptBitmapPixels), and freed
    // pages go back to the system only after a larger picture: a page handed
    // back costs a page fault when the next chart needs it again, several
    // milliseconds for a chart of the default pack and tens for 2000 px.
    if (int64_t(Width) * Height > KeptBitmapPixels) ReturnFreedMemory();
}

void TKvImageLoader::TilePainter(TCanvas& canvas) {
    if (!decoder_) return;
    decoder_->Tile(canvas, TPoint{ox_, oy_}, TRect{x1_, y1_, x1_ + w_, y1_ + h_}, TSize{tw_, th_});
}
