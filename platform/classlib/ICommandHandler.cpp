#include "ICommandHandler.h"

#include "ICommandEvent.h"
#include "IEventTypes.h"
#include "ISystemCommandEvent.h"

bool ICommandHandler::command(ICommandEvent &)
{
    return false;
}

bool ICommandHandler::systemCommand(ISystemCommandEvent &)
{
    return false;
}

bool ICommandHandler::dispatchHandlerEvent(QEvent &event)
{
    if (event.type() == QEvent::Type(IEventTypes::command)) {
        if (auto *commandEvent = dynamic_cast<ICommandEvent *>(&event))
            return command(*commandEvent);
    } else if (event.type() == QEvent::Type(IEventTypes::systemCommand)) {
        if (auto *systemEvent = dynamic_cast<ISystemCommandEvent *>(&event))
            return systemCommand(*systemEvent);
    }
    return false;
}
