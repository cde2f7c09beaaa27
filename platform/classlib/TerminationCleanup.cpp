#include "TerminationCleanup.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace TerminationCleanup {

namespace {

constexpr std::size_t pathCapacity = 4096;

// Written by the main thread only while `fileSet` is false, read by the handler only while it
// is true: the handler never sees a half-written path.
char filePath[pathCapacity];
std::atomic<bool> fileSet = false;
std::atomic<pid_t> childId = 0;                           // negative: a process group
std::atomic<pid_t> groupLeaders[maximumChildGroups] = {}; // 0: a free slot

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<pid_t>::is_always_lock_free,
              "the signal handler needs lock-free atomics");

void onTermination(int signal)
{
    const int savedErrno = errno;
    if (const pid_t child = childId.load(); child != 0)
        ::kill(child, signal);
    for (const std::atomic<pid_t> &leader : groupLeaders) {
        if (const pid_t group = leader.load(); group > 0)
            ::kill(-group, signal);
    }
    if (fileSet.load())
        ::unlink(filePath);
    // End as the signal would have ended the launcher without the handler.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    errno = savedErrno;
}

} // namespace

void install()
{
    struct sigaction action
    {};
    action.sa_handler = onTermination;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&action.sa_mask, signal);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

void setFile(const char *path)
{
    fileSet.store(false);
    if (!path || !*path || std::strlen(path) >= pathCapacity)
        return;
    std::strcpy(filePath, path);
    fileSet.store(true);
}

void setChild(pid_t child)
{
    childId.store(child > 0 ? child : 0);
}

void setChildGroup(pid_t leader)
{
    // A negative id names the group to kill().
    childId.store(leader > 0 ? -leader : 0);
}

bool addChildGroup(pid_t leader)
{
    if (leader <= 0)
        return false;
    for (std::atomic<pid_t> &slot : groupLeaders) {
        pid_t free = 0;
        if (slot.compare_exchange_strong(free, leader))
            return true;
    }
    return false;
}

void removeChildGroup(pid_t leader)
{
    if (leader <= 0)
        return;
    for (std::atomic<pid_t> &slot : groupLeaders) {
        pid_t registered = leader;
        if (slot.compare_exchange_strong(registered, 0))
            return;
    }
}

} // namespace TerminationCleanup
