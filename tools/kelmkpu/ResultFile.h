#pragma once

#include <fstream>
#include <string>
#include <string_view>

namespace kelmkpu {

/// Writes a result file whole or not at all: the text goes to a new temporary file in the same
/// directory, which then replaces `path`, unless `path` holds the same bytes already (then it
/// stays as it is). A failure leaves any earlier file untouched.
///
/// Either at once (`write`) or as a stream (`open`, `stream`, `commit`), so that a large result
/// need not be held in memory first. A stream never committed is removed with its object.
class ResultFile final
{
public:
    /// False with `error` naming the file and the cause when the file could not be written.
    static bool write(const std::string &path, std::string_view text, std::string &error);

    explicit ResultFile(std::string path);
    ~ResultFile();
    ResultFile(const ResultFile &) = delete;
    ResultFile &operator=(const ResultFile &) = delete;

    /// Creates the temporary file; false with `error` when it cannot be.
    bool open(std::string &error);
    /// Where the text goes while the file is open.
    std::ostream &stream() { return m_stream; }
    /// Closes the temporary file and puts it in place of `path` (or removes it when `path` holds
    /// the same bytes); false with `error` (the temporary file removed) when writing failed.
    bool commit(std::string &error);

private:
    std::string m_path;
    std::string m_temporary; ///< empty when there is none
    std::ofstream m_stream;
};

} // namespace kelmkpu
