#include "ini_cache.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <list>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ini_format.h"
#include "tabulo/widgets/ini.h"
#include "tabulo/widgets/paths.h"

namespace ini {

namespace {

// The bytes of a file the cache keeps. Megabytes go to memory of their own,
// asked for in huge pages: a fresh buffer in small pages costs a page fault
// per 4 KiB, which on a virtual machine is most of the read (about 150 ms
// for a 32 MiB file, against 5 ms in huge pages).
class FileBytes {
public:
    FileBytes() = default;
    FileBytes(FileBytes&& o) noexcept { swap(o); }
    FileBytes& operator=(FileBytes&& o) noexcept {
        FileBytes gone(std::move(o));
        swap(gone);
        return *this;
    }
    ~FileBytes() {
        if (map_) ::munmap(map_, mapLength_);
    }

    // Makes room for n bytes (contents undefined), or keeps the first n.
    void resize(std::size_t n) {
        if (n <= size_) {
            size_ = n;
            return;
        }
        if (!map_ && small_.empty() && n >= kHugePage) {
            const std::size_t length = (n + 2 * kHugePage - 1) / kHugePage * kHugePage;
            void* m =
                ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (m != MAP_FAILED) {
                map_ = m;
                mapLength_ = length;
                const auto at = reinterpret_cast<std::uintptr_t>(m);
                data_ = static_cast<char*>(m) + (kHugePage - at % kHugePage) % kHugePage;
                ::madvise(data_, n, MADV_HUGEPAGE);  // a hint; small pages work too
                size_ = n;
                return;
            }
        }
        if (map_) {  // keeps the bytes so far, as a string would
            std::string copy(view());
            *this = FileBytes();
            small_ = std::move(copy);
        }
        small_.resize(n);
        data_ = small_.data();
        size_ = n;
    }
    char* data() { return data_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {data_, size_}; }

private:
    static constexpr std::size_t kHugePage = 2u << 20;
    void swap(FileBytes& o) noexcept {
        std::swap(map_, o.map_);
        std::swap(mapLength_, o.mapLength_);
        std::swap(small_, o.small_);
        std::swap(size_, o.size_);
        std::swap(data_, o.data_);
        if (!map_) data_ = small_.data();
        if (!o.map_) o.data_ = o.small_.data();
    }

    void* map_ = nullptr;
    std::size_t mapLength_ = 0;
    std::string small_;
    char* data_ = small_.data();
    std::size_t size_ = 0;
};

// A parsed file: the first section of each name, its keys indexed on the
// first lookup in it (a large section nobody asks for costs one scan).
class Snapshot {
public:
    // The text after the byte-order mark; a UTF-16 file is turned into UTF-8.
    explicit Snapshot(FileBytes bytes) : bytes_(std::move(bytes)) {
        text_ = bytes_.view();
        const Encoding encoding = EncodingOf(text_);
        if (encoding == Encoding::Utf16Le) {
            decoded_ = Decode(std::string(text_)).text;
            bytes_ = FileBytes();
            text_ = decoded_;
        } else {
            text_.remove_prefix(MarkLength(encoding));
        }
    }

    // Only lines whose first non-blank character is '[' matter here, so the
    // scan jumps from bracket to bracket at memory speed.
    void FindSections() {
        const std::string_view t(text_);
        Section* open = nullptr;
        std::size_t pos = 0;
        while (pos < t.size()) {
            const void* hit = std::memchr(t.data() + pos, '[', t.size() - pos);
            if (!hit) break;
            const std::size_t bracket =
                static_cast<std::size_t>(static_cast<const char*>(hit) - t.data());
            pos = bracket + 1;
            std::size_t begin = bracket;
            while (begin > 0 && IsBlank(t[begin - 1])) --begin;
            if (begin > 0 && t[begin - 1] != '\n' && t[begin - 1] != '\r') continue;
            std::size_t contentEnd = bracket;
            while (contentEnd < t.size() && t[contentEnd] != '\r' && t[contentEnd] != '\n')
                ++contentEnd;
            std::size_t end = contentEnd;
            if (end < t.size())
                end += (t[end] == '\r' && end + 1 < t.size() && t[end + 1] == '\n') ? 2 : 1;
            std::string_view name, value;
            Classify(t.substr(begin, contentEnd - begin), name, value);
            if (open) open->end = begin;
            Section fresh;
            fresh.begin = end;
            fresh.end = t.size();
            auto [it, added] = sections_.try_emplace(LowerName(name), std::move(fresh));
            open = added ? &it->second : nullptr;
            pos = end;
        }
    }

