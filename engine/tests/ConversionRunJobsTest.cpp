// Whole conversion runs over the stand-in tools with several tools at once: a cancel ends every
// running child with whatever it started, and tools that fail while others run fail their own
// files only, leaving the results of one tool at a time.

#include "ConversionRunFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace {

using namespace ConversionRunFixture;

struct JobsCancelCase
{
    const char *label;
    const char *tool;
    /// The states PROGA, PROGB and PROGC keep.
    std::vector<std::string> states;
};

class ConversionRunJobsCancelTest : public ConversionRunTest,
                                    public ::testing::WithParamInterface<JobsCancelCase>
{};

TEST_P(ConversionRunJobsCancelTest, aCancelEndsEveryRunningToolAndWhatItStarted)
{
    jobs = 3;
    const std::vector<std::string> bases = {"PROGA", "PROGB", "PROGC"};
    for (const std::string &base : bases) {
        addProgram(base, programInfo(base, "", ""));
        environment.set(std::string("STANDIN_HANG_") + GetParam().tool + "_" + base, "1");
        // Killed while it writes: its temporary result (and the aid's report) half done.
        environment.set(std::string("STANDIN_PARTIAL_") + GetParam().tool + "_" + base, "1");
    }
    writeFile(work / "PROGB.c3a", "someone else's options\n");

    std::thread engine([this] { run(); });
    // The analysis pass starts PROGB and PROGC ahead of their turns: all three run at once.
    const auto allRunning = [&] {
        for (const std::string &base : bases) {
            if (!fs::exists(data / (std::string("running.") + GetParam().tool + "." + base)))
                return false;
        }
        return control.runningChildren().size() == bases.size();
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!allRunning() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!allRunning()) {
        control.cancel();
        engine.join();
        FAIL() << "the three tools never ran at once:\n" << console.str();
    }
    const std::vector<pid_t> children = control.runningChildren();
    control.cancel();
    engine.join();

    for (std::size_t i = 0; i < bases.size(); ++i)
        EXPECT_EQ(state(i), GetParam().states[i]) << bases[i];
    EXPECT_TRUE(control.runningChildren().empty());
    for (const pid_t child : children)
        EXPECT_NE(::kill(child, 0), 0) << "child " << child << " is left";
    for (const std::string &base : bases) {
        const std::string helper = readFile(
            data / (std::string("helper.") + GetParam().tool + "." + base));
        ASSERT_FALSE(helper.empty()) << base;
        EXPECT_TRUE(processEnds(std::stoi(helper))) << base;
    }
    // Each killed tool was reported whole.
    std::size_t killed = 0;
    for (std::size_t at = console.str().find(" ==> 16\n"); at != std::string::npos;
         at = console.str().find(" ==> 16\n", at + 1))
        ++killed;
    EXPECT_EQ(killed, bases.size()) << console.str();
    EXPECT_EQ(observer.errorText, "");
    EXPECT_EQ(observer.projectPath, "");
    EXPECT_FALSE(fs::exists(projects / "y2k1.iwp"));
    // Nothing half written is left: the killed tools' temporary files and reports are gone.
    for (const fs::path &directory : {out, sources}) {
        for (const fs::directory_entry &entry : fs::directory_iterator(directory)) {
            const std::string name = entry.path().filename().string();
            EXPECT_FALSE(name.ends_with(".Ab12Cd") || name.ends_with(".crs"))
                << entry.path() << " is left";
        }
    }
    // The options files of the cancelled conversions are gone, a set-aside one is back.
    EXPECT_EQ(readFile(work / "PROGB.c3a"), "someone else's options\n");
    EXPECT_FALSE(fs::exists(work / "PROGA.c3a"));
    EXPECT_FALSE(fs::exists(work / "PROGB.c4a"));
}

INSTANTIATE_TEST_SUITE_P(
    Cancel,
    ConversionRunJobsCancelTest,
    ::testing::Values(JobsCancelCase{"compile", "zmc2", {"0x91", "0x91", "0x91"}},
                      // Only PROGA has had its turn; the runs for the others were ahead of it.
                      JobsCancelCase{"analysis", "kelmkpu", {"0x92", "0x11", "0x11"}},
                      JobsCancelCase{"conversion", "vyquext", {"0x94", "0x94", "0x94"}}),
    [](const auto &info) { return std::string(info.param.label); });

class ConversionRunJobsTest : public ConversionRunTest,
                              public ::testing::WithParamInterface<std::size_t>
{};

TEST_P(ConversionRunJobsTest, toolsThatFailAmongOthersFailTheirOwnFilesOnly)
{
    jobs = GetParam();
    addProgram("PROGA", programInfo("PROGA", "DATES", "USED-AS-YEAR"));
    addProgram("PROGB", programInfo("PROGB", "DATES", "USED-AS-YEAR"));
    addProgram("PROGC", programInfo("PROGC", "DATES", "USED-AS-NON-YEAR"));
    addProgram("PROGD", programInfo("PROGD", "DATES", "USED-AS-NON-YEAR"));
    addProgram("PROGE", programInfo("PROGE", "DATES", "USED-AS-YEAR"));
    addProgram("PROGF", programInfo("PROGF", "", ""));
    // In the middle of each pass, one tool fails while the others run on.
    environment.set("STANDIN_RC_zmc2_PROGB", "12");
    environment.set("STANDIN_SIGNAL_kelmkpu_PROGD", "1");
    environment.set("STANDIN_RC_vyquext_PROGE", "12");

    EXPECT_EQ(run(), (projects / "y2k1.iwp").string());

    const std::vector<std::string> states = {"0x81", "0x18", "0x81", "0x48", "0x88", "0x81"};
    for (std::size_t i = 0; i < states.size(); ++i)
        EXPECT_EQ(state(i), states[i]) << files[i]->fullPath();
    EXPECT_EQ(counters(), "5/1 4/1 3/1 ");
    EXPECT_EQ(readFile(out / "user seed.asd"),
              "* the user's seed file\n<SEED> <INCLUDE> DATES Q\n"
              "  <used-as-year-and-non-year> <index> 1 <length> 2\n</SEED>\n\n");
    EXPECT_NE(readFile(out / "PROGD.xlg").find(executedKelmkpu("PROGD", 16)), std::string::npos);
    EXPECT_NE(console.str().find(executedVyquext("PROGE", 12)), std::string::npos);
    // The log takes the files in list order, whatever order their tools ended in.
    const std::string log = readFile(out / "chxconv.log");
    const std::size_t b = log.find("Tool output for " + files[1]->fullPath());
    const std::size_t d = log.find("Tool output for " + files[3]->fullPath());
    const std::size_t e = log.find("Tool output for " + files[4]->fullPath());
    EXPECT_TRUE(b < d && d < e && e != std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Jobs, ConversionRunJobsTest, ::testing::Values(1u, 4u));

} // namespace
