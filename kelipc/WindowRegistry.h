#pragma once

#include "IWindowHandle.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <mutex>

class DbEu;
class DbPu;
class QMainWindow;
class WindowTable;

/// A registered window as the registry lists it.
struct RegisteredWindow
{
    int position = 0; ///< in table order
    IWindowHandle handle;
    QString objectId;
    unsigned long view = 0;
    std::uint32_t processId = 0;
    DbEu *eu = nullptr;
    DbPu *pu = nullptr;
    QMainWindow *frame = nullptr;
};

/// The process's window registry: the window table that RegisterInstance and FindLikeObject
/// work on, kept in the library's static storage, and the lock that guards it.
///
/// The table is changed and read only under lock() (views' command threads search it while the
/// GUI thread registers and removes windows). No window is ever asked anything while the lock is
/// held: queries are sent after it is released.
class WindowRegistry final
{
public:
    WindowRegistry() = delete;

    /// The registered windows in table order (object id, view number, arrival).
    static QList<RegisteredWindow> windows();
    static int windowCount();
    /// Slots handed out and not freed (held by registrations and cursors).
    static int slotsHeld();

    /// What the library does when it is loaded and unloaded: removes the entries and frees the
    /// slots of the current process (see WindowTable::purgeProcess). Registrations of this
    /// process that still exist afterwards no longer designate anything.
    static void purgeCurrentProcess();

    static std::uint32_t currentProcess();

    /// The table and its lock, for the registry's own classes.
    static WindowTable &table();
    static std::mutex &lock();
};
