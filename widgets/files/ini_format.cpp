#include "ini_format.h"

#include <cstring>

#include "tabulo/widgets/ini.h"

namespace ini {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

void PutUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void PutUnit(std::string& out, uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Reads one character of s at i (advancing i). Accepts the three-byte form
// of a lone surrogate, which Decode produces; rejects everything else that
// is not UTF-8.
std::optional<uint32_t> TakeUtf8(std::string_view s, std::size_t& i) {
    const auto c0 = static_cast<unsigned char>(s[i]);
    int extra = 0;
    uint32_t cp = 0, min = 0;
    if (c0 < 0x80) {
        ++i;
        return c0;
    } else if ((c0 & 0xE0) == 0xC0) {
        extra = 1, cp = c0 & 0x1F, min = 0x80;
    } else if ((c0 & 0xF0) == 0xE0) {
        extra = 2, cp = c0 & 0x0F, min = 0x800;
    } else if ((c0 & 0xF8) == 0xF0) {
        extra = 3, cp = c0 & 0x07, min = 0x10000;
    } else {
        return std::nullopt;
    }
    if (s.size() - i <= static_cast<std::size_t>(extra)) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
        const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if (!IsContinuation(c)) return std::nullopt;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF) return std::nullopt;
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

}  // namespace

Encoding EncodingOf(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return Encoding::Utf8Bom;
    if (bytes.starts_with(kUtf16LeBom)) return Encoding::Utf16Le;
    return Encoding::Plain;
}

std::size_t MarkLength(Encoding e) {
    switch (e) {
        case Encoding::Utf8Bom:
            return kUtf8Bom.size();
        case Encoding::Utf16Le:
            return kUtf16LeBom.size();
        default:
            return 0;
    }
}

Decoded Decode(std::string bytes) {
    Decoded d;
    std::string_view b(bytes);
    d.encoding = EncodingOf(b);
    if (d.encoding == Encoding::Utf8Bom) {
        d.text = bytes.substr(kUtf8Bom.size());
        return d;
    }
    if (d.encoding == Encoding::Plain) {
        d.text = std::move(bytes);
        return d;
    }
    const std::size_t units = (b.size() - 2) / 2;
    if ((b.size() - 2) % 2) d.tail = std::string(b.substr(b.size() - 1));
    auto unit = [&](std::size_t n) {
        return static_cast<uint32_t>(static_cast<unsigned char>(b[2 + 2 * n])) |
               (static_cast<uint32_t>(static_cast<unsigned char>(b[3 + 2 * n])) << 8);
    };
    d.text.reserve(units * 3 / 2);
    for (std::size_t n = 0; n < units; ++n) {
        uint32_t u = unit(n);
        if (u >= 0xD800 && u < 0xDC00 && n + 1 < units) {
            const uint32_t low = unit(n + 1);
            if (low >= 0xDC00 && low < 0xE000) {
                PutUtf8(d.text, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++n;
                continue;
            }
        }
        PutUtf8(d.text, u);
    }
    return d;
}

std::optional<std::string> Encode(const Decoded& d) {
    switch (d.encoding) {
        case Encoding::Plain:
            return d.text;
        case Encoding::Utf8Bom:
            return std::string(kUtf8Bom) + d.text;
        case Encoding::Utf16Le:
            break;
    }
    std::string out(kUtf16LeBom);
    out.reserve(2 + d.text.size() * 2 + d.tail.size());
    const std::string_view s(d.text);
    bool lastWasHigh = false;
    for (std::size_t i = 0; i < s.size();) {
        auto cp = TakeUtf8(s, i);
        if (!cp) return std::nullopt;
        const bool high = *cp >= 0xD800 && *cp < 0xDC00;
        // A high and a low surrogate side by side would read back as one
        // character, not as the two units written.
        if (lastWasHigh && *cp >= 0xDC00 && *cp < 0xE000) return std::nullopt;
        lastWasHigh = high;
        if (*cp >= 0x10000) {
            PutUnit(out, 0xD800 + ((*cp - 0x10000) >> 10));
            PutUnit(out, 0xDC00 + ((*cp - 0x10000) & 0x3FF));
        } else {
            PutUnit(out, *cp);
        }
    }
    return out + d.tail;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

namespace {
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string LowerName(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Lower(c);
    return out;
}

// The next CR and LF are looked up with memchr and remembered, so a file is
// scanned at memory speed even when it has millions of lines.
std::size_t LineReader::find(char c, std::size_t& cached) const {
    const void* hit = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
    cached =
        hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
    return cached;
}

bool LineReader::next(Line& line) {
    if (pos_ >= text_.size()) return false;
    if (!crKnown_ || nextCr_ < pos_) crKnown_ = (find('\r', nextCr_), true);
    if (!lfKnown_ || nextLf_ < pos_) lfKnown_ = (find('\n', nextLf_), true);
    std::size_t i = nextCr_ < nextLf_ ? nextCr_ : nextLf_;
    line.begin = pos_;
    line.contentEnd = i;
    if (i < text_.size())
        i += (text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n') ? 2 : 1;
    line.end = pos_ = i;
    return true;
}

LineKind Classify(std::string_view content, std::string_view& name, std::string_view& value) {
    std::string_view s = TrimBlanks(content);
    if (s.empty() || s.front() == ';') return LineKind::Other;
    if (s.front() == '[') {
        name = TrimBlanks(s.substr(
            1, s.find(']') == std::string_view::npos ? std::string_view::npos : s.find(']') - 1));
        return LineKind::Section;
    }
    const std::size_t eq = s.find('=');
    if (eq == std::string_view::npos) return LineKind::Other;
    name = TrimBlanks(s.substr(0, eq));
    value = TrimBlanks(s.substr(eq + 1));
    return LineKind::Key;
}

Location Find(std::string_view text, std::string_view section, std::string_view key) {
    Location loc;
    LineReader reader(text);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        std::string_view name, value;
        const LineKind kind =
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
    const std::size_t nul = v.find('\0');
    if (nul != std::string_view::npos) v = v.substr(0, nul);
    if (v.size() > MaxIniValueLength) {
        // Back off to the lead byte of a character the limit would split.
        std::size_t cut = MaxIniValueLength;
        std::size_t lead = cut;
        while (lead > 0 && cut - lead < 3 && IsContinuation(static_cast<unsigned char>(v[lead])))
            --lead;
        const auto c = static_cast<unsigned char>(v[lead]);
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (lead + length > cut) cut = lead;
        v = v.substr(0, cut);
    }
    return std::string(v);
}

}  // namespace ini
