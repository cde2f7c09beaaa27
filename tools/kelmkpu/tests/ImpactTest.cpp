// Field impact over small multi-program units recorded as kelmkpu records them, with their
// hit lists worked out by hand.
#include "DbCopybookLayout.h"
#include "DbImpact.h"
#include "DbPu.h"
#include "RecordedUnits.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Sources = std::vector<std::pair<std::string, std::string>>;

/// Fixed-format program text: each line gets the seven columns before area A.
std::string cobol(std::initializer_list<const char *> lines)
{
    std::string text;
    for (const char *line : lines)
        text += std::string("       ") + line + "\n";
    return text;
}

std::string program(const char *name,
                    std::initializer_list<const char *> data,
                    std::initializer_list<const char *> procedure,
                    const char *using_ = "")
{
    std::string text = cobol({"IDENTIFICATION DIVISION."}) + "       PROGRAM-ID. " + name + ".\n"
                       + cobol({"DATA DIVISION."});
    for (const char *line : data)
        text += std::string("       ") + line + "\n";
    text += "       PROCEDURE DIVISION" + std::string(using_) + ".\n";
    for (const char *line : procedure)
        text += std::string("           ") + line + "\n";
    return text + "           GOBACK.\n";
}

/// One line per hit: "PROGRAM LINE MODE TEXT" and, when the bytes came through other
/// statements, " <- " and the chain; then the flows not followed.
std::vector<std::string> lines(const DbImpact &impact, const DbImpact::Result &result)
{
    std::vector<std::string> out;
    for (const DbImpact::Hit &hit : result.hits) {
        std::string line = hit.place.program + " " + std::to_string(hit.place.line) + " "
                           + DbImpact::modeText(hit.mode) + " " + hit.place.text;
        if (!hit.chain.empty())
            line += " <- " + DbImpact::chainText(hit.chain, impact);
        out.push_back(line);
    }
    for (const DbImpact::NotFollowed &entry : result.notFollowed)
        out.push_back(entry.place.program + " " + std::to_string(entry.place.line)
                      + " not followed: " + entry.reason);
    return out;
}

const std::string custrec = cobol({"01  CUST-REC.",
                                   "    05  CUST-ID    PIC 9(6).",
                                   "    05  CUST-NAME  PIC X(20).",
                                   "    05  CUST-EXP   PIC 9(6)."});

// Lines: 1 IDENTIFICATION, 2 PROGRAM-ID, 3 DATA DIVISION, then the data lines, PROCEDURE
// DIVISION, the statements.
const Sources sharedCopybook = {
    {"PROGA.cbl",
     program("PROGA",
             {"WORKING-STORAGE SECTION.",
              "COPY CUSTREC.",
              "01  WS-EXP   PIC 9(6).",
              "01  WS-NAME  PIC X(20)."},
             {"MOVE CUST-EXP TO WS-EXP.", "MOVE CUST-NAME TO WS-NAME."})},
    {"PROGB.cbl",
     program("PROGB",
             {"WORKING-STORAGE SECTION.",
              "COPY CUSTREC.",
              "01  WS-LIMIT  PIC 9(6) VALUE 991231.",
              "01  WS-FLAG   PIC 9."},
             {"IF CUST-EXP > WS-LIMIT", "    MOVE 1 TO WS-FLAG", "END-IF."})},
    {"PROGC.cbl",
     program("PROGC",
             {"WORKING-STORAGE SECTION.",
              "COPY CUSTREC.",
              "01  WS-COPY  PIC X(32).",
              "01  WS-OUT   PIC X(6).",
              "01  WS-ID    PIC X(6)."},
             {"MOVE CUST-REC TO WS-COPY.",
              "MOVE WS-COPY(27:6) TO WS-OUT.",
              "MOVE WS-COPY(1:6) TO WS-ID."})},
};

const Sources callUsing = {
    {"MAINP.cbl",
     program("MAINP",
             {"WORKING-STORAGE SECTION.",
              "01  WS-PARM.",
              "    05  WS-DATE  PIC 9(6).",
              "    05  WS-CODE  PIC X(2).",
              "01  WS-PGM  PIC X(8) VALUE 'SUBX'."},
             {"ACCEPT WS-DATE FROM DATE.",
              "CALL 'SUBD' USING WS-PARM.",
              "CALL 'OUTSIDE' USING WS-PARM.",
              "CALL WS-PGM USING WS-PARM."})},
    {"SUBD.cbl",
     program("SUBD",
             {"LINKAGE SECTION.",
              "01  LK-PARM.",
              "    05  LK-DATE  PIC 9(6).",
              "    05  LK-CODE  PIC X(2)."},
             {"IF LK-DATE < 500000", "    MOVE 'OK' TO LK-CODE", "END-IF."},
             " USING LK-PARM")},
};

const Sources redefinedDate = {
    {"DATER.cbl",
     program("DATER",
             {"WORKING-STORAGE SECTION.",
              "01  WS-DATE-GRP.",
              "    05  WS-YY  PIC 99.",
              "    05  WS-MM  PIC 99.",
              "    05  WS-DD  PIC 99.",
              "01  WS-DATE-NUM REDEFINES WS-DATE-GRP PIC 9(6).",
              "01  WS-OUT    PIC 9(6).",
              "01  WS-YEAR   PIC 9(4).",
              "01  WS-MONTH  PIC 99.",
              "01  WS-NOTE   PIC X(20)."},
             {"ACCEPT WS-DATE-GRP FROM DATE.",
              "MOVE WS-DATE-NUM TO WS-OUT.",
              "MOVE WS-YY TO WS-YEAR.",
              "MOVE WS-MM TO WS-MONTH.",
              "STRING WS-OUT DELIMITED BY SIZE INTO WS-NOTE."})},
};

