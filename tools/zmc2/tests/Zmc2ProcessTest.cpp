// zmc2 run as a process, as the conversion engine runs it.
#include "AnalysisData.h"
#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const char *const cleanProgram = "       IDENTIFICATION DIVISION.\n"
                                 "       PROGRAM-ID. GOOD.\n"
                                 "       DATA DIVISION.\n"
                                 "       WORKING-STORAGE SECTION.\n"
                                 "       COPY DATES.\n"
                                 "       PROCEDURE DIVISION.\n"
                                 "           ACCEPT WS-YYMMDD FROM DATE\n"
                                 "           STOP RUN.\n";
const char *const warningProgram = "       IDENTIFICATION DIVISION.\n"
                                   "       PROGRAM-ID. WARN.\n"
                                   "       DATA DIVISION.\n"
                                   "       WORKING-STORAGE SECTION.\n"
                                   "       01 X PIC 99 VALUE 123.\n"
                                   "       PROCEDURE DIVISION.\n"
                                   "           STOP RUN.\n";
const char *const errorProgram = "       IDENTIFICATION DIVISION.\n"
                                 "       PROGRAM-ID. BAD.\n"
                                 "       PROCEDURE DIVISION.\n"
                                 "           GO TO NOWHERE-X.\n";

class Zmc2 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "chronex-zmc2-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        m_root = pattern;
        m_src = m_root + "/my sources";
        m_out = m_root + "/out dir";
        fs::create_directories(m_src + "/copy books");
        fs::create_directories(m_out);
        std::ofstream(m_src + "/copy books/DATES.cpy") << "       01 WS-YYMMDD PIC 9(6).\n";
        const char *bin = std::getenv("CHRONEX_BIN_DIR");
        m_zmc2 = std::string(bin ? bin : ".") + "/zmc2";
        m_path = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("CHRONEX_OUTPUT_DIR", m_out.c_str(), 1);
        m_haveCobc = ChildProcess::run({"cobc", "--version"}).outcome
                     == ChildProcess::Outcome::Exited;
    }
    void TearDown() override
    {
        setenv("PATH", m_path.c_str(), 1);
        unsetenv("CHRONEX_OUTPUT_DIR");
        fs::remove_all(m_root);
    }
    std::string source(const std::string &name, const char *text)
    {
        const std::string path = m_src + "/" + name;
        std::ofstream(path) << text;
        return path;
    }
    ChildProcess::Result zmc2(std::vector<std::string> args)
    {
        args.insert(args.begin(), m_zmc2);
        return ChildProcess::run(args);
    }
    std::string m_root, m_src, m_out, m_zmc2, m_path;
    bool m_haveCobc = false;
};

} // namespace

TEST_F(Zmc2, returnCodesFollowTheOutcomeOfTheCheck)
{
    if (!m_haveCobc)
        GTEST_SKIP() << "cobc is not installed";
    struct Case
    {
        const char *label;
        std::string source;
        int code;
        bool adt;
    };
    const Case cases[] = {
        {"clean", source("GOOD.cbl", cleanProgram), 0, true},
        {"warnings", source("WARN.cbl", warningProgram), 4, true},
        {"errors", source("BAD.cbl", errorProgram), 8, false},
        {"missing source", m_src + "/NONE.cbl", 12, false},
    };
    for (const Case &c : cases) {
        const ChildProcess::Result r = zmc2(
            {"-c", "-i" + m_src + "/copy books", "-qANALYZE", c.source});
        EXPECT_EQ(r.exitCode, c.code) << c.label << "\n" << r.output;
        const std::string adt = m_out + "/" + fs::path(c.source).stem().string() + ".adt";
        EXPECT_EQ(fs::exists(adt), c.adt) << c.label;
    }
    const cobol::AnalysisData data = cobol::AnalysisData::readFile(m_out + "/GOOD.adt");
    EXPECT_EQ(data.programName, "GOOD");
    ASSERT_EQ(data.includes.size(), 2u);
    EXPECT_EQ(data.includes[1].copybook, "DATES");
    EXPECT_EQ(data.includes[1].qualifier, "DEFAULT");
    ASSERT_FALSE(data.statements.empty());
    EXPECT_EQ(data.statements[0].detail, "DATE");
    // Nothing but the .adt files was written to the output directory.
    for (const auto &entry : fs::directory_iterator(m_out))
        EXPECT_EQ(entry.path().extension(), ".adt") << entry.path();
}

