#include "SqlText.h"

#include "ExecArgumentReader.h"

#include <algorithm>

namespace cobol {

bool SqlText::hostVariableAt(std::size_t index) const
{
    return m_reader.isPunct(index, ":") && m_reader.token(index + 1).kind == TokenKind::Word
           && m_reader.token(index + 1).glued;
}

std::size_t SqlText::skipParentheses(std::size_t index) const
{
    return m_reader.isPunct(index, "(") ? m_reader.closing(index) + 1 : index + 1;
}

std::size_t SqlText::findKeyword(Range range, std::initializer_list<std::string_view> words) const
{
    for (std::size_t i = range.first; i < range.last;) {
        if (m_reader.isPunct(i, "(")) {
            i = skipParentheses(i);
            continue;
        }
        const LexToken &t = m_reader.token(i);
        if (t.kind == TokenKind::Word
            && std::find(words.begin(), words.end(), std::string_view(t.upper())) != words.end())
            return i;
        ++i;
    }
    return range.last;
}

std::vector<SqlText::Range> SqlText::splitList(Range range) const
{
    std::vector<Range> parts;
    std::size_t start = range.first;
    for (std::size_t i = range.first; i < range.last;) {
        if (m_reader.isPunct(i, "(")) {
            i = std::min(skipParentheses(i), range.last);
            continue;
        }
        if (m_reader.isPunct(i, ",")) {
            parts.push_back({start, i});
            start = i + 1;
        }
        ++i;
    }
    if (start < range.last)
        parts.push_back({start, range.last});
    return parts;
}

std::string SqlText::text(Range range) const
{
    std::string out;
    std::string previous;
    for (std::size_t i = range.first; i < range.last; ++i) {
        const LexToken &t = m_reader.token(i);
        const std::string_view piece = t.kind == TokenKind::Literal ? t.text() : t.upper();
        const bool tight = out.empty() || piece == ")" || piece == "," || piece == "."
                           || previous == "(" || previous == "." || previous == ":"
                           || previous == "," || (piece == "(" && t.glued);
        if (!tight)
            out += ' ';
        out += piece;
        previous = piece;
    }
    return out;
}

} // namespace cobol
