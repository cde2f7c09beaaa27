#include "ICommandEvent.h"

#include "IEventTypes.h"

#include <QCoreApplication>
#include <QWidget>

ICommandEvent::ICommandEvent(unsigned long commandId, Source source)
    : IUserEvent(IEventTypes::command, commandId, static_cast<unsigned long>(source))
{}

bool ICommandEvent::send(QWidget *window, unsigned long commandId, Source source)
{
    if (!window)
        return false;
    ICommandEvent event(commandId, source);
    QCoreApplication::sendEvent(window, &event);
    return event.isHandled();
}
