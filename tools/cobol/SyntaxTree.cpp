#include "SyntaxTree.h"

#include "AnalysisData.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <unordered_set>

namespace cobol {

using namespace std::string_view_literals;

namespace {

/// Whether `word` (upper case) is a verb that starts a statement.
bool isStatementVerb(std::string_view word)
{
    // Compared by length first: this runs for every reserved word of the procedure division.
    static constexpr std::string_view byLength[][10] = {
        {},
        {},
        {"GO", "IF"},
        {"ADD", "SET", "USE"},
        {"CALL", "EXEC", "EXIT", "FREE", "MOVE", "OPEN", "READ", "SORT", "STOP"},
        {"ALTER", "CLOSE", "ENTRY", "MERGE", "START", "WRITE"},
        {"ACCEPT",
         "CANCEL",
         "DELETE",
         "DIVIDE",
         "GOBACK",
         "INVOKE",
         "RETURN",
         "SEARCH",
         "STRING",
         "UNLOCK"},
        {"COMPUTE", "DISPLAY", "INSPECT", "PERFORM", "RELEASE", "REWRITE"},
        {"ALLOCATE",
         "CONTINUE",
         "EVALUATE",
         "GENERATE",
         "INITIATE",
         "MULTIPLY",
         "SUBTRACT",
         "SUPPRESS",
         "UNSTRING"},
        {"TERMINATE"},
        {"INITIALIZE"},
    };
    if (word.size() >= std::size(byLength))
        return false;
    for (std::string_view verb : byLength[word.size()])
        if (!verb.empty() && verb == word)
            return true;
    return false;
}

/// Which verbs take a conditional phrase, and so run the statements that follow it.
bool acceptsPhrase(std::string_view verb, std::string_view phrase)
{
    if (phrase == "SIZE")
        return verb == "ADD"sv || verb == "SUBTRACT"sv || verb == "MULTIPLY"sv || verb == "DIVIDE"sv
               || verb == "COMPUTE"sv;
    if (phrase == "END")
        return verb == "READ"sv || verb == "RETURN"sv || verb == "SEARCH"sv;
    if (phrase == "INVALID")
        return verb == "READ"sv || verb == "WRITE"sv || verb == "REWRITE"sv || verb == "DELETE"sv
               || verb == "START"sv;
    if (phrase == "END-OF-PAGE" || phrase == "EOP")
        return verb == "WRITE"sv;
    if (phrase == "EXCEPTION")
        return verb == "CALL"sv || verb == "ACCEPT"sv || verb == "DISPLAY"sv;
    if (phrase == "OVERFLOW")
        return verb == "STRING"sv || verb == "UNSTRING"sv || verb == "CALL"sv;
    return false;
}

} // namespace

/// Builds the sentences and statements of a procedure division.
class SyntaxTree::StatementScanner
{
public:
    explicit StatementScanner(SyntaxTree &tree)
        : m_tree(tree)
        , m_tokens(tree.m_data.tokens)
        , m_nodes(tree.m_nodes)
    {}

    /// Scans tokens [begin, end) of `container` (the division or a paragraph/section body).
    void scan(std::uint32_t container, std::size_t begin, std::size_t end)
    {
        m_container = container;
        for (std::size_t i = begin; i < end; ++i) {
            if (isPeriod(i)) {
                closeAll(i);
                continue;
            }
            if (!m_sentence)
                m_sentence = open(SyntaxTree::Node::Kind::Sentence, "", m_container, i);
            const std::string_view word = m_tree.upper(i);
            if (word.empty())
                continue; // only reserved words decide the structure
            if (isPhrase(i, word)) {
                phrase(i, word);
                continue;
            }
            if (word.starts_with("END-"sv) && word != "END-OF-PAGE"sv) {
                closeNamed(word.substr(4), i);
                continue;
            }
            if (word == "ELSE"sv) {
                popUntil([](const Open &o) { return o.verb == "IF"sv; }, i - 1);
                continue;
            }
            if (word == "WHEN"sv) {
                popUntil([](const Open
                                &o) { return o.verb == "EVALUATE"sv || o.verb == "SEARCH"sv; },
                         i - 1);
                continue;
            }
            if (isVerb(i, word))
                i = statement(i, word, end);
        }
        closeAll(end - 1);
    }

private:
    struct Open
    {
        std::uint32_t node = 0;
        std::string_view verb; ///< into the scanner's upper-case texts
        bool nests = false;    ///< runs the statements that follow (until its end or the period)
    };

