// kelconv run as a user runs it while things go wrong: tools that exit 0 without writing, a full
// disk, inputs named like the run's own files, hostile titles and names, FIFOs where files are
// expected, a project name that is a directory, and signals. Over the engine's stand-in tools.

#include "FileSizeLimit.h"
#include "KelconvFixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace KelconvFixture;

class FaultInjectionTest : public KelconvTest
{
protected:
    const fs::path out = root / "out";

    /// The summary line of `source`, e.g. "File:  0x81  /x/A.cbl".
    std::string summaryOf(const std::string &source) const
    {
        const std::size_t end = output.find("  " + source + "\n");
        const std::size_t start = output.rfind("File:  ", end);
        return end == std::string::npos || start == std::string::npos
                   ? std::string()
                   : output.substr(start, end + 2 + source.size() - start);
    }
};

TEST_F(FaultInjectionTest, aToolThatExitsZeroWithoutWritingFailsItsFile)
{
    const std::string a = addProgram("PROGA");
    const std::string b = addProgram("PROGB");
    const std::string c = addProgram("PROGC");
    ASSERT_EQ(kelconv({"--out", out.string(), a, b, c}), 0) << errors;

    // The second run: each tool writes nothing for one program, exiting 0 all the same. The
    // results of the first run must neither stay nor count.
    environment.set("STANDIN_NOOUTPUT_zmc2_PROGA", "1");
    environment.set("STANDIN_NOOUTPUT_kelmkpu_PROGB", "1");
    environment.set("STANDIN_NOOUTPUT_vyquext_PROGC", "1");
    EXPECT_EQ(kelconv({"--out", out.string(), a, b, c}), 1) << errors;
    EXPECT_EQ(summaryOf(a), "File:  0x18  " + a);
    EXPECT_EQ(summaryOf(b), "File:  0x48  " + b);
    EXPECT_EQ(summaryOf(c), "File:  0x88  " + c);
    for (const std::string extension : {".adt", ".xca", ".xrl", ".cvt", ".crs"})
        EXPECT_FALSE(fs::exists(out / ("PROGA" + extension))) << extension;
    EXPECT_FALSE(fs::exists(out / "PROGB.xca"));
    EXPECT_FALSE(fs::exists(out / "PROGC.cvt"));
    EXPECT_NE(output.find("Error:  The compiler driver wrote no analysis data "
                          + (out / "PROGA.adt").string() + ".\n"),
              std::string::npos)
        << output;
    EXPECT_NE(readFile(out / "chxconv.log").find("Tool output for " + a + " (state 0x18):\n"),
              std::string::npos);
}

