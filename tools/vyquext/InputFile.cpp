#include "InputFile.h"

#include "IException.h"
#include "RegularFile.h"

#include <cstdint>

namespace vyquext {

namespace {

constexpr std::size_t maximumSize = 64u * 1024 * 1024;

} // namespace

std::string readInputFile(const std::string &path, const std::string &what)
{
    const std::string name = "The " + what + " " + path;
    // Checked on the opened file, without blocking: a FIFO or device is refused, never waited on.
    RegularFile::Result file = RegularFile::read(path, maximumSize);
    switch (file.status) {
    case RegularFile::Result::Status::Read:
        return std::move(file.text);
    case RegularFile::Result::Status::NotRegular:
        ITHROW(IAccessError(name + " is not a regular file."));
    case RegularFile::Result::Status::TooLarge:
        ITHROW(IAccessError(name + " is larger than " + std::to_string(maximumSize / (1024 * 1024))
                            + " MiB."));
    case RegularFile::Result::Status::Missing:
        ITHROW(IAccessError(name + " cannot be opened for reading."));
    case RegularFile::Result::Status::Unreadable:
        break;
    }
    ITHROW(IAccessError(name + " cannot be read."));
}

} // namespace vyquext
