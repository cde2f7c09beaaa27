#include "SettingsFile.h"

#include "IException.h"
#include "PathNames.h"
#include "TerminationCleanup.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

SettingsFile::SettingsFile()
{
    const std::string directory = temporaryDirectory();
    std::string pattern = PathNames::join(directory, "y2kXXXXXX");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    m_descriptor = ::mkstemp(name.data());
    if (m_descriptor < 0) {
        ITHROW(IAccessError("Cannot create a settings file in the temporary directory " + directory
                            + ": " + std::strerror(errno)));
    }
    m_path = name.data();
    TerminationCleanup::setFile(m_path.c_str());
}

SettingsFile::~SettingsFile()
{
    TerminationCleanup::setFile(nullptr);
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    if (!m_path.empty())
        std::remove(m_path.c_str());
}

void SettingsFile::write(const std::string &text)
{
    const char *data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t written = ::write(m_descriptor, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            ITHROW(IAccessError("Cannot write the settings file " + m_path + ": "
                                + std::strerror(errno)));
        }
        data += written;
        left -= std::size_t(written);
    }
}

std::string SettingsFile::temporaryDirectory()
{
    const char *value = std::getenv("TMPDIR");
    return value && *value ? std::string(value) : std::string("/tmp");
}
