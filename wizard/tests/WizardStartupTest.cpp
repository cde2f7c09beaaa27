#include "WizardStartup.h"
#include "ConversionFile.h"
#include "ConversionFileCollection.h"
#include "Environment.h"
#include "InputSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

const std::string rule(54, '-');

std::string dump(const std::string &project,
                 const std::string &options,
                 const std::vector<std::string> &files)
{
    std::string text = rule + "\nThe Parameters passed to the wizard are:\n";
    text += "Project Name:>   " + project + "\nCompile Options:>" + options
            + "\nConvert these files:>\n";
    for (const std::string &file : files)
        text += "  " + file + "\n";
    return text + rule + "\n";
}

const std::string notOpened = "Error:  The file name passed through the command line is "
                              "incorrect.\n        Proceeding without the input file.\n";

std::string badFormat(const std::string &reason)
{
    return "Error:  Input file has '" + reason
           + "'as an error.\n        Processing of the file cannot continue!\n"
             "Error:  The input file has bad formating.\n"
             "        The rest of the input file has been discarded, Processing will continue.\n";
}

/// A temporary directory that also serves as the per-user state and cache directory.
class WizardStartupTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "kelwiz-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        setenv("CHRONEX_HOME", (m_root / "home").c_str(), 1);
        setenv("XDG_CACHE_HOME", (m_root / "cache").c_str(), 1);
        InputSettings::instance().clear();
    }
    void TearDown() override
    {
        InputSettings::instance().clear();
        fs::remove_all(m_root);
    }

    fs::path m_root;
};

} // namespace

TEST_F(WizardStartupTest, SettingsFileProblemsAreReportedAndTheDumpAlwaysFollows)
{
    writeFile(m_root / "a.cbl", "       IDENTIFICATION DIVISION.\n");
    writeFile(m_root / "b c.cbl", "       IDENTIFICATION DIVISION.\n");
    const std::string a = (m_root / "a.cbl").string();
    const std::string bc = (m_root / "b c.cbl").string();
    const std::string longName(1200, 'P');
    struct Case
    {
        const char *label;
        std::optional<std::string> content; // none: the file does not exist
        std::string expected;
    };
    const Case cases[] = {
        {"missing file", std::nullopt, notOpened + dump("", "", {})},
        {"empty file", std::string(), badFormat("File is empty") + dump("", "", {})},
        {"only the project line",
         "Project Name:>   /p/x.iwp\n",
         badFormat("Missing 2 keyword") + dump("/p/x.iwp", "", {})},
        {"truncated after the options",
         "Project Name:>   /p/x.iwp\nCompile Options:>-c\n",
         badFormat("Missing 3rd keyword") + dump("/p/x.iwp", "-c", {})},
        {"indented options tag",
         "Project Name:>   /p/x.iwp\n  Compile Options:>-c\nConvert these files:>\n",
         badFormat("Compile Option tag is wrong") + dump("/p/x.iwp", "", {})},
        {"files tag with a trailing blank",
         "Project Name:>   /p/x.iwp\nCompile Options:>-c\nConvert these files:> \n  " + a + "\n",
         badFormat("Convert file tag is wrong") + dump("/p/x.iwp", "-c", {})},
        {"project line over 999 characters",
         "Project Name:>   " + longName + "\nCompile Options:>-c\nConvert these files:>\n",
         badFormat("Compile Option tag is wrong") + dump(longName.substr(0, 999 - 17), "", {})},
        {"files that do not exist are skipped",
         "Project Name:>   /p/x.iwp\nCompile Options:>-c -x\nConvert these files:>\n  "
         "/no/such.cbl\n"
         "  " + a
             + "  \n\n" + bc + "\n",
         dump("/p/x.iwp", "-c -x", {a, bc})},
        {"Windows line ends",
         "Project Name:>   /p/x.iwp\r\nCompile Options:>\r\nConvert these files:>\r\n",
         dump("/p/x.iwp", "", {})},
    };
    for (const Case &c : cases) {
        InputSettings::instance().clear();
        const fs::path file = m_root / "settings.txt";
        fs::remove(file);
        if (c.content)
            writeFile(file, *c.content);
        std::ostringstream console;
        WizardStartup::readSettingsFile(file.string(), console);
        EXPECT_EQ(console.str(), c.expected) << c.label;
    }
}

