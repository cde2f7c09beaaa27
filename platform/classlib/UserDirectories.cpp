// The per-user directories, apart from the installation's: only the programs that keep user state
// link this, so that the statically linked tools need no passwd lookup (which a static program
// could do only through the C library's shared modules).
#include "InstallPaths.h"

#include "PathNames.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {

std::string environmentValue(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeDirectory()
{
    std::string home = environmentValue("HOME");
    if (!home.empty())
        return home;
    if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/tmp";
}

} // namespace

namespace InstallPaths {

std::string stateDirectory()
{
    if (std::string dir = environmentValue("CHRONEX_HOME"); !dir.empty())
        return dir;
    if (std::string dir = environmentValue("XDG_CONFIG_HOME"); !dir.empty())
        return PathNames::join(dir, "chronex");
    return PathNames::join(homeDirectory(), ".config/chronex");
}

std::string cacheDirectory()
{
    if (std::string dir = environmentValue("XDG_CACHE_HOME"); !dir.empty())
        return PathNames::join(dir, "chronex");
    return PathNames::join(homeDirectory(), ".cache/chronex");
}

} // namespace InstallPaths
