#pragma once
// TText: an immutable byte string shared by reference count.
//
// Copying a TText only bumps a counter, so values that carry text travel
// along links without touching the heap. The counter is not atomic: all
// values live on the user-interface thread.

#include <cstddef>
#include <string>
#include <string_view>

class TText {
public:
    TText() = default;
    TText(const char* s) : TText(s ? std::string_view(s) : std::string_view()) {}
    TText(std::string_view s);
    TText(const std::string& s) : TText(std::string_view(s)) {}
    TText(const TText& o) noexcept : rep_(o.rep_) { retain(); }
    TText(TText&& o) noexcept : rep_(o.rep_) { o.rep_ = nullptr; }
    TText& operator=(const TText& o) noexcept;
    TText& operator=(TText&& o) noexcept;
    ~TText() { release(); }

    std::string_view view() const noexcept {
        return rep_ ? std::string_view(rep_->data(), rep_->size) : std::string_view();
    }
    // Always NUL-terminated; "" when empty.
    const char* c_str() const noexcept { return rep_ ? rep_->data() : ""; }
    std::string str() const { return std::string(view()); }
    std::size_t size() const noexcept { return rep_ ? rep_->size : 0; }
    bool empty() const noexcept { return size() == 0; }
    char operator[](std::size_t i) const noexcept { return rep_->data()[i]; }
    // Number of TText objects that share this buffer (0 for the empty text).
    std::size_t useCount() const noexcept { return rep_ ? rep_->refs : 0; }

    friend bool operator==(const TText& a, const TText& b) noexcept { return a.view() == b.view(); }
    friend bool operator==(const TText& a, std::string_view b) noexcept { return a.view() == b; }
    friend bool operator==(const TText& a, const char* b) noexcept {
        return a.view() == std::string_view(b);
    }

private:
    struct Rep {
        std::size_t refs;
        std::size_t size;
        char* data() noexcept { return reinterpret_cast<char*>(this + 1); }
    };
    void retain() const noexcept {
        if (rep_) ++rep_->refs;
    }
    void release() noexcept;

    Rep* rep_ = nullptr;
};
