#include "RegisterInstance.h"

#include "IException.h"
#include "ITrace.h"
#include "KelipcErrors.h"
#include "OpenWindowEvent.h"
#include "WindowRegistry.h"

#include <QByteArray>
#include <QMainWindow>

#include <cstring>
#include <vector>

using KelipcErrors::traceComponent;

namespace {

/// Posts `event` (registry notification) to each window in `targets`; a window that has gone
/// is passed over, and nothing else that posting raises leaves here either: this runs in
/// destructors and for messages whose senders cannot act on a failure.
void postNotifications(const std::vector<unsigned long> &targets,
                       unsigned long parameter1,
                       unsigned long parameter2)
{
    for (unsigned long target : targets) {
        try {
            IWindowHandle(target).postEvent(OpenWindowEvent::eventId, parameter1, parameter2);
        } catch (const IException &) {
            // The window has gone; it needs no notification.
        } catch (const std::exception &error) {
            ITrace::write(traceComponent,
                          std::string("A notification could not be posted: ") + error.what());
        }
    }
}

} // namespace

RegisterInstance::RegisterInstance(IWindowHandle handle,
                                   const QString &objectId,
                                   unsigned long view,
                                   DbEu *eu,
                                   DbPu *pu,
                                   QMainWindow *frame)
    : m_owner(true)
    , m_frame(frame)
{
    ITraceScope trace(traceComponent, KelipcErrors::registerTableFull.function);
    const QByteArray id = objectId.toUtf8();
    const std::string_view stored = WindowTable::storedObjectId(
        {id.constData(), static_cast<std::size_t>(id.size())});
    WindowEntry entry;
    entry.handle = handle.asUnsigned();
    std::memcpy(entry.objectId, stored.data(), stored.size());
    entry.objectId[stored.size()] = '\0';
    entry.view = view;
    entry.processId = WindowRegistry::currentProcess();
    entry.eu = eu;
    entry.pu = pu;
    entry.frame = frame;

    std::lock_guard guard(WindowRegistry::lock());
    WindowTable &table = WindowRegistry::table();
    if (table.isFull())
        KelipcErrors::resourceExhausted(KelipcErrors::registerTableFull);
    if (!table.hasFreeSlot())
        KelipcErrors::resourceExhausted(KelipcErrors::registerNoSlot);
    const int position = table.insert(entry);
    m_slot = table.allocateSlot(position, true, entry.processId);
}

RegisterInstance::RegisterInstance(unsigned int slot)
{
    ITraceScope trace(traceComponent, KelipcErrors::slotConstructor.function);
    std::lock_guard guard(WindowRegistry::lock());
    WindowTable &table = WindowRegistry::table();
    if (!table.hasFreeSlot())
        KelipcErrors::resourceExhausted(KelipcErrors::slotConstructor);
    const int number = static_cast<int>(slot);
    if (slot <= static_cast<unsigned int>(WindowTable::slotCapacity) && table.isAllocated(number)) {
        const WindowSlot &source = table.slot(number);
        m_slot = table.allocateSlot(source.index, source.inUse != 0, source.processId);
        if (source.inUse)
            m_frame = table.entry(source.index).frame;
    } else {
        m_slot = table.allocateSlot(-1, false, WindowRegistry::currentProcess());
    }
}

RegisterInstance::RegisterInstance(const RegisterInstance &other)
{
    ITraceScope trace(traceComponent, KelipcErrors::copyConstructor.function);
    std::lock_guard guard(WindowRegistry::lock());
    WindowTable &table = WindowRegistry::table();
    if (!table.hasFreeSlot())
        KelipcErrors::resourceExhausted(KelipcErrors::copyConstructor);
    if (table.isCurrent(other.m_slot)) {
        const WindowSlot &source = table.slot(other.m_slot.slot);
        m_slot = table.allocateSlot(source.index, source.inUse != 0, source.processId);
        if (source.inUse)
            m_frame = table.entry(source.index).frame;
    } else {
        m_slot = table.allocateSlot(-1, false, WindowRegistry::currentProcess());
    }
}

RegisterInstance::RegisterInstance(RegisterInstance &&other) noexcept
    : m_slot(other.m_slot)
    , m_owner(other.m_owner)
    , m_frame(other.m_frame)
{
    other.m_slot = {};
    other.m_owner = false;
}

RegisterInstance::~RegisterInstance()
{
    ITraceScope trace(traceComponent, "RegisterInstance::~RegisterInstance()");
    std::vector<unsigned long> others;
    unsigned long closing = 0;
    bool removed = false;
    {
        std::lock_guard guard(WindowRegistry::lock());
        WindowTable &table = WindowRegistry::table();
        // A slot freed meanwhile (the library's purge) is no longer this instance's: it
        // designates nothing and must not remove another window's entry.
        if (const int index = table.indexOf(m_slot); m_owner && index >= 0) {
            closing = table.entry(index).handle;
            for (int i = 0; i < table.count(); ++i) {
                if (table.entry(i).handle != closing)
                    others.push_back(table.entry(i).handle);
            }
            table.removeAt(index);
            removed = true;
        }
        table.freeSlot(m_slot);
    }
    if (removed)
        postNotifications(others,
                          OpenWindowEvent::parameter1(OpenWindowEvent::Code::WindowClosed, slot()),
                          closing);
}

