// vyquext as the engine runs it: a real process in the source's directory, the options file in a
// temporary QVFWORK named by a temporary CHRONEX_HOME, and GnuCOBOL compiling and running the
// original and the converted program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const fs::path &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> namesIn(const fs::path &directory)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string onPath(const std::string &program)
{
    const char *path = std::getenv("PATH");
    std::istringstream directories(path ? path : "");
    std::string directory;
    while (std::getline(directories, directory, ':'))
        if (!directory.empty() && access((directory + "/" + program).c_str(), X_OK) == 0)
            return directory + "/" + program;
    return {};
}

struct ChildRun
{
    int code = -1;
    std::string output;
};

/// Runs `arguments` in `directory` with `environment` added, waits at most a minute.
ChildRun runChild(const std::vector<std::string> &arguments,
                  const fs::path &directory,
                  const std::vector<std::string> &environment,
                  const fs::path &outputFile)
{
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(directory.c_str()) != 0)
            _exit(127);
        const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        for (const std::string &setting : environment)
            putenv(const_cast<char *>(setting.c_str()));
        std::vector<char *> argv;
        for (const std::string &argument : arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ChildRun result;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            ADD_FAILURE() << arguments[0] << " did not end within a minute";
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.output = readText(outputFile);
    return result;
}

std::string engineOptions(const fs::path &source,
                          const fs::path &cvt,
                          const fs::path &out,
                          const fs::path &xca)
{
    const std::vector<std::string> lines = {"V2R2F1 QVF TRCAFile Options",
                                            "Input File",
                                            source.string(),
                                            "10",
                                            "",
                                            "Output File",
                                            cvt.string(),
                                            out.string(),
                                            "1",
                                            "3",
                                            "",
                                            "TPMX",
                                            "0",
                                            "0",
                                            "0",
                                            "0",
                                            "",
                                            "",
                                            "CHX",
                                            "1",
                                            xca.string(),
                                            "",
                                            "",
                                            "General",
                                            "1",
                                            "1",
                                            "1",
                                            "1",
                                            "1",
                                            "0",
                                            "1",
                                            "1",
                                            "1",
                                            "0",
                                            "",
                                            "Format",
                                            "1",
                                            "100",
                                            "0",
                                            "74",
                                            "",
                                            "",
                                            "",
                                            "CopyLibrary"};
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += lines[i] + (i + 1 < lines.size() ? "\n" : "");
    return text;
}

const char *const comparisonProgram = R"(       IDENTIFICATION DIVISION.
       PROGRAM-ID. CMP.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       01 WS-YEARS.
          05 OLD-YY        PIC 99 VALUE 99.
          05 NEW-YY        PIC 99 VALUE 05.
          05 P1-YY         PIC 99 VALUE 49.
          05 P2-YY         PIC 99 VALUE 50.
          05 BIRTH-YY      PIC 99 VALUE 65.
          05 NOW-YY        PIC 99 VALUE 02.
       01 WS-AGE           PIC 999.
       PROCEDURE DIVISION.
       MAIN-PARA.
           IF OLD-YY < NEW-YY
               DISPLAY "99<05 Y"
           ELSE
               DISPLAY "99<05 N"
           END-IF
           IF P2-YY < P1-YY DISPLAY "50<49 Y"
           ELSE DISPLAY "50<49 N" END-IF
           COMPUTE WS-AGE = NOW-YY - BIRTH-YY
           DISPLAY "AGE " WS-AGE
           STOP RUN.
)";

std::string findingsFor(const fs::path &source, const std::vector<std::string> &names)
{
    std::string text = "CHRONEX-XCA\t1\nPROGRAM\t" + source.string() + "\tON\t\n";
    for (const std::string &name : names)
        text += "FIELD\t" + source.string() + "\t6\t" + name
                + "\tALWAYS-YEAR\t1-2\tWS-YEARS\t1-2\t\t\t\n";
    return text;
}

