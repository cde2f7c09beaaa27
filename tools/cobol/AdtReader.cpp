#include "AdtReader.h"

#include "AnalysisData.h"
#include "IException.h"

#include <algorithm>
#include <charconv>
#include <istream>

namespace cobol {

namespace {

constexpr std::size_t maxLineLength = 1u << 24;

std::string describe(std::string_view text)
{
    // Appended piece by piece: GCC 12 warns (-Wrestrict) on "literal" + std::string temporaries.
    std::string out(1, '"');
    out.append(text.substr(0, 40));
    if (text.size() > 40)
        out.append("...");
    out += '"';
    return out;
}

} // namespace

void AdtReader::fail(std::string_view expected, std::string_view found) const
{
    ITHROW(IAccessError(m_fileName + ":" + std::to_string(m_lineNumber) + ": expected "
                        + std::string(expected) + ", found " + std::string(found)));
}

AdtReader::AdtReader(std::istream &in, std::string_view fileName)
    : m_fileName(fileName)
{
    char chunk[1 << 16];
    while (in) {
        in.read(chunk, sizeof chunk);
        m_text.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
}

bool AdtReader::nextRecord()
{
    if (m_position >= m_text.size())
        return false;
    // One pass over the line: split at tabs into views and note whether any field has an escape;
    // escapes are resolved afterwards, only in the fields that have them.
    const char *const begin = m_text.data() + m_position;
    const char *const end = m_text.data() + m_text.size();
    m_fieldCount = 0;
    bool escaped = false;
    const char *fieldStart = begin;
    const char *p = begin;
    for (; p != end && *p != '\n'; ++p) {
        if (*p == '\t') {
            if (m_fieldCount == m_fields.size())
                m_fields.emplace_back();
            m_fields[m_fieldCount++] = std::string_view(fieldStart,
                                                        static_cast<std::size_t>(p - fieldStart));
            fieldStart = p + 1;
        } else if (*p == '\\') {
            escaped = true;
        }
    }
    m_position = static_cast<std::size_t>(p - m_text.data()) + (p != end ? 1 : 0);
    ++m_lineNumber;
    m_line = std::string_view(begin, static_cast<std::size_t>(p - begin));
    if (m_line.size() > maxLineLength)
        fail("a line of at most 16 MiB", "a longer line");
    const char *lineEnd = p;
    if (!m_line.empty() && m_line.back() == '\r') {
        m_line.remove_suffix(1);
        --lineEnd;
    }
    if (m_fieldCount == m_fields.size())
        m_fields.emplace_back();
    m_fields[m_fieldCount++] = std::string_view(fieldStart,
                                                static_cast<std::size_t>(lineEnd - fieldStart));
    if (!escaped)
        return true;
    if (m_unescaped.size() < m_fieldCount)
        m_unescaped.resize(m_fieldCount);
    for (std::size_t f = 0; f < m_fieldCount; ++f) {
        const std::string_view raw = m_fields[f];
        if (raw.find('\\') == std::string_view::npos)
            continue;
        std::string &out = m_unescaped[f];
        out.clear();
        std::size_t from = 0;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '\\')
                continue;
            out.append(raw, from, i - from);
            if (i + 1 >= raw.size()) {
                if (f + 1 == m_fieldCount)
                    fail("an escape after a backslash", "the end of the line");
                fail("one of \\\\ \\t \\n \\r", describe("\\\t"));
            }
            switch (raw[++i]) {
            case '\\':
                out += '\\';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                fail("one of \\\\ \\t \\n \\r", describe(raw.substr(i - 1, 2)));
            }
            from = i + 1;
        }
        out.append(raw, from, raw.size() - from);
        m_fields[f] = out;
    }
    return true;
}

void AdtReader::need(std::size_t count, std::string_view what) const
{
    if (m_fieldCount < count)
        fail(std::to_string(count - 1) + " fields in a " + std::string(what) + " record",
             std::to_string(m_fieldCount - 1));
}

