#include "UnitRecordBuilder.h"

#include "AdtFile.h"
#include "AnalysisData.h"
#include "AnalysisResult.h"
#include "DbNode.h"
#include "DbToken.h"
#include "DbTreeInfo.h"
#include "DbUnitPacker.h"
#include "ExpandedSource.h"
#include "ProgramModel.h"
#include "UnitMarks.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <unordered_map>

namespace kelmkpu {

namespace {

std::uint8_t tokenType(const cobol::AdtFile::TokenView &token)
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

std::uint8_t nodeKind(cobol::SyntaxNode::Kind kind)
{
    switch (kind) {
    case cobol::SyntaxNode::Kind::Program:
        return DbNode::programUnit;
    case cobol::SyntaxNode::Kind::Division:
        return DbNode::division;
    case cobol::SyntaxNode::Kind::Section:
        return DbNode::section;
    case cobol::SyntaxNode::Kind::Paragraph:
        return DbNode::paragraph;
    case cobol::SyntaxNode::Kind::Sentence:
        return DbNode::sentence;
    case cobol::SyntaxNode::Kind::Statement:
        return DbNode::statement;
    case cobol::SyntaxNode::Kind::DataEntry:
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

/// While statements are placed: their places, sorted, and the unit token found at each.
struct Placing
{
    std::vector<std::uint64_t> places;
    std::vector<bool> filter;
    std::vector<std::uint32_t> tokenAt;
    std::size_t last = 0; ///< the place found last

    /// Where `place` is or would go. The tokens of one file come in the order of their
    /// places: the search starts from the place found last and steps forward, and searches
    /// the whole list only on a jump.
    std::size_t find(std::uint64_t place) const
    {
        if (!places.empty() && place >= places[last]) {
            const std::size_t near = std::min(places.size(), last + 4);
            std::size_t at = last;
            while (at < near && places[at] < place)
                ++at;
            if (at < near)
                return at;
        }
        return static_cast<std::size_t>(std::lower_bound(places.begin(), places.end(), place)
                                        - places.begin());
    }
};

} // namespace

/// The records of one unit, built in two steps (see UnitRecordBuilder).
class UnitRecordBuilder::Builder
{
public:
    Builder(const cobol::AdtFile &file,
            const cobol::ExpandedSource &expanded,
            const UnitRecordBuilder::Header &header)
        : m_file(file)
        , m_data(file.data())
        , m_expanded(expanded)
    {
        headerRecord(header);
        files();
        DbUnitPacker packer(m_unit.includes.size(), m_data.items.size(), file.syntaxNodeCount());
        for (const cobol::ExpandedSource::Line &line : m_expanded.lines())
            packer.addLine(line.include,
                           line.line,
                           static_cast<std::uint8_t>(line.kind),
                           line.text);
        tokens(packer);
        nodesAndTree(packer);
        symbols();
        m_chunks = packer.finish(m_unit.treeRecords.size());
    }

    void placeStatements(const ProgramModel &model)
    {
        startPlacing(model);
        for (cobol::AdtFile::TokenReader reader = m_file.tokens(
                 cobol::AdtFile::TokenReader::Fields::Places);
             reader.next();)
            placeToken(reader.token());
        finishPlacing(model);
    }

    /// One pass over the tokens' places. Statement places are few beside the tokens: a filter
    /// of one bit per hash skips most tokens before the sorted places are searched.
    void startPlacing(const ProgramModel &model)
    {
        Placing &p = m_placing.emplace();
        p.places.reserve(model.statements.size());
        for (const Statement &statement : model.statements)
            p.places.push_back(
                placeKey(statement.pos.file, statement.pos.line, statement.pos.column));
        if (!std::is_sorted(p.places.begin(), p.places.end()))
            std::sort(p.places.begin(), p.places.end());
        p.places.erase(std::unique(p.places.begin(), p.places.end()), p.places.end());
        p.filter.assign(filterBits, false);
        for (const std::uint64_t place : p.places)
            p.filter[filterBit(place)] = true;
        p.tokenAt.assign(p.places.size(), 0);
    }

    void placeToken(const cobol::AdtFile::TokenView &token)
    {
        Placing &p = *m_placing;
        const std::uint64_t place = placeKey(token.place.include,
                                             token.place.line,
                                             token.place.column);
        if (!p.filter[filterBit(place)])
            return;
        const std::size_t at = p.find(place);
        if (at < p.places.size() && p.places[at] == place) {
            p.last = at;
            if (p.tokenAt[at] == 0)
                p.tokenAt[at] = dbToken(token.id);
        }
    }

    void finishPlacing(const ProgramModel &model)
    {
        Placing &p = *m_placing;
        m_statementToken.resize(model.statements.size());
        // The statements come mostly in the order of their places too.
        p.last = 0;
        for (std::size_t i = 0; i < model.statements.size(); ++i) {
            const SourcePos &pos = model.statements[i].pos;
            p.last = p.find(placeKey(pos.file, pos.line, pos.column));
            m_statementToken[i] = p.tokenAt[p.last];
        }
        m_placing.reset();
        m_placed = true;
    }

    bool placing() const { return m_placing.has_value(); }

    void addMarks(const ProgramModel &model, const AnalysisResult &result)
    {
        if (!m_placed)
            placeStatements(model);
        m_unit.header.state = UnitMarks::state(m_data, result);
        marks(result);
    }

    /// Index: symbol number (0 unused).
    std::vector<std::uint32_t> declaringTokens() const
    {
        std::vector<std::uint32_t> tokens(m_unit.symbols.size() + 1, 0);
        for (std::size_t s = 0; s < m_unit.symbols.size(); ++s)
            tokens[s + 1] = m_unit.symbols[s].declaringToken;
        return tokens;
    }
    const std::vector<std::uint32_t> &statementTokens() const { return m_statementToken; }

    DbUnitData &unit() { return m_unit; }
    const DbWriter::Chunks &chunks() const { return m_chunks; }
    DbWriter::Chunks &chunks() { return m_chunks; }

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

    /// The innermost syntax node that holds two tokens owned by `a` and `b` (0: no token).
    std::uint32_t commonOwner(std::uint32_t a, std::uint32_t b) const
    {
        if (a == 0 || b == 0)
            return 1;
        const std::vector<std::uint32_t> &parent = m_file.syntaxParents();
        for (; a != 0 && a < parent.size(); a = parent[a])
            for (std::uint32_t up = b; up != 0 && up < parent.size(); up = parent[up])
                if (up == a)
                    return a;
        return 1;
    }

    void tokens(DbUnitPacker &packer)
    {
        const std::vector<cobol::ExpandedSource::Extra> &extras = m_expanded.extras();
        const std::uint32_t items = static_cast<std::uint32_t>(m_data.items.size());
        m_parserTokens = m_file.tokenCount();
        m_extrasBefore.clear();
        m_declaring.assign(m_data.items.size() + 1, 0);
        auto keyOf = [this](std::uint32_t include, std::uint32_t line, std::uint32_t column) {
            return (std::uint64_t(m_expanded.expandedLine(include, line)) << 32) | column;
        };
        std::size_t next = 0; // next extra to place
        std::uint32_t count = 0;
        // Extras go between the parser tokens owned by `before` and `after` (0: none), before
        // the parser token `next`.
        auto placeExtras = [&](std::uint64_t upTo,
                               std::uint32_t before,
                               std::uint32_t after,
                               std::uint32_t nextToken) {
            for (; next < extras.size(); ++next) {
                const cobol::ExpandedSource::Extra &e = extras[next];
                if (keyOf(e.include, e.line, e.column) >= upTo)
                    break;
                DbChunkCodec::TokenFields t;
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
                packer.addToken(t);
                m_extrasBefore.push_back(nextToken);
                ++count;
            }
        };
        std::uint32_t previousOwner = 0;
        for (cobol::AdtFile::TokenReader reader = m_file.tokens(); reader.next();) {
            const cobol::AdtFile::TokenView &p = reader.token();
            // The parser's first token has no token before it: extras there belong to node 1.
            placeExtras(keyOf(p.place.include, p.place.line, p.place.column),
                        p.id == 1 ? 0 : previousOwner,
                        p.node ? p.node : 1,
                        p.id);
            DbChunkCodec::TokenFields t;
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
            t.symbol = names && p.item <= items ? p.item : 0;
            t.node = p.node ? p.node : 1;
            t.text = p.text;
            packer.addToken(t);
            ++count;
            if (p.item != 0 && p.item <= items
                && (p.role == cobol::TokenRole::DataDeclaration
                    || (p.role == cobol::TokenRole::Level && m_declaring[p.item] == 0)))
                m_declaring[p.item] = count;
            previousOwner = t.node;
        }
        placeExtras(~std::uint64_t(0),
                    m_file.tokenCount() ? previousOwner : 0,
                    0,
                    m_file.tokenCount() + 1);
    }

    /// The unit token number of the parser's token `parserId` (0: none): the parser's tokens
    /// come in order, with the extras placed before each between them.
    std::uint32_t dbToken(std::uint32_t parserId) const
    {
        if (parserId == 0 || parserId > m_parserTokens)
            return 0;
        return parserId
               + static_cast<std::uint32_t>(
                   std::upper_bound(m_extrasBefore.begin(), m_extrasBefore.end(), parserId)
                   - m_extrasBefore.begin());
    }

    /// The syntax nodes and the structure tree: record 1 is the unit, then divisions, sections
    /// and paragraphs, and the level-01/77 records of the data division.
    void nodesAndTree(DbUnitPacker &packer)
    {
        m_unit.treeRecords.push_back({DbTreeInfo::root, m_data.programName, 0, 1});
        const std::size_t count = m_file.syntaxNodeCount();
        const std::uint32_t tokens = static_cast<std::uint32_t>(packer.tokenCount());
        std::vector<std::uint32_t> record(count + 1, 0);
        std::vector<bool> inData(count + 1, false);
        const std::vector<std::uint32_t> &parents = m_file.syntaxParents();
        m_file.forEachSyntaxNode([&](std::uint32_t id, const cobol::AdtFile::SyntaxNodeView &node) {
            if (id == 1) {
                // The unit's node holds every token, the comments before and after the code too.
                record[1] = 1;
                packer.addNode(nodeKind(node.kind),
                               node.parent,
                               tokens ? 1 : dbToken(node.firstToken),
                               tokens ? tokens : dbToken(node.lastToken),
                               node.item,
                               1,
                               node.name);
                return;
            }
            inData[id] = node.parent
                         && (inData[node.parent]
                             || (node.kind == cobol::SyntaxNode::Kind::Division
                                 && node.name == "DATA"));
            if (const std::optional<std::pair<std::uint8_t, std::string>> entry
                = treeEntry(node, inData[id])) {
                std::uint32_t parent = node.parent;
                while (parent && !record[parent])
                    parent = parents[parent];
                m_unit.treeRecords.push_back(
                    {entry->first, std::move(entry->second), parent ? record[parent] : 1, id});
                record[id] = static_cast<std::uint32_t>(m_unit.treeRecords.size());
            }
            packer.addNode(nodeKind(node.kind),
                           node.parent,
                           dbToken(node.firstToken),
                           dbToken(node.lastToken),
                           node.item,
                           record[id],
                           node.name);
        });
    }

    /// The kind and text of the tree record that stands for `node`, if one does.
    std::optional<std::pair<std::uint8_t, std::string>> treeEntry(
        const cobol::AdtFile::SyntaxNodeView &node, bool inData) const
    {
        switch (node.kind) {
        case cobol::SyntaxNode::Kind::Division:
            return std::pair<std::uint8_t, std::string>(DbTreeInfo::division,
                                                        std::string(node.name) + " DIVISION");
        case cobol::SyntaxNode::Kind::Section:
            return std::pair<std::uint8_t, std::string>(inData ? DbTreeInfo::dataDivisionEntry
                                                               : DbTreeInfo::procedure,
                                                        std::string(node.name) + " SECTION");
        case cobol::SyntaxNode::Kind::Paragraph:
            return std::pair<std::uint8_t, std::string>(DbTreeInfo::procedure,
                                                        std::string(node.name));
        case cobol::SyntaxNode::Kind::DataEntry: {
            const cobol::DataItem *item = m_data.item(node.item);
            if (!item || (item->level != 1 && item->level != 77))
                return std::nullopt;
            return std::pair<std::uint8_t, std::string>(DbTreeInfo::dataDivisionEntry,
                                                        (item->level == 1 ? "01 " : "77 ")
                                                            + item->name);
        }
        case cobol::SyntaxNode::Kind::Program:
        case cobol::SyntaxNode::Kind::Sentence:
        case cobol::SyntaxNode::Kind::Statement:
            break;
        }
        return std::nullopt;
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
        for (const cobol::DataItem &item : m_data.items) {
            DbSymbolRecord s;
            s.level = static_cast<std::uint32_t>(item.level);
            s.name = item.name;
            s.longName = longName(item);
            s.declaringToken = m_declaring[item.id];
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

    void marks(const AnalysisResult &result)
    {
        m_unit.marks = UnitMarks::build(result, declaringTokens(), m_statementToken);
    }

    const cobol::AdtFile &m_file;
    const cobol::AnalysisData &m_data;
    const cobol::ExpandedSource &m_expanded;
    DbUnitData m_unit;
    DbWriter::Chunks m_chunks;
    std::uint32_t m_parserTokens = 0;          ///< the parser's tokens, numbered from 1
    std::vector<std::uint32_t> m_extrasBefore; ///< per extra: the parser token that follows it
    std::vector<std::uint32_t> m_declaring;    ///< item -> the unit token that declares it
    std::optional<Placing> m_placing;
    std::vector<std::uint32_t> m_statementToken; ///< model statement -> its unit token (0: none)
    bool m_placed = false;

    /// A source place as one number (the same number for two places is harmless: a mark then
    /// goes on the first token at either).
    static std::uint64_t placeKey(std::uint32_t include, std::uint32_t line, std::uint32_t column)
    {
        return (std::uint64_t(include) << 48) ^ (std::uint64_t(line) << 16) ^ column;
    }
    static constexpr std::size_t filterBits = std::size_t(1) << 20;
    static std::size_t filterBit(std::uint64_t place)
    {
        return static_cast<std::size_t>((place * 0x9E3779B97F4A7C15ull) >> 44);
    }
};

UnitRecordBuilder::UnitRecordBuilder(const cobol::AdtFile &file,
                                     const cobol::ExpandedSource &expanded,
                                     const Header &header)
    : m_builder(std::make_unique<Builder>(file, expanded, header))
{}

UnitRecordBuilder::~UnitRecordBuilder() = default;

void UnitRecordBuilder::placeStatements(const ProgramModel &model)
{
    m_builder->placeStatements(model);
}

void UnitRecordBuilder::placeToken(const ProgramModel &model,
                                   const cobol::AdtFile::TokenView &token)
{
    if (!m_builder->placing())
        m_builder->startPlacing(model);
    m_builder->placeToken(token);
}

void UnitRecordBuilder::finishPlacing(const ProgramModel &model)
{
    if (!m_builder->placing())
        m_builder->startPlacing(model);
    m_builder->finishPlacing(model);
}

void UnitRecordBuilder::addMarks(const ProgramModel &model, const AnalysisResult &result)
{
    m_builder->addMarks(model, result);
}

std::vector<std::uint32_t> UnitRecordBuilder::declaringTokens() const
{
    return m_builder->declaringTokens();
}

const std::vector<std::uint32_t> &UnitRecordBuilder::statementTokens() const
{
    return m_builder->statementTokens();
}

DbUnitData &UnitRecordBuilder::unit()
{
    return m_builder->unit();
}

const DbWriter::Chunks &UnitRecordBuilder::chunks() const
{
    return m_builder->chunks();
}

DbWriter::Chunks &UnitRecordBuilder::chunks()
{
    return m_builder->chunks();
}

} // namespace kelmkpu
