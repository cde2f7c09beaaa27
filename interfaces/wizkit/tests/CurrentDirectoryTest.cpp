#include "CurrentDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

class CurrentDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("wizkit cd " + std::to_string(getpid()));
        fs::create_directories(m_root / "sub dir");
        std::ofstream(m_root / "file.txt") << "content";
    }
    void TearDown() override { fs::remove_all(m_root); }
    std::string at(const std::string &name) const { return (m_root / name).string(); }

    fs::path m_root;
};

TEST_F(CurrentDirectoryTest, TellsFilesFromDirectories)
{
    struct Case
    {
        const char *label;
        std::string path;
        bool file, directory, valid;
    };
    const Case cases[] = {
        {"file", at("file.txt"), true, false, true},
        {"directory", at("sub dir"), false, true, true},
        {"directory with trailing slash", at("sub dir") + "/", false, true, true},
        {"missing", at("missing"), false, false, false},
        {"empty", "", false, false, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CurrentDirectory::isFile(c.path), c.file) << c.label;
        EXPECT_EQ(CurrentDirectory::isDirectory(c.path), c.directory) << c.label;
        EXPECT_EQ(CurrentDirectory::isValid(c.path), c.valid) << c.label;
    }
}

TEST_F(CurrentDirectoryTest, CopiesRenamesAndDeletesFiles)
{
    EXPECT_TRUE(CurrentDirectory::makeDirectory(at("a/b/c")));
    EXPECT_TRUE(CurrentDirectory::makeDirectory(at("a/b/c"))); // already there
    EXPECT_FALSE(CurrentDirectory::makeDirectory(at("file.txt/x")));

    EXPECT_TRUE(CurrentDirectory::copyFile(at("file.txt"), at("a/copy.txt")));
    EXPECT_TRUE(CurrentDirectory::isFile(at("a/copy.txt")));
    EXPECT_FALSE(CurrentDirectory::copyFile(at("missing"), at("a/copy2.txt")));

    EXPECT_TRUE(CurrentDirectory::renameFile(at("a/copy.txt"), at("a/renamed.txt")));
    EXPECT_FALSE(CurrentDirectory::isValid(at("a/copy.txt")));

    EXPECT_TRUE(CurrentDirectory::deleteFile(at("a/renamed.txt")));
    EXPECT_FALSE(CurrentDirectory::deleteFile(at("a/renamed.txt")));
    EXPECT_FALSE(CurrentDirectory::deleteFile(at("sub dir"))); // never a directory
    EXPECT_TRUE(CurrentDirectory::isDirectory(at("sub dir")));
}

TEST_F(CurrentDirectoryTest, PushAndPopReturnToTheStartingDirectory)
{
    const std::string start = CurrentDirectory::workingDirectory();
    ASSERT_TRUE(CurrentDirectory::pushDirectory(at("sub dir")));
    EXPECT_EQ(CurrentDirectory::workingDirectory(), fs::canonical(m_root / "sub dir").string());
    EXPECT_FALSE(CurrentDirectory::pushDirectory(at("missing")));
    EXPECT_TRUE(CurrentDirectory::popDirectory());
    EXPECT_EQ(CurrentDirectory::workingDirectory(), start);
    EXPECT_FALSE(CurrentDirectory::popDirectory());
}
