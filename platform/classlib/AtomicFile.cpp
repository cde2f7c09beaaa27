#include "AtomicFile.h"

#include "IException.h"
#include "PathNames.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace AtomicFile {

std::string systemMessage(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

ReadResult readText(const std::string &path,
                    std::size_t maxSize,
                    std::string &text,
                    std::string &problem)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below as not regular.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return ReadResult::Missing;
        problem = systemMessage(errno);
        return ReadResult::Failed;
    }
    struct stat info
    {};
    ReadResult result = ReadResult::Read;
    if (::fstat(fd, &info) != 0) {
        problem = systemMessage(errno);
        result = ReadResult::Failed;
    } else if (!S_ISREG(info.st_mode)) {
        problem = "not a regular file";
        result = ReadResult::Failed;
    } else if (static_cast<std::size_t>(info.st_size) > maxSize) {
        problem = "the file has " + std::to_string(info.st_size) + " bytes, more than the "
                  + std::to_string(maxSize) + " allowed";
        result = ReadResult::Failed;
    } else {
        text.clear();
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                problem = systemMessage(errno);
                result = ReadResult::Failed;
                break;
            }
            if (got == 0)
                break;
            text.append(buffer, static_cast<std::size_t>(got));
            if (text.size() > maxSize)
                break; // grew while reading; the parser reports it
        }
    }
    ::close(fd);
    return result;
}

void ensureDirectoryOf(const std::string &path, const std::string &what)
{
    const std::string directory = PathNames::directory(path);
    if (directory.empty())
        return;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        ITHROW(IAccessError("Cannot create the directory " + directory + " for the " + what + " "
                            + path + ": " + error.message() + "."));
}

Lock::Lock(const std::string &path, const std::string &what)
{
    const std::string lockPath = path + ".lock";
    m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0)
        ITHROW(IAccessError("Cannot write the " + what + " " + path + ": its lock file " + lockPath
                            + " cannot be created (" + systemMessage(errno) + ")."));
    while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

Lock::~Lock()
{
    ::close(m_fd);
}

void writeText(const std::string &path, const std::string &text, const std::string &what)
{
    std::string target = path;
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        const auto resolved = std::filesystem::weakly_canonical(path, error);
        if (!error)
            target = resolved.string();
    }

    mode_t mode = 0644;
    if (struct stat info{}; ::stat(target.c_str(), &info) == 0)
        mode = info.st_mode & 07777;

    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    const auto fail = [&](const std::string &reason, int code) {
        ITHROW(IAccessError("Cannot write the " + what + " " + path + ": " + reason + " ("
                            + systemMessage(code) + "); the file was left unchanged."));
    };
    if (fd < 0)
        fail("cannot create a new file in " + PathNames::directory(target), errno);

    int failure = 0;
    if (::fchmod(fd, mode) != 0)
        failure = errno;
    for (std::size_t done = 0; failure == 0 && done < text.size();) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            failure = errno;
        else
            done += static_cast<std::size_t>(written);
    }
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.c_str());
        fail("cannot store the new content", failure);
    }

    // Make the rename itself durable; a failure here loses nothing that is already written.
    if (const int dir = ::open(PathNames::directory(target).c_str(), O_RDONLY | O_DIRECTORY);
        dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace AtomicFile
