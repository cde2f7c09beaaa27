#include "Process.h"

#include "CurrentDirectory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pthread.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string childProgram()
{
    const char *path = std::getenv("WIZKIT_PROCESS_CHILD");
    return path ? path : "";
}

std::string readAll(const fs::path &path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

/// A temporary directory whose name holds blanks, with a copy of the stand-in child in it.
class BlankDirectory
{
public:
    BlankDirectory()
    {
        m_path = fs::temp_directory_path() / ("wizkit process " + std::to_string(getpid()));
        fs::create_directories(m_path);
        fs::copy_file(childProgram(), m_path / "child prog", fs::copy_options::overwrite_existing);
    }
    ~BlankDirectory() { fs::remove_all(m_path); }
    const fs::path &path() const { return m_path; }

private:
    fs::path m_path;
};

} // namespace

TEST(SplitArguments, SplitsAtBlanksAndKeepsQuotedPartsTogether)
{
    struct Case
    {
        const char *label;
        std::string text;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"blanks only", "   \t ", {}},
        {"plain words", "-c -iCOPY prog.cbl", {"-c", "-iCOPY", "prog.cbl"}},
        {"runs of blanks", "  a   b\t\tc  ", {"a", "b", "c"}},
        {"quoted path", "\"/tmp/my dir/x.iwp\"", {"/tmp/my dir/x.iwp"}},
        {"quote inside word", "-i\"/a b\" c", {"-i/a b", "c"}},
        {"empty quotes", "a \"\" b", {"a", "", "b"}},
        {"unterminated quote", "a \"b c", {"a", "b c"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(splitArguments(c.text), c.expected) << c.label;
}

TEST(StartProcess, PassesArgumentsWithBlanksAsOneArgumentEach)
{
    ASSERT_FALSE(childProgram().empty());
    BlankDirectory directory;
    const fs::path output = directory.path() / "out put.txt";
    const pid_t pid = startProcess((directory.path() / "child prog").string(),
                                   std::vector<std::string>{"echo",
                                                            output.string(),
                                                            "one arg",
                                                            "/a path/with blanks.cbl"},
                                   "test");
    ASSERT_GT(pid, 0) << std::strerror(errno);
    const ProcessResult result = waitForProcess(pid);
    ASSERT_EQ(result.ending, ProcessResult::Ending::Exited);
    EXPECT_EQ(result.exitCode, 0);
    const std::string text = readAll(output);
    EXPECT_EQ(text.substr(0, text.find("cwd=")), "one arg\n/a path/with blanks.cbl\n");
}

TEST(StartProcess, FindsTheProgramOnPathAndRunsInTheGivenDirectory)
{
    BlankDirectory directory;
    const char *oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    setenv("PATH", (directory.path().string() + ":" + savedPath).c_str(), 1);
    const fs::path output = directory.path() / "out.txt";
    const pid_t pid = startProcess("child prog",
                                   "echo \"" + output.string() + "\" \"quoted words\" plain",
                                   "COBOL Compiler",
                                   directory.path().string());
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_GT(pid, 0) << std::strerror(errno);
    const ProcessResult result = waitForProcess(pid);
    ASSERT_EQ(result.ending, ProcessResult::Ending::Exited);
    EXPECT_EQ(readAll(output),
              "quoted words\nplain\ncwd=" + fs::canonical(directory.path()).string() + "\n");
}

// The search passes over what execvp passes over: a file that may not be run and a directory of
// the program's name. A relative entry is the child's to resolve, from its own directory, not
// from the caller's: "decoy" holds the program only in the caller's directory.
TEST(StartProcess, SearchesPathAsExecvpDoes)
{
    BlankDirectory directory;
    const fs::path notRunnable = directory.path() / "not runnable";
    const fs::path aDirectory = directory.path() / "a directory";
    const fs::path runnable = directory.path() / "runnable";
    const fs::path childDirectory = directory.path() / "child cwd";
    const fs::path callerDirectory = directory.path() / "caller cwd";
    for (const fs::path &dir :
         {notRunnable, aDirectory, runnable, childDirectory / "rel", callerDirectory / "decoy"})
        fs::create_directories(dir);
    std::ofstream(notRunnable / "child prog") << "#!/bin/sh\nexit 3\n";
    std::ofstream(callerDirectory / "decoy" / "child prog") << "#!/bin/sh\nexit 4\n";
    fs::permissions(callerDirectory / "decoy" / "child prog", fs::perms::owner_all);
    fs::create_directory(aDirectory / "child prog");
    fs::copy_file(childProgram(), runnable / "child prog");
    fs::copy_file(childProgram(), childDirectory / "rel" / "child prog");
    struct Case
    {
        const char *label;
        std::string path;
    };
    const Case cases[] = {
        {"later absolute entry",
         notRunnable.string() + ":" + aDirectory.string() + ":" + runnable.string()},
        {"relative entry, from the child's directory", aDirectory.string() + ":rel"},
        {"relative entry only the caller's directory holds", "decoy:" + runnable.string()},
    };
    const char *oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    ASSERT_TRUE(CurrentDirectory::pushDirectory(callerDirectory.string()));
    // Back to the directory before, however the test ends.
    struct PopDirectory
    {
        ~PopDirectory() { CurrentDirectory::popDirectory(); }
    } popDirectory;
    for (const Case &c : cases) {
        const fs::path output = directory.path() / "out.txt";
        fs::remove(output);
        setenv("PATH", c.path.c_str(), 1);
        const pid_t pid = startProcess("child prog",
                                       "echo \"" + output.string() + "\" found",
                                       "",
                                       childDirectory.string());
        setenv("PATH", savedPath.c_str(), 1);
        ASSERT_GT(pid, 0) << c.label << ": " << std::strerror(errno);
        const ProcessResult result = waitForProcess(pid);
        ASSERT_EQ(result.ending, ProcessResult::Ending::Exited) << c.label;
        EXPECT_EQ(result.exitCode, 0) << c.label;
        EXPECT_EQ(readAll(output).substr(0, 6), "found\n") << c.label;
    }
}

TEST(StartProcess, ReportsAMissingProgramWithMinusOneAndErrno)
{
    errno = 0;
    EXPECT_EQ(startProcess("chronex-no-such-program", std::vector<std::string>{}, ""), -1);
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_EQ(startProcess("", "", ""), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST(StartProcess, ReportsTheChildsExitCode)
{
    const pid_t pid = startProcess(childProgram(), "exit 12", "");
    ASSERT_GT(pid, 0);
    const ProcessResult result = waitForProcess(pid);
    ASSERT_EQ(result.ending, ProcessResult::Ending::Exited);
    EXPECT_EQ(result.exitCode, 12);
}

TEST(StartProcess, SetsUpTheChildAsTheOptionsSay)
{
    ASSERT_FALSE(childProgram().empty());
    BlankDirectory directory;
    const fs::path report = directory.path() / "report.txt";
    const fs::path output = directory.path() / "output.txt";
    setenv("WIZKIT_SET", "from the parent", 1);
    setenv("WIZKIT_KEPT", "kept", 1);
    // The starting thread blocks SIGTERM, as kelconv's threads do.
    sigset_t term;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &term, &previous);

    struct Case
    {
        const char *label;
        bool custom;
        std::string expectedReport;
        std::string expectedOutput;
    };
    const Case cases[] = {
        {"defaults: like the caller",
         false,
         "WIZKIT_SET=from the parent\nWIZKIT_KEPT=kept\ngroup member\nSIGTERM blocked\n",
         ""},
        {"environment, own group, default signals, output to a file",
         true,
         "WIZKIT_SET=for the child\nWIZKIT_KEPT=kept\ngroup leader\nSIGTERM open\n",
         "to stdout\nto stderr\n"},
    };
    for (const Case &c : cases) {
        fs::remove(output);
        const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0) << c.label;
        ProcessOptions options;
        if (c.custom) {
            options.environment = {"WIZKIT_SET=for the child"};
            options.ownProcessGroup = true;
            options.defaultSignals = true;
            options.outputDescriptor = fd;
        }
        const pid_t pid = startProcess(childProgram(),
                                       std::vector<std::string>{"report", report.string()},
                                       "test",
                                       options);
        ::close(fd);
        ASSERT_GT(pid, 0) << c.label << ": " << std::strerror(errno);
        const ProcessResult result = waitForProcess(pid);
        EXPECT_EQ(result.ending, ProcessResult::Ending::Exited) << c.label;
        EXPECT_EQ(readAll(report), c.expectedReport) << c.label;
        if (c.custom) {
            EXPECT_EQ(readAll(output), c.expectedOutput) << c.label;
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    EXPECT_STREQ(std::getenv("WIZKIT_SET"), "from the parent");
    unsetenv("WIZKIT_SET");
    unsetenv("WIZKIT_KEPT");
}

TEST(StartProcess, ReportsAWorkingDirectoryThatDoesNotExist)
{
    ProcessOptions options;
    options.workingDirectory = "/chronex/no/such/directory";
    errno = 0;
    EXPECT_EQ(startProcess(childProgram(), std::vector<std::string>{"exit", "0"}, "", options), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST(KillProcess, EndsAChildWithSigtermAndLeavesItForTheWaiter)
{
    const pid_t pid = startProcess(childProgram(), "sleep", "");
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(killProcess(pid));
    const ProcessResult result = waitForProcess(pid);
    ASSERT_EQ(result.ending, ProcessResult::Ending::Signalled);
    EXPECT_EQ(result.signal, SIGTERM);
}

TEST(KillProcess, UsesSigkillWhenTheChildIgnoresSigterm)
{
    const pid_t pid = startProcess(childProgram(), "stubborn", "");
    ASSERT_GT(pid, 0);
    // Give the child time to install its handler: until then SIGTERM would end it at once.
    usleep(200 * 1000);
    EXPECT_TRUE(killProcess(pid, /*graceMilliseconds=*/100));
    const ProcessResult result = waitForProcess(pid);
    ASSERT_EQ(result.ending, ProcessResult::Ending::Signalled);
    EXPECT_EQ(result.signal, SIGKILL);
}

TEST(KillProcess, RejectsProcessIdsThatNameNoChild)
{
    EXPECT_FALSE(killProcess(0));
    EXPECT_FALSE(killProcess(-1));
}
