#include "CommandLine.h"

#include <gtest/gtest.h>

using kelmkpu::CommandLine;

TEST(CommandLine, acceptsTheEngineFormsAndTheSeedOnlySwitch)
{
    struct Case
    {
        const char *label;
        std::vector<std::string> arguments;
        std::string adt, seed, out;
        bool seedOnly;
    };
    for (const Case &c : std::vector<Case>{
             {"separate words",
              {"/o/P.adt", "/r", "/o/s.asd", "/m-", "/c", "/u+", "/d", "/o"},
              "/o/P.adt",
              "/o/s.asd",
              "/o",
              false},
             {"options in one argument",
              {"/o/P.adt", "/r /o/s.asd /m- /c /u+ /d /o"},
              "/o/P.adt",
              "/o/s.asd",
              "/o",
              false},
             {"blanks inside paths of one argument",
              {"/my out/P.adt", "/r /my out/my seed.asd /m- /c /u+ /d /my out"},
              "/my out/P.adt",
              "/my out/my seed.asd",
              "/my out",
              false},
             {"seed-only, any case, dash switches",
              {"P.adt", "-R", "s.asd", "/D", "out", "/S"},
              "P.adt",
              "s.asd",
              "out",
              true},
             {"no seed file", {"P.adt", "/d", "out"}, "P.adt", "", "out", false},
         }) {
        CommandLine commandLine;
        std::string error;
        ASSERT_TRUE(commandLine.parse(c.arguments, error)) << c.label << ": " << error;
        EXPECT_EQ(commandLine.adtPath, c.adt) << c.label;
        EXPECT_EQ(commandLine.seedPath, c.seed) << c.label;
        EXPECT_EQ(commandLine.outputDirectory, c.out) << c.label;
        EXPECT_EQ(commandLine.seedOnly, c.seedOnly) << c.label;
        EXPECT_TRUE(commandLine.recordUnit) << c.label;
    }
}

TEST(CommandLine, rejectsUnusableArgumentsWithAReason)
{
    struct Case
    {
        const char *label;
        std::vector<std::string> arguments;
        std::string error;
    };
    for (const Case &c : std::vector<Case>{
             {"nothing", {}, "no analysis data file given"},
             {"no output directory",
              {"P.adt", "/r", "s.asd"},
              "no output directory given (/d <directory>)"},
             {"missing value",
              {"P.adt", "/d"},
              "switch /d needs a directory after it, found nothing"},
             {"switch as value",
              {"P.adt", "/r", "/d", "out"},
              "switch /r needs a seed file after it, found \"/d\""},
             {"unknown switch", {"P.adt", "/q", "/d", "out"}, "unknown switch /q"},
             {"two data files",
              {"P.adt", "Q.adt", "/d", "out"},
              "unexpected argument \"Q.adt\" after the analysis data file P.adt"},
         }) {
        CommandLine commandLine;
        std::string error;
        EXPECT_FALSE(commandLine.parse(c.arguments, error)) << c.label;
        EXPECT_EQ(error, c.error) << c.label;
    }
}

TEST(CommandLine, noRecordSwitchLeavesTheUnitOut)
{
    CommandLine commandLine;
    std::string error;
    ASSERT_TRUE(commandLine.parse({"P.adt", "/r s.asd /m- /c /u+ /d out /N"}, error)) << error;
    EXPECT_FALSE(commandLine.recordUnit);
    EXPECT_EQ(commandLine.outputDirectory, "out");
}
