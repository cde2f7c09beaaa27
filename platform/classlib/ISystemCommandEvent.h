#pragma once

#include "IUserEvent.h"

class QWidget;

/// The window operations that a system command asks for, with the design's codes.
enum class ISystemCommand : unsigned long {
    Minimize = 0xF020,
    Maximize = 0xF030,
    Close = 0xF060,
    /// Not a code of the design's platform, which has no such command; chosen from its free range.
    Hide = 0xF0A0,
    Restore = 0xF120,
};

/// A system command for a window (type IEventTypes::systemCommand, the design's 0x112):
/// parameter 1 is the command code, parameter 2 is 0.
///
/// Delivery: the event is sent to the window; a receiver (IFrameWindow::systemCommand, an
/// ICommandHandler) may handle it, which consumes the command. An unhandled command gets its
/// default processing on Qt's window (performDefault): Close closes the window (QWidget::close,
/// so its close event runs), Minimize shows it minimized, Maximize maximized, Restore normal,
/// Hide hides it; other codes do nothing.
///
/// IFrameWindow also reports closes and state changes that did not come from a system command
/// (the title bar's buttons, QWidget::close, showMaximized ...), so that handlers see every one
/// the same way: a close request arrives as Close with origin CloseRequest, and handling it
/// keeps the window open; a change to minimized, maximized or normal state arrives afterwards
/// as Minimize, Maximize or Restore with origin StateChanged, and handling it puts the window
/// back in its former state.
class ISystemCommandEvent : public IUserEvent
{
public:
    enum class Origin {
        Program,      ///< posted or sent by the program (IWindowHandle::postSystemCommand ...)
        CloseRequest, ///< the window is being closed (title bar, QWidget::close)
        StateChanged, ///< the window has just been minimized, maximized or restored
    };

    explicit ISystemCommandEvent(ISystemCommand command, Origin origin = Origin::Program);

    ISystemCommand command() const { return static_cast<ISystemCommand>(parameter1()); }
    unsigned long commandCode() const { return parameter1(); }
    Origin origin() const { return m_origin; }

    /// Sends the command to `window` and, when no receiver handles it, performs the default.
    /// True when a receiver handled it. Call on the window's (the GUI) thread.
    static bool dispatch(QWidget *window, ISystemCommand command, Origin origin = Origin::Program);

    /// The default processing of `command` on `window` (see the class comment).
    static void performDefault(QWidget *window, ISystemCommand command);

    /// The window whose default processing runs right now on this thread, else nullptr. The
    /// frame uses it to tell its own close and state changes from the window system's.
    static const QWidget *windowInDefaultProcessing();

private:
    Origin m_origin;
};
