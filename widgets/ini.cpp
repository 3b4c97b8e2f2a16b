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

#include "tabulo/widgets/paths.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// One line of the file: [begin, contentEnd) is its text, [contentEnd, end)
// its line end (empty for a last line without one).
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool next(Line& line) {
        if (pos_ >= text_.size()) return false;
        line.begin = pos_;
        std::size_t i = pos_;
        while (i < text_.size() && text_[i] != '\r' && text_[i] != '\n') ++i;
        line.contentEnd = i;
        if (i < text_.size()) {
            if (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n')
                i += 2;
            else
                ++i;
        }
        line.end = pos_ = i;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

enum class LineKind { Other, Section, Key };

// Classifies a line; fills name (section or key, trimmed) and value (the raw
// text after the first '=', trimmed).
LineKind Classify(std::string_view content, std::string_view& name, std::string_view& value) {
    std::string_view s = Trim(content);
    if (s.empty() || s.front() == ';') return LineKind::Other;
    if (s.front() == '[') {
        std::size_t close = s.rfind(']');
        if (close != std::string_view::npos) {
            name = Trim(s.substr(1, close - 1));
            return LineKind::Section;
        }
    }
    std::size_t eq = s.find('=');
    if (eq == std::string_view::npos) return LineKind::Other;
    name = Trim(s.substr(0, eq));
    value = Trim(s.substr(eq + 1));
    return LineKind::Key;
}

// Where a key was found, or where its section ends.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;              // the key's line, when found
    std::string_view fileKey;  // the key as the file spells it
    std::string_view value;    // its raw value
    Line lastKeyOrHeader;      // the section's last key line, or its header
};

Location Find(std::string_view text, std::string_view section, std::string_view key) {
    Location loc;
    LineReader reader(text);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        std::string_view name, value;
        LineKind kind =
            Classify(text.substr(line.begin, line.contentEnd - line.begin), name, value);
        if (kind == LineKind::Section) {
            // Only the first section of the name counts.
            if (inSection) break;
            if (SameName(name, section)) {
                inSection = loc.sectionFound = true;
                loc.lastKeyOrHeader = line;
            }
        } else if (kind == LineKind::Key && inSection) {
            loc.lastKeyOrHeader = line;
            if (SameName(name, key)) {
                loc.keyFound = true;
                loc.keyLine = line;
                loc.fileKey = name;
                loc.value = value;
                return loc;
            }
        }
    }
    return loc;
}

std::string_view StripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

std::string CutValue(std::string_view v) {
    std::size_t nul = v.find('\0');
    if (nul != std::string_view::npos) v = v.substr(0, nul);
    if (v.size() > MaxIniValueLength) v = v.substr(0, MaxIniValueLength);
    return std::string(v);
}

// Reads a whole regular file of at most MaxIniFileSize bytes. Anything else
// (missing, a folder, a device, too large, unreadable) gives nothing.
std::optional<std::string> ReadFileBytes(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> result;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::uintmax_t>(st.st_size) <= MaxIniFileSize) {
        std::string data;
        data.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        bool ok = true;
        while (got < data.size()) {
            ssize_t n = ::read(fd, data.data() + got, data.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0) break;
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

// Writes the bytes to a temporary file beside path and renames it over path.
// existing: the stat of the file being replaced, whose mode and owner the new
// file keeps.
bool ReplaceFile(const std::string& path, std::string_view bytes, const struct stat* existing) {
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
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
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

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view def, std::string_view fileName) {
    auto text = ReadFileBytes(NativePath(fileName));
    if (text) {
        Location loc = Find(*text, Trim(section), Trim(key));
        if (loc.keyFound) return CutValue(StripQuotes(loc.value));
    }
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    return CutValue(def);
}

int32_t GetPrivateProfileInt(std::string_view section, std::string_view key, int32_t def,
                             std::string_view fileName) {
    auto text = ReadFileBytes(NativePath(fileName));
    if (!text) return def;
    Location loc = Find(*text, Trim(section), Trim(key));
    if (!loc.keyFound) return def;
    std::string v = CutValue(StripQuotes(loc.value));
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

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, std::string_view fileName) {
    section = Trim(section);
    key = Trim(key);
    // Names and values that would read back as something else are refused.
    if (!FitsOnOneLine(value) || section.find_first_of("\r\n]") != std::string_view::npos ||
        key.find_first_of("\r\n=") != std::string_view::npos || (!key.empty() && key[0] == ';') ||
        (!key.empty() && key[0] == '[') || fileName.empty())
        return false;

    std::string path = NativePath(fileName);
    struct stat st {};
    bool exists = ::stat(path.c_str(), &st) == 0;
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
    // A folder without any write bit is read-only even for root; other
    // permission problems surface when the temporary file is made.
    struct stat folderSt {};
    const std::string folder = FolderOf(path);
    if (::stat(folder.c_str(), &folderSt) != 0 || !S_ISDIR(folderSt.st_mode) ||
        !HasWriteBit(folderSt))
        return false;

    std::string text;
    if (exists) {
        auto bytes = ReadFileBytes(path);
        if (!bytes) return false;
        text = std::move(*bytes);
    }
    const std::string original = text;

    Location loc = Find(text, section, key);
    if (loc.keyFound) {
        std::string line;
        Append(line, {loc.fileKey, "=", value});
        text.replace(loc.keyLine.begin, loc.keyLine.contentEnd - loc.keyLine.begin, line);
    } else if (loc.sectionFound) {
        std::string insert;
        if (loc.lastKeyOrHeader.end == loc.lastKeyOrHeader.contentEnd) insert += kLineEnd;
        Append(insert, {key, "=", value, kLineEnd});
        text.insert(loc.lastKeyOrHeader.end, insert);
    } else {
        if (!EndsWithLineEnd(text)) text += kLineEnd;
        Append(text, {"[", section, "]", kLineEnd, key, "=", value, kLineEnd});
    }
    if (!EndsWithLineEnd(text)) text += kLineEnd;
    if (text.size() > MaxIniFileSize) return false;
    if (exists && text == original) return true;
    return ReplaceFile(path, text, exists ? &st : nullptr);
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
