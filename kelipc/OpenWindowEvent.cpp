#include "OpenWindowEvent.h"

#include "IUserEvent.h"

OpenWindowEvent::OpenWindowEvent(const IUserEvent &event)
    : m_event(event)
{}

OpenWindowEvent::Code OpenWindowEvent::code() const
{
    return static_cast<Code>(m_event.parameter1() & 0xFFFFu);
}

unsigned short OpenWindowEvent::senderSlot() const
{
    return static_cast<unsigned short>((m_event.parameter1() >> 16) & 0xFFFFu);
}

unsigned long OpenWindowEvent::message() const
{
    return m_event.parameter2();
}
