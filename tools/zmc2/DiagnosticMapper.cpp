#include "DiagnosticMapper.h"

#include <algorithm>
#include <cctype>

void DiagnosticMapper::add(const std::string &translatedPath,
                           const std::string &originalPath,
                           std::vector<std::uint32_t> originalLines)
{
    m_files.push_back({translatedPath, originalPath, std::move(originalLines)});
    // Longer names first, so that a name that is the prefix of another is not matched in it.
    std::stable_sort(m_files.begin(), m_files.end(), [](const File &a, const File &b) {
        return a.translated.size() > b.translated.size();
    });
}

std::string DiagnosticMapper::map(const std::string &output) const
{
    std::string out;
    out.reserve(output.size());
    std::size_t i = 0;
    while (i < output.size()) {
        // A name starts a line or follows a blank or a quote; inside another path it is none.
        const bool boundary = i == 0 || output[i - 1] == '\n' || output[i - 1] == ' '
                              || output[i - 1] == '\t' || output[i - 1] == '\''
                              || output[i - 1] == '"' || output[i - 1] == '(';
        const File *match = nullptr;
        for (std::size_t f = 0; boundary && !match && f < m_files.size(); ++f)
            if (!m_files[f].translated.empty()
                && output.compare(i, m_files[f].translated.size(), m_files[f].translated) == 0)
                match = &m_files[f];
        if (!match) {
            out += output[i++];
            continue;
        }
        i += match->translated.size();
        out += match->original;
        if (i + 1 < output.size() && output[i] == ':'
            && std::isdigit(static_cast<unsigned char>(output[i + 1]))) {
            std::size_t end = i + 1;
            std::uint64_t number = 0;
            while (end < output.size() && std::isdigit(static_cast<unsigned char>(output[end]))
                   && number < 100000000)
                number = number * 10 + static_cast<std::uint64_t>(output[end++] - '0');
            const std::uint64_t mapped = number >= 1 && number <= match->lines.size()
                                             ? match->lines[number - 1]
                                             : number;
            out += ":" + std::to_string(mapped);
            i = end;
        }
    }
    return out;
}
