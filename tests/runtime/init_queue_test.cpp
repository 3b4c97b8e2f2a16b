// The deferred initialisation queue.
#include <gtest/gtest.h>

#include <vector>

#include "tabulo/runtime/init_queue.h"

namespace {

std::vector<int> order;

class Starter {
public:
    explicit Starter(int id) : id_(id) { AddInit<&Starter::start>(this); }
    ~Starter() { RemoveInits(this); }
    void start() { order.push_back(id_); }

private:
    int id_;
};

// Queues another entry while the queue runs.
class Spawner {
public:
    Spawner() { AddInit<&Spawner::start>(this); }
    void start() {
        order.push_back(100);
        late_ = std::make_unique<Starter>(101);
    }

private:
    std::unique_ptr<Starter> late_;
};

class InitQueue : public ::testing::Test {
protected:
    void SetUp() override {
        RunInits();
        SetInitsDone(false);
        order.clear();
    }
};

TEST_F(InitQueue, RunsInTheOrderAddedOnceAndSetsDone) {
    Starter a(1), b(2), c(3);
    EXPECT_FALSE(InitsDone());
    EXPECT_EQ(PendingInits(), 3);
    RunInits();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(InitsDone());
    RunInits();
    EXPECT_EQ(order.size(), 3u);
}

TEST_F(InitQueue, EntriesAddedDuringTheRunRunToo) {
    Spawner s;
    RunInits();
    EXPECT_EQ(order, (std::vector<int>{100, 101}));
}

TEST_F(InitQueue, DestroyedObjectsAreNeverCalled) {
    auto gone = std::make_unique<Starter>(1);
    Starter kept(2);
    gone.reset();
    EXPECT_EQ(PendingInits(), 1);
    RunInits();
    EXPECT_EQ(order, (std::vector<int>{2}));
}

}  // namespace
