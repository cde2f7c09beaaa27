#include "UnitRecordBuilder.h"

#include "AnalysisData.h"
#include "AnalysisResult.h"
#include "DbMark.h"
#include "DbNode.h"
#include "DbToken.h"
#include "DbTreeInfo.h"
#include "ExpandedSource.h"
#include "ProgramModel.h"
#include "SyntaxTree.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unordered_map>

namespace kelmkpu {

namespace {

using cobol::SyntaxTree;

std::uint8_t tokenType(const cobol::Token &token)
{
    switch (token.role) {
    case cobol::TokenRole::Level:
        return DbToken::levelNumber;
    case cobol::TokenRole::DataDeclaration:
    case cobol::TokenRole::DataReference:
        return DbToken::dataName;
    case cobol::TokenRole::ProcedureDeclaration:
    case cobol::TokenRole::ProcedureReference:
        return DbToken::procedureName;
    case cobol::TokenRole::Keyword:
        return DbToken::keyword;
    case cobol::TokenRole::None:
        break;
    }
    switch (token.kind) {
    case cobol::TokenKind::Literal:
    case cobol::TokenKind::Number:
        return DbToken::literal;
    case cobol::TokenKind::PictureString:
        return DbToken::picture;
    case cobol::TokenKind::Punctuation:
        return DbToken::operatorSymbol;
    case cobol::TokenKind::Word:
    case cobol::TokenKind::Other:
        break;
    }
    return DbToken::other;
}

std::uint8_t nodeKind(SyntaxTree::Node::Kind kind)
{
    switch (kind) {
    case SyntaxTree::Node::Kind::Program:
        return DbNode::programUnit;
    case SyntaxTree::Node::Kind::Division:
        return DbNode::division;
    case SyntaxTree::Node::Kind::Section:
        return DbNode::section;
    case SyntaxTree::Node::Kind::Paragraph:
        return DbNode::paragraph;
    case SyntaxTree::Node::Kind::Sentence:
        return DbNode::sentence;
    case SyntaxTree::Node::Kind::Statement:
        return DbNode::statement;
    case SyntaxTree::Node::Kind::DataEntry:
        return DbNode::dataEntry;
    }
    return DbNode::statement;
}

std::string displayText(std::uint64_t byteOffset, bool hasStorage)
{
    // The data map's row key: the bit offset in eight hexadecimal digits; "0E..." marks items
    // without storage, which the map leaves out.
    char text[24];
    std::snprintf(text,
                  sizeof text,
                  "%08llX",
                  hasStorage ? static_cast<unsigned long long>(byteOffset * 8) : 0x0E000000ull);
    return text;
}

} // namespace

/// The records of one unit, built in two steps (see UnitRecordBuilder).
class UnitRecordBuilder::Builder
{
public:
    Builder(const cobol::AnalysisData &data,
            const cobol::ExpandedSource &expanded,
            const UnitRecordBuilder::Header &header)
        : m_data(data)
        , m_expanded(expanded)
        , m_tree(data)
    {
        headerRecord(header);
        files();
        for (const cobol::ExpandedSource::Line &line : m_expanded.lines())
            m_unit.lines.push_back({line.include,
                                    line.line,
                                    static_cast<DbLineRecord::Kind>(line.kind),
                                    std::string(line.text)});
        tokens();
        nodes();
        tree();
        symbols();
    }

    void addMarks(const ProgramModel &model, const AnalysisResult &result)
    {
        if (result.hasWarnings() && m_unit.header.state == DbPuState::analyzed)
            m_unit.header.state = DbPuState::analyzedWithWarnings;
        marks(model, result);
    }

    DbUnitData &unit() { return m_unit; }

private:
    void headerRecord(const UnitRecordBuilder::Header &header)
    {
        DbUnitHeader &h = m_unit.header;
        h.name = m_data.programName;
        h.sourceFile = header.sourceFile;
        h.expandedSourceFile = header.expandedSourceFile;
        h.dialect = m_data.dialect;
        const bool errors = std::any_of(m_data.diagnostics.begin(),
                                        m_data.diagnostics.end(),
                                        [](const cobol::Diagnostic &d) {
                                            return d.severity == cobol::Diagnostic::Severity::Error;
                                        });
        h.linkable = !errors;
        h.state = errors ? DbPuState::analyzedWithErrors : DbPuState::analyzed;
        h.timeStamp = std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
    }

