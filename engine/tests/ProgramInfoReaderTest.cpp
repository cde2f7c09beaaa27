#include "CopybookEntry.h"
#include "IException.h"
#include "ProgramInfo.h"
#include "SeedTable.h"
#include "SeedTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

const char *const header = "<PROGRAM-INFO>\n"
                           "<FILE> PAY.cbl </FILE>\n"
                           "<FILE> DATES </FILE>\n"
                           "</PROGRAM-INFO>\n";

struct ReadFixture
{
    std::ostringstream trace;
    SeedTable table{XcompTrace(XcompTrace::Switch::On, trace)};
    ProgramInfo program{"PAY"};

    bool read(const std::string &text)
    {
        std::istringstream in(text);
        return table.readProgramInfo(program, in);
    }

    Runs runs(const std::string &copybook, const std::string &qualifier) const
    {
        const CopybookEntry *entry = table.copybook(copybook);
        const IncludeEntry *include = entry ? entry->includeEntry(qualifier) : nullptr;
        return include ? include->intervals() : Runs{};
    }
};

std::string block(const std::string &kind, const std::string &indexLine)
{
    return "<" + kind + ">\n" + indexLine + "\n</" + kind + ">\n";
}

} // namespace

TEST(ProgramInfoReader, ReadsCopybooksAndMergesTheirResults)
{
    ReadFixture f;
    const bool changed = f.read(std::string(header)
                                + "<INCLUDE> DATES  DQ  X \n"
                                  "noise before the results\n"
                                  "<RESULT>\n"
                                + block("ALWAYS-YEAR", "<INDEX> 5 <LENGTH> 2")
                                + "<USED-AS-NON-YEAR>\n"
                                  "  <INDEX>  7  <LENGTH>  3 more words\n"
                                  "ignored line\n"
                                  "</USED-AS-NON-YEAR>\n"
                                  "</RESULT>\n");
    EXPECT_TRUE(changed);
    EXPECT_EQ(f.runs("DATES", "DQ  X"), (Runs{{AY, 5, 2}, {UN, 7, 3}}));
    EXPECT_EQ(f.trace.str(),
              "XCOMP:  PAY is add CopyBook DATES\n"
              "XCOMP:  Adding new entry  DQ  X\n"
              "XCOMP:  DQ  X changed by PAY\n"
              "\n"
              "XCOMP:  Table Changed.\n");
    EXPECT_EQ(f.table.currentProgram(), nullptr);
}

