#include "InstallPaths.h"

#include "EnvironmentVariable.h"
#include "PathNames.h"

#include <filesystem>

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
    if (std::string dir = EnvironmentVariable::value("CHRONEX_DATA_DIR"); !dir.empty())
        return dir;
    std::error_code error;
    const std::filesystem::path installed = std::filesystem::path(executableDirectory()) / ".."
                                            / "share" / "chronex";
    auto dir = std::filesystem::weakly_canonical(installed, error);
    return error ? PathNames::join(executableDirectory(), "../share/chronex") : dir.string();
}

std::string binDirectory()
{
    if (std::string dir = EnvironmentVariable::value("CHRONEX_BIN_DIR"); !dir.empty())
        return dir;
    return executableDirectory();
}

} // namespace InstallPaths
