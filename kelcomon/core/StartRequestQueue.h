#pragma once

#include "StartWindowData.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

/// The desktop's queue of pending window requests: first in, first out, shared between the
/// threads that resolve requests and the GUI thread that creates the windows.
///
/// A request enters when it is made (append, on the requesting thread), so the queue's order is
/// the order of the requests. Its request thread resolves it (finds and loads its program unit)
/// and then marks it ready; the GUI thread takes requests from the front only while the front
/// one is ready (takeReady). So windows appear in request order even when a later request is
/// resolved first, and the GUI thread never reads a request that another thread is still
/// filling in.
///
/// One mutex guards the queue. A request's fields belong to its request thread from append to
/// markReady and to the taker afterwards; markReady and takeReady hand them over under the lock.
class StartRequestQueue final
{
public:
    using Ticket = std::uint64_t;

    /// Appends `request` (not yet ready). Returns its ticket and, in `at`, where it now is:
    /// the pointer stays valid until the request is taken.
    Ticket append(std::unique_ptr<StartWindowData> request, StartWindowData **at = nullptr);
    /// Marks the request with `ticket` ready. False when no queued request has that ticket.
    bool markReady(Ticket ticket);
    /// The front request when it is ready; null when the queue is empty or the front one is not
    /// ready yet.
    std::unique_ptr<StartWindowData> takeReady();
    /// Every queued request, ready or not, for a desktop that goes (their request threads must
    /// have finished).
    std::vector<std::unique_ptr<StartWindowData>> takeAll();

    std::size_t size() const;
    bool isEmpty() const;
    /// Whether the front request is ready.
    bool isFrontReady() const;

private:
    struct Entry
    {
        Ticket ticket = 0;
        std::unique_ptr<StartWindowData> request;
        bool ready = false;
    };

    mutable std::mutex m_mutex; // guards m_entries and m_nextTicket
    std::deque<Entry> m_entries;
    Ticket m_nextTicket = 1;
};
