#pragma once
// The edit boxes: single-line and multi-line.

#include "control_kinds.h"

class QLineEdit;
class QPlainTextEdit;

// The single-line edit box.
class TEditControl : public TControl {
public:
    TEditControl(TControl* parent, uint32_t options);
    bool StandardControl() const override { return true; }
    bool PaintsWindow() const override { return false; }
    bool ReadOnly() const override;
    void SetReadOnly(bool on) override;
    int LineCount() const override { return Widget() ? 1 : 0; }
    TText Line(int i) const override;
    int LineStart(int i) const override { return Widget() && i == 0 ? 0 : -1; }
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

// The multi-line edit box.
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
