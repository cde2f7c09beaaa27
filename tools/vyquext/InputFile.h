#pragma once

#include <string>

namespace vyquext {

/// Reads one of vyquext's input files (the source, the findings) whole.
///
/// Only regular files of at most 64 MiB are read: a FIFO or a device would block or never end.
/// Throws IAccessError naming the file as "The <what> <path> ..." when it is not a regular file,
/// is too large, cannot be opened or cannot be read.
std::string readInputFile(const std::string &path, const std::string &what);

} // namespace vyquext
