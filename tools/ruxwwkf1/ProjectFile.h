#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// A project file (".iwp", and the options file ".iwo" in the same form), read into memory.
///
/// The file is a list of lines: "-Section" starts a section, "+key=value" sets a key in the
/// current section; every other line (empty lines, notes) is ignored. Sections and keys match
/// without regard to case; the first occurrence of a key in a section counts. A line may end in
/// "\r" (a file written on Windows); the "\r" is not part of the value.
///
/// Std-only, so the engine's tests and the Qt project tool read projects the same way.
class ProjectFile final
{
public:
    /// Window placement stored by the project tool (x, y, width, height).
    struct Position
    {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };

    /// Reads the project file at `path`. Throws IAccessError naming the file when it cannot be
    /// opened or read, and when it holds no section or key line at all (an empty file, or a
    /// file of another kind).
    static ProjectFile load(const std::string &path);

    /// Reads project lines from `in`; `path` names the file in messages and is the base for
    /// relative directories. Throws IAccessError like `load`.
    static ProjectFile parse(std::istream &in, const std::string &path);

    const std::string &path() const { return m_path; }

    /// The value of `key` in `section` (both without their "-" / "+"); empty when absent.
    std::string value(std::string_view section, std::string_view key) const;
    /// Whether `section` holds `key`, even with an empty value.
    bool contains(std::string_view section, std::string_view key) const;

    /// "+name=" of "-ProjectInfo"; the project file's base name when that is empty or missing.
    std::string name() const;

    /// The project's directories: "+defaultDir=" first, then each entry of "+dirs=" (entries
    /// separated by ";"). Blanks around an entry and empty entries are dropped; doubled
    /// backslashes (the way the conversion writes directory values) are undone; a relative entry
    /// is taken from the project file's directory; a directory named twice is listed once.
    std::vector<std::string> directories() const;

    /// The patterns of "+filter=" (separated by ";"); "*" when the project sets none.
    std::vector<std::string> filters() const;

    /// Whether `fileName` matches one of the filters; "*" and "?" are wildcards, letters match
    /// without regard to case ("*.cbl" takes "PAYRUN.CBL").
    bool matchesFilter(std::string_view fileName) const;

    /// Names of the regular files in `directory` that match the filters, sorted. A directory
    /// that does not exist or cannot be read gives an empty list.
    std::vector<std::string> matchingFiles(const std::string &directory) const;

    /// "+position=x,y,width,height"; none when absent or not four numbers with a positive size.
    std::optional<Position> position() const;

    /// "+refresh=yes": the tool follows changes in the project's directories.
    bool refreshes() const;

    /// Wildcard match of one pattern ("*", "?"), letters compared without regard to case.
    static bool wildcardMatch(std::string_view pattern, std::string_view text);

private:
    struct Entry
    {
        std::string section;
        std::string key;
        std::string value;
    };

    const Entry *find(std::string_view section, std::string_view key) const;

    std::string m_path;
    std::vector<Entry> m_entries;
};
