// The data map's std-only half over units recorded from real COBOL: the unit's item
// collections, the record shown with its REDEFINES, RENAMES and expansion, and the grid, checked
// row by row and column by column against keldb's storage map.
#include "DbEu.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "KelDataMapItem.h"
#include "KelDataMapLayout.h"
#include "KelDataMapRecord.h"
#include "KelDataMapUnitItems.h"
#include "MapPrograms.h"
#include "RecordedUnits.h"
#include "StorageMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

/// Every character 7 units wide, as a fixed-pitch font.
class FixedMeasure final : public KelDataMapTextMeasure
{
public:
    double averageCharWidth() const override { return 7; }
    double width(const std::string &text) const override { return 7.0 * text.size(); }
};

class MapCore : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        units = new RecordedUnits("MAPS");
        units->recordText("MAPTEST.cbl", MapPrograms::customer);
        units->recordSample("EMPAGE.cbl");
        units->recordSample("PAYRUN.cbl");
        units->recordSample("POLISSUE.cbl");
        units->recordText("DEEPREC.cbl", MapPrograms::deepRecord(49));
        units->recordText("BIGREC.cbl", MapPrograms::bigRecord(2000));
        units->open();
    }
    static void TearDownTestSuite()
    {
        delete units;
        units = nullptr;
    }

    static DbPu &unit(const std::string &name)
    {
        DbPu *pu = units->open().puNamed(name);
        EXPECT_TRUE(pu && pu->load());
        return *pu;
    }
    static DbSymbol &symbol(const std::string &unitName, const std::string &name)
    {
        DbPu &pu = unit(unitName);
        for (std::uint32_t n = 1; n <= pu.numberOfSymbols(); ++n)
            if (pu.symbol(n)->name() == name)
                return *pu.symbol(n);
        ADD_FAILURE() << "no symbol " << name << " in " << unitName;
        return *pu.symbol(1);
    }
    static const KelDataMapLayout::Placed *placedNamed(const KelDataMapLayout &layout,
                                                       const std::string &name)
    {
        for (const auto &placed : layout.placed())
            if (placed.item->name() == name)
                return &placed;
        return nullptr;
    }

    static RecordedUnits *units;
    FixedMeasure measure;
};

RecordedUnits *MapCore::units = nullptr;

std::set<std::string> namesOf(const std::vector<KelDataMapPItem> &items)
{
    std::set<std::string> names;
    for (const KelDataMapPItem &item : items)
        names.insert(item->name());
    return names;
}

} // namespace

TEST_F(MapCore, UnitCollectionsPassOverRedefinesAndLeaveOutConditionNames)
{
    DbPu &pu = unit("MAPTEST");
    const KelDataMapUnitItems items(pu);
    const std::set<std::string> names = namesOf(items.items());
    for (const char *left : {"CUST-BIRTH-R",
                             "CUST-BIRTH-YY",
                             "CUST-BIRTH-X",
                             "CUST-KEY",
                             "WS-FLAT-R",
                             "CUST-ACTIVE",
                             "CUST-CLOSED",
                             "WS-GROUP-EMPTY"})
        EXPECT_FALSE(names.contains(left)) << left;
    for (const char *kept :
         {"CUST-REC", "CUST-BIRTH", "ORD-DATE", "FILLER", "WS-COUNT", "WS-GROUP", "WS-GROUP-A"})
        EXPECT_TRUE(names.contains(kept)) << kept;
    EXPECT_EQ(namesOf(items.records()),
              (std::set<std::string>{"CUST-REC", "WS-FLAT", "WS-COUNT", "WS-PLAIN"}));

    const DbSymbol &birth = symbol("MAPTEST", "CUST-BIRTH");
    const std::uint32_t key = pu.tokenToNumber(birth.declaringToken());
    ASSERT_NE(key, 0u);
    ASSERT_TRUE(items.itemWithKey(key));
    EXPECT_EQ(&items.itemWithKey(key)->symbol(), &birth);
    EXPECT_EQ(items.itemWithKey(key)->column(), 2u);
    EXPECT_EQ(items.itemWithKey(key)->root(), 1);
    EXPECT_EQ(items.itemsNamed("FILLER").size(), 1u);
    EXPECT_FALSE(items.itemWithKey(0));
}

