#pragma once

#include <string>

/// COBOL programs for the data map's tests and benchmarks.
namespace MapPrograms {

/// Groups, OCCURS, level 88s, a REDEFINES of a REDEFINES, a 66 RENAMES, FILLER, a record that
/// redefines another, a 77 item, and a date field the analysis finds (CUST-BIRTH, used with
/// ACCEPT FROM DATE).
inline const char *const customer = "       IDENTIFICATION DIVISION.\n"
                                    "       PROGRAM-ID. MAPTEST.\n"
                                    "       DATA DIVISION.\n"
                                    "       WORKING-STORAGE SECTION.\n"
                                    "       01  CUST-REC.\n"
                                    "           05  CUST-ID                 PIC 9(6).\n"
                                    "           05  CUST-NAME.\n"
                                    "               10  CUST-FIRST          PIC X(10).\n"
                                    "               10  CUST-LAST           PIC X(15).\n"
                                    "           05  CUST-BIRTH              PIC 9(6).\n"
                                    "           05  CUST-BIRTH-R REDEFINES CUST-BIRTH.\n"
                                    "               10  CUST-BIRTH-YY       PIC 99.\n"
                                    "               10  CUST-BIRTH-MMDD     PIC 9(4).\n"
                                    "           05  CUST-BIRTH-X REDEFINES CUST-BIRTH-R PIC X(6).\n"
                                    "           05  CUST-STATUS             PIC X.\n"
                                    "               88  CUST-ACTIVE         VALUE 'A'.\n"
                                    "               88  CUST-CLOSED         VALUE 'C'.\n"
                                    "           05  CUST-ORDERS             OCCURS 12 TIMES.\n"
                                    "               10  ORD-NO              PIC 9(5).\n"
                                    "               10  ORD-DATE            PIC 9(6).\n"
                                    "           05  FILLER                  PIC X(3).\n"
                                    "       66  CUST-KEY RENAMES CUST-ID THRU CUST-NAME.\n"
                                    "       01  WS-FLAT                     PIC X(4).\n"
                                    "       01  WS-FLAT-R REDEFINES WS-FLAT PIC 9(4).\n"
                                    "       77  WS-COUNT                    PIC 99.\n"
                                    "       01  WS-PLAIN.\n"
                                    "           05  WS-GROUP.\n"
                                    "               88  WS-GROUP-EMPTY      VALUE SPACES.\n"
                                    "               10  WS-GROUP-A          PIC X.\n"
                                    "               10  WS-GROUP-B          PIC X(2).\n"
                                    "           05  WS-ABCDEFGHIJKLMNOPQRSTUVWXYZ1 PIC X.\n"
                                    "       PROCEDURE DIVISION.\n"
                                    "           MOVE 1 TO WS-COUNT\n"
                                    "           ACCEPT CUST-BIRTH FROM DATE\n"
                                    "           IF CUST-BIRTH-YY < 50 DISPLAY CUST-KEY END-IF\n"
                                    "           DISPLAY WS-PLAIN WS-FLAT-R\n"
                                    "           STOP RUN.\n";

/// A program whose one record has `items` elementary items in groups of ten, each group
/// occurring twice, every name 30 characters long.
inline std::string bigRecord(int items)
{
    std::string text = "       IDENTIFICATION DIVISION.\n"
                       "       PROGRAM-ID. BIGREC.\n"
                       "       DATA DIVISION.\n"
                       "       WORKING-STORAGE SECTION.\n"
                       "       01  BIG-RECORD.\n";
    auto name = [](const char *prefix, int n) {
        std::string number = std::to_string(n);
        std::string base = std::string(prefix) + "-";
        return base + std::string(30 - base.size() - number.size(), 'X') + number;
    };
    for (int i = 0; i < items; ++i) {
        if (i % 10 == 0)
            text += "           05  " + name("GROUP", i / 10) + " OCCURS 2 TIMES.\n";
        text += "               10  " + name("ITEM", i) + " PIC X(4).\n";
    }
    text += "       PROCEDURE DIVISION.\n"
            "           DISPLAY BIG-RECORD\n"
            "           STOP RUN.\n";
    return text;
}

/// A record nested `depth` levels deep (levels 01, 02, ... up to 49), with an item at each level
/// and a huge OCCURS count at the bottom.
inline std::string deepRecord(int depth)
{
    std::string text = "       IDENTIFICATION DIVISION.\n"
                       "       PROGRAM-ID. DEEPREC.\n"
                       "       DATA DIVISION.\n"
                       "       WORKING-STORAGE SECTION.\n"
                       "       01  DEEP-1.\n";
    for (int level = 2; level <= depth; ++level) {
        const std::string number = std::string(level < 10 ? "0" : "").append(std::to_string(level));
        text += "           " + number + "  LEAF-" + std::to_string(level) + " PIC X.\n";
        if (level < depth)
            text += "           " + number + "  DEEP-" + std::to_string(level) + ".\n";
        else
            text += "           " + number + "  HUGE-TABLE OCCURS 99999999 TIMES PIC X(200).\n";
    }
    text += "       PROCEDURE DIVISION.\n"
            "           DISPLAY LEAF-2\n"
            "           STOP RUN.\n";
    return text;
}

} // namespace MapPrograms
