#include "InputFile.h"

#include "IException.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vyquext {

namespace {

constexpr std::uintmax_t maximumSize = 64u * 1024 * 1024;

} // namespace

std::string readInputFile(const std::string &path, const std::string &what)
{
    const std::string name = "The " + what + " " + path;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) && std::filesystem::exists(path, error))
        ITHROW(IAccessError(name + " is not a regular file."));
    if (std::filesystem::file_size(path, error) > maximumSize && !error)
        ITHROW(IAccessError(name + " is larger than " + std::to_string(maximumSize / (1024 * 1024))
                            + " MiB."));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        ITHROW(IAccessError(name + " cannot be opened for reading."));
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        ITHROW(IAccessError(name + " cannot be read."));
    return text.str();
}

} // namespace vyquext
