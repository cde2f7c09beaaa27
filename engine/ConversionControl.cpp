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
    if (const pid_t pid = m_processId.load(); pid > 0)
        ::kill(pid, SIGKILL);
}