TEST_F(Zmc2, staleAnalysisDataIsRemovedWhenTheSourceFails)
{
    if (!m_haveCobc)
        GTEST_SKIP() << "cobc is not installed";
    std::ofstream(m_out + "/BAD.adt") << "old";
    const ChildProcess::Result r = zmc2({"-qANALYZE", source("BAD.cbl", errorProgram)});
    EXPECT_EQ(r.exitCode, 8);
    EXPECT_FALSE(fs::exists(m_out + "/BAD.adt"));
    std::ofstream(m_out + "/GONE.adt") << "old";
    EXPECT_EQ(zmc2({"-qANALYZE", m_src + "/GONE.cbl"}).exitCode, 12);
    EXPECT_FALSE(fs::exists(m_out + "/GONE.adt"));
}

TEST_F(Zmc2, optionsAreReadInEitherFormAndUnknownOnesIgnored)
{
    if (!m_haveCobc)
        GTEST_SKIP() << "cobc is not installed";
    const std::string good = source("GOOD.cbl", cleanProgram);
    const ChildProcess::Result r = zmc2(
        {"/C", "-xyzzy", "-i", m_src + "/copy books", "/std=default", "/qanalyze", good});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("ignoring the unknown option -xyzzy"), std::string::npos) << r.output;
    EXPECT_EQ(cobol::AnalysisData::readFile(m_out + "/GOOD.adt").dialect, "default");
    // A free-format source.
    const std::string free = source("FREE.cbl",
                                    "identification division. program-id. free.\n"
                                    "procedure division.\n    stop run.\n");
    EXPECT_EQ(zmc2({"-free", "-qANALYZE", free}).exitCode, 0);
    EXPECT_TRUE(cobol::AnalysisData::readFile(m_out + "/FREE.adt").freeFormat);
    // Without -qANALYZE only the check runs.
    fs::remove(m_out + "/GOOD.adt");
    EXPECT_EQ(zmc2({"-i" + m_src + "/copy books", good}).exitCode, 0);
    EXPECT_FALSE(fs::exists(m_out + "/GOOD.adt"));
}

TEST_F(Zmc2, argumentsThatCannotWorkGiveTwelve)
{
    const std::string good = source("GOOD.cbl", cleanProgram);
    EXPECT_EQ(zmc2({}).exitCode, 12);
    EXPECT_EQ(zmc2({"-qANALYZE", good, good}).exitCode, 12);
    EXPECT_EQ(zmc2({"-std=nonsense", good}).exitCode, 12);
    EXPECT_EQ(zmc2({"-i"}).exitCode, 12);
}

TEST_F(Zmc2, aCompilerThatCannotRunGivesTwelve)
{
    const std::string good = source("GOOD.cbl", cleanProgram);
    // No cobc on PATH.
    const std::string empty = m_root + "/empty";
    fs::create_directories(empty);
    setenv("PATH", empty.c_str(), 1);
    ChildProcess::Result r = zmc2({"-qANALYZE", good});
    EXPECT_EQ(r.exitCode, 12) << r.output;
    EXPECT_NE(r.output.find("cannot run cobc"), std::string::npos) << r.output;
    // A cobc that crashes.
    const std::string crashing = m_root + "/crashing";
    fs::create_directories(crashing);
    std::ofstream(crashing + "/cobc") << "#!/bin/sh\nkill -SEGV $$\n";
    fs::permissions(crashing + "/cobc", fs::perms::owner_all);
    setenv("PATH", (crashing + ":" + m_path).c_str(), 1);
    r = zmc2({"-qANALYZE", good});
    EXPECT_EQ(r.exitCode, 12) << r.output;
    EXPECT_FALSE(fs::exists(m_out + "/GOOD.adt"));
}

