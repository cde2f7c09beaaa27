#include "Environment.h"

#include "IException.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

/// Every test gets its own state, data and cache directories.
class Environment : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "envlib-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        m_home = m_root / "home";
        fs::create_directories(m_home);
        setenv("CHRONEX_HOME", m_home.c_str(), 1);
        setenv("CHRONEX_DATA_DIR", (m_root / "data").c_str(), 1);
        setenv("XDG_CACHE_HOME", (m_root / "cache").c_str(), 1);
    }
    void TearDown() override
    {
        std::error_code error;
        fs::permissions(m_home, fs::perms::owner_all, error);
        fs::remove_all(m_root, error);
    }

    fs::path settingsFile() const { return m_home / "environment.ini"; }

    fs::path m_root;
    fs::path m_home;
};

TEST_F(Environment, FirstReadCreatesTheFileWithTheInstallationDefaults)
{
    EXPECT_EQ(readenv("QCOBDIR", "COMMON"), (m_root / "data").string());
    EXPECT_EQ(readenv("CONFIG_PATH", "Toolbench"), (m_root / "data" / "templates").string());
    const fs::path work = m_root / "cache" / "chronex" / "work";
    EXPECT_EQ(readenv("QVFWORK", "Conversion & Structuring"), work.string());
    EXPECT_TRUE(fs::is_directory(work));
    EXPECT_TRUE(fs::is_regular_file(settingsFile()));
    EXPECT_EQ(readenv("PRJDIR", "Toolbench"), "");
}

TEST_F(Environment, FirstReadCreatesAMissingStateDirectory)
{
    setenv("CHRONEX_HOME", (m_home / "new" / "deeper").c_str(), 1);
    EXPECT_EQ(readenv("QCOBDIR", "COMMON"), (m_root / "data").string());
    EXPECT_TRUE(fs::is_regular_file(m_home / "new" / "deeper" / "environment.ini"));
}

TEST_F(Environment, AnEmptyFileMeansEverySettingIsUnset)
{
    writeFile(settingsFile(), "");
    EXPECT_EQ(readenv("QCOBDIR", "COMMON"), "");
    EXPECT_EQ(readenv("SeedFile", "Millenium_Conv"), "");
    EXPECT_EQ(readFile(settingsFile()), "");
    EXPECT_TRUE(readAllSettings().empty());
}

TEST_F(Environment, AStoredValueIsReadBackWhateverTheCaseOfGroupAndName)
{
    writeFile(settingsFile(), "");
    writeStringValue("SeedFile", "Millenium_Conv", "/home/ana/seeds/my seed.xsd");
    EXPECT_EQ(readenv("SeedFile", "Millenium_Conv"), "/home/ana/seeds/my seed.xsd");
    EXPECT_EQ(readenv("SEEDFILE", "millenium_conv"), "/home/ana/seeds/my seed.xsd");

    writeStringValue("seedfile", "MILLENIUM_CONV", "/other.xsd");
    EXPECT_EQ(readFile(settingsFile()), "[Millenium_Conv]\nSeedFile=/other.xsd\n");
}

TEST_F(Environment, AWriteBeforeAnyReadKeepsTheDefaults)
{
    writeStringValue("PRJDIR", "Toolbench", "/projects");
    EXPECT_EQ(readenv("PRJDIR", "Toolbench"), "/projects");
    EXPECT_EQ(readenv("QCOBDIR", "COMMON"), (m_root / "data").string());
    EXPECT_EQ(readenv("CONFIG_PATH", "Toolbench"), (m_root / "data" / "templates").string());
}