struct Case
{
    const char *label;
    const Sources *sources;
    /// The query: unit name and symbol name, or copybook and bytes when `unit` is empty.
    const char *unit;
    const char *item;
    std::uint32_t first;
    std::uint32_t last;
    std::vector<std::string> expected;
};

} // namespace

TEST(Impact, hitListsOfSmallUnitsAreTheOnesWorkedOutByHand)
{
    const Case cases[] = {
        {"a field of a copybook shared by three programs",
         &sharedCopybook,
         "",
         "CUSTREC",
         27,
         32,
         {"PROGA 9 read/write MOVE CUST-EXP TO WS-EXP",
          "PROGB 9 read IF CUST-EXP > WS-LIMIT",
          "PROGC 10 read/write MOVE CUST-REC TO WS-COPY",
          "PROGC 11 read/write MOVE WS-COPY(27:6) TO WS-OUT <- PROGC 10 MOVE CUST-REC TO WS-COPY"}},
        {"the name field of the same copybook reaches none of the date's statements",
         &sharedCopybook,
         "PROGA",
         "CUST-NAME",
         0,
         0,
         {"PROGA 10 read/write MOVE CUST-NAME TO WS-NAME",
          "PROGC 10 read/write MOVE CUST-REC TO WS-COPY <- PROGC copybook CUSTREC bytes 7-26"}},
        {"CALL USING into the linkage section of a called unit",
         &callUsing,
         "MAINP",
         "WS-DATE",
         0,
         0,
         {"MAINP 10 write ACCEPT WS-DATE FROM DATE",
          "MAINP 11 read/write CALL 'SUBD' USING WS-PARM",
          "MAINP 12 read/write CALL 'OUTSIDE' USING WS-PARM",
          "MAINP 13 read/write CALL WS-PGM USING WS-PARM",
          "SUBD 9 read IF LK-DATE < 500000 <- MAINP 11 CALL 'SUBD' USING WS-PARM",
          "MAINP 12 not followed: CALL 'OUTSIDE': the program is not in the execution unit",
          "MAINP 13 not followed: dynamic CALL: the program is named by the data item WS-PGM, "
          "not by a literal"}},
        {"a linkage item goes back to the callers' arguments",
         &callUsing,
         "SUBD",
         "LK-CODE",
         0,
         0,
         {"MAINP 11 read/write CALL 'SUBD' USING WS-PARM <- MAINP 11 CALL 'SUBD' USING WS-PARM",
          "MAINP 12 read/write CALL 'OUTSIDE' USING WS-PARM <- MAINP 11 CALL 'SUBD' USING "
          "WS-PARM",
          "MAINP 13 read/write CALL WS-PGM USING WS-PARM <- MAINP 11 CALL 'SUBD' USING WS-PARM",
          "SUBD 10 write MOVE 'OK' TO LK-CODE",
          "MAINP 12 not followed: CALL 'OUTSIDE': the program is not in the execution unit",
          "MAINP 13 not followed: dynamic CALL: the program is named by the data item WS-PGM, "
          "not by a literal"}},
        {"the year of a date group seen through its REDEFINES",
         &redefinedDate,
         "DATER",
         "WS-YY",
         0,
         0,
         {"DATER 15 write ACCEPT WS-DATE-GRP FROM DATE",
          "DATER 16 read/write MOVE WS-DATE-NUM TO WS-OUT",
          "DATER 17 read/write MOVE WS-YY TO WS-YEAR",
          "DATER 19 read STRING WS-OUT DELIMITED BY SIZE INTO WS-NOTE <- DATER 16 MOVE "
          "WS-DATE-NUM TO WS-OUT",
          "DATER 19 not followed: STRING: the flow between its operands is not followed"}},
    };
    for (const Case &c : cases) {
        RecordedUnits units;
        for (const auto &[file, text] : *c.sources)
            units.recordText(file, text, {{"CUSTREC.cpy", custrec}});
        std::unique_ptr<DbImpact> impact = DbImpact::load(units.databasePath());
        EXPECT_TRUE(impact->loadWarnings().empty()) << c.label;
        DbImpact::Result result;
        if (*c.unit) {
            DbEu &eu = units.open();
            DbPu *pu = eu.puNamed(c.unit);
            ASSERT_TRUE(pu && pu->load()) << c.label;
            std::uint32_t symbol = 0;
            for (std::uint32_t n = 1; n <= pu->numberOfSymbols(); ++n)
                if (pu->symbol(n)->name() == c.item)
                    symbol = n;
            result = impact->ofItem(eu.puToNumber(pu) - 1, symbol);
        } else {
            result = impact->ofCopybook(c.item, c.first, c.last);
        }
        EXPECT_EQ(result.error, "") << c.label;
        EXPECT_EQ(lines(*impact, result), c.expected) << c.label;
    }
}
