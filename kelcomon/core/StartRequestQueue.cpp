#include "StartRequestQueue.h"

StartRequestQueue::Ticket StartRequestQueue::append(std::unique_ptr<StartWindowData> request,
                                                    StartWindowData **at)
{
    if (at)
        *at = request.get();
    std::lock_guard lock(m_mutex);
    const Ticket ticket = m_nextTicket++;
    m_entries.push_back({ticket, std::move(request), false});
    return ticket;
}

bool StartRequestQueue::markReady(Ticket ticket)
{
    std::lock_guard lock(m_mutex);
    for (Entry &entry : m_entries) {
        if (entry.ticket == ticket) {
            entry.ready = true;
            return true;
        }
    }
    return false;
}

std::unique_ptr<StartWindowData> StartRequestQueue::takeReady()
{
    std::lock_guard lock(m_mutex);
    if (m_entries.empty() || !m_entries.front().ready)
        return nullptr;
    std::unique_ptr<StartWindowData> request = std::move(m_entries.front().request);
    m_entries.pop_front();
    return request;
}

std::vector<std::unique_ptr<StartWindowData>> StartRequestQueue::takeAll()
{
    std::lock_guard lock(m_mutex);
    std::vector<std::unique_ptr<StartWindowData>> all;
    all.reserve(m_entries.size());
    for (Entry &entry : m_entries)
        all.push_back(std::move(entry.request));
    m_entries.clear();
    return all;
}

std::size_t StartRequestQueue::size() const
{
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

bool StartRequestQueue::isEmpty() const
{
    std::lock_guard lock(m_mutex);
    return m_entries.empty();
}

bool StartRequestQueue::isFrontReady() const
{
    std::lock_guard lock(m_mutex);
    return !m_entries.empty() && m_entries.front().ready;
}
