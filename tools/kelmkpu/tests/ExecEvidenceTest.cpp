// Hand-worked CICS, SQL and DL/I programs through the front end and the analysis: one rule each.
#include "AnalysisDataAdapter.h"
#include "DateFieldAnalyzer.h"
#include "FrontEnd.h"
#include "SeedFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace kelmkpu;

namespace {

std::string fixed(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += "       " + line + "\n";
    return text;
}

/// "item=first-last KIND ..." for every field of the program (no seeds, no declaration
/// evidence), then " NOTE: ..." for the notes about EXEC commands.
std::string analyze(const std::vector<std::string> &data, const std::vector<std::string> &procedure)
{
    std::vector<std::string> lines = {"IDENTIFICATION DIVISION.",
                                      "PROGRAM-ID. T.",
                                      "DATA DIVISION.",
                                      "WORKING-STORAGE SECTION."};
    lines.insert(lines.end(), data.begin(), data.end());
    lines.push_back("PROCEDURE DIVISION.");
    lines.insert(lines.end(), procedure.begin(), procedure.end());
    lines.push_back("    STOP RUN.");
    cobol::FrontEnd::Options options;
    const char *source = std::getenv("CHRONEX_SOURCE_DIR");
    options.systemCopybookDirectories = {std::string(source ? source : ".")
                                         + "/tools/cobol/copybooks"};
    const cobol::FrontEnd::Result parsed = cobol::FrontEnd(options).parseText("T.cbl",
                                                                              fixed(lines));
    EXPECT_EQ(parsed.errorCount, 0u);
    const ProgramModel model = AnalysisDataAdapter::toModel(parsed.data);
    EXPECT_EQ(DateFieldAnalyzer::validate(model), "");
    DateFieldAnalyzer analyzer(model);
    const AnalysisResult result = analyzer.run(SeedFile(), DateFieldAnalyzer::Declarations::Off);
    std::string text;
    for (const FieldFinding &field : result.fields) {
        text += (text.empty() ? "" : " ") + model.items[field.item].name + "="
                + std::to_string(field.first) + "-" + std::to_string(field.first + field.length - 1)
                + " " + std::string(kindName(field.kind));
    }
    for (const Message &message : result.messages)
        if (message.severity == Severity::Note && message.text.rfind("EXEC", 0) == 0)
            text += " NOTE: " + message.text;
    return text;
}

struct Case
{
    const char *label;
    std::vector<std::string> data;
    std::vector<std::string> procedure;
    std::string expected;
};

const std::vector<std::string> dates = {"01 ABS PIC S9(15) COMP-3.",
                                        "01 X6 PIC X(6).",
                                        "01 X8 PIC X(8).",
                                        "01 X10 PIC X(10).",
                                        "01 YR PIC S9(8) COMP.",
                                        "01 MO PIC S9(8) COMP.",
                                        "01 P7 PIC S9(7) COMP-3.",
                                        "01 N6 PIC 9(6).",
                                        "01 M6 PIC 9(6)."};

TEST(ExecEvidence, eachCommandThatKnowsWhereTheYearIsSaysSo)
{
    const std::vector<Case> cases = {
        {"FORMATTIME YYMMDD: characters 1-2",
         dates,
         {"EXEC CICS FORMATTIME ABSTIME(ABS) YYMMDD(X6) END-EXEC"},
         "X6=1-2 USED-AS-YEAR"},
        {"FORMATTIME DDMMYY with DATESEP: DD/MM/YY, characters 7-8",
         dates,
         {"EXEC CICS FORMATTIME ABSTIME(ABS) DDMMYY(X8) DATESEP END-EXEC"},
         "X8=7-8 USED-AS-YEAR"},
        {"FORMATTIME MMDDYYYY without separator: characters 5-8",
         dates,
         {"EXEC CICS FORMATTIME ABSTIME(ABS) MMDDYYYY(X8) END-EXEC"},
         "X8=5-8 USED-AS-YEAR"},
        {"FORMATTIME YEAR: the whole binary value; MONTHOFYEAR is no year",
         dates,
         {"EXEC CICS FORMATTIME ABSTIME(ABS) YEAR(YR)", "     MONTHOFYEAR(MO) END-EXEC"},
         "YR=1-4 USED-AS-YEAR MO=1-4 USED-AS-NON-YEAR"},
        {"FORMATTIME DATE depends on the installation: a note, no evidence",
         dates,
         {"EXEC CICS FORMATTIME ABSTIME(ABS) DATE(X8) END-EXEC"},
         " NOTE: EXEC CICS FORMATTIME DATE(X8): the year's place depends on the "
         "installation's date format; no evidence"},
        {"EIBDATE, 0CYYDDD: the byte of YY, carried by a numeric MOVE",
         dates,
         {"MOVE EIBDATE TO P7", "EXEC CICS RETURN END-EXEC"},
         "P7=2-2 USED-AS-YEAR EIBDATE=2-2 USED-AS-YEAR"},
        {"EIBDATE unused: nothing", dates, {"EXEC CICS RETURN END-EXEC"}, ""},
        {"SQL CURRENT DATE: 'YYYY-MM-DD', characters 1-4",
         dates,
         {"EXEC SQL SELECT CURRENT DATE INTO :X10 FROM SYSIBM.SYSDUMMY1", "END-EXEC"},
         "X10=1-4 USED-AS-YEAR"},
        {"SQL CHAR(CURRENT DATE, EUR): 'DD.MM.YYYY', characters 7-10",
         dates,
         {"EXEC SQL VALUES CHAR(CURRENT DATE, EUR) INTO :X10 END-EXEC"},
         "X10=7-10 USED-AS-YEAR"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(analyze(c.data, c.procedure), c.expected) << c.label;
}

TEST(ExecEvidence, dataFlowsThroughWhatTheCommandsReadAndWrite)
{
    std::vector<std::string> sql = dates;
    for (const char *line : {"    EXEC SQL DECLARE EMP TABLE (EMPNO CHAR(6), HIRE_DATE DATE,",
                             "         LAST_YMD CHAR(6)) END-EXEC.",
                             "01 DCLEMP.",
                             "   10 EMPNO PIC X(6).",
                             "   10 HIRE-DATE PIC X(10).",
                             "   10 LAST-YMD PIC X(6)."})
        sql.push_back(line);
    std::vector<std::string> records = dates;
    for (const char *line : {"01 REC-A.",
                             "   05 A-DATE PIC 9(6).",
                             "   05 A-REST PIC X(20).",
                             "01 REC-B.",
                             "   05 B-DATE PIC 9(6).",
                             "   05 B-REST PIC X(20)."})
        records.push_back(line);
    const std::vector<Case> cases = {
        {"a DATE column: the host variable and the DCLGEN item, characters 1-4",
         sql,
         {"EXEC SQL SELECT HIRE_DATE INTO :X10 FROM EMP WHERE EMPNO = :X6", "END-EXEC"},
         "X10=1-4 USED-AS-YEAR HIRE-DATE=1-4 USED-AS-YEAR"},
        {"a column written with a year and read back elsewhere: as two MOVEs",
         sql,
         {"ACCEPT N6 FROM DATE",
          "MOVE N6 TO X6",
          "EXEC SQL UPDATE EMP SET LAST_YMD = :X6 END-EXEC",
          "EXEC SQL SELECT LAST_YMD INTO :M6 FROM EMP END-EXEC"},
         "X6=1-2 USED-AS-YEAR N6=1-2 USED-AS-YEAR M6=1-2 USED-AS-YEAR HIRE-DATE=1-4 "
         "USED-AS-YEAR LAST-YMD=1-2 USED-AS-YEAR"},
        {"an undeclared column joins through a column node of its own",
         dates,
         {"ACCEPT N6 FROM DATE",
          "EXEC SQL INSERT INTO ORD (SHIP) VALUES (:N6) END-EXEC",
          "EXEC SQL SELECT SHIP INTO :M6 FROM ORD END-EXEC"},
         "N6=1-2 USED-AS-YEAR M6=1-2 USED-AS-YEAR"},
        {"a predicate compares; CALL arguments give nothing",
         dates,
         {"ACCEPT N6 FROM DATE",
          "EXEC SQL DELETE FROM ORD WHERE SHIP < :N6 OR SHIP = :M6 END-EXEC",
          "EXEC SQL CALL PROC(:N6, :X6) END-EXEC"},
         "N6=1-2 USED-AS-YEAR M6=1-2 USED-AS-YEAR"},
        {"a CICS file written from one record is read into another",
         records,
         {"ACCEPT A-DATE FROM DATE",
          "EXEC CICS WRITE FILE('CUST') FROM(REC-A) RIDFLD(X6) END-EXEC",
          "EXEC CICS READ FILE('CUST') INTO(REC-B) RIDFLD(X6) END-EXEC"},
         "A-DATE=1-2 USED-AS-YEAR B-DATE=1-2 USED-AS-YEAR"},
        {"a queue of another name, or a LINK, joins nothing",
         records,
         {"ACCEPT A-DATE FROM DATE",
          "EXEC CICS WRITEQ TS QUEUE('Q1') FROM(REC-A) END-EXEC",
          "EXEC CICS READQ TS QUEUE('Q2') INTO(REC-B) END-EXEC",
          "EXEC CICS LINK PROGRAM('SUB') COMMAREA(REC-B) END-EXEC"},
         "A-DATE=1-2 USED-AS-YEAR NOTE: EXEC CICS LINK PROGRAM(SUB) COMMAREA(REC-B): data "
         "passed to it leaves the analysis"},
        {"a DL/I segment inserted from one area is read into another",
         records,
         {"ACCEPT A-DATE FROM DATE",
          "EXEC DLI ISRT SEGMENT(ORDSEG) FROM(REC-A) END-EXEC",
          "EXEC DLI GU SEGMENT(ORDSEG) INTO(REC-B) END-EXEC"},
         "A-DATE=1-2 USED-AS-YEAR B-DATE=1-2 USED-AS-YEAR"},
        {"the commarea of a pseudo-conversational RETURN is the next DFHCOMMAREA",
         records,
         {"ACCEPT A-DATE FROM DATE", "EXEC CICS RETURN TRANSID(EIBTRNID) COMMAREA(REC-A) END-EXEC"},
         "A-DATE=1-2 USED-AS-YEAR DFHCOMMAREA=1-1 USED-AS-YEAR"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(analyze(c.data, c.procedure), c.expected) << c.label;
}

} // namespace
