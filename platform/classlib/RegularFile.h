#pragma once

#include <cstddef>
#include <string>

/// Reading an input file without surprises. Only a regular file is read: the file is opened so
/// that the open itself cannot block, and its kind is checked on the open descriptor. A FIFO, a
/// device or a directory named where a file is expected is reported at once instead of blocking
/// for ever or failing half-way through a read.
///
///     const RegularFile::Result seed = RegularFile::read(path);
///     if (!seed)
///         throw IAccessError("The seed file " + path + " " + seed.problem + ".");
namespace RegularFile {

/// Largest file read unless the caller says otherwise.
inline constexpr std::size_t defaultMaximumSize = std::size_t(256) * 1024 * 1024;

struct Result
{
    enum class Status { Read, Missing, NotRegular, Unreadable, TooLarge };

    Status status = Status::Unreadable;
    /// The whole content when read.
    std::string text;
    /// Why it was not read, phrased to follow the file's name: "does not exist", "is not a
    /// regular file", "cannot be read: Permission denied", "is larger than 268435456 bytes".
    std::string problem;

    explicit operator bool() const { return status == Status::Read; }
};

/// Reads the whole regular file `path` (links followed).
Result read(const std::string &path, std::size_t maximumSize = defaultMaximumSize);

/// True when `path` names a regular file (links followed). Never opens the file.
bool isRegular(const std::string &path);

} // namespace RegularFile
