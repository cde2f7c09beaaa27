#include "ProfileFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ProfileFile parsed(const std::string &text)
{
    std::string problem;
    auto file = ProfileFile::parse(text, problem);
    EXPECT_TRUE(file) << problem;
    return file.value_or(ProfileFile());
}

} // namespace

TEST(ProfileFile, DamagedTextIsRefusedNamingTheLine)
{
    struct Case
    {
        const char *label;
        std::string text;
        const char *expected;
    };
    const std::vector<Case> cases = {
        {"header without ]", "[A]\nk=v\n[Broken\n", "line 3: a section header \"[Broken\""},
        {"header with text after ]", "[A] x\n", "line 1: a section header"},
        {"binary data", "[A]\nk=\x01\x02\n", "line 2: control character 1"},
        {"not UTF-8", "[A]\nk=caf\xE9\n", "line 2: byte 6 is not part of UTF-8"},
        {"over-long UTF-8", "[A]\nk=\xC0\xAF\n", "line 2: byte 3 is not part of UTF-8"},
        {"line too long", "[A]\nk=" + std::string(9000, 'x') + "\n", "line 2: the line has 9002"},
        {"file too large", std::string(ProfileFile::maxFileSize + 1, '\n'), "more than the"},
    };
    for (const Case &c : cases) {
        std::string problem;
        EXPECT_FALSE(ProfileFile::parse(c.text, problem)) << c.label;
        EXPECT_NE(problem.find(c.expected), std::string::npos) << c.label << ": " << problem;
    }
}

TEST(ProfileFile, NamesAreReadExactlyAsWritten)
{
    ProfileFile file = parsed("; placements\n"
                              "[DataMap::596::PAYROLL 2024::PAY01]\n"
                              "WindowPosition = 12 40 612 440 NONE\n"
                              "[Odd ] name=x]\n"
                              "key=value\n"
                              "Key=other\n"
                              "quoted=\"  two blanks\"\n"
                              "\xEF\xBB\xBF\n");
    EXPECT_EQ(file.value("DataMap::596::PAYROLL 2024::PAY01", "WindowPosition"),
              "12 40 612 440 NONE");
    EXPECT_EQ(file.value("Odd ] name=x", "key"), "value");
    EXPECT_EQ(file.value("Odd ] name=x", "Key"), "other");
    EXPECT_EQ(file.value("Odd ] name=x", "quoted"), "  two blanks");
    EXPECT_EQ(file.value("odd ] name=x", "key"), std::nullopt) << "names match with case";
    EXPECT_EQ(file.value("DataMap::596::PAYROLL 2024::PAY01", "windowposition"), std::nullopt);
    EXPECT_EQ(file.applicationNames(),
              (std::vector<std::string>{"DataMap::596::PAYROLL 2024::PAY01", "Odd ] name=x"}));
    EXPECT_EQ(file.keyNames("Odd ] name=x"), (std::vector<std::string>{"key", "Key", "quoted"}));
}

TEST(ProfileFile, ChangesKeepEveryOtherLine)
{
    ProfileFile file = parsed("; written by hand\n"
                              "stray line before any section\n"
                              "[A]\n"
                              "first=1\n"
                              "; about the next section\n"
                              "\n"
                              "[B]\n"
                              "x=1\n"
                              "[A]\n"
                              "first=shadowed\n");
    EXPECT_EQ(file.setValue("A", "first", "one"), "");
    EXPECT_EQ(file.setValue("A", "second", " padded "), "");
    EXPECT_EQ(file.setValue("C", "WindowPosition", "1 2 3 4 MAX"), "");
    EXPECT_EQ(file.text(),
              "; written by hand\n"
              "stray line before any section\n"
              "[A]\n"
              "first=one\n"
              "second=\" padded \"\n"
              "; about the next section\n"
              "\n"
              "[B]\n"
              "x=1\n"
              "[A]\n"
              "first=shadowed\n"
              "\n"
              "[C]\n"
              "WindowPosition=1 2 3 4 MAX\n");
    std::string problem;
    auto again = ProfileFile::parse(file.text(), problem);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->value("A", "second"), " padded ");
    EXPECT_EQ(again->value("A", "first"), "one");
}

TEST(ProfileFile, RemovingTheLastKeyRemovesAnEmptySection)
{
    ProfileFile file = parsed("[A]\nk=1\n\n[B]\n; keep me\nk=2\n[C]\nk=3\nj=4\n");
    EXPECT_TRUE(file.removeKey("A", "k"));
    EXPECT_TRUE(file.removeKey("B", "k"));
    EXPECT_TRUE(file.removeKey("C", "k"));
    EXPECT_FALSE(file.removeKey("C", "k"));
    EXPECT_EQ(file.text(), "[B]\n; keep me\n[C]\nj=4\n");
    EXPECT_TRUE(file.removeApplication("B"));
    EXPECT_FALSE(file.removeApplication("B"));
    EXPECT_EQ(file.text(), "[C]\nj=4\n");
}

TEST(ProfileFile, ValuesThatCannotBeStoredAreRefused)
{
    struct Case
    {
        const char *label;
        std::string application, key, value;
        const char *expected;
    };
    const std::vector<Case> cases = {
        {"empty key", "A", "", "v", "must not be empty"},
        {"empty application", "", "k", "v", "must not be empty"},
        {"blank at the end", "A ", "k", "v", "start or end with a blank"},
        {"line break", "A", "k", "one\ntwo", "line breaks"},
        {"= in key", "A", "a=b", "v", "cannot contain \"=\""},
        {"comment key", "A", ";k", "v", "nor start with"},
        {"header key", "A", "[k", "v", "nor start with"},
        {"not UTF-8", "A", "k", "\xFF", "only UTF-8"},
        {"too long", "A", "k", std::string(9000, 'v'), "longer than 8192"},
    };
    for (const Case &c : cases) {
        ProfileFile file;
        const std::string problem = file.setValue(c.application, c.key, c.value);
        EXPECT_NE(problem.find(c.expected), std::string::npos) << c.label << ": " << problem;
        EXPECT_EQ(file.text(), "") << c.label;
    }
}

TEST(ProfileFile, AByteOrderMarkIsWrittenBackSoTheTextReadsTheSame)
{
    // The second mark makes the header a line that carries nothing; dropping the first mark on
    // a save would turn it into a section.
    const std::string text = "\xEF\xBB\xBF\xEF\xBB\xBF[A]\nk=1\n";
    ProfileFile file = parsed(text);
    EXPECT_EQ(file.applicationNames(), std::vector<std::string>{});
    EXPECT_EQ(file.text(), text);
    EXPECT_EQ(parsed("\xEF\xBB\xBF[A]\nk=1\n").text(), "\xEF\xBB\xBF[A]\nk=1\n");
}
