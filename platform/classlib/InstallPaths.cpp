#include "InstallPaths.h"

#include "PathNames.h"

#include <cstdlib>
#include <filesystem>
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

std::string executableDirectory()
{
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return ".";
    return exe.parent_path().string();
}

std::string dataDirectory()
{
    if (std::string dir = environmentValue("CHRONEX_DATA_DIR"); !dir.empty())
        return dir;
    std::error_code error;
    auto dir = std::filesystem::weakly_canonical(
        std::filesystem::path(executableDirectory()) / ".." / "share" / "chronex", error);
    return error ? PathNames::join(executableDirectory(), "../share/chronex") : dir.string();
}

std::string binDirectory()
{
    if (std::string dir = environmentValue("CHRONEX_BIN_DIR"); !dir.empty())
        return dir;
    return executableDirectory();
}

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
