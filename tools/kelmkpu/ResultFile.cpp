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

namespace {

/// True when both files can be read and hold the same bytes. Only a file of the same size is
/// read, so a changed result costs one stat.
bool sameContent(const std::string &first, const std::string &second)
{
    struct stat a = {};
    struct stat b = {};
    if (::stat(first.c_str(), &a) != 0 || ::stat(second.c_str(), &b) != 0 || !S_ISREG(b.st_mode)
        || a.st_size != b.st_size)
        return false;
    std::ifstream one(first, std::ios::binary);
    std::ifstream two(second, std::ios::binary);
    std::vector<char> x(64 * 1024);
    std::vector<char> y(x.size());
    while (one && two) {
        one.read(x.data(), static_cast<std::streamsize>(x.size()));
        two.read(y.data(), static_cast<std::streamsize>(y.size()));
        if (one.gcount() != two.gcount()
            || std::memcmp(x.data(), y.data(), static_cast<std::size_t>(one.gcount())) != 0)
            return false;
    }
    return one.eof() && two.eof();
}

} // namespace

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
    // Opened without truncating: the file is new and empty, and truncating a file makes ext4
    // start writing it back when it is closed, which would cost every run that much.
    m_stream.open(m_temporary, std::ios::binary | std::ios::in | std::ios::out);
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
    if (written && m_stream && sameContent(m_temporary, m_path)) {
        // The file holds these bytes already (the analysis loop writes most results again
        // unchanged): it stays, which spares replacing it and writing it back.
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
        return true;
    }
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
