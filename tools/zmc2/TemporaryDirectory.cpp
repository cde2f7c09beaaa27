#include "TemporaryDirectory.h"

#include "PathNames.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

TemporaryDirectory::TemporaryDirectory(const std::string &base, const std::string &prefix)
{
    const std::string pattern = PathNames::join(base, prefix + "XXXXXX");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()))
        m_path = name.data();
}

TemporaryDirectory::~TemporaryDirectory()
{
    if (m_path.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
