// kelconv as a user runs it: a real process over the stand-in tools, a settings file of the
// test's own, exit statuses and the summary on standard output.

#include "RunTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

namespace fs = std::filesystem;
using namespace RunTestSupport;

extern char **environ;

namespace {

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

    /// Starts kelconv in `root` with `arguments`, its output going to files.
    pid_t start(const std::vector<std::string> &arguments)
    {
        writeEnvironment(home, settings);
        std::vector<std::string> texts = {"kelconv"};
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
        const std::string program = std::string(std::getenv("CHRONEX_BIN_DIR")) + "/kelconv";
        pid_t pid = 0;
        const int error
            = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        EXPECT_EQ(error, 0) << program;
        return pid;
    }

    int finish(pid_t pid)
    {
        int status = 0;
        waitpid(pid, &status, 0);
        output = readFile(root / "stdout");
        errors = readFile(root / "stderr");
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
    std::string output;
    std::string errors;
};

TEST_F(KelconvTest, usageErrorsEndWithStatus64)
{
    const std::string source = addProgram("PROGA");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "kelconv: no COBOL sources given.\n"},
        {{"--colour", source}, "kelconv: unknown option --colour.\n"},
        {{source, "--out"}, "kelconv: option --out needs a value.\n"},
        {{(sources / "NOPE.cbl").string()},
         "kelconv: the source " + (sources / "NOPE.cbl").string() + " is not an existing file.\n"},
        {{"--settings", (root / "none.txt").string()},
         "kelconv: the settings file " + (root / "none.txt").string() + " cannot be opened.\n"},
    };
    for (const auto &[arguments, message] : cases) {
        EXPECT_EQ(kelconv(arguments), 64) << message;
        EXPECT_TRUE(errors.starts_with(message)) << errors;
        EXPECT_EQ(output, "");
    }
    EXPECT_FALSE(fs::exists(root / "y2kready"));
}

TEST_F(KelconvTest, helpDescribesTheProgram)
{
    EXPECT_EQ(kelconv({"--help"}), 0);
    EXPECT_TRUE(output.starts_with("Usage: kelconv [--seed FILE]")) << output;
    EXPECT_NE(output.find("64  usage error"), std::string::npos);
}

TEST_F(KelconvTest, aSuccessfulRunEndsWithStatus0AndTheSummary)
{
    const std::string a = addProgram("PROGA");
    const std::string b = addProgram("PROGB");
    EXPECT_EQ(kelconv({a, b, a}), 0) << errors;
    const std::string summary = "File:  0x81  " + a + "\nFile:  0x81  " + b
                                + "\nCounters:  compile 2/0  analysis 2/0  conversion 2/0\n"
                                  "Project:  "
                                + (projects / "y2k1.iwp").string() + "\nDatabase:  (none)\n";
    EXPECT_TRUE(output.ends_with(summary)) << output;
    EXPECT_NE(output.find(std::string(70, '-') + "\nExecuted:  vyquext /h " + b + " ==> 0\n"),
              std::string::npos);
    // The defaults: output directory under the working directory, the stored seed file, the
    // plain title.
    EXPECT_TRUE(fs::exists(root / "y2kready" / "PROGB.cvt"));
    EXPECT_EQ(readFile(root / "y2kready" / "seed.asd"), "* seed\n");
    EXPECT_NE(readFile(projects / "y2k1.iwp").find("+name=Year 2000 Conversion\n"),
              std::string::npos);
    EXPECT_EQ(errors, "");
}

TEST_F(KelconvTest, aFailedFileEndsWithStatus1)
{
    const std::string a = addProgram("PROGA");
    const std::string b = addProgram("PROGB");
    environment.set("STANDIN_RC_zmc2_PROGB", "8");
    EXPECT_EQ(kelconv({"--out", (root / "results").string(), a, b}), 1);
    EXPECT_TRUE(output.ends_with("File:  0x81  " + a + "\nFile:  0x14  " + b
                                 + "\nCounters:  compile 1/1  analysis 1/0  conversion 1/0\n"
                                   "Project:  "
                                 + (projects / "y2k1.iwp").string() + "\nDatabase:  (none)\n"))
        << output;
    EXPECT_TRUE(fs::exists(root / "results" / "PROGA.cvt"));
}

TEST_F(KelconvTest, theSettingsFileGivesSourcesOptionsTemplateAndTitle)
{
    const std::string a = addProgram("PROGA");
    const std::string b = addProgram("PROGB");
    writeFile(root / "tpl" / "PAYROLL.iwp", "+name=PAYROLL\n+dirs=x\n");
    writeFile(root / "tpl" / "PAYROLL.iwo", "payroll options\n");
    writeFile(root / "request.txt",
              "Project Name:>   " + (root / "tpl" / "PAYROLL.iwp").string()
                  + "\nCompile Options:>-qANALYZE -Wall\n"
                    "Convert these files:>\n  "
                  + a + "\n");
    settings.erase("Millenium_Conv");
    settings["COMMON"]["QCOBDIR"] = (root / "cobdir").string();
    writeFile(root / "cobdir" / "Samples" / "Seedfile" / "sample.xsd", "* sample\n");

    EXPECT_EQ(kelconv({"--settings", (root / "request.txt").string(), b}), 0) << errors;
    EXPECT_NE(output.find("Executed:  zmc2  -c -qANALYZE -Wall -i" + sources.string() + " " + a
                          + " ==> 0\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("File:  0x81  " + a + "\nFile:  0x81  " + b + "\n"), std::string::npos);
    EXPECT_EQ(readFile(root / "tpl" / "yPAYROLL.iwp"),
              "+name=Year 2000 Conversion of PAYROLL\n+dirs=" + (root / "y2kready").string()
                  + "\n");
    EXPECT_EQ(readFile(root / "y2kready" / "sample.asd"), "* sample\n");
}

TEST_F(KelconvTest, anErrorThatEndsTheRunGivesStatus2)
{
    const std::string a = addProgram("PROGA");
    settings.erase("Conversion & Structuring");
    EXPECT_EQ(kelconv({a}), 2);
    EXPECT_TRUE(output.ends_with("Error:  Cannot find QVFWORK environment variable.\n"
                                 "File:  0x94  "
                                 + a
                                 + "\nCounters:  compile 1/0  analysis 1/0  conversion 0/0\n"
                                   "Project:  (none)\nDatabase:  (none)\n"))
        << output;
    EXPECT_EQ(errors, "kelconv: the run ended early: Cannot find QVFWORK environment variable.\n");
}

TEST_F(KelconvTest, anInterruptCancelsLikeTheCancelButton)
{
    const std::string a = addProgram("PROGA");
    const std::string b = addProgram("PROGB");
    environment.set("STANDIN_HANG_zmc2_PROGA", "1");
    const pid_t pid = start({a, b});
    while (!fs::exists(data / "running.zmc2.PROGA"))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(pid, SIGINT);
    EXPECT_EQ(finish(pid), 2);
    EXPECT_TRUE(output.ends_with("File:  0x91  " + a + "\nFile:  0x00  " + b
                                 + "\nCounters:  compile 0/0  analysis 0/0  conversion 0/0\n"
                                   "Project:  (none)\nDatabase:  (none)\n"))
        << output;
    EXPECT_EQ(errors, "kelconv: the run was cancelled.\n");
}

} // namespace
