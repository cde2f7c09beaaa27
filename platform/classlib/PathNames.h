#pragma once

#include <string>
#include <string_view>

/// The one place that knows the native path separator. Paths are plain strings (UTF-8 bytes) so
/// that the std-only engine and the Qt programs split them the same way.
namespace PathNames {

inline constexpr char separator = '/';

/// `directory` + separator + `name`; no separator is doubled when `directory` already ends in one.
/// An empty directory gives `name` alone.
std::string join(std::string_view directory, std::string_view name);

/// Everything after the last separator (the whole path when it has none).
std::string fileName(std::string_view path);

/// Everything before the last separator; empty when there is none. "/x" gives "/".
std::string directory(std::string_view path);

/// The file name without the part from its last "." on; a name without "." is kept whole.
/// "/src/PAY.R1.cbl" gives "PAY.R1".
std::string baseName(std::string_view path);

/// `path` with trailing separators removed; the root "/" stays "/".
std::string withoutTrailingSeparators(std::string_view path);

/// `path` made absolute against the working directory and tidied lexically ("a/./b/../c" gives
/// "<working directory>/a/c"), without trailing separators. Links are not resolved. An empty path
/// stays empty.
std::string absolute(std::string_view path);

/// `path` with the extension of its file name (from the last ".") replaced by `extension`
/// (given with its dot, e.g. ".iwo"); a file name without "." gets `extension` appended.
std::string replaceExtension(std::string_view path, std::string_view extension);

} // namespace PathNames
