#include "RemoteImage/Utils/WorkQueue.h"

#include "Diagnostics/Diagnostics.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace remoteimage {

namespace {

struct Item {
    WorkQueue::Task task;
    bool barrier = false;
};

} // namespace

struct WorkQueue::State {
    std::string label;
    Kind kind = Kind::Serial;
    int width = 1;

    std::mutex mutex;
    std::condition_variable workAvailable;
    std::deque<Item> pending;
    int running = 0;
    bool barrierRunning = false;
    int idleWorkers = 0;
    std::vector<std::thread> workers;
    bool stopping = false;

    std::multimap<std::chrono::steady_clock::time_point, Task> delayed;
    std::condition_variable timerWake;
    std::thread timer;

    bool canStartFront() const
    {
        if (pending.empty() || barrierRunning || running >= width)
            return false;
        return !pending.front().barrier || running == 0;
    }

    void enqueueLocked(Item item, const std::shared_ptr<State>& self);
    static void workerLoop(std::shared_ptr<State> self);
    static void timerLoop(std::shared_ptr<State> self);
};

namespace {

// The queue (and whether the running task has it to itself) of the task
// running on this thread.
thread_local const void* t_currentQueue = nullptr;
thread_local bool t_exclusive = false;

} // namespace

void WorkQueue::State::enqueueLocked(Item item, const std::shared_ptr<State>& self)
{
    pending.push_back(std::move(item));
    // While the queue is being destroyed the workers that still run drain
    // what their tasks submit; a new thread would never be joined.
    const int waiting = static_cast<int>(pending.size());
    if (!stopping && waiting > idleWorkers && static_cast<int>(workers.size()) < width)
        workers.emplace_back(&State::workerLoop, self);
    workAvailable.notify_all();
}

void WorkQueue::State::workerLoop(std::shared_ptr<State> self)
{
    State& s = *self;
    std::unique_lock lock(s.mutex);
    for (;;) {
        if (s.canStartFront()) {
            Item item = std::move(s.pending.front());
            s.pending.pop_front();
            ++s.running;
            if (item.barrier)
                s.barrierRunning = true;
            lock.unlock();

            t_currentQueue = &s;
            t_exclusive = item.barrier || s.width == 1;
            item.task();
            item.task = nullptr; // release captures outside the lock
            t_currentQueue = nullptr;
            t_exclusive = false;

            lock.lock();
            --s.running;
            if (item.barrier)
                s.barrierRunning = false;
            s.workAvailable.notify_all();
            continue;
        }
        if (s.stopping && s.pending.empty())
            return;
        ++s.idleWorkers;
        s.workAvailable.wait(lock);
        --s.idleWorkers;
    }
}

void WorkQueue::State::timerLoop(std::shared_ptr<State> self)
{
    State& s = *self;
    std::unique_lock lock(s.mutex);
    while (!s.stopping) {
        if (s.delayed.empty()) {
            s.timerWake.wait(lock);
            continue;
        }
        auto first = s.delayed.begin();
        // A copy: the node may be gone when wait_until looks at it again.
        const auto due = first->first;
        if (std::chrono::steady_clock::now() < due) {
            s.timerWake.wait_until(lock, due);
            continue;
        }
        Task task = std::move(first->second);
        s.delayed.erase(first);
        s.enqueueLocked(Item{std::move(task), false}, self);
    }
}

WorkQueue::WorkQueue(std::string label, Kind kind, int maxConcurrency)
    : m_state(std::make_shared<State>())
{
    m_state->label = std::move(label);
    m_state->kind = kind;
    m_state->width = kind == Kind::Serial ? 1 : std::max(1, maxConcurrency);
}

WorkQueue::~WorkQueue()
{
    std::vector<std::thread> workers;
    std::thread timer;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->stopping = true;
        m_state->delayed.clear();
        workers.swap(m_state->workers);
        timer.swap(m_state->timer);
        m_state->workAvailable.notify_all();
        m_state->timerWake.notify_all();
    }
    if (timer.joinable())
        timer.join();
    const auto self = std::this_thread::get_id();
    for (std::thread& worker : workers) {
        // Destroyed from one of our own tasks: that worker drains what is
        // left once its task returns and exits by itself.
        if (worker.get_id() == self)
            worker.detach();
        else
            worker.join();
    }
}

const std::string& WorkQueue::label() const { return m_state->label; }
WorkQueue::Kind WorkQueue::kind() const { return m_state->kind; }
int WorkQueue::maxConcurrency() const { return m_state->width; }

void WorkQueue::async(Task task)
{
    std::lock_guard lock(m_state->mutex);
    m_state->enqueueLocked(Item{std::move(task), false}, m_state);
}

void WorkQueue::asyncBarrier(Task task)
{
    std::lock_guard lock(m_state->mutex);
    m_state->enqueueLocked(Item{std::move(task), true}, m_state);
}

void WorkQueue::asyncAfter(std::chrono::milliseconds delay, Task task)
{
    std::lock_guard lock(m_state->mutex);
    if (m_state->stopping)
        return;
    m_state->delayed.emplace(std::chrono::steady_clock::now() + delay, std::move(task));
    if (!m_state->timer.joinable())
        m_state->timer = std::thread(&State::timerLoop, m_state);
    m_state->timerWake.notify_all();
}

void WorkQueue::syncTask(Task task, bool barrier)
{
    if (t_currentQueue == m_state.get()) {
        if (barrier && !t_exclusive) {
            printLine(QStringLiteral("WorkQueue '%1': syncBarrier from a concurrent task of the same queue would deadlock")
                          .arg(QString::fromStdString(m_state->label)));
            std::abort();
        }
        task();
        return;
    }

    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    {
        std::lock_guard lock(m_state->mutex);
        m_state->enqueueLocked(Item{[&] {
                                        task();
                                        std::lock_guard doneLock(doneMutex);
                                        done = true;
                                        doneSignal.notify_all();
                                    },
                                    barrier},
                               m_state);
    }
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return done; });
}

bool WorkQueue::isCurrent() const { return t_currentQueue == m_state.get(); }

void WorkQueue::checkCurrent() const { dispatchPrecondition(*this); }

void dispatchPrecondition(const WorkQueue& queue)
{
    if (queue.isCurrent())
        return;
    printLine(QStringLiteral("Must only be accessed on the designated queue: '%1'").arg(QString::fromStdString(queue.label())));
    std::abort();
}

} // namespace remoteimage
