// Stand-in child for the process tests. First argument selects the behaviour:
//   echo <file> <args...>   writes the remaining arguments, one per line, to <file>, exits 0
//   exit <n>                exits with status n
//   sleep                   sleeps until killed
//   stubborn                ignores SIGTERM and sleeps until killed
//   report <file>           writes its set-up to <file> (two environment variables, whether it
//                           leads its process group, whether SIGTERM is blocked), one line on
//                           standard output and one on standard error, exits 0
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    if (std::strcmp(argv[1], "echo") == 0 && argc >= 3) {
        std::ofstream out(argv[2]);
        for (int i = 3; i < argc; ++i)
            out << argv[i] << '\n';
        char directory[4096] = {};
        if (getcwd(directory, sizeof directory))
            out << "cwd=" << directory << '\n';
        return 0;
    }
    if (std::strcmp(argv[1], "report") == 0 && argc >= 3) {
        std::ofstream out(argv[2]);
        for (const char *name : {"WIZKIT_SET", "WIZKIT_KEPT"}) {
            const char *value = std::getenv(name);
            out << name << '=' << (value ? value : "<unset>") << '\n';
        }
        out << (getpgrp() == getpid() ? "group leader" : "group member") << '\n';
        sigset_t blocked;
        sigprocmask(SIG_BLOCK, nullptr, &blocked);
        out << (sigismember(&blocked, SIGTERM) ? "SIGTERM blocked" : "SIGTERM open") << '\n';
        std::fputs("to stdout\n", stdout);
        std::fflush(stdout);
        std::fputs("to stderr\n", stderr);
        return 0;
    }
    if (std::strcmp(argv[1], "exit") == 0 && argc >= 3)
        return std::atoi(argv[2]);
    if (std::strcmp(argv[1], "stubborn") == 0)
        std::signal(SIGTERM, SIG_IGN);
    if (std::strcmp(argv[1], "sleep") == 0 || std::strcmp(argv[1], "stubborn") == 0) {
        for (int i = 0; i < 600; ++i) // never longer than ten minutes, even when forgotten
            sleep(1);
        return 0;
    }
    return 2;
}
