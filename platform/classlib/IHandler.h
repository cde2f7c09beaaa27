#pragma once

#include <QObject>
#include <QPointer>

/// A handler: an object that sees the events of the windows it is attached to before they do,
/// and may take them. Derive and implement dispatchHandlerEvent; attach with handleEventsFor and
/// detach with stopHandlingEventsFor (or by destroying the handler; a destroyed window detaches
/// itself). Several handlers on one window are asked newest first.
///
/// When dispatchHandlerEvent returns true the event is taken: the window does not see it, and a
/// user event (IUserEvent) is marked handled. An exception escaping dispatchHandlerEvent is
/// caught here (it must not cross Qt's event delivery), reported on standard error and in the
/// trace under "CLASSLIB", and the event goes on as if not handled.
class IHandler : public QObject
{
    Q_OBJECT

public:
    explicit IHandler(QObject *parent = nullptr);
    ~IHandler() override;

    IHandler &handleEventsFor(QObject *window);
    IHandler &stopHandlingEventsFor(QObject *window);

protected:
    /// Returns true when the event was dealt with and must go no further.
    virtual bool dispatchHandlerEvent(QEvent &event) = 0;

    /// The window whose event is being dispatched (valid during dispatchHandlerEvent).
    QObject *eventWindow() const { return m_eventWindow; }

private:
    bool eventFilter(QObject *watched, QEvent *event) override;

    QObject *m_eventWindow = nullptr;
};