WindowEntry RegisterInstance::entry(const KelipcErrors::Location &where) const
{
    std::lock_guard guard(WindowRegistry::lock());
    const WindowTable &table = WindowRegistry::table();
    const int index = table.indexOf(m_slot);
    if (index < 0)
        KelipcErrors::invalidRequest(where);
    return table.entry(index);
}

unsigned int RegisterInstance::slot() const
{
    return m_slot.slot < 0 ? 0u : static_cast<unsigned int>(m_slot.slot);
}

bool RegisterInstance::isValid() const
{
    std::lock_guard guard(WindowRegistry::lock());
    return WindowRegistry::table().indexOf(m_slot) >= 0;
}

IWindowHandle RegisterInstance::handle() const
{
    ITraceScope trace(traceComponent, KelipcErrors::handleGone.function);
    return IWindowHandle(entry(KelipcErrors::handleGone).handle);
}

QString RegisterInstance::objectId() const
{
    ITraceScope trace(traceComponent, KelipcErrors::objectIdGone.function);
    return QString::fromUtf8(entry(KelipcErrors::objectIdGone).objectId);
}

unsigned long RegisterInstance::viewNum() const
{
    ITraceScope trace(traceComponent, KelipcErrors::viewNumGone.function);
    return entry(KelipcErrors::viewNumGone).view;
}

DbEu *RegisterInstance::euidNum() const
{
    ITraceScope trace(traceComponent, KelipcErrors::euidNumGone.function);
    return entry(KelipcErrors::euidNumGone).eu;
}

DbPu *RegisterInstance::puidNum() const
{
    ITraceScope trace(traceComponent, KelipcErrors::puidNumGone.function);
    return entry(KelipcErrors::puidNumGone).pu;
}

bool RegisterInstance::isOnlyWindowForObject() const
{
    ITraceScope trace(traceComponent, KelipcErrors::onlyWindowGone.function);
    std::lock_guard guard(WindowRegistry::lock());
    const WindowTable &table = WindowRegistry::table();
    const int index = table.indexOf(m_slot);
    if (index < 0)
        KelipcErrors::invalidRequest(KelipcErrors::onlyWindowGone);
    const std::string_view id = table.entry(index).objectIdView();
    const bool sameBefore = index > 0 && table.entry(index - 1).objectIdView() == id;
    const bool sameAfter = index + 1 < table.count() && table.entry(index + 1).objectIdView() == id;
    return !sameBefore && !sameAfter;
}

void RegisterInstance::requestShow() const
{
    ITraceScope trace(traceComponent, "RegisterInstance::requestShow()");
    handle().postEvent(OpenWindowEvent::eventId,
                       OpenWindowEvent::parameter1(OpenWindowEvent::Code::ShowRequest, slot()),
                       0);
}

void RegisterInstance::postToOthers(OpenWindowEvent::Code code, unsigned long parameter2) const
{
    const unsigned long own = handle().asUnsigned();
    std::vector<unsigned long> others;
    {
        std::lock_guard guard(WindowRegistry::lock());
        const WindowTable &table = WindowRegistry::table();
        for (int i = 0; i < table.count(); ++i) {
            if (table.entry(i).handle != own)
                others.push_back(table.entry(i).handle);
        }
    }
    postNotifications(others, OpenWindowEvent::parameter1(code, slot()), parameter2);
}

void RegisterInstance::broadcastMessage(unsigned long message) const
{
    ITraceScope trace(traceComponent, "RegisterInstance::broadcastMessage(unsigned long)");
    postToOthers(OpenWindowEvent::Code::Message, message);
}

bool RegisterInstance::forwardMessage(IWindowHandle target,
                                      unsigned long eventId,
                                      unsigned long,
                                      DbEu *,
                                      DbPu *,
                                      unsigned long parameter1,
                                      unsigned long parameter2) const
{
    ITraceScope trace(traceComponent,
                      "RegisterInstance::forwardMessage(IWindowHandle,unsigned long,unsigned "
                      "long,DbEu*,DbPu*,unsigned long,unsigned long)");
    bool registered = false;
    {
        std::lock_guard guard(WindowRegistry::lock());
        const WindowTable &table = WindowRegistry::table();
        for (int i = 0; i < table.count() && !registered; ++i)
            registered = table.entry(i).handle == target.asUnsigned();
    }
    if (registered)
        target.postEvent(static_cast<int>(eventId), parameter1, parameter2);
    return registered;
}
