#include "RemoteImage/Utils/WorkQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace remoteimage;

using namespace std::chrono_literals;

namespace {

// Counts tasks running at once and remembers the highest count.
struct Overlap {
    std::atomic<int> now{0};
    std::atomic<int> most{0};

    void enter()
    {
        const int n = ++now;
        int seen = most.load();
        while (n > seen && !most.compare_exchange_weak(seen, n)) {
        }
    }
    void leave() { --now; }
};

} // namespace

TEST(WorkQueue, SerialQueueRunsTasksInOrderOnOneThread)
{
    WorkQueue queue("test.serial");
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    for (int i = 0; i < 500; ++i) {
        queue.async([&, i] {
            order.push_back(i);
            threads.push_back(std::this_thread::get_id());
        });
    }
    queue.sync([] {});
    ASSERT_EQ(order.size(), 500u);
    for (int i = 0; i < 500; ++i)
        EXPECT_EQ(order[i], i);
    for (const auto& id : threads)
        EXPECT_EQ(id, threads.front()) << "a serial queue keeps one thread (database connections rely on it)";
}

TEST(WorkQueue, ConcurrentQueueRespectsItsWidth)
{
    Overlap overlap;
    {
        WorkQueue queue("test.concurrent", WorkQueue::Kind::Concurrent, 3);
        for (int i = 0; i < 12; ++i) {
            queue.async([&] {
                overlap.enter();
                // Until two tasks have run at once, however slow the machine
                // is to start the second (a far deadline for a serial queue).
                const auto deadline = std::chrono::steady_clock::now() + 10s;
                while (overlap.most.load() < 2 && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(1ms);
                std::this_thread::sleep_for(5ms);
                overlap.leave();
            });
        }
    } // destruction waits for all twelve
    EXPECT_LE(overlap.most.load(), 3);
    EXPECT_GE(overlap.most.load(), 2) << "tasks of a concurrent queue should overlap";
}

TEST(WorkQueue, BarrierRunsAloneBetweenEarlierAndLaterTasks)
{
    WorkQueue queue("test.barrier", WorkQueue::Kind::Concurrent, 4);
    std::mutex mutex;
    std::vector<std::string> events;
    Overlap overlap;
    auto record = [&](std::string event) {
        std::lock_guard lock(mutex);
        events.push_back(std::move(event));
    };
    for (int i = 0; i < 4; ++i) {
        queue.async([&] {
            overlap.enter();
            std::this_thread::sleep_for(10ms);
            record("before");
            overlap.leave();
        });
    }
    queue.asyncBarrier([&] {
        overlap.enter();
        record(overlap.now.load() == 1 ? "barrier alone" : "barrier overlapped");
        std::this_thread::sleep_for(10ms);
        overlap.leave();
    });
    for (int i = 0; i < 4; ++i) {
        queue.async([&] {
            overlap.enter();
            record("after");
            overlap.leave();
        });
    }
    const int result = queue.syncBarrier([&] { return overlap.now.load(); });
    EXPECT_EQ(result, 0);
    ASSERT_EQ(events.size(), 9u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(events[i], "before");
    EXPECT_EQ(events[4], "barrier alone");
    for (int i = 5; i < 9; ++i)
        EXPECT_EQ(events[i], "after");
}

TEST(WorkQueue, SyncNestsAcrossQueuesAndIsCurrentOnlyInsideItsTasks)
{
    WorkQueue serial("test.a");
    WorkQueue concurrent("test.b", WorkQueue::Kind::Concurrent);
    EXPECT_FALSE(concurrent.isCurrent());
    EXPECT_TRUE(concurrent.sync([&] { return concurrent.isCurrent(); }));
    EXPECT_FALSE(concurrent.sync([&] { return serial.sync([&] { return concurrent.isCurrent(); }); }));
    EXPECT_TRUE(concurrent.sync([&] {
        concurrent.checkCurrent();
        return true;
    }));
    const int value = serial.sync([&] {
        // A task of one queue waiting for another queue.
        const int inner = concurrent.sync([] { return 20; });
        // The same queue from its own task runs inline.
        return inner + serial.sync([] { return 22; });
    });
    EXPECT_EQ(value, 42);

    const std::string text = concurrent.syncBarrier([&] { return concurrent.sync([] { return std::string("x"); }); });
    EXPECT_EQ(text, "x");
}

// Tasks not yet due when the queue goes are dropped.
TEST(WorkQueue, AsyncAfterKeepsDueOrderAndDropsWhatIsNotDue)
{
    std::atomic<bool> late{false};
    auto queue = std::make_unique<WorkQueue>("test.after");
    queue->asyncAfter(10s, [&] { late = true; });
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> order;
    const auto start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration firstAt{};
    queue->asyncAfter(60ms, [&] {
        std::lock_guard lock(mutex);
        order.push_back(2);
        changed.notify_all();
    });
    queue->asyncAfter(20ms, [&] {
        std::lock_guard lock(mutex);
        firstAt = std::chrono::steady_clock::now() - start;
        order.push_back(1);
        changed.notify_all();
    });
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, 10s, [&] { return order.size() == 2; }));
    }
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_GE(firstAt, 20ms);
    queue.reset();
    EXPECT_FALSE(late.load());
}

TEST(WorkQueueDeathTest, CheckOffTheQueueStopsWithTheFixedMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    WorkQueue queue("RemoteImage.Example.queue");
    // The message goes to standard output; death tests read standard error.
    EXPECT_DEATH(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            dispatchPrecondition(queue);
        },
        "Must only be accessed on the designated queue: 'RemoteImage\\.Example\\.queue'");
}

TEST(WorkQueue, DestructionFinishesQueuedWorkEvenFromItsOwnTask)
{
    std::atomic<int> done{0};
    {
        WorkQueue queue("test.drain", WorkQueue::Kind::Concurrent, 2);
        for (int i = 0; i < 50; ++i)
            queue.async([&] { ++done; });
        // Submits more while the queue is already being destroyed.
        queue.async([&] {
            std::this_thread::sleep_for(20ms);
            queue.async([&] { ++done; });
        });
    }
    EXPECT_EQ(done.load(), 51);

    // The last owner lets go inside a task of the queue itself.
    std::mutex mutex;
    std::condition_variable finished;
    bool last = false;
    auto queue = std::make_shared<WorkQueue>("test.self");
    auto* raw = queue.get();
    raw->async([&, queue]() mutable {
        queue->async([&] {
            std::lock_guard lock(mutex);
            last = true;
            finished.notify_all();
        });
        queue.reset();
    });
    queue.reset();
    std::unique_lock lock(mutex);
    EXPECT_TRUE(finished.wait_for(lock, 10s, [&] { return last; }));
}
