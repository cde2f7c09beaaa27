#include "CopybookEntry.h"
#include "ProgramInfo.h"
#include "SeedTable.h"
#include "SeedTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

std::size_t countOf(const std::string &text, const std::string &what)
{
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// A table with one program that includes copybook "C" and has stored runs under qualifier "Q";
// the flag and trace are reset so that only the merge under test shows.
struct MergeFixture
{
    std::ostringstream trace;
    SeedTable table{XcompTrace(XcompTrace::Switch::On, trace)};
    ProgramInfo program{"PROGA"};

    explicit MergeFixture(const Runs &stored)
    {
        table.addCopybook(program, "C");
        table.mergeInclude(program, "C", "Q", stored);
        std::ostringstream discard;
        table.writeSeedEntries(discard);
        trace.str("");
    }

    const Runs &runs() const { return table.copybook("C")->includeEntry("Q")->intervals(); }
};

} // namespace

TEST(SeedTableMerge, MergesRunByRunAndRecordsEveryNewByteOrKind)
{
    const struct
    {
        const char *label;
        Runs stored;
        Runs incoming;
        Runs expected;
        std::size_t changes;
    } cases[] = {
        {"used-as-non-year over used-as-year widens and combines",
         {{UY, 5, 2}},
         {{UN, 5, 4}},
         {{UB, 5, 2}, {UN, 7, 2}},
         2},
        {"an equal kind inside a stored run splits it without a change",
         {{AY, 1, 10}},
         {{AY, 4, 2}},
         {{AY, 1, 3}, {AY, 4, 2}, {AY, 6, 5}},
         0},
        {"identical runs change nothing",
         {{AY, 1, 2}, {UN, 5, 3}},
         {{AY, 1, 2}, {UN, 5, 3}},
         {{AY, 1, 2}, {UN, 5, 3}},
         0},
        {"no incoming runs keep the stored ones", {{AY, 1, 2}}, {}, {{AY, 1, 2}}, 0},
        {"a run wholly in front is new", {{AY, 10, 2}}, {{UN, 1, 3}}, {{UN, 1, 3}, {AY, 10, 2}}, 1},
        {"a run reaching into a stored run is new in front and combined inside",
         {{UY, 5, 4}},
         {{UN, 3, 4}},
         {{UN, 3, 2}, {UB, 5, 2}, {UY, 7, 2}},
         2},
        {"a run behind every stored run is new",
         {{AY, 1, 2}},
         {{AN, 10, 2}},
         {{AY, 1, 2}, {AN, 10, 2}},
         1},
        {"a run in a gap between stored runs is new",
         {{AY, 1, 2}, {AY, 10, 2}},
         {{UY, 5, 2}},
         {{AY, 1, 2}, {UY, 5, 2}, {AY, 10, 2}},
         1},
        {"always-year replaces a stored conflict", {{AC, 1, 4}}, {{AY, 1, 4}}, {{AY, 1, 4}}, 1},
        {"used-as-year keeps a stored conflict", {{AC, 1, 4}}, {{UY, 1, 4}}, {{AC, 1, 4}}, 0},
        {"a different kind inside a stored run splits it in three",
         {{UY, 1, 10}},
         {{AN, 3, 2}},
         {{UY, 1, 2}, {AN, 3, 2}, {UY, 5, 6}},
         1},
        {"a run over several stored runs and gaps",
         {{UY, 1, 2}, {UN, 5, 2}},
         {{UY, 1, 8}},
         {{UY, 1, 2}, {UY, 3, 2}, {UB, 5, 2}, {UY, 7, 2}},
         3},
        {"adjacent runs of equal kind stay separate",
         {{AY, 1, 2}},
         {{AY, 3, 2}},
         {{AY, 1, 2}, {AY, 3, 2}},
         1},
        {"an unsorted incoming list merges as if sorted",
         {{AY, 5, 1}},
         {{AN, 9, 1}, {AY, 5, 1}, {AN, 1, 1}},
         {{AN, 1, 1}, {AY, 5, 1}, {AN, 9, 1}},
         2},
        {"runs of index 0 or length 0 are no runs",
         {{AY, 5, 1}},
         {{AN, 0, 3}, {AN, 7, 0}},
         {{AY, 5, 1}},
         0},
        {"a run reaching past byte 0xFFFFFFFF ends there",
         {},
         {{UY, 4294967290u, 100}},
         {{UY, 4294967290u, 6}},
         1},
        {"the last byte of the address range",
         {{AY, 4294967295u, 1}},
         {{AN, 4294967295u, 1}},
         {{AC, 4294967295u, 1}},
         1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        MergeFixture fixture(c.stored);
        fixture.table.mergeInclude(fixture.program, "C", "Q", c.incoming);
        EXPECT_EQ(fixture.runs(), c.expected);
        const std::string trace = fixture.trace.str();
        EXPECT_EQ(countOf(trace, "XCOMP:  Table Changed."), c.changes) << trace;
        EXPECT_EQ(fixture.table.tableChanged(), c.changes > 0);
        EXPECT_TRUE(fixture.table.isConsistent());
    }
}

TEST(SeedTableMerge, TracesEachChangeWithTheEntryAsItIsAtThatMoment)
{
    MergeFixture fixture({{UY, 5, 2}});
    fixture.table.mergeInclude(fixture.program, "C", "Q", {{UN, 5, 4}});
    EXPECT_EQ(fixture.trace.str(),
              "XCOMP:  Entry already exists  Q\n"
              "XCOMP:  Q changed by PROGA\n"
              "\n"
              "XCOMP:  Table Changed.\n"
              "XCOMP:  Q changed by PROGA\n"
              "XCOMP:    <used-as-year-and-non-year> <index> 5 <length> 2\n"
              "XCOMP:    <used-as-non-year> <index> 7 <length> 2\n"
              "\n"
              "XCOMP:  Table Changed.\n");
}

TEST(SeedTableMerge, ANewEntryIsMarkedOnceHoweverManyRunsItGets)
{
    std::ostringstream trace;
    SeedTable table(XcompTrace(XcompTrace::Switch::On, trace));
    ProgramInfo program("PROGA");
    table.addCopybook(program, "DATES");
    table.mergeInclude(program, "DATES", "DQ", {{AY, 1, 2}, {AN, 3, 2}});
    EXPECT_EQ(trace.str(),
              "XCOMP:  PROGA is add CopyBook DATES\n"
              "XCOMP:  Adding new entry  DQ\n"
              "XCOMP:  DQ changed by PROGA\n"
              "\n"
              "XCOMP:  Table Changed.\n");
    EXPECT_EQ(table.copybook("DATES")->includeEntry("DQ")->intervals(),
              (Runs{{AY, 1, 2}, {AN, 3, 2}}));
    EXPECT_TRUE(table.tableChanged());
}

TEST(SeedTableMerge, IgnoresACopybookTheProgramDoesNotInclude)
{
    std::ostringstream trace;
    SeedTable table(XcompTrace(XcompTrace::Switch::On, trace));
    ProgramInfo includer("A");
    ProgramInfo other("B");
    table.addCopybook(includer, "C");
    trace.str("");
    table.mergeInclude(other, "C", "Q", {{AY, 1, 2}});
    EXPECT_EQ(trace.str(), "");
    EXPECT_TRUE(table.copybook("C")->includeEntries().empty());
    EXPECT_FALSE(table.tableChanged());
}

TEST(SeedTableMerge, MergesDirectlyOnBehalfOfNoProgram)
{
    std::ostringstream trace;
    SeedTable table(XcompTrace(XcompTrace::Switch::Off, trace));
    ProgramInfo program("A");
    table.addCopybook(program, "C");
    table.mergeInclude(program, "C", "Q", {});
    IncludeEntry &entry = *const_cast<CopybookEntry *>(table.copybook("C"))->includeEntry("Q");
    entry.clearChangeMark();
    table.mergeIntervals(entry, {{AY, 1, 2}});
    EXPECT_TRUE(entry.hasChangeMark());
    EXPECT_FALSE(entry.isChangedBy(program));
    EXPECT_EQ(table.currentProgram(), nullptr);
}
