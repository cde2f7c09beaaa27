#include "FileSizeLimit.h"
#include "OutputFile.h"
#include "RegularFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class FileAccess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("chronex-files-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    std::string path(const std::string &name) const { return (root / name).string(); }
    void write(const std::string &name, const std::string &text) const
    {
        std::ofstream(path(name), std::ios::binary) << text;
    }
    std::string read(const std::string &name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root;
};

} // namespace

TEST_F(FileAccess, ReadsOnlyRegularFilesAndNeverBlocks)
{
    write("seed.xsd", "* seed\n");
    fs::create_directory(root / "dir");
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    fs::create_symlink(root / "seed.xsd", root / "link");
    write("big", std::string(100, 'x'));

    const struct
    {
        const char *name;
        RegularFile::Result::Status status;
        const char *problem;
    } cases[] = {
        {"seed.xsd", RegularFile::Result::Status::Read, ""},
        {"link", RegularFile::Result::Status::Read, ""},
        {"missing", RegularFile::Result::Status::Missing, "does not exist"},
        {"dir", RegularFile::Result::Status::NotRegular, "is not a regular file"},
        {"fifo", RegularFile::Result::Status::NotRegular, "is not a regular file"},
        {"big", RegularFile::Result::Status::TooLarge, "is larger than 50 bytes"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const RegularFile::Result result = RegularFile::read(path(c.name), 50);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.problem, c.problem);
        EXPECT_EQ(result.text, result ? "* seed\n" : "");
    }
    EXPECT_TRUE(RegularFile::isRegular(path("link")));
    EXPECT_FALSE(RegularFile::isRegular(path("fifo")));
    EXPECT_FALSE(RegularFile::isRegular(""));
}

TEST_F(FileAccess, WritesNewFilesWithoutFollowingLinks)
{
    write("elsewhere", "precious\n");
    fs::create_symlink(root / "elsewhere", root / "log");
    fs::create_symlink(root / "elsewhere", root / "result");
    fs::create_symlink(root / "elsewhere", root / "appended");

    OutputFile log;
    ASSERT_TRUE(log.create(path("log"))) << log.problem();
    EXPECT_TRUE(log.write("one\n") && log.write("two\n"));
    EXPECT_TRUE(log.close());
    EXPECT_EQ(read("log"), "one\ntwo\n");
    EXPECT_FALSE(fs::is_symlink(root / "log"));

    std::string problem;
    EXPECT_TRUE(OutputFile::replace(path("result"), "new\n", problem)) << problem;
    EXPECT_EQ(read("result"), "new\n");

    OutputFile appended;
    EXPECT_FALSE(appended.append(path("appended")));
    EXPECT_EQ(appended.problem(), "cannot be written: it is not a regular file");

    EXPECT_EQ(read("elsewhere"), "precious\n");
    fs::create_directory(root / "dir");
    OutputFile directory;
    EXPECT_FALSE(directory.create(path("dir")));
    EXPECT_EQ(directory.problem(), "cannot be created: it is not a regular file");
    EXPECT_EQ(fs::directory_iterator(root / "dir"), fs::directory_iterator());
}

TEST_F(FileAccess, AFullDiskIsAnErrorAndLeavesNoPartFileBehind)
{
    write("result", "old content\n");
    write("source", std::string(8192, 's'));
    const std::string big(8192, 'x');
    {
        const FileSizeLimit limit(1024);
        OutputFile log;
        ASSERT_TRUE(log.create(path("log")));
        EXPECT_TRUE(log.write("whole line\n"));
        EXPECT_FALSE(log.write(big));
        EXPECT_EQ(log.problem(), "cannot be written: File too large");
        EXPECT_FALSE(log.write("more"));
        EXPECT_FALSE(log.close());

        std::string problem;
        EXPECT_FALSE(OutputFile::replace(path("result"), big, problem));
        EXPECT_EQ(problem, "cannot be written: File too large");
        EXPECT_FALSE(OutputFile::copy(path("source"), path("copy"), problem));
        EXPECT_EQ(problem, "The file " + path("copy") + " cannot be written: File too large");
        EXPECT_FALSE(OutputFile::copy(path("none"), path("copy"), problem));
        EXPECT_EQ(problem, "The file " + path("none") + " does not exist");
    }
    EXPECT_EQ(read("result"), "old content\n");
    EXPECT_EQ(read("log"), "whole line\n") << "the part of the failed write that fitted is gone";
    EXPECT_FALSE(fs::exists(root / "copy"));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(root))
        ++entries;
    EXPECT_EQ(entries, 3u) << "result, source and the log, no temporary file";
}
