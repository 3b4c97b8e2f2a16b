#include "tabulo/widgets/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::mutex programFolderMutex;
std::string programFolderOverride;

std::string WithTrailingSeparator(std::string folder) {
    if (folder.empty() || folder.back() != NativeSeparator()) folder += NativeSeparator();
    return folder;
}

// Every '\' turned into the separator, except inside the program folder's
// own name at the front: that is a real name on this system and may hold
// '\' itself.
std::string SeparatorsOf(std::string_view name, std::string_view folder) {
    const std::size_t keep = !folder.empty() && name.starts_with(folder) ? folder.size() : 0;
    std::string out(name);
    for (std::size_t i = keep; i < out.size(); ++i)
        if (out[i] == '\\') out[i] = NativeSeparator();
    return out;
}

// The folder named by an XDG variable, or $HOME/<fallback>; relative and
// empty values are ignored, as the XDG rules say. Empty when neither gives an
// absolute folder.
std::string XdgFolder(const char* variable, const char* fallback) {
    const char* v = std::getenv(variable);
    if (v && v[0] == '/') return WithTrailingSeparator(v);
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return WithTrailingSeparator(home) + fallback + "/";
    return std::string();
}

bool IsDirectory(const std::string& name) {
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& name) {
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Exists(const std::string& name) {
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0;
}

bool MayWrite(const std::string& name) {
    return ::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) == 0;
}

// A settings file is only taken when the user may both read and write it: a
// save rewrites the whole file, so one that cannot be read would lose what
// it holds.
bool MayReadWrite(const std::string& name) {
    return IsRegularFile(name) && ::faccessat(AT_FDCWD, name.c_str(), R_OK | W_OK, AT_EACCESS) == 0;
}

// Settings files (*.ini) directly in the program folder follow the settings
// rule; everything else there is data.
bool IsSettingsFile(std::string_view rest) {
    if (rest.find(NativeSeparator()) != std::string_view::npos || rest.size() <= 4) return false;
    std::string ext(rest.substr(rest.size() - 4));
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".ini";
}

// The per-user copy of a settings file, made from the installed one when it
// is missing. Empty when the per-user file cannot be used (no folder, a
// folder or device of that name, a file the user may not read and write, a
// failed copy): the installed file is then
// read, and a save to it fails as any failed save does.
std::string UserSettingsFile(const std::string& installed, std::string_view rest) {
    const std::string folder = UserConfigFolder();
    if (folder.empty()) return std::string();
    const std::string mine = folder + std::string(rest);
    if (Exists(mine)) return MayReadWrite(mine) ? mine : std::string();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!IsDirectory(folder)) return std::string();
    if (!IsRegularFile(installed)) return mine;
    // Copied under a temporary name first, so that a failed copy never
    // leaves a half file that would later be taken for the user's own; the
    // link never replaces a copy another instance made meanwhile.
    const std::string part = mine + "." + std::to_string(::getpid()) + ".part";
    fs::copy_file(installed, part, fs::copy_options::overwrite_existing, ec);
    if (!ec)
        fs::permissions(part, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                        ec);
    const bool linked = !ec && ::link(part.c_str(), mine.c_str()) == 0;
    fs::remove(part, ec);
    return linked || IsRegularFile(mine) ? mine : std::string();
}

std::string RealProgramFolder() {
    std::error_code ec;
    fs::path exe = fs::canonical("/proc/self/exe", ec);
    if (ec) return std::string();
    return WithTrailingSeparator(exe.parent_path().string());
}

}  // namespace

char NativeSeparator() {
    return static_cast<char>(fs::path::preferred_separator);
}

std::string NativePath(std::string_view name) {
    const std::string folder = ProgramFolder();
    std::string out = SeparatorsOf(name, folder);
    if (!folder.empty() && out.starts_with(folder)) return ProgramFile(out.substr(folder.size()));
    return out;
}

bool HasFolderPart(std::string_view name) {
    return name.find_first_of("\\/:") != std::string_view::npos;
}

std::string ProgramFolder() {
    {
        std::lock_guard<std::mutex> lock(programFolderMutex);
        if (!programFolderOverride.empty()) return programFolderOverride;
    }
    static const std::string real = RealProgramFolder();
    return real;
}

void SetProgramFolder(std::string_view folder) {
    std::lock_guard<std::mutex> lock(programFolderMutex);
    programFolderOverride =
        folder.empty() ? std::string() : WithTrailingSeparator(std::string(folder));
}

std::string UserConfigFolder() {
    const std::string base = XdgFolder("XDG_CONFIG_HOME", ".config");
    return base.empty() ? base : base + "Tabulo/";
}

std::string UserDataFolder() {
    const std::string base = XdgFolder("XDG_DATA_HOME", ".local/share");
    return base.empty() ? base : base + "tabulo/";
}

bool ProgramFolderIsShared() {
    return FolderIsShared(ProgramFolder());
}

bool FolderIsShared(const std::string& folder) {
    return !folder.empty() && IsDirectory(folder) && !MayWrite(folder);
}

std::string ProgramFile(std::string_view rest) {
    return ProgramFileIn(ProgramFolder(), rest);
}

std::string ProgramFileIn(std::string_view programFolder, std::string_view rest) {
    const std::string folder =
        programFolder.empty() ? std::string() : WithTrailingSeparator(std::string(programFolder));
    const std::string installed = folder + std::string(rest);
    if (!FolderIsShared(folder)) return installed;
    if (IsSettingsFile(rest)) {
        // A settings file the user may write stays where it is.
        if (MayReadWrite(installed)) return installed;
        const std::string mine = UserSettingsFile(installed, rest);
        return mine.empty() ? installed : mine;
    }
    const std::string data = UserDataFolder();
    if (!data.empty() && !rest.empty() && Exists(data + std::string(rest)))
        return data + std::string(rest);
    return installed;
}

std::string TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp && *tmp) ? std::string(tmp) : std::string("/tmp");
    return WithTrailingSeparator(folder);
}

std::string FullPathName(std::string_view name) {
    if (name.empty()) return std::string();
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(SeparatorsOf(name, ProgramFolder())), ec);
    if (ec) return std::string();
    return p.lexically_normal().string();
}

uint32_t GetFileAttributes(std::string_view name) {
    if (name.empty()) return InvalidFileAttributes;
    struct stat st {};
    if (::stat(NativePath(name).c_str(), &st) != 0) return InvalidFileAttributes;
    uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode)) attributes |= FileAttributeDirectory;
    if ((st.st_mode & 0222) == 0) attributes |= FileAttributeReadOnly;
    return attributes ? attributes : FileAttributeNormal;
}

bool FileExists(std::string_view name) {
    uint32_t attributes = GetFileAttributes(name);
    return attributes != InvalidFileAttributes && !(attributes & FileAttributeDirectory);
}
