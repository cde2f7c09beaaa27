#include "SeedFile.h"

#include "RegularFile.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <istream>
#include <sstream>

namespace kelmkpu {

namespace {

std::string strip(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

/// The unsigned decimal number that starts `text` after blanks; empty when there is none or it
/// does not fit 32 bits.
std::optional<std::uint32_t> leadingNumber(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    std::uint32_t value = 0;
    auto [end, ec] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data() + pos)
        return std::nullopt;
    return value;
}

} // namespace

bool SeedFile::read(const std::string &path, std::string &error)
{
    // Only a regular file is read: a FIFO named as the seed file would block for ever.
    const RegularFile::Result file = RegularFile::read(path);
    if (!file) {
        error = "the seed file " + path + " " + file.problem;
        return false;
    }
    std::istringstream in(file.text);
    parse(in, path);
    return true;
}

void SeedFile::parse(std::istream &in, const std::string &origin)
{
    std::string line;
    std::uint32_t lineNumber = 0;
    std::vector<SeedRun> *current = nullptr;
    std::uint32_t blockLine = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // Named only for a warning: a seed table runs to thousands of lines.
        const auto where = [&] { return origin + ":" + std::to_string(lineNumber); };
        if (line.find("</SEED>") != std::string::npos) {
            current = nullptr;
            continue;
        }
        if (line.find("<SEED>") != std::string::npos) {
            if (current)
                m_warnings.push_back(origin + ":" + std::to_string(blockLine)
                                     + ": seed block has no </SEED> before the next <SEED>");
            current = nullptr;
            const std::size_t tag = line.find("<INCLUDE>");
            if (tag == std::string::npos) {
                m_warnings.push_back(
                    where() + ": expected \"<SEED> <INCLUDE> copybook qualifier\", found \"" + line
                    + "\"");
                continue;
            }
            const std::string rest = strip(std::string_view(line).substr(tag + 9));
            const std::size_t blank = rest.find_first_of(" \t");
            std::string copybook = rest.substr(0, blank);
            std::string qualifier = blank == std::string::npos ? std::string()
                                                               : strip(rest.substr(blank));
            if (copybook.empty()) {
                m_warnings.push_back(where()
                                     + ": expected a copybook name after <INCLUDE>, found none");
                continue;
            }
            current = &m_blocks[{copybook, qualifier}];
            blockLine = lineNumber;
            continue;
        }
        if (current && line.find_first_not_of(" \t\n\v\f\r") != std::string::npos)
            parseRunLine(line, where, *current);
    }
    if (current)
        m_warnings.push_back(origin + ":" + std::to_string(blockLine)
                             + ": seed block has no </SEED> before the end of the file");
}

void SeedFile::parseRunLine(const std::string &line,
                            const std::function<std::string()> &where,
                            std::vector<SeedRun> &runs)
{
    const std::string lower = lowered(line);
    const std::size_t open = lower.find('<');
    const std::size_t close = lower.find('>', open == std::string::npos ? 0 : open);
    const std::size_t index = lower.find("<index>");
    const std::size_t length = lower.find("<length>");
    if (open == std::string::npos || close == std::string::npos || index == std::string::npos
        || length == std::string::npos || open == index) {
        m_warnings.push_back(where() + ": expected \"<kind> <index> n <length> m\", found \""
                             + strip(line) + "\"");
        return;
    }
    const std::string tag = lower.substr(open, close - open + 1);
    const std::optional<DateKind> kind = kindFromTag(tag);
    if (!kind) {
        m_warnings.push_back(
            where() + ": expected a date-field kind such as <always-year>, found \"" + tag + "\"");
        return;
    }
    const std::optional<std::uint32_t> first = leadingNumber(
        std::string_view(lower).substr(index + 7));
    const std::optional<std::uint32_t> count = leadingNumber(
        std::string_view(lower).substr(length + 8));
    if (!first || !count || *first == 0 || *count == 0 || *first > 0xFFFFFFFFu - *count) {
        m_warnings.push_back(where() + ": expected an index from 1 and a length from 1, found \""
                             + strip(line) + "\"");
        return;
    }
    runs.push_back({*kind, *first, *count});
}

const std::vector<SeedRun> *SeedFile::runsFor(const std::string &copybook,
                                              const std::string &qualifier) const
{
    auto it = m_blocks.find({copybook, qualifier});
    return it == m_blocks.end() ? nullptr : &it->second;
}

} // namespace kelmkpu
