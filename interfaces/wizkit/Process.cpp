#include "Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

std::vector<std::string> splitArguments(const std::string &text)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
            continue;
        }
        current += c;
        inArgument = true;
    }
    if (inArgument)
        arguments.push_back(current);
    return arguments;
}

pid_t startProcess(const std::string &program,
                   const std::vector<std::string> &arguments,
                   const std::string & /*title*/,
                   const std::string &workingDirectory)
{
    if (program.empty()) {
        errno = ENOENT;
        return -1;
    }
    std::vector<char *> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (int error = posix_spawn_file_actions_init(&actions); error != 0) {
        errno = error;
        return -1;
    }
    int error = 0;
    if (!workingDirectory.empty())
        error = posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    pid_t pid = -1;
    if (error == 0)
        error = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return pid;
}

pid_t startProcess(const std::string &program,
                   const std::string &arguments,
                   const std::string &title,
                   const std::string &workingDirectory)
{
    return startProcess(program, splitArguments(arguments), title, workingDirectory);
}

ProcessResult waitForProcess(pid_t pid)
{
    ProcessResult result;
    int status = 0;
    pid_t waited = -1;
    do {
        waited = waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited != pid)
        return result;
    if (WIFEXITED(status)) {
        result.ending = ProcessResult::Ending::Exited;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.ending = ProcessResult::Ending::Signalled;
        result.signal = WTERMSIG(status);
    }
    return result;
}

namespace {

/// True when `pid` has ended; the child stays unreaped (WNOWAIT) for whoever waits for it.
bool hasEnded(pid_t pid)
{
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0)
        return info.si_pid == pid;
    if (errno == ECHILD) // not our child, or already reaped: ask whether it still exists
        return kill(pid, 0) != 0 && errno == ESRCH;
    return false;
}

} // namespace

bool killProcess(pid_t pid, int graceMilliseconds)
{
    if (pid <= 0) {
        errno = EINVAL;
        return false;
    }
    if (kill(pid, SIGTERM) != 0)
        return false;
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(graceMilliseconds);
    while (steady_clock::now() < deadline) {
        if (hasEnded(pid))
            return true;
        std::this_thread::sleep_for(milliseconds(10));
    }
    if (!hasEnded(pid))
        kill(pid, SIGKILL);
    return true;
}
