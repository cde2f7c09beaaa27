// The compile pass for programs with EXEC blocks: the translation cobc accepts, the messages told
// with the user's lines, the temporary directory cleaned away, and zmc2's return codes.
#include "ChildProcess.h"
#include "DiagnosticMapper.h"
#include "FrontEnd.h"
#include "SyntaxChecker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

/// Fixed-format lines written from column 8 on; a line starting with "-" has it in column 7.
std::string fixed(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += (line.rfind("-", 0) == 0 ? "      " : "       ") + line + "\n";
    return text;
}

class ExecTranslation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "chronex-exectr-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        m_root = pattern;
        fs::create_directories(m_root + "/src");
        fs::create_directories(m_root + "/tmp");
        const char *tmp = std::getenv("TMPDIR");
        m_tmpdir = tmp ? tmp : "";
        setenv("TMPDIR", (m_root + "/tmp").c_str(), 1);
        const char *source = std::getenv("CHRONEX_SOURCE_DIR");
        m_system = std::string(source ? source : ".") + "/tools/cobol/copybooks";
        m_haveCobc = ChildProcess::run({"cobc", "--version"}).outcome
                     == ChildProcess::Outcome::Exited;
    }
    void TearDown() override
    {
        if (m_tmpdir.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", m_tmpdir.c_str(), 1);
        fs::remove_all(m_root);
    }

    std::string write(const std::string &name, const std::string &text)
    {
        const std::string path = m_root + "/src/" + name;
        std::ofstream(path) << text;
        return path;
    }

    /// The front end and the check, as zmc2 runs them.
    ChildProcess::Result check(const std::string &source, const std::string &includes = {})
    {
        cobol::FrontEnd::Options options;
        options.includeDirectories = {includes.empty() ? m_root + "/src" : includes};
        options.systemCopybookDirectories = {m_system};
        const cobol::FrontEnd::Result parsed = cobol::FrontEnd(options).parseFile(source);
        SyntaxChecker::Options checkOptions;
        checkOptions.source = source;
        checkOptions.includeDirectories = options.includeDirectories;
        checkOptions.systemDirectory = m_system;
        std::string problem;
        ChildProcess::Result result = SyntaxChecker::run(checkOptions, parsed.data, problem);
        EXPECT_EQ(problem, "");
        return result;
    }

    std::string m_root, m_tmpdir, m_system;
    bool m_haveCobc = false;
};

TEST_F(ExecTranslation, cobcAcceptsTheTranslationOfEveryCommandTheSamplesUse)
{
    if (!m_haveCobc)
        GTEST_SKIP() << "cobc is not installed";
    // The sample programs themselves, with their copybooks.
    const char *source = std::getenv("CHRONEX_SOURCE_DIR");
    const std::string samples = std::string(source ? source : ".") + "/samples";
    for (const char *name : {"CUSTINQ", "ORDAGE"}) {
        const ChildProcess::Result r = check(samples + "/" + name + ".cbl", samples + "/copybooks");
        EXPECT_EQ(r.exitCode, 0) << name << "\n" << r.output;
        EXPECT_EQ(r.output, "") << name;
    }
    // DL/I, and the commands and forms the samples do not show, in both divisions.
    write("DCLT.cpy",
          fixed({"    EXEC SQL DECLARE T TABLE (C1 CHAR(4), D1 DATE) END-EXEC.",
                 "01  DCLT.",
                 "    10 C1 PIC X(4).",
                 "    10 D1 PIC X(10)."}));
    const std::string program
        = write("ALL.cbl",
                fixed({"IDENTIFICATION DIVISION.",
                       "PROGRAM-ID. ALLCMDS.",
                       "DATA DIVISION.",
                       "WORKING-STORAGE SECTION.",
                       "    EXEC SQL BEGIN DECLARE SECTION END-EXEC.",
                       "    EXEC SQL INCLUDE DCLT END-EXEC.",
                       "01  SEG-AREA PIC X(40).",
                       "01  WS-KEY PIC X(4).",
                       "01  WS-TAB PIC X(4) OCCURS 3.",
                       "01  WS-I PIC 9.",
                       "01  WS-P USAGE POINTER.",
                       "78  WS-LEN VALUE 40.",
                       "    EXEC SQL END DECLARE SECTION END-EXEC.",
                       "PROCEDURE DIVISION.",
                       "    EXEC SQL WHENEVER SQLERROR CONTINUE END-EXEC",
                       "    EXEC DLI SCHD PSB(MYPSB) END-EXEC",
                       "    EXEC DLI GU USING PCB(1) SEGMENT(ROOT) INTO(SEG-AREA)",
                       "         WHERE(ROOTKEY = WS-KEY) END-EXEC",
                       "    EXEC DLI ISRT USING PCB(1) SEGMENT(ROOT) FROM(SEG-AREA)",
                       "         SEGLENGTH(WS-LEN) END-EXEC",
                       "    EXEC CICS HANDLE CONDITION NOTFND(DONE) END-EXEC",
                       "    EXEC CICS WRITEQ TS QUEUE('Q') FROM(WS-TAB(WS-I))",
                       "         LENGTH(LENGTH OF SEG-AREA) END-EXEC",
                       "    EXEC CICS GETMAIN SET(WS-P) FLENGTH(100) END-EXEC",
                       "    EXEC SQL SELECT C1 INTO :DCLT.C1 FROM T",
                       "         WHERE D1 = CURRENT DATE END-EXEC",
                       "    EXEC CICS SEND TEXT FROM('A MESSAGE CONTINUED ON THE NEXT",
                       "-            'LINE') LENGTH(LENGTH OF SEG-",
                       "-              AREA) ERASE END-EXEC",
                       "    IF EIBRESP = DFHRESP(NOTFND) OR DFHRESP(NORMAL)",
                       "       EXEC DLI TERM END-EXEC",
                       "    END-IF.",
                       "DONE.",
                       "    EXEC CICS RETURN END-EXEC."}));
    const ChildProcess::Result r = check(program);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(r.output, "") << "no warning either: no lone period, no stray text";
    // Nothing is left in the temporary directory.
    EXPECT_TRUE(fs::is_empty(m_root + "/tmp"));

    // Free format.
    const std::string free = write("FREE.cbl",
                                   "identification division.\nprogram-id. free.\n"
                                   "data division.\nworking-storage section.\n"
                                   "01 ws-abs pic s9(15) comp-3.\n01 ws-d pic x(8).\n"
                                   "procedure division.\n"
                                   "    exec cics asktime abstime(ws-abs) end-exec\n"
                                   "    exec cics formattime abstime(ws-abs)\n"
                                   "         yymmdd(ws-d) end-exec move ws-d to ws-d\n"
                                   "    if eibresp = dfhresp(normal) display ws-d end-if\n"
                                   "    stop run.\n");
    cobol::FrontEnd::Options options;
    options.format = cobol::SourceFormat::Free;
    options.systemCopybookDirectories = {m_system};
    SyntaxChecker::Options freeCheck;
    freeCheck.source = free;
    freeCheck.freeFormat = true;
    freeCheck.systemDirectory = m_system;
    std::string problem;
    const ChildProcess::Result f = SyntaxChecker::run(freeCheck,
                                                      cobol::FrontEnd(options).parseFile(free).data,
                                                      problem);
    EXPECT_EQ(f.exitCode, 0) << problem << f.output;
}

