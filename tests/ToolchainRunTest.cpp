// kelconv over the bundled sample application with the real toolchain, as a user runs it: the
// programs from the build's bin directory first on PATH, GnuCOBOL behind zmc2, a per-user state
// directory and cache of the test's own, and copies of the samples and the seed file so that the
// build tree is never touched.

#include "ToolchainRun.h"
#include "RunTestSupport.h"
#include "SeedBlocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using RunTestSupport::readFile;
using RunTestSupport::writeFile;

namespace {

fs::path fromEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? fs::path(value) : fs::path();
}

class ToolchainRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(binDirectory.empty()) << "CHRONEX_BIN_DIR is not set";
        ASSERT_TRUE(fs::is_regular_file(dataDirectory / "Samples/Seedfile/sample.xsd"))
            << dataDirectory;
        ToolchainRun::copyTree(dataDirectory / "Samples/cobol", sources);
        fs::create_directories(seedDirectory);
        fs::copy_file(dataDirectory / "Samples/Seedfile/sample.xsd", seed);
        for (const fs::path &directory : {home, cache, workingDirectory, captures})
            fs::create_directories(directory);

        environment.set("CHRONEX_HOME", home.string());
        environment.set("XDG_CACHE_HOME", cache.string());
        environment.set("PATH", binDirectory.string() + ":" + std::getenv("PATH"));
        environment.set("YWIZ_TRACE_XCOMP", "1");
        environment.unset("CHRONEX_OUTPUT_DIR");
        environment.unset("COBCPY");

        sourcesBefore = ToolchainRun::snapshot(sources);
        seedsBefore = ToolchainRun::snapshot(seedDirectory);
        workingBefore = ToolchainRun::snapshot(workingDirectory);
    }

    /// The sample programs in the order a user's shell gives them (sorted full paths).
    std::vector<std::string> programs() const
    {
        std::vector<std::string> paths;
        for (const fs::directory_entry &entry : fs::recursive_directory_iterator(sources))
            if (entry.path().extension() == ".cbl")
                paths.push_back(entry.path().string());
        std::sort(paths.begin(), paths.end());
        return paths;
    }

    ToolchainRun::ProcessResult kelconv(const std::vector<std::string> &arguments)
    {
        return ToolchainRun::run("kelconv", arguments, workingDirectory, captures);
    }

    /// kelconv on every sample program with the copied seed file, into `output`.
    ToolchainRun::ProcessResult convertSamples(const std::vector<std::string> &options = {})
    {
        std::vector<std::string> arguments = {"--seed", seed.string(), "--out", output.string()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const std::vector<std::string> paths = programs();
        arguments.insert(arguments.end(), paths.begin(), paths.end());
        return kelconv(arguments);
    }

    /// The user's files and the working directory are as they were, and the source directory
    /// holds no result the tools left behind.
    void expectUserFilesUntouched()
    {
        EXPECT_EQ(ToolchainRun::snapshot(sources), sourcesBefore) << "the source directory changed";
        EXPECT_EQ(ToolchainRun::snapshot(seedDirectory), seedsBefore)
            << "the seed file's directory changed";
        EXPECT_EQ(ToolchainRun::snapshot(workingDirectory), workingBefore)
            << "something was written into the working directory";
    }

    RunTestSupport::TemporaryDirectory temporary;
    const fs::path binDirectory = fromEnvironment("CHRONEX_BIN_DIR");
    const fs::path dataDirectory = fromEnvironment("CHRONEX_DATA_DIR");
    const fs::path root = temporary.path();
    const fs::path sources = root / "cobol sources";
    const fs::path seedDirectory = root / "seeds";
    const fs::path seed = seedDirectory / "sample.xsd";
    const fs::path output = root / "y2k ready";
    const fs::path home = root / "home";
    const fs::path cache = root / "cache";
    const fs::path workingDirectory = root / "cwd";
    const fs::path captures = root / "captures";
    RunTestSupport::ScopedEnvironment environment;
    std::map<std::string, std::string> sourcesBefore;
    std::map<std::string, std::string> seedsBefore;
    std::map<std::string, std::string> workingBefore;
};

/// The summary line kelconv prints for `source`, or "" when there is none.
std::string summaryLine(const std::string &output, const std::string &source)
{
    for (const std::string &line : ToolchainRun::lines(output))
        if (line.starts_with("File:  ") && line.size() > 13 && line.substr(13) == source)
            return line;
    return "";
}

