#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

/// A file the program writes, with every step checked: the open, each write (a full disk or a
/// file-size limit is an error, never a short file that passes), and the close. The file
/// written is always the program's own: a link standing under the name is replaced or refused,
/// never followed, so writing a result cannot change a file elsewhere.
///
///     OutputFile log;
///     if (!log.create(path) || !log.write(text) || !log.close())
///         report("The log " + path + " " + log.problem() + ".");
///
/// Not copyable; closes an open file when destroyed (without reporting: call close to know).
class OutputFile final
{
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    /// Creates a new, empty file at `path`, first removing the file or link that stands there.
    /// False when it cannot be made (a directory under the name, no permission, ...).
    bool create(const std::string &path);

    /// Opens the regular file at `path` for appending, creating it when missing. A link or any
    /// other kind of file under the name is refused.
    bool append(const std::string &path);

    /// Writes all of `data`; false after the first failure, which also takes away the part of
    /// `data` that was written, so the file holds whole writes only, and closes the file.
    bool write(std::string_view data);

    /// Closes the file; false when it was not open or the close reports that data was lost.
    bool close();

    bool isOpen() const { return m_fd >= 0; }
    const std::string &path() const { return m_path; }

    /// Why the last step failed, phrased to follow the file's name: "cannot be written: No
    /// space left on device", "cannot be created: Is a directory".
    const std::string &problem() const { return m_problem; }

    /// Makes `text` the whole content of `path`: it is written into a new file beside it, which
    /// takes the name only when everything was written and closed. On failure nothing new is
    /// left behind, the old file stays as it was, and `problem` says why.
    static bool replace(const std::string &path, std::string_view text, std::string &problem);

    /// Copies the regular file `from` to `to` as `replace` writes it. `problem` names the file
    /// that failed ("The file /x does not exist").
    static bool copy(const std::string &from, const std::string &to, std::string &problem);

private:
    bool open(const std::string &path, int flags, const char *verb);
    bool fail(const char *verb, int error);

    std::string m_path;
    std::string m_problem;
    int m_fd = -1;
    /// The file's size after the last whole write.
    off_t m_size = 0;
};
