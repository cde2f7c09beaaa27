#include "WindowTable.h"
#include "PlacementValue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t ownProcess = 100;
constexpr std::uint32_t otherProcess = 200;

WindowEntry entry(const std::string &objectId,
                  unsigned long view,
                  unsigned long handle,
                  std::uint32_t process = ownProcess)
{
    WindowEntry e;
    const std::string_view stored = WindowTable::storedObjectId(objectId);
    std::memcpy(e.objectId, stored.data(), stored.size());
    e.view = view;
    e.handle = handle;
    e.processId = process;
    return e;
}

/// Registers like the owning RegisterInstance does: an entry and a slot designating it.
WindowTable::SlotRef add(WindowTable &table, const WindowEntry &e)
{
    return table.allocateSlot(table.insert(e), true, e.processId);
}

std::vector<unsigned long> handles(const WindowTable &table)
{
    std::vector<unsigned long> result;
    for (int i = 0; i < table.count(); ++i)
        result.push_back(table.entry(i).handle);
    return result;
}

} // namespace

TEST(WindowTable, KeepsEntriesSortedWithArrivalOrderAmongEqualKeys)
{
    auto table = std::make_unique<WindowTable>();
    const auto b2 = add(*table, entry("B", 2, 1));
    add(*table, entry("A", 1, 2));
    add(*table, entry("B", 1, 3));
    EXPECT_EQ(handles(*table), (std::vector<unsigned long>{2, 3, 1})) << "A/1, B/1, B/2";
    EXPECT_EQ(table->indexOf(b2), 2) << "the first instance's slot follows its entry";

    add(*table, entry("B", 1, 4));
    add(*table, entry("", 7, 5));
    EXPECT_EQ(handles(*table), (std::vector<unsigned long>{5, 2, 3, 4, 1}));
    EXPECT_EQ(table->firstWithObject("B"), 2);
    EXPECT_EQ(table->firstWithObjectAndView("B", 2), 4);
    EXPECT_EQ(table->firstWithObjectAndView("B", 3), -1);
    EXPECT_EQ(table->firstWithObject("C"), -1);
    EXPECT_EQ(table->firstWithObject(""), 0);
}

TEST(WindowTable, RemovingAnEntryRenumbersTheSlotsThatFollowIt)
{
    auto table = std::make_unique<WindowTable>();
    const auto first = add(*table, entry("DataMap", 596, 1));
    const auto second = add(*table, entry("DataMap", 596, 2));
    const auto later = add(*table, entry("Grapher", 593, 3));
    const auto designatesFirst = table->allocateSlot(table->indexOf(first), true, ownProcess);

    table->removeAt(table->indexOf(first));
    table->freeSlot(first);
    EXPECT_EQ(table->indexOf(second), 0);
    EXPECT_EQ(table->entry(table->indexOf(second)).handle, 2u);
    EXPECT_EQ(table->indexOf(later), 1);
    EXPECT_EQ(table->indexOf(designatesFirst), -1) << "a slot of the removed entry is out of use";
    EXPECT_FALSE(table->isCurrent(first));
}

TEST(WindowTable, FreedSlotsAreReusedAndStaleHoldersAreRecognised)
{
    auto table = std::make_unique<WindowTable>();
    const auto a = table->allocateSlot(-1, false, ownProcess);
    const auto b = table->allocateSlot(-1, false, ownProcess);
    EXPECT_EQ(a.slot, 1) << "slots are numbered from 1";
    EXPECT_EQ(b.slot, 2);
    table->freeSlot(a);
    table->freeSlot(a); // twice: the stale second call does nothing
    const auto c = table->allocateSlot(-1, false, ownProcess);
    EXPECT_EQ(c.slot, 1);
    EXPECT_TRUE(table->isCurrent(c));
    EXPECT_FALSE(table->isCurrent(a)) << "same number, later generation";
    const auto d = table->allocateSlot(-1, false, ownProcess);
    EXPECT_EQ(d.slot, 3) << "the free list held only one slot";

    while (table->hasFreeSlot())
        table->allocateSlot(-1, false, ownProcess);
    EXPECT_EQ(table->slotCount(), WindowTable::slotCapacity);
}

