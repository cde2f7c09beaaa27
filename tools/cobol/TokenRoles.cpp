#include "TokenRoles.h"

#include "AnalysisData.h"
#include "LexToken.h"
#include "SymbolTable.h"
#include "WordTable.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace cobol {

namespace {

const WordTable<bool> &reservedWords()
{
    // clang-format off
    static constexpr std::string_view list[] = {
        "ACCEPT", "ACCESS", "ADD", "ADDRESS", "ADVANCING", "AFTER", "ALL", "ALPHABET",
        "ALPHABETIC", "ALPHABETIC-LOWER", "ALPHABETIC-UPPER", "ALPHANUMERIC",
        "ALPHANUMERIC-EDITED", "ALSO", "ALTER", "ALTERNATE", "AND", "ANY", "APPLY", "ARE", "AREA",
        "AREAS", "ASCENDING", "ASSIGN", "AT", "AUTHOR", "BASED", "BEFORE", "BINARY", "BLANK",
        "BLOCK", "BOTTOM", "BY", "CALL", "CANCEL", "CD", "CF", "CH", "CHARACTER", "CHARACTERS",
        "CLASS", "CLOCK-UNITS", "CLOSE", "COBOL", "CODE", "CODE-SET", "COLLATING", "COLUMN",
        "COMMA", "COMMON", "COMMUNICATION", "COMP", "COMP-1", "COMP-2", "COMP-3", "COMP-4",
        "COMP-5", "COMP-X", "COMPUTATIONAL", "COMPUTATIONAL-1", "COMPUTATIONAL-2",
        "COMPUTATIONAL-3", "COMPUTATIONAL-4", "COMPUTATIONAL-5", "COMPUTATIONAL-X", "COMPUTE",
        "CONFIGURATION", "CONSTANT", "CONTAINS", "CONTENT", "CONTINUE", "CONTROL", "CONTROLS",
        "CONVERTING", "COPY", "CORR", "CORRESPONDING", "COUNT", "CURRENCY", "DATA", "DATE",
        "DATE-COMPILED", "DATE-WRITTEN", "DAY", "DAY-OF-WEEK", "DE", "DEBUG-ITEM", "DEBUGGING",
        "DECIMAL-POINT", "DECLARATIVES", "DELETE", "DELIMITED", "DELIMITER", "DEPENDING",
        "DESCENDING", "DESTINATION", "DETAIL", "DISABLE", "DISPLAY", "DISPLAY-1", "DIVIDE",
        "DIVISION", "DOWN", "DUPLICATES", "DYNAMIC", "EGI", "EJECT", "ELSE", "EMI", "ENABLE",
        "END", "END-ACCEPT", "END-ADD", "END-CALL", "END-COMPUTE", "END-DELETE", "END-DISPLAY",
        "END-DIVIDE", "END-EVALUATE", "END-EXEC", "END-IF", "END-MULTIPLY", "END-OF-PAGE",
        "END-PERFORM", "END-READ", "END-RECEIVE", "END-RETURN", "END-REWRITE", "END-SEARCH",
        "END-START", "END-STRING", "END-SUBTRACT", "END-UNSTRING", "END-WRITE", "ENTER", "ENTRY",
        "ENVIRONMENT", "EOP", "EQUAL", "EQUALS", "ERROR", "ESI", "EVALUATE", "EVERY", "EXCEPTION",
        "EXEC", "EXECUTE", "EXIT", "EXTEND", "EXTERNAL", "FALSE", "FD", "FILE", "FILE-CONTROL",
        "FILLER", "FINAL", "FIRST", "FOOTING", "FOR", "FOREVER", "FROM", "FUNCTION", "GENERATE",
        "GIVING", "GLOBAL", "GO", "GOBACK", "GREATER", "GROUP", "HEADING", "HIGH-VALUE",
        "HIGH-VALUES", "I-O", "I-O-CONTROL", "ID", "IDENTIFICATION", "IF", "IN", "INDEX",
        "INDEXED", "INDICATE", "INITIAL", "INITIALIZE", "INITIATE", "INPUT", "INPUT-OUTPUT",
        "INSPECT", "INSTALLATION", "INTO", "INVALID", "IS", "JUST", "JUSTIFIED", "KEY", "LABEL",
        "LAST", "LEADING", "LEFT", "LENGTH", "LESS", "LIMIT", "LIMITS", "LINAGE", "LINAGE-COUNTER",
        "LINE", "LINE-COUNTER", "LINES", "LINKAGE", "LOCAL-STORAGE", "LOCK", "LOW-VALUE",
        "LOW-VALUES", "MEMORY", "MERGE", "MESSAGE", "MODE", "MODULES", "MOVE", "MULTIPLE",
        "MULTIPLY", "NATIONAL", "NATIONAL-EDITED", "NATIVE", "NEGATIVE", "NEXT", "NO", "NOT",
        "NULL", "NULLS", "NUMBER", "NUMERIC", "NUMERIC-EDITED", "OBJECT-COMPUTER", "OCCURS", "OF",
        "OFF", "OMITTED", "ON", "OPEN", "OPTIONAL", "OR", "ORDER", "ORGANIZATION", "OTHER",
        "OUTPUT", "OVERFLOW", "PACKED-DECIMAL", "PADDING", "PAGE", "PAGE-COUNTER", "PERFORM", "PF",
        "PH", "PIC", "PICTURE", "PLUS", "POINTER", "POSITION", "POSITIVE", "PRINTING", "PROCEDURE",
        "PROCEDURE-POINTER", "PROCEDURES", "PROCEED", "PROGRAM", "PROGRAM-ID", "PURGE", "QUEUE",
        "QUOTE", "QUOTES", "RANDOM", "RD", "READ", "READY", "RECEIVE", "RECORD", "RECORDING",
        "RECORDS", "RECURSIVE", "REDEFINES", "REEL", "REFERENCE", "REFERENCES", "RELATIVE",
        "RELEASE", "REMAINDER", "REMARKS", "REMOVAL", "RENAMES", "REPLACE", "REPLACING", "REPORT",
        "REPORTING", "REPORTS", "RERUN", "RESERVE", "RESET", "RETURN", "RETURN-CODE", "RETURNING",
        "REVERSED", "REWIND", "REWRITE", "RF", "RH", "RIGHT", "ROUNDED", "RUN", "SAME", "SD",
        "SEARCH", "SECTION", "SECURITY", "SEGMENT", "SEGMENT-LIMIT", "SELECT", "SEND", "SENTENCE",
        "SEPARATE", "SEQUENCE", "SEQUENTIAL", "SET", "SIGN", "SIZE", "SKIP1", "SKIP2", "SKIP3",
        "SORT", "SORT-MERGE", "SORT-RETURN", "SOURCE", "SOURCE-COMPUTER", "SPACE", "SPACES",
        "SPECIAL-NAMES", "STANDARD", "STANDARD-1", "STANDARD-2", "START", "STATUS", "STOP",
        "STRING", "SUB-QUEUE-1", "SUB-QUEUE-2", "SUB-QUEUE-3", "SUBTRACT", "SUM", "SUPPRESS",
        "SYMBOLIC", "SYNC", "SYNCHRONIZED", "TABLE", "TALLY", "TALLYING", "TAPE", "TERMINAL",
        "TERMINATE", "TEST", "TEXT", "THAN", "THEN", "THROUGH", "THRU", "TIME", "TIMES", "TITLE",
        "TO", "TOP", "TRACE", "TRAILING", "TRUE", "TYPE", "UNIT", "UNSTRING", "UNTIL", "UP",
        "UPON", "USAGE", "USE", "USING", "VALUE", "VALUES", "VARYING", "WHEN", "WHEN-COMPILED",
        "WITH", "WORDS", "WORKING-STORAGE", "WRITE", "WRITE-ONLY", "ZERO", "ZEROES", "ZEROS"};
    // clang-format on
    static const WordTable<bool> words = [] {
        WordTable<bool> table;
        for (std::string_view word : list)
            table.insert(word) = true;
        return table;
    }();
    return words;
}

class Assigner
{
public:
    Assigner(AnalysisData &data, const std::vector<LexToken> &lexTokens)
        : m_data(data)
        , m_tokens(data.tokens)
        , m_lexTokens(lexTokens)
        , m_symbols(data.items)
    {}

