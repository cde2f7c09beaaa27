#pragma once

#include "KelMsg.h"

#include <mutex>
#include <vector>

/// Catches what the analysis database's message display shows (from any thread) while it
/// lives, instead of standard error or a message box.
class CapturedMessages final
{
public:
    CapturedMessages()
    {
        m_previous = KelMsg::setDisplay([this](const KelMessage &message) {
            std::lock_guard lock(m_mutex);
            m_messages.push_back(message);
        });
    }
    ~CapturedMessages() { KelMsg::setDisplay(std::move(m_previous)); }
    CapturedMessages(const CapturedMessages &) = delete;
    CapturedMessages &operator=(const CapturedMessages &) = delete;

    std::vector<KelMessage> messages() const
    {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }
    std::size_t count() const
    {
        std::lock_guard lock(m_mutex);
        return m_messages.size();
    }
    /// The numbers shown, in order.
    std::vector<unsigned long> numbers() const
    {
        std::lock_guard lock(m_mutex);
        std::vector<unsigned long> numbers;
        for (const KelMessage &message : m_messages)
            numbers.push_back(message.number);
        return numbers;
    }

private:
    mutable std::mutex m_mutex; // guards m_messages
    std::vector<KelMessage> m_messages;
    KelMsg::Display m_previous;
};
