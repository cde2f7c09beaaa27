#include "WindowRegistry.h"

#include "ITrace.h"
#include "KelipcErrors.h"
#include "WindowTable.h"

#include <unistd.h>

namespace {

// Constant-initialised, so the table is ready before any constructor of the process runs and
// stays usable while the library is unloaded.
constinit WindowTable windowTable;
constinit std::mutex windowTableLock;

} // namespace

WindowTable &WindowRegistry::table()
{
    return windowTable;
}

std::mutex &WindowRegistry::lock()
{
    return windowTableLock;
}

std::uint32_t WindowRegistry::currentProcess()
{
    return static_cast<std::uint32_t>(::getpid());
}

QList<RegisteredWindow> WindowRegistry::windows()
{
    std::lock_guard guard(windowTableLock);
    QList<RegisteredWindow> result;
    for (int i = 0; i < windowTable.count(); ++i) {
        const WindowEntry &entry = windowTable.entry(i);
        result.append({i,
                       IWindowHandle(entry.handle),
                       QString::fromUtf8(entry.objectId),
                       entry.view,
                       entry.processId,
                       entry.eu,
                       entry.pu,
                       entry.frame});
    }
    return result;
}

int WindowRegistry::windowCount()
{
    std::lock_guard guard(windowTableLock);
    return windowTable.count();
}

int WindowRegistry::slotsHeld()
{
    std::lock_guard guard(windowTableLock);
    int held = 0;
    for (int s = 1; s <= windowTable.slotCount(); ++s)
        held += windowTable.isAllocated(s) ? 1 : 0;
    return held;
}

void WindowRegistry::purgeCurrentProcess()
{
    ITraceScope trace(KelipcErrors::traceComponent, "WindowRegistry::purgeCurrentProcess()");
    std::lock_guard guard(windowTableLock);
    windowTable.purgeProcess(currentProcess());
}
