#pragma once

#include <string>
#include <vector>

class IException;

/// The exception log of the analysis views, "KELEXCPT.OUT" in the process's current directory:
/// one block of lines per reported exception, appended, never truncated.
///
///     Exception in: <function> (line <n> in file <file>
///     <class name>
///     error id = <id>
///     text count = <count>
///     0<text 0>                  (one line per text, the most recent first)
///     ...
///     Exception is recoverable.  (or "Exception is unrecoverable.")
///
/// The location is the exception's first recorded one (where it was raised); an exception with
/// no location reads "(unknown)" for function and file and 0 for the line. The line with the
/// location has no closing parenthesis: that is the format.
///
/// Each report opens the file for appending, writes every line with one write call and closes
/// it again, so reports from several threads or processes may interleave line by line but never
/// lose or split a line. A file that cannot be opened or written loses the report without
/// notice: the caller's handling of the exception goes on.
class ExceptionLog final
{
public:
    static constexpr const char *defaultFileName = "KELEXCPT.OUT";

    /// The lines of the report on `exception`, each without its line break.
    static std::vector<std::string> reportLines(const IException &exception);

    /// Appends the report on `exception` to `fileName`. True when every line was written.
    static bool append(const IException &exception, const std::string &fileName = defaultFileName);
};
