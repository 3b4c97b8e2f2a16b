#include "tabulo/widgets/imagedecoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "tabulo/widgets/canvas.h"
#include "tabulo/widgets/imagebytes.h"
#include "tabulo/widgets/paths.h"

// What a decode thread and the posted completion share with the decoder.
// The decoder is reached only on the user-interface thread, through owner,
// which the decoder clears when it stops waiting. The thread reads wanted,
// and posts to mailbox under the lock, which the decoder clears (under the
// same lock) before the mailbox can go.
struct ImageDecoder::Shared {
    std::atomic<bool> wanted{true};
    ImageDecoder* owner = nullptr;
    std::mutex lock;
    QObject* mailbox = nullptr;
    std::string path;
};

namespace {

std::atomic<int> runningDecodes{0};

int64_t Nanoseconds(const timespec& t) {
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

FileStamp StampOf(const struct stat& st) {
    if (!S_ISREG(st.st_mode)) return FileStamp{};
    return FileStamp{uint64_t(st.st_dev), uint64_t(st.st_ino), int64_t(st.st_size),
                     Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)};
}

// A file whose reads fail once its decode is no longer wanted, so that a
// superseded decode of a slow picture stops at the reader's next block.
class CancellableFile : public QFile {
public:
    explicit CancellableFile(const std::atomic<bool>* wanted) : wanted_(wanted) {}

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (wanted_ && !wanted_->load(std::memory_order_relaxed)) return -1;
        return QFile::readData(data, maxSize);
    }

private:
    const std::atomic<bool>* wanted_;
};

// Decode threads stay parked a while after a decode, so that the next one
// does not pay for a new thread (its start, stack and heap arena cost about
// a quarter of a default chart's decode). A decode never waits for a thread:
// with none parked, a new one starts, so one stuck in open() on a hung mount
// holds up nothing but itself.
class DecodeThreads {
public:
    static DecodeThreads& instance() {
        // Never destroyed: threads parked or still decoding at exit must not
        // find it gone.
        static DecodeThreads* threads = new DecodeThreads;
        return *threads;
    }

    // Runs the job on a parked thread or a new one; throws std::system_error
    // when no thread can be had.
    void run(std::function<void()> job) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (parked_ > 0) {
                --parked_;  // that thread is spoken for
                jobs_.push_back(std::move(job));
                wake_.notify_one();
                return;
            }
        }
        std::thread([this, job = std::move(job)]() mutable { serve(std::move(job)); }).detach();
    }

private:
    static constexpr int kMaxParked = 2;
    static constexpr std::chrono::seconds kLinger{30};

    // Every queued job has a parked thread of its own: a thread leaves only
    // when it wakes to no job.
    void serve(std::function<void()> job) {
        for (;;) {
            job();
            job = nullptr;  // what the job held goes before the thread parks
            std::unique_lock<std::mutex> lock(mutex_);
            if (parked_ >= kMaxParked) return;
            ++parked_;
            if (!wake_.wait_for(lock, kLinger, [this] { return !jobs_.empty(); })) {
                --parked_;
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    int parked_ = 0;
};

// The decoded pictures of unchanged files (user-interface thread only).
class Cache {
public:
    static Cache& instance() {
        static Cache cache;
        return cache;
    }

    QImage find(const std::string& path, const FileStamp& stamp) {
        auto it = std::find_if(entries_.begin(), entries_.end(),
                               [&](const Entry& e) { return e.path == path; });
        if (it == entries_.end()) return QImage();
        if (!stamp.Valid() || !(it->stamp == stamp)) {  // changed or gone: never shown
            erase(it);
            return QImage();
        }
        std::rotate(entries_.begin(), it, it + 1);  // most recently used first
        return entries_.front().image;
    }

    void put(const std::string& path, const FileStamp& stamp, const QImage& image) {
        const qint64 bytes = image.sizeInBytes();
        if (!stamp.Valid() || image.isNull() || bytes > PictureCache::EntryLimit) return;
        auto it = std::find_if(entries_.begin(), entries_.end(),
                               [&](const Entry& e) { return e.path == path; });
        if (it != entries_.end()) erase(it);
        entries_.insert(entries_.begin(), Entry{path, stamp, image});
        bytes_ += bytes;
        while (bytes_ > PictureCache::Budget || entries_.size() > kMaxEntries)
            erase(entries_.end() - 1);
    }

    void clear() {
        entries_.clear();
        bytes_ = 0;
    }
    qint64 bytes() const { return bytes_; }
    int count() const { return int(entries_.size()); }

private:
    struct Entry {
        std::string path;
        FileStamp stamp;
        QImage image;
    };
    static constexpr std::size_t kMaxEntries = 64;

    void erase(std::vector<Entry>::iterator it) {
        bytes_ -= it->image.sizeInBytes();
        entries_.erase(it);
    }

    std::vector<Entry> entries_;
    qint64 bytes_ = 0;
};

}  // namespace

FileStamp StampOfFile(const std::string& nativePath) {
    struct stat st {};
    if (::stat(nativePath.c_str(), &st) != 0) return FileStamp{};
    return StampOf(st);
}

DecodedFile DecodePictureFile(const std::string& nativePath, const std::atomic<bool>* wanted) {
    // O_NONBLOCK: opening a FIFO or a device must not wait for a writer or
    // for the device; it changes nothing for a regular file. The type is
    // checked on the opened file, so nothing can swap it in between.
    const int fd = ::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return {};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return {};
    }
    CancellableFile file(wanted);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    DecodedFile decoded;
    decoded.Stamp = StampOf(st);
    decoded.Image = DecodePicture(file);
    if (wanted && !*wanted) decoded.Image = QImage();
    return decoded;
}

