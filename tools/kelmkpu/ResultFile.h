#pragma once

#include <string>

namespace kelmkpu {

/// Writes a result file whole or not at all: the text goes to a new temporary file in the same
/// directory, which then replaces `path`. A failure leaves any earlier file untouched.
class ResultFile final
{
public:
    /// False with `error` naming the file and the cause when the file could not be written.
    static bool write(const std::string &path, const std::string &text, std::string &error);
};

} // namespace kelmkpu
