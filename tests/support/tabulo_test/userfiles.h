#pragma once
// Helpers for tests of where the program's files go: whole-file reads and
// writes, a scoped environment variable, and a folder the user may not write
// (an installed program's).

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void put(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Sets an environment variable for one scope (nullptr: unset).
class Env {
public:
    Env(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~Env() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Makes the program folder one the user may not write, as an installed one:
// root becomes user "nobody" for the scope (root may write anything), any
// other user loses the folder's write bits.
class NotMine {
public:
    explicit NotMine(const std::string& folder) : folder_(folder), root_(::geteuid() == 0) {
        ::chmod(folder_.c_str(), root_ ? 0755 : 0555);
        if (root_) {
            EXPECT_EQ(::setegid(65534), 0);
            EXPECT_EQ(::seteuid(65534), 0);
        }
    }
    ~NotMine() {
        if (root_) {
            EXPECT_EQ(::seteuid(0), 0);
            EXPECT_EQ(::setegid(0), 0);
        }
        ::chmod(folder_.c_str(), 0755);
    }

private:
    std::string folder_;
    bool root_;
};