TEST_F(ExecTranslation, messagesNameTheUsersFilesAndLines)
{
    if (!m_haveCobc)
        GTEST_SKIP() << "cobc is not installed";
    // The copybook holds an EXEC block too, so it is translated and its lines are mapped.
    write("PROC.cpy",
          fixed({"    EXEC CICS ASKTIME",
                 "              ABSTIME(WS-ABS)",
                 "    END-EXEC",
                 "    MOVE NOT-THERE-2 TO WS-ABS"}));
    const std::string program
        = write("MAPPED.cbl",
                fixed({"IDENTIFICATION DIVISION.",                                   // 1
                       "PROGRAM-ID. MAPPED.",                                        // 2
                       "DATA DIVISION.",                                             // 3
                       "WORKING-STORAGE SECTION.",                                   // 4
                       "01  WS-ABS PIC S9(15) COMP-3.",                              // 5
                       "01  WS-D PIC X(8).",                                         // 6
                       "PROCEDURE DIVISION.",                                        // 7
                       "    EXEC CICS FORMATTIME ABSTIME(WS-ABS) YYMMDD(WS-D)",      // 8
                       "         DATESEP('/') RESP(NOT-THERE-1) END-EXEC MOVE 1 TO", // 9
                       "         NOT-THERE-3",                                       // 10
                       "    COPY PROC.",                                             // 11
                       "    MOVE WS-D TO NOT-THERE-4.",                              // 12
                       "    STOP RUN."}));
    const ChildProcess::Result r = check(program);
    EXPECT_NE(r.exitCode, 0);
    const std::string cbl = m_root + "/src/MAPPED.cbl";
    const std::string cpy = m_root + "/src/PROC.cpy";
    EXPECT_NE(r.output.find(cbl + ":10: error: 'NOT-THERE-3' is not defined"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find(cbl + ":12: error: 'NOT-THERE-4' is not defined"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find(cpy + ":4: error: 'NOT-THERE-2' is not defined"), std::string::npos)
        << r.output;
    // The undeclared host variable is the front end's to report, once: cobc never sees it.
    EXPECT_EQ(r.output.find("NOT-THERE-1"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find(m_root + "/tmp"), std::string::npos) << r.output;
    EXPECT_TRUE(fs::is_empty(m_root + "/tmp"));
}

TEST(DiagnosticMapper, mapsEveryMentionOfATranslatedFile)
{
    DiagnosticMapper mapper;
    mapper.add("/tmp/x/P.cbl", "/src/P.cbl", {1, 2, 2, 2, 5});
    mapper.add("/tmp/x/P.cbl.cpy", "/src/P.cbl.cpy", {7});
    mapper.add("C.cpy", "/src/C.cpy", {3, 3});
    EXPECT_EQ(mapper.map("/tmp/x/P.cbl: in paragraph 'A':\n"
                         "/tmp/x/P.cbl:4: error: 'X' is not defined\n"
                         "/tmp/x/P.cbl.cpy:1: warning: w\n"
                         "/tmp/x/P.cbl:9: beyond the map stays 9\n"
                         "/tmp/y/P.cbl:2: another file\n"
                         "C.cpy:2: found in the working directory; not in /lib/C.cpy:2\n"),
              "/src/P.cbl: in paragraph 'A':\n"
              "/src/P.cbl:2: error: 'X' is not defined\n"
              "/src/P.cbl.cpy:7: warning: w\n"
              "/src/P.cbl:9: beyond the map stays 9\n"
              "/tmp/y/P.cbl:2: another file\n"
              "/src/C.cpy:3: found in the working directory; not in /lib/C.cpy:2\n");
}

TEST_F(ExecTranslation, zmc2AnswersAsForAnyProgram)
{
    if (!m_haveCobc)
        GTEST_SKIP() << "cobc is not installed";
    const char *bin = std::getenv("CHRONEX_BIN_DIR");
    const std::string zmc2 = std::string(bin ? bin : ".") + "/zmc2";
    auto run = [&](const std::string &name, const std::vector<std::string> &procedure) {
        std::vector<std::string> lines = {"IDENTIFICATION DIVISION.",
                                          "PROGRAM-ID. P.",
                                          "DATA DIVISION.",
                                          "WORKING-STORAGE SECTION.",
                                          "01 A PIC X(8).",
                                          "PROCEDURE DIVISION."};
        lines.insert(lines.end(), procedure.begin(), procedure.end());
        lines.push_back("    STOP RUN.");
        return ChildProcess::run({zmc2, "-i" + m_root + "/src", write(name, fixed(lines))});
    };
    EXPECT_EQ(run("OK.cbl", {"    EXEC CICS SEND TEXT FROM(A) END-EXEC"}).exitCode, 0);
    // No END-EXEC, an undeclared host variable: the front end's errors make 4, and the check
    // still runs over the rest.
    const ChildProcess::Result open = run("OPEN.cbl",
                                          {"    EXEC CICS SEND TEXT FROM(A)", "    MOVE A TO A"});
    EXPECT_EQ(open.exitCode, 4) << open.output;
    EXPECT_NE(open.output.find("OPEN.cbl:7:12: warning: Expected END-EXEC to close EXEC CICS"),
              std::string::npos)
        << open.output;
    const ChildProcess::Result host = run("HOST.cbl",
                                          {"    EXEC SQL SELECT X INTO :NOPE FROM T",
                                           "    END-EXEC"});
    EXPECT_EQ(host.exitCode, 4) << host.output;
    EXPECT_NE(host.output.find("HOST.cbl:7:"), std::string::npos) << host.output;
    // A COBOL error next to EXEC blocks is still cobc's: 8.
    EXPECT_EQ(run("BAD.cbl", {"    EXEC CICS RETURN END-EXEC", "    MOVE A TO NOPE"}).exitCode, 8);
    // The program itself holds no EXEC block, its copybook does: the check of the program as it
    // stands, which may have started while the front end read it, gives way to the check of the
    // translation.
    write("RETBLOCK.cpy", fixed({"    EXEC CICS RETURN END-EXEC"}));
    const ChildProcess::Result viaCopy = run("VIACOPY.cbl", {"    COPY RETBLOCK."});
    EXPECT_EQ(viaCopy.exitCode, 0) << viaCopy.output;
    EXPECT_EQ(viaCopy.output, "");
}

} // namespace

// The scan that lets GnuCOBOL start before the front end: any spelling of the three words stops
// it; letters that only look alike, or the words cut short at the end, do not.
TEST(SourceScan, theEarlyCheckStartsOnlyForSourcesWithoutTheWordsThatAskForTranslation)
{
    const struct
    {
        const char *source;
        bool plain;
    } cases[] = {
        {"       MOVE A TO B.\n", true},
        {"       EXEC CICS RETURN END-EXEC.\n", false},
        {"       exec sql select 1 end-exec.\n", false},
        {"       IF RC = DfhResp(NORMAL)\n", false},
        {"       MOVE DFHVALUE(ERASE) TO X\n", false},
        {"       MOVE EXE C TO D.\n", true},
        {"       MOVE EXEK TO DFHRES.\n", true},
        {"       MOVE %XEC TO D\x04\x05.\n", true},
        {"       DISPLAY 'done' EXE", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SyntaxChecker::mayNeedNoTranslation(c.source), c.plain) << c.source;
}
