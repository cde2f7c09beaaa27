#include "FindLikeObject.h"

#include "DbEu.h"
#include "IEventTypes.h"
#include "IException.h"
#include "ITrace.h"
#include "KelipcErrors.h"
#include "WindowRegistry.h"

#include <mutex>

using KelipcErrors::traceComponent;

namespace {

QByteArray storedId(const QString &objectId)
{
    const QByteArray bytes = objectId.toUtf8();
    const std::string_view stored = WindowTable::storedObjectId(
        {bytes.constData(), static_cast<std::size_t>(bytes.size())});
    return QByteArray(stored.data(), static_cast<qsizetype>(stored.size()));
}

std::string_view view(const QByteArray &bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

/// Execution units match by name; a window without one matches only a filter without one.
bool sameExecutionUnit(const DbEu *candidate, const DbEu *filter)
{
    if (!candidate || !filter)
        return candidate == filter;
    return candidate == filter || candidate->euName() == filter->euName();
}

} // namespace

FindLikeObject::FindLikeObject(const KelipcErrors::Location &where)
{
    ITraceScope trace(traceComponent, where.function);
    std::lock_guard guard(WindowRegistry::lock());
    WindowTable &table = WindowRegistry::table();
    if (!table.hasFreeSlot())
        KelipcErrors::resourceExhausted(where);
    m_slot = table.allocateSlot(-1, false, WindowRegistry::currentProcess());
}

FindLikeObject::FindLikeObject()
    : FindLikeObject(KelipcErrors::finderAll)
{}

FindLikeObject::FindLikeObject(const QString &objectId)
    : FindLikeObject(KelipcErrors::finderObject)
{
    m_hasObject = true;
    m_objectId = storedId(objectId);
}

FindLikeObject::FindLikeObject(const QString &objectId, unsigned long view)
    : FindLikeObject(KelipcErrors::finderObjectView)
{
    m_hasObject = m_hasView = true;
    m_objectId = storedId(objectId);
    m_view = view;
}

FindLikeObject::FindLikeObject(
    IWindowHandle self, const QString &objectId, unsigned long view, DbEu *eu, DbPu *pu)
    : FindLikeObject(KelipcErrors::finderFull)
{
    m_hasObject = m_hasView = m_hasEu = m_hasPu = true;
    m_self = self;
    m_objectId = storedId(objectId);
    m_view = view;
    m_eu = eu;
    m_pu = pu;
}

FindLikeObject::FindLikeObject(QMainWindow *)
    : FindLikeObject(KelipcErrors::finderFrame)
{}

FindLikeObject::FindLikeObject(const FindLikeObject &other)
    : FindLikeObject(KelipcErrors::finderCopy)
{
    m_hasObject = other.m_hasObject;
    m_hasView = other.m_hasView;
    m_hasEu = other.m_hasEu;
    m_hasPu = other.m_hasPu;
    m_self = other.m_self;
    m_objectId = other.m_objectId;
    m_view = other.m_view;
    m_eu = other.m_eu;
    m_pu = other.m_pu;
    std::lock_guard guard(WindowRegistry::lock());
    WindowTable &table = WindowRegistry::table();
    const int index = table.indexOf(other.m_slot);
    table.setSlot(m_slot, index, index >= 0);
}

FindLikeObject::~FindLikeObject()
{
    ITraceScope trace(traceComponent, "FindLikeObject::~FindLikeObject()");
    std::lock_guard guard(WindowRegistry::lock());
    WindowRegistry::table().freeSlot(m_slot);
}

bool FindLikeObject::moveTo(int index)
{
    WindowTable &table = WindowRegistry::table();
    // A cursor whose slot the library's purge took has no position to move.
    if (!table.isCurrent(m_slot))
        return false;
    table.setSlot(m_slot, index, index >= 0);
    return index >= 0;
}

bool FindLikeObject::matchesStepFilters(int index) const
{
    const WindowEntry &entry = WindowRegistry::table().entry(index);
    return (!m_hasObject || entry.objectIdView() == view(m_objectId))
           && (!m_hasView || entry.view == m_view);
}

int FindLikeObject::firstMatching() const
{
    const WindowTable &table = WindowRegistry::table();
    return m_hasView ? table.firstWithObjectAndView(view(m_objectId), m_view)
                     : table.firstWithObject(view(m_objectId));
}

bool FindLikeObject::setToFirst(unsigned long tokenNumber, unsigned long puNumber)
{
    ITraceScope trace(traceComponent, "FindLikeObject::setToFirst(unsigned long,unsigned long)");
    if (m_hasObject && m_hasView)
        return findFirstLikeWindow(tokenNumber, puNumber);
    std::lock_guard guard(WindowRegistry::lock());
    const WindowTable &table = WindowRegistry::table();
    if (m_hasObject)
        return moveTo(table.firstWithObject(view(m_objectId)));
    return moveTo(table.count() > 0 ? 0 : -1);
}

bool FindLikeObject::findFirstLikeWindow(unsigned long tokenNumber, unsigned long puNumber)
{
    std::unique_lock guard(WindowRegistry::lock());
    WindowTable &table = WindowRegistry::table();
    if (!table.isCurrent(m_slot))
        return false;
    int index = table.firstWithObject(view(m_objectId));
    while (index >= 0 && index < table.count()) {
        const WindowEntry &entry = table.entry(index);
        if (entry.objectIdView() != view(m_objectId))
            break; // sorted: no later entry has the object id
        const bool candidate = entry.view == m_view && entry.handle != m_self.asUnsigned()
                               && (!m_hasEu || sameExecutionUnit(entry.eu, m_eu));
        if (!candidate) {
            ++index;
            continue;
        }
        // Ask without holding the lock: the candidate may register or close windows while it
        // answers. The cursor's slot follows its entry meanwhile.
        const IWindowHandle target(entry.handle);
        table.setSlot(m_slot, index, true);
        guard.unlock();
        unsigned long answer = 0;
        try {
            answer = target.sendEvent(IEventTypes::canShowQuery, tokenNumber, puNumber);
        } catch (const IException &) {
            answer = 0; // the window has gone
        }
        guard.lock();
        const WindowSlot &slot = table.slot(m_slot.slot);
        if (!slot.inUse) {
            index = slot.index; // the entry went; the next one has moved into its place
            continue;
        }
        if (answer != 0)
            return true;
        index = slot.index + 1;
    }
    return moveTo(-1);
}

bool FindLikeObject::setToObject(const QString &objectId)
{
    ITraceScope trace(traceComponent, "FindLikeObject::setToObject(IString)");
    const QByteArray id = storedId(objectId);
    if (m_hasObject && id != m_objectId)
        return false;
    std::lock_guard guard(WindowRegistry::lock());
    return moveTo(WindowRegistry::table().firstWithObject(view(id)));
}

bool FindLikeObject::setToView(const QString &objectId, unsigned long viewNumber)
{
    ITraceScope trace(traceComponent, "FindLikeObject::setToView(IString,unsigned long)");
    const QByteArray id = storedId(objectId);
    if ((m_hasObject && id != m_objectId) || (m_hasView && viewNumber != m_view))
        return false;
    std::lock_guard guard(WindowRegistry::lock());
    return moveTo(WindowRegistry::table().firstWithObjectAndView(view(id), viewNumber));
}

bool FindLikeObject::setToFirstObject(const QString &objectId,
                                      unsigned long viewNumber,
                                      DbEu *eu,
                                      DbPu *pu)
{
    ITraceScope trace(traceComponent,
                      "FindLikeObject::setToFirstObject(IString,unsigned long,DbEu*,DbPu*)");
    const QByteArray id = storedId(objectId);
    if (!(m_hasObject && m_hasView && m_hasEu && m_hasPu) || id != m_objectId
        || viewNumber != m_view || eu != m_eu || pu != m_pu)
        return false;
    std::lock_guard guard(WindowRegistry::lock());
    return moveTo(WindowRegistry::table().firstWithObject(view(id)));
}

bool FindLikeObject::setToFirstView(const QString &objectId,
                                    unsigned long viewNumber,
                                    DbEu *eu,
                                    DbPu *pu)
{
    ITraceScope trace(traceComponent,
                      "FindLikeObject::setToFirstView(IString,unsigned long,DbEu*,DbPu*)");
    const QByteArray id = storedId(objectId);
    if (!(m_hasObject && m_hasView && m_hasEu && m_hasPu) || id != m_objectId
        || viewNumber != m_view || eu != m_eu || pu != m_pu)
        return false;
    std::lock_guard guard(WindowRegistry::lock());
    return moveTo(WindowRegistry::table().firstWithObjectAndView(view(id), viewNumber));
}

bool FindLikeObject::setToFirstW(QMainWindow *frame)
{
    ITraceScope trace(traceComponent, "FindLikeObject::setToFirstW(IFrameWindow*)");
    std::lock_guard guard(WindowRegistry::lock());
    const WindowTable &table = WindowRegistry::table();
    for (int i = 0; i < table.count(); ++i) {
        if (table.entry(i).frame == frame)
            return moveTo(i);
    }
    return moveTo(-1);
}

bool FindLikeObject::setToNext()
{
    ITraceScope trace(traceComponent, "FindLikeObject::setToNext()");
    std::lock_guard guard(WindowRegistry::lock());
    const WindowTable &table = WindowRegistry::table();
    const int index = table.indexOf(m_slot);
    if (index < 0 || index + 1 >= table.count() || !matchesStepFilters(index + 1))
        return moveTo(-1);
    return moveTo(index + 1);
}

bool FindLikeObject::setToPrevious()
{
    ITraceScope trace(traceComponent, "FindLikeObject::setToPrevious()");
    std::lock_guard guard(WindowRegistry::lock());
    const WindowTable &table = WindowRegistry::table();
    const int index = table.indexOf(m_slot);
    if (index <= 0 || !matchesStepFilters(index - 1))
        return moveTo(-1);
    return moveTo(index - 1);
}

bool FindLikeObject::setToLast()
{
    ITraceScope trace(traceComponent, "FindLikeObject::setToLast()");
    std::lock_guard guard(WindowRegistry::lock());
    const WindowTable &table = WindowRegistry::table();
    if (!m_hasObject)
        return moveTo(table.count() - 1);
    int index = firstMatching();
    if (index < 0)
        return moveTo(-1);
    while (index + 1 < table.count() && matchesStepFilters(index + 1))
        ++index;
    return moveTo(index);
}

RegisterInstance FindLikeObject::current() const
{
    ITraceScope trace(traceComponent, "FindLikeObject::current()");
    bool ours = false;
    {
        std::lock_guard guard(WindowRegistry::lock());
        ours = WindowRegistry::table().isCurrent(m_slot);
    }
    // A slot taken away by the library's purge may belong to someone else by now.
    return RegisterInstance(ours ? static_cast<unsigned int>(m_slot.slot) : 0u);
}

bool FindLikeObject::isValid() const
{
    std::lock_guard guard(WindowRegistry::lock());
    return WindowRegistry::table().indexOf(m_slot) >= 0;
}

void FindLikeObject::invalidate()
{
    ITraceScope trace(traceComponent, "FindLikeObject::invalidate()");
    std::lock_guard guard(WindowRegistry::lock());
    moveTo(-1);
}
