// keldb on a database recorded from real COBOL (a record with REDEFINES, OCCURS, FILLER, a
// nested copybook, and a data name declared in two copybooks): its listings and storage map,
// how it picks units and records, and its exit statuses as a user sees them.
#include "AdtFile.h"
#include "AnalysisData.h"
#include "AnalysisDataAdapter.h"
#include "DateFieldAnalyzer.h"
#include "DbEu.h"
#include "FrontEnd.h"
#include "KeldbProgram.h"
#include "SeedFile.h"
#include "UnitRecorder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

extern char **environ;

namespace fs = std::filesystem;

namespace {

const char *const acctrec = "      * ACCOUNT MASTER RECORD\n"
                            "           05  ACCT-ID             PIC 9(8).\n"
                            "           05  ACCT-NAME           PIC X(30).\n"
                            "           05  ACCT-OPENED.\n"
                            "               10  ACCT-OPEN-YY    PIC 99.\n"
                            "               10  ACCT-OPEN-MMDD  PIC 9(4).\n"
                            "           05  ACCT-OPENED-N REDEFINES ACCT-OPENED PIC 9(6).\n"
                            "           05  FILLER              PIC X(2).\n"
                            "           05  ACCT-ADDRESS.\n"
                            "               COPY ADDRREC.\n"
                            "           05  ACCT-BALANCE        PIC S9(9)V99 COMP-3.\n"
                            "           05  ACCT-HISTORY OCCURS 4 TIMES.\n"
                            "               10  HIST-YY         PIC 99.\n"
                            "               10  HIST-AMT        PIC S9(7) COMP.\n"
                            "               10  FILLER          PIC X.\n"
                            "           05  ACCT-FLAGS          PIC X.\n"
                            "               88  ACCT-CLOSED     VALUE 'C'.\n";
const char *const addrrec = "               10  ADDR-STREET     PIC X(25).\n"
                            "               10  ADDR-ZIP        PIC 9(5).\n";
const char *const histrec = "           05  ACCT-ID             PIC X(10).\n"
                            "           05  HREC-DATE           PIC 9(6).\n";
const char *const program = "       IDENTIFICATION DIVISION.\n"
                            "       PROGRAM-ID. ORACLE.\n"
                            "       DATA DIVISION.\n"
                            "       WORKING-STORAGE SECTION.\n"
                            "       01  ACCOUNT-RECORD.\n"
                            "           COPY ACCTREC.\n"
                            "       01  HIST-RECORD.\n"
                            "           COPY HISTREC.\n"
                            "       01  WS-COUNT PIC 9(4) COMP.\n"
                            "       PROCEDURE DIVISION.\n"
                            "           MOVE ACCT-ID OF HIST-RECORD TO ACCT-NAME\n"
                            "           STOP RUN.\n";

struct Outcome
{
    int status = -1;
    std::string out;
    std::string err;
};

class Keldb : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "keldb-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        fs::create_directories(m_root / "src");
        for (const auto &[name, text] : {std::pair{"ACCTREC.cpy", acctrec},
                                         {"ADDRREC.cpy", addrrec},
                                         {"HISTREC.cpy", histrec},
                                         {"ORACLE.cbl", program}})
            std::ofstream(m_root / "src" / name) << text;
        fs::create_directories(m_root / "other");
        std::ofstream(m_root / "other" / "ORACLE.cbl") << program;
        record(m_root / "src" / "ORACLE.cbl");
        m_db = DbEu::databasePathIn(m_root.string());
    }
    void TearDown() override
    {
        std::error_code error;
        fs::remove_all(m_root, error);
    }

    void record(const fs::path &source)
    {
        cobol::FrontEnd::Options options;
        options.includeDirectories = {(m_root / "src").string()};
        const cobol::AnalysisData data = cobol::FrontEnd(options).parseFile(source.string()).data;
        const kelmkpu::ProgramModel model = kelmkpu::AnalysisDataAdapter::toModel(data);
        kelmkpu::SeedFile seeds;
        const kelmkpu::AnalysisResult result
            = kelmkpu::DateFieldAnalyzer(model).run(seeds,
                                                    kelmkpu::DateFieldAnalyzer::Declarations::On);
        std::ostringstream err;
        ASSERT_TRUE(kelmkpu::UnitRecorder::record(m_root.string(),
                                                  "ORACLE",
                                                  *cobol::AdtFile::fromData(data),
                                                  model,
                                                  result,
                                                  err))
            << err.str();
    }

    Outcome keldb(const std::vector<std::string> &arguments) const
    {
        std::ostringstream out, err;
        Outcome run;
        run.status = KeldbProgram::run(arguments, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    fs::path m_root;
    std::string m_db;
};

} // namespace