    bool isPeriod(std::size_t i) const
    {
        return m_tokens[i].kind == TokenKind::Punctuation && m_tokens[i].text == "."sv;
    }
    bool isWord(std::size_t i, std::string_view word) const
    {
        return i < m_tokens.size() && m_tokens[i].kind == TokenKind::Word
               && m_tree.upper(i) == word;
    }
    /// Whether token `i`, reserved word `word`, starts a statement.
    bool isVerb(std::size_t i, std::string_view word) const
    {
        const Token &t = m_tokens[i];
        if (t.kind != TokenKind::Word || t.role == TokenRole::DataReference
            || t.role == TokenRole::ProcedureReference)
            return false;
        if (word == "NEXT"sv)
            return isWord(i + 1, "SENTENCE");
        return isStatementVerb(word);
    }
    bool isPhrase(std::size_t i, std::string_view w) const
    {
        return w == "INVALID"sv || w == "EXCEPTION"sv || w == "OVERFLOW"sv || w == "EOP"sv
               || w == "END-OF-PAGE"sv || (w == "SIZE"sv && isWord(i + 1, "ERROR"))
               || (w == "END"sv && i > 0 && isWord(i - 1, "AT"));
    }

    std::uint32_t open(SyntaxTree::Node::Kind kind,
                       std::string_view name,
                       std::uint32_t parent,
                       std::size_t first)
    {
        SyntaxTree::Node &node = m_nodes.emplace_back(); // filled where it stands: no moves
        node.kind = kind;
        node.name.assign(name);
        node.parent = parent;
        node.firstToken = node.lastToken = static_cast<std::uint32_t>(first + 1);
        return static_cast<std::uint32_t>(m_nodes.size());
    }
    void close(std::uint32_t node, std::size_t last)
    {
        SyntaxTree::Node &n = m_nodes[node - 1];
        n.lastToken = std::max(n.firstToken, static_cast<std::uint32_t>(last + 1));
    }
    template<typename Stop>
    void popUntil(Stop stop, std::size_t last)
    {
        while (!m_stack.empty() && !stop(m_stack.back())) {
            close(m_stack.back().node, last);
            m_stack.pop_back();
        }
    }
    void closeAll(std::size_t last)
    {
        popUntil([](const Open &) { return false; }, last);
        if (m_sentence)
            close(m_sentence, last);
        m_sentence = 0;
    }
    void closeNamed(std::string_view verb, std::size_t at)
    {
        const bool found = std::any_of(m_stack.begin(), m_stack.end(), [&](const Open &o) {
            return o.verb == verb;
        });
        if (!found)
            return; // an END-x without its statement: a word of the enclosing one
        popUntil([&](const Open &o) { return o.verb == verb; }, at - 1);
        close(m_stack.back().node, at);
        m_stack.pop_back();
    }

    /// A conditional phrase: it belongs to the innermost open statement that takes it, whose
    /// nested statements end before the phrase's first word (NOT, ON, AT).
    void phrase(std::size_t i, std::string_view kind)
    {
        const auto owner = std::find_if(m_stack.rbegin(), m_stack.rend(), [&](const Open &o) {
            return acceptsPhrase(o.verb, kind);
        });
        if (owner == m_stack.rend())
            return;
        std::size_t start = i;
        while (start > 0
               && (isWord(start - 1, "NOT") || isWord(start - 1, "ON") || isWord(start - 1, "AT")))
            --start;
        const std::uint32_t ownerNode = owner->node;
        popUntil([&](const Open &o) { return o.node == ownerNode; }, start - 1);
        m_stack.back().nests = true;
    }

    /// A statement starting at `i`; returns the index of its last token scanned here.
    std::size_t statement(std::size_t i, std::string_view verb, std::size_t end)
    {
        // A statement that does not run others ends where the next one begins.
        popUntil([](const Open &o) { return o.nests; }, i - 1);
        const std::uint32_t parent = m_stack.empty() ? m_sentence : m_stack.back().node;
        const std::uint32_t node = open(SyntaxTree::Node::Kind::Statement, verb, parent, i);
        if (verb == "EXEC"sv) {
            std::size_t j = i + 1;
            while (j < end && !isWord(j, "END-EXEC"))
                ++j;
            const std::size_t last = j < end ? j : end - 1;
            close(node, last);
            return last;
        }
        bool nests = verb == "IF"sv || verb == "EVALUATE"sv || verb == "SEARCH"sv;
        if (verb == "PERFORM"sv) {
            const std::size_t n = i + 1;
            nests = isWord(n, "UNTIL") || isWord(n, "VARYING") || isWord(n, "WITH")
                    || isWord(n, "TEST") || isWord(n, "FOREVER")
                    || (n + 1 < end && isWord(n + 1, "TIMES")
                        && m_tokens[n].role != TokenRole::ProcedureReference);
        }
        m_stack.push_back({node, verb, nests});
        return i;
    }

