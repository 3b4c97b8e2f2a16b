#include "tabulo/widgets/imagedecoder.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>
#include <QThreadPool>
#include <atomic>
#include <mutex>
#include <vector>

#include "tabulo/widgets/canvas.h"
#include "tabulo/widgets/paths.h"

// What the worker and the posted completion share with the decoder. The
// decoder is reached only on the user-interface thread, through owner,
// which the decoder clears when it stops waiting; the worker itself only
// reads wanted.
struct ImageDecoder::Shared {
    std::atomic<bool> wanted{true};
    ImageDecoder* owner = nullptr;
};

namespace {

// Pixel buffers of dropped pictures, kept for the next decode of the same
// size and format: touching freshly mapped memory costs more than decoding.
class BufferPool {
public:
    static BufferPool& instance() {
        static BufferPool pool;
        return pool;
    }

    void give(QImage&& image) {
        if (image.isNull() || !image.isDetached()) return;
        const qint64 bytes = image.sizeInBytes();
        if (bytes > kMaxBytes) return;
        std::lock_guard<std::mutex> lock(mutex_);
        images_.push_back(std::move(image));
        total_ += bytes;
        while (images_.size() > kMaxImages || total_ > kMaxBytes) {
            total_ -= images_.front().sizeInBytes();
            images_.erase(images_.begin());
        }
    }

    QImage take(QSize size, QImage::Format format) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto it = images_.begin(); it != images_.end(); ++it) {
            if (it->size() == size && it->format() == format) {
                QImage image = std::move(*it);
                total_ -= image.sizeInBytes();
                images_.erase(it);
                return image;
            }
        }
        return QImage();
    }

private:
    static constexpr std::size_t kMaxImages = 2;
    static constexpr qint64 kMaxBytes = 64ll * 1024 * 1024;
    std::mutex mutex_;
    std::vector<QImage> images_;
    qint64 total_ = 0;
};

bool AcceptableSize(QSize size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= MaxDecodedSide &&
           size.height() <= MaxDecodedSide &&
           qint64(size.width()) * size.height() <= MaxDecodedPixels;
}

// Qt's own allocation guard, for pictures whose header gives no size. Set on
// the user-interface thread before the first worker starts.
void LimitAllocations() {
    static const bool done = [] {
        const int mb = static_cast<int>(MaxDecodedPixels * 4 / (1024 * 1024));
        if (QImageReader::allocationLimit() == 0 || QImageReader::allocationLimit() > mb)
            QImageReader::setAllocationLimit(mb);
        return true;
    }();
    (void)done;
}

QImage Decode(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    // A size the header gives must be sane before anything is allocated.
    if (size.isValid() && !AcceptableSize(size)) return QImage();
    // The PNG and JPEG readers write every pixel of a buffer they are given;
    // other readers (GIF frames, for one) may paint only part of it, so they
    // get a fresh buffer.
    const QByteArray format = reader.format();
    const bool fullWrite = format == "png" || format == "jpeg" || format == "jpg";
    QImage image;
    if (size.isValid() && fullWrite)
        image = BufferPool::instance().take(size, reader.imageFormat());
    if (!reader.read(&image) || !AcceptableSize(image.size())) {
        BufferPool::instance().give(std::move(image));
        return QImage();
    }
    return image;
}

}  // namespace

ImageDecoder::ImageDecoder() = default;

ImageDecoder::~ImageDecoder() {
    dropPending();
    BufferPool::instance().give(std::move(image_));
}

void ImageDecoder::dropPending() {
    if (!shared_) return;
    shared_->wanted = false;
    shared_->owner = nullptr;
    shared_.reset();
}

void ImageDecoder::Load(std::string_view path) {
    dropPending();
    completed_ = false;
    BufferPool::instance().give(std::move(image_));
    image_ = QImage();

    auto shared = std::make_shared<Shared>();
    shared->owner = this;
    shared_ = shared;
    QObject* ui = QCoreApplication::instance();
    if (!ui) return;  // no event loop to complete on
    LimitAllocations();
    const QString file = QString::fromStdString(NativePath(path));
    QPointer<QObject> target(ui);
    QThreadPool::globalInstance()->start([shared, file, target] {
        QImage image;
        if (shared->wanted) image = Decode(file);
        if (!shared->wanted || !target) {
            BufferPool::instance().give(std::move(image));
            return;
        }
        QMetaObject::invokeMethod(
            target.data(),
            [shared, image = std::move(image)]() mutable {
                if (ImageDecoder* owner = shared->owner) {
                    owner->finish(std::move(image));
                } else {
                    BufferPool::instance().give(std::move(image));
                }
            },
            Qt::QueuedConnection);
    });
}

void ImageDecoder::finish(QImage image) {
    // One completion per load: the shared state is done with.
    dropPending();
    completed_ = true;
    image_ = std::move(image);
    if (Callback callback = callback_) callback(this, data_);  // may delete this
}

void ImageDecoder::SetCallback(Callback callback, void* data) {
    callback_ = callback;
    data_ = data;
}

void ImageDecoder::Disconnect() {
    dropPending();
    callback_ = nullptr;
    data_ = nullptr;
}

void ImageDecoder::Tile(QPainter& painter, QPoint origin, const QRect& clip, QSize tileSize) const {
    if (!completed_ || image_.isNull() || tileSize.width() <= 0 || tileSize.height() <= 0 ||
        clip.isEmpty())
        return;
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    const int tw = tileSize.width();
    const int th = tileSize.height();
    // The first tile position at or before the clip's top-left corner.
    auto firstStep = [](int from, int to, int step) {
        long long d = (static_cast<long long>(to) - from);
        long long k = d >= 0 ? d / step : -((-d + step - 1) / step);
        return static_cast<long long>(from) + k * step;
    };
    const long long x0 = firstStep(origin.x(), clip.left(), tw);
    const long long y0 = firstStep(origin.y(), clip.top(), th);
    const long long right = static_cast<long long>(clip.left()) + clip.width();
    const long long bottom = static_cast<long long>(clip.top()) + clip.height();
    const long long tiles = ((right - x0 + tw - 1) / tw) * ((bottom - y0 + th - 1) / th);
    const bool natural = tileSize == image_.size();
    if (natural && tiles == 1) {
        painter.drawImage(QPoint(int(x0), int(y0)), image_);
    } else if (tiles <= 4096) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, !natural);
        for (long long y = y0; y < bottom; y += th)
            for (long long x = x0; x < right; x += tw)
                painter.drawImage(QRect(int(x), int(y), tw, th), image_);
    } else {
        // Many small tiles: one scaled tile as a brush pattern.
        const QImage tile =
            natural ? image_
                    : image_.scaled(tileSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QBrush brush(tile);
        brush.setTransform(QTransform::fromTranslate(origin.x(), origin.y()));
        painter.fillRect(clip, brush);
    }
    painter.restore();
}

void ImageDecoder::Tile(TCanvas& canvas, TPoint origin, const TRect& clip, TSize tileSize) const {
    if (!completed_ || image_.isNull()) return;
    canvas.WithPainter([&](QPainter& painter) {
        Tile(painter, QPoint(origin.X, origin.Y),
             QRect(clip.Left, clip.Top, clip.Width(), clip.Height()),
             QSize(tileSize.cx, tileSize.cy));
    });
}
