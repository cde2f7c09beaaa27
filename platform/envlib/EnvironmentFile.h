#pragma once

#include "IniLines.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// One setting as it stands in the environment file.
struct EnvironmentSetting
{
    std::string group;
    std::string name;
    std::string value;
};

/// The text of an environment file, parsed line by line so that it can be changed and written
/// back with every other line (comments, blank lines, unknown lines, other sections) untouched.
///
/// Format: `[group]` section headers and `name=value` lines. Blanks around group names, setting
/// names and values are ignored; a value enclosed in double quotes loses them, so that a value
/// with leading or trailing blanks survives (setValue adds the quotes when needed). Lines starting
/// with ";" or "#" are comments. Other lines, and settings before the first section, are kept
/// but carry no setting.
///
/// Groups and names match without regard to ASCII case ("common" finds `[COMMON]`). When a group
/// or a name occurs more than once, the first occurrence counts for reading and is the one
/// changed by setValue.
class EnvironmentFile final
{
public:
    /// Longest line accepted, in bytes (without the line end).
    static constexpr std::size_t maxLineLength = 8192;
    /// Largest file accepted, in bytes.
    static constexpr std::size_t maxFileSize = 1024 * 1024;

    /// An empty file.
    EnvironmentFile();

    /// Parses `text`. Returns the file, or nothing and a description of the first problem in
    /// `problem` ("line 3: a section header without its closing \"]\""): control characters other
    /// than tab and line ends, a section header without "]", a line longer than maxLineLength, or
    /// a text larger than maxFileSize.
    static std::optional<EnvironmentFile> parse(std::string_view text, std::string &problem);

    /// The value of `name` in `group`; nothing when the file does not hold it.
    std::optional<std::string> value(std::string_view group, std::string_view name) const;

    /// Every setting in file order (first occurrences only).
    std::vector<EnvironmentSetting> settings() const;

    /// Replaces the value of an existing setting, keeping the spelling of its name, or adds the
    /// setting at the end of its group (a new group is added at the end of the file). Returns an
    /// empty string, or a description of why the setting cannot be stored in this format (a line
    /// break or control character in any part, "=" or a leading "[" in the name, "]" in the group,
    /// an empty group or name, a line longer than maxLineLength).
    std::string setValue(std::string_view group, std::string_view name, std::string_view value);

    /// The file's text, lines ended by "\n".
    std::string text() const;

private:
    explicit EnvironmentFile(IniLines lines)
        : m_lines(std::move(lines))
    {}

    IniLines m_lines;
};
