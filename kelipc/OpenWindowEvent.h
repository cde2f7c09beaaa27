#pragma once

#include "IEventTypes.h"
#include "IWindowHandle.h"

class IUserEvent;

/// The registry's notification event (user event 0xFFDF) as its receivers read it. The first
/// parameter holds a code in its low 16 bits and the sender's slot number in its high 16 bits;
/// the second parameter depends on the code:
///
/// | code | meaning        | sent by                              | parameter 2             |
/// |------|----------------|--------------------------------------|-------------------------|
/// | 0    | window opened  | (no sender)                          |                         |
/// | 1    | window closed  | destroying an owning registration    | the closing window's handle |
/// | 2    | show request   | RegisterInstance::requestShow        | 0                       |
/// | 3    | message        | RegisterInstance::broadcastMessage   | the message             |
///
/// Closed and message go to every other registered window, the show request to the sender's own
/// window. All are posted, never sent.
class OpenWindowEvent final
{
public:
    enum class Code : unsigned short {
        WindowOpened = 0,
        WindowClosed = 1,
        ShowRequest = 2,
        Message = 3
    };

    static constexpr int eventId = IEventTypes::registryNotification;

    /// Wraps `event`, which should be a notification (eventId).
    explicit OpenWindowEvent(const IUserEvent &event);

    /// The code; a value outside the four is passed on as it is.
    Code code() const;
    unsigned short senderSlot() const;
    /// The event's second parameter: the closing window's handle, or the message.
    unsigned long message() const;
    /// For code 1: the window that closed.
    IWindowHandle closedWindow() const { return IWindowHandle(message()); }
    const IUserEvent &event() const { return m_event; }

    /// The first parameter for `code` sent from `slot`.
    static constexpr unsigned long parameter1(Code code, unsigned int slot)
    {
        return (static_cast<unsigned long>(slot & 0xFFFFu) << 16)
               | static_cast<unsigned short>(code);
    }

private:
    const IUserEvent &m_event;
};
