// kelconv as a user runs it: a real process over the stand-in tools, a settings file of the
// test's own, exit statuses and the summary on standard output.

#include "KelconvFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace {

using namespace KelconvFixture;

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
        {{"-j", "0", source}, "kelconv: option -j needs a whole number from 1 to 64, found '0'.\n"},
        {{"--jobs=65", source},
         "kelconv: option -j needs a whole number from 1 to 64, found '65'.\n"},
        {{"-jfour", source},
         "kelconv: option -j needs a whole number from 1 to 64, found 'four'.\n"},
        {{source, "-j"}, "kelconv: option -j needs a value.\n"},
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
    EXPECT_TRUE(output.starts_with("Usage: kelconv [-j N] [--seed FILE]")) << output;
    EXPECT_NE(output.find("  -j N, --jobs N   run up to N tools at once"), std::string::npos);
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
    const pid_t pid = start({"-j", "1", a, b});
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

TEST_F(KelconvTest, anInterruptEndsEveryToolThatRuns)
{
    const std::vector<std::string> programs = {addProgram("PROGA"),
                                               addProgram("PROGB"),
                                               addProgram("PROGC")};
    for (const char *base : {"PROGA", "PROGB", "PROGC"})
        environment.set(std::string("STANDIN_HANG_zmc2_") + base, "1");
    const pid_t pid = start({"--jobs", "3", programs[0], programs[1], programs[2]});
    for (const char *base : {"PROGA", "PROGB", "PROGC"}) {
        while (!fs::exists(data / (std::string("running.zmc2.") + base)))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGINT);
    EXPECT_EQ(finish(pid), 2);
    // Every driver was killed and reported; each file keeps its running state.
    for (const std::string &program : programs) {
        EXPECT_NE(output.find("-qANALYZE " + program + " ==> 16\n"), std::string::npos) << output;
        EXPECT_NE(output.find("File:  0x91  " + program + "\n"), std::string::npos) << output;
    }
    EXPECT_TRUE(output.ends_with("Counters:  compile 0/0  analysis 0/0  conversion 0/0\n"
                                 "Project:  (none)\nDatabase:  (none)\n"))
        << output;
    EXPECT_EQ(errors, "kelconv: the run was cancelled.\n");
    // The tools' own helpers went with them: nothing of the run is left running.
    for (const char *base : {"PROGA", "PROGB", "PROGC"}) {
        const std::string helper = readFile(data / (std::string("helper.zmc2.") + base));
        ASSERT_FALSE(helper.empty()) << base;
        EXPECT_TRUE(processEnds(std::stoi(helper))) << base;
    }
}

} // namespace