std::uint64_t AdtReader::number(std::size_t index, std::string_view what) const
{
    const std::string_view field = m_fields[index];
    std::uint64_t value = 0;
    // Most fields are short numbers: up to 19 digits cannot overflow, so add them up directly.
    if (!field.empty() && field.size() <= 19) {
        for (const char c : field) {
            if (c < '0' || c > '9')
                fail(std::string(what) + " as an unsigned number", describe(field));
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
        }
        return value;
    }
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || ec != std::errc() || end != field.data() + field.size())
        fail(std::string(what) + " as an unsigned number", describe(field));
    return value;
}

std::int64_t AdtReader::signedNumber(std::size_t index, std::string_view what) const
{
    const std::string_view field = m_fields[index];
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || ec != std::errc() || end != field.data() + field.size())
        fail(std::string(what) + " as a number", describe(field));
    return value;
}

std::uint32_t AdtReader::id(std::size_t index, std::string_view what) const
{
    const std::uint64_t value = number(index, what);
    if (value > 0xFFFFFFFFu)
        fail(std::string(what) + " below 2^32", describe(m_fields[index]));
    return static_cast<std::uint32_t>(value);
}

bool AdtReader::flag(std::size_t index, std::string_view what) const
{
    const std::string_view field = m_fields[index];
    if (field == "Y")
        return true;
    if (field != "N")
        fail(std::string(what) + " as Y or N", describe(field));
    return false;
}

SourcePlace AdtReader::place(std::size_t index) const
{
    return {id(index, "include id"), id(index + 1, "line"), id(index + 2, "column")};
}

template<typename Enum>
Enum AdtReader::word(std::size_t index,
                     std::string_view what,
                     std::initializer_list<Enum> values) const
{
    for (Enum value : values)
        if (toString(value) == m_fields[index])
            return value;
    fail(what, describe(m_fields[index]));
}