/// The "XCOMP" trace from the first "XCOMP:Loop" line on, split into its loops.
std::vector<std::vector<std::string>> analysisLoops(const std::string &output)
{
    std::vector<std::vector<std::string>> loops;
    for (const std::string &line : ToolchainRun::lines(output)) {
        if (line.starts_with("XCOMP:Loop "))
            loops.emplace_back();
        if (!loops.empty() && line.starts_with("XCOMP:"))
            loops.back().push_back(line);
    }
    return loops;
}

bool contains(const std::vector<std::string> &lines, const std::string &line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(ToolchainRunTest, theSamplesConvertWithStatus0AndEverySourceInTheSummary)
{
    const std::vector<std::string> paths = programs();
    ASSERT_EQ(paths.size(), 8u);
    const ToolchainRun::ProcessResult run = convertSamples();

    EXPECT_EQ(run.status, 0) << run.output << run.errors;
    for (const std::string &path : paths) {
        const std::string line = summaryLine(run.output, path);
        EXPECT_TRUE(line == "File:  0x81  " + path || line == "File:  0x82  " + path)
            << path << ": " << line;
        EXPECT_NE(run.output.find("Executed:  vyquext /h " + path + " ==> "), std::string::npos)
            << path;
    }
    EXPECT_NE(run.output.find("Counters:  compile 8/0  analysis 8/0  conversion 8/0\n"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(run.output.ends_with("Project:  " + (output / "y2k1.iwp").string()
                                     + "\nDatabase:  " + (output / "chxanalysis.db").string()
                                     + "\n"))
        << run.output;
    EXPECT_EQ(run.output.find("Error:  "), std::string::npos) << run.output;
}

TEST_F(ToolchainRunTest, theAnalysisLoopConvergesAfterTheTeachingChain)
{
    const ToolchainRun::ProcessResult run = convertSamples();
    ASSERT_EQ(run.status, 0) << run.output << run.errors;

    const std::vector<std::vector<std::string>> loops = analysisLoops(run.output);
    ASSERT_GE(loops.size(), 2u) << run.output;
    for (std::size_t i = 0; i < loops.size(); ++i)
        EXPECT_EQ(loops[i].front(), "XCOMP:Loop " + std::to_string(i + 1));
    // Every loop but the last changed the table; the last one changed nothing, so it ended the
    // analysis and the conversion pass followed.
    for (std::size_t i = 0; i + 1 < loops.size(); ++i)
        EXPECT_TRUE(contains(loops[i], "XCOMP:  Table Changed.")) << "loop " << i + 1;
    EXPECT_FALSE(contains(loops.back(), "XCOMP:  Table Changed.")) << run.output;
    const std::size_t lastLoop = run.output.rfind("XCOMP:Loop ");
    EXPECT_NE(run.output.find("Executed:  vyquext /h ", lastLoop), std::string::npos);
    EXPECT_EQ(run.output.find("Executed:  kelmkpu ", run.output.find("Executed:  vyquext ")),
              std::string::npos)
        << "kelmkpu ran after the conversion pass had started";

    // CLMCHECK comes first and learns POL-PRIOR-END only from POLRENEW, later in loop 1; YREND
    // has no copybook and is done after its first analysis.
    EXPECT_TRUE(contains(loops[0], "XCOMP:   Analyzing CLMCHECK.cbl"));
    EXPECT_TRUE(contains(loops[0], "XCOMP:   Analyzing YREND.cbl"));
    EXPECT_TRUE(
        contains(loops[1], "XCOMP:  Testing CLMCHECK for new copybook data.--> Has NEW data"))
        << run.output;
    EXPECT_TRUE(contains(loops[1], "XCOMP:   Analyzing CLMCHECK.cbl"));
    // ... and now, knowing POL-PRIOR-END, finds CLM-DATE: the second loop changes POLREC.
    EXPECT_TRUE(contains(loops[1], "XCOMP:  DEFAULT changed by CLMCHECK")) << run.output;
    EXPECT_TRUE(contains(loops[1], "XCOMP:   Skipped since YREND.cbl is marked completed."));
}

struct ExpectedRun
{
    const char *field;
    const char *copybook;
    const char *qualifier;
    unsigned byte;
    std::set<std::string> tags; ///< the acceptable kinds; "" stands for no run at all
};

const std::set<std::string> year = {"always-year", "used-as-year"};
const std::set<std::string> notYear = {"", "always-non-year", "used-as-non-year"};

TEST_F(ToolchainRunTest, theTemporarySeedFileHoldsWhatTheProgramsTaughtEachOther)
{
    const ToolchainRun::ProcessResult run = convertSamples();
    ASSERT_EQ(run.status, 0) << run.output << run.errors;

    const std::string userSeed = readFile(seed);
    const std::string temporarySeed = readFile(output / "sample.asd");
    ASSERT_TRUE(temporarySeed.starts_with(userSeed)) << temporarySeed;
    ASSERT_GT(temporarySeed.size(), userSeed.size()) << "no blocks were generated";
    const SeedBlocks blocks = SeedBlocks::parse(temporarySeed.substr(userSeed.size()));

    // Byte positions inside each copybook's data, the first byte of the field's year digits.
    const std::vector<ExpectedRun> expected = {
        {"WS-TODAY (ACCEPT FROM DATE)", "DATEWS", "DEFAULT", 1, year},
        {"WS-JULIAN (ACCEPT FROM DAY)", "DATEWS", "DEFAULT", 7, year},
        {"WS-CENTURY, a century", "DATEWS", "DEFAULT", 16, notYear},
        {"EMP-BIRTH-YY, seeded", "EMPREC", "DEFAULT", 27, {"always-year"}},
        {"EMP-START", "EMPREC", "DEFAULT", 33, year},
        {"EMP-GRADE, seeded non-year", "EMPREC", "DEFAULT", 43, {"always-non-year"}},
        {"EMP-REVIEWED", "EMPREC", "DEFAULT", 50, {"used-as-year"}},
        {"EMP-DEPENDENTS, no evidence", "EMPREC", "DEFAULT", 55, notYear},
        {"EMP-HIST-GRADE", "EMPREC", "DEFAULT", 57, {"used-as-non-year"}},
        {"EMP-HIST-FROM", "EMPREC", "DEFAULT", 59, {"used-as-year"}},
        {"POL-NUMBER", "POLREC", "DEFAULT", 1, {""}},
        {"POL-START, taught by POLISSUE", "POLREC", "DEFAULT", 18, {"used-as-year"}},
        {"POL-TERM, seeded non-year", "POLREC", "DEFAULT", 24, {"always-non-year"}},
        {"POL-END, taught by POLISSUE", "POLREC", "DEFAULT", 26, {"used-as-year"}},
        {"POL-PRIOR-END, taught by POLRENEW", "POLREC", "DEFAULT", 32, {"used-as-year"}},
        {"POL-CLAIM-COUNT", "POLREC", "DEFAULT", 43, {"used-as-non-year"}},
        {"CLM-DATE, taught by CLMCHECK in loop 2", "POLREC", "DEFAULT", 48, {"used-as-year"}},
        {"LN-OPENED", "LOANREC", "DEFAULT", 15, year},
        {"LN-TERM-MONTHS, only divided", "LOANREC", "DEFAULT", 31, notYear},
        {"LN-MATURITY-CCYY, seeded", "LOANREC", "DEFAULT", 34, {"always-year"}},
        {"LN-PAYMENTS-MADE", "LOANREC", "DEFAULT", 38, {"used-as-non-year"}},
        {"LN-DUE", "LOANREC", "DEFAULT", 40, {"used-as-year"}},
        {"TAX-YEAR, seeded", "TAXTBL", "LIB=PAYLIB", 1, {"always-year"}},
        {"TAX-BRACKET-COUNT", "TAXTBL", "LIB=PAYLIB", 3, {"used-as-non-year"}},
    };
    for (const ExpectedRun &run : expected) {
        const std::string tag = blocks.kindAt(run.copybook, run.qualifier, run.byte).value_or("");
        EXPECT_TRUE(run.tags.contains(tag))
            << run.field << ": byte " << run.byte << " of " << run.copybook << " " << run.qualifier
            << " is \"" << tag
            << "\"; generated runs: " << blocks.describe(run.copybook, run.qualifier);
    }
    // The generated blocks come once per include, behind the user's own blocks.
    for (const auto &[copybook, qualifier] :
         std::vector<std::pair<std::string, std::string>>{{"DATEWS", "DEFAULT"},
                                                          {"EMPREC", "DEFAULT"},
                                                          {"POLREC", "DEFAULT"},
                                                          {"LOANREC", "DEFAULT"},
                                                          {"TAXTBL", "LIB=PAYLIB"}})
        EXPECT_EQ(blocks.blockCount(copybook, qualifier), 1) << copybook << " " << qualifier;
    EXPECT_EQ(blocks.blockCount("TAXTBL", "DEFAULT"), 0);
}

TEST_F(ToolchainRunTest, theConvertedSourcesCompileAndNothingOutsideTheOutputDirectoryChanges)
{
    const ToolchainRun::ProcessResult run = convertSamples({"--title", "Sample payroll"});
    const std::vector<std::string> paths = programs();
    ASSERT_EQ(run.status, 0) << run.output << run.errors;

    const std::vector<fs::path> converted = ToolchainRun::filesWithExtension(output, ".cvt");
    EXPECT_EQ(converted.size(), paths.size());
    for (const std::string &path : paths) {
        const std::string base = fs::path(path).stem().string();
        EXPECT_TRUE(fs::is_regular_file(output / (base + ".cvt"))) << base;
        EXPECT_TRUE(fs::is_regular_file(output / (base + ".crs"))) << base;
    }
    for (const fs::path &file : converted) {
        const ToolchainRun::ProcessResult check = ToolchainRun::run("cobc",
                                                                    {"-fsyntax-only",
                                                                     "-std=ibm",
                                                                     "-I" + sources.string(),
                                                                     file.string()},
                                                                    workingDirectory,
                                                                    captures);
        EXPECT_EQ(check.status, 0) << file << "\n" << check.output << check.errors;
    }

    EXPECT_GT(fs::file_size(output / "chxconv.log"), 0u);
    const std::string project = readFile(output / "y2k1.iwp");
    EXPECT_NE(project.find("+name=Sample payroll\n"), std::string::npos) << project;
    EXPECT_NE(project.find("+defaultDir=" + output.string() + "\n"), std::string::npos) << project;
    EXPECT_EQ(readFile(output / "y2k1.iwo"),
              readFile(dataDirectory / "templates" / "telamrdv.iwo"));

    expectUserFilesUntouched();
    std::set<std::string> topLevel;
    for (const fs::directory_entry &entry : fs::directory_iterator(root))
        topLevel.insert(entry.path().filename().string());
    EXPECT_EQ(topLevel,
              (std::set<std::string>{
                  "cache", "captures", "cobol sources", "cwd", "home", "seeds", "y2k ready"}));
    // The conversion options files live in the work directory only while vyquext runs.
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(cache))
        EXPECT_FALSE(entry.path().extension() == ".c3a" || entry.path().extension() == ".c4a")
            << entry.path();
}

TEST_F(ToolchainRunTest, aProjectTemplateNamesTheNewProject)
{
    // A copy of the template, because the new project is made beside it.
    const fs::path templates = root / "templates";
    ToolchainRun::copyTree(dataDirectory / "templates", templates);
    const auto templatesBefore = ToolchainRun::snapshot(templates);
    const std::vector<std::string> paths = programs();
    std::string settingsText = "Project Name:>   " + (templates / "PAYROLL.iwp").string()
                               + "\nCompile Options:>-c\nConvert these files:>\n";
    for (const std::string &path : paths)
        settingsText += "  " + path + "\n";
    const fs::path settings = root / "settings.txt";
    writeFile(settings, settingsText);

    const ToolchainRun::ProcessResult run = kelconv(
        {"--settings", settings.string(), "--seed", seed.string(), "--out", output.string()});
    EXPECT_EQ(run.status, 0) << run.output << run.errors;
    // The settings' compile options ("-c") reach the compile pass as they are.
    for (const std::string &path : paths)
        EXPECT_NE(run.output.find("Executed:  zmc2 -c -i" + fs::path(path).parent_path().string()
                                  + " -qANALYZE " + path + " ==> 0\n"),
                  std::string::npos)
            << path << "\n"
            << run.output;

    const fs::path project = templates / "yPAYROLL.iwp";
    EXPECT_TRUE(run.output.ends_with("Project:  " + project.string() + "\nDatabase:  "
                                     + (output / "chxanalysis.db").string() + "\n"))
        << run.output;
    const std::string text = readFile(project);
    const std::string directory = output.string();
    EXPECT_EQ(text,
              "-ProjectInfo\n+name=Year 2000 Conversion of PAYROLL\n+type=TELAMRDV.IWS\n"
              "-BuildInfo\n+target=PAYROLL.exe\n+runOptions=\n+makefile=PAYROLL.mak\n"
              "-LocationInfo\n+defaultDir="
                  + directory + "\n+dirs=" + directory
                  + "\n-ConfigInfo\n+filter=*.asd;*.cvt;*.cpy;*.crs;*.log;*.xca;*.xrl;\n"
                    "+view=icon\n+refresh=yes\n");
    EXPECT_EQ(readFile(templates / "yPAYROLL.iwo"), readFile(templates / "PAYROLL.iwo"));

    auto templatesAfter = ToolchainRun::snapshot(templates);
    templatesAfter.erase("yPAYROLL.iwp");
    templatesAfter.erase("yPAYROLL.iwo");
    EXPECT_EQ(templatesAfter, templatesBefore);
    expectUserFilesUntouched();
}

} // namespace
