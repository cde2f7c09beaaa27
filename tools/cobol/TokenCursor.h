#pragma once

#include "LexToken.h"

#include <cstdlib>
#include <vector>

namespace cobol {

/// A read position over the expanded tokens with the look-ahead helpers both parsers use.
/// Reading past the end gives an empty end token, so callers need no bounds checks.
class TokenCursor final
{
public:
    TokenCursor(const std::vector<LexToken> &tokens, std::size_t begin, std::size_t end)
        : m_tokens(tokens)
        , m_pos(begin)
        , m_end(end)
    {}

    bool atEnd() const { return m_pos >= m_end; }
    std::size_t position() const { return m_pos; }
    void setPosition(std::size_t pos) { m_pos = pos; }
    std::size_t end() const { return m_end; }
    /// The whole token list the cursor reads from.
    const std::vector<LexToken> &tokens() const { return m_tokens; }

    /// The empty token read past the end.
    static const LexToken &endToken()
    {
        static const LexToken token = [] {
            LexToken end;
            end.setText("");
            end.setUpper("");
            end.kind = TokenKind::Other;
            return end;
        }();
        return token;
    }

    const LexToken &peek(std::size_t ahead = 0) const
    {
        return m_pos + ahead < m_end ? m_tokens[m_pos + ahead] : endToken();
    }
    const LexToken &next()
    {
        const LexToken &token = peek();
        if (m_pos < m_end)
            ++m_pos;
        return token;
    }
    bool is(std::string_view word, std::size_t ahead = 0) const { return peek(ahead).is(word); }
    bool isPeriod(std::size_t ahead = 0) const
    {
        const LexToken &t = peek(ahead);
        return t.kind == TokenKind::Punctuation && t.text() == ".";
    }
    bool accept(std::string_view word)
    {
        if (!is(word))
            return false;
        ++m_pos;
        return true;
    }
    /// Skips to just after the next separator period (or to the end).
    void skipSentence()
    {
        while (!atEnd() && !isPeriod())
            ++m_pos;
        if (!atEnd())
            ++m_pos;
    }
    /// The last token read (the one before the position); the end token when none was read.
    const LexToken &previous() const
    {
        return m_pos > 0 && m_pos - 1 < m_tokens.size() ? m_tokens[m_pos - 1] : endToken();
    }

private:
    const std::vector<LexToken> &m_tokens;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
};

/// An integer from a number token; `fallback` for anything else.
inline long long tokenInteger(const LexToken &token, long long fallback = -1)
{
    if (token.kind != TokenKind::Number || token.text().empty())
        return fallback;
    for (char c : token.text())
        if (c < '0' || c > '9')
            return fallback;
    if (token.text().size() > 12)
        return fallback;
    long long value = 0;
    for (char c : token.text())
        value = value * 10 + (c - '0');
    return value;
}

} // namespace cobol
