#include "InstallPaths.h"

#include "PathNames.h"

#include <cstdlib>
#include <filesystem>

namespace {

std::string environmentValue(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
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

} // namespace InstallPaths
