#include "IHandler.h"

#include "IEventBoundary.h"
#include "IUserEvent.h"

IHandler::IHandler(QObject *parent)
    : QObject(parent)
{}

IHandler::~IHandler() = default;

IHandler &IHandler::handleEventsFor(QObject *window)
{
    if (window)
        window->installEventFilter(this);
    return *this;
}

IHandler &IHandler::stopHandlingEventsFor(QObject *window)
{
    if (window)
        window->removeEventFilter(this);
    return *this;
}

bool IHandler::eventFilter(QObject *watched, QEvent *event)
{
    QObject *outer = m_eventWindow;
    m_eventWindow = watched;
    const bool handled = IEventBoundary::call("An event handler",
                                              [&] { return dispatchHandlerEvent(*event); });
    m_eventWindow = outer;
    if (handled) {
        if (IUserEvent *userEvent = IUserEvent::from(event))
            userEvent->setHandled();
    }
    return handled;
}
