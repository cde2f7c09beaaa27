#include "FrontEnd.h"
#include "Preprocessor.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace cobol;

namespace {

/// The sources of one test, removed at its end.
using SourceTree = TemporaryDirectory;

std::string program(const std::string &data, const std::string &procedure)
{
    return "       IDENTIFICATION DIVISION.\n"
           "       PROGRAM-ID. T.\n"
           "       DATA DIVISION.\n"
           "       WORKING-STORAGE SECTION.\n"
           + data + "       PROCEDURE DIVISION.\n" + procedure + "           STOP RUN.\n";
}

FrontEnd::Result parse(const std::string &text, FrontEnd::Options options = {})
{
    return FrontEnd(options).parseText("/src/T.cbl", text);
}

const DataItem *named(const AnalysisData &data, const std::string &name)
{
    for (const DataItem &item : data.items)
        if (item.name == name)
            return &item;
    return nullptr;
}

/// Statement facts in a compact form: "KIND[/context][:detail] role:operand ..." where an item
/// operand shows its name with sign, subscripts and reference modification.
std::string facts(const AnalysisData &data)
{
    std::string out;
    for (const Statement &s : data.statements) {
        if (!out.empty())
            out += " | ";
        out += std::string(toString(s.kind));
        if (s.context != StatementContext::None)
            out.append("/").append(toString(s.context));
        if (!s.detail.empty())
            out.append(":").append(s.detail);
        if (s.nonLinear)
            out += "~";
        for (const Operand &op : s.operands) {
            out.append(" ").append(toString(op.role).substr(0, 3)).append(":");
            if (op.sign)
                out += op.sign > 0 ? "+" : "-";
            out += op.kind == OperandKind::Item && op.item ? data.item(op.item)->name : op.text;
            if (!op.function.empty())
                out += "@" + op.function;
            if (!op.subscripts.empty()) {
                out += "(";
                for (std::size_t k = 0; k < op.subscripts.size(); ++k) {
                    out += k ? "," : "";
                    out += op.subscripts[k].item ? data.item(op.subscripts[k].item)->name
                                                 : op.subscripts[k].literal;
                }
                out += ")";
            }
            if (op.refMod == RefMod::Constant)
                out.append("[")
                    .append(std::to_string(op.refOffset))
                    .append(":")
                    .append(std::to_string(op.refLength))
                    .append("]");
            else if (op.refMod == RefMod::Variable)
                out += "[var]";
        }
    }
    return out;
}

const char *const commonData = "       01 A PIC 99.\n"
                               "       01 B PIC 99.\n"
                               "       01 C PIC 9(4).\n"
                               "       01 I PIC 99.\n"
                               "       01 G.\n"
                               "          05 G-YY PIC 99.\n"
                               "          05 G-T OCCURS 5 PIC 99.\n"
                               "       01 H.\n"
                               "          05 G-YY PIC 99.\n"
                               "       01 FLAG PIC X.\n"
                               "          88 IS-ON VALUE 'Y'.\n";

} // namespace

TEST(FrontEnd, fixedFormatIgnoresSequenceAndIdentificationAreas)
{
    // Columns 1-6 and 73-80 hold text that must not be read; a literal open at column 72
    // continues after the quote of the next "-" line, its trailing blanks kept.
    auto line = [](const std::string &columns1to72, const std::string &tail = "") {
        std::string text = columns1to72;
        if (!tail.empty())
            text.resize(72, ' ');
        return text + tail + "\n";
    };
    const std::string literalLine = "000500 01 A PIC X(70) VALUE 'ABC";
    const std::string text = line("000100 IDENTIFICATION DIVISION.", "IGNORED1")
                             + line("000200 PROGRAM-ID. T.") + line("000300*COMMENT MOVE A TO B")
                             + line("000400/PAGE") + line("       data division.")
                             + line("       working-storage section.") + line(literalLine, "MOVE 3")
                             + line("      -    'DEF'.") + line("       01 LONG-NA")
                             + line("      -    ME PIC 9.") + line("000600D01 DEBUG-ONLY PIC X.")
                             + line("       01\tTABBED PIC 99.")
                             + line("       PROCEDURE DIVISION.")
                             + line("           MOVE 1 TO LONG-NAME.", "MOVE 2");
    const FrontEnd::Result r = parse(text);
    EXPECT_TRUE(r.recognised);
    EXPECT_EQ(r.errorCount, 0u);
    ASSERT_EQ(r.data.items.size(), 3u);
    EXPECT_EQ(r.data.items[0].value, "'ABC" + std::string(72 - literalLine.size(), ' ') + "DEF'");
    EXPECT_EQ(r.data.items[1].name, "LONG-NAME");
    EXPECT_EQ(r.data.items[2].name, "TABBED");
    EXPECT_EQ(r.data.items[2].place.column, 8u);
    EXPECT_EQ(facts(r.data), "MOVE SOU:1 TAR:LONG-NAME");
}

