// A small work queue on std::thread: serial, or concurrent with a bounded
// number of worker threads.
//
// Scheduling is strictly first-in, first-out. A concurrent queue starts the
// next task as soon as a worker is free, up to `maxConcurrency` at once. A
// barrier task waits until everything submitted before it has finished, runs
// alone, and holds back everything submitted after it until it is done. A
// serial queue is a concurrent queue of width 1, so every task there behaves
// like a barrier and always runs on the same thread (worker threads are made
// on demand and then kept; a serial queue therefore owns exactly one thread,
// which is what thread-bound resources such as a database connection need).
//
// sync()/syncBarrier() block the caller until the task has run and hand back
// its result. Called from a task already running on the same queue they run
// the task inline instead of deadlocking; a syncBarrier() from a non-barrier
// task of a concurrent queue cannot be honoured and aborts.
//
// asyncAfter() submits a task once its delay has passed (one timer thread per
// queue, made on first use).
//
// Destruction lets every task already submitted run, drops delayed tasks not
// yet due, and joins the threads. A queue may be destroyed from one of its own
// tasks: that worker finishes its task and then exits on its own.
//
// Tasks must not throw; an escaping exception terminates the program.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace remoteimage {

class WorkQueue {
public:
    enum class Kind { Serial, Concurrent };
    using Task = std::function<void()>;

    // Width of a concurrent queue when none is given.
    static constexpr int defaultConcurrency = 4;

    explicit WorkQueue(std::string label, Kind kind = Kind::Serial,
                           int maxConcurrency = defaultConcurrency);
    ~WorkQueue();

    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    const std::string& label() const;
    Kind kind() const;
    int maxConcurrency() const;

    void async(Task task);
    void asyncBarrier(Task task);
    void asyncAfter(std::chrono::milliseconds delay, Task task);

    // Runs `fn` on the queue and returns its result once it has run.
    template <typename F>
    auto sync(F&& fn) -> std::invoke_result_t<F&>
    {
        return runSync(std::forward<F>(fn), false);
    }

    template <typename F>
    auto syncBarrier(F&& fn) -> std::invoke_result_t<F&>
    {
        return runSync(std::forward<F>(fn), true);
    }

    // True when called from a task running on this queue.
    bool isCurrent() const;

    // Stops the program with "Must only be accessed on the designated queue:
    // '<label>'" unless called from this queue.
    void checkCurrent() const;

private:
    struct State;

    void syncTask(Task task, bool barrier);

    template <typename F>
    auto runSync(F&& fn, bool barrier) -> std::invoke_result_t<F&>
    {
        using R = std::invoke_result_t<F&>;
        if constexpr (std::is_void_v<R>) {
            syncTask([&fn] { fn(); }, barrier);
        } else {
            std::optional<R> result;
            syncTask([&fn, &result] { result.emplace(fn()); }, barrier);
            return std::move(*result);
        }
    }

    std::shared_ptr<State> m_state;
};

// Prints "Must only be accessed on the designated queue: '<label>'" and
// aborts unless the caller runs on `queue`.
void dispatchPrecondition(const WorkQueue& queue);

} // namespace remoteimage
