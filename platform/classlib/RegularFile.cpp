#include "RegularFile.h"
#include "FileDescriptor.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

namespace {

Result failure(Result::Status status, std::string problem)
{
    Result result;
    result.status = status;
    result.problem = std::move(problem);
    return result;
}

Result unreadable(int error)
{
    return failure(Result::Status::Unreadable,
                   std::string("cannot be read: ") + std::strerror(error));
}

} // namespace

Result read(const std::string &path, std::size_t maximumSize)
{
    // O_NONBLOCK keeps the open of a FIFO without a writer (or of a device) from waiting; the
    // kind is then checked on the descriptor itself, so nothing can be swapped in between.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return failure(Result::Status::Missing, "does not exist");
        if (errno == EISDIR)
            return failure(Result::Status::NotRegular, "is not a regular file");
        return unreadable(errno);
    }
    struct stat info
    {};
    if (::fstat(file.get(), &info) != 0)
        return unreadable(errno);
    if (!S_ISREG(info.st_mode))
        return failure(Result::Status::NotRegular, "is not a regular file");
    if (static_cast<unsigned long long>(info.st_size) > maximumSize)
        return failure(Result::Status::TooLarge,
                       "is larger than " + std::to_string(maximumSize) + " bytes");

    // A regular file never blocks; the flag is cleared all the same so reads behave plainly.
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK);

    Result result;
    result.text.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return unreadable(errno);
        if (got == 0)
            break;
        result.text.append(buffer, static_cast<std::size_t>(got));
        if (result.text.size() > maximumSize) // grew while being read
            return failure(Result::Status::TooLarge,
                           "is larger than " + std::to_string(maximumSize) + " bytes");
    }
    result.status = Result::Status::Read;
    return result;
}

bool isRegular(const std::string &path)
{
    struct stat info
    {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace RegularFile
