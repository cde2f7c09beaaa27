#pragma once

#include "LexToken.h"
#include "Lexer.h"
#include "TextStore.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace cobol {

/// Expands COPY statements and EXEC SQL INCLUDE: finds the copybook, reads and tokenizes it, expands the COPY
/// statements inside it (nested includes), applies the REPLACING phrase to the whole expanded
/// text, and splices the result in place of the statement. Each COPY becomes an Include in the
/// include tree. Also drops listing statements (EJECT, SKIP1-3, TITLE) and CBL/PROCESS cards.
///
/// Copybooks are searched in: the include directories in order, the directory of the file
/// holding the COPY, the directory of the program source, then each directory of `COBCPY`
/// (colon-separated); in each directory `<library>/<name>` first when OF/IN names a library, then
/// `<name>`; each with the extensions none, .cpy, .cbl, .CPY, .CBL, .cob, and then the same for
/// the name in lower case. A copybook that is already being expanded (recursion) or nested more
/// than 50 deep is not expanded again; both give an error diagnostic, as does a copybook not
/// found. The preprocessor never throws for bad input.
///
/// The expansion is bounded, because COPY statements that each include a copybook twice multiply:
/// twenty such levels make a million includes. At most `maxIncludes` copybooks are expanded into
/// one program and at most `maxExpandedLines` lines of copybook text; the COPY that would go past
/// either limit gives an error diagnostic naming the limit, it and every later COPY stay
/// unexpanded, and `expansionLimitReached` is true.
class Preprocessor final
{
public:
    /// Copybook includes expanded into one program, nested ones counted too.
    static constexpr std::size_t maxIncludes = 10000;
    /// Lines of copybook text expanded into one program.
    static constexpr std::size_t maxExpandedLines = 2000000;

    struct Options
    {
        std::vector<std::string> includeDirectories;
        std::vector<std::string> cobcpyDirectories; ///< usually split from $COBCPY
        /// Searched last: the installation's own system members (SQLCA, DFHAID, DFHEIBLK ...),
        /// so that a user's member of the same name wins.
        std::vector<std::string> systemDirectories;
        SourceFormat format = SourceFormat::Fixed;
    };

    Preprocessor(Options options,
                 std::vector<Include> &includes,
                 std::vector<Diagnostic> &diagnostics)
        : m_options(std::move(options))
        , m_includes(includes)
        , m_diagnostics(diagnostics)
    {}

    /// Expands the program source `text` read from `path` (include 0, which this call adds).
    std::vector<LexToken> run(const std::string &path, std::string_view text);

    /// Reads the member `name` as an include the front end adds itself (Include::implicit), placed
    /// at `place` in the program source, and returns its expanded tokens; empty (with an error
    /// diagnostic) when no directory holds it. The user's directories are searched first.
    std::vector<LexToken> implicitMember(const std::string &name, const SourcePlace &place);

    /// The format the program source ended in (a directive may switch it).
    SourceFormat finalFormat() const { return m_finalFormat; }

    /// Makes the preprocessor list the remarks (comments, directive lines) of every file it
    /// reads, each file once under its first include, read in the format the program ends in
    /// (see Remark). Null (the default) lists nothing.
    void setRemarkSink(std::vector<Remark> *remarks) { m_remarks = remarks; }

    /// True when a limit of the expansion stopped it (see above).
    bool expansionLimitReached() const { return m_limitReached; }

    struct ReplacingPair
    {
        enum class Mode { Full, Leading, Trailing };
        Mode mode = Mode::Full;
        std::vector<LexToken> from;
        std::vector<LexToken> to;
        std::string fromText; ///< normalised, for the include record
        std::string toText;
    };

    /// Applies `pairs` to `tokens` (first matching pair wins at each position; replaced text is not
    /// scanned again), then joins word parts that REPLACING left glued together (":P:-YY"). The
    /// texts it makes are kept in `store`.
    static std::vector<LexToken> applyReplacing(const std::vector<LexToken> &tokens,
                                                const std::vector<ReplacingPair> &pairs,
                                                TextStore &store);

    /// Where the tokens' texts are kept (the files read and the texts made from them): the
    /// tokens are views, valid as long as the preprocessor lives.
    TextStore &store() { return m_store; }

private:
    std::vector<LexToken> expand(std::vector<LexToken> tokens,
                                 std::uint32_t include,
                                 int depth,
                                 SourceFormat format);
    /// A run of the expanded text: tokens [begin, end) of the text being expanded, or of the
    /// copybook tokens that go into it (`inserted`).
    struct ExpansionPiece
    {
        bool inserted = false;
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    /// Rearranges `tokens` in place into `pieces`, in order; what no piece names is dropped.
    static void assemble(std::vector<LexToken> &tokens,
                         const std::vector<ExpansionPiece> &pieces,
                         std::vector<LexToken> &inserted);
    std::size_t copyStatement(const std::vector<LexToken> &tokens,
                              std::size_t at,
                              std::uint32_t include,
                              int depth,
                              SourceFormat format,
                              std::vector<LexToken> &out);
    /// A member to include: the name (upper case, or as written when a literal), as written, the
    /// OF/IN library and how messages name it ("Copybook X").
    struct Member
    {
        std::string name;
        std::string nameAsWritten;
        std::string library;
        std::string subject;
        SourcePlace end; ///< just after the statement's last character (the period)
    };
    /// Finds, reads and expands `member` into `out` as include of `include`.
    void includeCopybook(const Member &member,
                         const std::vector<ReplacingPair> &pairs,
                         const SourcePlace &copyPlace,
                         std::uint32_t include,
                         int depth,
                         SourceFormat format,
                         std::vector<LexToken> &out);
    std::size_t sqlInclude(const std::vector<LexToken> &tokens,
                           std::size_t at,
                           std::uint32_t include,
                           int depth,
                           SourceFormat format,
                           std::vector<LexToken> &out);
    /// Reads "operand BY operand ..." up to the period (not consumed); false when malformed.
    bool replacingPairs(const std::vector<LexToken> &tokens,
                        std::size_t &i,
                        std::vector<ReplacingPair> &pairs);
    std::vector<LexToken> applyReplaceStatements(std::vector<LexToken> tokens);
    /// Lists the remarks of the file `path` (of include `include`) when it is read first.
    /// `lexed` are the remarks the lexer listed reading `text` in `format`: they are the
    /// same when it read the file in the format the program ends in and no `*>` comment can
    /// differ (see Lexer::scanRemarks); otherwise the file is scanned again.
    void listRemarks(const std::string &path,
                     std::string_view text,
                     std::uint32_t include,
                     SourceFormat format,
                     const std::vector<SourceRemark> &lexed);
    std::string resolve(const std::string &name,
                        const std::string &library,
                        const std::string &includingFile) const;
    void error(const SourcePlace &place, std::string message);

    Options m_options;
    std::vector<Include> &m_includes;
    std::vector<Diagnostic> &m_diagnostics;
    std::vector<std::string> m_activeFiles; ///< the include chain being expanded
    /// REPLACING pairs of the COPY statements being expanded, outermost first.
    std::vector<std::vector<std::pair<std::string, std::string>>> m_replacingStack;
    SourceFormat m_finalFormat = SourceFormat::Fixed;
    std::size_t m_expandedLines = 0;
    bool m_limitReached = false;
    bool m_replaceSeen = false; ///< the expanded text may hold a REPLACE statement
    std::vector<Remark> *m_remarks = nullptr;
    TextStore m_store;
    std::unordered_set<std::string> m_remarkFiles; ///< the files whose remarks are listed
};

} // namespace cobol
