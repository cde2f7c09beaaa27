#pragma once

#include "EnvironmentReader.h"

#include <iosfwd>
#include <optional>
#include <string>

/// The options file that the conversion aid `vyquext` reads for one source.
///
/// It lives in the directory named by the setting `QVFWORK` of group "Conversion & Structuring"
/// (read on first use, then kept) as <base name>.c3a. A file of that name that is already there
/// is set aside as <base name>.c4a while the conversion runs and given back by `remove`.
class ConversionOptionsFile final
{
public:
    explicit ConversionOptionsFile(EnvironmentReader environment);

    /// Writes the 44-line options file for `sourcePath` and returns its path.
    ///
    /// When `QVFWORK` is unset, prints "Error:  Cannot find QVFWORK environment variable." on
    /// `console` and throws IAccessError("Cannot find QVFWORK environment variable."). Throws
    /// IAccessError naming the file (after printing it as an "Error:  " line) when it cannot be
    /// written or an existing file of that name cannot be set aside.
    std::string write(const std::string &sourcePath,
                      const std::string &cvtPath,
                      const std::string &xcaPath,
                      const std::string &outputDirectory,
                      std::ostream &console);

    /// Deletes the options file at `path` and gives a set-aside ".c4a" file its name back.
    /// Returns the problem when the set-aside file cannot be renamed, empty when all went well.
    static std::string remove(const std::string &path);

    /// The 44 lines, each ended by a newline except the last. Throws IAccessError when a path
    /// holds a control character: it would start a new line.
    static std::string content(const std::string &sourcePath,
                               const std::string &cvtPath,
                               const std::string &xcaPath,
                               const std::string &outputDirectory);

private:
    const std::string &workDirectory(std::ostream &console);

    EnvironmentReader m_environment;
    std::optional<std::string> m_workDirectory;
};
