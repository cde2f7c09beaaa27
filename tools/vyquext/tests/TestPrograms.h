#pragma once

#include "Converter.h"

#include <string>
#include <vector>

namespace vyquext::test {

/// A fixed-format program with the date fields the rewrite tests use, and `statements` (one per
/// line, starting in column 12) as its procedure.
inline std::string fixedProgram(const std::vector<std::string> &statements)
{
    std::string text = "       IDENTIFICATION DIVISION.\n"
                       "       PROGRAM-ID. T.\n"
                       "       DATA DIVISION.\n"
                       "       WORKING-STORAGE SECTION.\n"
                       "       01 WS.\n"
                       "          05 A-YY PIC 99.\n"
                       "          05 B-YY PIC 99.\n"
                       "          05 C-YY PIC 99.\n"
                       "          05 K-YY PIC 99.\n"
                       "          05 X-YY PIC XX.\n"
                       "          05 K-NEVER PIC 99.\n"
                       "             88 NEVER-EXPIRES VALUE 99.\n"
                       "          05 A-DATE PIC 9(6).\n"
                       "          05 B-DATE PIC 9(6).\n"
                       "          05 MDY PIC 9(6).\n"
                       "          05 CNT PIC 99.\n"
                       "          05 CCYY PIC 9(4).\n"
                       "          05 WIDE PIC 9(4).\n"
                       "          05 C8-DATE PIC 9(8).\n"
                       "          05 AGE PIC S999.\n"
                       "          05 FLAG PIC X.\n"
                       "             88 FLAG-ON VALUE 'Y'.\n"
                       "       01 TBL.\n"
                       "          05 ENT OCCURS 10 ASCENDING KEY ENT-YY INDEXED BY IX.\n"
                       "             10 ENT-YY PIC 99.\n"
                       "       PROCEDURE DIVISION.\n"
                       "       MAIN-PARA.\n";
    for (const std::string &statement : statements)
        text += "           " + statement + "\n";
    text += "           STOP RUN.\n";
    return text;
}

/// The findings kelmkpu would write for fixedProgram's fields.
inline std::string standardFindings()
{
    std::string text = "CHRONEX-XCA\t1\nPROGRAM\t/src/T.cbl\tON\t\n";
    auto field = [&](const char *name, const char *kind, const char *bytes) {
        text += std::string("FIELD\t/src/T.cbl\t6\t") + name + "\t" + kind + "\t" + bytes
                + "\tWS\t1-2\t\t\t\n";
    };
    field("A-YY", "ALWAYS-YEAR", "1-2");
    field("B-YY", "ALWAYS-YEAR", "1-2");
    field("C-YY", "USED-AS-YEAR", "1-2");
    field("K-YY", "ALWAYS-CONFLICT", "1-2");
    field("X-YY", "USED-AS-YEAR", "1-2");
    field("K-NEVER", "ALWAYS-YEAR", "1-2");
    field("A-DATE", "USED-AS-YEAR", "1-2");
    field("B-DATE", "USED-AS-YEAR", "1-2");
    field("MDY", "USED-AS-YEAR", "5-6");
    field("CCYY", "ALWAYS-YEAR", "1-4");
    field("C8-DATE", "ALWAYS-YEAR", "1-4");
    field("ENT-YY", "ALWAYS-YEAR", "1-2");
    return text;
}

inline ConversionResult convertProgram(const std::string &text,
                                       int pivot = 50,
                                       const std::string &findings = standardFindings())
{
    return Converter::convert(SourceFile::fromText(text, "/src/T.cbl"),
                              FindingsFile::parse(findings, "/out/T.xca"),
                              pivot,
                              {});
}

} // namespace vyquext::test
