#include "InputSettings.h"

#include "IException.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <vector>

namespace {

struct ReadResult
{
    std::string console;
    std::string error;
    InputSettings settings;
};

ReadResult readText(const std::string &text)
{
    ReadResult result;
    std::istringstream in(text);
    std::ostringstream console;
    try {
        result.settings.read(in, console);
    } catch (const IAccessError &e) {
        result.error = e.what();
    }
    result.console = console.str();
    return result;
}

std::string formatMessage(const std::string &reason)
{
    return "Error:  Input file has '" + reason + "'as an error.\n"
           + "        Processing of the file cannot continue!\n";
}

class InputSettingsFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path()
                / ("chronex-settings-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        std::ofstream(m_dir / "PAY.cbl") << "       IDENTIFICATION DIVISION.\n";
        std::ofstream(m_dir / "with blank.cbl") << "\n";
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string path(const std::string &name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
};

} // namespace

TEST(InputSettings, ReportsEachFormatErrorWithItsExactText)
{
    const struct
    {
        const char *label;
        std::string text;
        std::string reason;
    } cases[] = {
        {"empty file", "", "File is empty"},
        {"no project tag", "Project:> x\n", "Missing project name"},
        {"empty project name", "Project Name:>   \n", "Missing project name"},
        {"only the first line", "Project Name:>   P.iwp\n", "Missing 2 keyword"},
        {"first line without newline", "Project Name:>   P.iwp", "Missing 2 keyword"},
        {"blanks before options tag",
         "Project Name:>   P\n  Compile Options:>-x\nConvert these files:>\n",
         "Compile Option tag is wrong"},
        {"missing third line", "Project Name:>   P\nCompile Options:>\n", "Missing 3rd keyword"},
        {"trailing blank after files tag",
         "Project Name:>   P\nCompile Options:>\nConvert these files:> \n",
         "Convert file tag is wrong"},
        {"wrong files tag",
         "Project Name:>   P\nCompile Options:>\nConvert files:>\n",
         "Convert file tag is wrong"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        const ReadResult result = readText(c.text);
        EXPECT_EQ(result.error, "Format Error in the Input Settings file.");
        EXPECT_EQ(result.console, formatMessage(c.reason));
    }
}

TEST(InputSettings, KeepsWhatWasReadBeforeAnError)
{
    const ReadResult result = readText(
        "Project Name:>   /p/PAYROLL.iwp\nCompile Options:>-x %o\nBad\n");
    EXPECT_EQ(result.settings.projectName, "/p/PAYROLL.iwp");
    EXPECT_EQ(result.settings.compileOptions, "-x %o");
    EXPECT_FALSE(result.error.empty());
}

TEST(InputSettings, LinesOfExactlyTheMaximumLengthReadAsWholeLines)
{
    // 999 characters fit the line buffer: such a line is complete, in either line end form.
    const std::string project = "/p/" + std::string(999 - 17 - 3, 'P');
    const std::string options(999 - 17, 'o');
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        const ReadResult result = readText("Project Name:>   " + project + lineEnd
                                           + "Compile Options:>" + options + lineEnd
                                           + "Convert these files:>" + lineEnd);
        EXPECT_EQ(result.console, "") << "line end size " << lineEnd.size();
        EXPECT_EQ(result.settings.projectName, project);
        EXPECT_EQ(result.settings.compileOptions, options);
    }
}

TEST(InputSettings, ProjectNameKeepsItsBlanksAndOptionsStayUnchanged)
{
    const ReadResult result = readText("xx Project Name:>   my proj.iwp  \nCompile Options:> -c \n"
                                       "Convert these files:>\n");
    EXPECT_TRUE(result.error.empty());
    EXPECT_EQ(result.settings.projectName, "my proj.iwp  ");
    EXPECT_EQ(result.settings.compileOptions, " -c ");
    EXPECT_TRUE(result.settings.files.empty());
}

TEST_F(InputSettingsFiles, KeepsExistingFilesAndSkipsOthersSilently)
{
    const std::string text = "Project Name:>   P\nCompile Options:>\nConvert these files:>\n  "
                             + path("PAY.cbl") + "  \n  " + path("missing.cbl") + "\n\n"
                             + path("with blank.cbl") + "\n" + m_dir.string() + "\n";
    const ReadResult result = readText(text);
    EXPECT_TRUE(result.error.empty());
    EXPECT_TRUE(result.console.empty());
    EXPECT_EQ(result.settings.files,
              (std::vector<std::string>{path("PAY.cbl"), path("with blank.cbl")}));
}

TEST_F(InputSettingsFiles, WriterOutputReadsBackTheSame)
{
    InputSettings settings;
    settings.projectName = "/projects/PAYROLL.iwp";
    settings.compileOptions = "-x  -y";
    settings.files = {path("PAY.cbl"), path("with blank.cbl")};
    std::ostringstream out;
    settings.write(out);
    EXPECT_EQ(out.str(),
              "Project Name:>   /projects/PAYROLL.iwp\nCompile Options:>-x  -y\n"
              "Convert these files:>\n  "
                  + path("PAY.cbl") + "\n  " + path("with blank.cbl") + "\n");

    const ReadResult back = readText(out.str());
    EXPECT_EQ(back.settings.projectName, settings.projectName);
    EXPECT_EQ(back.settings.compileOptions, settings.compileOptions);
    EXPECT_EQ(back.settings.files, settings.files);
}

TEST(InputSettings, AValueThatWouldStartANewLineIsNeverWritten)
{
    const std::string withNul("/src/A\0B.cbl", 12);
    for (const auto &[label, member, value] :
         std::vector<std::tuple<const char *, int, std::string>>{
             {"project name with a newline", 0, "/p/T\n+dirs=/etc"},
             {"options with a carriage return", 1, "-x\r-y"},
             {"source with a newline", 2, "/src/A\nB.cbl"},
             {"source with a NUL", 2, withNul}}) {
        SCOPED_TRACE(label);
        InputSettings settings;
        settings.projectName = "/p/P.iwp";
        settings.files = {"/src/OK.cbl"};
        if (member == 0)
            settings.projectName = value;
        else if (member == 1)
            settings.compileOptions = value;
        else
            settings.files.push_back(value);
        std::ostringstream out;
        EXPECT_THROW(settings.write(out), IAccessError);
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_TRUE(InputSettings::isWritable("a\tb c"));
}