AnalysisData AdtReader::read()
{
    AnalysisData data;
    if (!nextRecord())
        fail("the header \"CHRONEX-ADT<tab>2\"", "an empty file");
    if (m_fieldCount < 2 || m_fields[0] != "CHRONEX-ADT")
        fail("the header \"CHRONEX-ADT<tab>2\"", describe(m_line));
    const std::uint64_t version = number(1, "format version");
    if (version != 1 && version != static_cast<unsigned>(AnalysisData::formatVersion))
        fail("format version 1 or 2", describe(m_fields[1]));

    if (!nextRecord() || m_fields[0] != "PROGRAM")
        fail("a PROGRAM record", m_lineNumber == 2 ? describe(m_line) : "the end of the file");
    need(5, "PROGRAM");
    data.programName = text(1);
    data.sourcePath = text(2);
    data.dialect = text(3);
    if (text(4) != "FIXED" && text(4) != "FREE")
        fail("FIXED or FREE", describe(text(4)));
    data.freeFormat = text(4) == "FREE";

    bool ended = false;
    while (nextRecord()) {
        const std::string_view tag = m_fields[0];
        if (ended)
            fail("nothing after the END record", describe(tag));
        if (tag == "INCLUDE") {
            need(9, "INCLUDE");
            Include inc;
            inc.id = id(1, "include id");
            if (inc.id != data.includes.size())
                fail("include id " + std::to_string(data.includes.size()), describe(text(1)));
            inc.parent = id(2, "parent include id");
            if (inc.id != 0 && inc.parent >= inc.id)
                fail("a parent include id below " + std::to_string(inc.id), describe(text(2)));
            inc.copyLine = id(3, "line");
            inc.copyColumn = id(4, "column");
            inc.copybook = text(5);
            inc.library = text(6);
            inc.qualifier = text(7);
            inc.path = text(8);
            inc.implicit = m_fieldCount > 9 && flag(9, "implicit flag");
            if (m_fieldCount > 11) {
                inc.endLine = id(10, "end line");
                inc.endColumn = id(11, "end column");
            }
            data.includes.push_back(std::move(inc));
        } else if (tag == "REPLACING") {
            need(4, "REPLACING");
            if (data.includes.empty() || id(1, "include id") != data.includes.back().id)
                fail("a REPLACING record right after its INCLUDE", describe(text(1)));
            data.includes.back().replacing.emplace_back(text(2), text(3));
        } else if (tag == "ITEM") {
            need(32, "ITEM");
            DataItem item;
            item.id = id(1, "item id");
            if (item.id != data.items.size() + 1)
                fail("item id " + std::to_string(data.items.size() + 1), describe(text(1)));
            item.level = static_cast<int>(signedNumber(2, "level"));
            if (item.level < 1
                || (item.level > 49 && item.level != 66 && item.level != 77 && item.level != 78
                    && item.level != 88))
                fail("a level 1-49, 66, 77, 78 or 88", describe(text(2)));
            item.name = text(3);
            item.parent = id(4, "parent item id");
            item.area = word(5,
                             "a storage area",
                             {StorageArea::File,
                              StorageArea::WorkingStorage,
                              StorageArea::LocalStorage,
                              StorageArea::Linkage,
                              StorageArea::Other});
            item.record = id(6, "record item id");
            item.storage = id(7, "storage block id");
            const std::uint64_t offset = number(8, "offset");
            if (offset == 0)
                fail("a 1-based offset", "0");
            item.offset = offset - 1;
            item.length = number(9, "length");
            item.usage = word(10,
                              "a usage",
                              {Usage::Display,
                               Usage::Binary,
                               Usage::Comp5,
                               Usage::Packed,
                               Usage::Comp1,
                               Usage::Comp2,
                               Usage::Pointer,
                               Usage::Index,
                               Usage::National});
            item.picture = text(11);
            item.category = word(12,
                                 "a category",
                                 {Category::Group,
                                  Category::Alphabetic,
                                  Category::Alphanumeric,
                                  Category::AlphanumericEdited,
                                  Category::Numeric,
                                  Category::NumericEdited,
                                  Category::National,
                                  Category::Float,
                                  Category::Pointer,
                                  Category::Index,
                                  Category::Condition,
                                  Category::Renames,
                                  Category::Constant});
            item.digits = static_cast<int>(signedNumber(13, "digits"));
            item.scale = static_cast<int>(signedNumber(14, "scale"));
            item.isSigned = flag(15, "signed");
            item.signSeparate = flag(16, "sign separate");
            item.synchronized = flag(17, "synchronized");
            item.occursMin = id(18, "OCCURS minimum");
            item.occursMax = id(19, "OCCURS maximum");
            item.stride = number(20, "stride");
            item.dependingOn = id(21, "DEPENDING ON item id");
            item.redefines = id(22, "REDEFINES item id");
            item.renamesFrom = id(23, "RENAMES item id");
            item.renamesThru = id(24, "RENAMES THRU item id");
            item.declaredIn = id(25, "declaring include id");
            const std::uint64_t canonical = number(26, "canonical offset");
            item.hasCanonical = canonical != 0;
            item.canonicalOffset = canonical ? canonical - 1 : 0;
            item.canonicalLength = number(27, "canonical length");
            item.layoutVaries = flag(28, "LAYOUT-VARIES flag");
            item.place = place(29);
            item.value = m_fieldCount > 32 ? text(32) : std::string_view();
            data.items.push_back(std::move(item));
        } else if (tag == "NODE") {
            need(9, "NODE");
            ProgramNode node;
            node.id = id(1, "node id");
            if (node.id != data.nodes.size() + 1)
                fail("node id " + std::to_string(data.nodes.size() + 1), describe(text(1)));
            node.kind = word(2,
                             "DIVISION, SECTION or PARAGRAPH",
                             {ProgramNode::Kind::Division,
                              ProgramNode::Kind::Section,
                              ProgramNode::Kind::Paragraph});
            node.name = text(3);
            node.parent = id(4, "parent node id");
            if (node.parent >= node.id)
                fail("a parent node id below " + std::to_string(node.id), describe(text(4)));
            node.place = place(5);
            node.firstToken = id(8, "token id");
            data.nodes.push_back(std::move(node));
        } else if (tag == "STMT") {
            need(14, "STMT");
            Statement stmt;
            stmt.id = id(1, "statement id");
            if (stmt.id != data.statements.size() + 1)
                fail("statement id " + std::to_string(data.statements.size() + 1),
                     describe(text(1)));
            stmt.kind = word(2,
                             "a statement kind",
                             {StatementKind::Move,
                              StatementKind::MoveCorresponding,
                              StatementKind::Compute,
                              StatementKind::Add,
                              StatementKind::AddCorresponding,
                              StatementKind::Subtract,
                              StatementKind::SubtractCorresponding,
                              StatementKind::Multiply,
                              StatementKind::Divide,
                              StatementKind::Compare,
                              StatementKind::Accept,
                              StatementKind::Initialize,
                              StatementKind::Call,
                              StatementKind::Read,
                              StatementKind::Write,
                              StatementKind::PerformVarying,
                              StatementKind::PerformTimes,
                              StatementKind::Perform,
                              StatementKind::Set,
                              StatementKind::String,
                              StatementKind::Unstring,
                              StatementKind::Other,
                              StatementKind::Exec});
            stmt.context = word(3,
                                "a statement context",
                                {StatementContext::None,
                                 StatementContext::If,
                                 StatementContext::Evaluate,
                                 StatementContext::PerformUntil,
                                 StatementContext::SearchWhen});
            stmt.verb = text(4);
            stmt.detail = text(5);
            stmt.group = id(6, "group statement id");
            if (stmt.group > stmt.id)
                fail("a group statement id up to " + std::to_string(stmt.id), describe(text(6)));
            stmt.paragraph = id(7, "paragraph node id");
            stmt.place = place(8);
            stmt.firstToken = id(11, "first token id");
            stmt.lastToken = id(12, "last token id");
            stmt.nonLinear = flag(13, "non-linear flag");
            data.statements.push_back(std::move(stmt));
        } else if (tag == "OPND") {
            need(15, "OPND");
            if (data.statements.empty() || id(1, "statement id") != data.statements.back().id)
                fail("an OPND record right after its STMT", describe(text(1)));
            Operand op;
            op.role = word(2,
                           "an operand role",
                           {OperandRole::Source,
                            OperandRole::Target,
                            OperandRole::Compared,
                            OperandRole::Remainder,
                            OperandRole::Counter,
                            OperandRole::Argument,
                            OperandRole::Procedure,
                            OperandRole::Both,
                            OperandRole::Column});
            op.kind = word(3,
                           "an operand kind",
                           {OperandKind::Item,
                            OperandKind::Literal,
                            OperandKind::Figurative,
                            OperandKind::Function});
            op.item = id(4, "item id");
            op.text = text(5);
            op.function = text(6);
            if (text(7) == "+")
                op.sign = 1;
            else if (text(7) == "-")
                op.sign = -1;
            else if (text(7) != "0")
                fail("a sign +, - or 0", describe(text(7)));
            op.refMod = word(8,
                             "NONE, CONSTANT or VARIABLE",
                             {RefMod::None, RefMod::Constant, RefMod::Variable});
            op.refOffset = id(9, "reference-modification offset");
            op.refLength = id(10, "reference-modification length");
            std::string_view subs = text(11);
            while (!subs.empty()) {
                const std::size_t comma = subs.find(',');
                std::string_view entry = subs.substr(0, comma);
                Subscript sub;
                if (!entry.empty() && entry.front() == '#') {
                    entry.remove_prefix(1);
                    std::uint32_t value = 0;
                    const auto [end, ec] = std::from_chars(entry.data(),
                                                           entry.data() + entry.size(),
                                                           value);
                    if (entry.empty() || ec != std::errc() || end != entry.data() + entry.size()
                        || value == 0)
                        fail("a subscript item id after #", describe(entry));
                    sub.item = value;
                } else {
                    sub.literal = std::string(entry);
                }
                op.subscripts.push_back(std::move(sub));
                subs = comma == std::string_view::npos ? std::string_view()
                                                       : subs.substr(comma + 1);
            }
            op.place = place(12);
            if (m_fieldCount > 15) {
                op.option = text(15);
                op.column = m_fieldCount > 16 ? text(16) : std::string_view();
                op.sqlType = m_fieldCount > 17 ? text(17) : std::string_view();
            }
            data.statements.back().operands.push_back(std::move(op));
        } else if (tag == "TOKEN") {
            need(8, "TOKEN");
            Token token;
            token.id = id(1, "token id");
            if (token.id != data.tokens.size() + 1)
                fail("token id " + std::to_string(data.tokens.size() + 1), describe(text(1)));
            token.kind = word(2,
                              "a token kind",
                              {TokenKind::Word,
                               TokenKind::Number,
                               TokenKind::Literal,
                               TokenKind::Punctuation,
                               TokenKind::PictureString,
                               TokenKind::Other});
            token.place = place(3);
            token.length = id(6, "token length");
            token.replaced = flag(7, "replaced flag");
            token.text = m_fieldCount > 8 ? text(8) : std::string_view();
            if (m_fieldCount > 10) {
                token.role = word(9,
                                  "a token role",
                                  {TokenRole::None,
                                   TokenRole::Keyword,
                                   TokenRole::Level,
                                   TokenRole::DataDeclaration,
                                   TokenRole::DataReference,
                                   TokenRole::ProcedureDeclaration,
                                   TokenRole::ProcedureReference});
                token.item = id(10, "item id");
            }
            if (m_fieldCount > 11)
                token.node = id(11, "syntax node id");
            data.tokens.push_back(std::move(token));
        } else if (tag == "SYNTAX") {
            need(9, "SYNTAX");
            if (id(1, "syntax node id") != data.syntaxNodes.size() + 1)
                fail("syntax node id " + std::to_string(data.syntaxNodes.size() + 1),
                     describe(text(1)));
            SyntaxNode node;
            node.kind = word(2,
                             "a syntax node kind",
                             {SyntaxNode::Kind::Program,
                              SyntaxNode::Kind::Division,
                              SyntaxNode::Kind::Section,
                              SyntaxNode::Kind::Paragraph,
                              SyntaxNode::Kind::Sentence,
                              SyntaxNode::Kind::Statement,
                              SyntaxNode::Kind::DataEntry});
            node.name = text(3);
            node.parent = id(4, "parent syntax node id");
            if (node.parent > data.syntaxNodes.size())
                fail("a parent syntax node id up to " + std::to_string(data.syntaxNodes.size()),
                     describe(text(4)));
            node.firstToken = id(5, "first token id");
            node.lastToken = id(6, "last token id");
            node.item = id(7, "item id");
            node.programNode = id(8, "node id");
            data.syntaxNodes.push_back(std::move(node));
        } else if (tag == "REMARK") {
            need(6, "REMARK");
            Remark remark;
            remark.kind = word(1,
                               "COMMENT or DIRECTIVE",
                               {Remark::Kind::Comment, Remark::Kind::Directive});
            remark.include = id(2, "include id");
            remark.line = id(3, "line");
            remark.column = id(4, "column");
            remark.length = id(5, "length");
            data.remarks.push_back(remark);
        } else if (tag == "DIAG") {
            need(6, "DIAG");
            Diagnostic diag;
            diag.severity = word(1,
                                 "INFORMATION, WARNING or ERROR",
                                 {Diagnostic::Severity::Information,
                                  Diagnostic::Severity::Warning,
                                  Diagnostic::Severity::Error});
            diag.place = place(2);
            diag.message = text(5);
            data.diagnostics.push_back(std::move(diag));
        } else if (tag == "END") {
            need(7, "END");
            const std::size_t counts[] = {data.includes.size(),
                                          data.items.size(),
                                          data.nodes.size(),
                                          data.statements.size(),
                                          data.tokens.size(),
                                          data.diagnostics.size()};
            static const char *const names[]
                = {"includes", "items", "nodes", "statements", "tokens", "diagnostics"};
            for (std::size_t i = 0; i < 6; ++i)
                if (number(i + 1, names[i]) != counts[i])
                    fail(std::to_string(counts[i]) + " " + names[i] + " as the END record says",
                         text(i + 1));
            if (version >= 2) {
                need(10, "END");
                if (number(7, "syntax nodes") != data.syntaxNodes.size())
                    fail(std::to_string(data.syntaxNodes.size())
                             + " syntax nodes as the END record says",
                         text(7));
                if (number(8, "remarks") != data.remarks.size())
                    fail(std::to_string(data.remarks.size()) + " remarks as the END record says",
                         text(8));
                data.structureKnown = flag(9, "structure flag");
            }
            ended = true;
        } else {
            fail("a record tag (INCLUDE, REPLACING, ITEM, NODE, STMT, OPND, TOKEN, SYNTAX, REMARK, "
                 "DIAG, END)",
                 describe(tag));
        }
    }
    if (!ended)
        fail("the END record", "the end of the file (the file is truncated)");
    check(data);
    return data;
}

