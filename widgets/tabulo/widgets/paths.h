#pragma once
// File-system stand-ins: the program folder, full path names and file
// attributes. '\' is accepted as a folder separator everywhere, as the
// Windows functions accept it, so masks such as "%1img\Positions\%2.png"
// work unchanged. Names are byte strings (UTF-8).

#include <cstdint>
#include <string>
#include <string_view>

// The native folder separator ('/' here).
char NativeSeparator();

// The name with every '\' turned into the native separator.
std::string NativePath(std::string_view name);

// A name "has a folder part" when it holds '\', '/' or ':'.
bool HasFolderPart(std::string_view name);

// The folder of the running executable, symlinks resolved, ending with the
// native separator. Never the current folder. Tests build a temporary
// program folder and point this at it with SetProgramFolder; an empty text
// restores the real one.
std::string ProgramFolder();
void SetProgramFolder(std::string_view folder);

// The temporary folder ($TMPDIR or /tmp), ending with the native separator.
std::string TempFolder();

// The absolute form of the name, made against the current folder without
// touching the file system: '\' becomes the separator, "." and ".." parts are
// folded, a trailing separator stays. An empty name gives the empty text.
std::string FullPathName(std::string_view name);

// File attributes with the Windows bit values.
inline constexpr uint32_t FileAttributeReadOnly = 0x01;
inline constexpr uint32_t FileAttributeDirectory = 0x10;
inline constexpr uint32_t FileAttributeNormal = 0x80;
inline constexpr uint32_t InvalidFileAttributes = 0xFFFFFFFFu;

// InvalidFileAttributes when nothing of that name exists (symlinks are
// followed); otherwise Directory or Normal, plus ReadOnly when no write
// permission bit is set.
uint32_t GetFileAttributes(std::string_view name);

// True when the name denotes an existing file that is not a folder.
bool FileExists(std::string_view name);