    void run()
    {
        const std::size_t count = m_lexTokens.size();
        m_roles.resize(count, TokenRole::None);
        if (m_tokens.empty()) {
            // Made here: the pass that copies each token marks the reserved words too.
            m_tokens.reserve(count);
            for (std::size_t i = 0; i < count; ++i) {
                const LexToken &t = m_lexTokens[i];
                const TokenRole role = isKeyword(t) ? TokenRole::Keyword : TokenRole::None;
                m_roles[i] = role;
                m_tokens.push_back(Token{.id = static_cast<std::uint32_t>(i + 1),
                                         .kind = t.kind,
                                         .role = role,
                                         .replaced = t.replaced,
                                         .text = std::string(t.text()),
                                         .place = t.place,
                                         .length = t.length,
                                         .item = 0,
                                         .node = 0});
            }
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                if (isKeyword(m_lexTokens[i]))
                    m_tokens[i].role = TokenRole::Keyword;
                m_roles[i] = m_tokens[i].role;
            }
        }
        findDivisions();
        dataDivision();
        procedureDivision();
    }

private:
    /// A reserved word that names no data item. (The lexer's tokens hold the kind, the text and
    /// the upper-case text in fewer bytes than the analysis data's: the scans over every token
    /// read them, and touch the analysis data's tokens only to mark them.)
    bool isKeyword(const LexToken &token) const
    {
        return token.kind == TokenKind::Word && TokenRoles::isReservedWord(token.upper())
               && !m_symbols.contains(token.upper());
    }
    /// The upper-case text of word `i` (the lexer's).
    std::string_view upper(std::size_t i) const { return m_lexTokens[i].upper(); }
    bool isWord(std::size_t i) const
    {
        return i < m_lexTokens.size() && m_lexTokens[i].kind == TokenKind::Word;
    }
    bool is(std::size_t i, std::string_view word) const { return isWord(i) && upper(i) == word; }
    bool isPunct(std::size_t i, std::string_view text) const
    {
        return i < m_lexTokens.size() && m_lexTokens[i].kind == TokenKind::Punctuation
               && m_lexTokens[i].text() == text;
    }
    bool free(std::size_t i) const
    {
        return isWord(i) && (m_roles[i] == TokenRole::None || m_roles[i] == TokenRole::Keyword);
    }