TEST(ProgramInfoReader, ReadsTolerantlyWhatTheRulesAllow)
{
    const struct
    {
        const char *label;
        std::string text;
        Runs expected; // runs of DATES / Q
        bool changed;
    } cases[] = {
        {"an empty file", "", {}, false},
        {"tags inside longer lines",
         "xx <PROGRAM-INFO> yy\n<FILE>PAY.cbl</FILE>\n  a <FILE>  DATES  </FILE> b\n"
         "-</PROGRAM-INFO>-\n pre <INCLUDE>DATES Q\n<RESULT>\n  <ALWAYS-YEAR>  \n"
         "<INDEX>1<LENGTH>2\nz</ALWAYS-YEAR>z\n</RESULT>\n",
         {{AY, 1, 2}},
         true},
        {"an include of a copybook not listed",
         std::string(header) + "<INCLUDE> OTHER Q\n<RESULT>\n"
             + block("ALWAYS-YEAR", "<INDEX> 1 <LENGTH> 2") + "</RESULT>\n",
         {},
         false},
        {"a file ending before the results makes an entry without runs",
         std::string(header) + "<INCLUDE> DATES Q\nnoise\n",
         {},
         true},
        {"a file ending inside a kind block keeps the run read",
         std::string(header) + "<INCLUDE> DATES Q\n<RESULT>\n<ALWAYS-YEAR>\n<INDEX> 3 <LENGTH> 4\n",
         {{AY, 3, 4}},
         true},
        {"a file ending after a kind name",
         std::string(header) + "<INCLUDE> DATES Q\n<RESULT>\n<ALWAYS-YEAR>",
         {},
         true},
        {"a missing closing tag swallows the rest of the file",
         std::string(header) + "<INCLUDE> DATES Q\n<RESULT>\n<ALWAYS-YEAR>\n<INDEX> 1 <LENGTH> 1\n"
             + block("ALWAYS-NON-YEAR", "<INDEX> 5 <LENGTH> 1") + "</RESULT>\n",
         {{AY, 1, 1}},
         true},
        {"numbers stop at the first non-digit",
         std::string(header) + "<INCLUDE> DATES Q\n<RESULT>\n"
             + block("USED-AS-YEAR", "<INDEX> 12ab <LENGTH> 3,4") + "</RESULT>\n",
         {{UY, 12, 3}},
         true},
        {"numbers beyond 32 bits drop their run",
         std::string(header) + "<INCLUDE> DATES Q\n<RESULT>\n"
             + block("USED-AS-YEAR", "<INDEX> 4294967296 <LENGTH> 1")
             + block("USED-AS-YEAR", "<INDEX> 1 <LENGTH> 99999999999999999999")
             + block("USED-AS-YEAR", "<INDEX> 4294967295 <LENGTH> 4294967295") + "</RESULT>\n",
         {{UY, 4294967295u, 1}},
         true},
        {"an index line without tags gives no run",
         std::string(header) + "<INCLUDE> DATES Q\n<RESULT>\n" + block("USED-AS-YEAR", "5 2")
             + "</RESULT>\n",
         {},
         true},
        {"windows line ends",
         "<PROGRAM-INFO>\r\n<FILE>P</FILE>\r\n<FILE>DATES</FILE>\r\n</PROGRAM-INFO>\r\n"
         "<INCLUDE> DATES Q\r\n<RESULT>\r\n<ALWAYS-YEAR>\r\n<INDEX> 1 <LENGTH> 2\r\n"
         "</ALWAYS-YEAR>\r\n</RESULT>\r\n",
         {{AY, 1, 2}},
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        ReadFixture f;
        EXPECT_EQ(f.read(c.text), c.changed);
        EXPECT_EQ(f.runs("DATES", "Q"), c.expected);
        EXPECT_TRUE(f.table.isConsistent());
    }
}

TEST(ProgramInfoReader, AddsTheCopybooksOfSeveralBlocksToTheSameProgram)
{
    ReadFixture f;
    f.read("<PROGRAM-INFO>\n<FILE> P </FILE>\n<FILE> A </FILE>\n</PROGRAM-INFO>\n"
           "<PROGRAM-INFO>\n<FILE> P </FILE>\n<FILE> B </FILE>\n<FILE> A </FILE>\n"
           "<FILE></FILE>\nno tag\n</PROGRAM-INFO>\n"
           "<PROGRAM-INFO>\n</PROGRAM-INFO>\n<FILE> NOT-A-COPYBOOK </FILE>\n");
    EXPECT_EQ(f.program.copybooks().size(), 2u);
    EXPECT_TRUE(f.program.includes("A"));
    EXPECT_TRUE(f.program.includes("B"));
}

TEST(ProgramInfoReader, ReadsOverlongLinesInPiecesOf999Characters)
{
    ReadFixture f;
    // The copybook tag starts after the first 999 characters, so it is found in the second read.
    f.read("<PROGRAM-INFO>\n<FILE> P </FILE>\n" + std::string(1000, 'x')
           + "<FILE> DATES </FILE>\n</PROGRAM-INFO>\n"
             "<INCLUDE> DATES "
           + std::string(1200, 'Q') + "\n<RESULT>\n" + block("ALWAYS-YEAR", "<INDEX> 1 <LENGTH> 2")
           + "</RESULT>\n");
    ASSERT_TRUE(f.program.includes("DATES"));
    const auto &entries = f.table.copybook("DATES")->includeEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries.begin()->first, std::string(999 - 16, 'Q'));
}

