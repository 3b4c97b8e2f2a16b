#pragma once
// TKVini reads and writes single values of an INI file; TKVDir yields the
// program folder.
//
// Every input opens the file, reads or writes one value and releases it before
// it returns, so every read sees the file as it is on disk (while a
// TIniReadsPerEvent lives, the reads made for one event of a window see it as
// the first of them found it). The file name, section, key and (for writing)
// value are each read by the read rule: the wired pull point, else the
// non-empty property, else the incoming value (consumed), in the order file
// name, section, [value,] key.
//
// File names. These macros are replaced (exact, case-sensitive match), each
// by a folder that ends with the separator:
//   %windir%  the user's configuration folder: $XDG_CONFIG_HOME, or
//             ~/.config (where a Linux program keeps per-user settings, as
//             Windows programs once kept theirs in the Windows folder)
//   %tmpdir%  the temporary folder: $TMPDIR, or /tmp
//   %sysdir%  the system library folder, /usr/lib/ (read-only for users, as
//             the Windows system folder is)
// A name with no folder part (no '\', '/' or ':') is then taken from the
// program folder; any other name is used as it is, a relative one against
// the current folder.

#include <cstdint>
#include <string>
#include <string_view>

#include "tabulo/runtime/event.h"
#include "tabulo/runtime/object.h"
#include "tabulo/widgets/eventscope.h"

class TIniFile;

enum TIniDataType : uint8_t { idtInteger = 0, idtString = 1 };

class TKVini : public TObject {
public:
    TKVini();
    ~TKVini() override;

    TIniFile* File = nullptr;  // the open file; set only during doRead/doWrite
    TText FileName;
    TText Section;
    TText Key;
    uint8_t DataType = idtString;
    TKV_Event pullFileName;
    TKV_Event pullSection;
    TKV_Event pullKey;
    TKV_Event pullValue;
    // Gets the value read: a String (DataType 1) or an Integer (DataType 0);
    // a missing file, section or key reads as the empty string or 0.
    TKV_Event onResult;
    // Fired (with the full file name as a String) only when a write could not
    // be made: read-only or missing folder, read-only file, file too large.
    // A successful write fires nothing.
    TKV_Event onWriteFailed;

    // Reads the key and forwards the value to onResult.
    void doRead(TData& value, uint16_t index);
    // Writes the value under the key; reports nothing except a failure.
    void doWrite(TData& value, uint16_t index);

    // The file name after the macros and the program-folder rule.
    static std::string ResolveFileName(std::string_view name);
    // The folders the macros stand for, each ending with the separator.
    static std::string WindowsFolder();
    static std::string SystemFolder();

private:
    // Reads file name and section and creates File; returns the resolved name.
    std::string open(TData& value, bool write);
    void close();
};

class TKVDir : public TObject {
public:
    // Answers with the program folder, ending with the separator, as a String.
    void getProgramDir(TData& value, uint16_t index);
};

// While it lives, the INI reads that one event of the program's windows
// makes (a page refreshing its captions on a mouse move) look at each file
// once; the next event looks again, so a change on disk shows at once. The
// program holds one from start-up to shutdown.
class TIniReadsPerEvent {
public:
    TIniReadsPerEvent();
    ~TIniReadsPerEvent();
    TIniReadsPerEvent(const TIniReadsPerEvent&) = delete;
    TIniReadsPerEvent& operator=(const TIniReadsPerEvent&) = delete;

private:
    TEventScope previous_;
};
