#pragma once
// TKVWinList and TKVEWinList: the list-control bases; TKVMemo: a multi-line
// text box over them.

#include "tabulo/controls/win.h"
#include "tabulo/widgets/strlist.h"

class TKVWinList : public TKVWin {
public:
    using TKVWin::TKVWin;

    TStrList Lines;
    TKV_Event onChange;

    // Copies the control's lines into Lines.
    virtual void ReadLines() {}
    virtual void SetAllText(const TText& text) = 0;
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}
    virtual void AddLine(const TText& /*text*/) {}
    virtual void DeleteLine(int /*index*/) {}
    virtual void ReplaceLine(int /*index*/, const TText& /*text*/) {}
    virtual int LineCount() { return Lines.Count(); }
    virtual void ClearLines() { SetAllText(TText()); }
};

class TKVEWinList : public TKVWinList {
public:
    using TKVWinList::TKVWinList;

    // The whole text, with redraw off meanwhile.
    void SetAllText(const TText& text) override;
    void BeginUpdate() override;
    void EndUpdate() override;
};

class TKVMemo : public TKVEWinList {
public:
    explicit TKVMemo(TControl* parent);

    uint8_t ScrollBars = 0;  // 0 none, 1 horizontal, 2 vertical, 3 both
    uint8_t ReadOnly = 1;    // enumeration: 0 read-only, any other value editable
    TText Text;              // initial text (CR LF, LF or CR between lines)

    void Init() override;
    void ReadLines() override;
    // Appends a line, starting a new one when the last line is not empty.
    void AddLine(const TText& text) override;
    void DeleteLine(int index) override;
    // Replaces the text of line `index` (ignored outside the lines).
    void ReplaceLine(int index, const TText& text) override;
    int LineCount() override;
};
