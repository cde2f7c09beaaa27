#include "AdtWriter.h"

#include "AnalysisData.h"

#include <charconv>
#include <cstddef>
#include <ostream>
#include <string>

namespace cobol {

namespace {

std::uint64_t oneBased(bool present, std::uint64_t offset)
{
    return present ? offset + 1 : 0;
}

constexpr std::size_t flushSize = std::size_t(4) << 20;

void appendEscaped(std::string &out, std::string_view text)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char *replacement = c == '\\'   ? "\\\\"
                                  : c == '\t' ? "\\t"
                                  : c == '\n' ? "\\n"
                                  : c == '\r' ? "\\r"
                                              : nullptr;
        if (replacement) {
            out.append(text, start, i - start);
            out.append(replacement, 2);
            start = i + 1;
        }
    }
    out.append(text, start, text.size() - start);
}

} // namespace

AdtWriter::AdtWriter(std::ostream &out)
    : m_sink([&out](std::string_view piece) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        return static_cast<bool>(out);
    })
{}

void AdtWriter::begin(std::string_view tag)
{
    m_buffer += tag;
}

void AdtWriter::end()
{
    m_buffer += '\n';
    if (m_buffer.size() >= flushSize)
        flush();
}

void AdtWriter::flush()
{
    if (m_ok && !m_buffer.empty())
        m_ok = m_sink(m_buffer);
    m_buffer.clear();
}

void AdtWriter::field(std::string_view text)
{
    m_buffer += '\t';
    if (text.find_first_of("\\\t\n\r") == std::string_view::npos)
        m_buffer += text;
    else
        appendEscaped(m_buffer, text);
}

void AdtWriter::field(std::uint64_t number)
{
    char buffer[24];
    buffer[0] = '\t';
    const auto end = std::to_chars(buffer + 1, buffer + sizeof buffer, number).ptr;
    m_buffer.append(buffer, static_cast<std::size_t>(end - buffer));
}

void AdtWriter::signedField(std::int64_t number)
{
    char buffer[24];
    buffer[0] = '\t';
    const auto end = std::to_chars(buffer + 1, buffer + sizeof buffer, number).ptr;
    m_buffer.append(buffer, static_cast<std::size_t>(end - buffer));
}

void AdtWriter::flag(bool value)
{
    m_buffer += '\t';
    m_buffer += value ? 'Y' : 'N';
}

std::string AdtWriter::escape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text);
    return out;
}

void AdtWriter::place(const SourcePlace &place)
{
    field(place.include);
    field(place.line);
    field(place.column);
}

bool AdtWriter::write(const AnalysisData &data)
{
    m_ok = true;
    m_buffer.clear();
    m_buffer.reserve(flushSize + (flushSize >> 4));
    m_buffer += "CHRONEX-ADT\t";
    m_buffer += std::to_string(AnalysisData::formatVersion);
    m_buffer += '\n';

    begin("PROGRAM");
    field(data.programName);
    field(data.sourcePath);
    field(data.dialect);
    field(data.freeFormat ? "FREE" : "FIXED");
    end();

    for (const Include &inc : data.includes) {
        begin("INCLUDE");
        field(inc.id);
        field(inc.parent);
        field(inc.copyLine);
        field(inc.copyColumn);
        field(inc.copybook);
        field(inc.library);
        field(inc.qualifier);
        field(inc.path);
        flag(inc.implicit);
        field(inc.endLine);
        field(inc.endColumn);
        end();
        for (const auto &[from, to] : inc.replacing) {
            begin("REPLACING");
            field(inc.id);
            field(from);
            field(to);
            end();
        }
    }

    for (const DataItem &item : data.items) {
        begin("ITEM");
        field(item.id);
        signedField(item.level);
        field(item.name);
        field(item.parent);
        field(toString(item.area));
        field(item.record);
        field(item.storage);
        field(item.offset + 1);
        field(item.length);
        field(toString(item.usage));
        field(item.picture);
        field(toString(item.category));
        signedField(item.digits);
        signedField(item.scale);
        flag(item.isSigned);
        flag(item.signSeparate);
        flag(item.synchronized);
        field(item.occursMin);
        field(item.occursMax);
        field(item.stride);
        field(item.dependingOn);
        field(item.redefines);
        field(item.renamesFrom);
        field(item.renamesThru);
        field(item.declaredIn);
        field(oneBased(item.hasCanonical, item.canonicalOffset));
        field(item.hasCanonical ? item.canonicalLength : 0);
        flag(item.layoutVaries);
        place(item.place);
        field(item.value);
        end();
    }

    for (const ProgramNode &node : data.nodes) {
        begin("NODE");
        field(node.id);
        field(toString(node.kind));
        field(node.name);
        field(node.parent);
        place(node.place);
        field(node.firstToken);
        end();
    }

    std::string subscripts;
    for (const Statement &stmt : data.statements) {
        begin("STMT");
        field(stmt.id);
        field(toString(stmt.kind));
        field(toString(stmt.context));
        field(stmt.verb);
        field(stmt.detail);
        field(stmt.group);
        field(stmt.paragraph);
        place(stmt.place);
        field(stmt.firstToken);
        field(stmt.lastToken);
        flag(stmt.nonLinear);
        end();
        for (const Operand &op : stmt.operands) {
            begin("OPND");
            field(stmt.id);
            field(toString(op.role));
            field(toString(op.kind));
            field(op.item);
            field(op.text);
            field(op.function);
            field(op.sign > 0 ? "+" : op.sign < 0 ? "-" : "0");
            field(toString(op.refMod));
            field(op.refOffset);
            field(op.refLength);
            subscripts.clear();
            for (const Subscript &sub : op.subscripts) {
                if (!subscripts.empty())
                    subscripts += ',';
                if (sub.item) {
                    char buffer[16];
                    buffer[0] = '#';
                    const auto end = std::to_chars(buffer + 1, buffer + sizeof buffer, sub.item)
                                         .ptr;
                    subscripts.append(buffer, static_cast<std::size_t>(end - buffer));
                } else {
                    subscripts += sub.literal;
                }
            }
            field(subscripts);
            place(op.place);
            field(op.option);
            field(op.column);
            field(op.sqlType);
            end();
        }
    }

    for (const Token &token : data.tokens) {
        begin("TOKEN");
        field(token.id);
        field(toString(token.kind));
        place(token.place);
        field(token.length);
        flag(token.replaced);
        field(token.text);
        field(toString(token.role));
        field(token.item);
        field(token.node);
        end();
    }

    for (std::size_t i = 0; i < data.syntaxNodes.size(); ++i) {
        const SyntaxNode &node = data.syntaxNodes[i];
        begin("SYNTAX");
        field(i + 1);
        field(toString(node.kind));
        field(node.name);
        field(node.parent);
        field(node.firstToken);
        field(node.lastToken);
        field(node.item);
        field(node.programNode);
        end();
    }

    for (const Remark &remark : data.remarks) {
        begin("REMARK");
        field(toString(remark.kind));
        field(remark.include);
        field(remark.line);
        field(remark.column);
        field(remark.length);
        end();
    }

    for (const Diagnostic &diag : data.diagnostics) {
        begin("DIAG");
        field(toString(diag.severity));
        place(diag.place);
        field(diag.message);
        end();
    }

    begin("END");
    field(data.includes.size());
    field(data.items.size());
    field(data.nodes.size());
    field(data.statements.size());
    field(data.tokens.size());
    field(data.diagnostics.size());
    field(data.syntaxNodes.size());
    field(data.remarks.size());
    flag(data.structureKnown);
    end();
    flush();
    return m_ok;
}

} // namespace cobol
