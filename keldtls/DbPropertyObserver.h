#pragma once

#include <QObject>
#include <QPointer>

class IFrameWindow;

/// An observer bound to one frame window (the unit property window): when an object it observes
/// announces that it is going away, the observer closes its frame with the system close command
/// (0xF060), so the frame never outlives what it shows. Every other notification is ignored.
class DbPropertyObserver : public QObject
{
    Q_OBJECT

public:
    /// The notifications an observed object sends.
    enum class NotificationId {
        deleteId, ///< the object is being destroyed
        changedId ///< the object changed
    };

    explicit DbPropertyObserver(IFrameWindow &frame);

    /// Observes `notifier`: its destruction arrives as NotificationId::deleteId.
    void handleNotificationsFor(QObject *notifier);
    void stopHandlingNotificationsFor(QObject *notifier);

    /// Posts the close command to the frame for deleteId and returns true; ignores (false)
    /// every other notification, and all of them once the frame has gone.
    bool dispatchNotificationEvent(NotificationId id);

private:
    QPointer<IFrameWindow> m_frame;
};
