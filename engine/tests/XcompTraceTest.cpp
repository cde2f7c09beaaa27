#include "XcompTrace.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(XcompTrace, SwitchesOnForNonZeroNumbersAndYesOrOnInAnyCase)
{
    const struct
    {
        const char *value;
        bool on;
    } cases[] = {
        {"", false},
        {"0", false},
        {"000", false},
        {"1", true},
        {"007", true},
        {"99999999999999999999999", true},
        {"yes", true},
        {"YES", true},
        {"On", true},
        {"off", false},
        {"no", false},
        {"1a", false},
        {" 1", false},
        {"-1", false},
        {"true", false},
        {"yes ", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(XcompTrace::isOnValue(c.value), c.on) << '"' << c.value << '"';
}

TEST(XcompTrace, WritesLinesAndOpenTextOnlyWhenOn)
{
    std::ostringstream onOut;
    const XcompTrace on(XcompTrace::Switch::On, onOut);
    on.text("XCOMP:  Testing A.");
    on.line("--> Nothing new");
    on.line("");
    EXPECT_EQ(onOut.str(), "XCOMP:  Testing A.--> Nothing new\n\n");

    std::ostringstream offOut;
    const XcompTrace off(XcompTrace::Switch::Off, offOut);
    off.text("x");
    off.line("y");
    EXPECT_EQ(offOut.str(), "");
    EXPECT_FALSE(off.isOn());
}
