#include "AdtBinaryWriter.h"

#include "AdtCodec.h"
#include "AnalysisData.h"

#include <array>

namespace cobol {

namespace {

using adt::ByteWriter;

void place(ByteWriter &out, const SourcePlace &place)
{
    out.number(place.include);
    out.number(place.line);
    out.number(place.column);
}

void program(const AnalysisData &data, std::string &section)
{
    ByteWriter out(section);
    out.text(data.programName);
    out.text(data.sourcePath);
    out.text(data.dialect);
    out.number(data.freeFormat ? 1 : 0);
    out.number(data.structureKnown ? 1 : 0);
}

void includes(const AnalysisData &data, std::string &section)
{
    ByteWriter out(section);
    for (const Include &inc : data.includes) {
        out.number(inc.parent);
        out.number(inc.copyLine);
        out.number(inc.copyColumn);
        out.text(inc.copybook);
        out.text(inc.library);
        out.text(inc.qualifier);
        out.text(inc.path);
        out.number(inc.implicit ? 1 : 0);
        out.number(inc.endLine);
        out.number(inc.endColumn);
        out.number(inc.replacing.size());
        for (const auto &[from, to] : inc.replacing) {
            out.text(from);
            out.text(to);
        }
    }
}

void items(const AnalysisData &data, std::string &section)
{
    ByteWriter out(section);
    for (const DataItem &item : data.items) {
        out.signedNumber(item.level);
        out.text(item.name);
        out.number(item.parent);
        out.number(static_cast<std::uint64_t>(item.area));
        out.number(item.record);
        out.number(item.storage);
        out.number(item.offset);
        out.number(item.length);
        out.number(static_cast<std::uint64_t>(item.usage));
        out.text(item.picture);
        out.number(static_cast<std::uint64_t>(item.category));
        out.signedNumber(item.digits);
        out.signedNumber(item.scale);
        out.number((item.isSigned ? 1u : 0u) | (item.signSeparate ? 2u : 0u)
                   | (item.synchronized ? 4u : 0u) | (item.hasCanonical ? 8u : 0u)
                   | (item.layoutVaries ? 16u : 0u));
        out.number(item.occursMin);
        out.number(item.occursMax);
        out.number(item.stride);
        out.number(item.dependingOn);
        out.number(item.redefines);
        out.number(item.renamesFrom);
        out.number(item.renamesThru);
        out.number(item.declaredIn);
        out.number(item.canonicalOffset);
        out.number(item.canonicalLength);
        place(out, item.place);
        out.text(item.value);
    }
}

void nodes(const AnalysisData &data, std::string &section)
{
    ByteWriter out(section);
    for (const ProgramNode &node : data.nodes) {
        out.number(static_cast<std::uint64_t>(node.kind));
        out.text(node.name);
        out.number(node.parent);
        place(out, node.place);
        out.number(node.firstToken);
    }
}

/// The most bytes an operand's record takes.
std::size_t operandBytes(const Operand &op)
{
    std::size_t bytes = 2 + 12 * ByteWriter::numberBytes + op.text.size() + op.function.size()
                        + op.option.size() + op.column.size() + op.sqlType.size();
    for (const Subscript &sub : op.subscripts)
        bytes += 2 * ByteWriter::numberBytes + sub.literal.size();
    return bytes;
}

void statements(const AnalysisData &data, std::string &section)
{
    section.reserve(data.statements.size() * 48);
    ByteWriter out(section);
    for (const Statement &stmt : data.statements) {
        char *at = out.begin(12 * ByteWriter::numberBytes + stmt.verb.size() + stmt.detail.size());
        at = ByteWriter::put(at, static_cast<std::uint64_t>(stmt.kind));
        at = ByteWriter::put(at, static_cast<std::uint64_t>(stmt.context));
        at = ByteWriter::putText(at, stmt.verb);
        at = ByteWriter::putText(at, stmt.detail);
        // Differences that are mostly 0 or small: the group to the statement, the last token to
        // the first.
        at = ByteWriter::putSigned(at, std::int64_t(stmt.id) - std::int64_t(stmt.group));
        at = ByteWriter::put(at, stmt.paragraph);
        at = ByteWriter::put(at, stmt.place.include);
        at = ByteWriter::put(at, stmt.place.line);
        at = ByteWriter::put(at, stmt.place.column);
        at = ByteWriter::put(at, stmt.firstToken);
        at = ByteWriter::putSigned(at,
                                   std::int64_t(stmt.lastToken) - std::int64_t(stmt.firstToken));
        at = ByteWriter::put(at, stmt.nonLinear ? 1 : 0);
        at = ByteWriter::put(at, stmt.operands.size());
        out.end(at);
        for (const Operand &op : stmt.operands) {
            // Most operands name an item as written and have none of the rest.
            const DataItem *item = op.kind == OperandKind::Item ? data.item(op.item) : nullptr;
            const bool itemName = item && item->name == op.text;
            const std::uint8_t flags = static_cast<std::uint8_t>(
                (itemName ? adt::operandTextIsItemName : 0)
                | (op.function.empty() ? 0 : adt::operandHasFunction)
                | (op.option.empty() ? 0 : adt::operandHasOption)
                | (op.column.empty() ? 0 : adt::operandHasColumn)
                | (op.sqlType.empty() ? 0 : adt::operandHasSqlType)
                | (op.subscripts.empty() ? 0 : adt::operandHasSubscripts)
                | (op.refOffset || op.refLength ? adt::operandHasRefMod : 0)
                | (op.sign ? adt::operandHasSign : 0));
            at = out.begin(operandBytes(op));
            *at++ = static_cast<char>(static_cast<unsigned>(op.role)
                                      | (static_cast<unsigned>(op.kind) << 4)
                                      | (static_cast<unsigned>(op.refMod) << 6));
            *at++ = static_cast<char>(flags);
            at = ByteWriter::put(at, op.item);
            if (!itemName)
                at = ByteWriter::putText(at, op.text);
            if (flags & adt::operandHasFunction)
                at = ByteWriter::putText(at, op.function);
            if (flags & adt::operandHasSign)
                at = ByteWriter::putSigned(at, op.sign);
            if (flags & adt::operandHasRefMod) {
                at = ByteWriter::put(at, op.refOffset);
                at = ByteWriter::put(at, op.refLength);
            }
            if (flags & adt::operandHasSubscripts) {
                at = ByteWriter::put(at, op.subscripts.size());
                for (const Subscript &sub : op.subscripts) {
                    at = ByteWriter::put(at, sub.item);
                    if (sub.item == 0)
                        at = ByteWriter::putText(at, sub.literal);
                }
            }
            at = ByteWriter::put(at, op.place.include);
            at = ByteWriter::put(at, op.place.line);
            at = ByteWriter::put(at, op.place.column);
            if (flags & adt::operandHasOption)
                at = ByteWriter::putText(at, op.option);
            if (flags & adt::operandHasColumn)
                at = ByteWriter::putText(at, op.column);
            if (flags & adt::operandHasSqlType)
                at = ByteWriter::putText(at, op.sqlType);
            out.end(at);
        }
    }
}

void tokens(const AnalysisData &data, std::string &section)
{
    // Places and owners change little from one token to the next: differences. Each record is
    // written through one pointer.
    section.reserve(data.tokens.size() * 12);
    ByteWriter out(section);
    SourcePlace previous;
    std::uint32_t previousNode = 0;
    for (const Token &token : data.tokens) {
        char *at = out.begin(1 + 7 * ByteWriter::numberBytes + token.text.size());
        *at++ = static_cast<char>(
            static_cast<unsigned>(token.kind) | (static_cast<unsigned>(token.role) << 3)
            | (token.replaced ? adt::tokenReplaced : 0) | (token.item ? adt::tokenHasItem : 0));
        at = ByteWriter::putSigned(at,
                                   std::int64_t(token.place.include)
                                       - std::int64_t(previous.include));
        at = ByteWriter::putSigned(at,
                                   std::int64_t(token.place.line) - std::int64_t(previous.line));
        at = ByteWriter::put(at, token.place.column);
        at = ByteWriter::put(at, token.length);
        if (token.item)
            at = ByteWriter::put(at, token.item);
        at = ByteWriter::putSigned(at, std::int64_t(token.node) - std::int64_t(previousNode));
        at = ByteWriter::putText(at, token.text);
        out.end(at);
        previous = token.place;
        previousNode = token.node;
    }
}

void syntaxNodes(const AnalysisData &data, std::string &section)
{
    // A node every few tokens: each record is written through one pointer.
    section.reserve(data.syntaxNodes.size() * 16);
    ByteWriter out(section);
    for (const SyntaxNode &node : data.syntaxNodes) {
        char *at = out.begin(7 * ByteWriter::numberBytes + node.name.size());
        at = ByteWriter::put(at, static_cast<std::uint64_t>(node.kind));
        at = ByteWriter::putText(at, node.name);
        at = ByteWriter::put(at, node.parent);
        at = ByteWriter::put(at, node.firstToken);
        at = ByteWriter::put(at, node.lastToken);
        at = ByteWriter::put(at, node.item);
        at = ByteWriter::put(at, node.programNode);
        out.end(at);
    }
}

void remarks(const AnalysisData &data, std::string &section)
{
    ByteWriter out(section);
    for (const Remark &remark : data.remarks) {
        out.number(static_cast<std::uint64_t>(remark.kind));
        out.number(remark.include);
        out.number(remark.line);
        out.number(remark.column);
        out.number(remark.length);
    }
}

void diagnostics(const AnalysisData &data, std::string &section)
{
    ByteWriter out(section);
    for (const Diagnostic &diag : data.diagnostics) {
        out.number(static_cast<std::uint64_t>(diag.severity));
        place(out, diag.place);
        out.text(diag.message);
    }
}

} // namespace

bool AdtBinaryWriter::write(const AnalysisData &data, const Sink &sink)
{
    std::array<std::string, adt::sectionCount> sections;
    const std::array<std::size_t, adt::sectionCount> counts = {1,
                                                               data.includes.size(),
                                                               data.items.size(),
                                                               data.nodes.size(),
                                                               data.statements.size(),
                                                               data.tokens.size(),
                                                               data.syntaxNodes.size(),
                                                               data.remarks.size(),
                                                               data.diagnostics.size()};
    program(data, sections[0]);
    includes(data, sections[1]);
    items(data, sections[2]);
    nodes(data, sections[3]);
    statements(data, sections[4]);
    tokens(data, sections[5]);
    syntaxNodes(data, sections[6]);
    remarks(data, sections[7]);
    diagnostics(data, sections[8]);

    std::string header(adt::magic);
    adt::putFixed32(header, AnalysisData::formatVersion);
    adt::putFixed32(header, adt::sectionCount);
    std::uint64_t offset = adt::headerSize + adt::sectionCount * adt::sectionEntrySize;
    for (int i = 0; i < adt::sectionCount; ++i) {
        header.append(adt::sectionTags[i], 4);
        adt::putFixed32(header, static_cast<std::uint32_t>(counts[i]));
        adt::putFixed64(header, offset);
        adt::putFixed64(header, sections[i].size());
        offset += sections[i].size();
    }
    if (!sink(header))
        return false;
    for (const std::string &section : sections)
        if (!section.empty() && !sink(section))
            return false;
    return true;
}

std::string AdtBinaryWriter::encode(const AnalysisData &data)
{
    std::string file;
    write(data, [&file](std::string_view piece) {
        file.append(piece);
        return true;
    });
    return file;
}

} // namespace cobol
