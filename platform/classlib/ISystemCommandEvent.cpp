#include "ISystemCommandEvent.h"

#include "IEventTypes.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

thread_local const QWidget *inDefaultProcessing = nullptr;

} // namespace

ISystemCommandEvent::ISystemCommandEvent(ISystemCommand command, Origin origin)
    : IUserEvent(IEventTypes::systemCommand, static_cast<unsigned long>(command), 0)
    , m_origin(origin)
{}

bool ISystemCommandEvent::dispatch(QWidget *window, ISystemCommand command, Origin origin)
{
    if (!window)
        return false;
    ISystemCommandEvent event(command, origin);
    QCoreApplication::sendEvent(window, &event);
    if (event.isHandled())
        return true;
    if (origin == Origin::Program)
        performDefault(window, command);
    return false;
}

void ISystemCommandEvent::performDefault(QWidget *window, ISystemCommand command)
{
    const QWidget *outer = inDefaultProcessing;
    inDefaultProcessing = window;
    switch (command) {
    case ISystemCommand::Close:
        window->close();
        break;
    case ISystemCommand::Minimize:
        if (window->isVisible())
            window->showMinimized();
        else
            window->setWindowState((window->windowState() & ~Qt::WindowMaximized)
                                   | Qt::WindowMinimized);
        break;
    case ISystemCommand::Maximize:
        if (window->isVisible())
            window->showMaximized();
        else
            window->setWindowState((window->windowState() & ~Qt::WindowMinimized)
                                   | Qt::WindowMaximized);
        break;
    case ISystemCommand::Restore:
        if (window->isVisible())
            window->showNormal();
        else
            window->setWindowState(window->windowState()
                                   & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        break;
    case ISystemCommand::Hide:
        window->hide();
        break;
    }
    inDefaultProcessing = outer;
}

const QWidget *ISystemCommandEvent::windowInDefaultProcessing()
{
    return inDefaultProcessing;
}