    void files()
    {
        std::unordered_map<std::string, std::uint32_t> fileNumber;
        const std::size_t count = std::max<std::size_t>(1, m_data.includes.size());
        for (std::size_t i = 0; i < count; ++i) {
            const std::string &path = i == 0 ? m_unit.header.sourceFile
                                             : m_data.fileOf(static_cast<std::uint32_t>(i));
            auto [it, added] = fileNumber.try_emplace(path, 0);
            if (added) {
                const cobol::Include *include = i ? m_data.include(static_cast<std::uint32_t>(i))
                                                  : nullptr;
                m_unit.inputFiles.push_back(
                    {path,
                     i == 0 ? DbInputFileRecord::sourceFile : DbInputFileRecord::copybookFile,
                     include ? include->copybook : std::string()});
                it->second = static_cast<std::uint32_t>(m_unit.inputFiles.size());
            }
            DbIncludeRecord record;
            record.inputFile = it->second;
            if (const cobol::Include *include = i ? m_data.include(static_cast<std::uint32_t>(i))
                                                  : nullptr) {
                record.parent = include->parent;
                record.copyLine = include->copyLine;
                record.copyColumn = include->copyColumn;
                record.copybook = include->copybook;
                record.qualifier = include->qualifier;
            }
            m_unit.includes.push_back(std::move(record));
        }
    }

    /// The innermost syntax node that holds both parser tokens (ids; 0 = none).
    std::uint32_t commonOwner(std::uint32_t before, std::uint32_t after) const
    {
        if (before == 0 || after == 0)
            return 1;
        std::uint32_t a = m_tree.ownerOf(before);
        const std::uint32_t b = m_tree.ownerOf(after);
        for (; a != 0; a = m_tree.nodes()[a - 1].parent)
            for (std::uint32_t up = b; up != 0; up = m_tree.nodes()[up - 1].parent)
                if (up == a)
                    return a;
        return 1;
    }

    void tokens()
    {
        const std::vector<cobol::Token> &parsed = m_data.tokens;
        const std::vector<cobol::ExpandedSource::Extra> &extras = m_expanded.extras();
        m_tokenNumber.assign(parsed.size() + 1, 0);
        m_unit.tokens.reserve(parsed.size() + extras.size());
        auto keyOf = [this](std::uint32_t include, std::uint32_t line, std::uint32_t column) {
            return (std::uint64_t(m_expanded.expandedLine(include, line)) << 32) | column;
        };
        std::size_t next = 0; // next extra to place
        auto placeExtras = [&](std::uint64_t upTo, std::uint32_t before, std::uint32_t after) {
            for (; next < extras.size(); ++next) {
                const cobol::ExpandedSource::Extra &e = extras[next];
                if (keyOf(e.include, e.line, e.column) >= upTo)
                    break;
                DbTokenRecord t;
                t.type = e.kind == cobol::ExpandedSource::Extra::Kind::Comment ? DbToken::comment
                         : e.kind == cobol::ExpandedSource::Extra::Kind::CopyStatement
                             ? DbToken::copyStatement
                             : DbToken::other;
                t.include = e.include;
                t.line = e.line;
                t.column = e.column;
                t.length = e.length;
                t.expandedLine = m_expanded.expandedLine(e.include, e.line);
                t.node = commonOwner(before, after);
                t.text = e.text;
                m_unit.tokens.push_back(std::move(t));
            }
        };
        for (std::size_t i = 0; i < parsed.size(); ++i) {
            const cobol::Token &p = parsed[i];
            placeExtras(keyOf(p.place.include, p.place.line, p.place.column),
                        static_cast<std::uint32_t>(i),
                        static_cast<std::uint32_t>(i + 1));
            DbTokenRecord t;
            t.type = tokenType(p);
            t.replaced = p.replaced;
            t.include = p.place.include;
            t.line = p.place.line;
            t.column = p.place.column;
            t.length = p.length;
            t.expandedLine = m_expanded.expandedLine(p.place.include, p.place.line);
            const bool names = p.role == cobol::TokenRole::Level
                               || p.role == cobol::TokenRole::DataDeclaration
                               || p.role == cobol::TokenRole::DataReference;
            t.symbol = names && p.item <= m_data.items.size() ? p.item : 0;
            t.node = m_tree.ownerOf(static_cast<std::uint32_t>(i + 1));
            t.text = p.text;
            m_unit.tokens.push_back(std::move(t));
            m_tokenNumber[i + 1] = static_cast<std::uint32_t>(m_unit.tokens.size());
        }
        placeExtras(~std::uint64_t(0), static_cast<std::uint32_t>(parsed.size()), 0);
    }

