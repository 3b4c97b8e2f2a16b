#include "tabulo/widgets/ini.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>

#include "ini_cache.h"
#include "ini_format.h"
#include "tabulo/widgets/paths.h"

namespace {

using namespace ini;

constexpr std::string_view kLineEnd = "\r\n";

bool HasWriteBit(const struct stat& st) {
    return (st.st_mode & 0222) != 0;
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

enum class Outcome { Done, Failed, NoTemporary };

// Writes the bytes to a temporary file beside path and renames it over path.
// existing: the stat of the file being replaced, whose mode and owner the new
// file keeps.
Outcome ReplaceFile(const std::string& path, std::string_view bytes, const struct stat* existing) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(path);
    const std::string base =
        path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = folder + "/." + base + ".tmp" + std::to_string(::getpid()) + "." +
               std::to_string(counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return errno == EACCES || errno == EPERM ? Outcome::NoTemporary : Outcome::Failed;
    }
    if (fd < 0) return Outcome::Failed;
    bool ok = true;
    if (existing) {
        ok = ::fchmod(fd, existing->st_mode & 07777) == 0;
        // Keeping the owner only works for root; a failure is harmless.
        if (ok && ::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
        }
    }
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok ? Outcome::Done : Outcome::Failed;
}

// Rewrites the file itself, for a file the user may write in a folder where
// no temporary file can be made: the whole new content goes over the old
// from the start, then the file is cut to its length and flushed.
bool WriteInPlace(const std::string& path, std::string_view bytes, const struct stat& existing) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_ino == existing.st_ino &&
              st.st_dev == existing.st_dev;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    return ok;
}

void Append(std::string& out, std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts) out.append(part);
}

bool EndsWithLineEnd(std::string_view text) {
    return text.empty() || text.back() == '\n' || text.back() == '\r';
}

// A value must fit on one line: a line break or NUL would store something
// else than asked (or inject keys and sections), so such a write is refused.
bool FitsOnOneLine(std::string_view v) {
    return v.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// The form a value is written in: in double quotes when the reader would
// otherwise lose its edge blanks or a pair of quotes around it.
std::string Stored(std::string_view value) {
    if (StripQuotes(TrimBlanks(value)) == value) return std::string(value);
    return "\"" + std::string(value) + "\"";
}

// The text with the key set; the caller checks that it reads back.
std::string WithValue(std::string text, std::string_view section, std::string_view key,
                      std::string_view stored) {
    const Location loc = Find(text, section, key);
    if (loc.keyFound) {
        std::string line;
        Append(line, {loc.fileKey, "=", stored});
        text.replace(loc.keyLine.begin, loc.keyLine.contentEnd - loc.keyLine.begin, line);
    } else if (loc.sectionFound) {
        std::string insert;
        if (loc.lastKeyOrHeader.end == loc.lastKeyOrHeader.contentEnd) insert += kLineEnd;
        Append(insert, {key, "=", stored, kLineEnd});
        text.insert(loc.lastKeyOrHeader.end, insert);
    } else {
        if (!EndsWithLineEnd(text)) text += kLineEnd;
        Append(text, {"[", section, "]", kLineEnd, key, "=", stored, kLineEnd});
    }
    if (!EndsWithLineEnd(text)) text += kLineEnd;
    return text;
}

bool ReadsBack(std::string_view text, std::string_view section, std::string_view key,
               std::string_view value) {
    const Location loc = Find(text, section, key);
    return loc.keyFound && ValueOf(loc.value) == value;
}

int32_t ParseInt(std::string_view v) {
    std::size_t i = 0;
    while (i < v.size() && IsBlank(v[i])) ++i;
    bool negative = false;
    if (i < v.size() && (v[i] == '+' || v[i] == '-')) negative = v[i++] == '-';
    uint32_t n = 0;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i)
        n = n * 10u + static_cast<uint32_t>(v[i] - '0');
    if (negative) n = 0u - n;
    return static_cast<int32_t>(n);
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view def, std::string_view fileName) {
    if (auto v = CachedValue(fileName, TrimSpaces(section), TrimSpaces(key))) return std::move(*v);
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    return CutValue(def);
}

int32_t GetPrivateProfileInt(std::string_view section, std::string_view key, int32_t def,
                             std::string_view fileName) {
    auto v = CachedValue(fileName, TrimSpaces(section), TrimSpaces(key));
    return v ? ParseInt(*v) : def;
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, std::string_view fileName) {
    section = TrimSpaces(section);
    key = TrimSpaces(key);
    if (!FitsOnOneLine(value) || fileName.empty()) return false;

    std::string path = NativePath(fileName);
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists) {
        // Write to the file a symlink points at, not over the link.
        char resolved[PATH_MAX];
        if (!::realpath(path.c_str(), resolved)) return false;
        path = resolved;
        if (!S_ISREG(st.st_mode) || !HasWriteBit(st) || ::access(path.c_str(), W_OK) != 0)
            return false;
    } else if (errno != ENOENT) {
        return false;
    }
    // A folder without any write bit is read-only even for root: only a file
    // already in it can be rewritten (in place). Other permission problems
    // surface when the temporary file is made.
    struct stat folderSt {};
    const std::string folder = FolderOf(path);
    if (::stat(folder.c_str(), &folderSt) != 0 || !S_ISDIR(folderSt.st_mode)) return false;
    const bool folderWritable = HasWriteBit(folderSt);
    if (!folderWritable && !exists) return false;

    Decoded file;
    std::string original;
    if (exists) {
        auto bytes = ReadRegularFile(path, nullptr);
        if (!bytes) return false;
        original = *bytes;
        file = Decode(std::move(*bytes));
    }
    // Whatever would read back as another value (edge blanks, a cut at the
    // length limit, names the reader sees differently) is refused.
    file.text = WithValue(std::move(file.text), section, key, Stored(value));
    if (!ReadsBack(file.text, section, key, value)) return false;
    const auto bytes = Encode(file);
    if (!bytes || bytes->size() > MaxIniFileSize) return false;
    if (exists && *bytes == original) return true;

    ForgetCachedFiles();
    Outcome outcome =
        folderWritable ? ReplaceFile(path, *bytes, exists ? &st : nullptr) : Outcome::NoTemporary;
    if (outcome == Outcome::NoTemporary && exists)
        outcome = WriteInPlace(path, *bytes, st) ? Outcome::Done : Outcome::Failed;
    ForgetCachedFiles();
    return outcome == Outcome::Done;
}
std::string TIniFile::ValueString(std::string_view key, std::string_view value) {
    if (mode_ == TIniFileMode::Read) return ReadString(key, value);
    lastWriteOk_ = WriteString(key, value);
    return std::string(value);
}

int32_t TIniFile::ValueInteger(std::string_view key, int32_t value) {
    if (mode_ == TIniFileMode::Read) return ReadInteger(key, value);
    lastWriteOk_ = WriteInteger(key, value);
    return value;
}

std::string TIniFile::ReadString(std::string_view key, std::string_view def) const {
    return GetPrivateProfileString(section_, key, def, fileName_);
}

int32_t TIniFile::ReadInteger(std::string_view key, int32_t def) const {
    return GetPrivateProfileInt(section_, key, def, fileName_);
}

bool TIniFile::WriteString(std::string_view key, std::string_view value) {
    return WritePrivateProfileString(section_, key, value, fileName_);
}

bool TIniFile::WriteInteger(std::string_view key, int32_t value) {
    return WriteString(key, std::to_string(value));
}
