#include "FindingsWriter.h"

#include <charconv>
#include <ostream>
#include <string_view>

namespace kelmkpu {

namespace {

std::string range(std::uint64_t first, std::uint64_t length)
{
    return std::to_string(first) + "-" + std::to_string(first + length - 1);
}

/// The lines of the findings file, made in a text that goes to the stream a block at a time (a
/// program's findings run to megabytes: a stream call per field would cost more than the rest,
/// and holding them all would cost as much memory).
class Lines
{
public:
    Lines(std::ostream &out, const ProgramModel *model)
        : m_out(out)
        , m_model(model)
    {}
    ~Lines() { flush(); }
    Lines(const Lines &) = delete;
    Lines &operator=(const Lines &) = delete;

    Lines &tag(const char *name)
    {
        m_text += name;
        return *this;
    }
    /// A field: tabs and line ends in the text become blanks.
    Lines &field(std::string_view text)
    {
        m_text += '\t';
        const std::size_t start = m_text.size();
        m_text += text;
        for (std::size_t i = start; i < m_text.size(); ++i)
            if (m_text[i] == '\t' || m_text[i] == '\n' || m_text[i] == '\r')
                m_text[i] = ' ';
        return *this;
    }
    Lines &number(std::uint64_t value)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_text += '\t';
        m_text.append(digits, static_cast<std::size_t>(end - digits));
        return *this;
    }
    Lines &place(const SourcePos &pos)
    {
        const bool known = m_model && pos.line > 0 && pos.file < m_model->files.size();
        field(known ? std::string_view(m_model->files[pos.file]) : std::string_view());
        return number(known ? pos.line : 0);
    }
    void end()
    {
        m_text += '\n';
        if (m_text.size() >= blockSize)
            flush();
    }

private:
    static constexpr std::size_t blockSize = 64 * 1024;

    void flush()
    {
        m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
        m_text.clear();
    }

    std::ostream &m_out;
    const ProgramModel *m_model;
    std::string m_text;
};

void writeHeader(Lines &lines, const FindingsWriter::Header &header)
{
    lines.tag("CHRONEX-XCA").number(1).end();
    lines.tag("PROGRAM")
        .field(header.source)
        .field(header.declarations ? "ON" : "OFF")
        .field(header.seedFile)
        .end();
}

} // namespace

void FindingsWriter::writeError(std::ostream &out, const Header &header, const std::string &error)
{
    Lines lines(out, nullptr);
    writeHeader(lines, header);
    lines.tag("ERROR").field(error).end();
    lines.tag("SUMMARY").number(0).number(0).number(0).number(0).number(0).end();
}

void FindingsWriter::write(std::ostream &out,
                           const Header &header,
                           const ProgramModel &model,
                           const AnalysisResult &result)
{
    Lines lines(out, &model);
    writeHeader(lines, header);
    for (const FieldFinding &field : result.fields) {
        const DataItem &item = model.items[field.item];
        lines.tag("FIELD").place(item.declared).field(item.name).field(kindName(field.kind));
        lines.field(range(field.first, field.length));
        lines.field(model.areas[item.area].name)
            .field(range(std::uint64_t(item.offset) + field.first, field.length));
        if (item.include != noIndex && item.canonicalOffset != noIndex) {
            const Include &include = model.includes[item.include];
            lines.field(include.copybook).field(include.qualifier);
            lines.field(range(std::uint64_t(item.canonicalOffset) + field.first, field.length));
        } else {
            lines.field("").field("").field("");
        }
        lines.end();
    }
    for (const WindowSite &site : result.windows) {
        const Statement &statement = model.statements[site.statement];
        std::string items;
        for (std::uint32_t item : site.yearItems) {
            if (!items.empty())
                items += ',';
            items += model.items[item].name;
        }
        lines.tag("WINDOW")
            .place(statement.pos)
            .number(statement.pos.column)
            .field(items)
            .field(site.reason)
            .end();
    }
    for (const Conflict &conflict : result.conflicts) {
        const DataItem &item = model.items[conflict.item];
        lines.tag("CONFLICT").place(item.declared).field(item.name).field(conflict.yearWitness);
        lines.field(conflict.nonYearWitness).end();
        for (const ExplanationStep &step : conflict.chain)
            lines.tag("STEP").place(step.pos).field(step.text).end();
    }
    std::uint64_t warnings = 0;
    std::uint64_t notes = 0;
    for (const Message &message : result.messages) {
        const bool warning = message.severity == Severity::Warning;
        (warning ? warnings : notes)++;
        lines.tag(warning ? "WARNING" : "NOTE").place(message.pos).field(message.text).end();
    }
    lines.tag("SUMMARY")
        .number(result.fields.size())
        .number(result.windows.size())
        .number(result.conflicts.size());
    lines.number(warnings).number(notes).end();
}

} // namespace kelmkpu