    void findDivisions()
    {
        m_dataStart = m_procedureStart = m_end = m_tokens.size();
        for (const ProgramNode &node : m_data.nodes) {
            if (node.kind != ProgramNode::Kind::Division || node.firstToken == 0)
                continue;
            if (node.name == "DATA")
                m_dataStart = node.firstToken - 1;
            else if (node.name == "PROCEDURE")
                m_procedureStart = node.firstToken - 1;
        }
        // The procedure division ends at END PROGRAM: procedureDivision finds it on its way.
    }

    /// The item named by the qualifier tokens after `at` ("OF X IN Y"), searched upwards from
    /// `up`: marks each qualifier with the ancestor it names. Returns the index after them.
    std::size_t qualifiers(std::size_t at, std::uint32_t up)
    {
        while ((is(at, "OF") || is(at, "IN")) && isWord(at + 1)) {
            const std::string_view name = upper(at + 1);
            std::uint32_t found = 0;
            for (std::uint32_t id = up; id != 0; id = m_data.items[id - 1].parent)
                if (m_data.items[id - 1].name == name) {
                    found = id;
                    break;
                }
            if (m_symbols.contains(name) || found)
                mark(at + 1, TokenRole::DataReference, found);
            up = found ? m_data.items[found - 1].parent : 0;
            at += 2;
        }
        return at;
    }

    std::uint32_t startOfQualification(std::uint32_t id) const
    {
        const DataItem &item = m_data.items[id - 1];
        return item.level == 66 ? item.record : item.parent;
    }

    void mark(std::size_t i, TokenRole role, std::uint32_t item)
    {
        m_tokens[i].role = m_roles[i] = role;
        m_tokens[i].item = item;
    }

    /// Marks a data name at `i` that names `id` (0: resolve it among `candidates`, the items of
    /// its name, through its qualifiers), and its qualifiers; returns the index after them.
    std::size_t reference(std::size_t i,
                          std::uint32_t id,
                          const std::vector<std::uint32_t> *candidates = nullptr)
    {
        if (id == 0) {
            std::vector<std::string> names;
            for (std::size_t at = i + 1; (is(at, "OF") || is(at, "IN")) && isWord(at + 1); at += 2)
                names.emplace_back(upper(at + 1));
            id = candidates ? m_symbols.resolveAmong(*candidates, names)
                            : m_symbols.resolve(upper(i), names);
        }
        mark(i, TokenRole::DataReference, id);
        return qualifiers(i + 1, id ? startOfQualification(id) : 0);
    }

