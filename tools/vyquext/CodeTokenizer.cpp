#include "CodeTokenizer.h"

#include <algorithm>
#include <cctype>

namespace vyquext {

namespace {

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::string upper(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool allDigits(const std::string &text)
{
    std::size_t start = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (start >= text.size())
        return false;
    bool digit = false;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (isDigit(text[i]))
            digit = true;
        else if (text[i] != '.' && text[i] != ',')
            return false;
    }
    return digit;
}

/// The end of a REPLACING tag such as ":PFX:" starting at `pos`, or 0 when none starts there.
std::size_t tagEnd(const std::string &line, std::size_t pos, std::size_t end)
{
    if (pos >= end || line[pos] != ':')
        return 0;
    std::size_t next = pos + 1;
    while (next < end && isWordChar(line[next]))
        ++next;
    return next > pos + 1 && next < end && line[next] == ':' ? next + 1 : 0;
}

} // namespace

std::size_t CodeTokenizer::codeBegin(SourceFormat format)
{
    return format == SourceFormat::Fixed ? 7 : 0;
}

std::size_t CodeTokenizer::codeEnd(const std::string &line, SourceFormat format)
{
    return format == SourceFormat::Fixed ? std::min<std::size_t>(line.size(), 72) : line.size();
}

bool CodeTokenizer::isCommentLine(const std::string &line, SourceFormat format)
{
    if (format == SourceFormat::Fixed) {
        if (line.size() > 6 && (line[6] == '*' || line[6] == '/'))
            return true;
    }
    const std::size_t begin = codeBegin(format);
    const std::size_t end = codeEnd(line, format);
    std::size_t first = begin;
    while (first < end && line[first] == ' ')
        ++first;
    if (first >= end)
        return true;
    if (line.compare(first, 2, ">>") == 0 || line[first] == '$')
        return true;
    if (format == SourceFormat::Free && line.compare(first, 2, "*>") == 0)
        return true;
    return false;
}

std::vector<Token> CodeTokenizer::tokenize(const SourceFile &source)
{
    std::vector<Token> tokens;
    char openQuote = 0; // quote of a literal left open at the end of the previous code line
    for (std::size_t lineIndex = 0; lineIndex < source.lines.size(); ++lineIndex) {
        const std::string &line = source.lines[lineIndex];
        if (isCommentLine(line, source.format))
            continue;
        const bool continuation = source.format == SourceFormat::Fixed && line.size() > 6
                                  && line[6] == '-';
        std::size_t pos = codeBegin(source.format);
        const std::size_t end = codeEnd(line, source.format);
        if (continuation && openQuote != 0) {
            // The rest of the literal starts after the first quote of the continuation line.
            while (pos < end && line[pos] == ' ')
                ++pos;
            const std::size_t start = pos;
            if (pos < end)
                ++pos;
            while (pos < end) {
                if (line[pos] == openQuote) {
                    if (pos + 1 < end && line[pos + 1] == openQuote) {
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    openQuote = 0;
                    break;
                }
                ++pos;
            }
            Token token{lineIndex,
                        start,
                        pos,
                        TokenKind::Literal,
                        line.substr(start, pos - start),
                        {}};
            token.upper = token.text;
            tokens.push_back(std::move(token));
        }
        openQuote = 0;
        while (pos < end) {
            const char c = line[pos];
            if (c == ' ' || ((c == ',' || c == ';') && (pos + 1 >= end || line[pos + 1] == ' '))) {
                ++pos;
                continue;
            }
            if (c == '*' && pos + 1 < end && line[pos + 1] == '>')
                break;
            const std::size_t start = pos;
            TokenKind kind = TokenKind::Punctuation;
            if (c == '"' || c == '\'') {
                ++pos;
                bool closed = false;
                while (pos < end) {
                    if (line[pos] == c) {
                        if (pos + 1 < end && line[pos + 1] == c) {
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        closed = true;
                        break;
                    }
                    ++pos;
                }
                if (!closed)
                    openQuote = c;
                kind = TokenKind::Literal;
            } else if ((c == '+' || c == '-') && pos + 1 < end && isDigit(line[pos + 1])) {
                ++pos;
                while (pos < end
                       && (isDigit(line[pos])
                           || ((line[pos] == '.' || line[pos] == ',') && pos + 1 < end
                               && isDigit(line[pos + 1]))))
                    ++pos;
                kind = TokenKind::Number;
            } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_'
                       || tagEnd(line, pos, end) != 0) {
                while (pos < end) {
                    if (const std::size_t tag = tagEnd(line, pos, end)) {
                        pos = tag;
                        continue;
                    }
                    if (!(isWordChar(line[pos])
                          || ((line[pos] == '.' || line[pos] == ',') && pos + 1 < end
                              && isDigit(line[pos + 1])
                              && allDigits(line.substr(start, pos - start)))))
                        break;
                    ++pos;
                }
                // X"..", N"..", Z"..": a prefix glued to a literal is part of it.
                if (pos < end && (line[pos] == '"' || line[pos] == '\'') && pos - start <= 2) {
                    const char quote = line[pos++];
                    while (pos < end && line[pos] != quote)
                        ++pos;
                    if (pos < end)
                        ++pos;
                    else
                        openQuote = quote;
                    kind = TokenKind::Literal;
                } else {
                    kind = allDigits(line.substr(start, pos - start)) ? TokenKind::Number
                                                                      : TokenKind::Word;
                }
            } else if (c == '<' || c == '>') {
                ++pos;
                if (pos < end && (line[pos] == '=' || (c == '<' && line[pos] == '>')))
                    ++pos;
                kind = TokenKind::Operator;
            } else if (c == '*') {
                ++pos;
                if (pos < end && line[pos] == '*')
                    ++pos;
                kind = TokenKind::Operator;
            } else if (c == '=') {
                ++pos;
                if (pos < end && line[pos] == '=')
                    ++pos; // pseudo-text delimiter
                kind = pos - start == 1 ? TokenKind::Operator : TokenKind::Punctuation;
            } else if (c == '+' || c == '-' || c == '/') {
                ++pos;
                kind = TokenKind::Operator;
            } else {
                ++pos;
            }
            Token token{lineIndex, start, pos, kind, line.substr(start, pos - start), {}};
            token.upper = kind == TokenKind::Literal ? token.text : upper(token.text);
            tokens.push_back(std::move(token));
        }
    }
    return tokens;
}

} // namespace vyquext
