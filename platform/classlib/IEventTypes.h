#pragma once

#include <QEvent>
#include <QList>

/// The numbers of the user events that travel between the windows of the toolset, in one place
/// so that no two components pick the same number. Each is a QEvent type of its own (IUserEvent);
/// all lie in Qt's user range QEvent::User (1000) to QEvent::MaxUser (65535).
///
/// The design's Windows-era message numbers are used as they are where they are legal user event
/// types. The command (0x111) and system-command (0x112) messages are not (Qt reserves everything
/// below 1000), so they travel as QEvent::User + 0x111 and QEvent::User + 0x112.
namespace IEventTypes {

// --- Class library ---------------------------------------------------------------------------
/// ICommandEvent: a command id chosen from a menu, a tool bar or a button.
inline constexpr int command = QEvent::User + 0x111;
/// ISystemCommandEvent: close, minimize, maximize, restore or hide a window.
inline constexpr int systemCommand = QEvent::User + 0x112;

// --- Window registry (kelipc) ------------------------------------------------------------------
/// Registry notification: parameter 1 = code (low 16 bits) | sender's slot (high 16 bits).
inline constexpr int registryNotification = 0xFFDF;
/// "Can you show token (p1) of program unit (p2)?", sent synchronously; a non-zero result = yes.
inline constexpr int canShowQuery = 0x4011;

// --- Views (kelcomon and the views) -------------------------------------------------------------
/// Come to the front after a find (both parameters 0).
inline constexpr int activateView = 0x4004;
/// Show token number p1 of program unit p2 in the data map.
inline constexpr int showInDataMap = 0x4006;
/// Show token number p1 of program unit p2 in the grapher.
inline constexpr int findInGraph = 0x4012;
/// Show syntax node number p1 of program unit p2 in the source browser.
inline constexpr int findInSource = 0x4013;
/// Scroll coupling (posted between the host's views): another view selected, or scrolled to,
/// token number p1 of program unit p2. A view that follows (its "scroll on request" is on) moves
/// there without coming to the front; the others ignore it.
inline constexpr int followToken = 0x4014;
/// The desktop's create-window event (both parameters 0).
inline constexpr int createWindow = 0x9988;

// --- Conversion wizard --------------------------------------------------------------------------
inline constexpr int fillFileList = 39169;
inline constexpr int addFiles = 39170;
inline constexpr int removeFiles = 39171;

/// True for QEvent::User <= type <= QEvent::MaxUser.
constexpr bool isUserEventType(int type)
{
    return type >= QEvent::User && type <= QEvent::MaxUser;
}

/// Tells Qt that the numbers above are taken, so that QEvent::registerEventType never hands one
/// of them to another library. Runs once per process (later calls do nothing); IUserEvent calls
/// it when the first event is made. Returns the numbers Qt had already handed out (empty when all
/// were free); they are reported on standard error.
QList<int> reserveAll();

} // namespace IEventTypes
