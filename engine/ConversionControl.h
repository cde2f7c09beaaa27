#pragma once

#include "ConversionObserver.h"

#include <sys/types.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

/// What the engine's threads share with the thread that shows the run or cancels it: the
/// cancel flag, the ids of the running children and the counters of the three passes. Every
/// member is atomic, so any thread may read it at any time.
///
/// The spawn lock is program-wide: the engine holds it from just before a child is created until
/// the child's id is in a slot, and `cancel` holds it while it sets the flag and kills the
/// children in the slots, so a cancel never meets a half-created child. A run has up to
/// `maximumChildren` children at a time, one slot each.
class ConversionControl final
{
public:
    /// The most children a run has at a time (the most tools `kelconv -j` runs at once).
    static constexpr std::size_t maximumChildren = 64;

    struct Counters
    {
        std::atomic<std::uint16_t> success = 0;
        std::atomic<std::uint16_t> failure = 0;
    };

    /// The program-wide spawn lock.
    static std::mutex &spawnLock();

    /// Sets the cancel flag and kills every child in the slots with its process group (whatever
    /// it started in turn), under the spawn lock. The flag is never cleared during a run. Safe
    /// to call from any thread, also more than once.
    void cancel();

    bool isCancelled() const { return m_cancelled.load(); }

    /// A running child's id (the one in the first slot in use), 0 when none runs.
    pid_t processId() const;
    /// The ids of every running child, in slot order.
    std::vector<pid_t> runningChildren() const;

    /// Puts a started child in a free slot. Only the engine stores ids, and only while it holds
    /// the spawn lock. False when every slot is in use (the caller then must not leave the child
    /// running: nothing could cancel it).
    bool addChild(pid_t pid);
    /// Frees the slot of `pid`, under the spawn lock, before the child is reaped.
    void removeChild(pid_t pid);

    Counters &counters(ConversionObserver::Pass pass) { return m_counters[static_cast<int>(pass)]; }
    const Counters &counters(ConversionObserver::Pass pass) const
    {
        return m_counters[static_cast<int>(pass)];
    }

private:
    std::atomic<bool> m_cancelled = false;
    std::array<std::atomic<pid_t>, maximumChildren> m_children{};
    std::array<Counters, 3> m_counters;
};