TEST_F(Environment, WritingKeepsEveryOtherLineAsItWas)
{
    writeFile(settingsFile(),
              "; my settings\r\n"
              "[COMMON]\n"
              "  QCOBDIR = /opt/cobol   \n"
              "# a remark\n"
              "a line without equals sign\n"
              "\n"
              "; the toolbench follows\n"
              "[Toolbench]\n"
              "CONFIG_PATH=/cfg\n"
              "PRJDIR=/old\n");
    writeStringValue("PRJDIR", "toolbench", "/new projects");
    writeStringValue("EXTRA", "COMMON", "x=y");
    writeStringValue("QVFWORK", "Conversion & Structuring", "/work dir");

    EXPECT_EQ(readFile(settingsFile()),
              "; my settings\n"
              "[COMMON]\n"
              "  QCOBDIR = /opt/cobol   \n"
              "EXTRA=x=y\n"
              "# a remark\n"
              "a line without equals sign\n"
              "\n"
              "; the toolbench follows\n"
              "[Toolbench]\n"
              "CONFIG_PATH=/cfg\n"
              "PRJDIR=/new projects\n"
              "\n"
              "[Conversion & Structuring]\n"
              "QVFWORK=/work dir\n");
    EXPECT_EQ(readenv("QCOBDIR", "COMMON"), "/opt/cobol");
    EXPECT_EQ(readenv("EXTRA", "COMMON"), "x=y");
    EXPECT_EQ(readenv("QVFWORK", "Conversion & Structuring"), "/work dir");

    const auto all = readAllSettings();
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[4].group, "Conversion & Structuring");
    EXPECT_EQ(all[4].name, "QVFWORK");
}

TEST_F(Environment, ValuesRoundTripExactly)
{
    writeFile(settingsFile(), "");
    const struct
    {
        const char *label;
        std::string value;
    } cases[] = {
        {"leading and trailing blanks", "  padded  "},
        {"enclosed in quotes", "\"quoted\""},
        {"a lone quote", "\""},
        {"semicolon and hash", "a;b#c"},
        {"brackets", "[not a section]"},
        {"empty", ""},
        {"tab inside", "a\tb"},
    };
    for (const auto &c : cases) {
        writeStringValue("Value", "Round Trip", c.value);
        EXPECT_EQ(readenv("Value", "Round Trip"), c.value) << c.label;
    }
}

TEST_F(Environment, SettingsThatCannotBeStoredAreRefusedWithoutTouchingTheFile)
{
    writeFile(settingsFile(), "[COMMON]\nQCOBDIR=/x\n");
    const struct
    {
        const char *label;
        std::string name, group, value;
    } cases[] = {
        {"line break in value", "N", "G", "one\ntwo"},
        {"equals sign in name", "A=B", "G", "v"},
        {"bracket in group", "N", "G]", "v"},
        {"empty name", "", "G", "v"},
        {"empty group", "N", "", "v"},
        {"over-long value", "N", "G", std::string(9000, 'v')},
        {"group whose header would be over-long", "N", std::string(9000, 'G'), "v"},
    };
    for (const auto &c : cases) {
        EXPECT_THROW(writeStringValue(c.name, c.group, c.value), IAccessError) << c.label;
        EXPECT_EQ(readFile(settingsFile()), "[COMMON]\nQCOBDIR=/x\n") << c.label;
    }
}

