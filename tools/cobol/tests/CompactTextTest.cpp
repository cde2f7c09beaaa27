#include "CompactText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using cobol::CompactText;

// CompactText stands in for std::string in the operand's rarely used fields: every way callers
// use those fields must give what a std::string gives.
TEST(CompactText, behavesLikeTheStringItHolds)
{
    const std::vector<std::string> texts
        = {"", "X", "INTO", "EMP.HIRE_DATE", std::string(300, 'Q'), std::string("A\0B", 3)};
    for (const std::string &reference : texts) {
        SCOPED_TRACE(reference);
        const CompactText text(reference);
        EXPECT_EQ(text.empty(), reference.empty());
        EXPECT_EQ(text.size(), reference.size());
        EXPECT_EQ(text.str(), reference);
        EXPECT_EQ(std::string_view(text), std::string_view(reference));
        EXPECT_TRUE(text == reference);
        EXPECT_FALSE(text != reference);
        EXPECT_EQ(text == "INTO", reference == "INTO");
        EXPECT_EQ("(" + text + ")", "(" + reference + ")");
        EXPECT_EQ(std::string("<") + text, "<" + reference);
        EXPECT_EQ(text + std::string(">"), reference + ">");
        EXPECT_EQ(text + text, reference + reference);
        EXPECT_EQ(text.starts_with("EMP"), reference.starts_with("EMP"));
        if (!reference.empty()) {
            EXPECT_EQ(text.substr(1), reference.substr(1));
        }
        const std::string &bound = text; // a `const std::string &` parameter
        EXPECT_EQ(bound, reference);
    }
}

TEST(CompactText, copiesAreIndependentAndEmptyTextsHoldNothing)
{
    CompactText original("COMMAREA");
    CompactText copy = original;
    copy = "TRANSID";
    EXPECT_EQ(original, "COMMAREA");
    EXPECT_EQ(copy, "TRANSID");
    copy = original; // over a text that exists
    EXPECT_EQ(copy, "COMMAREA");

    CompactText moved = std::move(copy);
    EXPECT_EQ(moved, "COMMAREA");
    copy = std::string(); // assigning an empty text frees the one held
    EXPECT_TRUE(copy.empty());
    moved = std::string_view();
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(moved.str(), "");
    EXPECT_EQ(moved.c_str()[0], '\0');

    EXPECT_LT(CompactText("A"), CompactText("B"));
    EXPECT_EQ(sizeof(CompactText), sizeof(void *));
}
