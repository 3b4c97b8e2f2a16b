#pragma once
// TKvImageLoader: turns a picture file into a bitmap.
//
//   doLoad -> (decoding on a worker) -> onDecoded -> doDraw -> onLoad(Bitmap)
//
// doLoad expands the name (pullFileName, else FileName, else the incoming
// value) to a full path against the current folder; a missing file, a folder
// or an empty name ends the load silently. Otherwise a new decoder replaces
// the previous one (whose pending result, if any, is dropped) and decoding
// starts; doLoad returns at once. Completion arrives later from the event
// loop: Loaded, Width and Height are set and onDecoded fires with NULL.
//
// doDraw renders the decoded picture into a bitmap and fires it on onLoad;
// the bitmap is lent for that call only (the receiver copies what it keeps).
// The loader keeps that bitmap for the next draw of the same size, so a
// chart shown again reuses its memory instead of touching fresh pages; a
// whole picture at its natural size is not drawn at all when it is decoded
// in the bitmap's format: the bitmap shares the decoded pixels. The
// four settings are packed points (X in the low 16 bits, Y in the high 16
// bits, both signed), each read through its pull point with the property as
// default:
//   Point1      top left (X1, Y1) of the painted area
//   Point2      its bottom right corner, or its size when Point2IsSize;
//               0 keeps the picture's natural size
//   BackOrigin  where the tiling of the picture starts (OX, OY)
//   TileSize    the tile's bottom right corner, or its size when
//               TileSizeIsSize; 0 means the natural size
// With everything 0 the bitmap holds the whole picture at its natural size.
// Nothing fires before a load has completed, for a picture that could not be
// read (size 0), or when the bitmap would be empty or larger than a decoded
// picture may be.
//
// doPrefetch starts decoding the file the incoming value names (expanded as
// doLoad's name) ahead of a load, into the decoder's cache only: it never
// sets Loaded, Width or Height and never fires. A doLoad of the same file
// while that decode runs takes it over instead of starting another (and
// decodes again should the file have changed since the decode opened it); a
// doLoad of another file, a new doPrefetch, a doPrefetch of an empty or
// missing name and doDropPrefetch drop it (its reading stops).
//
// doRelease gives the memory of a picture no longer shown back: the decoded
// picture goes (a small one stays in the decoder's cache; after one above
// 8 Mpx the freed heap goes back to the system), Loaded becomes false, and a
// later doDraw fires nothing until another load completes. A load still
// decoding goes on.

#include <cstdint>
#include <functional>
#include <memory>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"

class ImageDecoder;
class TBitmap;
class TCanvas;

class TKvImageLoader : public TObject {
public:
    TKvImageLoader();
    ~TKvImageLoader() override;

    int32_t Width = 0, Height = 0;  // natural size of the decoded picture
    bool Loaded = false;
    TText FileName = "Charts\\AA.gif";
    int32_t Point1 = 0, Point2 = 0, BackOrigin = 0, TileSize = 0;
    bool Point2IsSize = false;
    bool TileSizeIsSize = false;
    TKV_Event pullFileName;
    TKV_Event pullPoint1;
    TKV_Event pullPoint2;
    TKV_Event pullBackOrigin;
    TKV_Event pullTileSize;
    TKV_Event onDecoded;
    TKV_Event onLoad;
    // Paints the decoded picture into the bitmap (given its canvas, the
    // picture white, no clip); bound to TilePainter at construction.
    std::function<void(TCanvas&)> PaintRoutine;

    void doLoad(TData& value, uint16_t index);
    void doDraw(TData& value, uint16_t index);
    void doRelease(TData& value, uint16_t index);
    void doPrefetch(TData& value, uint16_t index);
    void doDropPrefetch(TData& value, uint16_t index);

    // The loader's own paint routine: the picture tiled from the back origin
    // in steps of the tile size, clipped to the area of the current doDraw.
    void TilePainter(TCanvas& canvas);
    // PaintRoutine's default: TilePainter of the loader.
    struct TileRoutine {
        TKvImageLoader* Loader;
        void operator()(TCanvas& canvas) const { Loader->TilePainter(canvas); }
    };

    // The decoder in use (none before the first load that reached one).
    const ImageDecoder* Decoder() const { return decoder_.get(); }

    // Makes the decoders; a factory that answers none (or throws) stands for
    // a decoder that cannot be made. An empty factory restores the real one.
    using DecoderFactory = std::function<std::unique_ptr<ImageDecoder>()>;
    static void SetDecoderFactory(DecoderFactory factory);

private:
    static void completed(ImageDecoder* decoder, void* data);
    static void prefetched(ImageDecoder* decoder, void* data);
    std::unique_ptr<ImageDecoder> makeDecoder(const std::string& full, bool quiet);

    std::unique_ptr<ImageDecoder> decoder_;
    // A decoder replaced from inside its own completion is kept until that
    // completion has returned.
    std::unique_ptr<ImageDecoder> retired_;
    // The decode doPrefetch started (none once taken over or dropped).
    std::unique_ptr<ImageDecoder> prefetch_;
    ImageDecoder* completing_ = nullptr;
    // Cleared by the destructor, so a completion can tell whether the chain
    // it started destroyed the loader.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    // The bitmap of the last draw, kept for the next one of the same size
    // (none while a draw lends it out, or after one too large to keep).
    std::unique_ptr<TBitmap> bitmap_;
    // The area of the current doDraw, for TilePainter.
    int32_t x1_ = 0, y1_ = 0, w_ = 0, h_ = 0, ox_ = 0, oy_ = 0, tw_ = 0, th_ = 0;
};
