#pragma once
// The button kinds: push button, owner-drawn bit button, check box.

#include "control_kinds.h"

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
