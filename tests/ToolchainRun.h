#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

/// Helpers for running the installed programs as a user would: a child process with an argument
/// vector, its output captured in files, and snapshots of directory trees to prove what a run
/// left alone.
namespace ToolchainRun {

struct ProcessResult
{
    /// The exit status, or -1 when the child was ended by a signal or could not be started.
    int status = -1;
    std::string output;
    std::string errors;
};

/// Runs `program` (searched on PATH when it holds no "/") with `arguments` in `directory`,
/// with the current environment; standard output and error go to files in `captureDirectory`.
ProcessResult run(const std::string &program,
                  const std::vector<std::string> &arguments,
                  const std::filesystem::path &directory,
                  const std::filesystem::path &captureDirectory);

/// Every regular file under `root` (relative path -> content) and every directory (relative
/// path + "/" -> empty), so that added, removed and changed entries all show in a comparison.
std::map<std::string, std::string> snapshot(const std::filesystem::path &root);

/// Copies the tree `from` into `to` (made when missing).
void copyTree(const std::filesystem::path &from, const std::filesystem::path &to);

/// The regular files directly in `directory` whose names end with `extension`, sorted.
std::vector<std::filesystem::path> filesWithExtension(const std::filesystem::path &directory,
                                                      const std::string &extension);

/// The lines of `text` without their line ends.
std::vector<std::string> lines(const std::string &text);

} // namespace ToolchainRun
