#include "ResultFile.h"

#include "PathNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelmkpu {

bool ResultFile::write(const std::string &path, std::string_view text, std::string &error)
{
    ResultFile file(path);
    if (!file.open(error))
        return false;
    file.stream().write(text.data(), static_cast<std::streamsize>(text.size()));
    return file.commit(error);
}

ResultFile::ResultFile(std::string path)
    : m_path(std::move(path))
{}

ResultFile::~ResultFile()
{
    if (m_temporary.empty())
        return;
    m_stream.close();
    ::unlink(m_temporary.c_str());
}

bool ResultFile::open(std::string &error)
{
    std::string hidden = ".";
    hidden.append(PathNames::fileName(m_path)).append(".XXXXXX");
    const std::string pattern = PathNames::join(PathNames::directory(m_path), hidden);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = "cannot create a file in " + PathNames::directory(m_path) + ": "
                + std::strerror(errno);
        return false;
    }
    m_temporary = name.data();
    // Result files are ordinary files for the user: not the owner-only mode mkstemp chose.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    ::close(fd);
    m_stream.open(m_temporary, std::ios::binary | std::ios::trunc);
    if (!m_stream) {
        error = "cannot write " + m_path + ": " + std::strerror(errno);
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
        return false;
    }
    return true;
}

bool ResultFile::commit(std::string &error)
{
    if (m_temporary.empty()) {
        error = "cannot write " + m_path + ": the file was not opened";
        return false;
    }
    errno = 0;
    m_stream.flush();
    const bool written = static_cast<bool>(m_stream);
    m_stream.close();
    if (!written || !m_stream || std::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        error = "cannot write " + m_path + ": " + std::strerror(errno ? errno : EIO);
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
        return false;
    }
    m_temporary.clear();
    return true;
}

} // namespace kelmkpu