TEST(FrontEnd, freeFormatByDirective)
{
    const std::string text = ">>SOURCE FORMAT IS FREE\n"
                             "identification division. program-id. t.\n"
                             "data division. working-storage section.\n"
                             "01 a pic 99. *> comment\n"
                             "procedure division.\n"
                             "move 1 to a. stop run.\n";
    const FrontEnd::Result r = parse(text);
    EXPECT_TRUE(r.recognised);
    EXPECT_TRUE(r.data.freeFormat);
    EXPECT_EQ(r.data.programName, "T");
    EXPECT_EQ(facts(r.data), "MOVE SOU:1 TAR:A");
}

TEST(FrontEnd, statementFacts)
{
    struct Case
    {
        const char *label;
        const char *procedure;
        const char *expected;
    };
    const Case cases[] = {
        {"move with refmod and subscript",
         "           MOVE G-T(I)(1:2) TO A\n",
         "MOVE SOU:G-T(I)[1:2] TAR:A"},
        {"qualified name", "           MOVE G-YY OF H TO A\n", "MOVE SOU:G-YY TAR:A"},
        {"blank before subscript and refmod",
         "           MOVE G-T (I) TO C (1:2)\n",
         "MOVE SOU:G-T(I) TAR:C[1:2]"},
        {"relative subscript",
         "           MOVE G-T(I + 1) TO G-T(2)\n",
         "MOVE SOU:G-T(I) TAR:G-T(2)"},
        {"variable refmod", "           MOVE C(I:2) TO A\n", "MOVE SOU:C(I)[var] TAR:A"},
        {"move corresponding", "           MOVE CORR G TO H\n", "MOVE-CORRESPONDING SOU:G TAR:H"},
        {"compute signs",
         "           COMPUTE A = B - (C - I) + 1\n",
         "COMPUTE TAR:+A SOU:+B SOU:-C SOU:+I SOU:+1"},
        {"compute non-linear",
         "           COMPUTE A ROUNDED = B * 2 + C\n",
         "COMPUTE~ TAR:+A SOU:B SOU:2 SOU:+C"},
        {"add giving", "           ADD A B TO C GIVING I\n", "ADD SOU:+A SOU:+B SOU:+C TAR:+I"},
        {"subtract", "           SUBTRACT A FROM C\n", "SUBTRACT SOU:-A TAR:+C"},
        {"divide remainder",
         "           DIVIDE A INTO C GIVING I REMAINDER B\n",
         "DIVIDE~ SOU:A SOU:C TAR:I REM:B"},
        {"if with abbreviated condition",
         "           IF A = B OR 5 AND NOT C > 1 CONTINUE END-IF\n",
         "COMPARE/IF:= COM:A COM:B | COMPARE/IF:= COM:A COM:5 | COMPARE/IF:> COM:C COM:1"},
        {"condition name is no comparison",
         "           IF IS-ON MOVE 1 TO A END-IF\n",
         "MOVE SOU:1 TAR:A"},
        {"evaluate subject and thru",
         "           EVALUATE A WHEN 1 THRU 5 CONTINUE WHEN OTHER CONTINUE END-EVALUATE\n",
         "COMPARE/EVALUATE:>= COM:A COM:1 | COMPARE/EVALUATE:<= COM:A COM:5"},
        {"evaluate true",
         "           EVALUATE TRUE WHEN A < B CONTINUE END-EVALUATE\n",
         "COMPARE/EVALUATE:< COM:A COM:B"},
        {"perform varying",
         "           PERFORM VARYING I FROM 1 BY 1 UNTIL I > 5 CONTINUE END-PERFORM\n",
         "PERFORM-VARYING COU:I SOU:1 SOU:1 | COMPARE/PERFORM-UNTIL:> COM:I COM:5"},
        {"perform times and procedure",
         "           PERFORM P1 THRU P2 A TIMES\n",
         "PERFORM PRO:P1 PRO:P2 | PERFORM-TIMES COU:A"},
        {"search when",
         "           SEARCH G-T WHEN G-T(I) = A CONTINUE END-SEARCH\n",
         "COMPARE/SEARCH-WHEN:= COM:G-T(I) COM:A"},
        {"accept from date forms",
         "           ACCEPT C FROM DATE YYYYMMDD\n           ACCEPT A FROM DAY\n",
         "ACCEPT:DATE-YYYYMMDD TAR:C | ACCEPT:DAY TAR:A"},
        {"functions",
         "           MOVE FUNCTION CURRENT-DATE(1:4) TO C\n"
         "           COMPUTE I = FUNCTION INTEGER-OF-DATE(C) - 1\n",
         "MOVE SOU:CURRENT-DATE[1:4] TAR:C | COMPUTE~ TAR:+I SOU:+INTEGER-OF-DATE SOU:-1 "
         "SOU:C@INTEGER-OF-DATE"},
        {"call and initialize",
         "           CALL 'SUB1' USING BY CONTENT A B\n           INITIALIZE G H\n",
         "CALL:SUB1 ARG:A ARG:B | INITIALIZE TAR:G TAR:H"},
        {"unknown statements are skipped",
         "           XYZZY A B C\n           DISPLAY A\n"
         "           MOVE 1 TO A\n",
         "MOVE SOU:1 TAR:A"},
    };
    for (const Case &c : cases) {
        const FrontEnd::Result r = parse(program(commonData, c.procedure));
        EXPECT_EQ(facts(r.data), c.expected) << c.label;
    }
}

