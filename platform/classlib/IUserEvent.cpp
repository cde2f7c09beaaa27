#include "IUserEvent.h"

#include "IEventTypes.h"
#include "IException.h"

IUserEvent::IUserEvent(int type, unsigned long parameter1, unsigned long parameter2)
    : QEvent(QEvent::Type(type))
    , m_parameter1(parameter1)
    , m_parameter2(parameter2)
{
    if (!IEventTypes::isUserEventType(type))
        ITHROW(IInvalidRequest(
            "Event number " + std::to_string(type) + " is not a user event type (expected "
            + std::to_string(QEvent::User) + " to " + std::to_string(QEvent::MaxUser) + ")."));
    IEventTypes::reserveAll();
    setAccepted(false);
}

IUserEvent::~IUserEvent() = default;

IUserEvent *IUserEvent::from(QEvent *event)
{
    if (!event || !IEventTypes::isUserEventType(event->type()))
        return nullptr;
    return dynamic_cast<IUserEvent *>(event);
}
