#pragma once
// ImageDecoder: the platform image decoder the image loader drives.
//
// Load(path) starts decoding on a thread of the decoder's own with
// QImageReader (PNG, GIF, JPEG and whatever else Qt reads). Completion is
// posted to the application's (user-interface) thread, from which Load must
// be called, and calls the completion routine from its event loop, always
// after Load has returned, at most once per load. A picture that cannot be
// read (missing, not a regular file, corrupt, truncated, empty, or larger
// than MaxDecodedPixels) completes with the size 0 x 0.
//
// Only regular files are read, and the file is opened without blocking, so
// a FIFO or a device named as a picture fails at once. Each decode runs on a
// detached thread (a parked one from an earlier decode when there is one,
// else a new one) and owns everything it touches: destroying a decoder,
// Disconnect, or a new Load drops the pending completion and stops the
// reading at its next block; nothing ever waits for a decode, and leaving
// the program abandons one still running (one stuck in open() on a hung
// mount, say).
//
// A picture decoded from an unchanged file is kept in a small cache (see
// PictureCache below): loading it again completes from the event loop
// without reading the file.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "tabulo/widgets/obj.h"

class QObject;
class QPainter;
class TCanvas;

// Pictures larger than this (in pixels) are refused: 64 Mpx is 256 MB at
// 4 bytes a pixel.
inline constexpr qint64 MaxDecodedPixels = 64ll * 1024 * 1024;
// Either side above this is refused (QPainter's coordinate limit).
inline constexpr int MaxDecodedSide = 32767;
// Qt's own allocation guard (QImageReader::allocationLimit, in MB) is set to
// the largest accepted picture at the widest pixel Qt decodes PNG, GIF and
// JPEG into (8 bytes, 16-bit PNG), so the two limits agree.
inline constexpr int DecoderAllocationLimitMB = int(MaxDecodedPixels * 8 / (1024 * 1024));

// Which version of a file a picture was decoded from: a file rewritten,
// replaced or touched has another stamp (the change time moves with any
// write, even one that restores the modification time).
struct FileStamp {
    uint64_t Device = 0;
    uint64_t Inode = 0;
    int64_t Size = -1;  // -1: no file
    int64_t ModifiedNs = 0;
    int64_t ChangedNs = 0;
    bool Valid() const { return Size >= 0; }
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the regular file at the (native) path; invalid for anything
// else.
FileStamp StampOfFile(const std::string& nativePath);

struct DecodedFile {
    QImage Image;     // null when the file could not be read
    FileStamp Stamp;  // of the file as opened
};

// Decodes one picture file (a native path) on the calling thread: opens it
// without blocking, refuses anything but a regular file, and reads it within
// the decoder's limits. Stops early, with a null picture, once *wanted turns
// false. Touches nothing but its own data.
DecodedFile DecodePictureFile(const std::string& nativePath,
                              const std::atomic<bool>* wanted = nullptr);

// Decoded pictures of unchanged files, most recently used first, for the
// user-interface thread only. A picture enters when a decode of a file
// completes and is no larger than EntryLimit; the oldest leave when the
// whole exceeds Budget. An entry is used only while the file's stamp is the
// one it was decoded from.
namespace PictureCache {
inline constexpr qint64 Budget = 12ll * 1024 * 1024;
inline constexpr qint64 EntryLimit = 4ll * 1024 * 1024;
qint64 Bytes();
int Count();
void Clear();
}  // namespace PictureCache

// Hands freed heap memory back to the system (after a large picture goes).
void ReturnFreedMemory();

class ImageDecoder {
public:
    using Callback = void (*)(ImageDecoder* decoder, void* data);
    // What a decode thread runs; DecodePictureFile unless a test says else.
    using DecodeFunction = DecodedFile (*)(const std::string& nativePath,
                                           const std::atomic<bool>* wanted);

    explicit ImageDecoder(DecodeFunction decode = &DecodePictureFile);
    ~ImageDecoder();
    ImageDecoder(const ImageDecoder&) = delete;
    ImageDecoder& operator=(const ImageDecoder&) = delete;

    // Starts decoding the file (a full path; '\' is accepted as separator).
    // Completion comes later through the callback.
    void Load(std::string_view path);

    // The path of the last Load, and whether that load is still to complete.
    const std::string& Path() const { return path_; }
    bool Pending() const { return shared_ != nullptr; }
    // The pending load must answer for the file as it is now: a decode that
    // read another version of it (the file was rewritten, replaced or
    // deleted since the decode opened it) starts again when it ends, so a
    // load begun early (when the pointer came over a chart, say) and taken
    // over by a later request never completes with what the file no longer
    // holds.
    void RequireCurrent();

    // The routine called on completion, with the decoder and the data.
    void SetCallback(Callback callback, void* data);

    // Stops the decoder from calling back; a pending completion is dropped.
    void Disconnect();

    // Drops the decoded picture (its pixels stay only where the cache or a
    // receiver holds them); the size becomes 0 x 0.
    void ReleasePicture() { image_ = QImage(); }

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

    // Decode threads started and not yet finished, in the whole process
    // (abandoned ones included).
    static int RunningDecodes();

    struct Shared;

private:
    void dropPending();
    void finish(DecodedFile decoded, const std::string& path);

    DecodeFunction decode_;
    std::shared_ptr<Shared> shared_;
    // Receives the posted completions; deleting it discards those not yet
    // delivered.
    std::unique_ptr<QObject> mailbox_;
    Callback callback_ = nullptr;
    void* data_ = nullptr;
    std::string path_;
    bool completed_ = false;
    bool delivering_ = false;  // inside the completion routine
    bool requireCurrent_ = false;
    FileStamp required_;  // with requireCurrent_: the file when it was asked
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    QImage image_;
};
