#pragma once
// Reads of INI files through a small cache of parsed files (internal to the
// widget layer).
//
// A file is parsed once and looked up as often as asked while it stays the
// same file with the same content: same device and inode, size, and
// modification and change times to the nanosecond. A file read within one
// tick of the file-system clock after its last change (50 ms; 2 s where the
// file system keeps whole seconds) is read again at the next call, so two
// changes by another program within one tick are still seen.
// Inside a read scope, the first read of a file makes that check for the
// whole scope.

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

namespace ini {

// The value of the key as a reader gets it (quotes stripped, cut), or
// nothing when the file cannot be read or has no such key. fileName is the
// caller's name (resolved here, as NativePath does); section and key are the
// caller's names, already trimmed. Inside a TIniReadScope a file already
// checked in that scope is neither resolved nor checked again.
std::optional<std::string> CachedValue(std::string_view fileName, std::string_view section,
                                       std::string_view key);

// Reads a whole regular file of at most MaxIniFileSize bytes, opened without
// blocking; anything else (missing, a folder, a FIFO, a device, too large,
// unreadable) gives nothing. st, when given, receives the file's status.
std::optional<std::string> ReadRegularFile(const std::string& path, struct stat* st);

// Drops every cached file and what the open read scope trusts (after a
// write of ours).
void ForgetCachedFiles();

}  // namespace ini
