#pragma once
// TWinLayout and TKVVBoxLayout: arrangement of controls inside a control's
// client area.
//
// A layout holds items (controls, nested layouts, fixed-size placeholders),
// each with a weight. Attached to a control, it re-arranges its items in the
// control's client area on every size change of that control.

#include <cstdint>
#include <vector>

#include "tabulo/runtime/object.h"
#include "tabulo/widgets/control.h"

class TKVWin;

class TWinLayout : public TObject {
public:
    enum ItemKind : uint8_t { ikControl = 1, ikLayout = 2, ikSpace = 3 };
    struct Item {
        ItemKind Kind = ikControl;
        TControl* Control = nullptr;   // ikControl
        TWinLayout* Nested = nullptr;  // ikLayout
        TKVWin* Component = nullptr;   // the component that attached the control, if any
        int Size = 0;                  // own height of a placeholder or a nested layout
        int Weight = 0;
    };

    explicit TWinLayout(TObject* owner = nullptr) : Owner(owner) {}
    ~TWinLayout() override;

    TObject* Owner = nullptr;
    int Spacing = 0;  // pixels between items
    int Margin = 0;   // pixels around all items

    virtual void AddItem(const Item& item);
    // Places the items in the rectangle.
    virtual void Arrange(int left, int top, int width, int height) = 0;
    virtual void RemoveItem(int index);

    void AddControl(TControl* control, int weight, TKVWin* component = nullptr);
    void AddLayout(TWinLayout* layout, int weight, int ownSize = 0);
    void AddSpace(int size, int weight = 0);
    void RemoveControl(const TControl* control);
    int ItemCount() const { return int(items_.size()); }
    const Item& ItemAt(int i) const { return items_[std::size_t(i)]; }

    // Arranges within the control's client area now and on every resize of
    // it; nullptr detaches.
    void AttachTo(TControl* control);
    TControl* Attached() const { return attached_; }
    // Arranges within the attached control's client area.
    void Rearrange();

protected:
    // The own height of an item (used when its weight is 0).
    int OwnHeight(const Item& item) const;
    void Place(const Item& item, int x, int y, int w, int h);
    std::vector<Item> items_;

private:
    TControl* attached_ = nullptr;
    TMessageHook previousHook_;
};

// Heights of a vertical box: free = height - 2 margin - (n - 1) spacing - the
// own heights of the weight-0 items; a weighted item gets free / 100 x weight,
// rounded half to even; the others keep their own height.
struct TVBoxEntry {
    int OwnHeight = 0;
    int Weight = 0;
};
std::vector<int> VBoxHeights(int height, int margin, int spacing,
                             const std::vector<TVBoxEntry>& items);

// Stacks its items from top to bottom, each as wide as the inner rectangle.
class TKVVBoxLayout : public TWinLayout {
public:
    using TWinLayout::TWinLayout;
    void Arrange(int left, int top, int width, int height) override;
};