class VyquextProcess : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vyquext-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        for (const char *name : {"home", "work", "src", "out", "bin"})
            fs::create_directories(m_root / name);
        const char *binaries = std::getenv("CHRONEX_BIN_DIR");
        m_vyquext = std::string(binaries ? binaries : ".") + "/vyquext";
        m_source = m_root / "src" / "CMP.cbl";
        writeText(m_source, comparisonProgram);
        writeText(m_root / "out" / "CMP.xca",
                  findingsFor(m_source,
                              {"OLD-YY", "NEW-YY", "P1-YY", "P2-YY", "BIRTH-YY", "NOW-YY"}));
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_root, error);
    }

    void useOptionsFile()
    {
        writeText(m_root / "home" / "environment.ini",
                  "[Conversion & Structuring]\nQVFWORK=" + (m_root / "work").string() + "\n");
        writeText(m_root / "work" / "CMP.c3a",
                  engineOptions(m_source,
                                m_root / "out" / "CMP.cvt",
                                m_root / "out",
                                m_root / "out" / "CMP.xca"));
    }

    ChildRun vyquext(const std::vector<std::string> &arguments,
                     std::vector<std::string> environment = {})
    {
        std::vector<std::string> command{m_vyquext};
        command.insert(command.end(), arguments.begin(), arguments.end());
        environment.push_back("CHRONEX_HOME=" + (m_root / "home").string());
        return runChild(command, m_root / "src", environment, m_root / "vyquext.out");
    }

    /// Compiles `source` with cobc -x and runs it; empty when cobc is not installed.
    std::string compileAndRun(const fs::path &source, const std::string &name)
    {
        const std::string cobc = onPath("cobc");
        const fs::path program = m_root / "bin" / name;
        const ChildRun compiled = runChild({cobc, "-x", "-o", program.string(), source.string()},
                                           m_root / "bin",
                                           {},
                                           m_root / "bin" / (name + ".log"));
        EXPECT_EQ(compiled.code, 0) << compiled.output;
        return runChild({program.string()}, m_root / "bin", {}, m_root / "bin" / (name + ".run"))
            .output;
    }

    fs::path m_root;
    fs::path m_source;
    std::string m_vyquext;
};