TEST(FrontEnd, replaceStatementAppliesUntilReplaceOff)
{
    const FrontEnd::Result r = parse(
        program("       REPLACE ==:X:== BY ==A== LEADING ==Q-== BY ==G-==.\n"
                "       01 :X: PIC 99.\n"
                "       01 G.\n"
                "          05 Q-YY PIC 99.\n",
                "           MOVE :X: TO Q-YY\n"
                "           REPLACE OFF.\n"
                "           MOVE A TO G-YY\n"));
    EXPECT_EQ(r.errorCount, 0u);
    EXPECT_EQ(facts(r.data), "MOVE SOU:A TAR:G-YY | MOVE SOU:A TAR:G-YY");
}

TEST(FrontEnd, readIntoAndWriteFromUseTheFileRecord)
{
    const std::string text = "       IDENTIFICATION DIVISION.\n"
                             "       PROGRAM-ID. T.\n"
                             "       DATA DIVISION.\n"
                             "       FILE SECTION.\n"
                             "       FD IN-FILE.\n"
                             "       01 IN-REC PIC X(10).\n"
                             "       01 IN-REC2.\n"
                             "          05 IN-YY PIC 99.\n"
                             "       WORKING-STORAGE SECTION.\n"
                             "       01 W PIC X(10).\n"
                             "       PROCEDURE DIVISION.\n"
                             "           READ IN-FILE INTO W AT END CONTINUE END-READ\n"
                             "           WRITE IN-REC FROM W.\n";
    const FrontEnd::Result r = parse(text);
    EXPECT_EQ(facts(r.data), "READ SOU:IN-REC TAR:W | WRITE TAR:IN-REC SOU:W");
    const DataItem *rec2 = named(r.data, "IN-REC2");
    ASSERT_TRUE(rec2);
    EXPECT_EQ(rec2->storage, named(r.data, "IN-REC")->id);
    EXPECT_EQ(rec2->area, StorageArea::File);
}

