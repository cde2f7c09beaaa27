#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <pthread.h>

/// A thread for one long command of a view window, with a stack of the size asked for (the
/// analysis walks deep structures recursively; the views give their commands 8,000,000 bytes).
///
/// start() runs `work` on a new thread; the thread must be joined before the object goes, and
/// the destructor joins it when nobody did. At most one thread runs per object: start() while
/// one runs is refused. `work` must not throw (the command worker catches everything); an
/// exception escaping it ends the process, as for any thread.
class CommandThread final
{
public:
    static constexpr std::size_t viewStackSize = 8'000'000;

    CommandThread() = default;
    ~CommandThread();
    CommandThread(const CommandThread &) = delete;
    CommandThread &operator=(const CommandThread &) = delete;

    /// Starts `work` on a thread with a stack of `stackSize` bytes (at least the system's
    /// minimum). False when a thread of this object has not been joined yet or the system
    /// cannot make one; `work` then does not run.
    bool start(std::function<void()> work, std::size_t stackSize = viewStackSize);

    /// Waits for the thread, if one was started and not joined. Not from the thread itself.
    void join();

    /// True from start() until the thread's work has returned.
    bool isRunning() const;
    /// True from start() until join().
    bool isJoinable() const;
    /// The stack size the running (or last) thread was given.
    std::size_t stackSize() const;

private:
    static void *run(void *self);

    mutable std::mutex m_mutex; // guards the members below
    std::function<void()> m_work;
    pthread_t m_thread{};
    bool m_joinable = false;
    bool m_running = false;
    std::size_t m_stackSize = 0;
};
