#include "GetCommandLine.h"
#include "ProjectOptionsFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

// Loads the real shared library by path, as the launcher does, so the export is tested too.
class GetCommandLineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char *library = std::getenv("RUXVCOPT_LIBRARY");
        ASSERT_NE(library, nullptr);
        m_handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_handle, nullptr) << dlerror();
        m_function = reinterpret_cast<GetCommandLineFunction>(dlsym(m_handle, "GETCOMMANDLINE"));
        ASSERT_NE(m_function, nullptr);
        m_dir = std::filesystem::temp_directory_path()
                / ("chronex-ruxvcopt-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::filesystem::remove_all(m_dir);
        if (m_handle)
            dlclose(m_handle);
    }

    std::string writeProject(const std::string &name, const std::string &optionsText)
    {
        std::ofstream(m_dir / (name + ".iwp")) << "-ProjectInfo\n+name=" << name << "\n";
        std::ofstream(m_dir / (name + ".iwo")) << optionsText;
        return (m_dir / (name + ".iwp")).string();
    }

    void *m_handle = nullptr;
    GetCommandLineFunction m_function = nullptr;
    std::filesystem::path m_dir;
};

} // namespace

TEST_F(GetCommandLineTest, ReturnsTheStoredOptions)
{
    const std::string project = writeProject(
        "PAYROLL",
        "-BuildInfo\n+compileOptions=wrong section\n-CompileInfo\r\n+compileOptions=-x %O -y\r\n");
    char buffer[1000];
    EXPECT_EQ(m_function(project.c_str(), 42, sizeof buffer, buffer), RUXVCOPT_OK);
    EXPECT_STREQ(buffer, "-x %O -y");
}

TEST_F(GetCommandLineTest, FailsWithAnEmptyBufferWhenNothingIsStored)
{
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    const std::string bare = writeProject("BARE", "-CompileInfo\n+other=1\n");
    EXPECT_EQ(m_function(bare.c_str(), 0, sizeof buffer, buffer), RUXVCOPT_NO_OPTIONS);
    EXPECT_STREQ(buffer, "");

    const std::string missing = (m_dir / "MISSING.iwp").string();
    EXPECT_EQ(m_function(missing.c_str(), 0, sizeof buffer, buffer), RUXVCOPT_UNREADABLE);
    // An options file that is a FIFO is unreadable at once: the launcher must not hang on it.
    ASSERT_EQ(::mkfifo((m_dir / "FIFO.iwo").c_str(), 0600), 0);
    const std::string fifo = (m_dir / "FIFO.iwp").string();
    EXPECT_EQ(m_function(fifo.c_str(), 0, sizeof buffer, buffer), RUXVCOPT_UNREADABLE);
    EXPECT_EQ(m_function(nullptr, 0, sizeof buffer, buffer), RUXVCOPT_BAD_ARGUMENTS);
    EXPECT_EQ(m_function("", 0, sizeof buffer, buffer), RUXVCOPT_BAD_ARGUMENTS);
    EXPECT_EQ(m_function(bare.c_str(), 0, 0, buffer), RUXVCOPT_BAD_ARGUMENTS);
}

TEST_F(GetCommandLineTest, NeverWritesPastTheBuffer)
{
    const std::string project = writeProject("LONG",
                                             "-CompileInfo\n+compileOptions=" + std::string(20, 'o')
                                                 + "\n");
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(m_function(project.c_str(), 0, 20, buffer), RUXVCOPT_BUFFER_TOO_SMALL);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[20], '#');
    EXPECT_EQ(m_function(project.c_str(), 0, 21, buffer), RUXVCOPT_OK);
    EXPECT_EQ(std::string(buffer), std::string(20, 'o'));
    EXPECT_EQ(buffer[21], '#');
}

TEST(ProjectOptionsFile, PairsTheProjectWithItsOptionsFile)
{
    EXPECT_EQ(ProjectOptionsFile::optionsFileFor("/p/y2k1.iwp"), "/p/y2k1.iwo");
    EXPECT_EQ(ProjectOptionsFile::optionsFileFor("/p.d/PROJ"), "/p.d/PROJ.iwo");
}
