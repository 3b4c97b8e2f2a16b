#pragma once
// The form: a top-level window.

#include "control_kinds.h"

// A top-level window, hidden at first.
class TFormControl : public TControl {
public:
    TFormControl(TControl* parent, const TText& caption);

protected:
    QString shownText() const override;
    bool showText(std::string_view utf8) override;
    void applyIcon() override;
    void applyStyle() override;
    void aboutToMap() override { prepareFrame(); }

private:
    void applyFormFlags();
    void prepareFrame();
};
