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

/// True when `pid` is gone, or a zombie, within about five seconds. Once its parent has gone it
/// is init's, which reaps it; the signal needs a moment to arrive.
bool endsSoon(pid_t pid)
{
    for (int i = 0; i < 500; ++i) {
        if (::kill(pid, 0) != 0)
            return true;
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        const std::string text((std::istreambuf_iterator<char>(stat)), {});
        if (text.find(") Z ") != std::string::npos)
            return true;
        ::usleep(10000);
    }
    return false;
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
        EXPECT_TRUE(endsSoon(sleeper));
        fs::remove(sleeperFile);
    }
}

TEST(TerminationCleanup, ASignalTakesEveryRegisteredGroupAndSparesOneTakenOffAgain)
{
    const fs::path leaders = fs::temp_directory_path()
                             / ("chronex-cleanup-groups-" + std::to_string(::getpid()));
    const pid_t program = ::fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        TerminationCleanup::install();
        // Three tools running at once, as kelwiz registers them; the third has ended.
        const pid_t a = startSleeperGroup();
        const pid_t b = startSleeperGroup();
        const pid_t done = startSleeperGroup();
        std::ofstream(leaders) << a << " " << b << " " << done << "\n";
        bool added = TerminationCleanup::addChildGroup(a);
        added = TerminationCleanup::addChildGroup(b) && added;
        added = TerminationCleanup::addChildGroup(done) && added;
        TerminationCleanup::removeChildGroup(done);
        if (!added)
            ::_exit(1);
        ::raise(SIGTERM);
        ::_exit(0); // not reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(program, &status, 0), program);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);

    pid_t a = 0, b = 0, done = 0;
    std::ifstream(leaders) >> a >> b >> done;
    fs::remove(leaders);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    ASSERT_GT(done, 0);
    EXPECT_TRUE(endsSoon(a));
    EXPECT_TRUE(endsSoon(b));
    EXPECT_EQ(::kill(done, 0), 0) << "a group taken off the list was signalled";
    ::kill(done, SIGKILL);
}
