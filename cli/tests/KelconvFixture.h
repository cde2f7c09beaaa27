#pragma once

// kelconv as a user runs it: a real process over the engine's stand-in tools, a settings file
// of the test's own, its output captured in files.

#include "RunTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace KelconvFixture {

namespace fs = std::filesystem;
using namespace RunTestSupport;

class KelconvTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const fs::path &directory : {sources, work, projects, config, data, home})
            fs::create_directories(directory);
        writeFile(config / "telamrdv.iwo", "options template\n");
        writeFile(seed, "* seed\n");
        settings = {{"Conversion & Structuring", {{"QVFWORK", work.string()}}},
                    {"Toolbench",
                     {{"PRJDIR", projects.string()}, {"CONFIG_PATH", config.string()}}},
                    {"Millenium_Conv", {{"SeedFile", seed.string()}}}};
        environment.set("CHRONEX_HOME", home.string());
        environment.set("PATH", standInDirectory().string() + ":" + std::getenv("PATH"));
        environment.set("STANDIN_DIR", data.string());
        environment.unset("YWIZ_TRACE_XCOMP");
    }

    std::string addProgram(const std::string &base)
    {
        const fs::path source = sources / (base + ".cbl");
        writeFile(source, "       IDENTIFICATION DIVISION.\n");
        writeFile(data / (base + ".xrl"),
                  "<PROGRAM-INFO>\n<FILE> " + base + ".cbl </FILE>\n</PROGRAM-INFO>\n");
        return source.string();
    }

    /// Starts kelconv in `root` with `arguments`, its output going to files. With a `shellPrefix`
    /// (e.g. "ulimit -S -f 128 && ") it is started by /bin/sh after that command.
    pid_t start(const std::vector<std::string> &arguments)
    {
        if (!keepEnvironmentFile)
            writeEnvironment(home, settings);
        const std::string kelconvPath = std::string(std::getenv("CHRONEX_BIN_DIR")) + "/kelconv";
        std::vector<std::string> texts = {"kelconv"};
        if (!shellPrefix.empty())
            texts = {"sh", "-c", shellPrefix + "exec \"$0\" \"$@\"", kelconvPath};
        texts.insert(texts.end(), arguments.begin(), arguments.end());
        std::vector<char *> argv;
        for (std::string &text : texts)
            argv.push_back(text.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, root.c_str());
        posix_spawn_file_actions_addopen(&actions,
                                         1,
                                         (root / "stdout").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions,
                                         2,
                                         (root / "stderr").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        const std::string program = shellPrefix.empty() ? kelconvPath : std::string("/bin/sh");
        pid_t pid = 0;
        const int error
            = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(error, 0) << program;
        return pid;
    }

    /// Waits for kelconv, at most `seconds` (then it is killed and the test fails: a hang);
    /// its exit status, or -1 with `signal` set when a signal ended it.
    int finish(pid_t pid, int seconds = 120)
    {
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "kelconv still runs after " << seconds << " s";
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        output = readFile(root / "stdout");
        errors = readFile(root / "stderr");
        signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int kelconv(const std::vector<std::string> &arguments) { return finish(start(arguments)); }

    TemporaryDirectory temporary;
    const fs::path root = temporary.path();
    const fs::path sources = root / "cobol sources";
    const fs::path work = root / "work";
    const fs::path projects = root / "projects";
    const fs::path config = root / "config";
    const fs::path data = root / "standin";
    const fs::path home = root / "home";
    const fs::path seed = root / "seed.xsd";
    std::map<std::string, std::map<std::string, std::string>> settings;
    ScopedEnvironment environment;
    std::string shellPrefix;
    /// Leaves the environment's settings file as the test made it instead of writing `settings`.
    bool keepEnvironmentFile = false;
    std::string output;
    std::string errors;
    int signal = 0;
};

} // namespace KelconvFixture
