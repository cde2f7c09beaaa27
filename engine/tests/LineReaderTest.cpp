#include "LineReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> readAll(const std::string &text)
{
    std::istringstream in(text);
    LineReader reader(in);
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line))
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(LineReader, SplitsLinesAndDropsCarriageReturns)
{
    EXPECT_EQ(readAll("a\nb\r\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(readAll("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(readAll("").empty());
}

TEST(LineReader, ReadsAnOverlongLineAsSeveralReadsOfAtMost999Characters)
{
    const std::string longLine(2500, 'x');
    const auto lines = readAll(longLine + "\nend\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].size(), 999u);
    EXPECT_EQ(lines[1].size(), 999u);
    EXPECT_EQ(lines[2].size(), 502u);
    EXPECT_EQ(lines[3], "end");
}

TEST(LineReader, HandlesBinaryGarbageWithoutStopping)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(static_cast<char>(i * 37));
    std::size_t total = 0;
    for (const auto &line : readAll(garbage))
        total += line.size() + 1;
    EXPECT_GE(total, garbage.size() - 64);
}

TEST(LineReader, TakesALineOfExactlyTheMaximumLengthAsOneLine)
{
    const std::string full(999, 'x');
    const std::string almost(998, 'y');
    const struct
    {
        const char *label;
        std::string text;
        std::vector<std::string> expected;
    } cases[] = {
        {"999 characters, LF", full + "\nnext\n", {full, "next"}},
        {"999 characters, CRLF", full + "\r\nnext\r\n", {full, "next"}},
        {"998 characters, CRLF", almost + "\r\nnext\r\n", {almost, "next"}},
        {"999 characters, lone CR", full + "\rnext\n", {full, "\rnext"}},
        {"999 characters at end of file", full, {full}},
        {"1000 characters", full + "z\nnext", {full, "z", "next"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readAll(c.text), c.expected) << c.label;
}
