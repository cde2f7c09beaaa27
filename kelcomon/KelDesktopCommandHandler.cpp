#include "KelDesktopCommandHandler.h"

#include "ICommandEvent.h"
#include "ISystemCommandEvent.h"
#include "KelDesktop.h"
#include "KelresrcResourceIds.h"

KelDesktopCommandHandler::KelDesktopCommandHandler(QObject *parent)
    : ICommandHandler(parent)
{}

bool KelDesktopCommandHandler::command(ICommandEvent &event)
{
    if (!m_desktop || eventWindow() != m_desktop)
        return false;
    switch (event.commandId()) {
    case KelRes::desktopOpenButton:
        m_desktop->openSelected();
        return true;
    case KelRes::desktopHideButton:
        m_desktop->hideViews();
        return true;
    case KelRes::desktopExitButton:
        m_desktop->exitAll();
        return true;
    case KelRes::desktopRestoreButton:
        m_desktop->restoreViews();
        return true;
    default:
        return false;
    }
}

bool KelDesktopCommandHandler::systemCommand(ISystemCommandEvent &event)
{
    if (!m_desktop || eventWindow() != m_desktop)
        return false;
    switch (event.command()) {
    case ISystemCommand::Close:
        m_desktop->savePlacements(/*views=*/true);
        m_desktop->endApplication();
        return false; // the desktop closes as usual
    case ISystemCommand::Minimize:
    case ISystemCommand::Hide:
        m_desktop->hideAllViews();
        return false;
    case ISystemCommand::Maximize:
        m_desktop->maximizeViews();
        return true; // the desktop itself is not maximized
    case ISystemCommand::Restore:
        m_desktop->restoreViewsWithDesktop();
        return false;
    }
    return false;
}
