#include "DbCopybookLayout.h"
#include "DbImpactFacts.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Range = DbImpactFacts::Range;

DbImpactFacts sampleFacts()
{
    DbImpactFacts f;
    f.program = "PROGA";
    f.files = {"/src/PROGA.cbl", "/src/CUSTREC.cpy"};
    f.areaSizes = {32, 300, 8};
    f.occurs = {{1, 100, 50, 4}, {1, 110, 10, 3}};
    f.items = {{0, 0, 32}, {0, 26, 6}, {2, 0, 8}};
    f.parameters = {{2, 0, 8}};
    f.statements = {{0, 12, 12, "MOVE CUST-EXP TO WS-EXP"}, {1, 3, 12, "CALL WS-PGM USING X"}};
    f.accesses = {{0, {0, 26, 6}, DbImpactFacts::read}, {1, {2, 0, 8}, DbImpactFacts::readWrite}};
    f.flows = {{0, DbImpactFacts::FlowKind::aligned, {0, 26, 6}, {2, 0, 8}, -2},
               {1, DbImpactFacts::FlowKind::forward, {0, 0, 2}, {1, 0, 4}, 0}};
    f.copybookSpans = {{{0, 0, 32}, "CUSTREC", 0}};
    f.calls = {{1, "", "WS-PGM", {{2, 0, 8}, {}}}};
    f.boundaries = {{1, {2, 0, 8}, "dynamic CALL"}};
    return f;
}

} // namespace

TEST(DbImpactFacts, packedFactsReadBackAndDamagedBytesAreRefused)
{
    const std::string bytes = sampleFacts().encode();
    DbImpactFacts back;
    std::string error;
    ASSERT_TRUE(DbImpactFacts::decode(bytes, back, error)) << error;
    EXPECT_EQ(back.encode(), bytes);
    EXPECT_EQ(back.flows[0].shift, -2);
    EXPECT_EQ(back.calls[0].nameItem, "WS-PGM");

    // Every cut of the bytes is refused, never read past its end.
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(DbImpactFacts::decode(bytes.substr(0, size), back, error)) << size;

    const struct
    {
        const char *label;
        std::function<void(DbImpactFacts &)> damage;
        const char *says;
    } cases[] = {
        {"an access beyond its area",
         [](DbImpactFacts &f) {
             f.accesses[0].range = {0, 30, 6};
         },
         "access"},
        {"a flow into an area that is not there",
         [](DbImpactFacts &f) { f.flows[1].to.area = 7; },
         "flow"},
        {"a statement that is not there",
         [](DbImpactFacts &f) { f.boundaries[0].statement = 2; },
         "boundary"},
        {"a call argument beyond its area",
         [](DbImpactFacts &f) {
             f.calls[0].arguments[0] = {2, 4, 8};
         },
         "call argument"},
    };
    for (const auto &c : cases) {
        DbImpactFacts f = sampleFacts();
        c.damage(f);
        EXPECT_FALSE(DbImpactFacts::decode(f.encode(), back, error)) << c.label;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.label << ": " << error;
    }
    std::string otherVersion = bytes;
    otherVersion[0] = 9;
    EXPECT_FALSE(DbImpactFacts::decode(otherVersion, back, error));
    EXPECT_NE(error.find("format 9"), std::string::npos) << error;
}

TEST(DbImpactFacts, bytesInsideATableStandForTheFirstOccurrence)
{
    const DbImpactFacts f = sampleFacts(); // area 1: 4 x 50 from 100, inside 3 x 10 from 110
    const struct
    {
        Range in;
        Range out;
    } cases[] = {
        {{1, 10, 4}, {1, 10, 4}},      // before the table
        {{1, 152, 2}, {1, 102, 2}},    // the second occurrence
        {{1, 171, 2}, {1, 111, 2}},    // inner table, second occurrence of both
        {{1, 100, 200}, {1, 100, 50}}, // the whole table: one occurrence
        {{1, 148, 6}, {1, 148, 2}},    // across two occurrences: the first one's part
        {{0, 152, 2}, {0, 152, 2}},    // another area
    };
    for (const auto &c : cases)
        EXPECT_EQ(f.reduce(c.in), c.out) << c.in.offset << "+" << c.in.length;
}

TEST(DbCopybookLayout, theLayoutComesFromAPlainIncludeWithEveryUnitsDatesAndNotes)
{
    const auto entries = [](const std::string &qualifier, std::uint64_t expLength, bool varies) {
        std::vector<DbCopybookItemRecord> r(3);
        r[0] = {"CUSTREC",
                qualifier,
                5,
                "CUST-ID",
                0,
                0,
                0,
                6,
                0,
                "DISPLAY",
                "9(6)",
                4,
                false,
                false,
                ""};
        r[1] = {"CUSTREC",
                qualifier,
                5,
                "CUST-EXP",
                0,
                0,
                6,
                expLength,
                0,
                "DISPLAY",
                "9(6)",
                5,
                false,
                false,
                ""};
        r[2] = {"CUSTREC",
                qualifier,
                5,
                "CUST-TAB",
                0,
                0,
                6 + expLength,
                4,
                3,
                "DISPLAY",
                "",
                6,
                false,
                false,
                ""};
        for (DbCopybookItemRecord &e : r)
            e.varies = varies;
        return r;
    };
    auto replacing = entries("DEFAULT+R0A1B2C3D", 8, false);
    auto plain = entries("DEFAULT", 6, false);
    plain[1].dateText = "USED-AS-YEAR bytes 1-2";
    auto synced = entries("DEFAULT", 6, true);
    auto other = entries("DEFAULT", 6, false);
    other[1].dateText = "USED-AS-YEAR bytes 1-2";

    DbCopybookLayout layout;
    layout.build("CUSTREC",
                 {{"PROGR", replacing}, {"PROGA", plain}, {"PROGS", synced}, {"PROGB", other}});
    EXPECT_EQ(layout.shownFrom(), "PROGA"); // the first plain include, not the REPLACING one
    ASSERT_EQ(layout.items().size(), 3u);
    EXPECT_EQ(layout.items()[1].dateFindings,
              std::vector<std::string>{"USED-AS-YEAR bytes 1-2 (PROGA, PROGB)"});
    EXPECT_EQ(layout.notes(),
              (std::vector<std::string>{
                  "PROGR (DEFAULT+R0A1B2C3D) lays it out differently: its REPLACING changes the "
                  "entries",
                  "PROGS (DEFAULT) lays it out differently: SYNC items align otherwise where it "
                  "is included"}));

    // As a unit for the data map: entries under a record named after the copybook.
    const DbUnitData unit = layout.toUnitData();
    EXPECT_EQ(unit.validate(), "");
    ASSERT_EQ(unit.symbols.size(), 4u);
    EXPECT_EQ(unit.symbols[0].name, "CUSTREC");
    EXPECT_TRUE(unit.symbols[0].recordStart);
    EXPECT_EQ(unit.symbols[0].length, 24u);             // 6 + 6 + 3 x 4
    EXPECT_EQ(unit.symbols[2].displayText, "00000030"); // byte 6
    EXPECT_EQ(unit.symbols[3].occursMax, 3u);
    ASSERT_EQ(unit.marks.size(), 1u);
    EXPECT_EQ(unit.marks[0].symbol, 3u);
}
