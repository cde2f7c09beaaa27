#include "ChildProcess.h"
#include "FileDescriptor.h"

#include "Process.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {} // namespace

ChildProcess::Result ChildProcess::run(const std::vector<std::string> &arguments,
                                       const std::string &workingDirectory)
{
    return start(arguments, workingDirectory)->wait();
}

std::unique_ptr<ChildProcess::Running> ChildProcess::start(
    const std::vector<std::string> &arguments, const std::string &workingDirectory)
{
    std::unique_ptr<Running> child(new Running());
    Result &result = child->m_result;
    if (arguments.empty()) {
        result.startError = "no program given";
        return child;
    }
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        result.startError = std::strerror(errno);
        return child;
    }
    FileDescriptor readEnd(fds[0]);
    FileDescriptor writeEnd(fds[1]);

    ProcessOptions options;
    options.outputDescriptor = writeEnd.get();
    options.workingDirectory = workingDirectory;
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    const pid_t pid = startProcess(arguments.front(), rest, arguments.front(), options);
    const int startErrno = errno;
    // The parent's copy of the write end must go, or the reader never sees the end.
    writeEnd.reset();
    if (pid < 0) {
        result.startError = std::strerror(startErrno);
        return child;
    }
    child->m_pid = pid;
    child->m_readEnd = readEnd.release();
    child->m_reader = std::thread([fd = child->m_readEnd, output = &result.output] {
        char buffer[8192];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n > 0) {
                output->append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            break;
        }
    });
    return child;
}

ChildProcess::Running::~Running()
{
    if (!m_waited)
        stop();
}

void ChildProcess::Running::stop()
{
    if (m_pid > 0 && !m_waited)
        killProcess(m_pid, 200);
    wait();
}

ChildProcess::Result ChildProcess::Running::wait()
{
    if (m_waited || m_pid <= 0) {
        m_waited = true;
        return m_result;
    }
    m_waited = true;
    if (m_reader.joinable())
        m_reader.join();
    ::close(m_readEnd);
    m_readEnd = -1;
    Result &result = m_result;
    const ProcessResult ended = waitForProcess(m_pid);
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
