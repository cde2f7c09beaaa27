#include "ResultFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace kelmkpu;

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// The names in `directory`, hidden temporaries included.
std::size_t entries(const fs::path &directory)
{
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(directory), fs::directory_iterator()));
}

class ResultFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path()
                / ("resultfile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                   + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        std::ofstream(m_dir / "out.xca") << "earlier\n";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
};

} // namespace

// A streamed result replaces the earlier file only when committed; one dropped on the way (an
// analysis that failed half-way) leaves the earlier file as it was and no temporary behind.
TEST_F(ResultFileTest, streamReplacesTheFileOnlyWhenCommitted)
{
    const std::string path = (m_dir / "out.xca").string();
    std::string error;
    {
        ResultFile dropped(path);
        ASSERT_TRUE(dropped.open(error)) << error;
        dropped.stream() << "half a result";
    }
    EXPECT_EQ(contents(path), "earlier\n");
    EXPECT_EQ(entries(m_dir), 1u);

    ResultFile file(path);
    ASSERT_TRUE(file.open(error)) << error;
    const std::string big(200 * 1024, 'x'); // more than one buffer of the stream
    file.stream() << big << "end\n";
    EXPECT_EQ(contents(path), "earlier\n") << "replaced before commit";
    ASSERT_TRUE(file.commit(error)) << error;
    EXPECT_EQ(contents(path), big + "end\n");
    EXPECT_EQ(entries(m_dir), 1u);
    EXPECT_FALSE(file.commit(error)) << "a second commit has nothing to put in place";
}

// Failures name the file or directory and leave nothing behind.
TEST_F(ResultFileTest, failuresNameTheFileAndLeaveTheEarlierOne)
{
    struct Case
    {
        fs::path path;
        std::string named;
    };
    const Case cases[] = {
        {m_dir / "missing" / "out.xca", (m_dir / "missing").string()},
        {m_dir / "out.xca" / "inner.xca", (m_dir / "out.xca").string()},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_FALSE(ResultFile::write(c.path.string(), "text", error)) << c.path;
        EXPECT_NE(error.find(c.named), std::string::npos) << error;
    }
    EXPECT_EQ(contents(m_dir / "out.xca"), "earlier\n");
    EXPECT_EQ(entries(m_dir), 1u);
}

// A result that holds the same bytes as the file leaves the file as it is (the same file, no
// temporary behind); any difference, even of one byte at the end of a long file, replaces it.
TEST_F(ResultFileTest, sameBytesKeepTheFileAnyDifferenceReplacesIt)
{
    const std::string path = (m_dir / "out.xca").string();
    const std::string longText(150 * 1024, 'y'); // longer than one comparison buffer
    const struct
    {
        const char *label;
        std::string before;
        std::string after;
        bool kept;
    } cases[] = {
        {"same bytes", "earlier\n", "earlier\n", true},
        {"both empty", "", "", true},
        {"same long text", longText, longText, true},
        {"one byte differs at the end", longText + "a", longText + "b", false},
        {"same start, longer", "earlier\n", "earlier\nmore\n", false},
        {"empty replaced", "", "x", false},
    };
    for (const auto &c : cases) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.before;
        // A second name for the file: it sees the result only when the file was kept.
        const fs::path alias = m_dir / "alias";
        fs::remove(alias);
        fs::create_hard_link(path, alias);
        std::string error;
        ASSERT_TRUE(ResultFile::write(path, c.after, error)) << c.label << ": " << error;
        EXPECT_EQ(contents(path), c.after) << c.label;
        EXPECT_EQ(fs::equivalent(path, alias), c.kept) << c.label;
        EXPECT_EQ(entries(m_dir), 2u) << c.label << ": a temporary was left";
        fs::remove(alias);
    }
}
