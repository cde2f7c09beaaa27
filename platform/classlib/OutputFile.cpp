#include "OutputFile.h"

#include "PathNames.h"
#include "RegularFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// A name beside `path` that no other writer uses: the process id and a counter.
std::string temporaryName(const std::string &path)
{
    static std::atomic<unsigned long> counter = 0;
    return PathNames::join(PathNames::directory(path),
                           "." + PathNames::fileName(path) + ".tmp" + std::to_string(::getpid())
                               + "." + std::to_string(++counter));
}

} // namespace

OutputFile::~OutputFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool OutputFile::fail(const char *verb, int error)
{
    m_problem = std::string("cannot be ") + verb + ": " + std::strerror(error);
    return false;
}

bool OutputFile::open(const std::string &path, int flags, const char *verb)
{
    if (m_fd >= 0)
        close();
    m_path = path;
    m_problem.clear();
    // 0666 less the umask, as any other program's new files.
    for (;;) {
        m_fd = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666);
        if (m_fd >= 0 || errno != EINTR)
            break;
    }
    if (m_fd < 0 && (errno == ELOOP || errno == EEXIST)) {
        // A link under the name, or a directory that unlinking could not take away.
        m_problem = std::string("cannot be ") + verb + ": it is not a regular file";
        return false;
    }
    if (m_fd < 0)
        return fail(verb, errno);
    struct stat info
    {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        m_problem = std::string("cannot be ") + verb + ": it is not a regular file";
        return false;
    }
    m_size = info.st_size;
    return true;
}

bool OutputFile::create(const std::string &path)
{
    // Unlinking takes away a link itself, never what it points to; a directory stays and makes
    // the exclusive create below fail with a plain reason.
    if (::unlink(path.c_str()) != 0 && errno != ENOENT && errno != EISDIR && errno != EPERM) {
        m_path = path;
        return fail("created", errno);
    }
    return open(path, O_CREAT | O_EXCL, "created");
}

bool OutputFile::append(const std::string &path)
{
    return open(path, O_CREAT | O_APPEND, "written");
}

bool OutputFile::write(std::string_view data)
{
    if (m_fd < 0) {
        if (m_problem.empty())
            m_problem = "cannot be written: it is not open";
        return false;
    }
    const off_t before = m_size;
    while (!data.empty()) {
        const ssize_t written = ::write(m_fd, data.data(), data.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;
            // The part of `data` that did fit goes again: the file ends with whole writes only.
            // Nothing further may land in it once a write has failed.
            while (::ftruncate(m_fd, before) != 0 && errno == EINTR) {
            }
            m_size = before;
            ::close(m_fd);
            m_fd = -1;
            return fail("written", error);
        }
        data.remove_prefix(static_cast<std::size_t>(written));
        m_size += written;
    }
    return true;
}

bool OutputFile::close()
{
    if (m_fd < 0) {
        if (m_problem.empty())
            m_problem = "cannot be written: it is not open";
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    // A network or full file system may report lost data only here. The descriptor is gone
    // after close whatever it returns, so EINTR is not retried.
    if (::close(fd) != 0 && errno != EINTR)
        return fail("written", errno);
    return true;
}

bool OutputFile::replace(const std::string &path, std::string_view text, std::string &problem)
{
    const std::string temporary = temporaryName(path);
    OutputFile file;
    if (!file.open(temporary, O_CREAT | O_EXCL, "created") || !file.write(text) || !file.close()) {
        ::unlink(temporary.c_str());
        problem = file.problem();
        return false;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        problem = std::string("cannot be written: ") + std::strerror(error);
        return false;
    }
    return true;
}

bool OutputFile::copy(const std::string &from, const std::string &to, std::string &problem)
{
    const RegularFile::Result source = RegularFile::read(from);
    if (!source) {
        problem = "The file " + from + " " + source.problem;
        return false;
    }
    std::string writeProblem;
    if (!replace(to, source.text, writeProblem)) {
        problem = "The file " + to + " " + writeProblem;
        return false;
    }
    return true;
}
