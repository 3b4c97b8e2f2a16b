// The drop receiver on a real control: hook chain, deferred acceptance and
// the order of its outputs.
#include <gtest/gtest.h>

#include <QWidget>

#include "tabulo/components/dropfile.h"
#include "tabulo/runtime/init_queue.h"
#include "tabulo/widgets/control.h"
#include "tabulo_test/probe.h"

namespace {

TEST(DropFile, ThreeFilesGiveStartEachFileInOrderThenEnd) {
    LiveHooks hooks;
    std::unique_ptr<TControl> form(NewForm(nullptr, "host"));
    int previousCalls = 0;
    TMessageHook original = [&](TControl&, TMsg& m) {
        if (m.Message == msgDropFiles) ++previousCalls;
        return false;
    };
    form->SetMessageHook(original);
    {
        TKVDropFile drop(form.get());
        EXPECT_FALSE(form->Widget()->acceptDrops()) << "acceptance waits for the init run";
        RunInits();
        EXPECT_TRUE(form->Widget()->acceptDrops());

        Probe p;
        drop.onStartDrop = p.Link(0);
        drop.onDropFile = p.Link(1);
        drop.onEndDrop = p.Link(2);
        TMsg m;
        m.Message = msgDropFiles;
        m.Files = {"/a/one.png", "/b/two.gif", "/c/three four.jpg"};
        form->Perform(m);

        ASSERT_EQ(p.Count(), 5u);
        EXPECT_EQ(p.Hits[0].Index, 0);
        EXPECT_EQ(p.Hits[0].Value.Tag, dtNull);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(p.Hits[std::size_t(i + 1)].Index, 1);
            EXPECT_EQ(p.Hits[std::size_t(i + 1)].Value.Tag, dtString);
            EXPECT_EQ(p.Hits[std::size_t(i + 1)].Value.TextValue.str(), m.Files[std::size_t(i)]);
        }
        EXPECT_EQ(p.Hits[4].Index, 2);
        EXPECT_EQ(previousCalls, 1) << "the previous hook still sees the drop";

        // Other messages pass untouched.
        TMsg other;
        other.Message = msgShow;
        form->Perform(other);
        EXPECT_EQ(p.Count(), 5u);
    }
    // Destroyed: the previous hook is back and drops are refused again.
    EXPECT_FALSE(form->Widget()->acceptDrops());
    TMsg m;
    m.Message = msgDropFiles;
    m.Files = {"/x"};
    form->Perform(m);
    EXPECT_EQ(previousCalls, 2);
}

TEST(DropFile, DestroyedBeforeTheInitRunLeavesNothingQueued) {
    std::unique_ptr<TControl> form(NewForm(nullptr, "host"));
    const int before = PendingInits();
    {
        TKVDropFile drop(form.get());
        EXPECT_EQ(PendingInits(), before + 1);
    }
    EXPECT_EQ(PendingInits(), before);
}

}  // namespace
