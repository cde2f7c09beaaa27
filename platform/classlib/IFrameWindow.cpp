#include "IFrameWindow.h"

#include "ICommandEvent.h"
#include "ICurrentApplication.h"
#include "IEventBoundary.h"
#include "IEventTypes.h"
#include "ISystemCommandEvent.h"
#include "IUserEvent.h"
#include "ResourceLibrary.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWindowStateChangeEvent>

IFrameWindow::IFrameWindow(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags)
{}

IFrameWindow::IFrameWindow(unsigned long windowId, QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags)
    , m_windowId(windowId)
{
    setObjectName(QStringLiteral("frame-%1").arg(windowId));
    if (const ResourceLibrary *library = ICurrentApplication::userResourceLibraryIfLoaded()) {
        if (library->hasString(windowId))
            setWindowTitle(library->loadString(windowId));
        if (library->hasImage(windowId))
            setWindowIcon(library->loadIcon(windowId));
    }
}

IFrameWindow::~IFrameWindow() = default;

IWindowHandle IFrameWindow::handle() const
{
    return IWindowHandle::of(const_cast<IFrameWindow *>(this));
}

bool IFrameWindow::command(ICommandEvent &)
{
    return false;
}

bool IFrameWindow::systemCommand(ISystemCommandEvent &)
{
    return false;
}

bool IFrameWindow::userEvent(IUserEvent &)
{
    return false;
}

bool IFrameWindow::event(QEvent *event)
{
    IUserEvent *userEvent = IUserEvent::from(event);
    if (!userEvent)
        return QMainWindow::event(event);
    const bool handled = IEventBoundary::call("A frame window's event handling", [&] {
        if (userEvent->eventId() == IEventTypes::command) {
            if (auto *commandEvent = dynamic_cast<ICommandEvent *>(userEvent))
                return command(*commandEvent);
        } else if (userEvent->eventId() == IEventTypes::systemCommand) {
            if (auto *systemEvent = dynamic_cast<ISystemCommandEvent *>(userEvent))
                return systemCommand(*systemEvent);
        }
        return this->userEvent(*userEvent);
    });
    if (!handled)
        return QMainWindow::event(event);
    userEvent->setHandled();
    return true;
}

void IFrameWindow::closeEvent(QCloseEvent *event)
{
    // A close that is the default processing of a Close command was already offered to the
    // handlers; any other close is offered now.
    if (ISystemCommandEvent::windowInDefaultProcessing() == this) {
        event->accept();
        return;
    }
    ISystemCommandEvent close(ISystemCommand::Close, ISystemCommandEvent::Origin::CloseRequest);
    QCoreApplication::sendEvent(this, &close);
    event->setAccepted(!close.isHandled());
}

void IFrameWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || m_revertingState
        || ISystemCommandEvent::windowInDefaultProcessing() == this)
        return;

    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent *>(event)->oldState();
    const Qt::WindowStates now = windowState();
    const auto became = [&](Qt::WindowState state) {
        return now.testFlag(state) && !before.testFlag(state);
    };
    ISystemCommand command;
    if (became(Qt::WindowMinimized))
        command = ISystemCommand::Minimize;
    else if (became(Qt::WindowMaximized) && !now.testFlag(Qt::WindowMinimized))
        command = ISystemCommand::Maximize;
    else if (!(now & (Qt::WindowMinimized | Qt::WindowMaximized))
             && (before & (Qt::WindowMinimized | Qt::WindowMaximized)))
        command = ISystemCommand::Restore;
    else
        return;

    ISystemCommandEvent report(command, ISystemCommandEvent::Origin::StateChanged);
    QCoreApplication::sendEvent(this, &report);
    if (report.isHandled()) {
        m_revertingState = true;
        setWindowState(before);
        m_revertingState = false;
    }
}
