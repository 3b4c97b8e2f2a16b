#pragma once
// The INI text rules shared by the reader, the writer and the read cache
// (internal to the widget layer).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ini {

// How a file's bytes map to the UTF-8 text the rules work on.
enum class Encoding : uint8_t {
    Plain,    // bytes as they are (UTF-8 or anything else: bytes are opaque)
    Utf8Bom,  // a UTF-8 byte-order mark, skipped on reading and kept on writing
    Utf16Le,  // a UTF-16LE byte-order mark: read and written as UTF-16LE
};

struct Decoded {
    Encoding encoding = Encoding::Plain;
    std::string text;  // the content after the byte-order mark, as UTF-8
    std::string tail;  // the odd last byte of a UTF-16 file, kept as it was
};

// The encoding a file's bytes announce by their byte-order mark.
Encoding EncodingOf(std::string_view bytes);
// The length of that byte-order mark.
std::size_t MarkLength(Encoding e);

// Lossless both ways: a UTF-16 unit without its surrogate partner travels as
// a three-byte sequence and comes back as the same unit.
Decoded Decode(std::string bytes);
// Nothing when the text cannot be stored in the file's encoding (bytes that
// are not UTF-8 in a UTF-16 file).
std::optional<std::string> Encode(const Decoded& d);

bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view s);  // spaces and tabs (the file's names)
std::string_view TrimSpaces(std::string_view s);  // spaces only (the caller's names)
bool SameName(std::string_view a, std::string_view b);
std::string LowerName(std::string_view s);

// One line: [begin, contentEnd) is its text, [contentEnd, end) its line end
// (empty for a last line without one). CR LF, LF and a lone CR end a line.
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

class LineReader {
public:
    explicit LineReader(std::string_view text, std::size_t from = 0) : text_(text), pos_(from) {}
    bool next(Line& line);

private:
    std::size_t find(char c, std::size_t& cached) const;
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t nextCr_ = 0, nextLf_ = 0;  // where the next CR / LF is, once known
    bool crKnown_ = false, lfKnown_ = false;
};

enum class LineKind { Other, Section, Key };

// A line whose first non-blank character is '[' opens a section named by the
// text up to the first ']' (or the line's end); otherwise a line with '=' is
// a key. name: the section or key, trimmed; value: the raw text after the
// first '=', trimmed.
LineKind Classify(std::string_view content, std::string_view& name, std::string_view& value);

// Where a key was found, or where its section ends.
struct Location {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;              // the key's line, when found
    std::string_view fileKey;  // the key as the file spells it
    std::string_view value;    // its raw value
    Line lastKeyOrHeader;      // the section's last key line, or its header
};

// The first section of the name and, inside it, the first key of the name.
Location Find(std::string_view text, std::string_view section, std::string_view key);

// A value loses one matching pair of '...' or "...".
std::string_view StripQuotes(std::string_view v);
// A value ends at a NUL byte and after MaxIniValueLength bytes, never inside
// a UTF-8 character.
std::string CutValue(std::string_view v);

// What a reader gets for the key, as a found raw value turns into the result.
inline std::string ValueOf(std::string_view raw) {
    return CutValue(StripQuotes(raw));
}

}  // namespace ini
