#include "TestPrograms.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <stdlib.h>

using namespace vyquext;
using namespace vyquext::test;

namespace {

enum class Expect { Change, LeftForPerson, Error, Note };

struct Case
{
    const char *label;
    const char *statement;
    Expect expect;
    const char *text; ///< in the change's new text, or in the remark's reason
};

const Case cases[] = {
    {"two-digit years compared",
     "IF A-YY < B-YY CONTINUE END-IF",
     Expect::Change,
     "FUNCTION MOD(A-YY - 50, 100) < FUNCTION MOD(B-YY - 50, 100)"},
    {"relation in words",
     "IF A-YY IS GREATER THAN OR EQUAL TO B-YY CONTINUE END-IF",
     Expect::Change,
     "FUNCTION MOD(A-YY - 50, 100) IS GREATER THAN OR EQUAL TO FUNCTION MOD(B-YY - 50, 100)"},
    {"NOT LESS",
     "IF A-YY NOT < B-YY CONTINUE END-IF",
     Expect::Change,
     "FUNCTION MOD(A-YY - 50, 100) NOT < FUNCTION MOD(B-YY - 50, 100)"},
    {"literal windowed when converting",
     "IF A-YY > 95 CONTINUE END-IF",
     Expect::Change,
     "FUNCTION MOD(A-YY - 50, 100) > 45"},
    {"ZERO is a literal 0", "IF A-YY > ZERO CONTINUE END-IF", Expect::Change, "> 50"},
    {"abbreviated relation keeps the windowed subject",
     "IF A-YY < B-YY OR > C-YY CONTINUE END-IF",
     Expect::Change,
     "OR > FUNCTION MOD(C-YY - 50, 100)"},
    {"implied relation objects",
     "IF A-YY > 10 AND 20 CONTINUE END-IF",
     Expect::Change,
     "FUNCTION MOD(A-YY - 50, 100) > 60 AND 70"},
    {"condition name after AND is a condition of its own",
     "IF A-YY < B-YY AND FLAG-ON CONTINUE END-IF",
     Expect::Change,
     "FUNCTION MOD(B-YY - 50, 100)"},
    {"unknown word after OR",
     "IF A-YY < B-YY OR CNT CONTINUE END-IF",
     Expect::LeftForPerson,
     "abbreviated condition follows"},
    {"equality needs no window",
     "IF A-YY = B-YY CONTINUE END-IF",
     Expect::Note,
     "no change needed"},
    {"year against a counter",
     "IF A-YY < CNT CONTINUE END-IF",
     Expect::LeftForPerson,
     "not a known date field"},
    {"year against an expression",
     "IF A-YY < CNT + 1 CONTINUE END-IF",
     Expect::LeftForPerson,
     "arithmetic expression"},
    {"code windowed already",
     "IF A-YY < 50 MOVE 20 TO CNT ELSE MOVE 19 TO CNT END-IF",
     Expect::LeftForPerson,
     "windowed already"},
    {"YYMMDD dates",
     "IF A-DATE < B-DATE CONTINUE END-IF",
     Expect::Change,
     "FUNCTION MOD(A-DATE - 500000, 1000000) < FUNCTION MOD(B-DATE - 500000, 1000000)"},
    {"YYMMDD literal", "IF A-DATE < 491231 CONTINUE END-IF", Expect::Change, "< 991231"},
    {"year-last date", "IF MDY < A-DATE CONTINUE END-IF", Expect::LeftForPerson, "does not lead"},
    {"conflict", "IF K-YY < A-YY CONTINUE END-IF", Expect::Error, "year and non-year"},
    {"reference modification",
     "IF A-DATE(1:2) < B-YY CONTINUE END-IF",
     Expect::LeftForPerson,
     "reference modification"},
    {"alphanumeric year",
     "IF X-YY < A-YY CONTINUE END-IF",
     Expect::Change,
     "FUNCTION MOD(FUNCTION NUMVAL(X-YY) - 50, 100)"},
    {"subscripted year",
     "IF ENT-YY(IX) < A-YY CONTINUE END-IF",
     Expect::Change,
     "FUNCTION MOD(ENT-YY(IX) - 50, 100)"},
    {"PERFORM UNTIL",
     "PERFORM MAIN-PARA UNTIL A-YY > B-YY",
     Expect::Change,
     "FUNCTION MOD(A-YY - 50, 100) > FUNCTION MOD(B-YY - 50, 100)"},
    {"two-digit against four-digit year",
     "IF A-YY < CCYY CONTINUE END-IF",
     Expect::Change,
     "(1950 + FUNCTION MOD(A-YY - 50, 100)) < CCYY"},
    {"age by COMPUTE",
     "COMPUTE AGE = B-YY - A-YY",
     Expect::Change,
     "COMPUTE AGE = FUNCTION MOD(B-YY - 50, 100) - FUNCTION MOD(A-YY - 50, 100)"},
    {"age by SUBTRACT GIVING",
     "SUBTRACT A-YY FROM B-YY GIVING AGE",
     Expect::Change,
     "SUBTRACT FUNCTION MOD(A-YY - 50, 100) FROM FUNCTION MOD(B-YY - 50, 100) GIVING AGE"},
    {"a year plus a period", "ADD 1 TO A-YY", Expect::Note, "no change needed"},
    {"difference stored in a year",
     "COMPUTE C-YY = B-YY - A-YY",
     Expect::LeftForPerson,
     "stored in a two-digit year"},
    {"hard-coded century", "COMPUTE WIDE = A-YY + 1900", Expect::LeftForPerson, "hard-coded"},
    {"year widened into four digits",
     "COMPUTE CCYY = A-YY + CNT",
     Expect::Change,
     "COMPUTE CCYY = (1950 + FUNCTION MOD(A-YY - 50, 100)) + CNT"},
    {"year into a wide number not known as a year",
     "COMPUTE WIDE = A-YY + CNT",
     Expect::LeftForPerson,
     "not known as a two- or four-digit year"},
    {"MOVE into a wide number not known as a year",
     "MOVE A-YY TO WIDE",
     Expect::LeftForPerson,
     "not known as a date"},
    {"YYMMDD moved into CCYYMMDD",
     "MOVE A-DATE TO C8-DATE",
     Expect::Change,
     "COMPUTE C8-DATE = (19500000 + FUNCTION MOD(A-DATE - 500000, 1000000))"},
    {"MOVE into a four-digit year",
     "MOVE A-YY TO CCYY",
     Expect::Change,
     "COMPUTE CCYY = (1950 + FUNCTION MOD(A-YY - 50, 100))"},
    {"multiplication", "COMPUTE AGE = A-YY * 2", Expect::LeftForPerson, "multiplication"},
    {"size error",
     "COMPUTE AGE = B-YY - A-YY ON SIZE ERROR CONTINUE END-COMPUTE",
     Expect::LeftForPerson,
     "SIZE ERROR"},
    {"sort key",
     "SORT SFILE ON ASCENDING KEY A-YY USING F1 GIVING F2",
     Expect::LeftForPerson,
     "sort key"},
    {"SEARCH ALL",
     "SEARCH ALL ENT WHEN ENT-YY(IX) < A-YY CONTINUE END-SEARCH",
     Expect::LeftForPerson,
     "SEARCH ALL"},
    {"century in STRING",
     "STRING '19' A-YY DELIMITED BY SIZE INTO CCYY",
     Expect::LeftForPerson,
     "century hard-coded"},
    {"EVALUATE on a year",
     "EVALUATE A-YY WHEN 50 THRU 99 CONTINUE END-EVALUATE",
     Expect::LeftForPerson,
     "THRU"},
};

class Rewrite : public testing::TestWithParam<Case>
{};

TEST_P(Rewrite, DoesWhatTheCaseSays)
{
    const Case &c = GetParam();
    const ConversionResult result = convertProgram(fixedProgram({c.statement}));
    const ConversionLog &log = result.log;
    std::string seen;
    for (const Change &change : log.changes)
        seen += "\n  change: " + change.newText + (change.undone ? " (undone)" : "");
    for (const Remark &remark : log.remarks)
        seen += "\n  remark: " + remark.what + ": " + remark.reason;
    bool found = false;
    switch (c.expect) {
    case Expect::Change:
        for (const Change &change : log.changes)
            found = found || (!change.undone && change.newText.find(c.text) != std::string::npos);
        break;
    case Expect::LeftForPerson:
    case Expect::Error:
    case Expect::Note: {
        const Remark::Severity severity = c.expect == Expect::Note    ? Remark::Severity::Note
                                          : c.expect == Expect::Error ? Remark::Severity::Error
                                                                      : Remark::Severity::Warning;
        for (const Remark &remark : log.remarks)
            found = found
                    || (remark.line != 0 && remark.severity == severity
                        && remark.reason.find(c.text) != std::string::npos);
        if (c.expect != Expect::Note) {
            EXPECT_TRUE(log.changes.empty()) << "a statement left for a person must not change";
        }
        break;
    }
    }
    EXPECT_TRUE(found) << c.label << ": expected \"" << c.text << "\"; got:" << seen;
}

INSTANTIATE_TEST_SUITE_P(Statements,
                         Rewrite,
                         testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<Case> &info) {
                             std::string name;
                             for (const char *p = info.param.label; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(RewriteSettings, PivotMovesTheWindowOfLiterals)
{
    const ConversionResult result = convertProgram(fixedProgram({"IF A-YY > 95 CONTINUE END-IF"}),
                                                   /*pivot=*/30);
    ASSERT_EQ(result.log.changes.size(), 1u);
    EXPECT_EQ(result.log.changes[0].newText, "FUNCTION MOD(A-YY - 30, 100) > 65");
}

TEST(RewriteSettings, ReturnCodeFollowsTheWorstRemark)
{
    const std::string plain = "FIELD\t/src/T.cbl\t6\tA-YY\tALWAYS-YEAR\t1-2\tWS\t1-2\t\t\t\n"
                              "FIELD\t/src/T.cbl\t7\tB-YY\tALWAYS-YEAR\t1-2\tWS\t3-4\t\t\t\n";
    EXPECT_EQ(convertProgram(fixedProgram({"IF A-YY < B-YY CONTINUE END-IF"}), 50, plain)
                  .log.returnCode(),
              0);
    EXPECT_EQ(convertProgram(fixedProgram({"IF A-YY < CNT CONTINUE END-IF"}), 50, plain)
                  .log.returnCode(),
              4);
    // A conflicting field is an error even where it is not used.
    EXPECT_EQ(convertProgram(fixedProgram({"CONTINUE"})).log.returnCode(), 8);
}

TEST(RewriteSettings, MarkedStatementsWithoutARuleAreLeftForAPerson)
{
    std::string findings = "FIELD\t/src/T.cbl\t6\tA-YY\tALWAYS-YEAR\t1-2\tWS\t1-2\t\t\t\n";
    findings += "WINDOW\t/src/T.cbl\t28\t12\tA-YY\tcomparison with a two-digit year\n";
    findings += "WINDOW\t/src/DATES.cpy\t3\t12\tA-YY\tin the copybook\n";
    const ConversionResult result = convertProgram(fixedProgram({"DISPLAY A-YY"}), 50, findings);
    ASSERT_EQ(result.log.remarks.size(), 2u);
    EXPECT_EQ(result.log.remarks[0].line, 28u);
    EXPECT_NE(result.log.remarks[0].reason.find("no rewrite rule"), std::string::npos);
    EXPECT_EQ(result.log.remarks[1].line, 3u);
    EXPECT_EQ(result.log.remarks[1].file, "/src/DATES.cpy");
    EXPECT_NE(result.log.remarks[1].reason.find("copybooks are shared"), std::string::npos);
}

TEST(RewriteSettings, AYearWithASentinelConditionIsConvertedWithAWarning)
{
    const ConversionResult result = convertProgram(
        fixedProgram({"IF K-NEVER < A-YY CONTINUE END-IF"}));
    ASSERT_EQ(result.log.changes.size(), 1u);
    bool warned = false;
    for (const Remark &remark : result.log.remarks)
        warned = warned
                 || (remark.severity == Remark::Severity::Warning
                     && remark.reason.find("NEVER-EXPIRES on 99") != std::string::npos);
    EXPECT_TRUE(warned);
}

TEST(RewriteSettings, TheConvertedTextKeepsUntouchedLinesByteForByte)
{
    const std::string text = fixedProgram(
        {"DISPLAY 'A'\t*> a tab stays", "IF A-YY < B-YY", "    CONTINUE", "END-IF"});
    const ConversionResult result = convertProgram(text);
    ASSERT_EQ(result.log.changes.size(), 1u);
    EXPECT_NE(result.text.find("DISPLAY 'A'\t*> a tab stays\n"), std::string::npos);
    EXPECT_NE(result.text.find("           IF FUNCTION MOD(A-YY - 50, 100) <\n"
                               "               FUNCTION MOD(B-YY - 50, 100)\n"),
              std::string::npos)
        << result.text;
}

} // namespace

namespace {

TEST(Copybooks, ItemsOfAReplacedCopybookAreConvertedAtTheirUses)
{
    char pattern[] = "/tmp/vyquext-copy-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string directory = pattern;
    {
        std::ofstream copybook(directory + "/DATES.cpy");
        copybook << "       01 :P:-DATES.\n"
                    "          05 :P:-YY PIC 99.\n"
                    "          05 :P:-MMDD PIC 9(4).\n";
    }
    std::string text = fixedProgram({"IF WS-YY < A-YY CONTINUE END-IF"});
    text.insert(text.find("       PROCEDURE DIVISION."),
                "           COPY DATES REPLACING ==:P:== BY ==WS==.\n");
    const std::string findings
        = standardFindings() + "FIELD\t" + directory
          + "/DATES.cpy\t2\tWS-YY\tALWAYS-YEAR\t1-2\tWS-DATES\t1-2\tDATES\tDEFAULT+R0\t1-2\n";
    const ConversionResult result = Converter::convert(SourceFile::fromText(text, "/src/T.cbl"),
                                                       FindingsFile::parse(findings, "/out/T.xca"),
                                                       50,
                                                       {directory});
    std::filesystem::remove_all(directory);
    const DateField *field = result.fields.find("WS-YY");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->shape, DateShape::TwoDigitYear);
    EXPECT_TRUE(field->inCopybook);
    ASSERT_EQ(result.log.changes.size(), 1u);
    EXPECT_EQ(result.log.changes[0].newText,
              "FUNCTION MOD(WS-YY - 50, 100) < FUNCTION MOD(A-YY - 50, 100)");
}

} // namespace

namespace {

TEST(Groups, AGroupHoldingADateIsNoRemarkUntilItIsComparedAsAYear)
{
    const std::string findings = "FIELD\t/src/T.cbl\t6\tA-YY\tALWAYS-YEAR\t1-2\tWS\t1-2\t\t\t\n"
                                 "FIELD\t/src/T.cbl\t21\tENT\tALWAYS-YEAR\t1-2\tTBL\t1-2\t\t\t\n";
    const ConversionResult quiet = convertProgram(fixedProgram({"CONTINUE"}), 50, findings);
    ASSERT_NE(quiet.fields.find("ENT"), nullptr);
    EXPECT_EQ(quiet.fields.find("ENT")->shape, DateShape::Group);
    EXPECT_EQ(quiet.log.returnCode(), 0);
    const ConversionResult compared
        = convertProgram(fixedProgram({"IF ENT(IX) < A-YY CONTINUE END-IF"}), 50, findings);
    EXPECT_TRUE(compared.log.changes.empty());
    EXPECT_EQ(compared.log.returnCode(), 4);
}

} // namespace

namespace {

TEST(Idempotence, ConvertingTheConvertedProgramChangesNothing)
{
    const std::string original = fixedProgram({"IF A-YY < B-YY CONTINUE END-IF",
                                               "IF A-DATE > 491231 CONTINUE END-IF",
                                               "COMPUTE AGE = B-YY - A-YY",
                                               "SUBTRACT A-YY FROM B-YY GIVING AGE",
                                               "MOVE A-YY TO CCYY",
                                               "IF X-YY < A-YY CONTINUE END-IF"});
    const ConversionResult first = convertProgram(original);
    EXPECT_EQ(first.log.changes.size(), 6u);
    const ConversionResult second = convertProgram(first.text);
    EXPECT_TRUE(second.log.changes.empty());
    EXPECT_EQ(second.text, first.text);
    for (const Remark &remark : second.log.remarks)
        EXPECT_TRUE(remark.severity == Remark::Severity::Note || remark.line < 25)
            << remark.what << ": " << remark.reason;
}

} // namespace