TEST(FrontEnd, nestedCopyReplacingKeepsRealPlaces)
{
    SourceTree tree;
    tree.write("cpy/OUTER.cpy",
               "       01 :P:-REC.\n"
               "           05 :P:-ID PIC X(4).\n"
               "           COPY INNER REPLACING ==:Q:== BY ==YY==.\n");
    tree.write("cpy/INNER.cpy",
               "      * inner\n"
               "           05 :P:-:Q: PIC 99.\n");
    const std::string source = tree.write("src/P.cbl",
                                          program("       COPY OUTER REPLACING ==:P:== BY ==WS==.\n"
                                                  "       COPY OUTER OF LIBX.\n",
                                                  ""));
    FrontEnd::Options options;
    options.includeDirectories = {tree.dir() + "/cpy"};
    const FrontEnd::Result r = FrontEnd(options).parseFile(source);
    const AnalysisData &d = r.data;
    const DataItem *yy = named(d, "WS-YY");
    ASSERT_TRUE(yy) << (d.diagnostics.empty() ? "" : d.diagnostics.front().message);
    ASSERT_GE(d.includes.size(), 3u);
    const Include &inner = d.includes[yy->declaredIn];
    EXPECT_EQ(inner.copybook, "INNER");
    EXPECT_EQ(inner.parent, 1u);
    EXPECT_EQ(inner.copyLine, 3u);
    EXPECT_EQ(inner.qualifier.substr(0, 9), "DEFAULT+R");
    // The same INNER under the plain second include of OUTER is not replaced by :P: = WS.
    for (const Include &other : d.includes) {
        if (other.copybook == "INNER" && other.id != inner.id) {
            EXPECT_NE(other.qualifier, inner.qualifier);
        }
    }
    EXPECT_EQ(yy->place.line, 2u);
    EXPECT_EQ(yy->place.column, 12u);
    EXPECT_EQ(d.fileOf(yy->place.include), tree.dir() + "/cpy/INNER.cpy");
    EXPECT_EQ(d.includes[1].replacing.front().first, "==:P:==");
    // The second include of OUTER names a library and no REPLACING.
    bool library = false;
    for (const Include &inc : d.includes)
        library = library || (inc.copybook == "OUTER" && inc.qualifier == "LIB=LIBX");
    EXPECT_TRUE(library);
    // Canonical coordinates: INNER's item is the first byte of INNER, the 6th of OUTER.
    EXPECT_TRUE(yy->hasCanonical);
    EXPECT_EQ(yy->canonicalOffset, 0u);
    EXPECT_EQ(named(d, "WS-ID")->canonicalOffset, 0u);
    EXPECT_EQ(yy->offset, 4u);
    // The replaced token keeps the copybook's place and is marked.
    bool replacedSeen = false;
    for (const Token &t : d.tokens)
        if (t.text == "WS-YY") {
            replacedSeen = true;
            EXPECT_TRUE(t.replaced);
            EXPECT_EQ(t.place.line, 2u);
        }
    EXPECT_TRUE(replacedSeen);
}