    void dataDivision()
    {
        const std::size_t end = std::min(m_procedureStart, m_tokens.size());
        if (m_dataStart >= end)
            return;
        // Each entry starts at its level number, the token at the item's place.
        std::unordered_map<std::uint64_t, std::size_t> byPlace;
        auto key = [](const SourcePlace &p) {
            return (std::uint64_t(p.include) << 40) ^ (std::uint64_t(p.line) << 16) ^ p.column;
        };
        for (std::size_t i = m_dataStart; i < end; ++i)
            if (m_lexTokens[i].kind == TokenKind::Number)
                byPlace.emplace(key(m_lexTokens[i].place), i);
        std::vector<std::uint32_t> entryAt(end - m_dataStart, 0);
        for (const DataItem &item : m_data.items) {
            const auto found = byPlace.find(key(item.place));
            if (found == byPlace.end())
                continue;
            const std::size_t i = found->second;
            mark(i, TokenRole::Level, item.id);
            entryAt[i - m_dataStart] = item.id;
            if (isWord(i + 1) && (upper(i + 1) == item.name))
                mark(i + 1, TokenRole::DataDeclaration, item.id);
        }
        std::uint32_t entry = 0;
        for (std::size_t i = m_dataStart; i < end; ++i) {
            if (entryAt[i - m_dataStart])
                entry = entryAt[i - m_dataStart];
            if (!free(i))
                continue;
            const std::vector<std::uint32_t> &candidates = m_symbols.named(upper(i));
            if (candidates.empty())
                continue;
            const DataItem *item = entry ? &m_data.items[entry - 1] : nullptr;
            std::uint32_t id = 0;
            if (item && is(i - 1, "REDEFINES"))
                id = item->redefines;
            else if (item
                     && (is(i - 1, "DEPENDING") || (is(i - 1, "ON") && is(i - 2, "DEPENDING"))))
                id = item->dependingOn;
            else if (item && is(i - 1, "RENAMES"))
                id = item->renamesFrom;
            else if (item && item->level == 66 && (is(i - 1, "THRU") || is(i - 1, "THROUGH")))
                id = item->renamesThru;
            i = reference(i, id, &candidates) - 1;
        }
    }

    void procedureDivision()
    {
        if (m_procedureStart >= m_tokens.size())
            return;
        WordTable<bool> procedures;
        for (const ProgramNode &node : m_data.nodes) {
            if (node.kind == ProgramNode::Kind::Division || node.firstToken == 0
                || node.firstToken - 1 < m_procedureStart || node.firstToken > m_tokens.size())
                continue;
            mark(node.firstToken - 1, TokenRole::ProcedureDeclaration, 0);
            procedures.insert(node.name) = true;
        }
        for (std::size_t i = m_procedureStart; i < m_end; ++i) {
            if (is(i, "EXEC")) {
                i = execBlock(i);
                continue;
            }
            if (endsProgram(i))
                break;
            if (!free(i))
                continue;
            const std::vector<std::uint32_t> &candidates = m_symbols.named(upper(i));
            if (!candidates.empty()) {
                i = reference(i, 0, &candidates) - 1;
                if (endsProgram(i)) // the last qualifier read was END of END PROGRAM
                    break;
            } else if (procedures.contains(upper(i)))
                mark(i, TokenRole::ProcedureReference, 0);
        }
    }

    /// Whether END PROGRAM starts at `i`; the first one ends the procedure division (`m_end`).
    bool endsProgram(std::size_t i)
    {
        if (!is(i, "END") || !is(i + 1, "PROGRAM"))
            return false;
        m_end = i;
        return true;
    }

    /// Marks the host variables of an EXEC block (`:NAME`); returns the index of END-EXEC.
    std::size_t execBlock(std::size_t i)
    {
        for (++i; i < m_end && !is(i, "END-EXEC"); ++i) {
            if (endsProgram(i))
                break; // a block without END-EXEC ends with its program
            if (isPunct(i - 1, ":") && free(i) && m_symbols.contains(upper(i))) {
                i = reference(i, 0) - 1;
                if (endsProgram(i))
                    break;
            } else if (m_roles[i] == TokenRole::Keyword) {
                // SQL, CICS and DL/I words are no COBOL words.
                m_tokens[i].role = m_roles[i] = TokenRole::None;
            }
        }
        return i;
    }

    AnalysisData &m_data;
    std::vector<Token> &m_tokens;
    const std::vector<LexToken> &m_lexTokens; ///< the same tokens with their upper-case text
    /// The tokens' roles as assigned so far: the scans read them here, in a byte a token, rather
    /// than from the analysis data's larger tokens.
    std::vector<TokenRole> m_roles;
    SymbolTable m_symbols;
    std::size_t m_dataStart = 0;
    std::size_t m_procedureStart = 0;
    std::size_t m_end = 0;
};

} // namespace

bool TokenRoles::isReservedWord(std::string_view upper)
{
    return reservedWords().contains(upper);
}

void TokenRoles::assign(AnalysisData &data, const std::vector<LexToken> &tokens)
{
    if (!data.tokens.empty() && tokens.size() != data.tokens.size())
        return;
    Assigner(data, tokens).run();
}

} // namespace cobol