    std::optional<std::string_view> Lookup(std::string_view section, std::string_view key) {
        auto it = sections_.find(LowerName(section));
        if (it == sections_.end()) return std::nullopt;
        Section& s = it->second;
        if (!s.indexed) index(s);
        auto k = s.keys.find(LowerName(key));
        if (k == s.keys.end()) return std::nullopt;
        return k->second;
    }

    std::string_view Text() const { return text_; }

private:
    struct Section {
        std::size_t begin = 0, end = 0;
        bool indexed = false;
        std::unordered_map<std::string, std::string_view> keys;
    };

    void index(Section& s) {
        const std::string_view text(text_);
        LineReader reader(text.substr(0, s.end), s.begin);
        Line line;
        while (reader.next(line)) {
            std::string_view name, value;
            if (Classify(text.substr(line.begin, line.contentEnd - line.begin), name, value) ==
                LineKind::Key)
                s.keys.try_emplace(LowerName(name), value);  // the first key wins
        }
        s.indexed = true;
    }

    FileBytes bytes_;
    std::string decoded_;
    std::string_view text_;
    std::unordered_map<std::string, Section> sections_;
};

struct FileKey {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{}, ctime{};

    explicit FileKey(const struct stat& st)
        : dev(st.st_dev), ino(st.st_ino), size(st.st_size), mtime(st.st_mtim), ctime(st.st_ctim) {}
    bool operator==(const FileKey& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && Same(mtime, o.mtime) &&
               Same(ctime, o.ctime);
    }
    static bool Same(const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    }
};

struct Entry {
    std::string path;
    FileKey key;
    bool racy = true;  // changed too recently to trust the key alone
    int64_t readAt = 0;
    std::unique_ptr<Snapshot> snapshot;  // none: the file could not be read
    uint64_t trustedIn = 0;              // the read scope that checked it last
};

// A file name as the open read scope resolved it.
struct Resolution {
    std::string name, path;
};

// Changes closer together than this may share a timestamp: the kernel stamps
// files from a clock that ticks every few milliseconds, and file systems
// without nanoseconds (whole or even seconds) round further.
constexpr int64_t kFineRacyNs = 50'000'000;
constexpr int64_t kCoarseRacyNs = 2'100'000'000;
// A large file read in that window is trusted for a moment rather than read
// again at every one of a burst of calls (a refresh reads 39 keys at once).
constexpr std::size_t kLargeFile = 1u << 20;
constexpr int64_t kLargeRecheckNs = 10'000'000;
constexpr std::size_t kMaxEntries = 4;
constexpr std::size_t kMaxCachedBytes = 2 * MaxIniFileSize;

std::mutex& CacheMutex() {
    static std::mutex m;
    return m;
}

std::list<Entry>& Entries() {
    static std::list<Entry> entries;
    return entries;
}

// Read scopes get numbers never used before, and so does the outer scope
// again when an inner one ends: what a scope trusts ends with it. A scope
// open for longer than this takes a new number too: a modal loop may run
// inside one event with no event of the layer's windows to end the trust.
constexpr int64_t kScopeLifeNs = 20'000'000;
std::atomic<uint64_t> lastScope{0};
thread_local int scopeDepth = 0;
thread_local uint64_t openScope = 0;  // 0: no scope open on this thread
thread_local int64_t openSince = 0;

int64_t Monotonic() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

void RenewScope() {
    openScope = lastScope.fetch_add(1, std::memory_order_relaxed) + 1;
    openSince = Monotonic();
}

uint64_t CurrentScope() {
    if (openScope != 0 && Monotonic() - openSince > kScopeLifeNs) RenewScope();
    return openScope;
}

// The names resolved in one scope (a handful: the files one event reads).
struct Resolutions {
    uint64_t scope = 0;
    std::vector<Resolution> list;
};

Resolutions& Resolved() {
    static Resolutions r;
    return r;
}

// The name as NativePath resolves it; inside a scope, each name once.
const std::string& Resolve(std::string_view name, uint64_t scope, std::string& scratch) {
    if (scope == 0) return scratch = NativePath(name);
    Resolutions& r = Resolved();
    if (r.scope != scope) {
        r.scope = scope;
        r.list.clear();
    }
    for (const Resolution& known : r.list)
        if (known.name == name) return known.path;
    if (r.list.size() >= 8) r.list.erase(r.list.begin());
    r.list.push_back(Resolution{std::string(name), NativePath(name)});
    return r.list.back().path;
}

int64_t Nanoseconds(const timespec& t) {
    return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

int64_t Now() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now);
}

// Whether a later change could still get the same timestamps as the file
// has now (then the next read reads the file again).
bool Racy(const struct stat& st) {
    const bool fine = st.st_mtim.tv_nsec != 0 || st.st_ctim.tv_nsec != 0;
    const int64_t changed = std::max(Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim));
    return Now() - changed < (fine ? kFineRacyNs : kCoarseRacyNs);
}

}  // namespace

