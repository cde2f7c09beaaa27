#include "DbPu.h"

#include "DbEu.h"
#include "KelMsg.h"
#include "KelMsgIds.h"

#include <algorithm>

DbPu::DbPu(DbEu &eu, DbUnitHeader header, std::int64_t databaseId)
    : m_eu(&eu)
    , m_header(std::move(header))
    , m_databaseId(databaseId)
{}

DbPu::~DbPu() = default;

std::string DbPu::toIString(State state)
{
    return KelMsg::catalogueText(KelMsgId::stateTextBase + static_cast<unsigned long>(state));
}

std::string DbPu::loadError() const
{
    const std::lock_guard<std::mutex> guard(m_loadMutex);
    return m_loadError;
}

bool DbPu::loadData(DbUnitData data, std::string &error)
{
    const std::lock_guard<std::mutex> guard(m_loadMutex);
    if (isLoaded()) {
        error = "The program unit " + puName() + " is loaded already.";
        return false;
    }
    error = data.validate();
    if (!error.empty())
        return false;
    build(data);
    m_loadError.clear();
    m_loaded.store(true, std::memory_order_release);
    return true;
}

void DbPu::build(DbUnitData &data)
{
    // Every vector gets its final size first: the objects point at each other.
    m_tokens.resize(data.tokens.size());
    m_nodes.resize(data.nodes.size());
    m_symbols.resize(data.symbols.size());
    m_treeInfos.m_records.resize(data.treeRecords.size());
    m_marks.resize(data.marks.size());
    auto tokenAt = [this](std::uint32_t number) {
        return number ? &m_tokens[number - 1] : nullptr;
    };
    auto symbolAt = [this](std::uint32_t number) {
        return number ? &m_symbols[number - 1] : nullptr;
    };

    m_inputFiles.m_files.resize(data.inputFiles.size());
    for (std::size_t i = 0; i < data.inputFiles.size(); ++i) {
        DbInputFile &file = m_inputFiles.m_files[i];
        file.m_path = std::move(data.inputFiles[i].path);
        file.m_copybook = std::move(data.inputFiles[i].copybook);
        file.m_kind = data.inputFiles[i].kind == DbInputFileRecord::sourceFile
                          ? DbInputFile::sourceFile
                          : DbInputFile::copybookFile;
        file.m_pu = this;
    }
    m_includes = std::move(data.includes);
    m_includeFiles.clear();
    for (const DbIncludeRecord &include : m_includes)
        m_includeFiles.push_back(include.inputFile);
    m_lines = std::move(data.lines);

    for (std::size_t i = 0; i < data.tokens.size(); ++i) {
        DbTokenRecord &in = data.tokens[i];
        DbToken &t = m_tokens[i];
        t.m_text = std::move(in.text);
        t.m_pu = this;
        t.m_symbol = symbolAt(in.symbol);
        t.m_node = &m_nodes[in.node - 1];
        t.m_number = static_cast<std::uint32_t>(i + 1);
        t.m_include = in.include;
        t.m_line = in.line;
        t.m_column = in.column;
        t.m_length = in.length;
        t.m_expandedLine = in.expandedLine;
        t.m_type = static_cast<DbToken::Type>(in.type);
        t.m_replaced = in.replaced;
    }
    for (std::size_t i = 0; i < data.nodes.size(); ++i) {
        DbNodeRecord &in = data.nodes[i];
        DbNode &n = m_nodes[i];
        n.m_name = std::move(in.name);
        n.m_pu = this;
        n.m_parent = in.parent ? &m_nodes[in.parent - 1] : nullptr;
        n.m_firstToken = tokenAt(in.firstToken);
        n.m_lastToken = tokenAt(in.lastToken);
        n.m_symbol = symbolAt(in.symbol);
        n.m_treeInfo = in.treeRecord ? &m_treeInfos.m_records[in.treeRecord - 1] : nullptr;
        n.m_number = static_cast<std::uint32_t>(i + 1);
        n.m_kind = static_cast<DbNode::Kind>(in.kind);
    }
    buildSymbols(data);
    buildTree(data);
    for (std::size_t i = 0; i < data.marks.size(); ++i) {
        DbMarkRecord &in = data.marks[i];
        DbMark &m = m_marks[i];
        m.m_text = std::move(in.text);
        m.m_token = tokenAt(in.token);
        m.m_symbol = symbolAt(in.symbol);
        m.m_tokenNumber = in.token;
        m.m_kind = static_cast<DbMark::Kind>(in.kind);
    }
    buildLineIndex();
}

void DbPu::buildSymbols(DbUnitData &data)
{
    auto symbolAt = [this](std::uint32_t number) {
        return number ? &m_symbols[number - 1] : nullptr;
    };
    for (std::size_t i = 0; i < data.symbols.size(); ++i) {
        DbSymbolRecord &in = data.symbols[i];
        DbSymbol &s = m_symbols[i];
        s.m_name = std::move(in.name);
        s.m_longName = std::move(in.longName);
        s.m_displayText = std::move(in.displayText);
        s.m_usage = std::move(in.usage);
        s.m_picture = std::move(in.picture);
        s.m_category = std::move(in.category);
        s.m_value = std::move(in.value);
        s.m_area = std::move(in.area);
        s.m_pu = this;
        s.m_declaringToken = in.declaringToken ? &m_tokens[in.declaringToken - 1] : nullptr;
        s.m_parent = symbolAt(in.parent);
        s.m_record = in.record ? symbolAt(in.record) : &s;
        s.m_base = symbolAt(in.base);
        for (unsigned r = 0; r < DbSymbol::relationCount; ++r)
            s.m_related[r] = symbolAt(in.related[r]);
        s.m_offset = in.offset;
        s.m_length = in.length;
        s.m_number = static_cast<std::uint32_t>(i + 1);
        s.m_level = in.level;
        s.m_occursMin = in.occursMin;
        s.m_occursMax = in.occursMax;
        s.m_include = in.include;
        s.m_line = in.line;
        s.m_group = in.group;
        s.m_recordStart = in.recordStart;
        s.m_signed = in.isSigned;
        s.m_signSeparate = in.signSeparate;
        s.m_synchronized = in.synchronized;
        // Parents come before their children, so the children's lists fill in declaration
        // order.
        if (s.m_parent)
            s.m_parent->m_children.push_back(&s);
    }
}

