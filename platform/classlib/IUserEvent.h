#pragma once

#include <QEvent>

/// A user event of the toolset: a number (the QEvent type, see IEventTypes) and two parameters,
/// and, when it is sent rather than posted, a result that the receiver gives back.
///
/// Post one with IWindowHandle::postEvent (asynchronous, the receiver runs later on its own
/// thread) or send it with IWindowHandle::sendEvent (synchronous; the sender gets result()).
/// A receiver (an IHandler, or an event() override) that deals with the event calls
/// setHandled(); the event starts unhandled, so a sender can tell whether anyone took it.
class IUserEvent : public QEvent
{
public:
    /// `type` must be a user event type (IEventTypes::isUserEventType); the first event made
    /// reserves the toolset's numbers with Qt (IEventTypes::reserveAll).
    explicit IUserEvent(int type, unsigned long parameter1 = 0, unsigned long parameter2 = 0);
    ~IUserEvent() override;

    int eventId() const { return static_cast<int>(type()); }
    unsigned long parameter1() const { return m_parameter1; }
    unsigned long parameter2() const { return m_parameter2; }

    /// What the receiver answers to a sent event; 0 until it sets one.
    unsigned long result() const { return m_result; }
    void setResult(unsigned long result) { m_result = result; }

    /// Whether a receiver dealt with the event (QEvent's accepted flag, false when made).
    bool isHandled() const { return isAccepted(); }
    void setHandled(bool handled = true) { setAccepted(handled); }

    /// The event if `event` is an IUserEvent (or derived), else nullptr.
    static IUserEvent *from(QEvent *event);

private:
    unsigned long m_parameter1 = 0;
    unsigned long m_parameter2 = 0;
    unsigned long m_result = 0;
};
