// What the library does when a process loads and unloads it.

#include "IEventTypes.h"
#include "WindowRegistry.h"

namespace {

/// Loading: the registry starts without entries of this process (also when the table is shared
/// storage that a former instance of the process left behind) and Qt learns which user event
/// numbers are taken. Unloading: the entries and slots of this process are removed, so that no
/// entry outlives the library that made it.
struct LibraryLifetime
{
    LibraryLifetime()
    {
        WindowRegistry::purgeCurrentProcess();
        IEventTypes::reserveAll();
    }
    ~LibraryLifetime() { WindowRegistry::purgeCurrentProcess(); }
};

LibraryLifetime lifetime;

} // namespace
