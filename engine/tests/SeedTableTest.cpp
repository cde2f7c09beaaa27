#include "SeedTable.h"
#include "CopybookEntry.h"
#include "ProgramInfo.h"
#include "SeedTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

struct TableFixture
{
    std::ostringstream trace;
    SeedTable table{XcompTrace(XcompTrace::Switch::On, trace)};

    std::string takeTrace()
    {
        std::string text = trace.str();
        trace.str("");
        return text;
    }
};

} // namespace

TEST(SeedTable, WritesEveryEntryAsASeedBlockOnlyAfterAChange)
{
    TableFixture f;
    ProgramInfo program("PAY");
    std::ostringstream seed;
    EXPECT_FALSE(f.table.writeSeedEntries(seed));
    EXPECT_EQ(seed.str(), "");

    f.table.addCopybook(program, "EMPREC");
    f.table.addCopybook(program, "DATES");
    f.table.mergeInclude(program, "DATES", "Q2", {{AY, 17, 2}});
    f.table.mergeInclude(program, "DATES", "Q1", {{UY, 1, 4}, {AC, 9, 1}});
    f.table.mergeInclude(program, "EMPREC", "", {{UB, 3, 6}});
    f.takeTrace();

    EXPECT_TRUE(f.table.writeSeedEntries(seed));
    EXPECT_EQ(seed.str(),
              "<SEED> <INCLUDE> DATES Q1\n"
              "  <used-as-year> <index> 1 <length> 4\n"
              "  <always-year-and-non-year> <index> 9 <length> 1\n"
              "</SEED>\n"
              "\n"
              "<SEED> <INCLUDE> DATES Q2\n"
              "  <always-year> <index> 17 <length> 2\n"
              "</SEED>\n"
              "\n"
              "<SEED> <INCLUDE> EMPREC \n"
              "  <used-as-year-and-non-year> <index> 3 <length> 6\n"
              "</SEED>\n"
              "\n");
    EXPECT_EQ(f.takeTrace(), "XCOMP:  Generating new seed file.\n");
    EXPECT_FALSE(f.table.tableChanged());

    std::ostringstream again;
    EXPECT_FALSE(f.table.writeSeedEntries(again));
    EXPECT_EQ(again.str(), "");
    EXPECT_EQ(f.takeTrace(), "");
}

TEST(SeedTable, ReportsAChangeAsNewToOtherIncludersUntilTheChangerIsTested)
{
    TableFixture f;
    ProgramInfo changer("PAY");
    ProgramInfo other("RPT");
    ProgramInfo unrelated("MISC");
    f.table.addCopybook(changer, "DATES");
    f.table.addCopybook(other, "DATES");
    f.table.addCopybook(unrelated, "OTHER");
    f.table.mergeInclude(changer, "DATES", "Q", {{AY, 1, 2}});
    f.takeTrace();

    EXPECT_TRUE(f.table.hasNewCopybookData(other));
    EXPECT_EQ(f.takeTrace(), "XCOMP:  Testing RPT for new copybook data.--> Has NEW data\n");
    EXPECT_TRUE(f.table.hasNewCopybookData(other)) << "asking does not consume another's change";
    EXPECT_FALSE(f.table.hasNewCopybookData(unrelated));
    f.takeTrace();

    EXPECT_FALSE(f.table.hasNewCopybookData(changer));
    EXPECT_EQ(f.takeTrace(), "XCOMP:  Testing PAY for new copybook data.--> Nothing new\n");
    EXPECT_FALSE(f.table.hasNewCopybookData(other)) << "the changer's test cleared its mark";
}

TEST(SeedTable, KeepsTheChangeOfAProgramThatWentAwayAsNewsForTheOthers)
{
    TableFixture f;
    auto changer = std::make_unique<ProgramInfo>("PAY");
    ProgramInfo other("RPT");
    f.table.addCopybook(*changer, "DATES");
    f.table.addCopybook(other, "DATES");
    f.table.mergeInclude(*changer, "DATES", "Q", {{AY, 1, 2}});
    changer.reset();

    // A new program may reuse the old one's address; it is still not the changer.
    const auto successor = std::make_unique<ProgramInfo>("PAY");
    f.table.addCopybook(*successor, "DATES");
    EXPECT_TRUE(f.table.hasNewCopybookData(*successor));
    EXPECT_TRUE(f.table.hasNewCopybookData(other));
}

TEST(SeedTable, CountsAndTracesAProgramsCopybooks)
{
    TableFixture f;
    ProgramInfo program("PAY");
    f.table.addCopybook(program, "A");
    f.table.addCopybook(program, "B");
    f.table.addCopybook(program, "A");
    EXPECT_EQ(f.takeTrace(), "XCOMP:  PAY is add CopyBook A\nXCOMP:  PAY is add CopyBook B\n");
    EXPECT_EQ(f.table.copybookCount(program), 2u);
    EXPECT_EQ(f.takeTrace(), "XCOMP:  PAY has 2 copybooks.\n");
    ProgramInfo none("EMPTY");
    EXPECT_EQ(f.table.copybookCount(none), 0u);
    EXPECT_EQ(f.takeTrace(), "XCOMP:  EMPTY has 0 copybooks.\n");
}

TEST(SeedTable, SharesOneCopybookEntryBetweenItsIncluders)
{
    TableFixture f;
    ProgramInfo first("A");
    ProgramInfo second("B");
    f.table.addCopybook(first, "C");
    f.table.addCopybook(second, "C");
    f.table.mergeInclude(first, "C", "Q", {{AY, 1, 2}});
    f.table.mergeInclude(second, "C", "Q", {{AN, 1, 2}});
    EXPECT_EQ(f.table.copybooks().size(), 1u);
    EXPECT_EQ(first.copybooks().at("C"), second.copybooks().at("C"));
    EXPECT_EQ(f.table.copybook("C")->includeEntry("Q")->intervals(), (Runs{{AC, 1, 2}}));
    EXPECT_TRUE(f.table.copybook("C")->includeEntry("Q")->isChangedBy(second));
}

TEST(SeedTable, PrintsNothingWhenTheTraceIsOff)
{
    std::ostringstream out;
    SeedTable table(XcompTrace(XcompTrace::Switch::Off, out));
    ProgramInfo program("PAY");
    table.addCopybook(program, "C");
    table.mergeInclude(program, "C", "Q", {{AY, 1, 2}});
    table.mergeInclude(program, "C", "Q", {{AN, 1, 4}});
    table.hasNewCopybookData(program);
    table.copybookCount(program);
    std::ostringstream seed;
    EXPECT_TRUE(table.writeSeedEntries(seed));
    EXPECT_EQ(out.str(), "");
}
