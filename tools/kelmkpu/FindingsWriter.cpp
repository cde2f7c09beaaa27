#include "FindingsWriter.h"

#include <ostream>

namespace kelmkpu {

namespace {

std::string clean(std::string text)
{
    for (char &c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

std::string range(std::uint64_t first, std::uint64_t length)
{
    return std::to_string(first) + "-" + std::to_string(first + length - 1);
}

class Lines
{
public:
    Lines(std::ostream &out, const ProgramModel *model)
        : m_out(out)
        , m_model(model)
    {}

    Lines &tag(const char *name)
    {
        m_out << name;
        return *this;
    }
    Lines &field(const std::string &text)
    {
        m_out << '\t' << clean(text);
        return *this;
    }
    Lines &number(std::uint64_t value)
    {
        m_out << '\t' << value;
        return *this;
    }
    Lines &place(const SourcePos &pos)
    {
        const bool known = m_model && pos.line > 0 && pos.file < m_model->files.size();
        field(known ? m_model->files[pos.file] : std::string());
        return number(known ? pos.line : 0);
    }
    void end() { m_out << '\n'; }

private:
    std::ostream &m_out;
    const ProgramModel *m_model;
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
        lines.tag("FIELD")
            .place(item.declared)
            .field(item.name)
            .field(std::string(kindName(field.kind)));
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
        for (std::uint32_t item : site.yearItems)
            items += (items.empty() ? "" : ",") + model.items[item].name;
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
