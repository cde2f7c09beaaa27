#include "WordTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using cobol::WordTable;

// Keys are compared eight characters at a time with a tail: words of every length up to three
// chunks, and words that differ from a key only in one character of a chunk or of the tail,
// must be told apart (enough keys that the table grows and probes collide).
TEST(WordTable, findsEveryKeyAndNoNearMiss)
{
    WordTable<int> table;
    std::vector<std::string> keys;
    for (std::size_t length = 0; length <= 24; ++length)
        for (char last : {'A', 'B'})
            keys.push_back(std::string(length, 'W') + last);
    for (std::size_t i = 0; i < keys.size(); ++i)
        table.insert(keys[i]) = static_cast<int>(i + 1);
    table.insert(keys[3]) = 99; // inserting again gives the same value
    EXPECT_EQ(table.size(), keys.size());

    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int *found = table.find(keys[i]);
        ASSERT_NE(found, nullptr) << keys[i];
        EXPECT_EQ(*found, i == 3 ? 99 : static_cast<int>(i + 1)) << keys[i];
        for (std::size_t at = 0; at < keys[i].size(); ++at) {
            std::string nearMiss = keys[i];
            nearMiss[at] = 'x';
            EXPECT_FALSE(table.contains(nearMiss)) << nearMiss;
        }
        EXPECT_FALSE(table.contains(keys[i] + "W")) << keys[i];
    }
    EXPECT_FALSE(table.contains(""));
}
