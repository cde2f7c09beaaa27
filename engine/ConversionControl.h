#pragma once

#include "ConversionObserver.h"

#include <sys/types.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

/// What the engine's thread shares with the thread that shows the run or cancels it: the
/// cancel flag, the id of the running child and the counters of the three passes. Every member
/// is atomic, so any thread may read it at any time.
///
/// The spawn lock is program-wide: a pass holds it from just before a child is created until the
/// child's id is stored in the slot, and `cancel` holds it while it sets the flag and kills that
/// child, so a cancel never meets a half-created child.
class ConversionControl final
{
public:
    struct Counters
    {
        std::atomic<std::uint16_t> success = 0;
        std::atomic<std::uint16_t> failure = 0;
    };

    /// The program-wide spawn lock.
    static std::mutex &spawnLock();

    /// Sets the cancel flag and kills the child in the slot with its process group (whatever it
    /// started in turn), under the spawn lock. The flag is
    /// never cleared during a run. Safe to call from any thread, also more than once.
    void cancel();

    bool isCancelled() const { return m_cancelled.load(); }

    /// The running child's id, 0 when none.
    pid_t processId() const { return m_processId.load(); }
    /// Only the engine stores ids, and only while it holds the spawn lock.
    void setProcessId(pid_t pid) { m_processId.store(pid); }

    Counters &counters(ConversionObserver::Pass pass) { return m_counters[static_cast<int>(pass)]; }
    const Counters &counters(ConversionObserver::Pass pass) const
    {
        return m_counters[static_cast<int>(pass)];
    }

private:
    std::atomic<bool> m_cancelled = false;
    std::atomic<pid_t> m_processId = 0;
    std::array<Counters, 3> m_counters;
};
