#pragma once
// TIniFile: private-profile INI files with the Windows semantics, so that
// files written by the Windows version of the program read back the same.
//
// Reading:
// - section and key names match without regard to ASCII case; spaces and
//   tabs around the file's section names, keys and values are ignored, but
//   only spaces around the names the caller passes; the first matching
//   section and, inside it, the first matching key win;
// - a line whose first non-blank character is '[' opens a section, named by
//   the text up to the first ']' (or the line's end when there is none);
// - a value wrapped in a matching pair of '...' or "..." loses that pair;
// - a line whose first non-blank character is ';' is a comment; a line
//   without '=' holds no key; the value runs from the first '=' to the end
//   of the line (later '=' and ';' belong to it, backslashes are literal);
// - CR LF, LF and a lone CR all end a line;
// - a file starting with a UTF-16LE byte-order mark is UTF-16LE (and stays
//   so when written); a UTF-8 byte-order mark is skipped (and kept);
// - a missing file, section or key gives the default with its trailing
//   spaces removed; a string is cut at 2047 bytes, never inside a UTF-8
//   character (and at a NUL byte);
// - an integer read takes optional blanks, a sign and the leading decimal
//   digits, wrapping modulo 2^32; text without a leading digit reads as 0;
//   the default comes back only when the key is missing;
// - parsed files are kept while they stay unchanged on disk, so repeated
//   reads of one file cost a lookup, not a parse (see TIniReadScope for
//   bursts of reads).
//
// Writing:
// - an existing key is rewritten in place, on its own line, keeping the
//   casing the file already has ("Key=value"); a new key goes after the last
//   key of its section (right after the header when there is none); a new
//   section is appended at the end as "[S]" CR LF "key=value" CR LF;
// - a value with blanks at an edge, or wrapped in a pair of quotes, is
//   written inside double quotes so that it reads back as given; a write
//   that would still not read back whole (a line break, more than 2047
//   bytes, names the reader sees differently) is refused;
// - a missing file is created; a missing final line end is completed with
//   CR LF; every other byte of the file stays as it was (bytes are opaque);
// - a write goes to a temporary file in the same folder which is then renamed
//   over the old one (permissions kept), so a crash never leaves a
//   half-written file. A file the user may write in a folder where no
//   temporary file can be made is rewritten in place instead (whole content,
//   cut to length, flushed). A write that cannot be done (read-only file,
//   missing folder, new file in a read-only folder, file too large) changes
//   nothing and returns false. A file or folder without any write
//   permission bit counts as read-only even for root, as the read-only
//   attribute does on Windows.
//
// Names are byte strings (UTF-8 on this platform); '\' is accepted as a
// folder separator in file names. Files larger than MaxIniFileSize read as
// empty and are never written.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tabulo/widgets/obj.h"

inline constexpr std::size_t MaxIniValueLength = 2047;
inline constexpr std::uintmax_t MaxIniFileSize = 32u * 1024u * 1024u;

// The private-profile functions themselves; each call opens, reads or
// writes and closes the file.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view def, std::string_view fileName);
int32_t GetPrivateProfileInt(std::string_view section, std::string_view key, int32_t def,
                             std::string_view fileName);
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, std::string_view fileName);

// Reads made while a scope is open trust what an earlier read in the same
// scope found on disk: each file is looked at (name resolved, status checked)
// once per scope instead of once per value, so a burst of reads all see the
// file as it was at the first. The viewer opens one around the handling of
// each event of its windows (TIniReadsPerEvent of the INI component); a change
// by another program shows from the next event on. Scopes nest; an inner one,
// and the end of one, start afresh (a modal loop inside an event may run for
// minutes), and so does a scope open for longer than 20 ms. Outside any scope
// every read checks the file. Per thread.
class TIniReadScope {
public:
    TIniReadScope();
    ~TIniReadScope();
    TIniReadScope(const TIniReadScope&) = delete;
    TIniReadScope& operator=(const TIniReadScope&) = delete;
};

enum class TIniFileMode : uint8_t { Read, Write };

// One INI file with a current section and a mode, as the INI components and
// the INI placement store use it: in read mode ValueString/ValueInteger read
// the key (the argument is the default); in write mode they write the
// argument and return it.
class TIniFile : public TObj {
public:
    explicit TIniFile(std::string_view fileName = {}) : fileName_(fileName) {}

    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string_view name) { fileName_ = name; }
    const std::string& Section() const { return section_; }
    void SetSection(std::string_view section) { section_ = section; }
    TIniFileMode Mode() const { return mode_; }
    void SetMode(TIniFileMode mode) { mode_ = mode; }

    std::string ValueString(std::string_view key, std::string_view value);
    int32_t ValueInteger(std::string_view key, int32_t value);

    // Mode-independent access; the writers report whether the file changed.
    std::string ReadString(std::string_view key, std::string_view def) const;
    int32_t ReadInteger(std::string_view key, int32_t def) const;
    bool WriteString(std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view key, int32_t value);

    // Whether the last write through ValueString/ValueInteger succeeded
    // (true before any write).
    bool LastWriteOk() const { return lastWriteOk_; }

private:
    std::string fileName_;
    std::string section_;
    TIniFileMode mode_ = TIniFileMode::Read;
    bool lastWriteOk_ = true;
};