TEST(FrontEnd, inputsThatBreakAnalysers)
{
    SourceTree tree;
    tree.write("PF.cpy",
               "           05 (PFX)-YY PIC 99.\n"
               "           05 AB-MM PIC 99.\n"
               "           05 MM-AB PIC 99.\n");
    const std::string source
        = tree.write("P.cbl",
                     "       CBL APOST,NODYNAM\n"
                     "       PROCESS XREF\n"
                     "       IDENTIFICATION DIVISION.\n"
                     "       PROGRAM-ID. P.\n"
                     "       DATA DIVISION.\n"
                     "       WORKING-STORAGE SECTION.\n"
                     "       01 R.\n"
                     "       COPY PF REPLACING ==(PFX)== BY ==WS== LEADING ==AB== BY ==CD==\n"
                     "               TRAILING ==AB== BY ==EF== ==WS== BY ==NOT-FIRST==.\n"
                     "           EXEC SQL INCLUDE SQLCA END-EXEC.\n"
                     "       EJECT\n"
                     "       01 CCYY PIC X(4).\n"
                     "       01 JUL PIC S9(7) COMP-3.\n"
                     "          88 NEVER-EXPIRES VALUE 9999999.\n"
                     "       PROCEDURE DIVISION.\n"
                     "       SKIP1\n"
                     "           STRING '19' WS-YY DELIMITED BY SIZE INTO CCYY\n"
                     "           ADD JUL TO WS-YY GIVING CD-MM.\n");
    const FrontEnd::Result r = FrontEnd({}).parseFile(source);
    EXPECT_TRUE(r.recognised);
    for (const char *name : {"WS-YY", "CD-MM", "MM-EF", "CCYY", "JUL", "NEVER-EXPIRES"})
        EXPECT_TRUE(named(r.data, name)) << name;
    EXPECT_EQ(named(r.data, "JUL")->length, 4u);
    EXPECT_EQ(named(r.data, "NEVER-EXPIRES")->value, "9999999");
    // EXEC SQL INCLUDE is a statement of its own (its member, SQLCA, is not on the search path
    // here, which a diagnostic says).
    EXPECT_EQ(facts(r.data),
              "EXEC:SQL INCLUDE SOU:SQLCA | STRING SOU:'19' SOU:WS-YY TAR:CCYY"
              " | ADD SOU:+JUL SOU:+WS-YY TAR:+CD-MM");
}

TEST(FrontEnd, copybookErrorsAreDiagnosedWithTheirPlace)
{
    SourceTree tree;
    tree.write("SELF.cpy", "           05 X PIC X.\n           COPY SELF.\n");
    const std::string source
        = tree.write("P.cbl",
                     program("       01 R.\n           COPY SELF.\n           COPY NOPE.\n", ""));
    const FrontEnd::Result r = FrontEnd({}).parseFile(source);
    std::string messages;
    for (const Diagnostic &d : r.data.diagnostics)
        messages += r.data.fileOf(d.place.include) + ":" + std::to_string(d.place.line) + " "
                    + d.message + "\n";
    EXPECT_NE(messages.find("SELF.cpy:2 Copybook SELF includes itself"), std::string::npos)
        << messages;
    EXPECT_NE(messages.find("P.cbl:7 Copybook NOPE was not found"), std::string::npos) << messages;
    EXPECT_TRUE(r.recognised);

    // A COPY without its period loses nothing after it.
    const FrontEnd::Result broken = FrontEnd({}).parseFile(
        tree.write("Q.cbl",
                   program("       01 R.\n       COPY SELF\n       01 AFTER PIC X.\n", "")));
    EXPECT_TRUE(broken.recognised);
    EXPECT_TRUE(named(broken.data, "AFTER"));
}

