#pragma once

#include <string>
#include <vector>

/// The command line of the compile pass: `zmc2 [-c] -i<dir> -qANALYZE <source>`.
///
/// The options are tested on a lower-case copy: options holding neither "-c" nor "/c" get " -c "
/// in front; " -i" + the source's directory follows; options holding neither "-qanalyze" nor
/// "/qanalyze" get " -qANALYZE " appended, otherwise a single blank; the source's full path ends
/// the line. The options themselves stay as written.
class CompileArguments final
{
public:
    CompileArguments(std::string options, std::string sourcePath);

    /// The whole argument text, as printed in the "Executed:  zmc2 ..." line.
    const std::string &text() const { return m_text; }

    /// The same arguments as an argument vector: the options part split at blanks, then
    /// "-i<dir>", "-qANALYZE" when added, and the source path. The directory and the source path
    /// stay single arguments even when they hold blanks.
    const std::vector<std::string> &arguments() const { return m_arguments; }

private:
    std::string m_text;
    std::vector<std::string> m_arguments;
};
