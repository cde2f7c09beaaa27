#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

/// A directory of its own for one test, removed with everything in it at the end.
class TempDirectory
{
public:
    TempDirectory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "chronex-db-XXXXXX")
                                  .string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDirectory()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    std::string file(const std::string &name) const { return (m_path / name).string(); }
    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
