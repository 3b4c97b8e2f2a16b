#include "tabulo/controls/memo.h"

#include <string>
#include <vector>

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

namespace {
// The lines of a text: "a\nb" is {a, b}, "a\n" is {a, ""}, "" is {""}.
std::vector<std::string> splitLines(std::string_view text) {
    const std::string plain = plainLines(text);
    std::vector<std::string> lines(1);
    for (char c : plain) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back().push_back(c);
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) out.push_back('\n');
        out += lines[i];
    }
    return out;
}
}  // namespace

void TKVMemo::AddLine(const TText& text) {
    if (!Control) return;
    std::vector<std::string> lines = splitLines(Control->Text().view());
    const std::string add = plainLines(text.view());
    if (lines.back().empty())
        lines.back() = add;
    else
        lines.push_back(add);
    Control->SetText(TText(joinLines(lines)));
}

void TKVMemo::DeleteLine(int index) {
    if (!Control) return;
    std::vector<std::string> lines = splitLines(Control->Text().view());
    if (index < 0 || index >= int(lines.size())) return;
    // From the start of the line to the start of the next; the last line
    // loses its text only.
    if (index + 1 < int(lines.size()))
        lines.erase(lines.begin() + index);
    else
        lines.back().clear();
    Control->SetText(TText(joinLines(lines)));
}

void TKVMemo::ReplaceLine(int index, const TText& text) {
    if (!Control) return;
    std::vector<std::string> lines = splitLines(Control->Text().view());
    if (index < 0 || index >= int(lines.size())) return;
    lines[std::size_t(index)] = plainLines(text.view());
    Control->SetText(TText(joinLines(lines)));
}
