#pragma once

#include "IWindowHandle.h"
#include "RegisterInstance.h"
#include "WindowTable.h"

#include <QByteArray>
#include <QString>

class DbEu;
class DbPu;
class QMainWindow;

/// A cursor over the window registry that finds the other open windows showing the same thing.
///
/// Filters (object id, view number, execution unit, program unit, the searching window's own
/// handle) are set by the constructor. The positioning operations return true when the cursor
/// ends on an entry; a search that finds nothing leaves the cursor invalid, an operation whose
/// arguments do not match the filters returns false and leaves the cursor where it was.
///
/// The "first like window" search (setToFirst with object and view filters) asks each candidate
/// in table order (arrival order among windows of the same object and view) whether it shows or
/// can show a token: it sends the query event 0x4011 (first parameter the token number, second
/// the program-unit number) and waits for the answer; the first window answering non-zero is
/// found. Candidates have the filter's object id and view, an execution unit of the same name
/// (euName()) when the filter has one, and another handle than the searching window; the program
/// unit is not compared, the query decides. A window that does not handle the query answers 0.
/// The registry is not locked while a candidate answers, so the candidate may open or close
/// windows meanwhile; the cursor's slot follows the table.
///
/// Each cursor holds a slot of the registry (512 in all); without one the constructors throw
/// IResourceExhausted (text 600) at their fixed locations. Every operation is traced under
/// "KELIPC". The cursor may be used from any thread (a view's command thread), one thread at a
/// time.
class FindLikeObject
{
public:
    /// No filters: visits every window.
    FindLikeObject();
    explicit FindLikeObject(const QString &objectId);
    FindLikeObject(const QString &objectId, unsigned long view);
    /// All filters: the windows like `self` (which is never found).
    FindLikeObject(
        IWindowHandle self, const QString &objectId, unsigned long view, DbEu *eu, DbPu *pu);
    /// No filters; for finding the entry of a frame (setToFirstW).
    explicit FindLikeObject(QMainWindow *frame);
    /// The same filters and position.
    FindLikeObject(const FindLikeObject &other);
    FindLikeObject &operator=(const FindLikeObject &) = delete;
    ~FindLikeObject();

    /// With object and view filters: the first like window for the token and program-unit
    /// numbers; with an object filter only: the first entry with the object id; without: entry 0.
    bool setToFirst(unsigned long tokenNumber, unsigned long puNumber);
    /// The first entry with `objectId`, when there is no object filter or it equals `objectId`.
    bool setToObject(const QString &objectId);
    /// The first entry with `objectId` and `view`, when they match the filters that are set.
    bool setToView(const QString &objectId, unsigned long view);
    /// Only when all four filters are set and equal the arguments: the first entry with the
    /// object id (setToFirstObject), or with object id and view (setToFirstView).
    bool setToFirstObject(const QString &objectId, unsigned long view, DbEu *eu, DbPu *pu);
    bool setToFirstView(const QString &objectId, unsigned long view, DbEu *eu, DbPu *pu);
    /// The first entry whose frame is `frame`.
    bool setToFirstW(QMainWindow *frame);
    /// One entry on or back; the cursor stays valid while the entry exists and matches the
    /// object and view filters that are set (no query, no unit filters).
    bool setToNext();
    bool setToPrevious();
    /// With an object filter: the last of the consecutive entries matching the object (and
    /// view) filter; without: the last entry.
    bool setToLast();

    /// A non-owning registration of the cursor's entry (its accessors throw when the cursor is
    /// invalid or the entry has gone).
    RegisterInstance current() const;
    bool isValid() const;
    void invalidate();

private:
    FindLikeObject(const KelipcErrors::Location &where);
    bool moveTo(int index);
    bool matchesStepFilters(int index) const;
    int firstMatching() const;
    bool findFirstLikeWindow(unsigned long tokenNumber, unsigned long puNumber);

    WindowTable::SlotRef m_slot;
    bool m_hasObject = false;
    bool m_hasView = false;
    bool m_hasEu = false;
    bool m_hasPu = false;
    IWindowHandle m_self;
    QByteArray m_objectId; ///< as stored (UTF-8, at most 128 bytes)
    unsigned long m_view = 0;
    DbEu *m_eu = nullptr;
    DbPu *m_pu = nullptr;
};
