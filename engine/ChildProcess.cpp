#include "ChildProcess.h"

#include "ConversionControl.h"

#include "Process.h"

#include <sys/wait.h>

#include <cerrno>
#include <mutex>

ChildProcess::Result ChildProcess::run(const std::string &program,
                                       const std::vector<std::string> &arguments,
                                       const std::string &workingDirectory,
                                       const std::vector<std::string> &environment,
                                       ConversionControl &control,
                                       ConversionObserver *observer)
{
    // The child leads a process group of its own, so that a cancel ends whatever the tool has
    // started in turn, and starts with its signals at their defaults, whatever the engine's thread
    // has blocked or caught (kelconv blocks SIGINT/SIGTERM to wait for them on a thread of its
    // own). Its working directory is set for the child only: the GUI thread runs concurrently
    // and must not see the process's directory change.
    ProcessOptions options;
    options.workingDirectory = workingDirectory;
    options.environment.insert(options.environment.end(), environment.begin(), environment.end());
    options.ownProcessGroup = true;
    options.defaultSignals = true;

    Result result;
    pid_t pid = 0;
    {
        const std::lock_guard<std::mutex> guard(ConversionControl::spawnLock());
        pid = startProcess(program, arguments, program, options);
        if (pid < 0) {
            result.startError = errno;
            return result;
        }
        control.setProcessId(pid);
    }
    if (observer)
        observer->childStarted(pid);

    // Wait for the end without reaping, so the id stays ours until the slot is cleared.
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    {
        const std::lock_guard<std::mutex> guard(ConversionControl::spawnLock());
        control.setProcessId(0);
    }
    if (const ProcessResult ended = waitForProcess(pid);
        ended.ending == ProcessResult::Ending::Exited)
        result.returnCode = ended.exitCode;
    if (observer)
        observer->childEnded(pid);
    return result;
}