TEST_F(MapCore, ItemsTakeTheirTextsAndKeysFromTheSymbol)
{
    DbPu &pu = unit("MAPTEST");
    const KelDataMapItem orders(symbol("MAPTEST", "CUST-ORDERS"));
    EXPECT_EQ(orders.displayText(), "00000130");
    EXPECT_EQ(orders.bitOffset(), 38u * 8);
    EXPECT_EQ(orders.bitLength(), 11u * 12 * 8);
    EXPECT_EQ(orders.occursCaption(), "OCCURS 12 TIMES");
    EXPECT_EQ(orders.ownerRecord(), &symbol("MAPTEST", "CUST-REC"));
    EXPECT_EQ(orders.attribute(), 5u);
    EXPECT_EQ(orders.expanded(), 0);

    const KelDataMapItem redefines(symbol("MAPTEST", "CUST-BIRTH-X"));
    EXPECT_EQ(redefines.relatedKey(DbSymbol::redefinesOrRenames),
              pu.tokenToNumber(symbol("MAPTEST", "CUST-BIRTH-R").declaringToken()));
    EXPECT_EQ(redefines.relatedKey(DbSymbol::dependingOnOrThru), 0u);
    const KelDataMapItem condition(symbol("MAPTEST", "CUST-ACTIVE"));
    EXPECT_FALSE(condition.takesStorage());
    EXPECT_EQ(condition.relatedKey(DbSymbol::conditionalVariable),
              pu.tokenToNumber(symbol("MAPTEST", "CUST-STATUS").declaringToken()));
    EXPECT_TRUE(condition.occursCaption().empty());

    // A group at position 0 whose first subordinate entry is a condition name keeps a position.
    const KelDataMapItem group(symbol("MAPTEST", "WS-GROUP"));
    EXPECT_EQ(group.displayText(), "00000000");
    EXPECT_TRUE(group.takesStorage());
    EXPECT_EQ(KelDataMapItem(symbol("MAPTEST", "CUST-REC")).ownerRecord(), nullptr);

    std::uint64_t bits = 0;
    EXPECT_FALSE(KelDataMapItem::parsePosition("0E000000", bits));
    EXPECT_FALSE(KelDataMapItem::parsePosition("0000005", bits));
    EXPECT_FALSE(KelDataMapItem::parsePosition("0000005G", bits));
    EXPECT_TRUE(KelDataMapItem::parsePosition("FFFFFFFF", bits));
    EXPECT_EQ(bits, 0xFFFFFFFFu);
}

TEST_F(MapCore, RowsAndColumnsAgreeWithKeldbForEveryRecordOfTheSamples)
{
    int compared = 0;
    for (const char *name : {"EMPAGE", "PAYRUN", "POLISSUE", "MAPTEST", "BIGREC"}) {
        DbPu &pu = unit(name);
        for (std::uint32_t n = 1; n <= pu.numberOfSymbols(); ++n) {
            DbSymbol &record = *pu.symbol(n);
            if (!record.isRecordStart())
                continue;
            const KelDataMapRecord shown(record);
            const KelDataMapLayout layout(shown, measure);
            std::string expected = StorageMap(record).text();
            // keldb leaves the 66 entries out; the map shows them in a pane of their own.
            std::string actual = layout.text();
            if (record.name() == "CUST-REC") {
                const auto at = actual.find("  2 CUST-KEY");
                ASSERT_NE(at, std::string::npos);
                actual.erase(at, std::string("  2 CUST-KEY").size());
            }
            EXPECT_EQ(actual, expected) << name << " " << record.name();
            ++compared;
        }
    }
    EXPECT_GT(compared, 20);
}