TEST(ProgramInfoReader, RejectsAnUnknownKindAndKeepsWhatWasMergedBefore)
{
    for (const char *kind : {"always-year", "YEAR", ""}) {
        SCOPED_TRACE(kind);
        ReadFixture f;
        try {
            f.read(std::string(header) + "<INCLUDE> DATES A\n<RESULT>\n"
                   + block("ALWAYS-YEAR", "<INDEX> 1 <LENGTH> 2") + "</RESULT>\n"
                   + "<INCLUDE> DATES B\n<RESULT>\n" + block(kind, "<INDEX> 1 <LENGTH> 2")
                   + "</RESULT>\n");
            ADD_FAILURE() << "no error";
        } catch (const IAccessError &error) {
            EXPECT_STREQ(error.what(), "Kind did not parse correctly");
        }
        EXPECT_EQ(f.runs("DATES", "A"), (Runs{{AY, 1, 2}}));
        EXPECT_EQ(f.table.copybook("DATES")->includeEntry("B"), nullptr);
        EXPECT_EQ(f.table.currentProgram(), nullptr);
    }
}

TEST(ProgramInfoReader, SurvivesBinaryGarbage)
{
    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage.push_back(static_cast<char>((i * 7919 + i / 3) % 256));
    for (const std::string &text :
         {garbage, std::string(header) + "<INCLUDE> DATES Q\n<RESULT>\n" + garbage}) {
        ReadFixture f;
        try {
            f.read(text);
        } catch (const IAccessError &error) {
            // Garbage where a kind name belongs is the one defined error.
            EXPECT_STREQ(error.what(), "Kind did not parse correctly");
        }
        EXPECT_TRUE(f.table.isConsistent());
        EXPECT_EQ(f.table.currentProgram(), nullptr);
    }
}

TEST(ProgramInfoReader, ReportsTheTableChangedUntilTheSeedBlocksAreWritten)
{
    const std::string text = std::string(header) + "<INCLUDE> DATES Q\n<RESULT>\n"
                             + block("ALWAYS-YEAR", "<INDEX> 1 <LENGTH> 2") + "</RESULT>\n";
    ReadFixture f;
    EXPECT_TRUE(f.read(text));
    f.trace.str("");
    EXPECT_TRUE(f.read(text)) << "nothing new, but the earlier change is not written yet";
    EXPECT_EQ(f.trace.str(), "XCOMP:  Entry already exists  Q\n");

    std::ostringstream seed;
    f.table.writeSeedEntries(seed);
    EXPECT_FALSE(f.read(text));
}

TEST(ProgramInfoReader, TheEndOfTheFileEndsAnIncludeBlockLikeItsClosingTags)
{
    // Cut short before "<RESULT>" or inside the results: either way the block ends there and is
    // merged, so the trace and the seed blocks written next show the entry.
    const struct
    {
        const char *label;
        std::string tail;
        const char *seedRuns;
    } cases[] = {
        {"before the results", "noise\n", ""},
        {"inside the results",
         "<RESULT>\n<USED-AS-YEAR>\n<INDEX> 3 <LENGTH> 2\n",
         "  <used-as-year> <index> 3 <length> 2\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        ReadFixture f;
        EXPECT_TRUE(f.read(std::string(header) + "<INCLUDE> DATES Q\n" + c.tail));
        ASSERT_NE(f.table.copybook("DATES")->includeEntry("Q"), nullptr);
        EXPECT_TRUE(f.trace.str().starts_with("XCOMP:  PAY is add CopyBook DATES\n"
                                              "XCOMP:  Adding new entry  Q\n"
                                              "XCOMP:  Q changed by PAY\n"))
            << f.trace.str();
        std::ostringstream seed;
        EXPECT_TRUE(f.table.writeSeedEntries(seed));
        EXPECT_EQ(seed.str(),
                  std::string("<SEED> <INCLUDE> DATES Q\n") + c.seedRuns + "</SEED>\n\n");
    }
}