TEST_F(Zmc2, aCopyChainThatMultipliesIsRefusedAndGnuCobolStopped)
{
    // Each copybook includes the next twice: GnuCOBOL would expand 2^24 copies for minutes.
    for (int level = 1; level < 24; ++level) {
        const std::string next = "C" + std::to_string(level + 1);
        std::ofstream(m_src + "/copy books/C" + std::to_string(level) + ".cpy")
            << "           COPY " << next << ".\n           COPY " << next << ".\n";
    }
    std::ofstream(m_src + "/copy books/C24.cpy") << "           05 X PIC X.\n";
    const std::string program = source("EXPO.cbl",
                                       "       IDENTIFICATION DIVISION.\n"
                                       "       PROGRAM-ID. EXPO.\n"
                                       "       DATA DIVISION.\n"
                                       "       WORKING-STORAGE SECTION.\n"
                                       "       01 R.\n"
                                       "           COPY C1.\n"
                                       "       PROCEDURE DIVISION.\n"
                                       "           STOP RUN.\n");
    // A cobc that says who it is and would take minutes, as GnuCOBOL would on this program.
    // It may be started while our front end reads the program, but must be stopped as soon as
    // the front end finds the expansion past its limit.
    const std::string fake = m_root + "/fake";
    fs::create_directories(fake);
    std::ofstream(fake + "/cobc") << "#!/bin/sh\necho $$ > \"" << m_root
                                  << "/cobc-pid\"\nexec sleep 120\n";
    fs::permissions(fake + "/cobc", fs::perms::owner_all);
    setenv("PATH", (fake + ":" + m_path).c_str(), 1);

    const auto start = std::chrono::steady_clock::now();
    const ChildProcess::Result r = zmc2({"-i" + m_src + "/copy books", "-qANALYZE", program});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_EQ(r.exitCode, 12) << r.output;
    EXPECT_NE(r.output.find("error: The COPY statements expand to more than 10000 copybook "
                            "includes"),
              std::string::npos)
        << r.output;
    if (fs::exists(m_root + "/cobc-pid")) {
        std::ifstream in(m_root + "/cobc-pid");
        pid_t pid = 0;
        in >> pid;
        ASSERT_GT(pid, 0);
        EXPECT_NE(::kill(pid, 0), 0) << "the stopped cobc is still running";
    }
    EXPECT_FALSE(fs::exists(m_out + "/EXPO.adt"));
}

TEST_F(Zmc2, theSampleApplicationAnalysesCleanly)
{
    // The bundled sample application is real COBOL with shared copybooks: every program must
    // pass the check and our front end without a single warning of its own.
    const char *sourceDir = std::getenv("CHRONEX_SOURCE_DIR");
    const fs::path samples = fs::path(sourceDir ? sourceDir : ".") / "samples";
    if (!m_haveCobc || !fs::is_directory(samples / "copybooks"))
        GTEST_SKIP() << "cobc or the samples are missing";
    int checked = 0;
    for (const auto &entry : fs::recursive_directory_iterator(samples)) {
        if (entry.path().extension() != ".cbl")
            continue;
        ++checked;
        const ChildProcess::Result r = zmc2(
            {"-c", "-i" + (samples / "copybooks").string(), "-qANALYZE", entry.path().string()});
        EXPECT_EQ(r.exitCode, 0) << entry.path() << "\n" << r.output;
        EXPECT_EQ(r.output.find("zmc2:"), std::string::npos) << entry.path() << "\n" << r.output;
        const cobol::AnalysisData data = cobol::AnalysisData::readFile(
            m_out + "/" + entry.path().stem().string() + ".adt");
        EXPECT_FALSE(data.statements.empty()) << entry.path();
    }
    EXPECT_GT(checked, 0);
}
