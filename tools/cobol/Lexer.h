#pragma once

#include "LexToken.h"
#include "TextStore.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cobol {

/// `line` with each tab advanced to the next multiple of 8 columns, as the lexer counts columns.
std::string expandTabs(std::string_view line);

/// Text of a source line that is no token: a comment (a comment or debugging line, or the rest
/// of a line after `*>`) or a compiler directive line. Columns count as the lexer counts them.
struct SourceRemark
{
    enum class Kind { Comment, Directive };
    Kind kind = Kind::Comment;
    std::uint32_t line = 0;
    std::uint32_t column = 0;
    std::uint32_t length = 0; ///< characters up to the end of the line's text area
};

/// Splits the text of one source file into tokens with their places.
///
/// Fixed format: columns 1-6 (sequence area) and everything after column 72 are ignored; column 7
/// is the indicator: `*` and `/` comment lines, `D` debugging lines (skipped, as without
/// WITH DEBUGGING MODE), `-` continues the previous line (a literal open at column 72 resumes after
/// the first quote of the continuation line; a word is joined with the first word of the
/// continuation). Free format: the whole line is code. In both, `*>` starts a comment and
/// `>>SOURCE FORMAT [IS] FREE|FIXED` or `$SET SOURCEFORMAT"FREE"` switch the format for the rest
/// of the file; other `>>` directive lines are skipped. Tabs advance to the next multiple of 8;
/// columns count after that expansion. Inside EXEC SQL ... END-EXEC, `--` starts a comment and
/// commas are tokens of their own (SQL lists are separated by them).
class Lexer final
{
public:
    /// The tokens' texts are views into `text` and into `store`: both must outlive them. Without
    /// a store the lexer keeps what it makes itself (enough for scanRemarks, or for tokens used
    /// while the lexer lives).
    Lexer(std::string_view text,
          std::uint32_t include,
          SourceFormat format,
          std::vector<Diagnostic> &diagnostics,
          TextStore *store = nullptr)
        : m_text(text)
        , m_include(include)
        , m_format(format)
        , m_diagnostics(diagnostics)
        , m_store(store)
    {}

    std::vector<LexToken> tokenize();

    /// The format in effect at the end of the text (a directive may have switched it).
    SourceFormat format() const { return m_format; }

    /// Makes `tokenize` also list the comments and directive lines it skips (for a browser,
    /// which shows them); null (the default) lists nothing.
    void setRemarkSink(std::vector<SourceRemark> *remarks) { m_remarks = remarks; }

    /// The comments and directive lines of the text, as `tokenize` with a remark sink lists
    /// them, without making tokens: a quick scan that follows only what decides where a comment
    /// starts (indicators, directives that switch the format, literals and their continuation).
    std::vector<SourceRemark> scanRemarks();

private:
    void line(std::string_view raw);
    bool directive(std::string_view code);
    void scan(std::string_view area, std::uint32_t firstColumn, bool continuation);
    std::size_t literal(std::string_view area,
                        std::size_t start,
                        std::size_t quote,
                        std::uint32_t firstColumn);
    void push(LexToken token);
    void warn(std::uint32_t column,
              std::string message,
              Diagnostic::Severity severity = Diagnostic::Severity::Warning);
    void closeOpenLiteral();
    void remark(SourceRemark::Kind kind, std::uint32_t column, std::string_view text);
    void remarksOfLine(std::string_view raw, bool &literalOpen, char &quote);

    std::string_view m_text;
    std::uint32_t m_include = 0;
    SourceFormat m_format = SourceFormat::Fixed;
    std::vector<Diagnostic> &m_diagnostics;
    std::vector<LexToken> m_tokens;
    std::uint32_t m_line = 0;
    bool m_pictureNext = false;
    bool m_literalOpen = false; ///< the last token is a literal continued on the next line
    char m_literalQuote = '\'';
    bool m_sawSpace = true;
    /// Where the tokens stand relative to an EXEC block: SQL text reads comments and commas.
    enum class ExecState { Outside, AfterExec, Sql, OtherBlock };
    ExecState m_exec = ExecState::Outside;
    std::vector<SourceRemark> *m_remarks = nullptr;
    TextStore *m_store = nullptr;
    std::unique_ptr<TextStore> m_ownStore; ///< when no store was given
    TextStore &store();
};

} // namespace cobol
