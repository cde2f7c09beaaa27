#include "InstallPaths.h"
#include "PathNames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Result
{
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs kelenv as a user would, in the environment of this test (CHRONEX_HOME of the fixture).
class Kelenv : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kelenv-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_home = m_root / "home";
        fs::create_directories(m_home);
        setenv("CHRONEX_HOME", m_home.c_str(), 1);
        setenv("CHRONEX_DATA_DIR", (m_root / "data").c_str(), 1);
        setenv("XDG_CACHE_HOME", (m_root / "cache").c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_root, error);
    }

    Result run(std::vector<std::string> args) const
    {
        // CTest names the build's program directory; run by hand, it is next to tests-bin.
        const char *binDir = std::getenv("CHRONEX_BIN_DIR");
        const std::string program = PathNames::join(binDir ? std::string(binDir)
                                                           : InstallPaths::executableDirectory()
                                                                 + "/../bin",
                                                    "kelenv");
        const std::string outPath = (m_root / "stdout").string();
        const std::string errPath = (m_root / "stderr").string();

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions,
                                         1,
                                         outPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions,
                                         2,
                                         errPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        args.insert(args.begin(), program);
        std::vector<char *> argv;
        for (auto &arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);

        Result result;
        pid_t pid = 0;
        const int error
            = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(error, 0) << "cannot start " << program;
        if (error != 0)
            return result;
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = readFile(outPath);
        result.err = readFile(errPath);
        return result;
    }

    void writeSettings(const std::string &text) const
    {
        std::ofstream(m_home / "environment.ini", std::ios::binary) << text;
    }

    fs::path m_root;
    fs::path m_home;
};

TEST_F(Kelenv, WrongUsageExitsWith64AndShowsTheUsage)
{
    const struct
    {
        const char *label;
        std::vector<std::string> args;
    } cases[] = {
        {"no command", {}},
        {"unknown command", {"show"}},
        {"get without name", {"get", "COMMON"}},
        {"get with too many", {"get", "COMMON", "QCOBDIR", "x"}},
        {"set without value", {"set", "Toolbench", "PRJDIR"}},
        {"list with operand", {"list", "COMMON"}},
    };
    for (const auto &c : cases) {
        const Result result = run(c.args);
        EXPECT_EQ(result.status, 64) << c.label;
        EXPECT_NE(result.err.find("Usage: kelenv"), std::string::npos) << c.label;
        EXPECT_EQ(result.out, "") << c.label;
    }
}

TEST_F(Kelenv, HelpGoesToStandardOutput)
{
    const Result result = run({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("kelenv set GROUP NAME VALUE"), std::string::npos);
}

TEST_F(Kelenv, SetGetAndListWorkTogether)
{
    writeSettings("");
    EXPECT_EQ(run({"set", "Conversion & Structuring", "QVFWORK", "/tmp/work dir"}).status, 0);
    EXPECT_EQ(run({"set", "Toolbench", "PRJDIR", "/projects"}).status, 0);
    EXPECT_EQ(run({"set", "Conversion & Structuring", "Extra", "1"}).status, 0);

    const Result get = run({"get", "conversion & structuring", "qvfwork"});
    EXPECT_EQ(get.status, 0);
    EXPECT_EQ(get.out, "/tmp/work dir\n");

    const Result list = run({"list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out,
              "[Conversion & Structuring]\n"
              "QVFWORK=/tmp/work dir\n"
              "Extra=1\n"
              "\n"
              "[Toolbench]\n"
              "PRJDIR=/projects\n");
}

TEST_F(Kelenv, AnUnsetSettingExitsWith1)
{
    writeSettings("[Toolbench]\nPRJDIR=\n");
    for (const char *name : {"PRJDIR", "CONFIG_PATH"}) {
        const Result result = run({"get", "Toolbench", name});
        EXPECT_EQ(result.status, 1) << name;
        EXPECT_EQ(result.out, "") << name;
    }
}

TEST_F(Kelenv, FirstUseShowsTheInstallationDefaults)
{
    const Result result = run({"get", "COMMON", "QCOBDIR"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, (m_root / "data").string() + "\n");
    EXPECT_EQ(run({"path"}).out, (m_home / "environment.ini").string() + "\n");
}

TEST_F(Kelenv, ACorruptFileIsReportedAndLeftAlone)
{
    writeSettings("[COMMON\nQCOBDIR=/x\n");
    const std::string file = (m_home / "environment.ini").string();
    for (const auto &args : {std::vector<std::string>{"set", "COMMON", "QCOBDIR", "/y"},
                             std::vector<std::string>{"list"}}) {
        const Result result = run(args);
        EXPECT_EQ(result.status, 2) << args[0];
        EXPECT_NE(result.err.find(file), std::string::npos) << result.err;
    }
    EXPECT_EQ(readFile(file), "[COMMON\nQCOBDIR=/x\n");
}

} // namespace