TEST_F(FaultInjectionTest, aFileSizeLimitIsAFullDiskThatFailsTheFilesItHits)
{
    if (std::system("sh -c 'ulimit -S -f 64' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no file-size limit can be set here";
    const std::string a = addProgram("PROGA");
    const std::string b = addProgram("PROGB");
    const std::string c = addProgram("PROGC");
    // 64 blocks of 512 bytes; the tools write results above it (lifting their own limit), so
    // kelconv's copies of them hit the limit.
    shellPrefix = "ulimit -S -f 64 && ";
    environment.set("STANDIN_BIG_kelmkpu_PROGA", "100000");
    environment.set("STANDIN_BIG_vyquext_PROGB", "100000");
    EXPECT_EQ(kelconv({"--out", out.string(), a, b, c}), 1) << errors;
    EXPECT_EQ(signal, 0) << "SIGXFSZ must not end kelconv";
    EXPECT_EQ(summaryOf(a), "File:  0x88  " + a);
    EXPECT_EQ(summaryOf(b), "File:  0x88  " + b);
    EXPECT_EQ(summaryOf(c), "File:  0x81  " + c);
    EXPECT_NE(output.find("Error:  The conversion log " + (out / "chxconv.log").string()
                          + " cannot be written: File too large.\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("Error:  The file " + (out / "PROGB.crs").string()
                          + " cannot be written: File too large.\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(out / "PROGB.crs")) << "no short copy may pass for a report";
    EXPECT_NE(readFile(out / "chxconv.log").find("findings of PROGC"), std::string::npos);
}

TEST_F(FaultInjectionTest, aFullOutputFileSystemIsReportedAndNothingPassesAsConverted)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a small file system needs the superuser";
    fs::create_directories(out);
    if (::mount("tmpfs", out.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here: " << std::strerror(errno);
    struct Unmount
    {
        fs::path path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{out};

    const std::string a = addProgram("PROGA");
    const std::string b = addProgram("PROGB");
    // The findings of PROGA fill the file system; whatever is written after that fails.
    environment.set("STANDIN_BIG_kelmkpu_PROGA", "200000");
    EXPECT_EQ(kelconv({"--out", out.string(), a, b}), 1) << errors;
    EXPECT_NE(output.find("No space left on device"), std::string::npos) << output;
    EXPECT_EQ(output.find("File:  0x81"), std::string::npos) << output;
    EXPECT_EQ(output.find("File:  0x82"), std::string::npos) << output;
    // The reports are kelconv's copies: none may be left short. (What the tools themselves
    // wrote is theirs to judge: the stand-ins do not check their writes.)
    for (const char *name : {"PROGA.crs", "PROGB.crs"}) {
        if (fs::exists(out / name)) {
            EXPECT_GT(fs::file_size(out / name), 0u) << name;
        }
    }
}

TEST_F(FaultInjectionTest, inputsNamedLikeTheRunsOwnFilesAreRefusedAndKept)
{
    const std::string a = addProgram("PROGA");
    fs::create_directories(out);
    for (const std::string name : {"chxconv.log", "P.xca", "Q.cvt"}) {
        writeFile(out / name, "precious\n");
        EXPECT_EQ(kelconv({"--out", out.string(), a, (out / name).string()}), 64) << name;
        EXPECT_TRUE(errors.starts_with("kelconv: The source " + (out / name).string()
                                       + " lies where the conversion writes "))
            << errors;
        EXPECT_EQ(readFile(out / name), "precious\n");
    }
    writeFile(out / "PROGA.xrl", "* a seed file in the wrong place\n");
    EXPECT_EQ(kelconv({"--out", out.string(), "--seed", (out / "PROGA.xrl").string(), a}), 64);
    EXPECT_EQ(readFile(out / "PROGA.xrl"), "* a seed file in the wrong place\n");
    EXPECT_FALSE(fs::exists(data / "calls"));
}

TEST_F(FaultInjectionTest, sourcesWithOneBaseNameAreRefusedNamingBoth)
{
    const fs::path first = sources / "a" / "PAY.cbl";
    const fs::path second = sources / "b" / "PAY.scb";
    writeFile(first, "       IDENTIFICATION DIVISION.\n");
    writeFile(second, "       IDENTIFICATION DIVISION.\n");
    EXPECT_EQ(kelconv({first.string(), second.string()}), 64);
    EXPECT_TRUE(errors.starts_with("kelconv: The sources " + first.string() + " and "
                                   + second.string() + " have the same base name PAY: "))
        << errors;
    EXPECT_FALSE(fs::exists(root / "y2kready"));
}

TEST_F(FaultInjectionTest, hostileTitlesAndNamesNeverReachTheProjectOrOptionsFiles)
{
    const std::string a = addProgram("PROGA");
    EXPECT_EQ(kelconv({"--title", "T\n+dirs=/etc", a}), 64);
    EXPECT_TRUE(errors.starts_with("kelconv: The conversion title holds a control character"))
        << errors;
    const fs::path hostile = sources / "EVIL\n+dirs=.cbl";
    writeFile(hostile, "       IDENTIFICATION DIVISION.\n");
    EXPECT_EQ(kelconv({hostile.string()}), 64);
    EXPECT_NE(errors.find("has a control character (such as a line break) in its name"),
              std::string::npos)
        << errors;
    EXPECT_TRUE(fs::is_empty(projects));
    EXPECT_FALSE(fs::exists(data / "calls"));
}

TEST_F(FaultInjectionTest, aProjectNameThatIsADirectoryIsTheProjectErrorNotAnAbort)
{
    const std::string a = addProgram("PROGA");
    fs::create_directories(root / "PAYROLL.iwp");
    writeFile(root / "request.txt",
              "Project Name:>   " + (root / "PAYROLL.iwp").string()
                  + "\nCompile Options:>\nConvert these files:>\n  " + a + "\n");
    EXPECT_EQ(kelconv({"--settings", (root / "request.txt").string()}), 1) << errors;
    EXPECT_EQ(signal, 0);
    EXPECT_NE(output.find("Error:  The project for Year 2000 Conversion could not be created.\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("Project:  (none)\nDatabase:  "), std::string::npos) << output;
}

TEST_F(FaultInjectionTest, aFifoWhereAFileIsExpectedNeverBlocks)
{
    const std::string a = addProgram("PROGA");
    const fs::path fifo = root / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    EXPECT_EQ(finish(start({"--seed", fifo.string(), a}), 30), 2);
    EXPECT_NE(output.find("Error: Cannot copy seed file " + fifo.string()), std::string::npos)
        << output;
    EXPECT_EQ(finish(start({"--settings", fifo.string(), a}), 30), 64);
    EXPECT_EQ(finish(start({fifo.string()}), 30), 64);
    EXPECT_TRUE(
        errors.starts_with("kelconv: the source " + fifo.string() + " is not a regular file.\n"));

    // A FIFO as the environment's settings file: the installation's defaults stand in.
    fs::remove(home / "environment.ini");
    ASSERT_EQ(::mkfifo((home / "environment.ini").c_str(), 0600), 0);
    keepEnvironmentFile = true;
    finish(start({"--seed", seed.string(), "--out", out.string(), a}), 30);
    EXPECT_NE(errors.find("Cannot read the settings file " + (home / "environment.ini").string()
                          + ": not a regular file. The installation's defaults are used."),
              std::string::npos)
        << errors;
}

TEST_F(FaultInjectionTest, aCopyChainThatMultipliesFailsItsSourceInsteadOfHanging)
{
    // The real compiler driver: its front end bounds the expansion before GnuCOBOL would start.
    environment.set("PATH",
                    std::string(std::getenv("CHRONEX_BIN_DIR")) + ":" + std::getenv("PATH"));
    for (int level = 1; level < 24; ++level) {
        const std::string next = std::string("C").append(std::to_string(level + 1));
        writeFile(sources / std::string("C").append(std::to_string(level)).append(".cpy"),
                  "           COPY " + next + ".\n           COPY " + next + ".\n");
    }
    writeFile(sources / "C24.cpy", "           05 X PIC X.\n");
    const fs::path program = sources / "EXPO.cbl";
    writeFile(program,
              "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. EXPO.\n"
              "       DATA DIVISION.\n       WORKING-STORAGE SECTION.\n       01 R.\n"
              "           COPY C1.\n       PROCEDURE DIVISION.\n           STOP RUN.\n");
    EXPECT_EQ(finish(start({"--out", out.string(), program.string()}), 120), 1);
    EXPECT_EQ(summaryOf(program.string()), "File:  0x18  " + program.string());
    EXPECT_NE(readFile(out / "EXPO.xlg").find("The COPY statements expand to more than 10000"),
              std::string::npos);
}

TEST_F(FaultInjectionTest, aHangupCancelsTheRunLikeTheCancelButton)
{
    const std::string a = addProgram("PROGA");
    environment.set("STANDIN_HANG_zmc2_PROGA", "1");
    const pid_t pid = start({a});
    while (!fs::exists(data / "running.zmc2.PROGA"))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    kill(pid, SIGHUP);
    EXPECT_EQ(finish(pid, 30), 2);
    EXPECT_EQ(errors, "kelconv: the run was cancelled.\n");
}

} // namespace
