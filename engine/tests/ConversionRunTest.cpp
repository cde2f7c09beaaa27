// Whole conversion runs over the stand-in tools: console lines, states, counters, the
// temporary seed file, the log, the options file and the project.

#include "CompilePass.h"
#include "ConversionRunFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <thread>

namespace {

using namespace ConversionRunFixture;

TEST_F(ConversionRunTest, programsSharingACopybookConvergeAndAProgramWithoutCopybooksRunsOnce)
{
    addProgram("PROGA", programInfo("PROGA", "DATES", "USED-AS-YEAR"));
    addProgram("PROGB", programInfo("PROGB", "DATES", "USED-AS-NON-YEAR"));
    addProgram("PROGC", programInfo("PROGC", "", ""));
    writeFile(work / "PROGA.c3a", "someone else's options\n");

    const std::string project = run();

    const std::string block = "<SEED> <INCLUDE> DATES Q\n"
                              "  <used-as-year-and-non-year> <index> 1 <length> 2\n"
                              "</SEED>\n\n";
    EXPECT_EQ(readFile(out / "user seed.asd"), "* the user's seed file\n" + block);
    EXPECT_EQ(readFile(seed), "* the user's seed file\n");
    // PROGA's second analysis saw what PROGB taught the table.
    EXPECT_EQ(readFile(data / "seed.PROGA.1"), "* the user's seed file\n");
    EXPECT_EQ(readFile(data / "seed.PROGA.2"), "* the user's seed file\n" + block);
    EXPECT_EQ(calls("kelmkpu", "PROGA"), 2);
    EXPECT_EQ(calls("kelmkpu", "PROGB"), 1);
    EXPECT_EQ(calls("kelmkpu", "PROGC"), 1);

    EXPECT_EQ(state(0), "0x81");
    EXPECT_EQ(state(1), "0x81");
    EXPECT_EQ(state(2), "0x81");
    EXPECT_EQ(counters(), "3/0 3/0 3/0 ");
    EXPECT_EQ(observer.states,
              (std::vector<std::string>{"PROGA 0x91", "PROGA 0x11", "PROGB 0x91", "PROGB 0x11",
                                        "PROGC 0x91", "PROGC 0x11", "PROGA 0x92", "PROGA 0x21",
                                        "PROGB 0x92", "PROGB 0x21", "PROGC 0x92", "PROGC 0x41",
                                        "PROGA 0x92", "PROGA 0x21", "PROGA 0x41", "PROGB 0x41",
                                        "PROGA 0x94", "PROGA 0x81", "PROGB 0x94", "PROGB 0x81",
                                        "PROGC 0x94", "PROGC 0x81"}));

    const std::string expectedConsole
        = executedZmc2("PROGA", 0) + executedZmc2("PROGB", 0) + executedZmc2("PROGC", 0)
          + "XCOMP:Loop 1\n"
            "XCOMP:   Analyzing PROGA.cbl\n"
          + executedKelmkpu("PROGA", 0)
          + "XCOMP:  PROGA is add CopyBook DATES\n"
            "XCOMP:  Adding new entry  Q\n"
            "XCOMP:  Q changed by PROGA\n"
            "\n"
            "XCOMP:  Table Changed.\n"
            "XCOMP:  Generating new seed file.\n"
            "XCOMP:  PROGA has 1 copybooks.\n"
            "XCOMP:   Analyzing PROGB.cbl\n"
          + executedKelmkpu("PROGB", 0)
          + "XCOMP:  PROGB is add CopyBook DATES\n"
            "XCOMP:  Entry already exists  Q\n"
            "XCOMP:  Q changed by PROGB\n"
            "\n"
            "XCOMP:  Table Changed.\n"
            "XCOMP:  Generating new seed file.\n"
            "XCOMP:  PROGB has 1 copybooks.\n"
            "XCOMP:   Analyzing PROGC.cbl\n"
          + executedKelmkpu("PROGC", 0)
          + "XCOMP:  PROGC has 0 copybooks.\n"
            "XCOMP:Loop 2\n"
            "XCOMP:  Testing PROGA for new copybook data.--> Has NEW data\n"
            "XCOMP:   Analyzing PROGA.cbl\n"
          + executedKelmkpu("PROGA", 0)
          + "XCOMP:  Entry already exists  Q\n"
            "XCOMP:  PROGA has 1 copybooks.\n"
            "XCOMP:  Testing PROGB for new copybook data.--> Nothing new\n"
            "XCOMP:   Skipped since PROGB.cbl nothing new to reanalyze.  May try again next pass.\n"
            "XCOMP:   Skipped since PROGC.cbl is marked completed.\n"
          + executedVyquext("PROGA", 0) + executedVyquext("PROGB", 0) + executedVyquext("PROGC", 0);
    EXPECT_EQ(console.str(), expectedConsole);

    // The findings of every converted program, in list order, and the reports moved out of the
    // source directory.
    EXPECT_EQ(readFile(out / "chxconv.log"),
              "findings of PROGA, analysis 2\nfindings of PROGB, analysis 1\n"
              "findings of PROGC, analysis 1\n");
    EXPECT_EQ(readFile(out / "PROGB.crs"), "report of PROGB\n");
    EXPECT_FALSE(fs::exists(sources / "PROGB.crs"));

    // The options file the aid saw, and the set-aside file given back afterwards.
    const std::string source = (sources / "PROGB.cbl").string();
    EXPECT_EQ(readFile(data / "options.PROGB"),
              "V2R2F1 QVF TRCAFile Options\nInput File\n" + source + "\n10\n\nOutput File\n"
                  + (out / "PROGB.cvt").string() + "\n" + out.string()
                  + "\n1\n3\n\nTPMX\n0\n0\n0\n0\n\n\nCHX\n1\n" + (out / "PROGB.xca").string()
                  + "\n\n\nGeneral\n1\n1\n1\n1\n1\n0\n1\n1\n1\n0\n\nFormat\n1\n100\n0\n74\n\n\n\n"
                    "CopyLibrary");
    EXPECT_FALSE(fs::exists(work / "PROGB.c3a"));
    EXPECT_EQ(readFile(work / "PROGA.c3a"), "someone else's options\n");
    EXPECT_FALSE(fs::exists(work / "PROGA.c4a"));

    EXPECT_EQ(project, (projects / "y2k1.iwp").string());
    EXPECT_EQ(observer.finishedCount, 1);
    EXPECT_EQ(observer.errorText, "");
    EXPECT_EQ(readFile(projects / "y2k1.iwo"), "options template\n");
}

TEST_F(ConversionRunTest, childrenRunInTheSourceDirectoryWithTheOutputDirectoryAndWholeArguments)
{
    addProgram("PROGA", programInfo("PROGA", "", ""));
    compileOptions = "-c   -qAnalyze -Wall";
    run();
    const std::string calls = readFile(data / "calls");
    const std::string source = (sources / "PROGA.cbl").string();
    EXPECT_NE(calls.find("zmc2 cwd=" + sources.string() + " out=" + out.string()
                         + " [-c] "
                           "[-qAnalyze] [-Wall] [-i"
                         + sources.string() + "] [" + source + "]\n"),
              std::string::npos)
        << calls;
    EXPECT_NE(calls.find("vyquext cwd=" + sources.string() + " out=" + out.string() + " [/h] ["
                         + source + "]\n"),
              std::string::npos)
        << calls;
    EXPECT_NE(console.str().find("Executed:  zmc2 -c   -qAnalyze -Wall -i" + sources.string() + " "
                                 + source + " ==> 0\n"),
              std::string::npos);
}

struct ResultCase
{
    const char *label;
    std::vector<std::pair<std::string, std::string>> environment;
    std::string state;
    std::string counters;
};

class ConversionRunResultTest : public ConversionRunTest,
                                public ::testing::WithParamInterface<ResultCase>
{};

TEST_P(ConversionRunResultTest, judgesTheToolResults)
{
    addProgram("PROGA", programInfo("PROGA", "DATES", "ALWAYS-YEAR"));
    for (const auto &[name, value] : GetParam().environment)
        environment.set(name, value);
    const std::string project = run();
    EXPECT_EQ(state(0), GetParam().state);
    EXPECT_EQ(counters(), GetParam().counters);
    EXPECT_EQ(observer.errorText, "");
    EXPECT_FALSE(project.empty());
    // Severe results keep the file out of the later passes.
    if (GetParam().state == "0x14" || GetParam().state == "0x18") {
        EXPECT_EQ(calls("kelmkpu", "PROGA"), 0);
    }
    if (GetParam().state == "0x44" || GetParam().state == "0x48") {
        EXPECT_EQ(calls("vyquext", "PROGA"), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Results,
    ConversionRunResultTest,
    ::testing::Values(
        ResultCase{"compileWarning", {{"STANDIN_RC_zmc2_PROGA", "4"}}, "0x81", "1/0 1/0 1/0 "},
        ResultCase{"compileError", {{"STANDIN_RC_zmc2_PROGA", "8"}}, "0x14", "0/1 0/0 0/0 "},
        ResultCase{"compileSevere", {{"STANDIN_RC_zmc2_PROGA", "12"}}, "0x18", "0/1 0/0 0/0 "},
        ResultCase{"compilerKilled", {{"STANDIN_SIGNAL_zmc2_PROGA", "1"}}, "0x18", "0/1 0/0 0/0 "},
        ResultCase{"analysisWarning", {{"STANDIN_RC_kelmkpu_PROGA", "4"}}, "0x81", "1/0 1/0 1/0 "},
        ResultCase{"analysisError", {{"STANDIN_RC_kelmkpu_PROGA", "8"}}, "0x44", "1/0 0/1 0/0 "},
        ResultCase{"analysisOddCode", {{"STANDIN_RC_kelmkpu_PROGA", "2"}}, "0x48", "1/0 0/1 0/0 "},
        ResultCase{"analysisSevere", {{"STANDIN_RC_kelmkpu_PROGA", "12"}}, "0x48", "1/0 0/1 0/0 "},
        ResultCase{"missingXca", {{"STANDIN_NOXCA_kelmkpu_PROGA", "1"}}, "0x48", "1/0 0/1 0/0 "},
        ResultCase{"unreadableXrl",
                   {{"STANDIN_XRLDIR_kelmkpu_PROGA", "1"}},
                   "0x48",
                   "1/0 0/1 0/0 "},
        ResultCase{"builderKilled",
                   {{"STANDIN_SIGNAL_kelmkpu_PROGA", "1"}},
                   "0x48",
                   "1/0 0/1 0/0 "},
        ResultCase{"conversionNotice", {{"STANDIN_RC_vyquext_PROGA", "8"}}, "0x82", "1/0 1/0 1/0 "},
        ResultCase{"conversionSevere", {{"STANDIN_RC_vyquext_PROGA", "9"}}, "0x88", "1/0 1/0 0/1 "},
        ResultCase{"aidKilled", {{"STANDIN_SIGNAL_vyquext_PROGA", "1"}}, "0x88", "1/0 1/0 0/1 "}),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(ConversionRunTest, aToolMissingFromThePathIsASevereResultWithItsMessage)
{
    addProgram("PROGA");
    environment.set("PATH", (root / "empty").string());
    const std::string project = run();
    EXPECT_EQ(console.str(),
              "Error:  Cannot find zmc2 in your path.\n" + executedZmc2("PROGA", 16)
                  + "XCOMP:Loop 1\n"
                    "XCOMP:   Skipped since PROGA.cbl has a severe error earlier.\n"
                    "XCOMP:   1\n");
    EXPECT_EQ(state(0), "0x18");
    EXPECT_EQ(counters(), "0/1 0/0 0/0 ");
    EXPECT_EQ(project, (projects / "y2k1.iwp").string());
}

TEST(CompilePassTest, startFailuresMapToTheirMessages)
{
    const std::string unknown = "Error:  An unknow error occurred in starting the process.";
    const std::string close = "Error:  Please close some applications.";
    const std::vector<std::pair<int, std::string>> cases
        = {{ENOENT, "Error:  Cannot find zmc2 in your path."},
           {EACCES, close},
           {ENOMEM, close},
           {EAGAIN, close},
           {E2BIG, close},
           {EPERM, unknown},
           {EIO, unknown}};
    for (const auto &[error, message] : cases)
        EXPECT_EQ(CompilePass::startFailureMessage(error), message) << error;
}

TEST_F(ConversionRunTest, anUnsetWorkDirectoryEndsTheRunWithTheFileStillRunning)
{
    addProgram("PROGA", programInfo("PROGA", "", ""));
    addProgram("PROGB", programInfo("PROGB", "", ""));
    settings.erase("Conversion & Structuring");
    const std::string project = run();
    EXPECT_TRUE(console.str().ends_with("Error:  Cannot find QVFWORK environment variable.\n"))
        << console.str();
    EXPECT_EQ(state(0), "0x94");
    EXPECT_EQ(state(1), "0x41");
    EXPECT_EQ(project, "");
    EXPECT_EQ(observer.errorText, "Cannot find QVFWORK environment variable.");
    EXPECT_EQ(calls("vyquext", "PROGA"), 0);
    EXPECT_FALSE(fs::exists(projects / "y2k1.iwp"));
}

TEST_F(ConversionRunTest, programsUndoingEachOthersKindsStopWhenTheSeedEntriesRepeat)
{
    // Always-year meets always-non-year as a conflict, and always-non-year replaces the conflict:
    // these two would re-analyse each other for ever.
    addProgram("PROGA", programInfo("PROGA", "DATES", "ALWAYS-YEAR"));
    addProgram("PROGB", programInfo("PROGB", "DATES", "ALWAYS-NON-YEAR"));

    EXPECT_NE(run(), "");

    EXPECT_EQ(calls("kelmkpu", "PROGA"), 2);
    EXPECT_EQ(calls("kelmkpu", "PROGB"), 2);
    EXPECT_EQ(state(0), "0x81");
    EXPECT_EQ(state(1), "0x81");
    EXPECT_EQ(counters(), "2/0 2/0 2/0 ");
    const std::string temp = (out / "user seed.asd").string();
    EXPECT_NE(console.str().find(
                  "XCOMP:  PROGB has 1 copybooks.\n"
                  "Error:  The analysis passes do not settle: pass 2 left the same seed entries as "
                  "an earlier pass.\n"
                  "        The analysis stops here; the conflicting kinds stay in "
                  + temp + ".\n"),
              std::string::npos)
        << console.str();
    EXPECT_EQ(console.str().find("XCOMP:Loop 3"), std::string::npos);
    EXPECT_EQ(readFile(out / "user seed.asd"),
              "* the user's seed file\n<SEED> <INCLUDE> DATES Q\n"
              "  <always-year-and-non-year> <index> 1 <length> 2\n</SEED>\n\n");
}

TEST_F(ConversionRunTest, anOptionsFileIsNotSetAsideOverAnEarlierSetAsideOne)
{
    addProgram("PROGA", programInfo("PROGA", "", ""));
    writeFile(work / "PROGA.c3a", "current options\n");
    writeFile(work / "PROGA.c4a", "options set aside earlier\n");

    EXPECT_EQ(run(), "");

    const std::string text = "The conversion options file " + (work / "PROGA.c3a").string()
                             + " cannot be set aside: " + (work / "PROGA.c4a").string()
                             + " exists already. Move one of them away.";
    EXPECT_EQ(observer.errorText, text);
    EXPECT_NE(console.str().find("Error:  " + text + "\n"), std::string::npos) << console.str();
    EXPECT_EQ(readFile(work / "PROGA.c3a"), "current options\n");
    EXPECT_EQ(readFile(work / "PROGA.c4a"), "options set aside earlier\n");
    EXPECT_EQ(calls("vyquext", "PROGA"), 0);
    EXPECT_EQ(state(0), "0x94");
}

TEST_F(ConversionRunTest, anUnknownKindEndsTheRunWithTheFileStillRunning)
{
    addProgram("PROGA", programInfo("PROGA", "DATES", "used-as-year"));
    run();
    EXPECT_EQ(state(0), "0x92");
    EXPECT_EQ(observer.errorText, "Kind did not parse correctly");
    EXPECT_EQ(observer.projectPath, "");
}

TEST_F(ConversionRunTest, aMissingSeedFileEndsTheRunBeforeAnyAnalysis)
{
    addProgram("PROGA", programInfo("PROGA", "", ""));
    fs::remove(seed);
    run();
    const std::string text = "Cannot copy seed file " + seed.string() + " to "
                             + (out / "user seed.asd").string();
    EXPECT_TRUE(console.str().ends_with("Error: " + text + "\n")) << console.str();
    EXPECT_EQ(observer.errorText, text);
    EXPECT_EQ(state(0), "0x11");
    EXPECT_EQ(calls("kelmkpu", "PROGA"), 0);
}

TEST_F(ConversionRunTest, aSeedFileThatIsTheTemporaryOneIsNeverOverwritten)
{
    addProgram("PROGA", programInfo("PROGA", "DATES", "ALWAYS-YEAR"));
    const fs::path inOutput = out / "user seed.asd";
    writeFile(inOutput, "* precious\n");
    fs::copy_file(inOutput, seed, fs::copy_options::overwrite_existing);
    fs::remove(seed);
    fs::create_symlink(inOutput, seed);
    run();
    EXPECT_EQ(readFile(inOutput), "* precious\n");
    EXPECT_NE(observer.errorText.find("lies where the conversion writes the temporary seed file"),
              std::string::npos)
        << observer.errorText;
    EXPECT_EQ(calls("zmc2", "PROGA"), 0);
}

struct CancelCase
{
    const char *label;
    const char *tool;
    std::string runningState;
};

class ConversionRunCancelTest : public ConversionRunTest,
                                public ::testing::WithParamInterface<CancelCase>
{};

TEST_P(ConversionRunCancelTest, cancelKillsTheRunningChildAndStopsTheRun)
{
    addProgram("PROGA", programInfo("PROGA", "", ""));
    addProgram("PROGB", programInfo("PROGB", "", ""));
    writeFile(work / "PROGA.c3a", "someone else's options\n");
    environment.set(std::string("STANDIN_HANG_") + GetParam().tool + "_PROGA", "1");

    std::thread engine([this] { run(); });
    const fs::path marker = data / (std::string("running.") + GetParam().tool + ".PROGA");
    // The child may be running before the engine has stored its id.
    while (!fs::exists(marker) || control.processId() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const pid_t child = control.processId();
    control.cancel();
    engine.join();

    EXPECT_EQ(state(0), GetParam().runningState);
    EXPECT_EQ(calls(GetParam().tool, "PROGB"), 0);
    EXPECT_EQ(control.processId(), 0);
    EXPECT_EQ(observer.finishedCount, 1);
    EXPECT_EQ(observer.projectPath, "");
    EXPECT_EQ(observer.errorText, "");
    EXPECT_FALSE(fs::exists(projects / "y2k1.iwp"));
    // The killed child has been waited for: no such process is left. The helper it started
    // went with it (gone, or a zombie waiting for its new parent).
    EXPECT_NE(::kill(child, 0), 0);
    const std::string helper = readFile(data
                                        / (std::string("helper.") + GetParam().tool + ".PROGA"));
    ASSERT_FALSE(helper.empty());
    EXPECT_TRUE(processEnds(std::stoi(helper)));
    // The options file of a cancelled conversion is cleaned up all the same.
    EXPECT_EQ(readFile(work / "PROGA.c3a"), "someone else's options\n");
    EXPECT_TRUE(console.str().ends_with(" ==> 16\n")) << console.str();
}

INSTANTIATE_TEST_SUITE_P(Cancel,
                         ConversionRunCancelTest,
                         ::testing::Values(CancelCase{"compile", "zmc2", "0x91"},
                                           CancelCase{"analysis", "kelmkpu", "0x92"},
                                           CancelCase{"conversion", "vyquext", "0x94"}),
                         [](const auto &info) { return std::string(info.param.label); });

TEST_F(ConversionRunTest, aRunCancelledBeforeItStartsRunsNothing)
{
    addProgram("PROGA");
    control.cancel();
    EXPECT_EQ(run(), "");
    EXPECT_EQ(console.str(), "");
    EXPECT_EQ(state(0), "0x00");
}

} // namespace
