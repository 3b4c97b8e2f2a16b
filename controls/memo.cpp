#include "tabulo/controls/memo.h"

#include <string>

namespace {
// The edit box keeps LF line ends; texts from files and resources come with
// CR LF (or CR).
std::string plainLines(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}
}  // namespace

// ---- TKVEWinList ------------------------------------------------------------

void TKVEWinList::SetAllText(const TText& text) {
    if (!Control) return;
    BeginUpdate();
    Control->SetText(TText(plainLines(text.view())));
    EndUpdate();
}

void TKVEWinList::BeginUpdate() {
    if (Control) Control->BeginUpdate();
}

void TKVEWinList::EndUpdate() {
    if (!Control) return;
    Control->EndUpdate();
    Control->Invalidate();
}

// ---- TKVMemo ----------------------------------------------------------------

TKVMemo::TKVMemo(TControl* parent) : TKVEWinList(parent) {
    Width = 200;
    Height = 200;
}

void TKVMemo::Init() {
    uint32_t options = eoNoHScroll | eoNoVScroll | eoMultiline | eoNoHideSel;
    if (ScrollBars == 1) options &= ~eoNoHScroll;
    if (ScrollBars == 2) options &= ~eoNoVScroll;
    if (ScrollBars == 3) options &= ~(eoNoHScroll | eoNoVScroll);
    if (ReadOnly == 0) options |= eoReadonly;
    if (!Control) Control = NewEdit(ParentControl, options);
    Control->OnChange = [this](TControl& c) { FireText(onChange, c.Text()); };
    if (BorderStyle == 0) Control->SetStyle(Control->Style() & ~uint32_t(WS_BORDER));
    InitControl();
    SetAllText(Text);
}

void TKVMemo::ReadLines() {
    if (Control) Lines.SetText(Control->Text().view());
}

int TKVMemo::LineCount() {
    return Control ? Control->LineCount() : 0;
}

void TKVMemo::AddLine(const TText& text) {
    if (!Control) return;
    const int n = Control->LineCount();
    const bool newLine = n > 0 && !Control->Line(n - 1).empty();
    const std::string add = plainLines(text.view());
    if (newLine) {
        Control->SetSelection(Control->TextLength(), 0);
        Control->ReplaceSelection(TText("\n"));
    }
    Control->SetSelection(Control->TextLength(), 0);
    Control->ReplaceSelection(TText(add));
}

void TKVMemo::DeleteLine(int index) {
    if (!Control || index < 0 || index >= Control->LineCount()) return;
    const int start = Control->LineStart(index);
    int end = Control->LineStart(index + 1);
    if (end < 0) end = Control->TextLength();
    Control->SetSelection(start, end - start);
    Control->ReplaceSelection(TText());
}

void TKVMemo::ReplaceLine(int index, const TText& text) {
    if (!Control || index < 0 || index >= Control->LineCount()) return;
    const int start = Control->LineStart(index);
    Control->SetSelection(start, int(Control->Line(index).size()));
    Control->ReplaceSelection(TText(plainLines(text.view())));
}
