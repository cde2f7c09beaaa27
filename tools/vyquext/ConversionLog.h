#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vyquext {

/// A replacement of columns [begin, end) of a (tab-expanded) source line.
struct Edit
{
    std::size_t line = 0; ///< 0-based
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string text;
    std::size_t change = 0; ///< index of the change it belongs to
};

/// One conversion, as the report shows it.
struct Change
{
    std::size_t line = 0; ///< 1-based source line
    std::string what;
    std::string oldText;
    std::string newText;
    bool undone = false; ///< taken back because its lines could not be laid out
};

/// Something the tool left for a person (Warning, Error) or only wants to mention (Note).
struct Remark
{
    enum class Severity { Note, Warning, Error };
    Severity severity = Severity::Warning;
    std::string file;     ///< empty: the source
    std::size_t line = 0; ///< 1-based; 0 when not tied to a line
    std::string what;
    std::string reason;
};

/// Everything one conversion decided: the edits to make, the changes they carry out and the
/// remarks.
class ConversionLog final
{
public:
    std::vector<Edit> edits;
    std::vector<Change> changes;
    std::vector<Remark> remarks;

    /// Records `change` carried out by `changeEdits` (their `change` index is set here).
    void addChange(Change change, std::vector<Edit> changeEdits);
    void addRemark(Remark::Severity severity,
                   std::size_t line,
                   std::string what,
                   std::string reason,
                   std::string file = {});

    /// True when a change or a remark (of any severity) is tied to source line `line` (1-based).
    bool mentionsLine(std::size_t line) const;

    /// 0 without warnings or errors, 4 with warnings, 8 with errors.
    int returnCode() const;
};

} // namespace vyquext