namespace {

// Reads a whole regular file of at most MaxIniFileSize bytes into a buffer
// with resize(n) and data(), as ReadRegularFile promises.
template <class Buffer>
std::optional<Buffer> ReadWhole(const std::string& path, struct stat& st) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::optional<Buffer> result;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::uintmax_t>(st.st_size) <= MaxIniFileSize) {
        Buffer data;
        data.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        bool ok = true;
        while (got < data.size()) {
            const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (ok) {
            data.resize(got);
            result = std::move(data);
        }
    }
    ::close(fd);
    return result;
}

}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, struct stat* status) {
    struct stat own {};
    return ReadWhole<std::string>(path, status ? *status : own);
}

namespace {

// Reads the file again; a snapshot of the same text (a doubtful entry that
// turned out unchanged) is kept with its indexes instead of parsing anew.
// Inside a scope a file that cannot be read is remembered as such, for that
// scope only.
Entry* Load(const std::string& path, std::unique_ptr<Snapshot> previous, uint64_t scope) {
    struct stat st {};
    auto bytes = ReadWhole<FileBytes>(path, st);
    if (!bytes && scope == 0) return nullptr;
    auto& entries = Entries();
    if (bytes) {
        auto fresh = std::make_unique<Snapshot>(std::move(*bytes));
        if (previous && previous->Text() == fresh->Text())
            fresh = std::move(previous);
        else
            fresh->FindSections();
        entries.push_front(Entry{path, FileKey(st), Racy(st), Now(), std::move(fresh), scope});
    } else {
        entries.push_front(Entry{path, FileKey(st), true, 0, nullptr, scope});
    }
    std::size_t total = 0, count = 0;
    for (auto it = entries.begin(); it != entries.end();) {
        total += it->snapshot ? it->snapshot->Text().size() : 0;
        if (++count > kMaxEntries || (count > 1 && total > kMaxCachedBytes))
            it = entries.erase(it);
        else
            ++it;
    }
    return &entries.front();
}

}  // namespace

std::optional<std::string> CachedValue(std::string_view fileName, std::string_view section,
                                       std::string_view key) {
    std::lock_guard lock(CacheMutex());
    const uint64_t scope = CurrentScope();
    std::string scratch;
    const std::string& path = Resolve(fileName, scope, scratch);
    auto& entries = Entries();
    auto it = entries.begin();
    while (it != entries.end() && it->path != path) ++it;
    Entry* entry = nullptr;
    std::unique_ptr<Snapshot> previous;
    if (it != entries.end() && scope != 0 && it->trustedIn == scope) {
        entry = &*it;
    } else if (it != entries.end()) {
        struct stat st {};
        if (it->snapshot && ::stat(path.c_str(), &st) == 0 && FileKey(st) == it->key) {
            const bool doubtful = it->racy && (it->snapshot->Text().size() <= kLargeFile ||
                                               Now() - it->readAt >= kLargeRecheckNs);
            if (doubtful) {
                previous = std::move(it->snapshot);
            } else {
                entries.splice(entries.begin(), entries, it);  // most recently used first
                entry = &entries.front();
                entry->trustedIn = scope;
            }
        }
        if (!entry) entries.erase(it);
    }
    if (!entry) entry = Load(path, std::move(previous), scope);
    if (!entry || !entry->snapshot) return std::nullopt;
    auto raw = entry->snapshot->Lookup(section, key);
    if (!raw) return std::nullopt;
    return ValueOf(*raw);
}

void ForgetCachedFiles() {
    std::lock_guard lock(CacheMutex());
    Entries().clear();
    Resolved().list.clear();
}

}  // namespace ini

TIniReadScope::TIniReadScope() {
    ++ini::scopeDepth;
    ini::RenewScope();
}

TIniReadScope::~TIniReadScope() {
    if (--ini::scopeDepth > 0)
        ini::RenewScope();
    else
        ini::openScope = 0;
}
