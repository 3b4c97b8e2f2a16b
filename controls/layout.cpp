#include "tabulo/controls/layout.h"

#include <algorithm>

#include "tabulo/controls/win.h"
#include "tabulo/runtime/data.h"

TWinLayout::~TWinLayout() {
    AttachTo(nullptr);
    for (Item& item : items_)
        if (item.Component && item.Component->Layout == this) item.Component->Layout = nullptr;
}

void TWinLayout::AddItem(const Item& item) {
    items_.push_back(item);
}

void TWinLayout::RemoveItem(int index) {
    if (index < 0 || index >= ItemCount()) return;
    items_.erase(items_.begin() + index);
}

void TWinLayout::AddControl(TControl* control, int weight, TKVWin* component) {
    if (!control) return;
    Item item;
    item.Kind = ikControl;
    item.Control = control;
    item.Component = component;
    item.Weight = weight;
    AddItem(item);
}

void TWinLayout::AddLayout(TWinLayout* layout, int weight, int ownSize) {
    if (!layout) return;
    Item item;
    item.Kind = ikLayout;
    item.Nested = layout;
    item.Size = ownSize;
    item.Weight = weight;
    AddItem(item);
}

void TWinLayout::AddSpace(int size, int weight) {
    Item item;
    item.Kind = ikSpace;
    item.Size = size;
    item.Weight = weight;
    AddItem(item);
}

void TWinLayout::RemoveControl(const TControl* control) {
    for (int i = ItemCount() - 1; i >= 0; --i)
        if (items_[std::size_t(i)].Kind == ikControl && items_[std::size_t(i)].Control == control)
            RemoveItem(i);
}

void TWinLayout::AttachTo(TControl* control) {
    if (attached_) attached_->SetMessageHook(previousHook_);
    attached_ = control;
    previousHook_ = nullptr;
    if (!attached_) return;
    previousHook_ = attached_->SetMessageHook([this](TControl& sender, TMsg& msg) {
        if (msg.Message == msgSize) Rearrange();
        return PassMessage(previousHook_, sender, msg);
    });
    Rearrange();
}

void TWinLayout::Rearrange() {
    if (!attached_) return;
    const TRect r = attached_->ClientRect();
    Arrange(r.Left, r.Top, r.Width(), r.Height());
}

int TWinLayout::OwnHeight(const Item& item) const {
    switch (item.Kind) {
        case ikControl:
            return item.Control ? item.Control->Height() : 0;
        default:
            return item.Size;
    }
}

void TWinLayout::Place(const Item& item, int x, int y, int w, int h) {
    switch (item.Kind) {
        case ikControl:
            if (item.Control) item.Control->SetBoundsRect(MakeRect(x, y, x + w, y + h));
            break;
        case ikLayout:
            if (item.Nested) item.Nested->Arrange(x, y, w, h);
            break;
        case ikSpace:
            break;
    }
}

std::vector<int> VBoxHeights(int height, int margin, int spacing,
                             const std::vector<TVBoxEntry>& items) {
    const int n = int(items.size());
    double free = double(height) - 2.0 * margin;
    for (const TVBoxEntry& e : items)
        if (e.Weight == 0) free -= e.OwnHeight;
    if (n > 1) free -= double(n - 1) * spacing;
    std::vector<int> heights;
    heights.reserve(items.size());
    for (const TVBoxEntry& e : items)
        heights.push_back(e.Weight >= 1 ? RoundHalfEven(free / 100.0 * e.Weight) : e.OwnHeight);
    return heights;
}

void TKVVBoxLayout::Arrange(int left, int top, int width, int height) {
    std::vector<TVBoxEntry> entries;
    entries.reserve(items_.size());
    for (const Item& item : items_) entries.push_back({OwnHeight(item), item.Weight});
    const std::vector<int> heights = VBoxHeights(height, Margin, Spacing, entries);
    const int x = left + Margin;
    const int w = width - 2 * Margin;
    int y = top + Margin;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        Place(items_[i], x, y, w, heights[i]);
        y += heights[i] + Spacing;
    }
}
