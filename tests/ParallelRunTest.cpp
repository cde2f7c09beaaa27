// kelconv with several tools at once gives what it gives with one tool at a time, with the real
// toolchain: on the bundled samples and on a generated portfolio whose copybooks need several
// analysis passes, every file of the output directory (the temporary seed file, each
// program-info file, converted source, report, findings and tool output, the log, the project)
// is the same byte for byte, the analysis database holds the same units under the same numbers,
// and the summary is the same.

#include "DatabaseContent.h"
#include "PortfolioGenerator.h"
#include "RunTestSupport.h"
#include "ToolchainRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path fromEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? fs::path(value) : fs::path();
}

/// What a run left that must not depend on the number of tools at once.
struct RunResult
{
    int status = -1;
    std::string summary; ///< the output from the first "File:  " line on
    std::string errors;
    std::map<std::string, std::string> files;
    std::string database;
    int analysisLoops = 0;
    /// Chunks of units' tokens ever written, and those the database holds: equal when every
    /// builder run after the first on a source kept the unit's records.
    std::string tokenChunksWritten;
    std::string tokenChunksHeld;
};

class ParallelRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(binDirectory.empty()) << "CHRONEX_BIN_DIR is not set";
        for (const fs::path &directory : {home, cache, captures})
            fs::create_directories(directory);
        environment.set("CHRONEX_HOME", home.string());
        environment.set("XDG_CACHE_HOME", cache.string());
        environment.set("PATH", binDirectory.string() + ":" + std::getenv("PATH"));
        environment.set("YWIZ_TRACE_XCOMP", "1");
        environment.unset("CHRONEX_OUTPUT_DIR");
        environment.unset("COBCPY");
    }

    /// Converts a copy of the sources in `sources` with `jobs` tools at once. Every run works in
    /// the same directory, so the paths in the results are the same; what it left is read and
    /// the directory removed again.
    RunResult convert(const fs::path &sources, const fs::path &seed, int jobs)
    {
        fs::remove_all(work);
        ToolchainRun::copyTree(sources, work / "src");
        fs::create_directories(work / "cwd");
        std::vector<std::string> programs;
        for (const fs::directory_entry &entry : fs::recursive_directory_iterator(work / "src"))
            if (entry.path().extension() == ".cbl")
                programs.push_back(entry.path().string());
        std::sort(programs.begin(), programs.end());
        std::vector<std::string> arguments = {"-j",
                                              std::to_string(jobs),
                                              "--seed",
                                              seed.string(),
                                              "--out",
                                              (work / "out").string()};
        arguments.insert(arguments.end(), programs.begin(), programs.end());
        const ToolchainRun::ProcessResult process = ToolchainRun::run("kelconv",
                                                                      arguments,
                                                                      work / "cwd",
                                                                      captures);

        RunResult result;
        result.status = process.status;
        result.errors = process.errors;
        const std::size_t summary = process.output.find("\nFile:  ");
        result.summary = summary == std::string::npos ? process.output
                                                      : process.output.substr(summary + 1);
        for (const std::string &line : ToolchainRun::lines(process.output))
            result.analysisLoops += line.starts_with("XCOMP:Loop ") ? 1 : 0;
        for (auto &[name, content] : ToolchainRun::snapshot(work / "out")) {
            if (!name.starts_with("chxanalysis.db"))
                result.files[name] = content;
        }
        const std::string database = (work / "out" / "chxanalysis.db").string();
        result.database = databaseContent(database);
        result.tokenChunksWritten = databaseValue(database, "SELECT max(rowid) FROM token_chunk");
        result.tokenChunksHeld = databaseValue(database, "SELECT count(*) FROM token_chunk");
        fs::remove_all(work);
        return result;
    }

    /// Converts `sources` with one tool at a time and with four, and expects the same results.
    void expectSameResults(const fs::path &sources, const fs::path &seed, int minimumLoops)
    {
        const RunResult one = convert(sources, seed, 1);
        ASSERT_EQ(one.status, 0) << one.summary << one.errors;
        ASSERT_GE(one.analysisLoops, minimumLoops);
        const RunResult four = convert(sources, seed, 4);
        EXPECT_EQ(four.status, 0) << four.summary << four.errors;
        EXPECT_EQ(four.summary, one.summary);
        EXPECT_EQ(four.analysisLoops, one.analysisLoops);
        // Compared file by file, so a failure names the file.
        for (const auto &[name, content] : one.files) {
            const auto other = four.files.find(name);
            ASSERT_NE(other, four.files.end()) << name << " is missing with four tools";
            EXPECT_EQ(other->second, content) << name << " differs with four tools";
        }
        for (const auto &[name, content] : four.files)
            EXPECT_TRUE(one.files.contains(name)) << name << " is extra with four tools";
        EXPECT_TRUE(one.files.contains("sample.asd") || one.files.contains("seed.asd"));
        EXPECT_EQ(four.database, one.database);
        EXPECT_NE(one.database.find("== pu\n"), std::string::npos);
        // The analysis passes after the first bring the units up to date without writing their
        // records again.
        for (const RunResult *run : {&one, &four})
            EXPECT_EQ(run->tokenChunksWritten, run->tokenChunksHeld);
    }

    RunTestSupport::TemporaryDirectory temporary;
    const fs::path binDirectory = fromEnvironment("CHRONEX_BIN_DIR");
    const fs::path dataDirectory = fromEnvironment("CHRONEX_DATA_DIR");
    const fs::path root = temporary.path();
    const fs::path work = root / "run";
    const fs::path home = root / "home";
    const fs::path cache = root / "cache";
    const fs::path captures = root / "captures";
    RunTestSupport::ScopedEnvironment environment;
};

