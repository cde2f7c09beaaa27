#pragma once

#include "IniLines.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The text of a profile file (an INI file of application sections and keys), parsed line by
/// line so that a change writes back every other line (comments, blank lines, other sections)
/// untouched. The file model behind IProfile; std-only so that it can be fuzzed and tested alone.
///
/// Format, UTF-8 text:
///
///     ; a comment (also "#")
///     [SourceBrowser::592::PAYROLL::PAY01]
///     WindowPosition=12 40 612 440 NONE
///
/// An application name is everything between the "[" that opens its header line and the "]"
/// that ends it, blanks at both ends removed, so names may hold blanks, "::", "=" and even "]".
/// A key is everything before the first "=" of its line, a value everything after it, both
/// without surrounding blanks; a value in double quotes loses them, so that leading and trailing
/// blanks survive (setValue adds the quotes when needed). Nothing is escaped or mangled: the
/// names in the file are exactly the names the program uses. Names match exactly (case counts).
/// Lines before the first header and lines that are neither headers, settings nor comments are
/// kept but carry nothing. When an application or a key occurs more than once, the first
/// occurrence counts for reading and is the one that setValue changes.
class ProfileFile final
{
public:
    /// Longest line accepted, in bytes (without the line end).
    static constexpr std::size_t maxLineLength = 8192;
    /// Largest file accepted, in bytes.
    static constexpr std::size_t maxFileSize = 4 * 1024 * 1024;

    /// An empty profile.
    ProfileFile();

    /// Parses `text`. Returns the file, or nothing and a description of the first problem in
    /// `problem` ("line 3: a section header without its closing \"]\""): text that is not UTF-8,
    /// control characters other than tab and line ends, a header without "]" at its end, a line
    /// longer than maxLineLength, or a text larger than maxFileSize.
    static std::optional<ProfileFile> parse(std::string_view text, std::string &problem);

    /// The value of `key` in `application`; nothing when the file does not hold it.
    std::optional<std::string> value(std::string_view application, std::string_view key) const;

    /// Adds or replaces `key` in `application` (a new application is added at the end of the
    /// file, a new key after the last key of its application). Returns an empty string, or why
    /// the value cannot be stored: an empty name, a name with blanks at either end, a line break
    /// or control character anywhere, "=" in the key or a key starting with "[", ";" or "#", text
    /// that is not UTF-8, or a line longer than maxLineLength.
    std::string setValue(std::string_view application,
                         std::string_view key,
                         std::string_view value);

    /// Removes every occurrence of `key` from `application`; an application left without keys
    /// and without comments is removed as well. False when the key was not there.
    bool removeKey(std::string_view application, std::string_view key);

    /// Removes every section named `application` with its lines. False when there was none.
    bool removeApplication(std::string_view application);

    /// Application names in file order, each once.
    std::vector<std::string> applicationNames() const;
    /// Keys of `application` in file order, each once.
    std::vector<std::string> keyNames(std::string_view application) const;

    /// The file's text, lines ended by "\n".
    std::string text() const;

private:
    using Line = IniLines::Line;
    explicit ProfileFile(IniLines lines)
        : m_lines(std::move(lines))
    {}
    std::vector<Line>::iterator sectionEnd(std::vector<Line>::iterator header);

    IniLines m_lines;
};
