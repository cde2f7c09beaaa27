#pragma once

#include <atomic>
#include <cstdint>

/// The busy flag of a view window: 1 while a command or a mouse gesture is being carried out.
/// It is the only guard against re-entry: a command or click that finds the window busy is
/// refused.
///
/// The GUI thread sets it (tryEnter) before it runs a gesture or starts a command's worker
/// thread; whoever finishes the work clears it (leave), which for a "basic" command is the
/// worker. An atomic word, so the GUI thread sees the worker's clear without a lock; the clear
/// releases what the worker wrote and tryEnter acquires it.
class BusyFlag final
{
public:
    /// Sets the flag when it is clear; false (and nothing changed) when it was already set.
    bool tryEnter() noexcept
    {
        std::uint32_t expected = 0;
        return m_value.compare_exchange_strong(expected, 1, std::memory_order_acq_rel);
    }
    void leave() noexcept { m_value.store(0, std::memory_order_release); }
    bool isBusy() const noexcept { return m_value.load(std::memory_order_acquire) != 0; }
    /// 0 or 1, as the window's `busy` word.
    std::uint32_t value() const noexcept { return m_value.load(std::memory_order_acquire); }

private:
    std::atomic<std::uint32_t> m_value{0};
};
