#pragma once

#include <cstddef>
#include <string>

/// Reading and replacing small text files that must never be seen half written: the settings
/// and profile files in the per-user state directory. Std-only, so the environment library and
/// the Qt profile class share one implementation.
namespace AtomicFile {

enum class ReadResult { Read, Missing, Failed };

/// Reads the whole regular file `path` into `text`. Missing: the file does not exist. Failed:
/// it cannot be read, is not a regular file or is larger than `maxSize` bytes; `problem` then
/// says why in words that can follow "Cannot read the file X: ".
ReadResult readText(const std::string &path,
                    std::size_t maxSize,
                    std::string &text,
                    std::string &problem);

/// Replaces `path` by `text` in one step: a new file next to it (mkstemp, so no other process
/// can take its name), flushed to disk and renamed over the old one, keeping the old file's
/// permission bits. A symbolic link is followed, so the file it points to is replaced and the
/// link stays. Throws IAccessError "Cannot write the <what> <path>: ...; the file was left
/// unchanged." when the file cannot be replaced.
void writeText(const std::string &path, const std::string &text, const std::string &what);

/// Creates the directory that holds `path` (and its parents). Throws IAccessError naming the
/// directory and the <what> it is for when that fails.
void ensureDirectoryOf(const std::string &path, const std::string &what);

/// An exclusive advisory lock (flock) on the companion file `<path>.lock`, so that two processes
/// never read-modify-write the same file at the same time. Held from construction to destruction.
class Lock final
{
public:
    /// Throws IAccessError naming the <what> and the lock file when the lock file cannot be made.
    Lock(const std::string &path, const std::string &what);
    ~Lock();
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

private:
    int m_fd = -1;
};

/// The text of the system error `error` ("Permission denied").
std::string systemMessage(int error);

} // namespace AtomicFile
