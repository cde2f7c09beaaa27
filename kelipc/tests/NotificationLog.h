#pragma once

#include "IWindowHandle.h"
#include "OpenWindowEvent.h"
#include "OpenWindowHandler.h"

#include <QCoreApplication>
#include <QList>
#include <QWidget>

/// One notification as a window received it.
struct ReceivedNotification
{
    IWindowHandle receiver;
    OpenWindowEvent::Code code;
    unsigned short senderSlot;
    unsigned long message;

    friend bool operator==(const ReceivedNotification &, const ReceivedNotification &) = default;
};

/// Records the registry notifications that reach the windows it is attached to, through the
/// dispatcher the views use.
class NotificationLog : public OpenWindowDispatcher
{
public:
    QList<ReceivedNotification> received;

    void watch(QWidget *window) { handleEventsFor(window); }

    /// Delivers what was posted and returns what arrived since the last call.
    QList<ReceivedNotification> take()
    {
        QCoreApplication::sendPostedEvents();
        QList<ReceivedNotification> result;
        result.swap(received);
        return result;
    }

    bool showRequest(OpenWindowEvent &event) override { return record(event); }
    bool windowOpened(OpenWindowEvent &event) override { return record(event); }
    bool windowClosed(OpenWindowEvent &event) override { return record(event); }
    bool windowMessage(OpenWindowEvent &event) override { return record(event); }

private:
    bool record(OpenWindowEvent &event)
    {
        received.append({IWindowHandle::of(static_cast<QWidget *>(eventWindow())),
                         event.code(),
                         event.senderSlot(),
                         event.message()});
        return true;
    }
};
