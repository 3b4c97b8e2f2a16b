#include "tabulo/controls/pagecontrol.h"

#include "tabulo/widgets/afterfirstpaint.h"

namespace {
// The tab strip as a visual component (it owns and frees the strip).
class TTabStripWin : public TKVWin {
public:
    TTabStripWin(TControl* parent, TControl* strip) : TKVWin(parent) { Control = strip; }
};
}  // namespace

TKVPageControl::TKVPageControl(TControl* parent) : parent_(parent) {
    if (parent) Color = parent->Color();
}

TKVPageControl::~TKVPageControl() {
    hiddenPages_.reset();
    // The pages live in the tab strip's page areas: they go first.
    DestroyPages();
    strip_.reset();
    TabStrip = nullptr;
}

void TKVPageControl::Initialize() {
    if (TabStrip) return;
    TabStrip = NewTabControl(parent_, Buttons);
    strip_ = std::make_unique<TTabStripWin>(parent_, TabStrip);
    if (CreateAll) {
        const int last = RegistryCount() - 1;
        for (int i = 1; i <= last; ++i) {
            // The page shown first is the first one added, or the last with SelectNew.
            const bool shown = SelectNew ? i == last : i == 1;
            ContentsLater = DeferHiddenPages && !shown;
            TData name = MakeText(TText(RegistryName(i)));
            doAdd(name, 0);
        }
        ContentsLater = false;
        if (ContentsWaiting())
            hiddenPages_ = std::make_unique<TAfterFirstPaint>(
                parent_ ? parent_->ParentForm() : nullptr, [this] { BuildWaitingContents(); });
    }
    TKVWin& s = *strip_;
    s.Name = Name;
    s.Left = Left;
    s.Top = Top;
    s.Width = Width;
    s.Height = Height;
    s.Align = Align;
    s.Color = Color;
    s.BorderStyle = BorderStyle;
    s.Edge = Edge;
    s.Font = Font;
    s.ParentFont = ParentFont;
    s.Visible = Visible;
    s.Enabled = Enabled;
    s.Cursor = Cursor;
    s.TabOrder = TabOrder;
    s.Flat = Flat;
    s.Hint = Hint;
    s.CompanionFactory = CompanionFactory;
    s.Init();
}

void TKVPageControl::doAdd(TData& value, uint16_t index) {
    if (!TabStrip) return;
    ParentControl = TabStrip->AddTab("tab");
    TKVPolymorphMulti::doAdd(value, index);
    if (SelectNew) TabStrip->SetCurrentTab(TabStrip->TabCount() - 1);
}

void TKVPageControl::doSelect(TData& value, uint16_t index) {
    BuildWaitingContents();  // before a waiting page could show
    if (TabStrip) TabStrip->SetCurrentTab(AsInt(value));
    TKVPolymorphMulti::doSelect(value, index);
}

void TKVPageControl::doDelete(TData& value, uint16_t index) {
    if (!TabStrip) return;
    BuildWaitingContents();
    const int n = AsInt(value);
    const int remembered = TabStrip->CurrentTab();
    // The page is destroyed before its tab, whose page area holds its controls.
    TKVPolymorphMulti::doDelete(value, index);
    TabStrip->DeleteTab(n);
    if (TabStrip->TabCount() > 0) TabStrip->SetCurrentTab(remembered > 0 ? remembered - 1 : 0);
}
