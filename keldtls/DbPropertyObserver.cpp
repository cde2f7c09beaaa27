#include "DbPropertyObserver.h"

#include "IException.h"
#include "IFrameWindow.h"
#include "ISystemCommandEvent.h"

DbPropertyObserver::DbPropertyObserver(IFrameWindow &frame)
    : QObject(&frame)
    , m_frame(&frame)
{}

void DbPropertyObserver::handleNotificationsFor(QObject *notifier)
{
    if (!notifier)
        return;
    connect(notifier, &QObject::destroyed, this, [this] {
        dispatchNotificationEvent(NotificationId::deleteId);
    });
}

void DbPropertyObserver::stopHandlingNotificationsFor(QObject *notifier)
{
    if (notifier)
        disconnect(notifier, &QObject::destroyed, this, nullptr);
}

bool DbPropertyObserver::dispatchNotificationEvent(NotificationId id)
{
    switch (id) {
    case NotificationId::deleteId:
        if (!m_frame)
            return false;
        try {
            m_frame->handle().postSystemCommand(ISystemCommand::Close);
        } catch (const IException &) {
            return false; // the frame is going already
        }
        return true;
    case NotificationId::changedId:
        return false;
    }
    return false;
}
