#include "AdtFile.h"
#include "FileDescriptor.h"

#include "AdtBinaryWriter.h"
#include "AdtCodec.h"
#include "AdtReader.h"
#include "IException.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

namespace cobol {

namespace {

using adt::ByteReader;

constexpr const char *sectionNames[adt::sectionCount] = {"program",
                                                         "includes",
                                                         "items",
                                                         "nodes",
                                                         "statements",
                                                         "tokens",
                                                         "syntax nodes",
                                                         "remarks",
                                                         "diagnostics"};

/// Reads `size` bytes at `offset`; false when the file ends first or cannot be read.
bool readAt(int fd, std::uint64_t offset, std::size_t size, std::string &out)
{
    out.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd,
                                  out.data() + done,
                                  size - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

SourcePlace place(ByteReader &in)
{
    SourcePlace p;
    p.include = in.number32();
    p.line = in.number32();
    p.column = in.number32();
    return p;
}

/// An enumeration value, or the reader failed when it is past `last`.
template<typename Enum>
Enum enumeration(ByteReader &in, Enum last)
{
    const std::uint64_t value = in.number();
    if (value > static_cast<std::uint64_t>(last))
        in.fail();
    return static_cast<Enum>(value > static_cast<std::uint64_t>(last) ? 0 : value);
}

/// Fills `stmt` (but its id, which is `id`) from the next statement record; the reader fails
/// on a malformed one. `items` give the names of item operands whose text is left out.
void decodeStatement(ByteReader &in,
                     std::uint32_t id,
                     const std::vector<DataItem> &items,
                     Statement &stmt)
{
    stmt.kind = enumeration(in, StatementKind::Exec);
    stmt.context = enumeration(in, StatementContext::SearchWhen);
    stmt.verb = in.text();
    stmt.detail = in.text();
    stmt.group = static_cast<std::uint32_t>(std::int64_t(id) - in.signedNumber());
    stmt.paragraph = in.number32();
    stmt.place = place(in);
    stmt.firstToken = in.number32();
    stmt.lastToken = static_cast<std::uint32_t>(std::int64_t(stmt.firstToken) + in.signedNumber());
    stmt.nonLinear = in.number() != 0;
    const std::uint64_t count = in.number();
    if (count > in.remaining()) {
        in.fail();
        return;
    }
    stmt.operands.resize(static_cast<std::size_t>(count));
    for (Operand &op : stmt.operands) {
        const std::uint8_t kinds = in.byte();
        const std::uint8_t flags = in.byte();
        if ((kinds & 0x0F) > static_cast<unsigned>(OperandRole::Column)
            || ((kinds >> 6) & 3) > static_cast<unsigned>(RefMod::Variable))
            in.fail();
        op.role = static_cast<OperandRole>((kinds & 0x0F) > 8 ? 0 : kinds & 0x0F);
        op.kind = static_cast<OperandKind>((kinds >> 4) & 3);
        op.refMod = static_cast<RefMod>(((kinds >> 6) & 3) > 2 ? 0 : (kinds >> 6) & 3);
        op.item = in.number32();
        if (flags & adt::operandTextIsItemName) {
            if (op.item == 0 || op.item > items.size()) {
                in.fail();
                return;
            }
            op.text = items[op.item - 1].name;
        } else {
            op.text = in.text();
        }
        if (flags & adt::operandHasFunction)
            op.function = in.text();
        else
            op.function.clear();
        op.sign = (flags & adt::operandHasSign) ? static_cast<int>(in.signedNumber()) : 0;
        op.refOffset = (flags & adt::operandHasRefMod) ? in.number32() : 0;
        op.refLength = (flags & adt::operandHasRefMod) ? in.number32() : 0;
        const std::uint64_t subscripts = (flags & adt::operandHasSubscripts) ? in.number() : 0;
        if (subscripts > in.remaining()) {
            in.fail();
            return;
        }
        op.subscripts.resize(static_cast<std::size_t>(subscripts));
        for (Subscript &sub : op.subscripts) {
            sub.item = in.number32();
            if (sub.item == 0)
                sub.literal = in.text();
            else
                sub.literal.clear();
        }
        op.place = place(in);
        if (flags & adt::operandHasOption)
            op.option = in.text();
        else
            op.option.clear();
        if (flags & adt::operandHasColumn)
            op.column = in.text();
        else
            op.column.clear();
        if (flags & adt::operandHasSqlType)
            op.sqlType = in.text();
        else
            op.sqlType.clear();
    }
}

struct TokenState
{
    std::uint32_t include = 0;
    std::uint32_t line = 0;
    std::uint32_t node = 0;
};

/// Fills `token` (but its id) from the next token record; the reader fails on a malformed one.
/// Without `withText` the text is stepped over and left as it was.
template<bool withText>
inline void decodeToken(ByteReader &in, TokenState &state, AdtFile::TokenView &token)
{
    const std::uint8_t flags = in.byte();
    const unsigned kind = flags & 7u;
    const unsigned role = (flags >> 3) & 7u;
    if (kind > static_cast<unsigned>(TokenKind::Other)
        || role > static_cast<unsigned>(TokenRole::ProcedureReference)) [[unlikely]]
        in.fail();
    token.kind = static_cast<TokenKind>(kind > 5 ? 0 : kind);
    token.role = static_cast<TokenRole>(role > 6 ? 0 : role);
    token.replaced = (flags & adt::tokenReplaced) != 0;
    state.include = static_cast<std::uint32_t>(state.include + in.signedNumber());
    state.line = static_cast<std::uint32_t>(state.line + in.signedNumber());
    token.place.include = state.include;
    token.place.line = state.line;
    token.place.column = in.number32();
    token.length = in.number32();
    token.item = (flags & adt::tokenHasItem) ? in.number32() : 0;
    state.node = static_cast<std::uint32_t>(state.node + in.signedNumber());
    token.node = state.node;
    if constexpr (withText)
        token.text = in.text();
    else
        in.skipText();
}

void decodeSyntaxNode(ByteReader &in, AdtFile::SyntaxNodeView &node)
{
    node.kind = enumeration(in, SyntaxNode::Kind::DataEntry);
    node.name = in.text();
    node.parent = in.number32();
    node.firstToken = in.number32();
    node.lastToken = in.number32();
    node.item = in.number32();
    node.programNode = in.number32();
}

bool equalsUpper(std::string_view text, std::string_view upper)
{
    if (text.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != upper[i])
            return false;
    return true;
}

} // namespace

AdtFile::~AdtFile() = default;

void AdtFile::fail(std::string_view section, std::string_view what) const
{
    ITHROW(IAccessError(m_fileName + ": the " + std::string(section) + " section "
                        + std::string(what)));
}

std::array<std::pair<std::uint64_t, std::uint64_t>, 9> AdtFile::readTable(std::string_view head,
                                                                          std::uint64_t size)
{
    std::array<std::pair<std::uint64_t, std::uint64_t>, 9> table{};
    const std::uint64_t version = adt::getFixed(head.data() + 8, 4);
    if (version != static_cast<std::uint64_t>(AnalysisData::formatVersion))
        ITHROW(IAccessError(m_fileName + ": expected format version 2, found version "
                            + std::to_string(version)));
    const std::uint64_t sections = adt::getFixed(head.data() + 12, 4);
    if (head.size() < adt::headerSize + sections * adt::sectionEntrySize)
        ITHROW(IAccessError(m_fileName + ": expected a table of " + std::to_string(sections)
                            + " sections, found the end of the file"));
    std::array<bool, 9> seen{};
    for (std::uint64_t s = 0; s < sections; ++s) {
        const char *entry = head.data() + adt::headerSize + s * adt::sectionEntrySize;
        const std::uint64_t offset = adt::getFixed(entry + 8, 8);
        const std::uint64_t length = adt::getFixed(entry + 16, 8);
        if (offset > size || length > size - offset)
            ITHROW(IAccessError(m_fileName + ": expected the section " + std::string(entry, 4)
                                + " within the file's " + std::to_string(size)
                                + " bytes, found it at " + std::to_string(offset)
                                + " (the file is truncated)"));
        // Sections this version does not know are skipped: a later writer may add some.
        for (int k = 0; k < adt::sectionCount; ++k)
            if (std::memcmp(entry, adt::sectionTags[k], 4) == 0) {
                table[k] = {offset, length};
                m_counts[k] = static_cast<std::uint32_t>(adt::getFixed(entry + 4, 4));
                seen[k] = true;
            }
    }
    for (int k = 0; k < adt::sectionCount; ++k)
        if (!seen[k])
            ITHROW(IAccessError(m_fileName + ": expected the section " + adt::sectionTags[k]
                                + ", found none"));
    return table;
}

std::unique_ptr<AdtFile> AdtFile::open(const std::string &path)
{
    // Only a regular file is read: a FIFO named as the analysis data would block for ever.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info
    {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0)
        ITHROW(IAccessError("The analysis data file " + path
                            + (errno == ENOENT ? " does not exist." : " cannot be read: ")
                            + (errno == ENOENT ? "" : std::string(std::strerror(errno)) + ".")));
    if (!S_ISREG(info.st_mode))
        ITHROW(IAccessError("The analysis data file " + path + " is not a regular file."));
    const auto size = static_cast<std::uint64_t>(info.st_size);
    std::string head;
    if (!readAt(fd.get(),
                0,
                static_cast<std::size_t>(std::min<std::uint64_t>(size, adt::headerSize)),
                head))
        ITHROW(IAccessError("The analysis data file " + path + " cannot be read."));
    if (head.size() < adt::headerSize || std::string_view(head).substr(0, 8) != adt::magic) {
        std::string text;
        if (!readAt(fd.get(), 0, static_cast<std::size_t>(size), text))
            ITHROW(IAccessError("The analysis data file " + path + " cannot be read."));
        return fromText(std::move(text), path);
    }
    std::unique_ptr<AdtFile> file(new AdtFile());
    file->m_fileName = path;
    const std::uint64_t sections = adt::getFixed(head.data() + 12, 4);
    std::string table;
    if (sections > 1024
        || !readAt(fd.get(), 0, adt::headerSize + sections * adt::sectionEntrySize, table))
        ITHROW(IAccessError(path + ": expected a table of sections, found the end of the file"));
    const auto ranges = file->readTable(table, size);
    for (int k = 0; k < adt::sectionCount; ++k)
        if (!readAt(fd.get(),
                    ranges[k].first,
                    static_cast<std::size_t>(ranges[k].second),
                    file->m_sections[k]))
            ITHROW(IAccessError("The analysis data file " + path + " cannot be read."));
    file->decodeTables();
    return completed(std::move(file));
}

std::unique_ptr<AdtFile> AdtFile::fromBytes(std::string bytes, const std::string &fileName)
{
    if (bytes.size() < adt::headerSize || std::string_view(bytes).substr(0, 8) != adt::magic)
        return fromText(std::move(bytes), fileName);
    return completed(binary(bytes, fileName));
}

AnalysisData AdtFile::readBinary(const std::string &bytes, const std::string &fileName)
{
    return binary(bytes, fileName)->toData();
}

std::unique_ptr<AdtFile> AdtFile::binary(const std::string &bytes, const std::string &fileName)
{
    std::unique_ptr<AdtFile> file(new AdtFile());
    file->m_fileName = fileName;
    const auto ranges = file->readTable(bytes, bytes.size());
    for (int k = 0; k < adt::sectionCount; ++k)
        file->m_sections[k] = bytes.substr(static_cast<std::size_t>(ranges[k].first),
                                           static_cast<std::size_t>(ranges[k].second));
    file->decodeTables();
    return file;
}

std::unique_ptr<AdtFile> AdtFile::completed(std::unique_ptr<AdtFile> file)
{
    if (file->m_data.structureKnown)
        return file;
    // Data written without its structure (by hand, in tests): add it once, as from a text file.
    AnalysisData data = file->toData();
    data.completeStructure();
    return fromBytes(AdtBinaryWriter::encode(data), file->m_fileName);
}

std::unique_ptr<AdtFile> AdtFile::fromText(std::string text, const std::string &fileName)
{
    AnalysisData data = AdtReader(std::move(text), fileName).read();
    data.completeStructure();
    return fromBytes(AdtBinaryWriter::encode(data), fileName);
}

std::unique_ptr<AdtFile> AdtFile::fromData(const AnalysisData &data)
{
    return fromBytes(AdtBinaryWriter::encode(data), data.sourcePath + " (analysis data)");
}

void AdtFile::decodeTables()
{
    auto reader = [this](int k) { return ByteReader(m_sections[k]); };
    auto ended = [this](ByteReader &in, int k) {
        if (in.failed() || !in.atEnd())
            fail(sectionNames[k],
                 in.failed() ? "ends inside a record or holds a malformed number"
                             : "has bytes after its last record");
    };
    auto enough = [this](int k) {
        // Every record takes a byte: a damaged count must not reserve gigabytes.
        if (m_counts[k] > m_sections[k].size())
            fail(sectionNames[k], "counts more records than it has bytes");
    };
    for (int k = 0; k < adt::sectionCount; ++k)
        enough(k);
    AnalysisData &data = m_data;
    {
        ByteReader in = reader(0);
        data.programName = in.text();
        data.sourcePath = in.text();
        data.dialect = in.text();
        data.freeFormat = in.number() != 0;
        data.structureKnown = in.number() != 0;
        ended(in, 0);
    }
    {
        ByteReader in = reader(1);
        data.includes.resize(m_counts[1]);
        for (std::uint32_t id = 0; id < m_counts[1] && !in.failed(); ++id) {
            Include &inc = data.includes[id];
            inc.id = id;
            inc.parent = in.number32();
            inc.copyLine = in.number32();
            inc.copyColumn = in.number32();
            inc.copybook = in.text();
            inc.library = in.text();
            inc.qualifier = in.text();
            inc.path = in.text();
            inc.implicit = in.number() != 0;
            inc.endLine = in.number32();
            inc.endColumn = in.number32();
            const std::uint64_t pairs = in.number();
            if (pairs > in.remaining())
                in.fail();
            for (std::uint64_t p = 0; p < pairs && !in.failed(); ++p) {
                std::string from(in.text());
                inc.replacing.emplace_back(std::move(from), std::string(in.text()));
            }
            if (!in.failed() && id != 0 && inc.parent >= id)
                fail(sectionNames[1], "has an include whose parent does not come before it");
        }
        ended(in, 1);
    }
    {
        ByteReader in = reader(2);
        data.items.resize(m_counts[2]);
        for (std::uint32_t i = 0; i < m_counts[2] && !in.failed(); ++i) {
            DataItem &item = data.items[i];
            item.id = i + 1;
            item.level = static_cast<int>(in.signedNumber());
            item.name = in.text();
            item.parent = in.number32();
            item.area = enumeration(in, StorageArea::Other);
            item.record = in.number32();
            item.storage = in.number32();
            item.offset = in.number();
            item.length = in.number();
            item.usage = enumeration(in, Usage::National);
            item.picture = in.text();
            item.category = enumeration(in, Category::Constant);
            item.digits = static_cast<int>(in.signedNumber());
            item.scale = static_cast<int>(in.signedNumber());
            const std::uint64_t flags = in.number();
            item.isSigned = flags & 1;
            item.signSeparate = flags & 2;
            item.synchronized = flags & 4;
            item.hasCanonical = flags & 8;
            item.layoutVaries = flags & 16;
            item.occursMin = in.number32();
            item.occursMax = in.number32();
            item.stride = in.number();
            item.dependingOn = in.number32();
            item.redefines = in.number32();
            item.renamesFrom = in.number32();
            item.renamesThru = in.number32();
            item.declaredIn = in.number32();
            item.canonicalOffset = in.number();
            item.canonicalLength = in.number();
            item.place = place(in);
            item.value = in.text();
            if (!in.failed()
                && (item.level < 1
                    || (item.level > 49 && item.level != 66 && item.level != 77 && item.level != 78
                        && item.level != 88)))
                fail(sectionNames[2], "has an item whose level is not 1-49, 66, 77, 78 or 88");
        }
        ended(in, 2);
    }
    {
        ByteReader in = reader(3);
        data.nodes.resize(m_counts[3]);
        for (std::uint32_t i = 0; i < m_counts[3] && !in.failed(); ++i) {
            ProgramNode &node = data.nodes[i];
            node.id = i + 1;
            node.kind = enumeration(in, ProgramNode::Kind::Paragraph);
            node.name = in.text();
            node.parent = in.number32();
            node.place = place(in);
            node.firstToken = in.number32();
            if (!in.failed() && node.parent >= node.id)
                fail(sectionNames[3], "has a node whose parent does not come before it");
        }
        ended(in, 3);
    }
    {
        ByteReader in = reader(7);
        data.remarks.resize(m_counts[7]);
        for (Remark &remark : data.remarks) {
            remark.kind = enumeration(in, Remark::Kind::Directive);
            remark.include = in.number32();
            remark.line = in.number32();
            remark.column = in.number32();
            remark.length = in.number32();
        }
        ended(in, 7);
    }
    {
        ByteReader in = reader(8);
        data.diagnostics.resize(m_counts[8]);
        for (Diagnostic &diag : data.diagnostics) {
            diag.severity = enumeration(in, Diagnostic::Severity::Error);
            diag.place = place(in);
            diag.message = in.text();
        }
        ended(in, 8);
    }
    for (int k : {0, 1, 2, 3, 7, 8}) {
        m_tablesDigest.add(m_counts[k]).add(m_sections[k]);
        std::string().swap(m_sections[k]);
    }

    // References, as the text reader checks them.
    auto bad = [this](std::string_view what, std::uint64_t owner, std::uint64_t ref) {
        ITHROW(IAccessError(m_fileName + ": " + std::string(what) + " " + std::to_string(owner)
                            + " refers to " + std::to_string(ref) + ", which does not exist"));
    };
    const auto items = static_cast<std::uint32_t>(data.items.size());
    const auto includes = static_cast<std::uint32_t>(data.includes.size());
    for (const DataItem &item : data.items) {
        for (std::uint32_t ref : {item.parent,
                                  item.record,
                                  item.storage,
                                  item.dependingOn,
                                  item.redefines,
                                  item.renamesFrom,
                                  item.renamesThru})
            if (ref > items)
                bad("item", item.id, ref);
        if (item.declaredIn >= includes && item.declaredIn != 0)
            bad("item", item.id, item.declaredIn);
        if (item.place.include >= includes && item.place.include != 0)
            bad("item", item.id, item.place.include);
    }
    for (const ProgramNode &node : data.nodes)
        if ((node.place.include >= includes && node.place.include != 0)
            || node.firstToken > tokenCount())
            bad("node", node.id, node.firstToken);
    for (const Remark &remark : data.remarks)
        if (remark.include >= includes && remark.include != 0)
            bad("remark at line", remark.line, remark.include);
    for (const Diagnostic &diag : data.diagnostics)
        if (diag.place.include >= includes && diag.place.include != 0)
            bad("diagnostic at line", diag.place.line, diag.place.include);
    checkTokens();
    checkSyntaxNodes();
}

void AdtFile::checkTokens()
{
    const auto items = static_cast<std::uint32_t>(m_data.items.size());
    const auto includes = static_cast<std::uint32_t>(m_data.includes.size());
    const std::uint32_t nodes = syntaxNodeCount();
    const std::string_view bytes = m_sections[tokenSection];
    ByteReader in(bytes);
    TokenState state;
    TokenView token;
    m_checkpoints.clear();
    m_checkpoints.reserve(tokenCount() / checkpointEvery + 1);
    for (std::uint32_t id = 1; id <= tokenCount(); ++id) {
        if ((id - 1) % checkpointEvery == 0)
            m_checkpoints.push_back({static_cast<std::size_t>(in.position() - bytes.data()),
                                     state.include,
                                     state.line,
                                     state.node});
        decodeToken<false>(in, state, token);
        if (in.failed())
            break;
        if ((token.place.include >= includes && token.place.include != 0) || token.item > items
            || token.node > nodes)
            ITHROW(IAccessError(m_fileName + ": token " + std::to_string(id) + " refers to "
                                + std::to_string(token.item > items   ? token.item
                                                 : token.node > nodes ? token.node
                                                                      : token.place.include)
                                + ", which does not exist"));
    }
    if (in.failed() || !in.atEnd())
        fail(sectionNames[tokenSection],
             in.failed() ? "ends inside a record or holds a malformed number"
                         : "has bytes after its last record");
}

void AdtFile::checkSyntaxNodes()
{
    const auto items = static_cast<std::uint32_t>(m_data.items.size());
    const auto nodes = static_cast<std::uint32_t>(m_data.nodes.size());
    ByteReader in(m_sections[syntaxSection]);
    SyntaxNodeView node;
    m_syntaxParents.assign(syntaxNodeCount() + 1, 0);
    for (std::uint32_t id = 1; id <= syntaxNodeCount(); ++id) {
        decodeSyntaxNode(in, node);
        if (in.failed())
            break;
        m_syntaxParents[id] = node.parent;
        if (node.parent >= id)
            fail(sectionNames[syntaxSection], "has a node whose parent does not come before it");
        const std::uint32_t ref = node.firstToken > tokenCount() || node.lastToken > tokenCount()
                                      ? std::max(node.firstToken, node.lastToken)
                                  : node.item > items        ? node.item
                                  : node.programNode > nodes ? node.programNode
                                                             : 0;
        if (ref)
            ITHROW(IAccessError(m_fileName + ": syntax node " + std::to_string(id) + " refers to "
                                + std::to_string(ref) + ", which does not exist"));
    }
    if (in.failed() || !in.atEnd())
        fail(sectionNames[syntaxSection],
             in.failed() ? "ends inside a record or holds a malformed number"
                         : "has bytes after its last record");
}

void AdtFile::forEachStatement(const std::function<void(const Statement &)> &visit) const
{
    const auto items = static_cast<std::uint32_t>(m_data.items.size());
    const auto includes = static_cast<std::uint32_t>(m_data.includes.size());
    const auto nodes = static_cast<std::uint32_t>(m_data.nodes.size());
    auto bad = [this](std::uint64_t id, std::uint64_t ref) {
        ITHROW(IAccessError(m_fileName + ": statement " + std::to_string(id) + " refers to "
                            + std::to_string(ref) + ", which does not exist"));
    };
    auto placeOk = [includes](const SourcePlace &place) {
        return place.include < includes || place.include == 0;
    };
    ByteReader in(m_sections[statementSection]);
    Statement stmt;
    std::uint32_t id = 1;
    for (; id <= statementCount() && !in.atEnd(); ++id) {
        decodeStatement(in, id, m_data.items, stmt);
        if (in.failed())
            break;
        stmt.id = id;
        if (stmt.group > id)
            fail(sectionNames[statementSection], "has a statement whose group comes after it");
        if (stmt.paragraph > nodes || stmt.firstToken > tokenCount()
            || stmt.lastToken > tokenCount() || !placeOk(stmt.place))
            bad(id, stmt.paragraph);
        for (const Operand &op : stmt.operands) {
            if (op.item > items || !placeOk(op.place))
                bad(id, op.item);
            for (const Subscript &sub : op.subscripts)
                if (sub.item > items)
                    bad(id, sub.item);
        }
        visit(stmt);
    }
    // A released section reads as empty; a whole one must hold exactly its records.
    if (!m_sections[statementSection].empty()
        && (in.failed() || !in.atEnd() || id != statementCount() + 1))
        fail(sectionNames[statementSection],
             in.failed() || id != statementCount() + 1
                 ? "ends inside a record or holds a malformed number"
                 : "has bytes after its last record");
}

void AdtFile::releaseStatements()
{
    std::string().swap(m_sections[statementSection]);
    m_released = true;
}

void AdtFile::releaseSyntaxNodes()
{
    std::string().swap(m_sections[syntaxSection]);
    std::vector<std::uint32_t>().swap(m_syntaxParents);
    m_counts[syntaxSection] = 0;
    m_released = true;
}

void AdtFile::releaseTokens()
{
    std::string().swap(m_sections[tokenSection]);
    std::vector<Checkpoint>().swap(m_checkpoints);
    m_counts[tokenSection] = 0;
    m_released = true;
}

std::string AdtFile::contentDigest() const
{
    if (m_released)
        return {};
    ContentDigest digest = m_tablesDigest;
    for (int k : {statementSection, tokenSection, syntaxSection})
        digest.add(m_counts[k]).add(m_sections[k]);
    return digest.hex();
}

AdtFile::TokenReader::TokenReader(std::string_view bytes, std::uint32_t count, Fields fields)
    : m_in(bytes)
    , m_left(count)
    , m_fields(fields)
{}

bool AdtFile::TokenReader::next()
{
    if (m_left == 0)
        return false;
    --m_left;
    TokenState state{m_token.place.include, m_token.place.line, m_token.node};
    if (m_fields == Fields::All)
        decodeToken<true>(m_in, state, m_token);
    else
        decodeToken<false>(m_in, state, m_token);
    ++m_token.id;
    return true;
}

AdtFile::TokenReader AdtFile::tokens(TokenReader::Fields fields) const
{
    return TokenReader(m_sections[tokenSection], tokenCount(), fields);
}

bool AdtFile::tokensHold(std::uint32_t first, std::uint32_t last, std::string_view word) const
{
    first = std::max<std::uint32_t>(first, 1);
    last = std::min(last, tokenCount());
    if (first > last)
        return false;
    const std::uint32_t index = (first - 1) / checkpointEvery;
    const Checkpoint &start = m_checkpoints[index];
    const std::string_view bytes = m_sections[tokenSection];
    ByteReader in(bytes.substr(start.offset));
    TokenState state{start.include, start.line, start.node};
    TokenView token;
    for (std::uint32_t id = index * checkpointEvery + 1; id <= last; ++id) {
        decodeToken<true>(in, state, token);
        if (id >= first && equalsUpper(token.text, word))
            return true;
    }
    return false;
}

void AdtFile::forEachSyntaxNode(
    const std::function<void(std::uint32_t, const SyntaxNodeView &)> &visit) const
{
    ByteReader in(m_sections[syntaxSection]);
    SyntaxNodeView node;
    for (std::uint32_t id = 1; id <= syntaxNodeCount(); ++id) {
        decodeSyntaxNode(in, node);
        visit(id, node);
    }
}

AnalysisData AdtFile::toData() const
{
    AnalysisData data = m_data;
    data.statements.reserve(statementCount());
    forEachStatement([&data](const Statement &stmt) { data.statements.push_back(stmt); });
    data.tokens.reserve(tokenCount());
    for (TokenReader reader = tokens(); reader.next();) {
        const TokenView &t = reader.token();
        data.tokens.push_back({t.id,
                               t.kind,
                               t.role,
                               t.replaced,
                               std::string(t.text),
                               t.place,
                               t.length,
                               t.item,
                               t.node});
    }
    data.syntaxNodes.reserve(syntaxNodeCount());
    forEachSyntaxNode([&data](std::uint32_t, const SyntaxNodeView &node) {
        data.syntaxNodes.push_back({node.kind,
                                    std::string(node.name),
                                    node.parent,
                                    node.firstToken,
                                    node.lastToken,
                                    node.item,
                                    node.programNode});
    });
    return data;
}

} // namespace cobol
