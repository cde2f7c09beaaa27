#pragma once

#include "ISystemCommandEvent.h"

class QWidget;

/// The handle of a window: a number that names one window for the life of the process and
/// knows when that window has gone (been destroyed). Handles are what the registry stores and
/// what events carry (asUnsigned(), and back with the constructor); they are never reused, so a
/// handle of a gone window never designates a newer one.
///
/// Events go to the window through the handle, from any thread:
/// - postEvent: asynchronous; the window's thread delivers it later. Safe against the window
///   being destroyed at the same time (the event is then dropped with the window).
/// - sendEvent: synchronous; returns the receiver's result. From the GUI thread the event is
///   delivered at once; from another thread the caller waits until the GUI thread has delivered
///   it (a blocking queued call), so never make the GUI thread wait for a thread that may send.
/// Both throw IAccessError ("the window ... has gone") when the window no longer exists.
///
/// Windows live on the GUI thread; of() and window() are for that thread.
class IWindowHandle final
{
public:
    /// The null handle: designates no window.
    IWindowHandle() = default;
    /// The handle with the number `value` (as carried by an event parameter).
    explicit IWindowHandle(unsigned long value)
        : m_value(value)
    {}

    /// The handle of `window`, made on first request; null for nullptr. GUI thread only.
    static IWindowHandle of(QWidget *window);

    unsigned long asUnsigned() const { return m_value; }
    bool isNull() const { return m_value == 0; }
    /// True while the window exists.
    bool isValid() const;
    /// The window, or nullptr when it has gone. GUI thread only: the window may be destroyed on
    /// that thread at any moment otherwise.
    QWidget *window() const;

    /// Posts the user event `type` (IEventTypes) with the two parameters.
    void postEvent(int type, unsigned long parameter1 = 0, unsigned long parameter2 = 0) const;
    /// Sends the user event `type` and returns the result the receiver set (0 when none did).
    unsigned long sendEvent(int type,
                            unsigned long parameter1 = 0,
                            unsigned long parameter2 = 0) const;

    /// Posts a system command: the window runs it (ISystemCommandEvent::dispatch) after the
    /// current event has been handled. Throws when the window has gone.
    void postSystemCommand(ISystemCommand command) const;
    /// Runs a system command now (waiting for the GUI thread when called from another thread);
    /// true when a receiver handled it, false when it got its default processing.
    bool sendSystemCommand(ISystemCommand command) const;

    friend bool operator==(IWindowHandle, IWindowHandle) = default;

private:
    [[noreturn]] void throwGone(const char *what) const;

    unsigned long m_value = 0;
};
