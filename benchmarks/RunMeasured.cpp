// bench-measure: runs one command and says what it cost, for the whole-run benchmark scripts.
//
//   bench-measure [-C <dir>] <program> [arguments...]
//
// The command's output goes to /dev/null; standard input is /dev/null. One line goes to standard
// output: "<exit status> <wall seconds> <CPU seconds> <peak resident KiB>", where the CPU time is
// user plus system time of the command and of every child it waited for, and the peak is the
// largest resident set of the command or any of those children (getrusage's ru_maxrss). A child
// ended by a signal gives the exit status 128 + signal; a command that cannot be started, 127.
// Exit status: 0 when the line was printed, 2 on a usage error.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

extern char **environ;

namespace {

double seconds(const timeval &t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

} // namespace

int main(int argc, char **argv)
{
    int first = 1;
    const char *directory = nullptr;
    if (argc > 2 && std::strcmp(argv[1], "-C") == 0) {
        directory = argv[2];
        first = 3;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: bench-measure [-C <dir>] <program> [arguments...]\n");
        return 2;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (directory)
        posix_spawn_file_actions_addchdir_np(&actions, directory);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char *> arguments(argv + first, argv + argc);
    arguments.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int error
        = posix_spawnp(&pid, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        std::printf("127 0 0 0\n");
        return 0;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                            .count();
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("%d %.4f %.4f %ld\n",
                exitStatus,
                wall,
                seconds(usage.ru_utime) + seconds(usage.ru_stime),
                usage.ru_maxrss);
    return 0;
}