    std::uint32_t dbToken(std::uint32_t parserId) const
    {
        return parserId < m_tokenNumber.size() ? m_tokenNumber[parserId] : 0;
    }

    void nodes()
    {
        for (const SyntaxTree::Node &n : m_tree.nodes()) {
            DbNodeRecord record;
            record.kind = nodeKind(n.kind);
            record.name = n.name;
            record.parent = n.parent;
            record.firstToken = dbToken(n.firstToken);
            record.lastToken = dbToken(n.lastToken);
            record.symbol = n.item;
            m_unit.nodes.push_back(std::move(record));
        }
        if (!m_unit.nodes.empty() && !m_unit.tokens.empty()) {
            // The unit's node holds every token, the comments before and after the code too.
            m_unit.nodes.front().firstToken = 1;
            m_unit.nodes.front().lastToken = static_cast<std::uint32_t>(m_unit.tokens.size());
        }
    }

    void tree()
    {
        m_unit.treeRecords.push_back({DbTreeInfo::root, m_data.programName, 0, 1});
        m_unit.nodes.front().treeRecord = 1;
        const std::vector<SyntaxTree::Node> &nodes = m_tree.nodes();
        std::vector<std::uint32_t> record(nodes.size() + 1, 0);
        std::vector<bool> inData(nodes.size() + 1, false);
        record[1] = 1;
        for (std::size_t n = 1; n < nodes.size(); ++n) {
            const SyntaxTree::Node &node = nodes[n];
            const std::uint32_t id = static_cast<std::uint32_t>(n + 1);
            inData[id] = node.parent
                         && (inData[node.parent]
                             || (node.kind == SyntaxTree::Node::Kind::Division
                                 && node.name == "DATA"));
            std::uint8_t kind = 0;
            std::string text;
            switch (node.kind) {
            case SyntaxTree::Node::Kind::Division:
                kind = DbTreeInfo::division;
                text = node.name + " DIVISION";
                break;
            case SyntaxTree::Node::Kind::Section:
                kind = inData[id] ? DbTreeInfo::dataDivisionEntry : DbTreeInfo::procedure;
                text = node.name + " SECTION";
                break;
            case SyntaxTree::Node::Kind::Paragraph:
                kind = DbTreeInfo::procedure;
                text = node.name;
                break;
            case SyntaxTree::Node::Kind::DataEntry: {
                const cobol::DataItem *item = m_data.item(node.item);
                if (!item || (item->level != 1 && item->level != 77))
                    continue;
                kind = DbTreeInfo::dataDivisionEntry;
                text = (item->level == 1 ? "01 " : "77 ") + item->name;
                break;
            }
            case SyntaxTree::Node::Kind::Program:
            case SyntaxTree::Node::Kind::Sentence:
            case SyntaxTree::Node::Kind::Statement:
                continue;
            }
            std::uint32_t parent = node.parent;
            while (parent && !record[parent])
                parent = nodes[parent - 1].parent;
            m_unit.treeRecords.push_back({kind, std::move(text), parent ? record[parent] : 1, id});
            record[id] = static_cast<std::uint32_t>(m_unit.treeRecords.size());
            m_unit.nodes[n].treeRecord = record[id];
        }
    }

    std::string longName(const cobol::DataItem &item) const
    {
        std::string name = item.name;
        std::uint32_t up = item.level == 66 ? item.record : item.parent;
        for (int guard = 0; up != 0 && guard < 100; ++guard) {
            const cobol::DataItem &ancestor = m_data.items[up - 1];
            name += " OF " + ancestor.name;
            up = ancestor.parent;
        }
        return name;
    }