TEST_F(ParallelRunTest, theSamplesConvertWithFourToolsAsWithOne)
{
    const fs::path seed = root / "seeds" / "sample.xsd";
    fs::create_directories(seed.parent_path());
    fs::copy_file(dataDirectory / "Samples/Seedfile/sample.xsd", seed);
    expectSameResults(dataDirectory / "Samples/cobol", seed, 3);
}

TEST_F(ParallelRunTest, aGeneratedPortfolioConvertsWithFourToolsAsWithOne)
{
    // Three chains of three copybooks: four analysis passes, every one analysing again the
    // programs whose copybooks changed.
    PortfolioOptions options;
    options.programs = 40;
    options.copybooks = 9;
    options.depth = 2;
    PortfolioGenerator::write(options, root / "portfolio");
    const fs::path seed = root / "seeds" / "seed.xsd";
    RunTestSupport::writeFile(seed, "* no seeds: the programs teach each other\n");
    expectSameResults(root / "portfolio", seed, options.depth + 2);
}

TEST_F(ParallelRunTest, aFieldThatTheFirstProgramReadsWholeAndTheSecondFillsInPartStaysOneRun)
{
    // P1WIDE moves D-STAMP into a four-digit year; P2NARROW moves a two-digit year into its last
    // two digits. Taken in list order, P2NARROW sees all four bytes a year and reports them as one
    // run. Analysed side by side from one snapshot and merged afterwards, its own two bytes would
    // split the stored run for good: the same kinds, another temporary seed file.
    const fs::path sources = root / "stamp";
    RunTestSupport::writeFile(sources / "DREC.cpy",
                              "           05  D-KEY               PIC X(4).\n"
                              "           05  D-STAMP             PIC 9(4).\n"
                              "           05  D-REST              PIC X(4).\n");
    const auto program =
        [&](const std::string &name, const std::string &item, const std::string &statement) {
            RunTestSupport::writeFile(sources / (name + ".cbl"),
                                      "       IDENTIFICATION DIVISION.\n"
                                      "       PROGRAM-ID. "
                                          + name
                                          + ".\n"
                                            "       DATA DIVISION.\n"
                                            "       WORKING-STORAGE SECTION.\n"
                                            "       01  WS-REC.\n"
                                            "           COPY DREC.\n"
                                            "       01  "
                                          + item + "\n       PROCEDURE DIVISION.\n           "
                                          + statement + "\n           GOBACK.\n");
        };
    program("P1WIDE", "WS-YEAR                 PIC 9(4).", "MOVE D-STAMP TO WS-YEAR");
    program("P2NARROW", "WS-YY                   PIC 99.", "MOVE WS-YY TO D-STAMP");
    const fs::path seed = root / "seeds" / "seed.xsd";
    RunTestSupport::writeFile(seed, "");

    const RunResult one = convert(sources, seed, 1);
    ASSERT_EQ(one.status, 0) << one.summary << one.errors;
    EXPECT_EQ(one.files.at("seed.asd"),
              "<SEED> <INCLUDE> DREC DEFAULT\n  <used-as-year> <index> 5 <length> 4\n</SEED>\n\n");
    const RunResult two = convert(sources, seed, 2);
    EXPECT_EQ(two.files, one.files);
    EXPECT_EQ(two.database, one.database);
}

} // namespace
