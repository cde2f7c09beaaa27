#include "ChildProcess.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

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

ChildProcess::Result ChildProcess::run(const std::vector<std::string> &arguments)
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

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDERR_FILENO);
    std::vector<char *> argv;
    for (const std::string &arg : arguments)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    writeEnd.reset();
    if (rc != 0) {
        result.startError = std::strerror(rc);
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
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            result.startError = std::strerror(errno);
            return result;
        }
    }
    if (WIFEXITED(status)) {
        // glibc's posix_spawnp reports a program that cannot be executed as exit status 127.
        result.outcome = Outcome::Exited;
        result.exitCode = WEXITSTATUS(status);
        if (result.exitCode == 127 && result.output.empty()) {
            result.outcome = Outcome::NotStarted;
            result.startError = "the program could not be executed";
        }
    } else if (WIFSIGNALED(status)) {
        result.outcome = Outcome::Signalled;
        result.signal = WTERMSIG(status);
    }
    return result;
}
