#include "KelCloseGuard.h"

#include "ISystemCommandEvent.h"
#include "KelWindow.h"

KelCloseGuard::KelCloseGuard(KelWindow *window)
    : ICommandHandler(window)
    , m_window(window)
{
    handleEventsFor(window);
}

bool KelCloseGuard::systemCommand(ISystemCommandEvent &event)
{
    if (event.command() != ISystemCommand::Close || !m_window->isCommandRunning())
        return false;
    m_window->deferClose();
    return true;
}
