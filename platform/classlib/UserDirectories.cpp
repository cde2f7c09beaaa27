// The per-user directories, apart from the installation's: only the programs that keep user state
// link this, so that the statically linked tools need no passwd lookup (which a static program
// could do only through the C library's shared modules).
#include "InstallPaths.h"

#include "EnvironmentVariable.h"
#include "PathNames.h"

#include <pwd.h>
#include <unistd.h>

namespace {

std::string homeDirectory()
{
    std::string home = EnvironmentVariable::value("HOME");
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
    if (std::string dir = EnvironmentVariable::value("CHRONEX_HOME"); !dir.empty())
        return dir;
    if (std::string dir = EnvironmentVariable::value("XDG_CONFIG_HOME"); !dir.empty())
        return PathNames::join(dir, "chronex");
    return PathNames::join(homeDirectory(), ".config/chronex");
}

std::string cacheDirectory()
{
    if (std::string dir = EnvironmentVariable::value("XDG_CACHE_HOME"); !dir.empty())
        return PathNames::join(dir, "chronex");
    return PathNames::join(homeDirectory(), ".cache/chronex");
}

} // namespace InstallPaths