TEST_F(Keldb, theMapLaysTheRecordOutByteForByte)
{
    const Outcome run = keldb({"map", m_db, "ORACLE", "ACCOUNT-RECORD"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "       0  1 ACCOUNT-RECORD  2 ACCT-ID\n"
              "       8  2 ACCT-NAME\n"
              "      38  2 ACCT-OPENED  3 ACCT-OPEN-YY  2 ACCT-OPENED-N\n"
              "      40  3 ACCT-OPEN-MMDD\n"
              "      44  2 FILLER\n"
              "      46  2 ACCT-ADDRESS  3 ADDR-STREET\n"
              "      71  3 ADDR-ZIP\n"
              "      76  2 ACCT-BALANCE\n"
              "      82  2 ACCT-HISTORY OCCURS 4 TIMES  3 HIST-YY\n"
              "      84  3 HIST-AMT\n"
              "      88  3 FILLER\n"
              "     110  2 ACCT-FLAGS\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(Keldb, unitsAndSymbolsAreListed)
{
    Outcome run = keldb({"units", m_db});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("Execution unit: "));
    EXPECT_NE(run.out.find("   1  ORACLE  Analyzed  "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find((m_root / "src" / "ORACLE.cbl").string()), std::string::npos);

    run = keldb({"symbols", m_db, "oracle"});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string expectedStart = "01        0      111  ACCOUNT-RECORD\n"
                                      "05        0        8  ACCT-ID OF ACCOUNT-RECORD\n"
                                      "05        8       30  ACCT-NAME OF ACCOUNT-RECORD\n";
    EXPECT_TRUE(run.out.starts_with(expectedStart)) << run.out;
    EXPECT_NE(run.out.find("10       84        4  HIST-AMT OF ACCT-HISTORY OF ACCOUNT-RECORD\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("88        0        0  ACCT-CLOSED OF ACCT-FLAGS OF ACCOUNT-RECORD\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("05        0       10  ACCT-ID OF HIST-RECORD\n"), std::string::npos);
}

TEST_F(Keldb, recordsAndUnitsThatAreNotUniqueAreChosenByQualificationCopybookOrNumber)
{
    const struct
    {
        const char *label;
        std::vector<std::string> arguments;
        int status;
        const char *outStart; ///< start of standard output
        const char *errPart;  ///< part of standard error
    } cases[] = {
        {"a name in two records",
         {"map", m_db, "ORACLE", "ACCT-ID"},
         1,
         "",
         "ACCT-ID OF ACCOUNT-RECORD (copybook ACCTREC)\n  ACCT-ID OF HIST-RECORD (copybook "
         "HISTREC)"},
        {"qualified in one argument",
         {"map", m_db, "ORACLE", "ACCT-ID OF HIST-RECORD"},
         0,
         "       0  2 ACCT-ID\n",
         ""},
        {"qualified over several arguments, any case",
         {"map", m_db, "ORACLE", "acct-id", "in", "account-record"},
         0,
         "       0  2 ACCT-ID\n",
         ""},
        {"chosen by its copybook",
         {"map", m_db, "ORACLE", "ACCT-ID", "--copybook", "histrec"},
         0,
         "       0  2 ACCT-ID\n",
         ""},
        {"a subordinate group keeps its record's offsets",
         {"map", m_db, "ORACLE", "ACCT-ADDRESS"},
         0,
         "      46  2 ACCT-ADDRESS  3 ADDR-STREET\n      71  3 ADDR-ZIP\n",
         ""},
        {"no such record", {"map", m_db, "ORACLE", "NO-SUCH"}, 1, "", "has no data item NO-SUCH"},
        {"a wrong qualifier",
         {"map", m_db, "ORACLE", "ACCT-ID OF WS-COUNT"},
         1,
         "",
         "has no data item"},
        {"no such unit", {"symbols", m_db, "NOPE"}, 1, "", "has no program unit NOPE"},
        {"a unit by number", {"symbols", m_db, "#1"}, 0, "01        0      111", ""},
        {"a unit number out of range", {"symbols", m_db, "9"}, 1, "", "has no program unit 9"},
        {"a missing database", {"units", (m_root / "none.db").string()}, 2, "", "does not exist"},
        {"usage: no command", {}, 64, "", "no command given"},
        {"usage: too few arguments", {"map", m_db, "ORACLE"}, 64, "", "takes 3 arguments"},
        {"usage: unknown option", {"units", m_db, "--fast"}, 64, "", "unknown option --fast"},
        {"help", {"--help"}, 0, "Usage: keldb units DB", ""},
    };
    for (const auto &c : cases) {
        const Outcome run = keldb(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.label << "\n" << run.err;
        EXPECT_TRUE(run.out.starts_with(c.outStart)) << c.label << "\n" << run.out;
        EXPECT_NE(run.err.find(c.errPart), std::string::npos) << c.label << "\n" << run.err;
    }

    // The same program from another directory is a second unit of the same name.
    record(m_root / "other" / "ORACLE.cbl");
    Outcome run = keldb({"symbols", m_db, "ORACLE"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("2 program units are named ORACLE"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("  2  " + (m_root / "other" / "ORACLE.cbl").string()), std::string::npos)
        << run.err;
    run = keldb({"symbols", m_db, (m_root / "other" / "ORACLE.cbl").string()});
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(Keldb, theProgramExitsWithItsStatusOnUnreadableFiles)
{
    std::ofstream(m_root / "garbage.db") << std::string(2048, 'g');
    const char *binDir = std::getenv("CHRONEX_BIN_DIR");
    const std::string keldbPath
        = binDir
              ? std::string(binDir) + "/keldb"
              : (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "bin" / "keldb")
                    .string();
    auto status = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), keldbPath);
        std::vector<char *> argv;
        for (std::string &a : arguments)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int started
            = posix_spawn(&pid, keldbPath.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        int result = 0;
        if (started != 0 || waitpid(pid, &result, 0) != pid)
            return -2;
        return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    };
    EXPECT_EQ(status({"units", m_db}), 0);
    EXPECT_EQ(status({"map", m_db, "ORACLE", "ACCT-ID"}), 1);
    EXPECT_EQ(status({"units", (m_root / "garbage.db").string()}), 2);
    EXPECT_EQ(status({"units", m_root.string()}), 2);
    EXPECT_EQ(status({"frobnicate"}), 64);
}
