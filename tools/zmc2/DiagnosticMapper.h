#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// Tells the compiler's messages about translated files with the user's files and lines: every
/// "<translated file>:<line>" becomes "<original file>:<original line>", and the translated file's
/// name alone becomes the original's. A name counts where it starts a line or follows a blank, a
/// quote or a parenthesis, so that a short name is not found inside a longer path.
class DiagnosticMapper final
{
public:
    /// `originalLines[i]` is the original line of line i + 1 of `translatedPath`. A file may be
    /// added under several names (the compiler names copybooks as it found them).
    void add(const std::string &translatedPath,
             const std::string &originalPath,
             std::vector<std::uint32_t> originalLines);

    /// `output` with every mention of a translated file mapped.
    std::string map(const std::string &output) const;

private:
    struct File
    {
        std::string translated;
        std::string original;
        std::vector<std::uint32_t> lines;
    };
    std::vector<File> m_files;
};