    const SyntaxTree &m_tree;
    const std::vector<Token> &m_tokens;
    std::vector<SyntaxTree::Node> &m_nodes;
    std::uint32_t m_container = 0;
    std::uint32_t m_sentence = 0;
    std::vector<Open> m_stack;
};

SyntaxTree::SyntaxTree(const AnalysisData &data)
    : m_data(data)
{
    // Analysis data written before tokens had roles: every word is compared.
    m_rolesKnown = std::any_of(data.tokens.begin(), data.tokens.end(), [](const Token &t) {
        return t.role != TokenRole::None;
    });
    // Room for a node every few tokens, more than programs have (untouched room costs nothing).
    m_nodes.reserve(data.tokens.size() / tokensPerNode + 16);
    Node program;
    program.kind = Node::Kind::Program;
    program.name = data.programName;
    program.firstToken = data.tokens.empty() ? 0 : 1;
    program.lastToken = static_cast<std::uint32_t>(data.tokens.size());
    add(std::move(program));
    divisions();
    assignOwners();
}

std::string_view SyntaxTree::upper(std::size_t index) const
{
    const Token &token = m_data.tokens[index];
    if (token.kind != TokenKind::Word || (m_rolesKnown && token.role != TokenRole::Keyword))
        return {};
    // Most sources are in upper case: a copy only for words that are not.
    if (std::none_of(token.text.begin(), token.text.end(), [](char c) {
            return c >= 'a' && c <= 'z';
        }))
        return token.text;
    const auto [at, made] = m_lowered.try_emplace(index, token.text);
    if (made)
        for (char &c : at->second)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return at->second;
}

std::uint32_t SyntaxTree::add(Node node)
{
    m_nodes.push_back(std::move(node));
    return static_cast<std::uint32_t>(m_nodes.size());
}

void SyntaxTree::divisions()
{
    const std::size_t count = m_data.tokens.size();
    std::vector<const ProgramNode *> divisions;
    for (const ProgramNode &node : m_data.nodes)
        if (node.kind == ProgramNode::Kind::Division && node.firstToken >= 1
            && node.firstToken <= count)
            divisions.push_back(&node);
    std::sort(divisions.begin(), divisions.end(), [](const ProgramNode *a, const ProgramNode *b) {
        return a->firstToken < b->firstToken;
    });
    // The program's text ends before END PROGRAM (what follows is another program).
    std::size_t programEnd = count;
    if (!divisions.empty())
        for (std::size_t i = divisions.back()->firstToken; i + 1 < count; ++i)
            if (m_data.tokens[i].text.size() == 3 && upper(i) == "END"sv
                && upper(i + 1) == "PROGRAM"sv) {
                programEnd = i;
                break;
            }
    for (std::size_t k = 0; k < divisions.size(); ++k) {
        const std::size_t begin = divisions[k]->firstToken - 1;
        const std::size_t end = k + 1 < divisions.size() ? divisions[k + 1]->firstToken - 1
                                                         : std::max(programEnd, begin + 1);
        Node node;
        node.kind = Node::Kind::Division;
        node.name = divisions[k]->name;
        node.parent = 1;
        node.firstToken = static_cast<std::uint32_t>(begin + 1);
        node.lastToken = static_cast<std::uint32_t>(end);
        node.programNode = divisions[k]->id;
        const std::uint32_t id = add(std::move(node));
        if (divisions[k]->name == "DATA")
            dataDivision(id, begin, end);
        else if (divisions[k]->name == "PROCEDURE")
            procedureDivision(id, begin, end);
    }
}

void SyntaxTree::dataDivision(std::uint32_t division, std::size_t begin, std::size_t end)
{
    struct Range
    {
        std::size_t begin, end;
        std::uint32_t node;
    };
    std::vector<Range> sections;
    std::vector<const ProgramNode *> headers;
    for (const ProgramNode &node : m_data.nodes)
        if (node.kind == ProgramNode::Kind::Section && node.firstToken > begin
            && node.firstToken <= end)
            headers.push_back(&node);
    for (std::size_t k = 0; k < headers.size(); ++k) {
        Node node;
        node.kind = Node::Kind::Section;
        node.name = headers[k]->name;
        node.parent = division;
        node.firstToken = headers[k]->firstToken;
        node.lastToken = k + 1 < headers.size() ? headers[k + 1]->firstToken - 1
                                                : static_cast<std::uint32_t>(end);
        node.programNode = headers[k]->id;
        const std::uint32_t id = add(std::move(node));
        sections.push_back({headers[k]->firstToken - 1u, m_nodes[id - 1].lastToken, id});
    }
    std::unordered_map<std::uint32_t, std::size_t> levelToken;
    for (std::size_t i = begin; i < end; ++i)
        if (m_data.tokens[i].role == TokenRole::Level && m_data.tokens[i].item)
            levelToken.emplace(m_data.tokens[i].item, i);
    std::vector<std::uint32_t> entryNode(m_data.items.size() + 1, 0);
    for (const DataItem &item : m_data.items) {
        const auto found = levelToken.find(item.id);
        if (found == levelToken.end())
            continue;
        const std::size_t first = found->second;
        std::size_t last = first;
        while (last + 1 < end
               && !(m_data.tokens[last].kind == TokenKind::Punctuation
                    && m_data.tokens[last].text == "."sv))
            ++last;
        std::uint32_t parent = item.parent ? entryNode[item.parent] : 0;
        if (!parent) {
            parent = division;
            for (const Range &section : sections)
                if (first >= section.begin && first < section.end)
                    parent = section.node;
        }
        Node node;
        node.kind = Node::Kind::DataEntry;
        node.name = item.name;
        node.parent = parent;
        node.firstToken = static_cast<std::uint32_t>(first + 1);
        node.lastToken = static_cast<std::uint32_t>(last + 1);
        node.item = item.id;
        entryNode[item.id] = add(std::move(node));
    }
    // A group's range reaches to the end of its last subordinate entry.
    for (auto it = m_data.items.rbegin(); it != m_data.items.rend(); ++it) {
        const std::uint32_t own = entryNode[it->id];
        const std::uint32_t parent = it->parent ? entryNode[it->parent] : 0;
        if (own && parent)
            m_nodes[parent - 1].lastToken = std::max(m_nodes[parent - 1].lastToken,
                                                     m_nodes[own - 1].lastToken);
    }
}

void SyntaxTree::procedureDivision(std::uint32_t division, std::size_t begin, std::size_t end)
{
    std::vector<const ProgramNode *> headers;
    for (const ProgramNode &node : m_data.nodes)
        if ((node.kind == ProgramNode::Kind::Section || node.kind == ProgramNode::Kind::Paragraph)
            && node.firstToken > begin && node.firstToken <= end)
            headers.push_back(&node);
    std::unordered_map<std::uint32_t, std::uint32_t> byProgramNode;
    std::vector<std::uint32_t> headerNodes;
    for (std::size_t k = 0; k < headers.size(); ++k) {
        const bool section = headers[k]->kind == ProgramNode::Kind::Section;
        // A section runs to the next section; a paragraph to the next paragraph or section.
        std::size_t stop = end;
        for (std::size_t n = k + 1; n < headers.size(); ++n)
            if (!section || headers[n]->kind == ProgramNode::Kind::Section) {
                stop = headers[n]->firstToken - 1;
                break;
            }
        const auto parent = byProgramNode.find(headers[k]->parent);
        Node node;
        node.kind = section ? Node::Kind::Section : Node::Kind::Paragraph;
        node.name = headers[k]->name;
        node.parent = parent != byProgramNode.end() ? parent->second : division;
        node.firstToken = headers[k]->firstToken;
        node.lastToken = static_cast<std::uint32_t>(stop);
        node.programNode = headers[k]->id;
        const std::uint32_t id = add(std::move(node));
        byProgramNode.emplace(headers[k]->id, id);
        headerNodes.push_back(id);
    }

    StatementScanner scanner(*this);
    auto periodAfter = [&](std::size_t i, std::size_t stop) {
        while (
            i < stop
            && !(m_data.tokens[i].kind == TokenKind::Punctuation && m_data.tokens[i].text == "."sv))
            ++i;
        return i;
    };
    // The division header's sentence, then each body: from after a header's period to the next
    // header.
    std::size_t bodyStart = periodAfter(begin, end) + 1;
    std::uint32_t container = division;
    for (std::size_t k = 0; k <= headers.size(); ++k) {
        const std::size_t bodyEnd = k < headers.size() ? headers[k]->firstToken - 1 : end;
        if (bodyStart < bodyEnd)
            scanner.scan(container, bodyStart, bodyEnd);
        if (k < headers.size()) {
            container = headerNodes[k];
            bodyStart = periodAfter(headers[k]->firstToken - 1, end) + 1;
        }
    }
}

void SyntaxTree::record(AnalysisData &data)
{
    SyntaxTree tree(data);
    for (std::size_t i = 0; i < data.tokens.size(); ++i)
        data.tokens[i].node = tree.ownerOf(static_cast<std::uint32_t>(i + 1));
    data.syntaxNodes = std::move(tree.m_nodes);
}

void SyntaxTree::assignOwners()
{
    m_owner.assign(m_data.tokens.size(), 1);
    // Parents come before children, so painting the ranges in node order leaves each token with
    // its innermost node.
    for (std::size_t n = 1; n < m_nodes.size(); ++n) {
        const Node &node = m_nodes[n];
        if (node.firstToken == 0)
            continue;
        const std::size_t last = std::min<std::size_t>(node.lastToken, m_owner.size());
        for (std::size_t t = node.firstToken; t <= last; ++t)
            m_owner[t - 1] = static_cast<std::uint32_t>(n + 1);
    }
}

} // namespace cobol
