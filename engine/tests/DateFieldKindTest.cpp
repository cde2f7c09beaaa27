#include "DateFieldKind.h"
#include "IException.h"

#include <gtest/gtest.h>

TEST(DateFieldKind, CombinesEveryIncomingKindWithEveryStoredKindByTheFixedTable)
{
    // Row: incoming kind, column: stored kind.
    const int expected[kindCount][kindCount] = {
        {0, 0, 0, 0, 0, 0},
        {1, 1, 0, 1, 1, 1},
        {2, 0, 2, 2, 2, 2},
        {0, 1, 2, 3, 5, 5},
        {0, 1, 2, 5, 4, 5},
        {0, 1, 2, 5, 5, 5},
    };
    for (int incoming = 0; incoming < kindCount; ++incoming) {
        for (int stored = 0; stored < kindCount; ++stored) {
            EXPECT_EQ(int(combineKinds(DateFieldKind(incoming), DateFieldKind(stored))),
                      expected[incoming][stored])
                << "incoming " << incoming << ", stored " << stored;
        }
    }
}

TEST(DateFieldKind, ParsesTheSixUpperCaseFormsExactly)
{
    const struct
    {
        const char *text;
        DateFieldKind kind;
    } cases[] = {
        {"ALWAYS-CONFLICT", DateFieldKind::AlwaysConflict},
        {"ALWAYS-YEAR", DateFieldKind::AlwaysYear},
        {"ALWAYS-NON-YEAR", DateFieldKind::AlwaysNonYear},
        {"USED-AS-YEAR", DateFieldKind::UsedAsYear},
        {"USED-AS-NON-YEAR", DateFieldKind::UsedAsNonYear},
        {"USED-AS-YEAR-AND-NON-YEAR", DateFieldKind::UsedAsYearAndNonYear},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parseKind(c.text), c.kind) << c.text;
}

TEST(DateFieldKind, RejectsEveryOtherTextWithTheAccessError)
{
    for (const char *text : {"always-year",
                             "",
                             "USED-AS-YEAR ",
                             " ALWAYS-YEAR",
                             "USED-AS",
                             "ALWAYS-YEAR-AND-NON-YEAR",
                             "<ALWAYS-YEAR>"}) {
        try {
            parseKind(text);
            ADD_FAILURE() << "accepted \"" << text << '"';
        } catch (const IAccessError &error) {
            EXPECT_STREQ(error.what(), "Kind did not parse correctly");
        }
    }
}

TEST(DateFieldKind, GivesTheLowerCaseTagsAndErrorForUnknownCodes)
{
    EXPECT_EQ(kindTag(DateFieldKind::AlwaysConflict), "<always-year-and-non-year>");
    EXPECT_EQ(kindTag(DateFieldKind::AlwaysYear), "<always-year>");
    EXPECT_EQ(kindTag(DateFieldKind::AlwaysNonYear), "<always-non-year>");
    EXPECT_EQ(kindTag(DateFieldKind::UsedAsYear), "<used-as-year>");
    EXPECT_EQ(kindTag(DateFieldKind::UsedAsNonYear), "<used-as-non-year>");
    EXPECT_EQ(kindTag(DateFieldKind::UsedAsYearAndNonYear), "<used-as-year-and-non-year>");
    EXPECT_EQ(kindTag(DateFieldKind(6)), "<ERROR>");
    EXPECT_EQ(kindTag(DateFieldKind(255)), "<ERROR>");
}

TEST(DateFieldKind, NamesEveryKindAsParseKindReadsIt)
{
    for (int code = 0; code < kindCount; ++code) {
        const auto kind = static_cast<DateFieldKind>(code);
        EXPECT_EQ(parseKind(kindName(kind)), kind) << code;
    }
    EXPECT_EQ(kindName(DateFieldKind::UsedAsYearAndNonYear), "USED-AS-YEAR-AND-NON-YEAR");
    EXPECT_THROW(kindName(DateFieldKind(6)), std::out_of_range);
}
