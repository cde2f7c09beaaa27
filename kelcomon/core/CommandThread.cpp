#include "CommandThread.h"

#include <climits>
#include <utility>

CommandThread::~CommandThread()
{
    join();
}

bool CommandThread::start(std::function<void()> work, std::size_t stackSize)
{
    std::lock_guard lock(m_mutex);
    if (m_joinable)
        return false;
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return false;
    const auto minimum = static_cast<std::size_t>(PTHREAD_STACK_MIN);
    const std::size_t size = stackSize < minimum ? minimum : stackSize;
    pthread_attr_setstacksize(&attributes, size);
    m_work = std::move(work);
    m_running = true;
    const int error = pthread_create(&m_thread, &attributes, &CommandThread::run, this);
    pthread_attr_destroy(&attributes);
    if (error != 0) {
        m_running = false;
        m_work = nullptr;
        return false;
    }
    pthread_attr_t actual;
    if (pthread_getattr_np(m_thread, &actual) == 0) {
        pthread_attr_getstacksize(&actual, &m_stackSize);
        pthread_attr_destroy(&actual);
    } else {
        m_stackSize = size;
    }
    m_joinable = true;
    return true;
}

void *CommandThread::run(void *self)
{
    auto *thread = static_cast<CommandThread *>(self);
    std::function<void()> work;
    {
        std::lock_guard lock(thread->m_mutex);
        work = std::move(thread->m_work);
    }
    work();
    std::lock_guard lock(thread->m_mutex);
    thread->m_running = false;
    return nullptr;
}

void CommandThread::join()
{
    pthread_t thread;
    {
        std::lock_guard lock(m_mutex);
        if (!m_joinable)
            return;
        m_joinable = false;
        thread = m_thread;
    }
    pthread_join(thread, nullptr);
}

bool CommandThread::isRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_running;
}

bool CommandThread::isJoinable() const
{
    std::lock_guard lock(m_mutex);
    return m_joinable;
}

std::size_t CommandThread::stackSize() const
{
    std::lock_guard lock(m_mutex);
    return m_stackSize;
}
