// EXEC CICS, SQL and DLI blocks in the conversion: never rewritten, windowed around.
#include "TestPrograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace vyquext;
using namespace vyquext::test;

namespace {

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool hasRemark(const ConversionLog &log, std::size_t line, const std::string &reason)
{
    for (const Remark &remark : log.remarks)
        if (remark.line == line && remark.reason.find(reason) != std::string::npos)
            return true;
    return false;
}

TEST(ExecBlocks, areNeverRewrittenAndTheStatementsAroundThemAre)
{
    const std::string text = fixedProgram(
        {"IF A-YY < B-YY",                                    // 28
         "   EXEC CICS SEND TEXT FROM(WS) END-EXEC",          // 29
         "END-IF",                                            // 30
         "EXEC SQL SELECT X INTO :A-YY FROM T",               // 31
         "     WHERE T.Y < :B-YY AND T.Z = :WS.K-NEVER",      // 32: periods inside the block
         "END-EXEC",                                          // 33
         "IF A-DATE < B-DATE CONTINUE END-IF",                // 34
         "EXEC SQL SELECT Y INTO :C-YY FROM T",               // 35: no END-EXEC ...
         "IF C-YY < B-YY CONTINUE END-IF",                    // 36: ... it ends before this IF
         "IF A-YY < B-YY EXEC CICS RETURN END-EXEC END-IF"}); // 37: shares its line
    const ConversionResult result = convertProgram(text);
    const std::vector<std::string> before = linesOf(text);
    const std::vector<std::string> after = linesOf(result.text);
    // Every line an EXEC block stands on comes out as it went in (rewritten lines may grow into
    // continuation lines, so the lines are looked up, not counted).
    for (std::size_t line : {29u, 31u, 32u, 33u, 35u, 37u})
        EXPECT_NE(std::find(after.begin(), after.end(), before[line - 1]), after.end())
            << "line " << line << ": " << before[line - 1] << "\n"
            << result.text;
    for (const char *windowed : {"IF FUNCTION MOD(A-YY - 50, 100) <",
                                 "IF FUNCTION MOD(A-DATE - 500000, 1000000) <",
                                 "IF FUNCTION MOD(C-YY - 50, 100) <"})
        EXPECT_NE(result.text.find(windowed), std::string::npos) << windowed << "\n" << result.text;
    EXPECT_TRUE(hasRemark(result.log, 37, "shares its line with an EXEC block"));
    EXPECT_TRUE(hasRemark(result.log, 37, "shares its line with an EXEC block"));
    std::size_t changes = 0;
    for (const Change &change : result.log.changes)
        changes += change.undone ? 0 : 1;
    EXPECT_EQ(changes, 3u);
}

TEST(ExecBlocks, aWindowTheFindingsPutInsideABlockIsLeftWithWhatToDo)
{
    const std::string text = fixedProgram({"EXEC SQL DELETE FROM T",    // 28
                                           "     WHERE T.SHIP < :A-YY", // 29
                                           "END-EXEC"});
    const ConversionResult result
        = convertProgram(text,
                         50,
                         standardFindings()
                             + "WINDOW\t/src/T.cbl\t28\t12\tA-YY,SQL column T.SHIP\tcomparison "
                               "with a two-digit year\n");
    EXPECT_EQ(result.text, text);
    ASSERT_TRUE(hasRemark(result.log, 28, "EXEC blocks are never rewritten"));
    for (const Remark &remark : result.log.remarks) {
        if (remark.line == 28) {
            EXPECT_EQ(remark.what.rfind("EXEC SQL block of lines 28-30", 0), 0u) << remark.what;
            EXPECT_EQ(remark.severity, Remark::Severity::Warning);
        }
    }
}

TEST(ExecBlocks, includedMembersGivePicturesAndACenturyDateIsANote)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path()
                                      / ("chronex-vyq-exec-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "DCLORD.cpy") << "       01 DCLORD.\n"
                                         "          10 SHIP-YMD PIC 9(6).\n"
                                         "          10 ORD-CDATE PIC S9(7) COMP-3.\n";
    std::string text = fixedProgram({"IF SHIP-YMD < A-DATE CONTINUE END-IF"});
    text.replace(text.find("       01 WS."), 0, "           EXEC SQL INCLUDE DCLORD END-EXEC.\n");
    const std::string member = (dir / "DCLORD.cpy").string();
    const std::string findings
        = standardFindings() + "FIELD\t" + member
          + "\t2\tSHIP-YMD\tUSED-AS-YEAR\t1-2\tDCLORD\t1-2\tDCLORD\tDEFAULT\t"
            "1-2\nFIELD\t"
          + member
          + "\t3\tORD-CDATE\tUSED-AS-YEAR\t2-2\tDCLORD\t8-8\tDCLORD\t"
            "DEFAULT\t8-8\n";
    const ConversionResult result = Converter::convert(SourceFile::fromText(text, "/src/T.cbl"),
                                                       FindingsFile::parse(findings, "/o/T.xca"),
                                                       50,
                                                       {dir.string()});
    std::filesystem::remove_all(dir);
    ASSERT_TRUE(result.fields.find("SHIP-YMD"));
    EXPECT_EQ(result.fields.find("SHIP-YMD")->shape, DateShape::YearFirstDate);
    EXPECT_NE(result.text.find("FUNCTION MOD(SHIP-YMD - 500000, 1000000)"), std::string::npos)
        << result.text;
    ASSERT_TRUE(result.fields.find("ORD-CDATE"));
    EXPECT_TRUE(result.fields.find("ORD-CDATE")->centuryDate);
    bool note = false;
    for (const Remark &remark : result.log.remarks)
        note = note
               || (remark.what == "date field ORD-CDATE"
                   && remark.severity == Remark::Severity::Note);
    EXPECT_TRUE(note);
}

} // namespace
