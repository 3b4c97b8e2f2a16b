#pragma once
// The kinds of control: each owns its toolkit window and overrides what sets
// it apart from the others. The New... functions of control.h make them.
// Here the plain windows (custom, panel, splitter) and the label; the form,
// the buttons, the edit boxes and the tab strip have headers of their own.

#include <QString>
#include <memory>

#include "control_impl.h"

class QLabel;

namespace widgets_detail {
// The frame a label or memo draws for the style bits.
void SetFrameShape(QWidget* frame, uint32_t style, uint32_t exStyle);
QString ToQString(std::string_view utf8);
TText FromQString(const QString& s);
}  // namespace widgets_detail

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
