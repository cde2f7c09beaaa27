#include "ExecRegions.h"

namespace vyquext {

namespace {

bool isSeparatorPeriod(const std::vector<Token> &tokens, std::size_t i)
{
    if (tokens[i].text != ".")
        return false;
    return i + 1 == tokens.size() || tokens[i + 1].line != tokens[i].line
           || tokens[i + 1].begin > tokens[i].end;
}

bool startsCobolStatement(const std::vector<Token> &tokens, std::size_t i)
{
    static const char *const verbs[] = {"MOVE",       "PERFORM",     "IF",          "DISPLAY",
                                        "STOP",       "GOBACK",      "COMPUTE",     "ADD",
                                        "SUBTRACT",   "MULTIPLY",    "DIVIDE",      "EVALUATE",
                                        "INITIALIZE", "INSPECT",     "STRING",      "UNSTRING",
                                        "ACCEPT",     "EXIT",        "SEARCH",      "ELSE",
                                        "END-IF",     "END-PERFORM", "END-EVALUATE"};
    if (i == 0 || tokens[i].kind != TokenKind::Word || tokens[i - 1].line == tokens[i].line)
        return false;
    for (const char *verb : verbs)
        if (tokens[i].upper == verb)
            return true;
    return false;
}

} // namespace

ExecRegions::ExecRegions(const std::vector<Token> &tokens)
{
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].is("EXEC"))
            continue;
        std::size_t k = i + 1;
        for (; k < tokens.size(); ++k) {
            if (tokens[k].is("END-EXEC")) {
                ++k;
                break;
            }
            if (tokens[k].is("EXEC") || isSeparatorPeriod(tokens, k)
                || startsCobolStatement(tokens, k))
                break;
        }
        const Token &lastToken = tokens[k - 1];
        m_regions.push_back({i, k, tokens[i].line, lastToken.line, lastToken.end});
        m_firstColumns.push_back(tokens[i].begin);
        i = k - 1;
    }
}

const ExecRegions::Region *ExecRegions::startingAt(std::size_t index) const
{
    for (const Region &region : m_regions)
        if (region.first == index)
            return &region;
    return nullptr;
}

const ExecRegions::Region *ExecRegions::holdingLine(std::size_t line) const
{
    for (const Region &region : m_regions)
        if (line >= region.firstLine + 1 && line <= region.lastLine + 1)
            return &region;
    return nullptr;
}

bool ExecRegions::touchesLine(std::size_t line) const
{
    for (const Region &region : m_regions)
        if (line >= region.firstLine && line <= region.lastLine)
            return true;
    return false;
}

bool ExecRegions::overlaps(std::size_t line, std::size_t begin, std::size_t end) const
{
    for (std::size_t r = 0; r < m_regions.size(); ++r) {
        const Region &region = m_regions[r];
        if (line < region.firstLine || line > region.lastLine)
            continue;
        const std::size_t from = line == region.firstLine ? m_firstColumns[r] : 0;
        const std::size_t to = line == region.lastLine ? region.endColumn : std::size_t(-1);
        if (begin < to && end > from)
            return true;
    }
    return false;
}

} // namespace vyquext
