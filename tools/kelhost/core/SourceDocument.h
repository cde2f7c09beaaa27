#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class DbMark;
class DbPu;
class DbToken;

/// The source browser's view of a loaded program unit: its expanded source line by line, with
/// the tokens on each line (where they stand and how they are coloured), the copybook each line
/// comes from, the places where a copybook's lines begin and end, and the Year-2000 findings
/// (marks) on each line. Built once in one pass over the unit's tokens, so a browser draws any
/// line without searching; reads the unit only.
class SourceDocument final
{
public:
    /// A token's place on its line: 1-based column and length in characters, its type
    /// (DbToken::Type) and number.
    struct Span
    {
        std::uint32_t column = 0;
        std::uint32_t length = 0;
        std::uint32_t token = 0;
        std::uint8_t type = 0;
    };

    /// What separates a line from the one above it.
    enum class Boundary : std::uint8_t {
        none,  ///< the same file as the line above
        enter, ///< the first line of a copybook (`boundaryInclude` is entered)
        leave  ///< the first line after a copybook (`boundaryInclude` was left)
    };

    struct Line
    {
        std::uint32_t include = 0;  ///< 0 the program source, n the n-th COPY
        std::uint32_t fileLine = 0; ///< the line in that file
        std::uint32_t firstSpan = 0;
        std::uint32_t spanCount = 0;
        std::uint32_t firstMark = 0; ///< into marksOnLine order
        std::uint32_t markCount = 0;
        std::uint32_t boundaryInclude = 0;
        std::uint8_t depth = 0; ///< how many COPY statements deep the line lies
        std::uint8_t kind = 0;  ///< DbLineRecord::Kind
        Boundary boundary = Boundary::none;
    };

    explicit SourceDocument(const DbPu &pu);

    const DbPu &pu() const { return *m_pu; }
    std::uint32_t lineCount() const { return static_cast<std::uint32_t>(m_lines.size()); }
    /// Line `line` (1-based); must be in range.
    const Line &line(std::uint32_t line) const { return m_lines[line - 1]; }
    const std::string &text(std::uint32_t line) const;
    std::span<const Span> spans(std::uint32_t line) const;
    /// The findings on `line`, in token order.
    std::span<const DbMark *const> marks(std::uint32_t line) const;
    /// The deepest COPY nesting of the unit.
    std::uint32_t maximumDepth() const { return m_maximumDepth; }

    /// The line showing token `tokenNumber`; 0 when it has none.
    std::uint32_t lineOfToken(std::uint32_t tokenNumber) const;
    /// The token covering `column` (1-based) of `line`; 0 when none does.
    std::uint32_t tokenAt(std::uint32_t line, std::uint32_t column) const;
    /// The next line after `line` (forward) or before it (backward) that has a finding; wraps
    /// round once; 0 when the unit has none.
    std::uint32_t nextMarkedLine(std::uint32_t line, bool forward) const;
    std::uint32_t markedLineCount() const { return m_markedLines; }

    /// The copybook of `include` ("EMPREC"), empty for the program source.
    std::string copybookName(std::uint32_t include) const;
    /// The file `include` read (its path); empty when unknown.
    std::string fileOf(std::uint32_t include) const;
    /// "EMPREC.cpy line 12" / "PAYRUN.cbl line 120": where `line` comes from.
    std::string placeOf(std::uint32_t line) const;

private:
    const DbPu *m_pu;
    std::vector<Line> m_lines;
    std::vector<Span> m_spans;
    std::vector<const DbMark *> m_marks;
    std::uint32_t m_maximumDepth = 0;
    std::uint32_t m_markedLines = 0;
};
