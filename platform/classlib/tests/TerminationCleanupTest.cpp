#include "TerminationCleanup.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace fs = std::filesystem;

namespace {

/// Starts `sleep 30` leading a process group of its own.
pid_t startSleeperGroup()
{
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    char program[] = "sleep";
    char seconds[] = "30";
    char *argv[] = {program, seconds, nullptr};
    pid_t pid = -1;
    if (posix_spawnp(&pid, program, nullptr, &attributes, argv, environ) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    return pid;
}

} // namespace

TEST(TerminationCleanup, ASignalTakesTheFileAndTheChildsGroupAndEndsTheProgramByIt)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        const fs::path file = fs::temp_directory_path()
                              / ("chronex-cleanup-" + std::to_string(::getpid()));
        const fs::path sleeperFile = file.string() + ".sleeper";
        std::ofstream(file) << "settings\n";

        // The program under test is a child of the test: it ends by the signal.
        const pid_t program = ::fork();
        ASSERT_GE(program, 0);
        if (program == 0) {
            TerminationCleanup::install();
            TerminationCleanup::setFile(file.c_str());
            const pid_t sleeper = startSleeperGroup();
            std::ofstream(sleeperFile) << sleeper << "\n";
            TerminationCleanup::setChildGroup(sleeper);
            ::raise(signal);
            ::_exit(0); // not reached: the signal ends the program
        }
        int status = 0;
        ASSERT_EQ(::waitpid(program, &status, 0), program);
        EXPECT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_FALSE(fs::exists(file));

        pid_t sleeper = 0;
        std::ifstream(sleeperFile) >> sleeper;
        ASSERT_GT(sleeper, 0);
        // The sleeper was the program's child: once the program has gone, it is init's, which
        // reaps it; give the signal a moment to arrive.
        bool gone = false;
        for (int i = 0; i < 500 && !gone; ++i) {
            gone = ::kill(sleeper, 0) != 0;
            if (!gone) {
                std::ifstream stat("/proc/" + std::to_string(sleeper) + "/stat");
                std::string text((std::istreambuf_iterator<char>(stat)), {});
                gone = text.find(") Z ") != std::string::npos;
            }
            if (!gone)
                ::usleep(10000);
        }
        EXPECT_TRUE(gone);
        fs::remove(sleeperFile);
    }
}