TEST_F(MapCore, GridGeometry)
{
    DbSymbol &record = symbol("MAPTEST", "CUST-REC");
    const KelDataMapRecord shown(record);
    const KelDataMapLayout layout(shown, measure);

    // Rows: one per distinct position, 30 units apart, half a row above the first line.
    ASSERT_EQ(layout.rows().size(), 9u);
    EXPECT_EQ(layout.height(), 30.0 * 10);
    EXPECT_EQ(KelDataMapLayout::rowLine(0), 15.0);
    EXPECT_EQ(KelDataMapLayout::rowLine(9), 15.0 + 270);
    EXPECT_EQ(layout.byteOffsetOfLine(3), 31u);
    EXPECT_EQ(layout.byteOffsetOfLine(9), 173u); // the record's end

    // The ruler is as wide as ten digits; the panes start after the 15-unit gutter.
    EXPECT_EQ(layout.rulerWidth(), 70.0);
    // W: the widest label is "CUST-ORDERS OCCURS 12 TIMES" (27 characters), 20 in, 10 spare.
    EXPECT_EQ(layout.columnWidth(), 20 + 27 * 7 + 10.0);

    // Panes: the record's own storage, then CUST-BIRTH-R, its REDEFINES CUST-BIRTH-X, and the
    // RENAMES entry CUST-KEY.
    ASSERT_EQ(layout.panes().size(), 4u);
    const double w = layout.columnWidth();
    EXPECT_EQ(layout.panes()[0].x, 85.0);
    EXPECT_EQ(layout.panes()[0].width, 3 * w);
    EXPECT_EQ(layout.panes()[1].x, 85 + 3 * w + 15);
    EXPECT_EQ(layout.panes()[1].width, 2 * w);
    EXPECT_EQ(layout.panes()[2].x, 85 + 5 * w + 30);
    EXPECT_EQ(layout.panes()[2].width, w);
    EXPECT_EQ(layout.width(), 85 + 7 * w + 45 + 15);

    struct Expected
    {
        const char *name;
        std::uint32_t row, endRow, pane, column;
    };
    for (const Expected &e : {Expected{"CUST-REC", 0, 9, 0, 1},
                              Expected{"CUST-FIRST", 1, 2, 0, 3},
                              Expected{"CUST-NAME", 1, 3, 0, 2},
                              Expected{"CUST-BIRTH", 3, 5, 0, 2},
                              Expected{"CUST-BIRTH-R", 3, 5, 1, 2},
                              Expected{"CUST-BIRTH-MMDD", 4, 5, 1, 3},
                              Expected{"CUST-BIRTH-X", 3, 5, 2, 2},
                              Expected{"CUST-KEY", 0, 3, 3, 2},
                              Expected{"CUST-ORDERS", 6, 8, 0, 2},
                              Expected{"FILLER", 8, 9, 0, 2}}) {
        const auto *placed = placedNamed(layout, e.name);
        ASSERT_TRUE(placed) << e.name;
        EXPECT_EQ(placed->row, e.row) << e.name;
        EXPECT_EQ(placed->endRow, e.endRow) << e.name;
        EXPECT_EQ(placed->pane, e.pane) << e.name;
        EXPECT_EQ(placed->column, e.column) << e.name;
        const auto &pane = layout.panes()[e.pane];
        EXPECT_EQ(layout.cellLeft(*placed), pane.x + (e.column - pane.firstColumn) * w) << e.name;
        EXPECT_EQ(layout.nameX(*placed), layout.cellLeft(*placed) + 20) << e.name;
        EXPECT_EQ(layout.nameBaseline(*placed), 15 + 30.0 * e.row + 20) << e.name;
        // Every name fits its cell.
        EXPECT_LE(layout.nameX(*placed) + placed->nameWidth, layout.cellLeft(*placed) + w);
        // A hit anywhere in the item's box finds it.
        const double x = layout.cellLeft(*placed) + w / 2;
        EXPECT_EQ(layout.placedAt(x, KelDataMapLayout::rowLine(e.endRow) - 1),
                  placed - layout.placed().data())
            << e.name;
    }

    // The caption follows the name after a blank: its anchor is 20 units left of it.
    const auto *orders = placedNamed(layout, "CUST-ORDERS");
    EXPECT_EQ(layout.captionAnchorX(*orders), layout.cellLeft(*orders) + 11 * 7 + 7);
    EXPECT_EQ(layout.captionX(*orders), layout.nameX(*orders) + 11 * 7 + 7);
    EXPECT_LE(layout.captionX(*orders) + measure.width("OCCURS 12 TIMES"),
              layout.cellLeft(*orders) + w);

    EXPECT_EQ(layout.placedAt(10, 100), -1);              // the ruler
    EXPECT_EQ(layout.placedAt(100, 5), -1);               // above the first line
    EXPECT_EQ(layout.placedAt(100, 15 + 30 * 9 + 1), -1); // below the end line
    EXPECT_EQ(layout.rowsBetween(0, 1000), std::make_pair(0u, 9u));
    EXPECT_EQ(layout.rowsBetween(75, 100), std::make_pair(2u, 3u));
    EXPECT_EQ(layout.rowsBetween(75, 106), std::make_pair(2u, 4u));
}

