#pragma once

#include "Lexer.h"

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <string>
#include <unordered_map>
#include <vector>

namespace cobol {

class AnalysisData;

/// The expanded source of a parsed program: the program source with the text of every copybook
/// it copies inserted after the COPY statement (nested copybooks likewise), one line per source
/// line, so a browser shows what the compiler saw and each line maps back to its file and line.
/// It also lists the text the parser never sees as tokens: comments, directive lines and the
/// words of COPY statements, with their places, so a browser can show and colour them.
///
/// The files are read again from the paths in the analysis data. A file that cannot be read
/// leaves its lines out and is listed in `unreadableFiles()`; nothing throws.
class ExpandedSource final
{
public:
    struct Line
    {
        enum class Kind { Code, Comment, Blank, Directive };
        std::uint32_t include = 0;
        std::uint32_t line = 0;
        Kind kind = Kind::Code;
        std::string_view text; ///< tabs expanded, line end removed (valid while this lives)
    };

    /// A piece of text that is no parser token.
    struct Extra
    {
        enum class Kind { Comment, Directive, CopyStatement };
        Kind kind = Kind::Comment;
        std::uint32_t include = 0;
        std::uint32_t line = 0;
        std::uint32_t column = 0;
        std::uint32_t length = 0;
        std::string text;
    };

    explicit ExpandedSource(const AnalysisData &data);
    ExpandedSource(const ExpandedSource &) = delete; // lines are views into its own texts
    ExpandedSource &operator=(const ExpandedSource &) = delete;

    const std::vector<Line> &lines() const { return m_lines; }
    /// Comments, directive lines and COPY statement words, in expanded-source order.
    const std::vector<Extra> &extras() const { return m_extras; }
    /// The expanded line (1-based) that shows line `line` of include `include`; 0 when none.
    std::uint32_t expandedLine(std::uint32_t include, std::uint32_t line) const;
    const std::vector<std::string> &unreadableFiles() const { return m_unreadable; }

    /// The whole text, one line per expanded line, each ended by a newline.
    std::string text() const;
    /// The same text, written to `out`.
    void write(std::ostream &out) const;

private:
    struct File
    {
        bool readable = false;
        std::string text;                    ///< the file as read
        std::deque<std::string> expanded;    ///< lines with tabs, expanded (stable addresses)
        std::vector<std::string_view> lines; ///< into `text`, or into `expanded`
        std::vector<SourceRemark> remarks;
    };

    const File &file(std::uint32_t include);
    void emit(std::uint32_t include, int depth);
    void copyWords(std::uint32_t child);

    const AnalysisData &m_data;
    SourceFormat m_format = SourceFormat::Fixed;
    std::unordered_map<std::string, File> m_cache;      ///< by path: each file is read once
    std::vector<const File *> m_files;                  ///< by include id
    std::vector<std::vector<std::uint32_t>> m_children; ///< include -> includes it copies
    std::vector<std::vector<std::uint32_t>> m_lineMap;  ///< include -> line - 1 -> expanded line
    std::vector<Line> m_lines;
    std::vector<Extra> m_extras;
    std::vector<std::string> m_unreadable;
};

} // namespace cobol
