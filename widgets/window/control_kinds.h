#pragma once
// The kinds of control: each owns its toolkit window and overrides what sets
// it apart from the others. The New... functions of control.h make them.

#include <QString>
#include <vector>

#include "control_impl.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace widgets_detail {
// The frame a label or memo draws for the style bits.
void SetFrameShape(QWidget* frame, uint32_t style, uint32_t exStyle);
QString ToQString(std::string_view utf8);
TText FromQString(const QString& s);
}  // namespace widgets_detail

// A top-level window, hidden at first (control_window.cpp).
class TFormControl : public TControl {
public:
    TFormControl(TControl* parent, const TText& caption);

protected:
    QString shownText() const override;
    bool showText(std::string_view utf8) override;
    void applyIcon() override;
    void applyKindStyle() override { applyFormFlags(); }
};

// A plain window that its owner paints: custom controls, and the base of
// panels, tab pages and splitters.
class TPlainControl : public TControl {
public:
    TPlainControl(TControl* parent, const TText& text, TControlKind kind = TControlKind::Custom);
};

// A container that draws its caption, then runs its paint hook.
class TPanelControl : public TPlainControl {
public:
    TPanelControl(TControl* parent, const TText& caption, const TmdvPanelData& layout);
    TmdvPanelData* PanelData() const override { return data_.get(); }
    void DrawCaption(TCanvas& canvas, const TRect& r) override;
    void LookChanged() override;

private:
    std::unique_ptr<TmdvPanelData> data_;
};

// A bar that resizes the aligned sibling before it.
class TSplitterControl : public TPlainControl {
public:
    TSplitterControl(TControl* parent, int minPrev, int minNext);
    void MouseHandled(const TMsg& msg, TPoint screenPos) override;

private:
    void drag(int pos, bool start);

    int minPrev_, minNext_;
    bool dragging_ = false;
    int dragStart_ = 0;
    int dragOrigSize_ = 0;
};

class TLabelControl : public TControl {
public:
    TLabelControl(TControl* parent, const TText& caption);
    void SetWordWrap(bool on) override;
    bool PaintsWindow() const override { return false; }

protected:
    QString shownText() const override;
    bool showText(std::string_view utf8) override;
    void applyTextAlign() override;
    void applyKindStyle() override;

private:
    QLabel* label() const;
};

// What push buttons, bit buttons and check boxes share.
class TButtonControl : public TControl {
public:
    bool StandardControl() const override { return true; }
    bool PaintsWindow() const override { return false; }

protected:
    TButtonControl(TControlKind kind, TControl* parent) : TControl(kind, parent) {}
    QString shownText() const override;
    bool showText(std::string_view utf8) override;
    QAbstractButton* button() const override;
    void applyIcon() override;
};

class TPushButtonControl : public TButtonControl {
public:
    TPushButtonControl(TControl* parent, const TText& caption);
    bool PressedByKeys() const override { return true; }

protected:
    void applyDefault() override;
    void applyKindStyle() override;
};

// The owner-drawn button: flat fill, raised or sunken edge, text shifted
// while pressed.
class TBitButtonControl : public TButtonControl {
public:
    TBitButtonControl(TControl* parent, const TText& caption);
    bool PressedByKeys() const override { return true; }
    bool PaintsWindow() const override { return true; }
    bool OwnerDrawn() const override { return true; }
    void DrawDefaultLook(TCanvas& canvas, const TRect& rect, int state) override;
    void HoverChanged() override;
};

class TCheckBoxControl : public TButtonControl {
public:
    TCheckBoxControl(TControl* parent, const TText& caption);
};

// The single-line edit box (control_edit.cpp).
class TEditControl : public TControl {
public:
    TEditControl(TControl* parent, uint32_t options);
    bool StandardControl() const override { return true; }
    bool PaintsWindow() const override { return false; }
    bool ReadOnly() const override;
    void SetReadOnly(bool on) override;
    int LineCount() const override { return 1; }
    TText Line(int i) const override;
    int LineStart(int i) const override { return i == 0 ? 0 : -1; }
    int SelStart() const override;
    int SelLength() const override;
    void SetSelection(int start, int length) override;
    TText SelText() const override;
    void ReplaceSelection(const TText& text) override;

protected:
    QString shownText() const override;
    bool showText(std::string_view utf8) override;
    void applyTextAlign() override;
    void applyKindStyle() override;
    bool backgroundIsTextArea() const override { return true; }

private:
    QLineEdit* edit() const;
};

// The multi-line edit box (control_edit.cpp).
class TMemoControl : public TControl {
public:
    TMemoControl(TControl* parent, uint32_t options);
    bool StandardControl() const override { return true; }
    bool PaintsWindow() const override { return false; }
    bool ReadOnly() const override;
    void SetReadOnly(bool on) override;
    int LineCount() const override;
    TText Line(int i) const override;
    int LineStart(int i) const override;
    int SelStart() const override;
    int SelLength() const override;
    void SetSelection(int start, int length) override;
    TText SelText() const override;
    void ReplaceSelection(const TText& text) override;

protected:
    QString shownText() const override;
    bool showText(std::string_view utf8) override;
    void applyTextAlign() override;
    void applyKindStyle() override;
    bool backgroundIsTextArea() const override { return true; }

private:
    QPlainTextEdit* memo() const;
};

// The tab strip and its page areas (control_tabs.cpp).
class TTabPageControl : public TControl {
public:
    explicit TTabPageControl(TControl* strip);
    bool PlacedByAlignment() const override { return false; }
};

class TTabControl : public TControl {
public:
    TTabControl(TControl* parent, bool buttons);
    ~TTabControl() override;
    bool StandardControl() const override { return true; }
    bool PaintsWindow() const override { return false; }
    TControl* AddTab(const TText& text) override;
    int TabCount() const override;
    TControl* TabPage(int i) const override;
    int TabIndexOfPage(const TControl* page) const override;
    TText TabText(int i) const override;
    void SetTabText(int i, const TText& text) override;
    void SetTabImage(int i, int imageIndex) override;
    int TabImage(int i) const override;
    void DeleteTab(int i) override;
    int CurrentTab() const override;
    void SetCurrentTab(int i) override;

private:
    // The tab strip's window while it lives.
    QTabWidget* tabs() const;
    struct TPage {
        TControl* Page;  // owned
        int Image;
    };
    std::vector<TPage> pages_;
};
