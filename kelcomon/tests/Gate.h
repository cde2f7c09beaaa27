#pragma once

#include <condition_variable>
#include <mutex>

/// A gate a worker thread waits at until the test opens it: how the tests hold a command
/// "running" for as long as they need.
class Gate final
{
public:
    void open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    void wait()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
};