TEST(WindowTable, APurgeRemovesTheProcessAndLeavesNoSlotDangling)
{
    auto table = std::make_unique<WindowTable>();
    const auto mine1 = add(*table, entry("B", 1, 1));
    const auto theirs = add(*table, entry("C", 1, 2, otherProcess));
    const auto mine2 = add(*table, entry("A", 1, 3));
    const auto theirCursor = table->allocateSlot(table->indexOf(theirs), true, otherProcess);

    table->purgeProcess(ownProcess);
    EXPECT_EQ(handles(*table), (std::vector<unsigned long>{2}));
    EXPECT_EQ(table->indexOf(theirs), 0);
    EXPECT_EQ(table->indexOf(theirCursor), 0);
    EXPECT_FALSE(table->isCurrent(mine1));
    EXPECT_FALSE(table->isCurrent(mine2));

    // A slot freed by the purge and handed out again is not its former holder's.
    const auto next = table->allocateSlot(-1, false, ownProcess);
    EXPECT_TRUE(next.slot == mine1.slot || next.slot == mine2.slot);
    EXPECT_FALSE(table->isCurrent(mine1) && table->isCurrent(mine2));
    table->freeSlot(mine1); // the former holder's destructor: must not free the new holder's slot
    table->freeSlot(mine2);
    EXPECT_TRUE(table->isCurrent(next));
}

TEST(WindowTable, LongObjectIdsAreCutAtACharacterAndComparedAsStored)
{
    const std::string ascii(200, 'X');
    EXPECT_EQ(WindowTable::storedObjectId(ascii).size(), 128u);
    // 127 ASCII bytes and then a two-byte character that would straddle the limit.
    const std::string straddling = std::string(127, 'Y') + "\xC3\xA9" + "tail";
    EXPECT_EQ(WindowTable::storedObjectId(straddling), std::string(127, 'Y'));

    auto table = std::make_unique<WindowTable>();
    add(*table, entry(ascii, 1, 1));
    EXPECT_EQ(std::strlen(table->entry(0).objectId), 128u);
    EXPECT_EQ(table->firstWithObject(ascii), 0) << "the long id finds what it registered";
    EXPECT_EQ(table->firstWithObject(std::string(128, 'X')), 0);
}

TEST(PlacementValue, ReadsAndWritesTheStoredForm)
{
    struct Case
    {
        const char *text;
        bool valid;
        long x1, y1, x2, y2;
        PlacementValue::State state;
    };
    using S = PlacementValue::State;
    const std::vector<Case> cases = {
        {"12 40 612 440 NONE", true, 12, 40, 612, 440, S::Normal},
        {"12 40 612 440 MAX", true, 12, 40, 612, 440, S::Maximized},
        {"612 440 12 40 MIN", true, 612, 440, 12, 40, S::Minimized},
        {"  -5  0 100 80 ", true, -5, 0, 100, 80, S::Normal},
        {"1 2 3 4 max", true, 1, 2, 3, 4, S::Normal},
        {"1 2 3 4 MIN extra words", true, 1, 2, 3, 4, S::Minimized},
        {"12 40 612", false, 0, 0, 0, 0, S::Normal},
        {"", false, 0, 0, 0, 0, S::Normal},
        {"12 40 wide 440 NONE", false, 0, 0, 0, 0, S::Normal},
        {"12 40 612 440.5 NONE", false, 0, 0, 0, 0, S::Normal},
        {"1 2 3 99999999999 NONE", false, 0, 0, 0, 0, S::Normal},
    };
    for (const Case &c : cases) {
        const auto value = PlacementValue::parse(c.text);
        ASSERT_EQ(value.has_value(), c.valid) << c.text;
        if (!value)
            continue;
        EXPECT_EQ(value->x1, c.x1) << c.text;
        EXPECT_EQ(value->y1, c.y1) << c.text;
        EXPECT_EQ(value->x2, c.x2) << c.text;
        EXPECT_EQ(value->y2, c.y2) << c.text;
        EXPECT_EQ(value->state, c.state) << c.text;
    }
    const PlacementValue corners = *PlacementValue::parse("612 440 12 40 MIN");
    EXPECT_EQ(corners.left(), 12);
    EXPECT_EQ(corners.top(), 40);
    EXPECT_EQ(corners.width(), 600);
    EXPECT_EQ(corners.height(), 400);
    EXPECT_EQ(corners.text(), "612 440 12 40 MIN");
    EXPECT_FALSE(PlacementValue::parse("5 5 5 90 NONE")->hasArea());
}