TEST_F(Environment, AnUnwritableStateDirectoryGivesAnErrorNamingTheFile)
{
    writeFile(m_root / "plain-file", "");
    const fs::path below = m_root / "plain-file" / "chronex";
    setenv("CHRONEX_HOME", below.c_str(), 1);

    try {
        writeStringValue("SeedFile", "Millenium_Conv", "/s.xsd");
        FAIL() << "no error";
    } catch (const IAccessError &error) {
        EXPECT_NE(error.text().find((below / "environment.ini").string()), std::string::npos)
            << error.text();
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(readenv("QCOBDIR", "COMMON"), (m_root / "data").string());
    EXPECT_NE(testing::internal::GetCapturedStderr().find(below.string()), std::string::npos);
}

TEST_F(Environment, AReadOnlyDirectoryOrFileRefusesTheWrite)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    writeFile(settingsFile(), "[A]\nx=1\n");
    fs::permissions(settingsFile(), fs::perms::owner_read);
    EXPECT_THROW(writeStringValue("x", "A", "2"), IAccessError);
    fs::permissions(settingsFile(), fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(m_home, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(writeStringValue("x", "A", "2"), IAccessError);
    EXPECT_EQ(readenv("x", "A"), "1");
}

TEST_F(Environment, ACorruptFileIsReportedReadAsDefaultsAndNeverOverwritten)
{
    const struct
    {
        const char *label;
        std::string content;
    } cases[] = {
        {"binary garbage",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0[COMMON]\n",
                     19)},
        {"section without closing bracket", "[COMMON]\nQCOBDIR=/x\n[Toolbench\nPRJDIR=/p\n"},
        {"over-long line", "[COMMON]\nQCOBDIR=" + std::string(10000, 'x') + "\n"},
    };
    for (const auto &c : cases) {
        writeFile(settingsFile(), c.content);

        testing::internal::CaptureStderr();
        EXPECT_EQ(readenv("QCOBDIR", "COMMON"), (m_root / "data").string()) << c.label;
        EXPECT_EQ(readenv("PRJDIR", "Toolbench"), "") << c.label;
        const std::string messages = testing::internal::GetCapturedStderr();
        EXPECT_NE(messages.find(settingsFile().string()), std::string::npos) << c.label;

        EXPECT_THROW(writeStringValue("SeedFile", "Millenium_Conv", "/s.xsd"), IAccessError)
            << c.label;
        EXPECT_THROW(readAllSettings(), IAccessError) << c.label;
        EXPECT_EQ(readFile(settingsFile()), c.content) << c.label;
    }
}

TEST_F(Environment, AFifoOrDirectoryUnderTheNameIsRefusedWithoutWaiting)
{
    for (const char *kind : {"fifo", "directory"}) {
        fs::remove_all(settingsFile());
        if (std::string(kind) == "fifo")
            ASSERT_EQ(::mkfifo(settingsFile().c_str(), 0600), 0);
        else
            fs::create_directory(settingsFile());

        // The same problem is reported once per process: the FIFO's turn shows it.
        testing::internal::CaptureStderr();
        EXPECT_EQ(readenv("QCOBDIR", "COMMON"), (m_root / "data").string()) << kind;
        const std::string messages = testing::internal::GetCapturedStderr();
        if (std::string(kind) == "fifo") {
            EXPECT_EQ(messages,
                      "Cannot read the settings file " + settingsFile().string()
                          + ": not a regular file. The installation's defaults are used.\n");
        }
        EXPECT_THROW(writeStringValue("SeedFile", "Millenium_Conv", "/s.xsd"), IAccessError);
        EXPECT_EQ(fs::status(settingsFile()).type(),
                  std::string(kind) == "fifo" ? fs::file_type::fifo : fs::file_type::directory);
    }
}

TEST_F(Environment, ChangesByAnotherWriterAreSeenAtOnce)
{
    writeFile(settingsFile(), "[Toolbench]\nPRJDIR=/one\n");
    EXPECT_EQ(readenv("PRJDIR", "Toolbench"), "/one");
    writeFile(settingsFile(), "[Toolbench]\nPRJDIR=/two\n");
    EXPECT_EQ(readenv("PRJDIR", "Toolbench"), "/two");
}

TEST_F(Environment, ConcurrentWritersLoseNoSetting)
{
    writeFile(settingsFile(), "");
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < 10; ++i)
                writeStringValue("N" + std::to_string(t) + "_" + std::to_string(i),
                                 "Threads",
                                 std::to_string(i));
        });
    }
    for (auto &writer : writers)
        writer.join();
    EXPECT_EQ(readAllSettings().size(), 40u);
    EXPECT_EQ(readenv("N3_9", "Threads"), "9");
}

TEST_F(Environment, ASymbolicLinkToTheFileIsKept)
{
    writeFile(m_root / "elsewhere.ini", "[A]\nx=1\n");
    fs::create_symlink(m_root / "elsewhere.ini", settingsFile());
    writeStringValue("x", "A", "2");
    EXPECT_TRUE(fs::is_symlink(settingsFile()));
    EXPECT_EQ(readFile(m_root / "elsewhere.ini"), "[A]\nx=2\n");
}

} // namespace
