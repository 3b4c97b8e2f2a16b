#include "tabulo/controls/memo.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/controls_test.h"
#include "tabulo_test/probe.h"

namespace {
std::unique_ptr<TKVMemo> MakeMemo(TControl* parent, uint8_t readOnly, uint8_t scrollBars,
                                  uint8_t border, const char* text) {
    auto m = std::make_unique<TKVMemo>(parent);
    m->ReadOnly = readOnly;
    m->ScrollBars = scrollBars;
    m->BorderStyle = border;
    m->Text = text;
    m->Init();
    return m;
}

TEST(Memo, ShowsCrLfTextAsPlainLines) {
    HostWindow host;
    auto m = MakeMemo(host.Control(), 0, 2, 0, "Tabulo v. 1.3\r\nline two\r\n\r\n.");
    // The edit box gives its text back with CR LF, as the platform's does.
    EXPECT_EQ(m->Control->Text().str(), "Tabulo v. 1.3\r\nline two\r\n\r\n.");
    EXPECT_EQ(m->Control->Line(1), "line two");
    EXPECT_EQ(m->LineCount(), 4);
    m->ReadLines();
    ASSERT_EQ(m->Lines.Count(), 4);
    EXPECT_EQ(m->Lines[1], "line two");
}

TEST(Memo, ReadOnlySelectorZeroMeansReadOnly) {
    HostWindow host;
    auto ro = MakeMemo(host.Control(), 0, 0, 1, "");
    auto rw = MakeMemo(host.Control(), 1, 0, 1, "");
    EXPECT_TRUE(ro->Control->ReadOnly());
    EXPECT_FALSE(rw->Control->ReadOnly());
}

TEST(Memo, ScrollBarsAndBorder) {
    HostWindow host;
    auto none = MakeMemo(host.Control(), 0, 0, 0, "");
    EXPECT_TRUE(none->Control->EditOptions() & eoNoVScroll);
    EXPECT_TRUE(none->Control->EditOptions() & eoNoHScroll);
    EXPECT_FALSE(none->Control->Style() & WS_BORDER);
    auto vertical = MakeMemo(host.Control(), 0, 2, 1, "");
    EXPECT_FALSE(vertical->Control->EditOptions() & eoNoVScroll);
    EXPECT_TRUE(vertical->Control->EditOptions() & eoNoHScroll);
    EXPECT_TRUE(vertical->Control->Style() & WS_BORDER);
    auto both = MakeMemo(host.Control(), 1, 3, 1, "");
    EXPECT_FALSE(both->Control->EditOptions() & (eoNoVScroll | eoNoHScroll));
}

TEST(Memo, LineOperations) {
    HostWindow host;
    auto m = MakeMemo(host.Control(), 1, 0, 1, "one\r\ntwo\r\nthree");
    m->AddLine("four");
    EXPECT_EQ(m->Control->Text().str(), "one\r\ntwo\r\nthree\r\nfour");
    m->DeleteLine(1);
    EXPECT_EQ(m->Control->Text().str(), "one\r\nthree\r\nfour");
    m->ReplaceLine(0, "ONE");
    m->ReplaceLine(2, "FOUR");
    m->ReplaceLine(7, "ignored");
    m->ReplaceLine(-1, "ignored");
    EXPECT_EQ(m->Control->Text().str(), "ONE\r\nthree\r\nFOUR");
    m->DeleteLine(0);
    EXPECT_EQ(m->Control->Text().str(), "three\r\nFOUR");
    m->DeleteLine(1);  // the last line loses its text, not the break before it
    EXPECT_EQ(m->Control->Text().str(), "three\r\n");
    m->SetAllText("a\r\n");
    m->AddLine("b");  // the last line is empty: no extra line break
    EXPECT_EQ(m->Control->Text().str(), "a\r\nb");
}

TEST(Memo, ChangesFireTheWholeText) {
    HostWindow host;
    LiveHooks hooks;
    Probe change;
    auto m = MakeMemo(host.Control(), 1, 0, 1, "x");
    m->onChange = change.Link();
    m->AddLine("y");
    ASSERT_GE(change.Count(), 1u);
    EXPECT_EQ(change.Last().TextValue.str(), "x\r\ny");
}
}  // namespace
