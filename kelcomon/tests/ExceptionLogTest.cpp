#include "ExceptionLog.h"
#include "IException.h"
#include "TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> readLines(const std::string &file)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

template<typename E>
E withLocation(E exception)
{
    exception.addLocation({"KelBrowser::open()", "KelBrowser.cpp", 412});
    exception.addLocation({"KelDesktop::createWindow()", "KelDesktop.cpp", 9});
    return exception;
}

} // namespace

TEST(ExceptionLog, ReportsFollowTheFormat)
{
    struct Case
    {
        const char *label;
        IException exception;
        std::vector<std::string> expected;
    };
    IException texts("first", 7, IException::Severity::Unrecoverable);
    texts.addText("second").addText("third");
    IException noLocation("lost");
    const std::vector<Case> cases = {
        {"no texts: exactly five lines",
         withLocation(IException()),
         {"Exception in: KelBrowser::open() (line 412 in file KelBrowser.cpp",
          "IException",
          "error id = 0",
          "text count = 0",
          "Exception is recoverable."}},
        {"texts from the most recent, each after its bare index",
         withLocation(texts),
         {"Exception in: KelBrowser::open() (line 412 in file KelBrowser.cpp",
          "IException",
          "error id = 7",
          "text count = 3",
          "0third",
          "1second",
          "2first",
          "Exception is unrecoverable."}},
        {"no location recorded",
         noLocation,
         {"Exception in: (unknown) (line 0 in file (unknown)",
          "IException",
          "error id = 0",
          "text count = 1",
          "0lost",
          "Exception is recoverable."}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ExceptionLog::reportLines(c.exception), c.expected);
    }
}

TEST(ExceptionLog, ReportsAreAppendedAndTheClassNameIsTheExceptions)
{
    TempDirectory directory;
    const std::string log = directory.file("KELEXCPT.OUT");
    {
        std::ofstream existing(log);
        existing << "an earlier line\n";
    }
    IAccessError access("The file /src/PAY.cbl is gone.", 2);
    access.addLocation({"DbPu::load()", "DbPuLoad.cpp", 40});
    ASSERT_TRUE(ExceptionLog::append(access, log));
    ASSERT_TRUE(ExceptionLog::append(withLocation(IInvalidRequest()), log));

    const std::vector<std::string> lines = readLines(log);
    ASSERT_EQ(lines.size(), 1u + 6u + 5u);
    EXPECT_EQ(lines[0], "an earlier line");
    EXPECT_EQ(lines[1], "Exception in: DbPu::load() (line 40 in file DbPuLoad.cpp");
    EXPECT_EQ(lines[2], "IAccessError");
    EXPECT_EQ(lines[5], "0The file /src/PAY.cbl is gone.");
    EXPECT_EQ(lines[8], "IInvalidRequest");
    EXPECT_EQ(lines[11], "Exception is recoverable.");
}

TEST(ExceptionLog, ConcurrentReportsInterleaveByLinesAndLoseNone)
{
    TempDirectory directory;
    const std::string log = directory.file("KELEXCPT.OUT");
    constexpr int threads = 6;
    constexpr int reportsEach = 150;
    std::vector<std::thread> writers;
    for (int t = 0; t < threads; ++t) {
        writers.emplace_back([&, t] {
            for (int r = 0; r < reportsEach; ++r) {
                IException exception("thread " + std::to_string(t) + " report " + std::to_string(r)
                                         + std::string(300, 'x'),
                                     static_cast<unsigned long>(t));
                exception.addLocation({"worker()", "Test.cpp", static_cast<unsigned long>(r)});
                ExceptionLog::append(exception, log);
            }
        });
    }
    for (std::thread &writer : writers)
        writer.join();

    const std::vector<std::string> lines = readLines(log);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(threads * reportsEach * 6));
    std::set<std::string> texts;
    for (const std::string &line : lines) {
        if (line.rfind("0thread ", 0) == 0)
            texts.insert(line);
        // Every line is whole: one of the six kinds, never two run together.
        const bool known = line.rfind("Exception in: worker() (line ", 0) == 0
                           || line == "IException" || line.rfind("error id = ", 0) == 0
                           || line == "text count = 1"
                           || (line.rfind("0thread ", 0) == 0 && line.size() > 300
                               && line.find("Exception") == std::string::npos)
                           || line == "Exception is recoverable.";
        EXPECT_TRUE(known) << line;
    }
    EXPECT_EQ(texts.size(), static_cast<std::size_t>(threads * reportsEach));
}

TEST(ExceptionLog, AFileThatCannotBeOpenedLosesTheReportQuietly)
{
    TempDirectory directory;
    std::filesystem::create_directory(directory.path() / "KELEXCPT.OUT");
    EXPECT_FALSE(
        ExceptionLog::append(withLocation(IException("x")), directory.file("KELEXCPT.OUT")));
    EXPECT_FALSE(ExceptionLog::append(withLocation(IException("x")),
                                      directory.file("missing/KELEXCPT.OUT")));
}