qint64 PictureCache::Bytes() {
    return Cache::instance().bytes();
}
int PictureCache::Count() {
    return Cache::instance().count();
}
void PictureCache::Clear() {
    Cache::instance().clear();
}

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

int ImageDecoder::RunningDecodes() {
    return runningDecodes.load();
}

ImageDecoder::ImageDecoder(DecodeFunction decode) : decode_(decode ? decode : &DecodePictureFile) {}

ImageDecoder::~ImageDecoder() {
    dropPending();
    // Deleted from inside its own completion: the mailbox is still
    // delivering that completion, so it goes once the delivery is over.
    if (delivering_ && mailbox_) mailbox_.release()->deleteLater();
}

void ImageDecoder::dropPending() {
    if (!shared_) return;
    shared_->wanted = false;
    shared_->owner = nullptr;
    {
        std::lock_guard<std::mutex> lock(shared_->lock);
        shared_->mailbox = nullptr;
    }
    shared_.reset();
}

void ImageDecoder::Load(std::string_view path) {
    dropPending();
    completed_ = false;
    requireCurrent_ = false;
    image_ = QImage();
    path_ = std::string(path);

    auto shared = std::make_shared<Shared>();
    shared->owner = this;
    shared->path = NativePath(path);
    shared_ = shared;
    if (!QCoreApplication::instance()) return;  // no event loop to complete on
    if (!mailbox_) mailbox_ = std::make_unique<QObject>();
    shared->mailbox = mailbox_.get();

    auto post = [](const std::shared_ptr<Shared>& s, DecodedFile decoded) {
        QMetaObject::invokeMethod(
            s->mailbox,
            [s, decoded = std::move(decoded)]() mutable {
                if (ImageDecoder* owner = s->owner) owner->finish(std::move(decoded), s->path);
            },
            Qt::QueuedConnection);
    };

    // A picture of this very file decoded before completes without a read.
    const FileStamp stamp = StampOfFile(shared->path);
    if (QImage kept = Cache::instance().find(shared->path, stamp); !kept.isNull()) {
        post(shared, DecodedFile{std::move(kept), stamp});
        return;
    }

    LimitDecoderAllocations();
    ++runningDecodes;
    try {
        DecodeThreads::instance().run([shared, post, decode = decode_] {
            DecodedFile decoded;
            if (shared->wanted) decoded = decode(shared->path, &shared->wanted);
            {
                std::lock_guard<std::mutex> lock(shared->lock);
                if (shared->mailbox) post(shared, std::move(decoded));
            }
            --runningDecodes;
        });
    } catch (const std::system_error&) {
        --runningDecodes;  // no thread to be had: the picture cannot be read
        post(shared, DecodedFile{});
    }
}

void ImageDecoder::RequireCurrent() {
    if (!shared_) return;
    requireCurrent_ = true;
    required_ = StampOfFile(shared_->path);
}

void ImageDecoder::finish(DecodedFile decoded, const std::string& path) {
    // One completion per load: the shared state is done with.
    dropPending();
    if (requireCurrent_ && !(decoded.Stamp == required_)) {
        const std::string again = path_;  // Load replaces path_
        Load(again);
        return;
    }
    requireCurrent_ = false;
    completed_ = true;
    image_ = std::move(decoded.Image);
    Cache::instance().put(path, decoded.Stamp, image_);
    Callback callback = callback_;
    if (!callback) return;
    delivering_ = true;
    const std::weak_ptr<bool> alive = alive_;
    callback(this, data_);  // may delete this
    if (!alive.expired()) delivering_ = false;
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
