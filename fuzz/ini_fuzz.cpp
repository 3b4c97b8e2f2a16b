// INI files: reads of any file, and writes of any names and values into any
// file, with the properties the program relies on:
// - a read gives at most 2047 bytes;
// - a refused write leaves the file byte for byte as it was;
// - an accepted write reads back as written, and another key reads as before;
// - no temporary file is left beside the file.
//
// Input: a flags byte, then section, key, value, another section, another
// key and the file's bytes, separated by 0x1F. Flags bit 0: no file at all.
#include <dirent.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "tabulo/widgets/ini.h"

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        // A memory file system keeps the writes' flushes cheap.
        std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        pattern += "/tabulo-ini-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        // Removed at exit; the name is copied as the string itself is gone
        // by then.
        static char saved[512];
        std::snprintf(saved, sizeof saved, "%s", pattern.c_str());
        std::atexit([] {
            std::remove((std::string(saved) + "/t.ini").c_str());
            rmdir(saved);
        });
        return pattern;
    }();
    return folder;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int EntriesIn(const std::string& folder) {
    int n = 0;
    if (DIR* d = opendir(folder.c_str())) {
        while (const dirent* e = readdir(d))
            if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..") ++n;
        closedir(d);
    }
    return n;
}

std::string_view Next(std::string_view& rest) {
    const std::size_t sep = rest.find('\x1f');
    const std::string_view part = rest.substr(0, sep);
    rest = sep == std::string_view::npos ? std::string_view() : rest.substr(sep + 1);
    return part;
}

// Names match after the caller's spaces go, without regard to ASCII case.
std::string Normal(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool SameKey(std::string_view s1, std::string_view k1, std::string_view s2, std::string_view k2) {
    return Normal(s1) == Normal(s2) && Normal(k1) == Normal(k2);
}

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const uint8_t flags = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view section = Next(rest), key = Next(rest), value = Next(rest);
    const std::string_view otherSection = Next(rest), otherKey = Next(rest);
    const std::string path = Folder() + "/t.ini";
    std::remove(path.c_str());
    if (!(flags & 1)) std::ofstream(path, std::ios::binary) << rest;

    Check(GetPrivateProfileString(section, key, "", path).size() <= MaxIniValueLength);
    (void)GetPrivateProfileInt(section, key, 0, path);
    const std::string before = ReadAll(path);
    const std::string otherBefore = GetPrivateProfileString(otherSection, otherKey, "\x01", path);

    if (WritePrivateProfileString(section, key, value, path)) {
        Check(GetPrivateProfileString(section, key, "\x01", path) == value);
        if (!SameKey(section, key, otherSection, otherKey))
            Check(GetPrivateProfileString(otherSection, otherKey, "\x01", path) == otherBefore);
    } else {
        Check(ReadAll(path) == before);
    }
    Check(EntriesIn(Folder()) <= 1);
    return 0;
}
