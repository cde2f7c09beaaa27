#include "AtomicFile.h"
#include "IException.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "atomicfile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code error;
        fs::permissions(m_dir, fs::perms::owner_all, error);
        fs::remove_all(m_dir, error);
    }
    fs::path m_dir;
};

std::string contents(const fs::path &path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST_F(AtomicFileTest, ReplacesTheFileKeepingItsModeAndLeavesNoTemporaryFile)
{
    const fs::path file = m_dir / "KELPLACE.INI";
    AtomicFile::writeText(file, "[A]\nk=1\n", "profile");
    ::chmod(file.c_str(), 0600);
    AtomicFile::writeText(file, "[A]\nk=2\n", "profile");
    EXPECT_EQ(contents(file), "[A]\nk=2\n");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(AtomicFileTest, ASymbolicLinkIsFollowedAndKept)
{
    const fs::path real = m_dir / "real.ini";
    const fs::path link = m_dir / "link.ini";
    AtomicFile::writeText(real, "old\n", "profile");
    fs::create_symlink(real, link);
    AtomicFile::writeText(link, "new\n", "profile");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(real), "new\n");
}

TEST_F(AtomicFileTest, AFailedWriteNamesTheFileAndLeavesItUnchanged)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into a read-only directory";
    const fs::path file = m_dir / "KELINI.INI";
    AtomicFile::writeText(file, "kept\n", "profile");
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    try {
        AtomicFile::writeText(file, "lost\n", "profile");
        FAIL() << "nothing thrown";
    } catch (const IAccessError &e) {
        EXPECT_NE(e.text().find("Cannot write the profile " + file.string()), std::string::npos)
            << e.text();
        EXPECT_NE(e.text().find("the file was left unchanged"), std::string::npos);
    }
    EXPECT_EQ(contents(file), "kept\n");
}

TEST_F(AtomicFileTest, ReadingTellsMissingFromUnreadable)
{
    std::string text;
    std::string problem;
    EXPECT_EQ(AtomicFile::readText(m_dir / "none", 100, text, problem),
              AtomicFile::ReadResult::Missing);
    EXPECT_EQ(AtomicFile::readText(m_dir, 100, text, problem), AtomicFile::ReadResult::Failed);
    EXPECT_EQ(problem, "not a regular file");
    AtomicFile::writeText(m_dir / "big", std::string(101, 'x'), "profile");
    EXPECT_EQ(AtomicFile::readText(m_dir / "big", 100, text, problem),
              AtomicFile::ReadResult::Failed);
    EXPECT_NE(problem.find("101 bytes"), std::string::npos);
}
