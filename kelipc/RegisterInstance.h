#pragma once

#include "IProfile.h"
#include "IWindowHandle.h"
#include "OpenWindowEvent.h"
#include "WindowTable.h"

#include <QString>

class DbEu;
class DbPu;
class QMainWindow;
namespace KelipcErrors {
struct Location;
}

/// A handle on one entry of the window registry (WindowRegistry): how a view window registers
/// itself so that views of the same object find each other (FindLikeObject), come to the front,
/// hear of each other's closing, and exchange short messages; also the gateway to the window's
/// placements and profile values.
///
/// Owning and non-owning instances: the first constructor creates the entry and an owning
/// instance; destroying it removes the entry and tells every other registered window (code 1 of
/// the notification event OpenWindowEvent, posted). The other constructors make non-owning
/// instances that designate an existing entry (FindLikeObject::current); destroying one removes
/// nothing. Each instance holds a slot of the registry (512 in all), freed on destruction.
///
/// When the designated entry has gone, the accessors throw IInvalidRequest (text 601, location
/// "kelipc", the function text and line of KelipcErrors). A full table (256 windows) or slot
/// table throws IResourceExhausted (text 600) and registers nothing. Exceptions are logged in the
/// trace under "KELIPC" before they are thrown, and every operation writes entry and exit lines
/// there.
///
/// Placements (savePosition ...) are kept in a profile, the one named by KELRESRC's string 0xf039
/// for the views, under application names built from the entry:
///   profileAppName()   object id "::" view "::" euName() ["::" puName()]
///   profileAppName2()  KELRESRC string 0x7023 (one name for the whole system)
///   profileAppName3()  object id "::" view
/// and the keys "WindowPosition" (the placement the user saved) and "WindowPMPosition" (the one
/// the window had when it was registered), as PlacementValue texts ("12 40 612 440 NONE").
///
/// Threads: the registry may be used from any thread; the placement operations touch the window
/// and must run on the GUI thread.
class RegisterInstance
{
public:
    /// Registers the window `handle` (of `frame`) under `objectId` and view number `view`,
    /// showing `eu` and `pu` (either may be null). An object id longer than 128 bytes is kept to
    /// its first 128 (whole characters), and so compared.
    RegisterInstance(IWindowHandle handle,
                     const QString &objectId,
                     unsigned long view,
                     DbEu *eu,
                     DbPu *pu,
                     QMainWindow *frame);
    /// A non-owning instance designating what slot `slot` designates now (nothing for a slot
    /// number that is not handed out).
    explicit RegisterInstance(unsigned int slot);
    /// A non-owning instance designating what `other` designates.
    RegisterInstance(const RegisterInstance &other);
    /// Takes over `other`'s slot and ownership; `other` is left designating nothing.
    RegisterInstance(RegisterInstance &&other) noexcept;
    RegisterInstance &operator=(const RegisterInstance &) = delete;
    RegisterInstance &operator=(RegisterInstance &&) = delete;
    virtual ~RegisterInstance();

    // --- Placements and profile values -----------------------------------------------------------

    /// Stores the window's placement under "WindowPosition" in profileAppName() and
    /// profileAppName3(). A minimized or maximized window keeps the stored rectangle (from
    /// profileAppName(), else profileAppName3()) with its new state word; with nothing stored,
    /// nothing is written. A window that has gone stores nothing.
    virtual void savePosition(IProfile profile) const;
    /// Applies "WindowPosition" from profileAppName(), else profileAppName3(): the rectangle
    /// (moved onto the primary screen when it lies off every screen), then "MAX" maximizes and
    /// "MIN" minimizes. A missing or damaged value changes nothing.
    virtual void restorePosition(IProfile profile) const;
    /// Stores the current rectangle and state under "WindowPMPosition" in profileAppName().
    virtual void savePMPosition(IProfile profile) const;
    /// Applies "WindowPMPosition" from profileAppName(): the rectangle, then for "MIN" or "MAX"
    /// sends the window the system command Minimize or Maximize.
    virtual void restorePMPosition(IProfile profile) const;

    /// Stores `value` under `key` in profileAppName2().
    virtual void saveINIString(const QString &key, const QString &value, IProfile profile) const;
    /// The value under `key` in profileAppName2(), or "NULL" when absent. The second argument is
    /// not used.
    virtual QString retrieveINIString(const QString &key,
                                      const QString &unused,
                                      IProfile profile) const;
    virtual void saveINIInteger(const QString &key, long value, IProfile profile) const;
    /// The integer under `key` in profileAppName2(), or -1 when absent or not an integer.
    virtual long retrieveINIInteger(const QString &key, IProfile profile) const;
    virtual void deleteINIKey(const QString &key, IProfile profile) const;

    virtual QString profileAppName() const;
    virtual QString profileAppName2() const;
    virtual QString profileAppName3() const;

    // --- The entry --------------------------------------------------------------------------------

    /// Posts the show request (code 2) to the instance's own window.
    virtual void requestShow() const;
    virtual IWindowHandle handle() const;
    virtual QString objectId() const;
    virtual unsigned long viewNum() const;
    virtual DbEu *euidNum() const;
    virtual DbPu *puidNum() const;
    /// True when neither neighbour in table order has the same object id (views not compared).
    virtual bool isOnlyWindowForObject() const;

    /// Posts the message (code 3, `message` as the second parameter) to every other registered
    /// window; windows that have gone are passed over.
    void broadcastMessage(unsigned long message) const;
    /// Posts the user event `eventId` with `parameter1` and `parameter2` to the registered window
    /// `target`; the third to fifth arguments are not used. False when no entry has that handle.
    bool forwardMessage(IWindowHandle target,
                        unsigned long eventId,
                        unsigned long unused,
                        DbEu *unusedEu,
                        DbPu *unusedPu,
                        unsigned long parameter1,
                        unsigned long parameter2) const;

    /// The instance's slot number (1..512), 0 when it holds none (moved from).
    unsigned int slot() const;
    bool isOwner() const { return m_owner; }
    /// True while the designated entry exists.
    bool isValid() const;
    /// The frame it was created for (the entry's frame for a non-owning instance).
    QMainWindow *frame() const { return m_frame; }

private:
    /// A copy of the designated entry; throws IInvalidRequest at `where` when it has gone.
    WindowEntry entry(const KelipcErrors::Location &where) const;
    void postToOthers(OpenWindowEvent::Code code, unsigned long parameter2) const;
    QWidget *window() const;

    WindowTable::SlotRef m_slot;
    bool m_owner = false;
    QMainWindow *m_frame = nullptr;
};
