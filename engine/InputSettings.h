#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

/// The conversion request that the launcher hands to the wizard: a template project, compiler
/// options and the sources to convert.
///
/// Text form (written by `write`, read by `read`):
///
///     Project Name:>   <project path>
///     Compile Options:><options>
///     Convert these files:>
///       <source path>
///       ...
class InputSettings final
{
public:
    /// The program-wide instance.
    static InputSettings &instance();

    std::string projectName;
    std::string compileOptions;
    std::vector<std::string> files;

    /// Reads the text form from `in`, adding to what is already held. Lines are read as
    /// `LineReader` defines them. Source lines are stripped of blanks and kept only when they
    /// name an existing file (a line with a NUL names none).
    ///
    /// On a format error prints "Error:  Input file has '<reason>'as an error." and
    /// "        Processing of the file cannot continue!" on `console`, flushes it, and throws
    /// IAccessError("Format Error in the Input Settings file."); what was read before stays.
    void read(std::istream &in, std::ostream &console);

    /// Writes the text form, every line ended by a newline. Throws IAccessError, writing
    /// nothing, when a value cannot be written as one line (see isWritable).
    void write(std::ostream &out) const;

    /// False for a value with a line break or a NUL: it cannot be the rest of one line.
    static bool isWritable(std::string_view value);

    /// Prints the settings in the text form for a person to read (the parameter dump): as
    /// `write`, except that a line break or NUL in a value is shown as "?" instead of refused.
    void print(std::ostream &out) const;

    void clear();
};
