// EXEC CICS, EXEC SQL and EXEC DLI blocks through the front end: the statements they give, the
// system members and implicit blocks, and what happens to broken blocks.
#include "FrontEnd.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace cobol;

namespace {

using SourceTree = TemporaryDirectory;

std::string systemMembers()
{
    const char *source = std::getenv("CHRONEX_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tools/cobol/copybooks";
}

FrontEnd::Options withSystemMembers()
{
    FrontEnd::Options options;
    options.systemCopybookDirectories = {systemMembers()};
    return options;
}

/// Fixed-format lines from lines written from column 8 on ("|" marks column 7 for comments).
std::string fixed(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += (line.rfind("|", 0) == 0 ? "      " + line.substr(1) : "       " + line) + "\n";
    return text;
}

std::string program(const std::vector<std::string> &data, const std::vector<std::string> &procedure)
{
    std::vector<std::string> lines = {"IDENTIFICATION DIVISION.",
                                      "PROGRAM-ID. T.",
                                      "DATA DIVISION.",
                                      "WORKING-STORAGE SECTION."};
    lines.insert(lines.end(), data.begin(), data.end());
    lines.push_back("PROCEDURE DIVISION.");
    lines.insert(lines.end(), procedure.begin(), procedure.end());
    lines.push_back("    STOP RUN.");
    return fixed(lines);
}

const char *const roleNames[] = {"SOU", "TAR", "CMP", "REM", "CNT", "ARG", "PRO", "BOT", "COL"};

/// The EXEC statements: "DETAIL ROLE:name@OPTION[=column/type] ..." joined by " | ".
std::string execFacts(const AnalysisData &data)
{
    std::string out;
    for (const Statement &s : data.statements) {
        if (s.kind != StatementKind::Exec)
            continue;
        out += (out.empty() ? "" : " | ") + s.detail;
        for (const Operand &op : s.operands) {
            out += std::string(" ") + roleNames[static_cast<int>(op.role)] + ":";
            out += op.kind == OperandKind::Item && op.item ? data.item(op.item)->name : op.text;
            out += "@" + op.option;
            if (!op.column.empty() || !op.sqlType.empty())
                out += "=" + op.column + "/" + op.sqlType;
        }
    }
    return out;
}

const DataItem *named(const AnalysisData &data, const std::string &name)
{
    for (const DataItem &item : data.items)
        if (item.name == name)
            return &item;
    return nullptr;
}

std::string diagnostics(const AnalysisData &data, Diagnostic::Severity severity)
{
    std::string out;
    for (const Diagnostic &d : data.diagnostics)
        if (d.severity == severity)
            out += std::to_string(d.place.line) + ": " + d.message + "\n";
    return out;
}

const std::vector<std::string> dclgen = {
    "    EXEC SQL DECLARE EMP TABLE",
    "    ( EMPNO     CHAR(6) NOT NULL,",
    "      LASTNAME  VARCHAR(15),",
    "      HIRE_DATE DATE,",
    "      SALARY    DECIMAL(9, 2) -- yearly",
    "    ) END-EXEC.",
    "01  DCLEMP.",
    "    10 EMPNO      PIC X(6).",
    "    10 LASTNAME.",
    "       49 LASTNAME-LEN  PIC S9(4) COMP.",
    "       49 LASTNAME-TEXT PIC X(15).",
    "    10 HIRE-DATE  PIC X(10).",
    "    10 SALARY     PIC S9(7)V99 COMP-3.",
};

struct Case
{
    const char *label;
    std::vector<std::string> data;
    std::vector<std::string> procedure;
    std::string expected;
};

TEST(ExecParser, commandsGiveTheirArgumentsWithRoleOptionAndColumn)
{
    const std::vector<std::string> cicsData = {"01 A PIC S9(15) COMP-3.",
                                               "01 D PIC X(8).",
                                               "01 Y PIC S9(8) COMP.",
                                               "01 R PIC S9(8) COMP.",
                                               "01 REC PIC X(80).",
                                               "01 K PIC X(6).",
                                               "01 M1I PIC X(20).",
                                               "01 M1O PIC X(20)."};
    std::vector<std::string> sqlData = dclgen;
    for (const char *entry : {"01 H PIC X(10).",
                              "01 IND PIC S9(4) COMP.",
                              "01 TS PIC X(26).",
                              "01 K PIC X(6).",
                              "01 B PIC X(10).",
                              "01 U PIC X(10)."})
        sqlData.push_back(entry);
    const std::vector<Case> cases = {
        {"ASKTIME writes its data area",
         cicsData,
         {"EXEC CICS ASKTIME ABSTIME(A) END-EXEC"},
         "CICS ASKTIME TAR:A@ABSTIME"},
        {"FORMATTIME over lines, with a comment line inside",
         cicsData,
         {"EXEC CICS FORMATTIME ABSTIME(A)",
          "|* the date, then the year",
          "    YYMMDD(D)",
          "    DATESEP('/') YEAR(Y)",
          "    RESP(R)",
          "END-EXEC"},
         "CICS FORMATTIME SOU:A@ABSTIME TAR:D@YYMMDD SOU:'/'@DATESEP TAR:Y@YEAR TAR:R@RESP"},
        {"READ: a file name, a record written, a key read and written",
         cicsData,
         {"EXEC CICS READ FILE('CUSTF') INTO(REC) RIDFLD(K) UPDATE END-EXEC"},
         "CICS READ SOU:'CUSTF'@FILE TAR:REC@INTO BOT:K@RIDFLD"},
        {"a literal and a word continued inside the block",
         cicsData,
         {"EXEC CICS SEND TEXT FROM('CONTINUED",
          "|-    'TEXT') LENGTH(LENGTH OF R",
          "|-    EC) END-EXEC"},
         "CICS SEND TEXT SOU:'CONTINUED" + std::string(30, ' ')
             + "TEXT'@FROM SOU:LENGTH OF REC@LENGTH"},
        {"HANDLE CONDITION names labels",
         cicsData,
         {"EXEC CICS HANDLE CONDITION NOTFND(NO-REC) ERROR(BAD) END-EXEC"},
         "CICS HANDLE CONDITION PRO:NO-REC@NOTFND PRO:BAD@ERROR"},
        {"READQ without TS is temporary storage; LENGTH OF is only read",
         cicsData,
         {"EXEC CICS READQ QUEUE('Q1') INTO(REC) LENGTH(LENGTH OF REC)", "END-EXEC"},
         "CICS READQ TS SOU:'Q1'@QUEUE TAR:REC@INTO SOU:LENGTH OF REC@LENGTH"},
        {"SEND MAP without FROM sends the symbolic map <map>O",
         cicsData,
         {"EXEC CICS SEND MAP('M1') MAPSET('S1') ERASE END-EXEC"},
         "CICS SEND MAP SOU:'M1'@MAP SOU:'S1'@MAPSET SOU:M1O@FROM"},
        {"RECEIVE MAP without INTO reads into <map>I",
         cicsData,
         {"EXEC CICS RECEIVE MAP('M1') MAPSET('S1') END-EXEC"},
         "CICS RECEIVE MAP SOU:'M1'@MAP SOU:'S1'@MAPSET TAR:M1I@INTO"},
        {"an unknown command keeps its arguments without direction",
         cicsData,
         {"EXEC CICS FROBNICATE THING(K) END-EXEC"},
         "CICS FROBNICATE ARG:K@THING"},
        {"SELECT INTO: the column, its type and the indicator; the predicate's column",
         sqlData,
         {"EXEC SQL SELECT HIRE_DATE INTO :H:IND FROM EMP", "    WHERE EMPNO = :K END-EXEC"},
         "SQL SELECT TAR:H@INTO=EMP.HIRE_DATE/DATE TAR:IND@INDICATOR "
         "SOU:K@WHERE=EMP.EMPNO/CHAR(6)"},
        {"a qualified host variable and CHAR(date, USA)",
         sqlData,
         {"EXEC SQL SELECT CHAR(E.HIRE_DATE, USA) INTO :DCLEMP.HIRE-DATE",
          "    FROM EMP E END-EXEC"},
         "SQL SELECT TAR:HIRE-DATE@INTO=CHAR(E.HIRE_DATE,USA)/DATE USA"},
        {"SET from a special register",
         sqlData,
         {"EXEC SQL SET :TS = CURRENT TIMESTAMP END-EXEC"},
         "SQL SET TAR:TS@SET=CURRENT TIMESTAMP/TIMESTAMP"},
        {"BETWEEN and IN compare with their column",
         sqlData,
         {"EXEC SQL DELETE FROM EMP WHERE HIRE_DATE BETWEEN :B AND :U",
          "    OR EMPNO IN (:K, :DCLEMP.EMPNO) END-EXEC"},
         "SQL DELETE SOU:B@WHERE=EMP.HIRE_DATE/DATE SOU:U@WHERE=EMP.HIRE_DATE/DATE "
         "SOU:K@WHERE=EMP.EMPNO/CHAR(6) SOU:EMPNO@WHERE=EMP.EMPNO/CHAR(6)"},
        {"a host structure stands for its items, column by column",
         sqlData,
         {"EXEC SQL INSERT INTO EMP VALUES (:DCLEMP) END-EXEC"},
         "SQL INSERT SOU:EMPNO@VALUES=EMP.EMPNO/CHAR(6) "
         "SOU:LASTNAME@VALUES=EMP.LASTNAME/VARCHAR(15) "
         "SOU:HIRE-DATE@VALUES=EMP.HIRE_DATE/DATE SOU:SALARY@VALUES=EMP.SALARY/DECIMAL(9,2)"},
        {"UPDATE stores into the assigned column",
         sqlData,
         {"EXEC SQL UPDATE EMP SET HIRE_DATE = :H, SALARY = 0", "    WHERE EMPNO = :K END-EXEC"},
         "SQL UPDATE SOU:H@SET=EMP.HIRE_DATE/DATE SOU:K@WHERE=EMP.EMPNO/CHAR(6)"},
        {"DL/I: long spelling, segment, I/O area and qualification",
         cicsData,
         {"EXEC DLI GET UNIQUE USING PCB(1) SEGMENT(EMPSEG)",
          "    INTO(REC) WHERE(EMPNO = K)",
          "END-EXEC"},
         "DLI GU SOU:1@PCB SOU:EMPSEG@SEGMENT TAR:REC@INTO=EMPSEG/ SOU:K@WHERE=EMPSEG.EMPNO/"},
    };
    for (const Case &c : cases) {
        const FrontEnd::Result r = FrontEnd(withSystemMembers())
                                       .parseText("/src/T.cbl", program(c.data, c.procedure));
        EXPECT_TRUE(r.recognised) << c.label;
        std::string facts = execFacts(r.data);
        // The data division's DECLARE TABLE comes first; it has a test of its own.
        if (facts.rfind("SQL DECLARE TABLE", 0) == 0)
            facts = facts.substr(facts.find(" | ") + 3);
        EXPECT_EQ(facts, c.expected) << c.label;
        EXPECT_EQ(diagnostics(r.data, Diagnostic::Severity::Error), "") << c.label;
    }
}

TEST(ExecParser, declareTableTiesColumnsToTheDclgenItemsAndFetchUsesTheCursorList)
{
    std::vector<std::string> data = dclgen;
    data.push_back("01 WS-HIRED PIC X(10).");
    data.push_back("    EXEC SQL DECLARE C1 CURSOR FOR SELECT EMPNO, HIRE_DATE");
    data.push_back("         FROM EMP END-EXEC.");
    const FrontEnd::Result r = FrontEnd(withSystemMembers())
                                   .parseText("/src/T.cbl",
                                              program(data,
                                                      {"EXEC SQL FETCH C1 INTO :EMPNO, :WS-HIRED",
                                                       "END-EXEC"}));
    EXPECT_EQ(execFacts(r.data),
              "SQL DECLARE TABLE COL:EMPNO@DECLARE TABLE=EMP.EMPNO/CHAR(6) "
              "COL:LASTNAME@DECLARE TABLE=EMP.LASTNAME/VARCHAR(15) "
              "COL:HIRE-DATE@DECLARE TABLE=EMP.HIRE_DATE/DATE "
              "COL:SALARY@DECLARE TABLE=EMP.SALARY/DECIMAL(9,2)"
              " | SQL DECLARE CURSOR"
              " | SQL FETCH TAR:EMPNO@INTO=EMP.EMPNO/CHAR(6) TAR:WS-HIRED@INTO=EMP.HIRE_DATE/DATE");
    // Data-division blocks belong to their section, procedure blocks to the procedure division.
    EXPECT_EQ(r.data.nodes[r.data.statements.front().paragraph - 1].name, "WORKING-STORAGE");
}

TEST(ExecParser, brokenBlocksGiveDiagnosticsWithTheirLineAndTheRestIsRead)
{
    const std::string text = program({"01 A PIC X(8).", "01 B PIC X(8)."},
                                     {"    EXEC CICS ASKTIME ABSTIME(A)",    // line 8, no END-EXEC
                                      "    MOVE A TO B",                     // line 9
                                      "    EXEC SQL SELECT X INTO :NOWHERE", // line 10
                                      "        FROM T END-EXEC",             // line 11
                                      "    EXEC SQL FLIP :A END-EXEC",       // line 12
                                      "    EXEC FOO BAR END-EXEC",           // line 13
                                      "    EXEC CICS SEND TEXT FROM(B) ERASE", // line 14
                                      "    ."});
    const FrontEnd::Result r = FrontEnd(withSystemMembers()).parseText("/src/T.cbl", text);
    EXPECT_TRUE(r.recognised);
    EXPECT_EQ(diagnostics(r.data, Diagnostic::Severity::Error),
              "8: Expected END-EXEC to close EXEC CICS, found \"MOVE\"; the block is taken to end "
              "on line 8.\n"
              "10: The host variable :NOWHERE in EXEC SQL is not declared.\n"
              "14: Expected END-EXEC to close EXEC CICS, found \".\"; the block is taken to end on "
              "line 14.\n");
    EXPECT_EQ(diagnostics(r.data, Diagnostic::Severity::Warning),
              "12: Unknown SQL statement FLIP: its host variables are taken as read by it.\n"
              "13: Unknown EXEC language FOO: expected CICS, SQL or DLI; the block is skipped.\n");
    // The statement after the broken block is still a fact, and every block is a statement.
    std::string kinds;
    for (const Statement &s : r.data.statements)
        kinds += std::string(toString(s.kind)) + " ";
    EXPECT_EQ(kinds, "EXEC MOVE EXEC EXEC EXEC EXEC ");
    EXPECT_EQ(
        execFacts(r.data),
        "CICS ASKTIME TAR:A@ABSTIME | SQL SELECT TAR:NOWHERE@INTO=T.X/ | SQL FLIP SOU:A@ | FOO"
        " | CICS SEND TEXT SOU:B@FROM");
}

TEST(ExecParser, sqlTextEndsWhereItsBlockEndsEvenWithoutEndExec)
{
    // After an EXEC SQL block without END-EXEC, commas and "--" are COBOL's again: the MOVE
    // keeps both receivers.
    const std::string text = program({"01 A PIC X(8).", "01 B PIC X(8).", "01 C PIC X(8)."},
                                     {"    EXEC SQL SELECT X, Y INTO :A, :B FROM T",
                                      "    MOVE A TO B, C",
                                      "    EXEC CICS RETURN",
                                      "    EXEC SQL DELETE FROM T WHERE X IN (:A, :B) END-EXEC"});
    const FrontEnd::Result r = FrontEnd(withSystemMembers()).parseText("/src/T.cbl", text);
    std::string moves;
    for (const Statement &s : r.data.statements)
        if (s.kind == StatementKind::Move)
            for (const Operand &op : s.operands)
                moves += op.text + " ";
    EXPECT_EQ(moves, "A B C ");
    EXPECT_EQ(execFacts(r.data),
              "SQL SELECT TAR:A@INTO=T.X/ TAR:B@INTO=T.Y/ | CICS RETURN"
              " | SQL DELETE SOU:A@WHERE=T.X/ SOU:B@WHERE=T.X/");
}

TEST(ExecParser, systemMembersAndImplicitBlocksYieldToTheUsersOwn)
{
    SourceTree tree;
    // The user's SQLCA wins over the installation's.
    tree.write("SQLCA.cpy", "       01 SQLCA.\n           05 SQLCODE PIC S9(9) COMP.\n");
    const std::string cics = tree.write("CICSP.cbl",
                                        program({"COPY DFHAID.",
                                                 "COPY DFHBMSCA.",
                                                 "    EXEC SQL INCLUDE SQLCA END-EXEC."},
                                                {"    IF EIBAID = DFHPF3 AND EIBCALEN > 0",
                                                 "       MOVE DFHBMPRO TO DFHCOMMAREA",
                                                 "    END-IF",
                                                 "    EXEC CICS RETURN END-EXEC"}));
    const FrontEnd::Result r = FrontEnd(withSystemMembers()).parseFile(cics);
    EXPECT_EQ(diagnostics(r.data, Diagnostic::Severity::Warning), "");
    EXPECT_EQ(diagnostics(r.data, Diagnostic::Severity::Error), "");
    std::string includes;
    for (const Include &inc : r.data.includes)
        if (inc.id > 0)
            includes += inc.copybook + (inc.implicit ? "*" : "") + "@"
                        + (inc.path.rfind(tree.dir(), 0) == 0 ? "user" : "system") + " ";
    EXPECT_EQ(includes,
              "DFHAID@system DFHBMSCA@system SQLCA@user DFHEIBLK*@system "
              "DFHCOMMAREA*@system ");
    ASSERT_TRUE(named(r.data, "EIBDATE"));
    EXPECT_EQ(named(r.data, "EIBDATE")->area, StorageArea::Linkage);
    EXPECT_EQ(named(r.data, "EIBDATE")->usage, Usage::Packed);
    EXPECT_EQ(named(r.data, "DFHEIBLK")->length, 85u);
    EXPECT_EQ(named(r.data, "SQLCODE")->usage, Usage::Binary) << "the user's SQLCA";

    // A program that declares its own commarea and DFHEIBLK member gets no second one; EXEC DLI
    // adds the DL/I interface block to working storage.
    tree.write("DFHEIBLK.cpy", "       01 DFHEIBLK.\n           02 EIBDATE PIC S9(7) COMP-3.\n");
    std::string text = program({"01 WS-X PIC X."},
                               {"    EXEC CICS RETURN END-EXEC", "    EXEC DLI TERM END-EXEC"});
    text.replace(text.find("       PROCEDURE"),
                 0,
                 "       LINKAGE SECTION.\n       01 DFHCOMMAREA PIC X(20).\n");
    const FrontEnd::Result o = FrontEnd(withSystemMembers())
                                   .parseText(tree.dir() + "/OWN.cbl", text);
    includes.clear();
    for (const Include &inc : o.data.includes)
        if (inc.id > 0)
            includes += inc.copybook + (inc.path.rfind(tree.dir(), 0) == 0 ? "@user " : "@system ");
    EXPECT_EQ(includes, "DFHEIBLK@user DLZDIB@system ");
    EXPECT_EQ(named(o.data, "DFHCOMMAREA")->length, 20u);
    EXPECT_EQ(named(o.data, "DIBSTAT")->area, StorageArea::WorkingStorage);
}

TEST(ExecParser, execStatementsSurviveTheAnalysisDataFile)
{
    std::vector<std::string> data = dclgen;
    data.push_back("01 H PIC X(10).");
    const FrontEnd::Result r = FrontEnd(withSystemMembers())
                                   .parseText("/src/T.cbl",
                                              program(data,
                                                      {"EXEC SQL SELECT HIRE_DATE INTO :H FROM EMP",
                                                       "END-EXEC",
                                                       "EXEC CICS RETURN END-EXEC"}));
    std::stringstream file;
    r.data.write(file);
    const AnalysisData back = AnalysisData::read(file, "T.adt");
    EXPECT_EQ(execFacts(back), execFacts(r.data));
    ASSERT_EQ(back.includes.size(), r.data.includes.size());
    for (std::size_t i = 0; i < back.includes.size(); ++i)
        EXPECT_EQ(back.includes[i].implicit, r.data.includes[i].implicit) << i;
    EXPECT_NE(execFacts(back).find("TAR:H@INTO=EMP.HIRE_DATE/DATE"), std::string::npos);
}

} // namespace
