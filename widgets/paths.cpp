#include "tabulo/widgets/paths.h"

#include <sys/stat.h>

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
    std::string out(name);
    for (char& c : out)
        if (c == '\\') c = NativeSeparator();
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
        folder.empty() ? std::string() : WithTrailingSeparator(NativePath(folder));
}

std::string TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp && *tmp) ? std::string(tmp) : std::string("/tmp");
    return WithTrailingSeparator(folder);
}

std::string FullPathName(std::string_view name) {
    if (name.empty()) return std::string();
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(NativePath(name)), ec);
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
