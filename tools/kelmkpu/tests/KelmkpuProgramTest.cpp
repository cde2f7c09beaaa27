#include "AnalysisData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {

/// Runs the built kelmkpu program with `arguments`; its exit status, or -1 when it did not exit
/// normally (a crash).
int runProgram(const std::vector<std::string> &arguments, const std::string &errorFile)
{
    // CTest names the program directory; run by hand, it is beside the tests-bin directory.
    const char *binDir = std::getenv("CHRONEX_BIN_DIR");
    const std::string program
        = binDir ? std::string(binDir) + "/kelmkpu"
                 : (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path()
                    / "bin" / "kelmkpu")
                       .string();
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char *> raw;
    for (std::string &arg : argv)
        raw.push_back(arg.data());
    raw.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions,
                                     2,
                                     errorFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, program.c_str(), &actions, nullptr, raw.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return -2;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(KelmkpuProgram, runsAsTheEngineStartsItAndNeverCrashesOnBadInput)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path()
                                      / "kelmkpu-program-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    cobol::AnalysisData data;
    data.programName = "P";
    data.sourcePath = (dir / "P.cbl").string();
    data.includes.push_back({0, "", "", {}, "", data.sourcePath, 0, 0, 0});
    data.writeFile((dir / "P.adt").string());
    std::ofstream(dir / "seed.asd") << "";
    std::ofstream(dir / "garbage.adt") << std::string(5000, '\t') << "\n\x01\x02 END\n";
    const std::string err = (dir / "stderr.txt").string();
    const std::string options = "/r " + (dir / "seed.asd").string() + " /m- /c /u+ /d "
                                + dir.string();

    EXPECT_EQ(runProgram({(dir / "P.adt").string(), options}, err), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "P.xrl"));
    EXPECT_TRUE(std::filesystem::exists(dir / "P.xca"));
    EXPECT_EQ(runProgram({(dir / "garbage.adt").string(), options}, err), 8);
    EXPECT_EQ(runProgram({}, err), 12);
    EXPECT_EQ(runProgram({(dir / "P.adt").string(), "/d"}, err), 12);
    std::filesystem::remove_all(dir);
}