TEST_F(WizardStartupTest, AFifoIsNoSettingsFileAndAnUnusableSourceLineIsSkipped)
{
    const fs::path fifo = m_root / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ostringstream console;
    WizardStartup::readSettingsFile(fifo.string(), console); // must not wait for a writer
    EXPECT_EQ(console.str(), notOpened + dump("", "", {}));

    // A NUL would cut a name short ("a.cbl" exists): the line names no file. The dump shows
    // what was read without letting it break a line.
    writeFile(m_root / "a.cbl", "");
    const std::string a = (m_root / "a.cbl").string();
    writeFile(m_root / "settings.txt",
              std::string("Project Name:>   /p/x\0y.iwp\nCompile Options:>\n"
                          "Convert these files:>\n  ",
                          70)
                  + a + std::string("\0.x\n", 4));
    InputSettings::instance().clear();
    console.str("");
    WizardStartup::readSettingsFile((m_root / "settings.txt").string(), console);
    EXPECT_EQ(console.str(), dump("/p/x?y.iwp", "", {}));
    EXPECT_TRUE(InputSettings::instance().files.empty());
}

TEST_F(WizardStartupTest, ADirectoryIsNoSettingsFile)
{
    std::ostringstream console;
    WizardStartup::readSettingsFile(m_root.string(), console);
    EXPECT_EQ(console.str(), notOpened + dump("", "", {}));
}

TEST_F(WizardStartupTest, DefaultsAreTheSharedOnesOverTheStoredSettings)
{
    EXPECT_EQ(WizardStartup::defaultOutputDirectory("/home/ana/cobol"), "/home/ana/cobol/y2kready");
    fs::create_directories(m_root / "home");
    const fs::path settings = m_root / "home" / "environment.ini";

    // The same seed file as kelconv's when nothing is stored: the panel then says which file
    // it looked for instead of asking for one.
    writeFile(settings, "");
    EXPECT_EQ(WizardStartup::defaultSeedFile(), "/Samples/Seedfile/sample.xsd");
    writeFile(settings, "[COMMON]\nQCOBDIR=/opt/cobol\n");
    EXPECT_EQ(WizardStartup::defaultSeedFile(), "/opt/cobol/Samples/Seedfile/sample.xsd");
    WizardStartup::storeSeedFile("/home/ana/my seeds.xsd");
    EXPECT_EQ(readenv("SeedFile", "Millenium_Conv"), "/home/ana/my seeds.xsd");
    EXPECT_EQ(WizardStartup::defaultSeedFile(), "/home/ana/my seeds.xsd");

    writeFile(m_root / "project.iwp", "  +name=PAY\n");
    EXPECT_EQ(WizardStartup::conversionTitle((m_root / "project.iwp").string()),
              "Year 2000 Conversion of e=PAY");
}

TEST_F(WizardStartupTest, UnreadableSettingsGiveAnEmptySeedFileWithoutAMessage)
{
    fs::create_directories(m_root / "home");
    // Not a settings file: envlib answers from the installation's defaults, so the seed file
    // comes from the compiler directory it knows; nothing may be thrown.
    writeFile(m_root / "home" / "environment.ini", std::string("\0\1\2[bad", 7));
    EXPECT_NO_THROW(WizardStartup::defaultSeedFile());
}

TEST(ConversionFileCollection, AddReportsWhetherTheRecordIsNew)
{
    ConversionFileCollection files;
    EXPECT_TRUE(files.add(std::make_unique<ConversionFile>("/src/A.cbl")));
    EXPECT_TRUE(files.add(std::make_unique<ConversionFile>("/src/B.cbl")));
    EXPECT_FALSE(files.add(std::make_unique<ConversionFile>("/src/A.cbl")));
    EXPECT_FALSE(files.add(nullptr));
    EXPECT_EQ(files.paths(), (std::vector<std::string>{"/src/A.cbl", "/src/B.cbl"}));
    EXPECT_EQ(files.at(1).baseName(), "B");

    ConversionFile *a = files.find("/src/A.cbl");
    ASSERT_NE(a, nullptr);
    std::unique_ptr<ConversionFile> removed = files.remove(*a);
    EXPECT_EQ(removed.get(), a);
    EXPECT_EQ(files.remove(*removed), nullptr);
    EXPECT_EQ(files.find("/src/A.cbl"), nullptr);
    EXPECT_TRUE(files.add(std::move(removed)));
    EXPECT_EQ(files.paths(), (std::vector<std::string>{"/src/B.cbl", "/src/A.cbl"}));
}
