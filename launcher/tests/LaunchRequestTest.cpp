#include "LaunchRequest.h"
#include "InputSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

using Words = std::vector<std::string>;

struct SplitCase
{
    const char *label;
    std::string text;
    Words words;
};

class SplitWords : public testing::TestWithParam<SplitCase>
{};

TEST_P(SplitWords, SplitsAtBlanksAndKeepsQuotedBlanks)
{
    EXPECT_EQ(LaunchRequest::splitWords(GetParam().text), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Texts,
    SplitWords,
    testing::Values(SplitCase{"empty", "", {}},
                    SplitCase{"only_blanks", "  \t \n ", {}},
                    SplitCase{"one_line", "p.iwp a.cbl b.cbl", {"p.iwp", "a.cbl", "b.cbl"}},
                    SplitCase{"lines_and_runs_of_blanks",
                              "  p.iwp\ta.cbl \n\n  b.cbl  ",
                              {"p.iwp", "a.cbl", "b.cbl"}},
                    SplitCase{"windows_line_ends", "p.iwp\r\na.cbl\r\n", {"p.iwp", "a.cbl"}},
                    SplitCase{"quoted_blanks",
                              "\"my project.iwp\" \"src dir/a b.cbl\"",
                              {"my project.iwp", "src dir/a b.cbl"}},
                    SplitCase{"quote_inside_word", "/home/\"ana b\"/a.cbl", {"/home/ana b/a.cbl"}},
                    SplitCase{"unterminated_quote", "p \"a b", {"p", "a b"}},
                    SplitCase{"empty_quotes", "p \"\" a", {"p", "", "a"}}),
    [](const testing::TestParamInfo<SplitCase> &info) { return std::string(info.param.label); });

struct PlaceholderCase
{
    const char *label;
    std::string options;
    std::string expected;
};

class Placeholders : public testing::TestWithParam<PlaceholderCase>
{};

TEST_P(Placeholders, FirstOccurrenceOfEachGoesInAnyCase)
{
    EXPECT_EQ(LaunchRequest::withoutPlaceholders(GetParam().options), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Options,
    Placeholders,
    testing::Values(PlaceholderCase{"none", "-x -y", "-x -y"},
                    PlaceholderCase{"upper_case_keeps_blanks", "-x %O -y", "-x  -y"},
                    PlaceholderCase{"second_stays", "%o-x %o", "-x %o"},
                    PlaceholderCase{"all_four", "%z%A-c %p %o", "-c  "},
                    PlaceholderCase{"percent_at_end", "-x %", "-x %"},
                    PlaceholderCase{"other_letters_stay", "%d %x", "%d %x"},
                    PlaceholderCase{"empty", "", ""}),
    [](const testing::TestParamInfo<PlaceholderCase> &info) {
        return std::string(info.param.label);
    });

class ResponseFile : public testing::Test
{
protected:
    void SetUp() override
    {
        m_path = std::filesystem::temp_directory_path()
                 / ("wizlaunch-response-" + std::to_string(::getpid()));
    }
    void TearDown() override { std::filesystem::remove(m_path); }

    void write(const std::string &text)
    {
        std::ofstream out(m_path, std::ios::binary);
        out << text;
    }

    std::filesystem::path m_path;
};

TEST_F(ResponseFile, ProjectAndSourcesComeFromAllLinesInOrder)
{
    write("/p/pay.iwp /s/A.cbl\n/s/B.cbl\n");
    InputSettings settings;
    ASSERT_EQ(LaunchRequest::fillSettings({"@" + m_path.string()}, settings),
              LaunchRequest::Fill::Filled);
    EXPECT_EQ(settings.projectName, "/p/pay.iwp");
    EXPECT_EQ(settings.files, (Words{"/s/A.cbl", "/s/B.cbl"}));
}

TEST_F(ResponseFile, WordsLongerThanAReadPieceStayWhole)
{
    const std::string longWord(1500, 'x');
    const std::string exactLine(999, 'y'); // fills a piece exactly; its line end follows alone
    write("p.iwp " + longWord + "\n" + exactLine + "\nlast.cbl");
    std::string text;
    ASSERT_TRUE(LaunchRequest::readResponseFile(m_path.string(), text));
    EXPECT_EQ(text, "p.iwp " + longWord + "\n" + exactLine + "\nlast.cbl");
    EXPECT_EQ(LaunchRequest::splitWords(text), (Words{"p.iwp", longWord, exactLine, "last.cbl"}));
}

TEST_F(ResponseFile, OneNewlineAtTheEndIsCut)
{
    write("p.iwp\n\n");
    std::string text;
    ASSERT_TRUE(LaunchRequest::readResponseFile(m_path.string(), text));
    EXPECT_EQ(text, "p.iwp\n");
}

TEST_F(ResponseFile, EmptyOrMissingFileFillsNothing)
{
    InputSettings settings;
    settings.projectName = "kept";
    EXPECT_EQ(LaunchRequest::fillSettings({"@" + m_path.string()}, settings),
              LaunchRequest::Fill::Nothing);
    write(" \n\n");
    EXPECT_EQ(LaunchRequest::fillSettings({"@" + m_path.string()}, settings),
              LaunchRequest::Fill::Nothing);
    EXPECT_EQ(settings.projectName, "kept");
    EXPECT_TRUE(settings.files.empty());
}

TEST_F(ResponseFile, AFifoIsNoResponseFileAndNeverBlocks)
{
    ASSERT_EQ(::mkfifo(m_path.c_str(), 0600), 0);
    InputSettings settings;
    EXPECT_EQ(LaunchRequest::fillSettings({"@" + m_path.string()}, settings),
              LaunchRequest::Fill::Nothing);
}

TEST_F(ResponseFile, WordsTheWizardCannotBeHandedAreLeftOutNamingThem)
{
    // A quoted word may hold a line break; a NUL may stand anywhere in the file.
    std::string text = "\"/p/T\n+dirs=/etc.iwp\" /a/PAY.cbl \"/a/B\nC.cbl\" /a/D";
    text += '\0';
    text += "E.cbl /b/PAY.scb /a/TAX.cbl";
    write(text);
    InputSettings settings;
    ASSERT_EQ(LaunchRequest::fillSettings({"@" + m_path.string()}, settings),
              LaunchRequest::Fill::Filled);
    EXPECT_EQ(LaunchRequest::leaveOutUnusable(settings),
              (Words{"The project name /p/T?+dirs=/etc.iwp holds a line break or a NUL; the "
                     "conversion runs without a project.",
                     "The source /a/B?C.cbl holds a line break or a NUL in its name and is left "
                     "out.",
                     "The source /a/D?E.cbl holds a line break or a NUL in its name and is left "
                     "out.",
                     "The sources /a/PAY.cbl and /b/PAY.scb have the same base name PAY: their "
                     "results (PAY.cvt, PAY.crs and the others) would overwrite each other in the "
                     "output directory. Convert them in separate runs, or rename one of them. "
                     "/b/PAY.scb is left out."}));
    EXPECT_EQ(settings.projectName, "");
    EXPECT_EQ(settings.files, (Words{"/a/PAY.cbl", "/a/TAX.cbl"}));
    std::ostringstream written;
    EXPECT_NO_THROW(settings.write(written));
}

TEST(PlainCommandLine, FirstArgumentIsTheProjectTheRestAreSourcesUnchecked)
{
    InputSettings settings;
    ASSERT_EQ(LaunchRequest::fillSettings({"my project.iwp", "@a.cbl", "missing.cbl"}, settings),
              LaunchRequest::Fill::Filled);
    EXPECT_EQ(settings.projectName, "my project.iwp");
    EXPECT_EQ(settings.files, (Words{"@a.cbl", "missing.cbl"}));
    EXPECT_EQ(LaunchRequest::fillSettings({}, settings), LaunchRequest::Fill::Nothing);
}

} // namespace
