// Child schemas hosted by the three containers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tabulo/runtime/init_queue.h"
#include "tabulo/runtime/message.h"
#include "tabulo/runtime/multi.h"
#include "tabulo_test/probe.h"

namespace {

std::vector<std::string> messages;
void recordMessage(const char* caption, const char* text) {
    messages.push_back(std::string(caption) + "|" + text);
}

int liveChildren = 0;
int startedChildren = 0;
int builtChildren = 0;

// Counts the values it gets and fires the count; starts through the init queue.
class Counter : public TObject {
public:
    TKV_Event onCount;
    int count = 0;
    Counter() { AddInit<&Counter::start>(this); }
    ~Counter() override { RemoveInits(this); }
    void start() { ++startedChildren; }
    void doEvent(TData&, uint16_t) { FireInt(onCount, ++count); }
};

template <class Boundary, class Base>
class CounterChild : public Base {
public:
    CounterChild(TKVContainer*, TControl*, TObject*) {
        auto* boundary = this->template Create<Boundary>(1, 0);
        counter = this->template Create<Counter>();
        boundary->Inputs[0] = BindEvent<&Counter::doEvent>(counter);
        counter->onCount = BindEvent<&TKVBoundary::doOutput>(boundary, 0);
        this->Boundary = boundary;
        ++liveChildren;
        ++builtChildren;
    }
    ~CounterChild() override { --liveChildren; }
    Counter* counter;
};
using MultiChild = CounterChild<TKVEditMulti, TClassMultiBase>;
using MultiExChild = CounterChild<TKVEditMultiEx, TClassMultiBase>;
using PageChild = CounterChild<TKVEditPolyMulti, TClassPolyBase>;

// A page built in two steps: its factory makes the boundary, BuildContents
// the counter behind it (logging the page's number).
std::vector<int> contentsBuilt;
class TwoStepPage : public TClassPolyBase {
public:
    TwoStepPage(TKVContainer*, TControl*, TObject*) : number_(++builtChildren) {
        Boundary = Create<TKVEditPolyMulti>(1, 0);
    }
    void BuildContents() override {
        contentsBuilt.push_back(number_);
        auto* counter = Create<Counter>();
        Boundary->Inputs[0] = BindEvent<&Counter::doEvent>(counter);
        counter->onCount = BindEvent<&TKVBoundary::doOutput>(Boundary, 0);
    }

private:
    int number_;
};

// Asks its container to delete the page or instance whose number it holds.
class Deleter : public TObject {
public:
    TKV_Event onDelete;
    int victim = 0;
    void doEvent(TData&, uint16_t) { FireInt(onDelete, victim); }
};

class Containers : public ::testing::Test {
protected:
    void SetUp() override {
        RunInits();
        SetInitsDone(false);
        messages.clear();
        liveChildren = startedChildren = builtChildren = 0;
        SetMessageFunction(&recordMessage);
    }
    void TearDown() override { SetMessageFunction(nullptr); }
    LiveHooks hooks;
    Probe out;
};

TEST_F(Containers, ChildBuiltDuringStartUpWaitsForTheStartUpRun) {
    TKVMultiElement m;
    m.SetFactory(&MakeMultiSchema<MultiChild>);
    EXPECT_EQ(liveChildren, 1);
    EXPECT_EQ(startedChildren, 0);
    EXPECT_FALSE(InitsDone());
    RunInits();
    EXPECT_EQ(startedChildren, 1);
}

TEST_F(Containers, ChildBuiltLaterStartsAtOnce) {
    RunInits();
    TKVMultiElement m;
    m.OnDemand = true;
    m.SetFactory(&MakeMultiSchema<MultiChild>);
    EXPECT_EQ(liveChildren, 0);
    m.Outputs = {out.Link()};
    TData d = MakeInt(0);
    m.doWork(d, 0);
    EXPECT_EQ(liveChildren, 1);
    EXPECT_EQ(startedChildren, 1);
    EXPECT_TRUE(InitsDone());
    m.doWork(d, 0);
    ASSERT_EQ(out.Count(), 2u);
    EXPECT_EQ(out.Last().IntValue, 2);  // built once, state kept
    m.doWork(d, 5);                     // no such input
    EXPECT_EQ(out.Count(), 2u);
}

// A child whose start-up fires straight back into its container.
class Echo : public TObject {
public:
    TKV_Event onStart;
    Echo() { AddInit<&Echo::start>(this); }
    ~Echo() override { RemoveInits(this); }
    void start() { FireInt(onStart, 0); }
};

class EchoChild : public MultiChild {
public:
    EchoChild(TKVContainer* c, TControl* p, TObject* o) : MultiChild(c, p, o) {
        Create<Echo>()->onStart =
            BindEvent<&TKVMultiElement::doWork>(static_cast<TKVMultiElement*>(c), 0);
    }
};

TEST_F(Containers, ChildIsRecordedBeforeItsInitsRun) {
    RunInits();
    TKVMultiElement m;
    m.OnDemand = true;
    m.Outputs = {out.Link()};
    m.SetFactory(&MakeMultiSchema<EchoChild>);
    TData d;
    m.doWork(d, 0);
    EXPECT_EQ(builtChildren, 1);
    EXPECT_EQ(liveChildren, 1);
    ASSERT_EQ(out.Count(), 2u);  // the echo and the call reached the one child
    EXPECT_EQ(out.Last().IntValue, 2);
}

TEST_F(Containers, OneShotChildrenKeepNoStateBetweenCalls) {
    RunInits();
    TKVMultiElementEx m;
    m.OnDemand = true;
    m.SetFactory(&MakeMultiSchema<MultiExChild>);
    m.Outputs = {out.Link()};
    for (int i = 0; i < 3; ++i) {
        TData d;
        m.doWork(d, 0);
    }
    ASSERT_EQ(out.Count(), 3u);
    for (const auto& hit : out.Hits) EXPECT_EQ(hit.Value.IntValue, 1);
    EXPECT_EQ(liveChildren, 0);
    EXPECT_EQ(startedChildren, 3);
    EXPECT_EQ(m.InstanceCount(), 0);
}

TEST_F(Containers, ChildAskingForItsOwnDeletionSurvivesWithOneMessage) {
    TKVMultiElementEx m;
    m.SetFactory(&MakeMultiSchema<MultiExChild>);
    ASSERT_EQ(m.InstanceCount(), 1);
    Deleter deleter;
    m.Outputs = {BindEvent<&Deleter::doEvent>(&deleter)};
    deleter.onDelete = BindEvent<&TKVMultiElementEx::doDelete>(&m);
    TData d;
    m.doWork(d, 0);
    EXPECT_EQ(messages,
              (std::vector<std::string>{"String-Debug|Self destruction is not allowed !!!"}));
    EXPECT_EQ(m.InstanceCount(), 1);
    EXPECT_EQ(liveChildren, 1);
    // From outside the child's own output the deletion goes through.
    m.DeleteInstance(0);
    EXPECT_EQ(m.InstanceCount(), 0);
    EXPECT_EQ(m.Current, nullptr);
    EXPECT_EQ(liveChildren, 0);
}

TEST_F(Containers, ExDestroysEveryInstance) {
    {
        TKVMultiElementEx m;
        m.SetFactory(&MakeMultiSchema<MultiExChild>);
        m.SetFactory(&MakeMultiSchema<MultiExChild>);
        EXPECT_EQ(liveChildren, 2);
        m.DeleteInstance(-1);
        m.DeleteInstance(2);
        EXPECT_EQ(liveChildren, 2);
    }
    EXPECT_EQ(liveChildren, 0);
}

class Pages : public Containers {
protected:
    void SetUp() override {
        Containers::SetUp();
        pages.RegisterPage("base", nullptr);
        pages.RegisterPage("A", &MakePolySchema<PageChild>);
        pages.RegisterPage("B", &MakePolySchema<PageChild>);
        pages.Outputs = {out.Link()};
    }
    void add(const char* name) {
        TData d = MakeText(name);
        pages.doAdd(d, 0);
    }
    TKVPolymorphMulti pages;
};

TEST_F(Pages, AddBuildsRegisteredPagesAndDeliversTheName) {
    add("A");
    add("nope");
    add("base");
    ASSERT_EQ(pages.PageCount(), 1);
    EXPECT_EQ(pages.PageAt(0).Name, "A");
    ASSERT_EQ(out.Count(), 1u);  // the page counted the add and reported it
    EXPECT_EQ(out.Last().IntValue, 1);
}

TEST_F(Pages, ContentsLaterWaitForTheirBuildOrForAValueToThePages) {
    contentsBuilt.clear();
    pages.RegisterPage("T", &MakePolySchema<TwoStepPage>);
    add("T");  // built whole
    EXPECT_EQ(contentsBuilt, std::vector<int>{1});
    pages.ContentsLater = true;
    add("T");
    add("T");
    pages.ContentsLater = false;
    EXPECT_EQ(pages.PageCount(), 3);
    EXPECT_TRUE(pages.ContentsWaiting());
    EXPECT_EQ(contentsBuilt, std::vector<int>{1});
    RunInits();  // start-up: only the first page's counter exists
    EXPECT_EQ(startedChildren, 1);

    // Built later, in page order, each starting at once as start-up is over.
    pages.BuildWaitingContents();
    EXPECT_EQ(contentsBuilt, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(startedChildren, 3);
    EXPECT_FALSE(pages.ContentsWaiting());
    pages.BuildWaitingContents();
    EXPECT_EQ(contentsBuilt.size(), 3u);

    // A select reaches a waiting page's contents: they are built first.
    pages.ContentsLater = true;
    add("T");
    pages.ContentsLater = false;
    out.Clear();
    TData d = MakeInt(3);
    pages.doSelect(d, 0);
    EXPECT_EQ(contentsBuilt, (std::vector<int>{1, 2, 3, 4}));
    ASSERT_EQ(out.Count(), 1u);
    EXPECT_EQ(out.Last().IntValue, 1);
}

TEST_F(Pages, SelectOutOfRangeClearsCurrentAndFiresNothing) {
    add("A");
    out.Clear();
    TData d = MakeInt(0);
    pages.doSelect(d, 0);
    EXPECT_EQ(pages.Current, pages.PageAt(0).Boundary);
    EXPECT_EQ(out.Count(), 1u);
    d = MakeInt(1);
    pages.doSelect(d, 0);
    EXPECT_EQ(pages.Current, nullptr);
    EXPECT_EQ(out.Count(), 1u);
}

TEST_F(Pages, SelectNameLeavesTheLastMatchCurrent) {
    add("A");
    add("B");
    add("A");
    TData d = MakeText("A");
    pages.doSelectName(d, 0);
    EXPECT_EQ(pages.Current, pages.PageAt(2).Boundary);
    d = MakeText("C");
    pages.doSelectName(d, 0);
    EXPECT_EQ(pages.Current, nullptr);
}

// A page's input that adds a page (the page list moves in memory) and deletes
// another page of the same name while the selection walks them: a use after
// free under AddressSanitizer.
TEST_F(Pages, SelectNameSurvivesPagesAddedAndDeletedOnTheWay) {
    const char* name = "a page name longer than any short string";
    pages.RegisterPage(name, &MakePolySchema<PageChild>);
    for (int i = 0; i < 4; ++i) add(name);
    struct Reshaper : TObject {
        TKV_Event onAdd, onDelete;
        int calls = 0;
        void doEvent(TData&, uint16_t) {
            if (++calls > 1) return;  // only the first page reshapes
            TData b = MakeText("B");
            Fire(onAdd, b);
            FireInt(onDelete, 3);
        }
    } reshaper;
    pages.Outputs = {BindEvent<&Reshaper::doEvent>(&reshaper)};
    reshaper.onAdd = BindEvent<&TKVPolymorphMulti::doAdd>(&pages, 7);
    reshaper.onDelete = BindEvent<&TKVPolymorphMulti::doDelete>(&pages, 7);
    TData d = MakeText(name);
    pages.doSelectName(d, 0);
    EXPECT_EQ(reshaper.calls, 3);  // the deleted fourth page got nothing
    ASSERT_EQ(pages.PageCount(), 4);
    EXPECT_EQ(pages.PageAt(3).Name, "B");
    EXPECT_EQ(pages.Current, pages.PageAt(2).Boundary);
    EXPECT_EQ(liveChildren, 4);
}

TEST_F(Pages, SelectAndDeleteByReference) {
    add("A");
    add("B");
    TData d;
    MakeObject(d, pages.PageAt(1).Boundary);
    pages.doSelectRef(d, 0);
    EXPECT_EQ(pages.Current, pages.PageAt(1).Boundary);
    MakeObject(d, &out);  // not a page
    pages.doDeleteRef(d, 0);
    EXPECT_EQ(pages.PageCount(), 2);
    MakeObject(d, pages.PageAt(1).Boundary);
    out.Clear();
    pages.doDeleteRef(d, 0);
    EXPECT_EQ(pages.PageCount(), 1);
    EXPECT_EQ(pages.Current, nullptr);
    EXPECT_EQ(out.Count(), 1u);  // the page got a last message
    EXPECT_EQ(liveChildren, 1);
}

TEST_F(Pages, DeleteIgnoresBadNumbersAndRefusesSelfDestruction) {
    add("A");
    TData d = MakeInt(3);
    pages.doDelete(d, 0);
    d = MakeInt(-1);
    pages.doDelete(d, 0);
    EXPECT_EQ(pages.PageCount(), 1);

    Deleter deleter;
    pages.Outputs = {BindEvent<&Deleter::doEvent>(&deleter)};
    deleter.onDelete = BindEvent<&TKVPolymorphMulti::doDelete>(&pages, 7);
    d = MakeInt(0);
    pages.doSelect(d, 0);  // the page reports, and asks for its own deletion
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(pages.PageCount(), 1);
}

TEST_F(Pages, PagesAreDestroyedWithTheContainer) {
    {
        TKVPolymorphMulti local;
        local.RegisterPage("A", &MakePolySchema<PageChild>);
        TData d = MakeText("A");
        local.doAdd(d, 0);
        local.doAdd(d, 0);
        EXPECT_EQ(liveChildren, 2);
    }
    EXPECT_EQ(liveChildren, 0);
}

}  // namespace
