#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

/// A directory of its own for one test (std-only), removed with everything in it at the end.
/// `write` puts a file in it, making the folders its name holds.
class TemporaryDirectory
{
public:
    TemporaryDirectory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "chronex-test-XXXXXX")
                                  .string();
        if (::mkdtemp(pattern.data()))
            m_dir = pattern;
    }
    ~TemporaryDirectory()
    {
        std::error_code error;
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir, error);
    }
    TemporaryDirectory(const TemporaryDirectory &) = delete;
    TemporaryDirectory &operator=(const TemporaryDirectory &) = delete;

    /// The directory (empty when it could not be made).
    const std::string &dir() const { return m_dir; }
    std::filesystem::path path() const { return m_dir; }
    /// The path of `name` in the directory.
    std::string file(const std::string &name) const { return m_dir + "/" + name; }

    /// Writes `text` to `name` (a relative path) and returns the file's path.
    std::string write(const std::string &name, const std::string &text) const
    {
        const std::string target = file(name);
        std::filesystem::create_directories(std::filesystem::path(target).parent_path());
        std::ofstream(target, std::ios::binary) << text;
        return target;
    }

private:
    std::string m_dir;
};