TEST(FrontEnd, aCopyExpansionBeyondItsLimitsStopsWithAnError)
{
    // Each level includes the next twice: 2^24 includes if nothing stopped it.
    SourceTree tree;
    for (int level = 1; level < 24; ++level) {
        const std::string next = "C" + std::to_string(level + 1);
        tree.write("C" + std::to_string(level) + ".cpy",
                   "           COPY " + next + ".\n           COPY " + next + ".\n");
    }
    tree.write("C24.cpy", "           05 X PIC X.\n");
    const FrontEnd::Result doubling = FrontEnd({}).parseFile(
        tree.write("P.cbl", program("       01 R.\n           COPY C1.\n", "")));
    EXPECT_TRUE(doubling.expansionLimitReached);
    EXPECT_EQ(doubling.data.includes.size(), Preprocessor::maxIncludes + 1);
    std::size_t limitErrors = 0;
    for (const Diagnostic &d : doubling.data.diagnostics)
        limitErrors += d.message.starts_with("The COPY statements expand to more than 10000 "
                                             "copybook includes")
                           ? 1
                           : 0;
    EXPECT_EQ(limitErrors, 1u);

    // One copybook of more lines than the limit.
    tree.write("BIG.cpy", std::string(Preprocessor::maxExpandedLines + 1, '\n'));
    const FrontEnd::Result big = FrontEnd({}).parseFile(
        tree.write("Q.cbl",
                   program("       01 R.\n           COPY BIG.\n       01 AFTER PIC X.\n", "")));
    EXPECT_TRUE(big.expansionLimitReached);
    ASSERT_FALSE(big.data.diagnostics.empty());
    EXPECT_NE(big.data.diagnostics.back().message.find("more than 2000000 lines"),
              std::string::npos);
    EXPECT_TRUE(named(big.data, "AFTER")) << "the program around the COPY is still read";

    EXPECT_FALSE(parse(program("       01 A PIC X.\n", "")).expansionLimitReached);
}

TEST(FrontEnd, copybooksAreFoundThroughCobcpyAndExtensions)
{
    SourceTree tree;
    tree.write("lib1/DATEX.CBL", "       01 DX PIC 9(6).\n");
    const std::string source = tree.write("src/P.cbl", program("       COPY DATEX.\n", ""));
    FrontEnd::Options options;
    options.cobcpyDirectories = FrontEnd::splitSearchPath("::" + tree.dir()
                                                          + "/nothere:" + tree.dir() + "/lib1");
    const FrontEnd::Result r = FrontEnd(options).parseFile(source);
    ASSERT_TRUE(named(r.data, "DX"));
    EXPECT_EQ(r.data.includes[1].path, tree.dir() + "/lib1/DATEX.CBL");
}

TEST(FrontEnd, layoutVariesWhenSyncOrReplacingChangesTheCopybook)
{
    SourceTree tree;
    tree.write("SY.cpy",
               "           05 SY-A PIC X.\n"
               "           05 SY-B PIC S9(9) COMP SYNC.\n");
    tree.write("RP.cpy",
               "           05 RP-A PIC X(:N:).\n"
               "           05 RP-B PIC 99.\n");
    const std::string source = tree.write("P.cbl",
                                          program("       01 R1.\n"
                                                  "           05 PAD PIC X(2).\n"
                                                  "           COPY SY.\n"
                                                  "       01 R2.\n"
                                                  "           COPY RP REPLACING ==:N:== BY ==3==.\n"
                                                  "       01 R3.\n"
                                                  "           05 PAD3 PIC X(8).\n"
                                                  "           COPY SY.\n",
                                                  ""));
    const FrontEnd::Result r = FrontEnd({}).parseFile(source);
    const AnalysisData &d = r.data;
    std::vector<const DataItem *> syB;
    for (const DataItem &item : d.items)
        if (item.name == "SY-B")
            syB.push_back(&item);
    ASSERT_EQ(syB.size(), 2u);
    // At offset 2 the SYNC slack differs from the copybook alone (alone: SY-B at 4).
    EXPECT_TRUE(syB[0]->layoutVaries);
    EXPECT_EQ(syB[0]->offset, 4u);
    EXPECT_EQ(syB[0]->canonicalOffset, 2u);
    // At offset 8 the slack is the same as alone.
    EXPECT_FALSE(syB[1]->layoutVaries);
    EXPECT_EQ(syB[1]->canonicalOffset, 4u);
    EXPECT_TRUE(named(d, "RP-B")->layoutVaries);
    EXPECT_EQ(named(d, "RP-B")->canonicalOffset, 3u);
}

