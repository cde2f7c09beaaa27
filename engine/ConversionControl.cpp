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
    // The child leads its own process group: the whole group goes, tools the child started
    // included. Its id cannot have been reused: the slot is cleared before the child is reaped.
    if (const pid_t pid = m_processId.load(); pid > 0)
        ::kill(-pid, SIGKILL);
}
