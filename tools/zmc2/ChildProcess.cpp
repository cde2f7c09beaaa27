#include "ChildProcess.h"

#include "Process.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

/// Closes a descriptor when it goes out of scope.
class FileDescriptor final
{
public:
    explicit FileDescriptor(int fd = -1)
        : m_fd(fd)
    {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

} // namespace

ChildProcess::Result ChildProcess::run(const std::vector<std::string> &arguments,
                                       const std::string &workingDirectory)
{
    Result result;
    if (arguments.empty()) {
        result.startError = "no program given";
        return result;
    }
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        result.startError = std::strerror(errno);
        return result;
    }
    FileDescriptor readEnd(fds[0]);
    FileDescriptor writeEnd(fds[1]);

    ProcessOptions options;
    options.outputDescriptor = writeEnd.get();
    options.workingDirectory = workingDirectory;
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    const pid_t pid = startProcess(arguments.front(), rest, arguments.front(), options);
    const int startErrno = errno;
    // The parent's copy of the write end must go, or the read below never sees the end.
    writeEnd.reset();
    if (pid < 0) {
        result.startError = std::strerror(startErrno);
        return result;
    }
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(readEnd.get(), buffer, sizeof buffer);
        if (n > 0) {
            result.output.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    const ProcessResult ended = waitForProcess(pid);
    switch (ended.ending) {
    case ProcessResult::Ending::WaitFailed:
        result.startError = std::strerror(errno);
        break;
    case ProcessResult::Ending::Exited:
        // glibc's posix_spawnp reports a program that cannot be executed as exit status 127.
        result.outcome = Outcome::Exited;
        result.exitCode = ended.exitCode;
        if (result.exitCode == 127 && result.output.empty()) {
            result.outcome = Outcome::NotStarted;
            result.startError = "the program could not be executed";
        }
        break;
    case ProcessResult::Ending::Signalled:
        result.outcome = Outcome::Signalled;
        result.signal = ended.signal;
        break;
    }
    return result;
}
