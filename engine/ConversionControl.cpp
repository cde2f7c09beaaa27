#include "ConversionControl.h"

#include <csignal>

std::mutex &ConversionControl::spawnLock()
{
    static std::mutex lock;
    return lock;
}

void ConversionControl::cancel()
{
    const std::lock_guard<std::mutex> guard(spawnLock());
    m_cancelled.store(true);
    // Each child leads its own process group: the whole group goes, tools the child started
    // included. No id can have been reused: a slot is freed before its child is reaped.
    for (const std::atomic<pid_t> &slot : m_children) {
        if (const pid_t pid = slot.load(); pid > 0)
            ::kill(-pid, SIGKILL);
    }
}

pid_t ConversionControl::processId() const
{
    for (const std::atomic<pid_t> &slot : m_children) {
        if (const pid_t pid = slot.load(); pid > 0)
            return pid;
    }
    return 0;
}

std::vector<pid_t> ConversionControl::runningChildren() const
{
    std::vector<pid_t> children;
    for (const std::atomic<pid_t> &slot : m_children) {
        if (const pid_t pid = slot.load(); pid > 0)
            children.push_back(pid);
    }
    return children;
}

bool ConversionControl::addChild(pid_t pid)
{
    for (std::atomic<pid_t> &slot : m_children) {
        if (slot.load() == 0) {
            slot.store(pid);
            return true;
        }
    }
    return false;
}

void ConversionControl::removeChild(pid_t pid)
{
    for (std::atomic<pid_t> &slot : m_children) {
        if (slot.load() == pid) {
            slot.store(0);
            return;
        }
    }
}
