#include "ResultFile.h"

#include "PathNames.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kelmkpu {

bool ResultFile::write(const std::string &path, const std::string &text, std::string &error)
{
    std::string hidden = ".";
    hidden.append(PathNames::fileName(path)).append(".XXXXXX");
    std::string pattern = PathNames::join(PathNames::directory(path), hidden);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = "cannot create a file in " + PathNames::directory(path) + ": "
                + std::strerror(errno);
        return false;
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error = "cannot write " + path + ": " + std::strerror(errno);
            ::close(fd);
            ::unlink(name.data());
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    // Result files are ordinary files for the user: not the owner-only mode mkstemp chose.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (::close(fd) != 0 || std::rename(name.data(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        ::unlink(name.data());
        return false;
    }
    return true;
}

} // namespace kelmkpu
