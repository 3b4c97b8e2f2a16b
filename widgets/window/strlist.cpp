// String and pointer lists.

#include "tabulo/widgets/strlist.h"

#include <algorithm>

namespace {
const std::string emptyString;
}

const std::string& TStrList::Item(int i) const {
    return i >= 0 && i < Count() ? items_[std::size_t(i)] : emptyString;
}

void TStrList::SetItem(int i, std::string_view s) {
    if (i >= 0 && i < Count()) items_[std::size_t(i)] = std::string(s);
}

int TStrList::Add(std::string_view s) {
    const int i = Count();
    Insert(i, s);
    return i;
}

void TStrList::Insert(int i, std::string_view s) {
    if (i < 0 || i > Count()) return;
    items_.insert(items_.begin() + i, std::string(s));
}

void TStrList::Delete(int i) {
    if (i >= 0 && i < Count()) items_.erase(items_.begin() + i);
}

void TStrList::Clear() {
    items_.clear();
}

int TStrList::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[std::size_t(i)] == s) return i;
    return -1;
}

std::string TStrList::Text() const {
    std::string out;
    for (const auto& s : items_) {
        out += s;
        out += "\r\n";
    }
    return out;
}

void TStrList::SetText(std::string_view text) {
    Clear();
    AddText(text);
}

void TStrList::AddText(std::string_view text) {
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            Add(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) Add(text.substr(start));
}

void TStrList::Assign(const TStrList& other) {
    if (&other == this) return;
    Clear();
    for (const auto& s : other.items_) Add(s);
}

void TStrListEx::sync() {
    objects_.resize(items_.size(), nullptr);
}

void* TStrListEx::Object(int i) const {
    return i >= 0 && i < int(objects_.size()) ? objects_[std::size_t(i)] : nullptr;
}

void TStrListEx::SetObject(int i, void* object) {
    if (i >= 0 && i < int(objects_.size())) objects_[std::size_t(i)] = object;
}

int TStrListEx::AddObject(std::string_view s, void* object) {
    const int i = Count();
    InsertObject(i, s, object);
    return i;
}

void TStrListEx::InsertObject(int i, std::string_view s, void* object) {
    if (i < 0 || i > Count()) return;
    TStrList::Insert(i, s);
    objects_.insert(objects_.begin() + i, object);
}

int TStrListEx::IndexOfObject(const void* object) const {
    for (int i = 0; i < int(objects_.size()); ++i)
        if (objects_[std::size_t(i)] == object) return i;
    return -1;
}

void TStrListEx::Insert(int i, std::string_view s) {
    InsertObject(i, s, nullptr);
}

void TStrListEx::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    TStrList::Delete(i);
    objects_.erase(objects_.begin() + i);
}

void TStrListEx::Clear() {
    TStrList::Clear();
    objects_.clear();
}

void* TList::Item(int i) const {
    return i >= 0 && i < Count() ? items_[std::size_t(i)] : nullptr;
}
void TList::SetItem(int i, void* p) {
    if (i >= 0 && i < Count()) items_[std::size_t(i)] = p;
}
int TList::Add(void* p) {
    items_.push_back(p);
    return Count() - 1;
}
void TList::Insert(int i, void* p) {
    if (i >= 0 && i <= Count()) items_.insert(items_.begin() + i, p);
}
void TList::Delete(int i) {
    if (i >= 0 && i < Count()) items_.erase(items_.begin() + i);
}
int TList::Remove(const void* p) {
    const int i = IndexOf(p);
    if (i >= 0) Delete(i);
    return i;
}
int TList::IndexOf(const void* p) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[std::size_t(i)] == p) return i;
    return -1;
}