TEST(FrontEnd, malformedSourcesGiveDiagnosticsNotCrashes)
{
    const char *const sources[] = {
        "",
        "       IDENTIFICATION DIVISION.\n",
        ("       IDENTIFICATION DIVISION.\n       PROGRAM-ID. X.\n       DATA DIVISION.\n"
         "       WORKING-STORAGE SECTION.\n       01 A PIC X(\n       05 B OCCURS.\n"
         "       66 C RENAMES NOPE.\n       PROCEDURE DIVISION.\n           MOVE TO.\n"
         "           IF ( ( A = .\n           COMPUTE = * .\n           MOVE A(1:.\n"),
        ("       ID DIVISION.\n       PROGRAM-ID. X.\n       PROCEDURE DIVISION.\n"
         "           DISPLAY 'unterminated\n"),
    };
    for (const char *text : sources) {
        const FrontEnd::Result r = parse(text);
        if (std::string(text).find("PROCEDURE") == std::string::npos) {
            EXPECT_FALSE(r.recognised);
            EXPECT_GT(r.errorCount, 0u);
        }
    }
    const FrontEnd::Result r = parse(sources[3]);
    ASSERT_FALSE(r.data.diagnostics.empty());
    EXPECT_EQ(r.data.diagnostics.front().place.line, 4u);
}

TEST(FrontEnd, copybookTokensTakeThePlaceOfTheirCopyStatements)
{
    // The expansion rearranges the program's tokens in place: copybooks that add more tokens
    // than their COPY statement takes push the rest towards the end, empty ones pull it towards
    // the start, and both may alternate.
    SourceTree tree;
    std::string big;
    for (int i = 1; i <= 40; ++i)
        big += " B" + std::to_string(i);
    tree.write("cpy/BIG.cpy", big + "\n");
    tree.write("cpy/ONE.cpy", "ONE\n");
    tree.write("cpy/EMPTY.cpy", "*> nothing but a comment\n");
    tree.write("cpy/NEST.cpy", "X COPY BIG. Y COPY EMPTY. Z\n");
    tree.write("cpy/REP.cpy", "REPLACE ==A== BY ==R==.\n");
    const std::string bigText = big.substr(1);
    // A run longer than the shift: it overlaps its own new place and that of the run before it.
    std::string tail;
    for (int i = 1; i <= 60; ++i)
        tail += " T" + std::to_string(i);
    const struct
    {
        std::string source;
        std::string expected;
    } cases[] = {
        {"A COPY BIG. C", "A " + bigText + " C"},
        {"COPY EMPTY. A B C", "A B C"},
        {"A COPY EMPTY. B COPY BIG. C COPY ONE. D COPY EMPTY. E COPY EMPTY.",
         "A B " + bigText + " C ONE D E"},
        {"COPY BIG. COPY ONE. COPY BIG.", bigText + " ONE " + bigText},
        {"A COPY NEST. C", "A X " + bigText + " Y Z C"},
        {"EJECT A SKIP1 COPY ONE. B TITLE 'T'. C", "A ONE B C"},
        {"COPY REP. A B A", "R B R"},
        {"REPLACE ==A== BY ==R==. A COPY ONE. A", "R ONE R"},
        {"A B C", "A B C"},
        {"A COPY BIG. B C COPY ONE." + tail, "A " + bigText + " B C ONE" + tail},
        {"A COPY EMPTY. B C COPY BIG." + tail, "A B C " + bigText + tail},
    };
    Preprocessor::Options options;
    options.format = SourceFormat::Free;
    options.includeDirectories = {tree.dir() + "/cpy"};
    for (const auto &c : cases) {
        std::vector<Include> includes;
        std::vector<Diagnostic> diagnostics;
        Preprocessor preprocessor(options, includes, diagnostics);
        std::string texts;
        for (const LexToken &t : preprocessor.run(tree.dir() + "/P.cbl", c.source))
            texts.append(texts.empty() ? "" : " ").append(t.text());
        EXPECT_EQ(texts, c.expected) << c.source;
        EXPECT_TRUE(diagnostics.empty()) << c.source << ": " << diagnostics.front().message;
    }
}
