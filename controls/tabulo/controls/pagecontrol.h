#pragma once
// TKVPageControl: the page container with a tab strip, one tab per page.
//
// Each page is built inside its own tab's page area; the page's panel adopts
// that area and names the tab. The tab strip switches the visible page by
// itself; the pages stay built until the container goes.
//
// With DeferHiddenPages, Init builds the page shown first whole and the
// others up to their tabs; their contents follow right after the window's
// first paint, in page order, and always before the program handles any
// input (TAfterFirstPaint).

#include <memory>

#include "tabulo/controls/win.h"
#include "tabulo/runtime/multi.h"

class TAfterFirstPaint;

class TKVPageControl : public TKVPolymorphMulti {
public:
    // `parent`: the control the tab strip is made on.
    explicit TKVPageControl(TControl* parent);
    ~TKVPageControl() override;

    TControl* TabStrip = nullptr;

    // The common visual properties, applied to the tab strip as a visual
    // component applies them.
    TText Name;
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
    uint8_t Align = 0;
    TColor Color = clBtnFace;
    uint8_t BorderStyle = 2;
    int32_t Edge = 0;
    TFontRec Font;
    bool ParentFont = false;
    bool Visible = true;
    bool Enabled = true;
    int32_t Cursor = 0;
    int32_t TabOrder = 0;
    bool Flat = false;
    TText Hint;
    TCompanionFactory CompanionFactory;

    bool CreateAll = false;         // Init builds every registered page but the first
    bool SelectNew = false;         // a new page becomes the selected tab
    bool Buttons = false;           // tabs drawn as buttons
    bool DeferHiddenPages = false;  // CreateAll: hidden pages' contents after the first paint

    // Makes the tab strip, builds the pages (CreateAll), applies the properties.
    void Initialize() override;
    void Init() { Initialize(); }

    // Adds a tab "tab" and builds the page named by the value in its area.
    void doAdd(TData& value, uint16_t index) override;
    // Selects the tab, then the page, with the index in the value.
    void doSelect(TData& value, uint16_t index) override;
    // Deletes the page and tab with the index in the value.
    void doDelete(TData& value, uint16_t index) override;

    // The component that carries the tab strip's outputs (mouse and so on).
    TKVWin* Strip() const { return strip_.get(); }

private:
    TControl* parent_ = nullptr;
    std::unique_ptr<TKVWin> strip_;
    std::unique_ptr<TAfterFirstPaint> hiddenPages_;
};