TEST_F(MapCore, ColumnWidthFollowsTheLongestNameButNeverBelowSixteenCharacters)
{
    // WS-FLAT: the name is shorter than 16 characters.
    const KelDataMapRecord flat(symbol("MAPTEST", "WS-FLAT"));
    EXPECT_EQ(KelDataMapLayout(flat, measure).columnWidth(), 16 * 7.0);
    // WS-PLAIN holds a 30-character name: 20 in, 30 characters, 10 spare.
    const KelDataMapRecord plain(symbol("MAPTEST", "WS-PLAIN"));
    const KelDataMapLayout layout(plain, measure);
    EXPECT_EQ(layout.columnWidth(), 20 + 30 * 7 + 10.0);
    EXPECT_EQ(layout.text(),
              "       0  1 WS-PLAIN  2 WS-GROUP  3 WS-GROUP-A\n"
              "       1  3 WS-GROUP-B\n"
              "       3  2 WS-ABCDEFGHIJKLMNOPQRSTUVWXYZ1\n");
    // No item occurs: no caption anywhere.
    for (const auto &placed : layout.placed())
        EXPECT_TRUE(placed.item->occursCaption().empty());
}

TEST_F(MapCore, CollapsingHidesTheItemsBelowAndTheirRows)
{
    DbSymbol &record = symbol("MAPTEST", "CUST-REC");
    KelDataMapRecord shown(record);
    EXPECT_TRUE(shown.anyGroupExpanded());
    EXPECT_FALSE(shown.anyGroupCollapsed());
    const int name = shown.indexOf(shown.itemFor(symbol("MAPTEST", "CUST-NAME")).item());
    ASSERT_GE(name, 0);
    EXPECT_EQ(shown.subtreeSize(name), 2);
    shown.items()[static_cast<std::size_t>(name)]->setExpanded(0);
    {
        const KelDataMapLayout layout(shown, measure);
        EXPECT_EQ(placedNamed(layout, "CUST-FIRST"), nullptr);
        EXPECT_EQ(placedNamed(layout, "CUST-LAST"), nullptr);
        EXPECT_EQ(layout.rows().size(), 8u); // byte 16 has no visible item left
        EXPECT_EQ(layout.placedOfRecordIndex(name + 1), -1);
        EXPECT_FALSE(shown.isVisible(name + 1));
    }
    EXPECT_TRUE(shown.anyGroupCollapsed());

    shown.setAllExpanded(0);
    {
        const KelDataMapLayout layout(shown, measure);
        EXPECT_EQ(layout.text(), "       0  1 CUST-REC\n");
        EXPECT_EQ(layout.byteOffsetOfLine(1), 173u);
    }
    EXPECT_FALSE(shown.anyGroupExpanded());
    shown.setAllExpanded(1);
    shown.items()[static_cast<std::size_t>(name)]->setExpanded(0);
    shown.items()[static_cast<std::size_t>(name + 1)]->setExpanded(0);
    shown.resetBelow(0);
    EXPECT_FALSE(shown.anyGroupCollapsed());
}

TEST_F(MapCore, DeepNestingAndHugeOccursCountsStayReadable)
{
    DbSymbol &record = symbol("DEEPREC", "DEEP-1");
    const KelDataMapRecord shown(record);
    const KelDataMapLayout layout(shown, measure);
    const auto *huge = placedNamed(layout, "HUGE-TABLE");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->column, 49u);
    EXPECT_EQ(layout.panes().front().lastColumn, 49u);
    EXPECT_EQ(huge->item->occursCaption(), "OCCURS 99999999 TIMES");
    EXPECT_LE(layout.captionX(*huge) + measure.width("OCCURS 99999999 TIMES"),
              layout.cellLeft(*huge) + layout.columnWidth());
    // The record's end has more than eight digits: the ruler grows to show them whole.
    const std::string end = std::to_string(layout.byteOffsetOfLine(layout.rows().size()));
    EXPECT_GT(end.size(), 8u);
    EXPECT_GE(layout.rulerWidth(), 10 + measure.width(end));
    EXPECT_EQ(layout.rows().size(), 49u);
}

TEST_F(MapCore, ARecordOfThousandsOfItemsLaysOutEveryItem)
{
    DbSymbol &record = symbol("BIGREC", "BIG-RECORD");
    const KelDataMapRecord shown(record);
    EXPECT_EQ(shown.size(), 1u + 200 + 2000);
    const KelDataMapLayout layout(shown, measure);
    EXPECT_EQ(layout.placed().size(), shown.size());
    EXPECT_EQ(layout.rows().size(), 2000u);
    EXPECT_EQ(layout.columnWidth(), 20 + (30 + 15) * 7 + 10.0);
    // Lanes hold their items in row order, without overlapping boxes.
    for (const auto &lane : layout.lanes())
        for (std::size_t i = 1; i < lane.placed.size(); ++i)
            EXPECT_LE(layout.placed()[lane.placed[i - 1]].endRow,
                      layout.placed()[lane.placed[i]].row);
}
