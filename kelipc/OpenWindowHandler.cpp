#include "OpenWindowHandler.h"

#include "ITrace.h"
#include "IUserEvent.h"
#include "KelipcErrors.h"
#include "OpenWindowEvent.h"

bool OpenWindowHandler::showRequest(OpenWindowEvent &)
{
    return false;
}

bool OpenWindowHandler::windowOpened(OpenWindowEvent &)
{
    return false;
}

bool OpenWindowHandler::windowClosed(OpenWindowEvent &)
{
    return false;
}

bool OpenWindowHandler::windowMessage(OpenWindowEvent &)
{
    return false;
}

bool OpenWindowHandler::dispatchHandlerEvent(QEvent &)
{
    return false;
}

bool OpenWindowDispatcher::dispatchHandlerEvent(QEvent &event)
{
    IUserEvent *userEvent = IUserEvent::from(&event);
    if (!userEvent || userEvent->eventId() != OpenWindowEvent::eventId)
        return false;
    ITraceScope trace(KelipcErrors::traceComponent,
                      "OpenWindowDispatcher::dispatchHandlerEvent(IEvent&)");
    OpenWindowEvent notification(*userEvent);
    switch (notification.code()) {
    case OpenWindowEvent::Code::WindowOpened:
        return windowOpened(notification);
    case OpenWindowEvent::Code::WindowClosed:
        return windowClosed(notification);
    case OpenWindowEvent::Code::ShowRequest:
        return showRequest(notification);
    case OpenWindowEvent::Code::Message:
        return windowMessage(notification);
    }
    return false; // a code no sender of this system uses
}
