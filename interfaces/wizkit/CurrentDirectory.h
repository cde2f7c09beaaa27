#pragma once

#include <string>

/// File-system helpers of the kit and the process's working directory. Paths are UTF-8 strings
/// with "/" separators. Every operation reports failure by its result and never throws.
///
/// The working directory belongs to the whole process: prefer the working-directory argument of
/// startProcess over changing it while other threads run.
class CurrentDirectory final
{
public:
    /// The process's working directory, without a trailing separator (except the root "/").
    static std::string workingDirectory();

    /// True when `path` names an existing regular file (after following links).
    static bool isFile(const std::string &path);
    /// True when `path` names an existing directory (after following links).
    static bool isDirectory(const std::string &path);
    /// True when `path` names anything that exists.
    static bool isValid(const std::string &path);

    /// Creates `path` and any missing parents; true when it exists as a directory afterwards.
    static bool makeDirectory(const std::string &path);
    /// Copies the file `from` to `to`, replacing `to`; true on success.
    static bool copyFile(const std::string &from, const std::string &to);
    /// Deletes the file `path`; true when it existed and is gone.
    static bool deleteFile(const std::string &path);
    /// Renames `from` to `to` (replacing a file `to`); true on success.
    static bool renameFile(const std::string &from, const std::string &to);

    /// Remembers the working directory and changes to `path`; false (and nothing remembered)
    /// when the change fails.
    static bool pushDirectory(const std::string &path);
    /// Returns to the directory remembered by the matching pushDirectory; false when none is
    /// remembered or the change fails.
    static bool popDirectory();
};