TEST_F(VyquextProcess, ConvertsThroughTheOptionsFileAndWritesOnlyWhereAllowed)
{
    useOptionsFile();
    const std::string environmentBefore = readText(m_root / "home" / "environment.ini");
    const ChildRun result = vyquext({"/h", m_source.string()});
    EXPECT_EQ(result.code, 0) << result.output;
    EXPECT_EQ(namesIn(m_root / "src"), (std::vector<std::string>{"CMP.cbl", "CMP.crs"}));
    EXPECT_EQ(namesIn(m_root / "out"), (std::vector<std::string>{"CMP.cvt", "CMP.xca"}));
    EXPECT_EQ(namesIn(m_root / "work"), (std::vector<std::string>{"CMP.c3a"}));
    EXPECT_EQ(namesIn(m_root / "home"), (std::vector<std::string>{"environment.ini"}));
    EXPECT_EQ(readText(m_root / "home" / "environment.ini"), environmentBefore);
    EXPECT_EQ(readText(m_source), comparisonProgram);
    const std::string report = readText(m_root / "src" / "CMP.crs");
    EXPECT_NE(report.find("Options:         " + (m_root / "work" / "CMP.c3a").string()),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Changes (3)"), std::string::npos) << report;
    EXPECT_NE(report.find("Result: 0 (converted without remarks)"), std::string::npos) << report;

    if (onPath("cobc").empty())
        GTEST_SKIP() << "GnuCOBOL (cobc) is not installed";
    // The converted program orders the years around the pivot where the original does not.
    EXPECT_EQ(compileAndRun(m_source, "original"), "99<05 N\n50<49 N\nAGE 063\n");
    const fs::path converted = m_root / "bin" / "CMP.cbl";
    fs::copy_file(m_root / "out" / "CMP.cvt", converted);
    EXPECT_EQ(compileAndRun(converted, "converted"), "99<05 Y\n50<49 Y\nAGE 037\n");
}

TEST_F(VyquextProcess, WithoutAnOptionsFileUsesTheOutputDirectoryAndCreatesNoSettings)
{
    const ChildRun result = vyquext({"/h", "CMP.cbl"},
                                    {"CHRONEX_OUTPUT_DIR=" + (m_root / "out").string()});
    EXPECT_EQ(result.code, 0) << result.output;
    EXPECT_TRUE(fs::exists(m_root / "out" / "CMP.cvt"));
    EXPECT_TRUE(fs::exists(m_root / "src" / "CMP.crs"));
    EXPECT_TRUE(namesIn(m_root / "home").empty()) << "reading settings must not create them";
    EXPECT_NE(readText(m_root / "src" / "CMP.crs").find("Options:         defaults"),
              std::string::npos);
}

TEST_F(VyquextProcess, FreeFormatProgramsConvertAndRun)
{
    const fs::path source = m_root / "src" / "FREE.cbl";
    writeText(source,
              "       >>SOURCE FORMAT FREE\n"
              "IDENTIFICATION DIVISION.\n"
              "PROGRAM-ID. FREE.\n"
              "DATA DIVISION.\n"
              "WORKING-STORAGE SECTION.\n"
              "01 WS-YEARS.\n"
              "   05 OLD-YY PIC 99 VALUE 99.\n"
              "   05 NEW-YY PIC 99 VALUE 05.\n"
              "PROCEDURE DIVISION.\n"
              "    IF OLD-YY < NEW-YY DISPLAY \"Y\" ELSE DISPLAY \"N\" END-IF *> order\n"
              "    IF OLD-YY > 95 AND < 97 DISPLAY \"Y\" ELSE DISPLAY \"N\" END-IF\n"
              "    STOP RUN.\n");
    writeText(m_root / "out" / "FREE.xca", findingsFor(source, {"OLD-YY", "NEW-YY"}));
    const ChildRun result = vyquext({"/h", "FREE.cbl"},
                                    {"CHRONEX_OUTPUT_DIR=" + (m_root / "out").string()});
    EXPECT_EQ(result.code, 0) << result.output;
    EXPECT_NE(readText(m_root / "src" / "FREE.crs").find("Format:          free"),
              std::string::npos);
    if (onPath("cobc").empty())
        GTEST_SKIP() << "GnuCOBOL (cobc) is not installed";
    EXPECT_EQ(compileAndRun(source, "free-original"), "N\nN\n");
    const fs::path converted = m_root / "bin" / "FREE.cbl";
    fs::copy_file(m_root / "out" / "FREE.cvt", converted);
    EXPECT_EQ(compileAndRun(converted, "free-converted"), "Y\nN\n");
}

TEST_F(VyquextProcess, ASourceNamedLikeItsReportIsNeverOverwritten)
{
    const fs::path source = m_root / "src" / "ODD.crs";
    writeText(source, comparisonProgram);
    const ChildRun result = vyquext({"/h", source.string()});
    EXPECT_EQ(result.code, 16) << result.output;
    EXPECT_EQ(readText(source), comparisonProgram);
}

TEST_F(VyquextProcess, FailuresLeaveNoConvertedFileAndSayWhyInTheReport)
{
    struct Case
    {
        const char *label;
        std::function<void(const fs::path &root)> prepare;
        const char *firstArgument;
        int code;
        const char *reportText; ///< empty: no report expected
    };
    const std::vector<Case> cases = {
        {"malformed options file",
         [](const fs::path &root) { writeText(root / "work" / "CMP.c3a", "not options\n"); },
         "/h",
         12,
         ":1: expected \"V2R2F1 QVF TRCAFile Options\""},
        {"source missing",
         [](const fs::path &root) { fs::remove(root / "src" / "CMP.cbl"); },
         "/h",
         12,
         "cannot be opened for reading"},
        {"source is a FIFO nobody writes",
         [](const fs::path &root) {
             fs::remove(root / "src" / "CMP.cbl");
             ASSERT_EQ(mkfifo((root / "src" / "CMP.cbl").c_str(), 0600), 0);
         },
         "/h",
         12,
         "is not a regular file"},
        {"findings missing",
         [](const fs::path &root) { fs::remove(root / "out" / "CMP.xca"); },
         "/h",
         12,
         "The findings file"},
        {"analysis did not run",
         [](const fs::path &root) {
             writeText(root / "out" / "CMP.xca", "CHRONEX-XCA\t1\nERROR\tno analysis data\n");
         },
         "/h",
         12,
         "could not run"},
        {"converted file cannot be put in place",
         [](const fs::path &root) { fs::create_directories(root / "out" / "CMP.cvt" / "inside"); },
         "/h",
         16,
         "cannot be written"},
        {"report cannot be written",
         [](const fs::path &root) { fs::create_directories(root / "src" / "CMP.crs" / "inside"); },
         "/h",
         16,
         ""},
        {"wrong arguments", [](const fs::path &) {}, "-x", 16, ""},
    };
    for (const Case &c : cases) {
        TearDown();
        SetUp();
        useOptionsFile();
        c.prepare(m_root);
        const ChildRun result = vyquext({c.firstArgument, m_source.string()});
        EXPECT_EQ(result.code, c.code) << c.label << ": " << result.output;
        const fs::path report = m_root / "src" / "CMP.crs";
        if (*c.reportText) {
            EXPECT_NE(readText(report).find(c.reportText), std::string::npos)
                << c.label << ": " << readText(report);
            EXPECT_NE(readText(report).find("Result: " + std::to_string(c.code) + " (failed"),
                      std::string::npos)
                << c.label;
        } else {
            EXPECT_FALSE(fs::is_regular_file(report)) << c.label;
        }
        EXPECT_FALSE(fs::is_regular_file(m_root / "out" / "CMP.cvt")) << c.label;
        for (const auto &entry : fs::directory_iterator(m_root / "out"))
            EXPECT_NE(entry.path().filename().string().rfind("CMP.cvt.", 0), 0u)
                << c.label << ": left " << entry.path();
    }
}

} // namespace