void DbPu::buildTree(DbUnitData &data)
{
    std::vector<DbTreeInfo> &records = m_treeInfos.m_records;
    std::vector<DbTreeInfo *> lastChild(records.size(), nullptr);
    for (std::size_t i = 0; i < data.treeRecords.size(); ++i) {
        DbTreeRecord &in = data.treeRecords[i];
        DbTreeInfo &r = records[i];
        r.m_text = std::move(in.text);
        r.m_pu = this;
        r.m_node = in.node ? &m_nodes[in.node - 1] : nullptr;
        r.m_id = static_cast<std::uint32_t>(i + 1);
        r.m_kind = in.kind;
        if (in.parent == 0) {
            // The unit's root hangs below the execution unit's root.
            r.m_parent = &m_eu->treeRoot();
            continue;
        }
        DbTreeInfo *parent = &records[in.parent - 1];
        r.m_parent = parent;
        DbTreeInfo *&last = lastChild[in.parent - 1];
        (last ? last->m_nextSibling : parent->m_firstChild) = &r;
        last = &r;
    }
}

void DbPu::buildLineIndex()
{
    m_lineFirstToken.assign(m_lines.size(), 0);
    for (const DbToken &token : m_tokens) {
        const std::uint32_t line = token.m_expandedLine;
        if (line >= 1 && line <= m_lines.size() && m_lineFirstToken[line - 1] == 0)
            m_lineFirstToken[line - 1] = token.m_number;
    }
}

std::uint32_t DbPu::tokenToNumber(const DbToken *token) const
{
    if (!token || m_tokens.empty() || token < m_tokens.data()
        || token >= m_tokens.data() + m_tokens.size())
        return 0;
    return token->m_number;
}

DbNode *DbPu::tokenToNode(const DbToken *token) const
{
    return tokenToNumber(token) ? token->m_node : nullptr;
}

std::uint32_t DbPu::nodeToNumber(const DbNode *node) const
{
    if (!node || m_nodes.empty() || node < m_nodes.data()
        || node >= m_nodes.data() + m_nodes.size())
        return 0;
    return node->m_number;
}

DbNode *DbPu::numberToNode(unsigned long number) const
{
    return number >= 1 && number <= m_nodes.size() ? const_cast<DbNode *>(&m_nodes[number - 1])
                                                   : nullptr;
}

DbSymbol *DbPu::symbol(unsigned long number) const
{
    return number >= 1 && number <= m_symbols.size()
               ? const_cast<DbSymbol *>(&m_symbols[number - 1])
               : nullptr;
}

DbSymbol *DbPu::symbolForSNumber(const std::string &sNumber) const
{
    if (sNumber.empty() || sNumber.size() > 10
        || !std::all_of(sNumber.begin(), sNumber.end(), [](char c) {
               return c >= '0' && c <= '9';
           }))
        return nullptr;
    return symbol(std::stoul(sNumber));
}

const DbInputFile *DbPu::includeFile(std::uint32_t include) const
{
    if (include >= m_includeFiles.size()) {
        // A unit without include records read only its source.
        return include == 0 && !m_inputFiles.m_files.empty() ? &m_inputFiles.m_files[0] : nullptr;
    }
    const std::uint32_t position = m_includeFiles[include];
    return position >= 1 && position <= m_inputFiles.m_files.size()
               ? &m_inputFiles.m_files[position - 1]
               : nullptr;
}

const DbSourceLine *DbPu::expandedLine(std::uint32_t line) const
{
    return line >= 1 && line <= m_lines.size() ? &m_lines[line - 1] : nullptr;
}

DbToken *DbPu::firstTokenOnLine(std::uint32_t line) const
{
    if (line < 1 || line > m_lineFirstToken.size() || m_lineFirstToken[line - 1] == 0)
        return nullptr;
    return const_cast<DbToken *>(&m_tokens[m_lineFirstToken[line - 1] - 1]);
}

DbToken *DbPu::tokenAt(std::uint32_t line, std::uint32_t column) const
{
    const DbToken *token = firstTokenOnLine(line);
    if (!token)
        return nullptr;
    // Tokens of one line follow each other, except that the tokens of a copybook come between
    // a COPY statement and the text after it on the same line: skip those, and stop once the
    // line's own file has moved past the line.
    const std::uint32_t include = token->m_include;
    for (const DbToken *end = m_tokens.data() + m_tokens.size(); token != end; ++token) {
        if (token->m_expandedLine != line) {
            if (token->m_include == include && token->m_expandedLine > line)
                break;
            continue;
        }
        if (column >= token->m_column && column < token->m_column + std::max(1u, token->m_length))
            return const_cast<DbToken *>(token);
        if (token->m_column > column)
            break;
    }
    return nullptr;
}