void AdtReader::check(const AnalysisData &data) const
{
    // References are checked once everything is read: an ODO object may follow its table.
    auto bad = [this](std::string_view what, std::uint32_t owner, std::uint32_t ref) {
        ITHROW(IAccessError(m_fileName + ": " + std::string(what) + " " + std::to_string(owner)
                            + " refers to " + std::to_string(ref) + ", which does not exist"));
    };
    const auto items = static_cast<std::uint32_t>(data.items.size());
    const auto includes = static_cast<std::uint32_t>(data.includes.size());
    const auto nodes = static_cast<std::uint32_t>(data.nodes.size());
    const auto tokens = static_cast<std::uint32_t>(data.tokens.size());
    auto placeOk = [&](const SourcePlace &p) { return p.include < includes || p.include == 0; };
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
        if (!placeOk(item.place))
            bad("item", item.id, item.place.include);
    }
    for (const ProgramNode &node : data.nodes)
        if (!placeOk(node.place) || node.firstToken > tokens)
            bad("node", node.id, node.firstToken);
    for (const Statement &stmt : data.statements) {
        if (stmt.paragraph > nodes || stmt.firstToken > tokens || stmt.lastToken > tokens
            || !placeOk(stmt.place))
            bad("statement", stmt.id, stmt.paragraph);
        for (const Operand &op : stmt.operands) {
            if (op.item > items || !placeOk(op.place))
                bad("statement", stmt.id, op.item);
            for (const Subscript &sub : op.subscripts)
                if (sub.item > items)
                    bad("statement", stmt.id, sub.item);
        }
    }
    const auto syntaxNodes = static_cast<std::uint32_t>(data.syntaxNodes.size());
    for (const Token &token : data.tokens)
        if (!placeOk(token.place) || token.item > items || token.node > syntaxNodes)
            bad("token",
                token.id,
                token.item > items         ? token.item
                : token.node > syntaxNodes ? token.node
                                           : token.place.include);
    for (std::uint32_t id = 1; id <= syntaxNodes; ++id) {
        const SyntaxNode &node = data.syntaxNodes[id - 1];
        if (node.firstToken > tokens || node.lastToken > tokens)
            bad("syntax node", id, std::max(node.firstToken, node.lastToken));
        if (node.item > items)
            bad("syntax node", id, node.item);
        if (node.programNode > nodes)
            bad("syntax node", id, node.programNode);
    }
    for (const Remark &remark : data.remarks)
        if (remark.include >= includes && remark.include != 0)
            bad("remark at line", remark.line, remark.include);
    for (const Diagnostic &diag : data.diagnostics)
        if (!placeOk(diag.place))
            bad("diagnostic at line", diag.place.line, diag.place.include);
}

} // namespace cobol
