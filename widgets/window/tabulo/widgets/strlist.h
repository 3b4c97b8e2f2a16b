#pragma once
// TStrList (an ordered list of strings), TStrListEx (one object pointer per
// line besides) and TList (an ordered list of pointers). Memory only.
//
// Out-of-range indexes are ignored by the changing operations and read as an
// empty string or nullptr.

#include <string>
#include <string_view>
#include <vector>

#include "tabulo/widgets/obj.h"

class TStrList : public TObj {
public:
    TStrList() = default;
    int Count() const { return int(items_.size()); }
    const std::string& Item(int i) const;
    const std::string& operator[](int i) const { return Item(i); }
    void SetItem(int i, std::string_view s);

    int Add(std::string_view s);
    virtual void Insert(int i, std::string_view s);
    virtual void Delete(int i);
    virtual void Clear();
    int IndexOf(std::string_view s) const;

    // The whole text: lines joined by CR LF, each line ended by it.
    std::string Text() const;
    // Replaces the lines; CR LF, LF and CR all end a line; a final line end
    // gives no extra empty line.
    void SetText(std::string_view text);
    // Appends the lines of text.
    void AddText(std::string_view text);
    void Assign(const TStrList& other);

protected:
    std::vector<std::string> items_;
};

class TStrListEx : public TStrList {
public:
    void* Object(int i) const;
    void SetObject(int i, void* object);
    int AddObject(std::string_view s, void* object);
    void InsertObject(int i, std::string_view s, void* object);
    int IndexOfObject(const void* object) const;

    void Insert(int i, std::string_view s) override;
    void Delete(int i) override;
    void Clear() override;

private:
    void sync();
    std::vector<void*> objects_;
};

class TList : public TObj {
public:
    int Count() const { return int(items_.size()); }
    void* Item(int i) const;
    void SetItem(int i, void* p);
    int Add(void* p);
    void Insert(int i, void* p);
    void Delete(int i);
    // Deletes the first occurrence; answers its index or -1.
    int Remove(const void* p);
    void Clear() { items_.clear(); }
    int IndexOf(const void* p) const;
    void** begin() { return items_.data(); }
    void** end() { return items_.data() + items_.size(); }

private:
    std::vector<void*> items_;
};
