#include "ExceptionLog.h"

#include "IException.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace {

/// An open log file, closed when it goes.
class AppendDescriptor final
{
public:
    explicit AppendDescriptor(const std::string &fileName)
    {
        // 0666 less the umask, as any other program's new files; a link under the name is not
        // followed, so the log never lands in a file elsewhere.
        do {
            m_fd = ::open(fileName.c_str(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY,
                          0666);
        } while (m_fd < 0 && errno == EINTR);
    }
    ~AppendDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    AppendDescriptor(const AppendDescriptor &) = delete;
    AppendDescriptor &operator=(const AppendDescriptor &) = delete;

    bool isOpen() const { return m_fd >= 0; }

    /// Writes `line` and its line break with one write call (the kernel appends it as a whole);
    /// a partial write, which a regular file gives only when it is full, goes on with the rest.
    bool writeLine(std::string line)
    {
        line += '\n';
        std::string_view rest = line;
        while (!rest.empty()) {
            const ssize_t written = ::write(m_fd, rest.data(), rest.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            rest.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }

private:
    int m_fd = -1;
};

} // namespace

std::vector<std::string> ExceptionLog::reportLines(const IException &exception)
{
    std::string function = "(unknown)";
    std::string file = "(unknown)";
    unsigned long line = 0;
    if (exception.locationCount() > 0) {
        const IExceptionLocation &where = exception.locationAtIndex(0);
        function = where.function;
        file = where.fileName;
        line = where.lineNumber;
    }
    std::vector<std::string> lines;
    lines.reserve(5 + exception.textCount());
    lines.push_back("Exception in: " + function + " (line " + std::to_string(line) + " in file "
                    + file);
    lines.emplace_back(exception.name());
    lines.push_back("error id = " + std::to_string(exception.errorId()));
    lines.push_back("text count = " + std::to_string(exception.textCount()));
    for (std::size_t i = 0; i < exception.textCount(); ++i)
        lines.push_back(std::to_string(i) + exception.text(i));
    lines.emplace_back(exception.isRecoverable() ? "Exception is recoverable."
                                                 : "Exception is unrecoverable.");
    return lines;
}

bool ExceptionLog::append(const IException &exception, const std::string &fileName)
{
    std::vector<std::string> lines;
    try {
        lines = reportLines(exception);
    } catch (...) {
        return false; // out of memory: nothing sensible can be written
    }
    AppendDescriptor log(fileName);
    if (!log.isOpen())
        return false;
    bool complete = true;
    for (std::string &line : lines)
        complete = log.writeLine(std::move(line)) && complete;
    return complete;
}
