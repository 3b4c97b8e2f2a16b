#include "tabulo/runtime/text.h"

#include <cstring>
#include <new>

TText::TText(std::string_view s) {
    if (s.empty()) return;
    void* mem = ::operator new(sizeof(Rep) + s.size() + 1);
    rep_ = new (mem) Rep{1, s.size()};
    std::memcpy(rep_->data(), s.data(), s.size());
    rep_->data()[s.size()] = '\0';
}

TText& TText::operator=(const TText& o) noexcept {
    if (rep_ != o.rep_) {
        o.retain();
        release();
        rep_ = o.rep_;
    }
    return *this;
}

TText& TText::operator=(TText&& o) noexcept {
    if (this != &o) {
        release();
        rep_ = o.rep_;
        o.rep_ = nullptr;
    }
    return *this;
}

void TText::release() noexcept {
    if (rep_ && --rep_->refs == 0) {
        rep_->~Rep();
        ::operator delete(rep_);
    }
    rep_ = nullptr;
}
