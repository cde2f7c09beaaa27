#include "ChildProcess.h"
#include "FileDescriptor.h"

#include "ConversionControl.h"

#include "Process.h"

#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace {

/// True when `pid` has ended; it stays unreaped (WNOWAIT), so its id stays ours.
bool hasEnded(pid_t pid)
{
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0
           && info.si_pid == pid;
}

/// Keeps what a child writes, up to ChildProcess::maximumOutput.
class OutputCollector final
{
public:
    explicit OutputCollector(std::string &output)
        : m_output(output)
    {}
    ~OutputCollector()
    {
        if (m_dropped > 0)
            m_output += "\n[" + std::to_string(m_dropped) + " more bytes of output not kept]\n";
    }
    OutputCollector(const OutputCollector &) = delete;
    OutputCollector &operator=(const OutputCollector &) = delete;

    /// Reads what is there now; false at the end of the output or on an error.
    bool readAvailable(int fd)
    {
        char buffer[8192];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got > 0) {
                keep(buffer, static_cast<std::size_t>(got));
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            return got < 0 && errno == EAGAIN;
        }
    }

private:
    void keep(const char *data, std::size_t size)
    {
        const std::size_t room = ChildProcess::maximumOutput
                                 - std::min(m_output.size(), ChildProcess::maximumOutput);
        const std::size_t kept = std::min(room, size);
        m_output.append(data, kept);
        m_dropped += size - kept;
    }

    std::string &m_output;
    std::size_t m_dropped = 0;
};

/// Reads the child's output until it ends. A process the child left behind may hold the pipe
/// open for ever, so the end of the child also ends the reading once the pipe is empty.
void collectOutput(int fd, pid_t pid, std::string &output)
{
    OutputCollector collector(output);
    for (;;) {
        pollfd readable{fd, POLLIN, 0};
        const int ready = ::poll(&readable, 1, 200);
        if (ready < 0 && errno != EINTR)
            return;
        if (ready > 0 && !collector.readAvailable(fd))
            return;
        if (ready == 0 && hasEnded(pid)) {
            collector.readAvailable(fd);
            return;
        }
    }
}

} // namespace

ChildProcess::Result ChildProcess::run(const std::string &program,
                                       const std::vector<std::string> &arguments,
                                       const std::string &workingDirectory,
                                       const std::vector<std::string> &environment,
                                       ConversionControl &control,
                                       ConversionObserver *observer)
{
    Result result;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        result.startError = errno;
        return result;
    }
    FileDescriptor readEnd(fds[0]);
    FileDescriptor writeEnd(fds[1]);
    ::fcntl(readEnd.get(), F_SETFL, ::fcntl(readEnd.get(), F_GETFL) | O_NONBLOCK);

    // The child leads a process group of its own, so that a cancel ends whatever the tool has
    // started in turn, and starts with its signals at their defaults, whatever the engine's thread
    // has blocked or caught (kelconv blocks SIGINT/SIGTERM to wait for them on a thread of its
    // own). Its working directory is set for the child only: the GUI thread runs concurrently
    // and must not see the process's directory change. Its output is kept for the file's record.
    ProcessOptions options;
    options.workingDirectory = workingDirectory;
    options.environment.insert(options.environment.end(), environment.begin(), environment.end());
    options.ownProcessGroup = true;
    options.defaultSignals = true;
    options.outputDescriptor = writeEnd.get();

    pid_t pid = 0;
    {
        const std::lock_guard<std::mutex> guard(ConversionControl::spawnLock());
        // Tested under the lock: a cancel either finds this child in its slot or stops it from
        // being started at all, so no child of a cancelled run is left to run to its end.
        if (control.isCancelled()) {
            result.startError = ECANCELED;
            return result;
        }
        pid = startProcess(program, arguments, program, options);
        if (pid < 0) {
            result.startError = errno;
            return result;
        }
        if (!control.addChild(pid)) {
            // Nothing could cancel a child without a slot: it does not run.
            ::kill(-pid, SIGKILL);
            waitForProcess(pid);
            result.startError = EAGAIN;
            return result;
        }
    }
    // Only the child may hold the write end now, or the output would never end.
    writeEnd.reset();
    if (observer)
        observer->childStarted(pid);

    collectOutput(readEnd.get(), pid, result.output);
    // Wait for the end without reaping, so the id stays ours until the slot is cleared.
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    {
        const std::lock_guard<std::mutex> guard(ConversionControl::spawnLock());
        control.removeChild(pid);
    }
    // Told while the ended child still holds its id, so nobody can act on a reused one.
    if (observer)
        observer->childEnded(pid);
    const ProcessResult ended = waitForProcess(pid);
    if (ended.ending == ProcessResult::Ending::Exited)
        result.returnCode = ended.exitCode;
    result.signalled = ended.ending == ProcessResult::Ending::Signalled;
    return result;
}
