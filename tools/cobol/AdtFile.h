#pragma once

#include "AdtCodec.h"
#include "AnalysisData.h"
#include "ContentDigest.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cobol {

/// An analysis data file opened for reading the way kelmkpu reads it: the small tables at once,
/// the statements, the tokens and the syntax nodes one by one from the file's compact sections,
/// so that a program of a hundred thousand lines never holds all of them as structs.
///
/// `open` checks the whole file (every number, enumeration and reference, as reading it whole
/// does) and throws IAccessError naming the file on anything malformed; after that the readers
/// below cannot fail. A text file (either version) is read whole and converted.
class AdtFile final
{
public:
    /// Opens `path`, a binary or text analysis data file.
    static std::unique_ptr<AdtFile> open(const std::string &path);
    /// The file's bytes, `bytes`, of either form; `fileName` names it in messages.
    static std::unique_ptr<AdtFile> fromBytes(std::string bytes, const std::string &fileName);
    /// The analysis data `data`, as it would be read back from its file (for tests).
    static std::unique_ptr<AdtFile> fromData(const AnalysisData &data);
    /// Everything in the binary file `bytes`, as it stands (AnalysisData::parse).
    static AnalysisData readBinary(const std::string &bytes, const std::string &fileName);

    ~AdtFile();
    AdtFile(const AdtFile &) = delete;
    AdtFile &operator=(const AdtFile &) = delete;

    const std::string &fileName() const { return m_fileName; }

    /// The program, includes, items, nodes, remarks and diagnostics; its tokens, statements and
    /// syntax nodes are empty (see the readers below).
    const AnalysisData &data() const { return m_data; }
    std::uint32_t statementCount() const { return m_counts[statementSection]; }
    std::uint32_t tokenCount() const { return m_counts[tokenSection]; }
    std::uint32_t syntaxNodeCount() const { return m_counts[syntaxSection]; }

    /// Calls `visit` with each statement in order. The statement is one object filled anew each
    /// time: keep a copy of what is needed later. Throws IAccessError naming the file when a
    /// statement is malformed or refers to what does not exist (statements are checked as they
    /// are read, not by `open`).
    void forEachStatement(const std::function<void(const Statement &)> &visit) const;
    /// Frees the statements' bytes; forEachStatement then visits nothing.
    void releaseStatements();
    /// Frees the syntax nodes (and their parents); forEachSyntaxNode then visits nothing and
    /// the count is 0.
    void releaseSyntaxNodes();
    /// Frees the tokens; their readers then read nothing and the count is 0.
    void releaseTokens();

    /// A token as the reader gives it: Token's fields, its text a view into the file's bytes.
    struct TokenView
    {
        std::uint32_t id = 0;
        TokenKind kind = TokenKind::Word;
        TokenRole role = TokenRole::None;
        bool replaced = false;
        SourcePlace place;
        std::uint32_t length = 0;
        std::uint32_t item = 0;
        std::uint32_t node = 0;
        std::string_view text; ///< valid as long as the AdtFile
    };

    /// Reads the tokens in order.
    class TokenReader final
    {
    public:
        /// What a reader fills in: everything, or the places only (faster: the text is skipped).
        enum class Fields { All, Places };

        /// Fills token() with the next token; false after the last.
        bool next();
        const TokenView &token() const { return m_token; }

    private:
        friend class AdtFile;
        TokenReader(std::string_view bytes, std::uint32_t count, Fields fields);

        adt::ByteReader m_in;
        std::uint32_t m_left = 0;
        Fields m_fields = Fields::All;
        TokenView m_token;
    };
    TokenReader tokens(TokenReader::Fields fields = TokenReader::Fields::All) const;

    /// Whether tokens `first` to `last` (ids; out of range ids are left out) hold `word`, an
    /// upper-case word, in any letter case.
    bool tokensHold(std::uint32_t first, std::uint32_t last, std::string_view word) const;

    /// A syntax node as forEachSyntaxNode gives it: SyntaxNode's fields, its name a view into the
    /// file's bytes.
    struct SyntaxNodeView
    {
        SyntaxNode::Kind kind = SyntaxNode::Kind::Program;
        std::string_view name;
        std::uint32_t parent = 0;
        std::uint32_t firstToken = 0;
        std::uint32_t lastToken = 0;
        std::uint32_t item = 0;
        std::uint32_t programNode = 0;
    };
    /// Calls `visit` with each syntax node in order (numbers from 1).
    void forEachSyntaxNode(
        const std::function<void(std::uint32_t, const SyntaxNodeView &)> &visit) const;
    /// The parent of each syntax node (index: the node's number; index 0 is unused).
    const std::vector<std::uint32_t> &syntaxParents() const { return m_syntaxParents; }

    /// Everything, as AnalysisData::readFile gives it.
    AnalysisData toData() const;

    /// A digest of everything the file holds (ContentDigest, 32 hexadecimal digits): equal for
    /// two files of the same analysis data. Empty once statements, tokens or syntax nodes have
    /// been released.
    std::string contentDigest() const;

private:
    enum SectionIndex { statementSection = 4, tokenSection = 5, syntaxSection = 6 };
    /// Where reading the tokens can start: every `checkpointEvery`-th token, with the previous
    /// token's include, line and owner the differences start from.
    struct Checkpoint
    {
        std::size_t offset = 0;
        std::uint32_t include = 0;
        std::uint32_t line = 0;
        std::uint32_t node = 0;
    };
    static constexpr std::uint32_t checkpointEvery = 64;

    AdtFile() = default;
    static std::unique_ptr<AdtFile> fromText(std::string text, const std::string &fileName);
    static std::unique_ptr<AdtFile> binary(const std::string &bytes, const std::string &fileName);
    /// `file`, or, when its data lacks the syntax structure and the remarks, the same data with
    /// them added.
    static std::unique_ptr<AdtFile> completed(std::unique_ptr<AdtFile> file);
    /// Checks the header and the section table of a file of `size` bytes whose first bytes are
    /// `head`; returns the table's (offset, size) per known section.
    std::array<std::pair<std::uint64_t, std::uint64_t>, 9> readTable(std::string_view head,
                                                                     std::uint64_t size);
    void decodeTables();
    void checkTokens();
    void checkSyntaxNodes();
    [[noreturn]] void fail(std::string_view section, std::string_view what) const;

    std::string m_fileName;
    AnalysisData m_data;
    std::array<std::string, 9> m_sections;
    std::array<std::uint32_t, 9> m_counts{};
    std::vector<Checkpoint> m_checkpoints;
    std::vector<std::uint32_t> m_syntaxParents;
    ContentDigest m_tablesDigest; ///< of the small tables, whose bytes go once decoded
    bool m_released = false;      ///< a large section has been released
};

} // namespace cobol
