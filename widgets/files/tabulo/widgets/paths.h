#pragma once
// File-system stand-ins: the program folder, full path names and file
// attributes. '\' is accepted as a folder separator in masks and values, as
// the Windows functions accept it, so masks such as "%1img\Positions\%2.png"
// work unchanged; the program folder's own name is a real Linux name and is
// never converted. Names are byte strings (UTF-8).
//
// Installed and portable program folders. A program folder the user may
// write (a build folder, an unpacked archive) holds everything, as the
// program has always expected. A program folder the user may not write (an
// installed one, owned by root) is shared: there NativePath sends
//   - a settings file directly in it ("Custom.ini", any "*.ini") to the
//     user's copy in UserConfigFolder(), made from the installed one on first
//     use, unless the installed file itself is the user's to write;
//   - any other file (the charts under img/) to UserDataFolder() when the
//     user has a file of that name there, else to the installed one.
// When the per-user folder cannot be made or its file is not a regular file,
// the installed file is used: reads show it, saves to it fail as any save to
// a read-only file does, and nothing is written elsewhere.

#include <cstdint>
#include <string>
#include <string_view>

// The native folder separator ('/' here).
char NativeSeparator();

// The real file for a name: every '\' outside the program folder's own name
// turned into the native separator, and a file in a shared program folder
// sent to its per-user place (see above).
std::string NativePath(std::string_view name);

// The real file for a name relative to the program folder (native
// separators), by the shared-folder rule above.
std::string ProgramFile(std::string_view rest);

// The same for the program folder of another program (the viewer's, as a
// companion program names it), so that a companion writing the viewer's
// "Custom.ini" takes the very file the viewer reads.
std::string ProgramFileIn(std::string_view programFolder, std::string_view rest);

// True when the program folder exists and the user may not write it; the
// same for any folder.
bool ProgramFolderIsShared();
bool FolderIsShared(const std::string& folder);

// The per-user folders, ending with the separator: $XDG_CONFIG_HOME/Tabulo/
// (where the placements live too) and $XDG_DATA_HOME/tabulo/, each falling
// back to $HOME/.config or $HOME/.local/share when the variable is empty or
// relative. Empty when no absolute folder can be named.
std::string UserConfigFolder();
std::string UserDataFolder();

// A name "has a folder part" when it holds '\', '/' or ':'.
bool HasFolderPart(std::string_view name);

// The folder of the running executable, symlinks resolved, ending with the
// native separator. Never the current folder. Tests build a temporary
// program folder and point this at it with SetProgramFolder (taken as a real
// name, '\' included); an empty text restores the real one.
std::string ProgramFolder();
void SetProgramFolder(std::string_view folder);

// The temporary folder ($TMPDIR or /tmp), ending with the native separator.
std::string TempFolder();

// The absolute form of the name, made against the current folder without
// touching the file system: '\' becomes the separator, "." and ".." parts are
// folded, a trailing separator stays (the program folder's own name is kept
// as it is). An empty name gives the empty text.
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
