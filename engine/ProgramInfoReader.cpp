#include "ProgramInfoReader.h"

#include "SeedTable.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace {

std::string_view stripped(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The stripped text after `open` up to `close` (or the end of the line when `close` is missing);
// nothing when `open` is not in the line.
std::optional<std::string_view> textBetween(std::string_view line,
                                            std::string_view open,
                                            std::string_view close)
{
    const std::size_t openAt = line.find(open);
    if (openAt == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = line.substr(openAt + open.size());
    return stripped(rest.substr(0, rest.find(close)));
}

// Unsigned decimal up to the first non-digit ("" and "x" give 0); nothing when the value does
// not fit 32 bits.
std::optional<std::uint32_t> toNumber(std::string_view text)
{
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

ProgramInfoReader::ProgramInfoReader(SeedTable &table, ProgramInfo &program, std::istream &in)
    : m_table(table)
    , m_program(program)
    , m_reader(in)
{}

void ProgramInfoReader::read()
{
    while (nextLine()) {
        if (m_line.find("<PROGRAM-INFO>") != std::string::npos)
            readProgramInfoBlock();
        else if (m_line.find("<INCLUDE>") != std::string::npos)
            readIncludeBlock();
    }
}

bool ProgramInfoReader::nextLine()
{
    return m_reader.readLine(m_line);
}

void ProgramInfoReader::readProgramInfoBlock()
{
    // The first line names the program's own source, which the table does not need; a block
    // that closes at once lists nothing.
    if (!nextLine() || m_line.find("</PROGRAM-INFO>") != std::string::npos)
        return;
    while (nextLine()) {
        if (m_line.find("</PROGRAM-INFO>") != std::string::npos)
            return;
        const std::optional<std::string_view> name = textBetween(m_line, "<FILE>", "</FILE>");
        if (name && !name->empty())
            m_table.addCopybook(m_program, std::string(*name));
    }
}

void ProgramInfoReader::readIncludeBlock()
{
    const std::string_view words = *textBetween(m_line, "<INCLUDE>", "\n");
    const std::size_t blank = words.find(' ');
    const std::string copybook(words.substr(0, blank));
    const std::string qualifier(blank == std::string_view::npos ? std::string_view()
                                                                : stripped(words.substr(blank)));
    // The end of the file ends each loop like its closing tag: a block cut short before its
    // results is merged with no runs, one cut short inside them with the runs read so far.
    bool hasResults = false;
    while (!hasResults && nextLine())
        hasResults = m_line.find("<RESULT>") != std::string::npos;

    std::vector<KindInterval> runs;
    if (hasResults)
        readResults(runs);
    m_table.mergeInclude(m_program, copybook, qualifier, std::move(runs));
}

bool ProgramInfoReader::readResults(std::vector<KindInterval> &runs)
{
    while (nextLine()) {
        if (m_line.find("</RESULT>") != std::string::npos)
            return true;
        const std::string kindName(textBetween(m_line, "<", ">").value_or(std::string_view()));
        const DateFieldKind kind = parseKind(kindName);
        if (!nextLine())
            return false;

        std::string_view indexText;
        if (const std::size_t indexAt = m_line.find("<INDEX>"); indexAt != std::string::npos) {
            indexText = std::string_view(m_line).substr(indexAt + 7);
            indexText = stripped(indexText.substr(0, indexText.find("<LENGTH>")));
        }
        std::string_view lengthText;
        if (const auto afterLength = textBetween(m_line, "<LENGTH>", "\n"))
            lengthText = afterLength->substr(0, afterLength->find(' '));
        const std::optional<std::uint32_t> index = toNumber(indexText);
        const std::optional<std::uint32_t> length = toNumber(lengthText);

        const std::string closing = "</" + kindName + ">";
        bool closed = false;
        while (!closed && nextLine())
            closed = m_line.find(closing) != std::string::npos;
        if (index && length)
            runs.push_back({kind, *index, *length});
        if (!closed)
            return false;
    }
    return false;
}
