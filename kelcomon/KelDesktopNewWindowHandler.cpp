#include "KelDesktopNewWindowHandler.h"

#include "IEventTypes.h"
#include "IUserEvent.h"
#include "KelDesktop.h"

KelDesktopNewWindowHandler::KelDesktopNewWindowHandler(QObject *parent)
    : IHandler(parent)
{}

bool KelDesktopNewWindowHandler::dispatchHandlerEvent(QEvent &event)
{
    if (event.type() != QEvent::Type(IEventTypes::createWindow))
        return false;
    IUserEvent *createEvent = IUserEvent::from(&event);
    KelDesktop *desktop = KelDesktop::current();
    if (!createEvent || !desktop)
        return false;
    createEvent->setResult(desktop->createWindow() ? 1 : 0);
    return true;
}