    void symbols()
    {
        std::vector<std::uint32_t> declaring(m_data.items.size() + 1, 0);
        for (std::size_t i = 0; i < m_data.tokens.size(); ++i) {
            const cobol::Token &t = m_data.tokens[i];
            if (t.item == 0 || t.item > m_data.items.size())
                continue;
            if (t.role == cobol::TokenRole::DataDeclaration
                || (t.role == cobol::TokenRole::Level && declaring[t.item] == 0))
                declaring[t.item] = dbToken(static_cast<std::uint32_t>(i + 1));
        }
        for (const cobol::DataItem &item : m_data.items) {
            DbSymbolRecord s;
            s.level = static_cast<std::uint32_t>(item.level);
            s.name = item.name;
            s.longName = longName(item);
            s.declaringToken = declaring[item.id];
            s.parent = item.parent;
            s.record = item.record;
            s.base = item.redefines ? item.redefines : item.renamesFrom;
            s.related[0] = item.redefines ? item.redefines : item.renamesFrom;
            s.related[1] = item.dependingOn ? item.dependingOn : item.renamesThru;
            s.related[2] = item.level == 88 ? item.parent : 0;
            s.group = item.category == cobol::Category::Group;
            s.recordStart = item.level == 1 || item.level == 77;
            s.occursMin = item.occursMin;
            s.occursMax = item.occursMax;
            const bool storage = item.level != 88 && item.level != 78;
            const cobol::DataItem *record = m_data.item(item.record);
            const std::uint64_t start = record && record->offset <= item.offset ? record->offset
                                                                                : 0;
            s.offset = storage ? item.offset - start : 0;
            s.length = item.length;
            s.displayText = displayText(s.offset, storage);
            s.usage = std::string(cobol::toString(item.usage));
            s.picture = item.picture;
            s.category = std::string(cobol::toString(item.category));
            s.value = item.value;
            s.area = std::string(cobol::toString(item.area));
            s.isSigned = item.isSigned;
            s.signSeparate = item.signSeparate;
            s.synchronized = item.synchronized;
            s.include = item.declaredIn;
            s.line = item.place.line;
            m_unit.symbols.push_back(std::move(s));
        }
    }

    void marks(const ProgramModel &model, const AnalysisResult &result)
    {
        for (const FieldFinding &field : result.fields) {
            const std::uint32_t symbol = field.item + 1;
            if (symbol > m_unit.symbols.size() || !m_unit.symbols[symbol - 1].declaringToken)
                continue;
            const std::string bytes = field.length > 1
                                          ? std::to_string(field.first) + "-"
                                                + std::to_string(field.first + field.length - 1)
                                          : std::to_string(field.first);
            m_unit.marks.push_back({DbMark::dateField,
                                    m_unit.symbols[symbol - 1].declaringToken,
                                    symbol,
                                    std::string(kindName(field.kind)) + " bytes " + bytes});
        }
        // A window site is marked on the token at its statement's place: one pass over the
        // tokens finds the places wanted.
        auto key = [](std::uint32_t include, std::uint32_t line, std::uint32_t column) {
            return (std::uint64_t(include) << 48) ^ (std::uint64_t(line) << 16) ^ column;
        };
        std::unordered_map<std::uint64_t, std::uint32_t> byPlace;
        for (const WindowSite &site : result.windows)
            if (site.statement < model.statements.size()) {
                const SourcePos &pos = model.statements[site.statement].pos;
                byPlace.emplace(key(pos.file, pos.line, pos.column), 0);
            }
        for (std::size_t i = 0; i < m_data.tokens.size() && !byPlace.empty(); ++i) {
            const cobol::SourcePlace &p = m_data.tokens[i].place;
            const auto wanted = byPlace.find(key(p.include, p.line, p.column));
            if (wanted != byPlace.end() && wanted->second == 0)
                wanted->second = dbToken(static_cast<std::uint32_t>(i + 1));
        }
        for (const WindowSite &site : result.windows) {
            if (site.statement >= model.statements.size())
                continue;
            const SourcePos &pos = model.statements[site.statement].pos;
            const auto found = byPlace.find(key(pos.file, pos.line, pos.column));
            if (found == byPlace.end() || !found->second)
                continue;
            const std::uint32_t symbol = site.yearItems.empty() ? 0 : site.yearItems.front() + 1;
            m_unit.marks.push_back({DbMark::windowSite,
                                    found->second,
                                    symbol <= m_unit.symbols.size() ? symbol : 0,
                                    site.reason});
        }
        std::stable_sort(m_unit.marks.begin(),
                         m_unit.marks.end(),
                         [](const DbMarkRecord &a, const DbMarkRecord &b) {
                             return a.token < b.token;
                         });
    }

    const cobol::AnalysisData &m_data;
    const cobol::ExpandedSource &m_expanded;
    SyntaxTree m_tree;
    DbUnitData m_unit;
    std::vector<std::uint32_t> m_tokenNumber; ///< parser token id -> unit token number
};

UnitRecordBuilder::UnitRecordBuilder(const cobol::AnalysisData &data,
                                     const cobol::ExpandedSource &expanded,
                                     const Header &header)
    : m_builder(std::make_unique<Builder>(data, expanded, header))
{}

UnitRecordBuilder::~UnitRecordBuilder() = default;

void UnitRecordBuilder::addMarks(const ProgramModel &model, const AnalysisResult &result)
{
    m_builder->addMarks(model, result);
}

DbUnitData &UnitRecordBuilder::unit()
{
    return m_builder->unit();
}

} // namespace kelmkpu
