// What a run leaves behind and reports for each file: the tools' output kept per file and in
// the log, results of earlier runs never taken for this run's, and every write checked.

#include "ConversionRunFixture.h"
#include "FileSizeLimit.h"

#include <gtest/gtest.h>

namespace {

using namespace ConversionRunFixture;

class ConversionRunResultsTest : public ConversionRunTest
{
protected:
    std::string path(const std::string &base) const { return (sources / (base + ".cbl")).string(); }
};

TEST_F(ConversionRunResultsTest, theToolsOutputIsKeptPerFileInTheLogAndOnTheConsole)
{
    addProgram("PROGA", programInfo("PROGA", "", ""));
    addProgram("PROGB", programInfo("PROGB", "", ""));
    environment.set("STANDIN_SAY_zmc2_PROGA", "PROGA.cbl:3: error: PERFORM without END");
    environment.set("STANDIN_RC_zmc2_PROGA", "8");
    environment.set("STANDIN_SAY_vyquext_PROGB", "2 date fields windowed");
    run();

    const std::string compiled = "PROGA.cbl:3: error: PERFORM without END\n"
                                 "warning: PROGA.cbl:3: error: PERFORM without END\n"
                                 + executedZmc2("PROGA", 8);
    EXPECT_TRUE(console.str().starts_with(compiled)) << console.str();
    EXPECT_EQ(files[0]->toolOutput(), compiled);
    EXPECT_EQ(files[0]->latestMessage(), "PROGA.cbl:3: error: PERFORM without END");
    EXPECT_EQ(readFile(out / "PROGA.xlg"), compiled);

    const std::string converted = "2 date fields windowed\nwarning: 2 date fields windowed\n"
                                  + executedVyquext("PROGB", 0);
    EXPECT_EQ(files[1]->latestMessage(), "2 date fields windowed");
    EXPECT_TRUE(readFile(out / "PROGB.xlg").ends_with(converted));
    // The log: the failed file's output in its place in the list, then the converted file's
    // findings and what its tools said.
    EXPECT_EQ(readFile(out / "chxconv.log"),
              "Tool output for " + path("PROGA") + " (state 0x14):\n" + compiled
                  + "findings of PROGB, analysis 1\n" + "Tool output for " + path("PROGB")
                  + " (state 0x81):\n" + readFile(out / "PROGB.xlg"));
}

TEST_F(ConversionRunResultsTest, resultsOfAnEarlierRunNeverPassForThisRunsOnes)
{
    addProgram("PROGA", programInfo("PROGA", "", ""));
    addProgram("PROGB", programInfo("PROGB", "", ""));
    addProgram("PROGC", programInfo("PROGC", "", ""));
    run();
    ASSERT_EQ(state(0), "0x81");
    ASSERT_TRUE(fs::exists(out / "PROGB.xca"));

    // Now PROGA fails to compile, the builder writes nothing for PROGB, and the aid nothing for
    // PROGC: none of them may keep or use what the first run left.
    environment.set("STANDIN_RC_zmc2_PROGA", "12");
    environment.set("STANDIN_NOOUTPUT_kelmkpu_PROGB", "1");
    environment.set("STANDIN_NOOUTPUT_vyquext_PROGC", "1");
    console.str("");
    run();
    EXPECT_EQ(state(0), "0x18");
    EXPECT_EQ(state(1), "0x48");
    EXPECT_EQ(state(2), "0x88");
    for (const char *extension : {".xca", ".xrl", ".cvt", ".crs"})
        EXPECT_FALSE(fs::exists(out / (std::string("PROGA") + extension))) << extension;
    EXPECT_FALSE(fs::exists(out / "PROGB.xca"));
    EXPECT_FALSE(fs::exists(out / "PROGB.cvt"));
    EXPECT_FALSE(fs::exists(out / "PROGC.cvt"));
    EXPECT_FALSE(fs::exists(out / "PROGC.crs"));
    EXPECT_EQ(readFile(out / "PROGA.xlg"), executedZmc2("PROGA", 12));
    const std::string builderLine = "Error:  The program-unit builder wrote no findings "
                                    + (out / "PROGB.xca").string() + ".\n";
    EXPECT_NE(console.str().find(executedKelmkpu("PROGB", 0) + builderLine), std::string::npos)
        << console.str();
    EXPECT_EQ(files[1]->latestMessage(),
              "The program-unit builder wrote no findings " + (out / "PROGB.xca").string() + ".");
    EXPECT_NE(console.str().find(executedVyquext("PROGC", 0)
                                 + "Error:  The conversion aid wrote no converted source "
                                 + (out / "PROGC.cvt").string() + ".\n"),
              std::string::npos);
}

TEST_F(ConversionRunResultsTest, aResultThatCannotBeRemovedFailsTheFileNamingIt)
{
    addProgram("PROGA", programInfo("PROGA", "", ""));
    fs::create_directories(out / "PROGA.cvt" / "inside");
    run();
    EXPECT_EQ(state(0), "0x18");
    EXPECT_EQ(counters(), "0/1 0/0 0/0 ");
    EXPECT_EQ(calls("zmc2", "PROGA"), 0);
    EXPECT_TRUE(console.str().starts_with("Error:  The result " + (out / "PROGA.cvt").string()
                                          + " of an earlier run cannot be removed: "))
        << console.str();
}

TEST_F(ConversionRunResultsTest, aSourceInTheOutputDirectoryKeepsItsReportThere)
{
    writeFile(data / "PROGA.xrl", programInfo("PROGA", "", ""));
    addSource(out / "PROGA.cbl");
    run();
    EXPECT_EQ(state(0), "0x81");
    EXPECT_EQ(readFile(out / "PROGA.crs"), "report of PROGA\n");
}

TEST_F(ConversionRunResultsTest, aFullDiskFailsTheFilesWhoseResultsCannotBeWritten)
{
    addProgram("PROGA", programInfo("PROGA", "", ""));
    addProgram("PROGB", programInfo("PROGB", "", ""));
    addProgram("PROGC", programInfo("PROGC", "", ""));
    // The tools write more than the limit; the run's own copies of it must fail.
    environment.set("STANDIN_BIG_kelmkpu_PROGA", "100000");
    environment.set("STANDIN_BIG_vyquext_PROGB", "100000");
    {
        const FileSizeLimit limit(32 * 1024);
        run();
    }
    EXPECT_EQ(state(0), "0x88");
    EXPECT_EQ(state(1), "0x88");
    EXPECT_EQ(state(2), "0x81");
    EXPECT_EQ(counters(), "3/0 3/0 1/2 ");
    const std::string log = (out / "chxconv.log").string();
    EXPECT_NE(console.str().find("Error:  The conversion log " + log
                                 + " cannot be written: File too large.\n"),
              std::string::npos)
        << console.str();
    EXPECT_EQ(files[0]->latestMessage(),
              "The conversion log " + log + " cannot be written: File too large.");
    EXPECT_EQ(files[1]->latestMessage(),
              "The file " + (out / "PROGB.crs").string() + " cannot be written: File too large.");
    // No short copy is left to look like a result, and the aid's report stays where it was.
    EXPECT_FALSE(fs::exists(out / "PROGB.crs"));
    EXPECT_EQ(fs::file_size(sources / "PROGB.crs"), 100000u);
    EXPECT_EQ(readFile(out / "PROGC.crs"), "report of PROGC\n");
    EXPECT_NE(readFile(out / "chxconv.log").find("findings of PROGC"), std::string::npos);
}

} // namespace
