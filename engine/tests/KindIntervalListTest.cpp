#include "KindIntervalList.h"
#include "SeedTestSupport.h"

#include <gtest/gtest.h>

TEST(KindIntervalList, MakesAnyIncomingListAscendingAndNonOverlapping)
{
    const struct
    {
        const char *label;
        Runs in;
        Runs out;
    } cases[] = {
        {"a well-formed list stays as it is",
         {{AY, 1, 2}, {AY, 3, 2}, {UN, 9, 1}},
         {{AY, 1, 2}, {AY, 3, 2}, {UN, 9, 1}}},
        {"an unsorted list is sorted", {{UN, 9, 1}, {AY, 1, 2}}, {{AY, 1, 2}, {UN, 9, 1}}},
        {"index 0 and length 0 are dropped", {{AY, 0, 5}, {AN, 3, 0}, {UY, 7, 1}}, {{UY, 7, 1}}},
        {"overlapping always kinds conflict on the shared bytes",
         {{AY, 1, 4}, {AN, 3, 4}},
         {{AY, 1, 2}, {AC, 3, 2}, {AN, 5, 2}}},
        {"a nested run combines inside the outer run",
         {{UY, 1, 10}, {UN, 3, 2}},
         {{UY, 1, 2}, {UB, 3, 2}, {UY, 5, 6}}},
        {"overlaps combine in list order: conflict then always-year",
         {{AC, 1, 4}, {AY, 1, 4}},
         {{AY, 1, 4}}},
        {"overlaps combine in list order: always-year then conflict",
         {{AY, 1, 4}, {AC, 1, 4}},
         {{AC, 1, 4}}},
        {"three layers fold in list order",
         {{AY, 1, 6}, {AN, 2, 1}, {AY, 2, 1}},
         {{AY, 1, 1}, {AY, 2, 1}, {AY, 3, 4}}},
        {"a run past the last byte is cut off", {{UY, 4294967295u, 9}}, {{UY, 4294967295u, 1}}},
        {"duplicates collapse to one run", {{UY, 5, 2}, {UY, 5, 2}}, {{UY, 5, 2}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        Runs runs = c.in;
        KindIntervalList::normalise(runs);
        EXPECT_EQ(runs, c.out);
        EXPECT_TRUE(KindIntervalList::isWellFormed(runs));
    }
}
