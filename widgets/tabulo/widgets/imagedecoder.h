#pragma once
// ImageDecoder: the platform image decoder the image loader drives.
//
// Load(path) starts decoding on a worker thread with QImageReader (PNG, GIF,
// JPEG and whatever else Qt reads). Completion is posted to the application's
// (user-interface) thread, from which Load must be called, and calls the
// completion routine from its event loop, always after Load has returned, at
// most once per load. A picture that cannot be read (missing, corrupt, truncated, empty, or
// larger than MaxDecodedPixels) completes with the size 0 x 0.
//
// Destroying a decoder, Disconnect, or a new Load drops any pending
// completion; the worker never touches a dead decoder. Decoded pictures
// hand their pixel buffers back to a small pool when they are dropped, so the
// next decode of the same size reuses the memory instead of touching fresh
// pages.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>
#include <string_view>

#include "tabulo/widgets/obj.h"

class QPainter;
class TCanvas;

// Pictures larger than this (in pixels) are refused: 64 Mpx is 256 MB.
inline constexpr qint64 MaxDecodedPixels = 64ll * 1024 * 1024;
// Either side above this is refused (QPainter's coordinate limit).
inline constexpr int MaxDecodedSide = 32767;

class ImageDecoder {
public:
    using Callback = void (*)(ImageDecoder* decoder, void* data);

    ImageDecoder();
    ~ImageDecoder();
    ImageDecoder(const ImageDecoder&) = delete;
    ImageDecoder& operator=(const ImageDecoder&) = delete;

    // Starts decoding the file (a full path; '\' is accepted as separator).
    // Completion comes later through the callback.
    void Load(std::string_view path);

    // The routine called on completion, with the decoder and the data.
    void SetCallback(Callback callback, void* data);

    // Stops the decoder from calling back; a pending completion is dropped.
    void Disconnect();

    // Whether the last load has completed, and the picture's natural size
    // (0 x 0 before completion and when the picture could not be read).
    bool Completed() const { return completed_; }
    QSize Size() const { return completed_ ? image_.size() : QSize(0, 0); }

    // Paints the picture, scaled to tileSize, repeated from origin in steps
    // of tileSize in both directions, clipped to clip (right and bottom
    // exclusive). Nothing is painted before completion, for an empty picture
    // or for a tile size that is not positive.
    void Tile(QPainter& painter, QPoint origin, const QRect& clip, QSize tileSize) const;
    // The same on a widget-layer canvas (a bitmap's canvas, or a control's
    // during its paint), within the canvas's own clip.
    void Tile(TCanvas& canvas, TPoint origin, const TRect& clip, TSize tileSize) const;

    // The decoded picture (null before completion or on failure).
    const QImage& Image() const { return image_; }

    struct Shared;

private:
    void dropPending();
    void finish(QImage image);

    std::shared_ptr<Shared> shared_;
    Callback callback_ = nullptr;
    void* data_ = nullptr;
    bool completed_ = false;
    QImage image_;
};
