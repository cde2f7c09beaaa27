#pragma once

#include "IHandler.h"

class ICommandEvent;
class ISystemCommandEvent;

/// A handler of the command and system-command events of the windows it is attached to
/// (IHandler::handleEventsFor). Override command and/or systemCommand; return true to take the
/// event (a taken system command gets no default processing, see ISystemCommandEvent).
class ICommandHandler : public IHandler
{
    Q_OBJECT

public:
    using IHandler::IHandler;

protected:
    virtual bool command(ICommandEvent &event);
    virtual bool systemCommand(ISystemCommandEvent &event);

    bool dispatchHandlerEvent(QEvent &event) override;
};
