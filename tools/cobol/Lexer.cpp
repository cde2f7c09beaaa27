#include "Lexer.h"

#include "ExecBlock.h"

#include <array>
#include <cctype>

namespace cobol {

using namespace std::string_view_literals;

namespace {

constexpr std::size_t textColumn = 72;

/// Characters of COBOL words (letters, digits, - _ $ # @) and every byte of a UTF-8 sequence.
constexpr std::array<bool, 256> wordChars = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
                   || c == '-' || c == '_' || c == '$' || c == '#' || c == '@' || c >= 0x80;
    return table;
}();

/// What the word scan notes of each character of a word, so that the word's characters are read
/// once: whether one can stand in no number, whether one is a lower-case letter.
enum WordCharBits : unsigned char { notInNumber = 1, lowerCase = 2 };
constexpr std::array<unsigned char, 256> wordCharBits = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(((c >= '0' && c <= '9') ? 0 : notInNumber)
                                              | ((c >= 'a' && c <= 'z') ? lowerCase : 0));
    return table;
}();

bool isWordChar(char c)
{
    return wordChars[static_cast<unsigned char>(c)];
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\r';
}

std::string upperCase(std::string_view text)
{
    // std::toupper in the "C" locale changes a-z only: the same, without the library call.
    std::string out(text);
    for (char &c : out)
        c = asciiUpper(c);
    return out;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string expandTabs(std::string_view raw)
{
    std::string out;
    out.reserve(raw.size() + 16);
    for (char c : raw) {
        if (c == '\t') {
            do
                out += ' ';
            while (out.size() % 8 != 0);
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<LexToken> Lexer::tokenize()
{
    // Room for a token every four characters, more than sources have: growing the vector would
    // move every token, and room never used is never touched.
    m_tokens.reserve(m_text.size() / 4 + 16);
    std::size_t start = 0;
    while (start < m_text.size()) {
        std::size_t end = m_text.find('\n', start);
        if (end == std::string_view::npos)
            end = m_text.size();
        ++m_line;
        std::string_view raw = m_text.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (raw.find('\t') != std::string_view::npos) {
            // Tokens are views into the line: the expanded line is kept.
            line(store().keep(expandTabs(raw)));
        } else {
            line(raw);
        }
        start = end + 1;
    }
    closeOpenLiteral();
    return std::move(m_tokens);
}

TextStore &Lexer::store()
{
    if (!m_store) {
        m_ownStore = std::make_unique<TextStore>();
        m_store = m_ownStore.get();
    }
    return *m_store;
}

void Lexer::warn(std::uint32_t column, std::string message, Diagnostic::Severity severity)
{
    m_diagnostics.push_back({severity, {m_include, m_line, column}, std::move(message)});
}

void Lexer::closeOpenLiteral()
{
    if (!m_literalOpen)
        return;
    m_literalOpen = false;
    LexToken &last = m_tokens.back();
    m_diagnostics.push_back({Diagnostic::Severity::Error,
                             last.place,
                             "The literal is not closed and no continuation line follows."});
    last.setText(store().join(last.text(), std::string_view(&m_literalQuote, 1)));
    last.setUpper(last.text());
}

void Lexer::remark(SourceRemark::Kind kind, std::uint32_t column, std::string_view text)
{
    if (!m_remarks)
        return;
    const std::string_view shown = trimmed(text);
    if (shown.empty())
        return;
    const auto skipped = static_cast<std::uint32_t>(shown.data() - text.data());
    m_remarks->push_back(
        {kind, m_line, column + skipped, static_cast<std::uint32_t>(shown.size())});
}

std::vector<SourceRemark> Lexer::scanRemarks()
{
    std::vector<SourceRemark> remarks;
    m_remarks = &remarks;
    bool literalOpen = false;
    char quote = '\'';
    std::size_t start = 0;
    while (start < m_text.size()) {
        std::size_t end = m_text.find('\n', start);
        if (end == std::string_view::npos)
            end = m_text.size();
        ++m_line;
        std::string_view raw = m_text.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        if (raw.find('\t') != std::string_view::npos) {
            const std::string expanded = expandTabs(raw);
            remarksOfLine(expanded, literalOpen, quote);
        } else {
            remarksOfLine(raw, literalOpen, quote);
        }
        start = end + 1;
    }
    m_remarks = nullptr;
    return remarks;
}

void Lexer::remarksOfLine(std::string_view raw, bool &literalOpen, char &quote)
{
    // The same decisions as line() and scan(), with nothing but quotes followed in between.
    std::string_view area;
    std::uint32_t firstColumn = 1;
    if (m_format == SourceFormat::Free) {
        const std::string_view code = trimmed(raw);
        literalOpen = false;
        if (code.empty())
            return;
        if (code.rfind("*>", 0) == 0) {
            remark(SourceRemark::Kind::Comment, 1, raw);
            return;
        }
        if (directive(code)) {
            remark(SourceRemark::Kind::Directive, 1, raw);
            return;
        }
        area = raw;
    } else {
        if (trimmed(raw).rfind(">>", 0) == 0) {
            directive(raw);
            remark(SourceRemark::Kind::Directive, 1, raw.substr(0, textColumn));
            return;
        }
        if (raw.size() < 7)
            return;
        const char indicator = raw[6];
        area = raw.substr(7, raw.size() > textColumn ? textColumn - 7 : std::string_view::npos);
        if (indicator == '*' || indicator == '/' || indicator == 'D' || indicator == 'd') {
            remark(SourceRemark::Kind::Comment, 7, raw.substr(6, textColumn - 6));
            return;
        }
        if (indicator == '$' || (indicator == '>' && !area.empty() && area.front() == '>')) {
            directive(raw.substr(6));
            remark(SourceRemark::Kind::Directive, 7, raw.substr(6, textColumn - 6));
            return;
        }
        if (directive(area)) {
            remark(SourceRemark::Kind::Directive, 8, area);
            return;
        }
        firstColumn = 8;
        std::size_t i = 0;
        if (indicator == '-' && literalOpen) {
            // The continued literal resumes after the first quote of the line.
            while (i < area.size() && isSpace(area[i]))
                ++i;
            if (i < area.size() && area[i] == quote)
                ++i;
            else
                literalOpen = false;
        } else if (indicator != '-') {
            literalOpen = false;
        }
        area.remove_prefix(i);
        firstColumn += static_cast<std::uint32_t>(i);
    }
    for (std::size_t i = 0; i < area.size(); ++i) {
        const char c = area[i];
        if (literalOpen) {
            if (c == quote) {
                if (i + 1 < area.size() && area[i + 1] == quote)
                    ++i;
                else
                    literalOpen = false;
            }
            continue;
        }
        if (c == '"' || c == '\'') {
            literalOpen = true;
            quote = c;
        } else if (c == '*' && i + 1 < area.size() && area[i + 1] == '>') {
            remark(SourceRemark::Kind::Comment,
                   firstColumn + static_cast<std::uint32_t>(i),
                   area.substr(i));
            literalOpen = false;
            return;
        }
    }
    if (m_format == SourceFormat::Free)
        literalOpen = false;
}

void Lexer::push(LexToken token)
{
    token.glued = !m_sawSpace && !m_tokens.empty();
    m_sawSpace = false;
    if (token.kind != TokenKind::Literal && token.upper().empty())
        token.setUpper(store().upper(token.text()));
    if (token.kind == TokenKind::Literal)
        token.setUpper(token.text());
    if (token.kind == TokenKind::Word)
        m_pictureNext = token.upper() == "PIC"sv || token.upper() == "PICTURE"sv
                        || (token.upper() == "IS"sv && m_pictureNext);
    else
        m_pictureNext = false;
    // SQL text ends with END-EXEC, or, when that is missing, where the front end's parsers end
    // the block (ExecBlock): after a separator period, or at a COBOL-only verb starting a line.
    if ((m_exec == ExecState::Sql || m_exec == ExecState::OtherBlock) && !m_tokens.empty()) {
        const LexToken &last = m_tokens.back();
        const bool newLine = last.place.line != token.place.line;
        if ((last.kind == TokenKind::Punctuation && last.text() == "."sv && !token.glued)
            || (newLine && token.kind == TokenKind::Word
                && ExecBlock::isCobolOnlyVerb(token.upper())))
            m_exec = ExecState::Outside;
    }
    if (token.kind == TokenKind::Word) {
        if (token.upper() == "END-EXEC"sv)
            m_exec = ExecState::Outside;
        else if (m_exec == ExecState::AfterExec)
            m_exec = token.upper() == "SQL"sv || token.upper() == "SQLIMS"sv
                         ? ExecState::Sql
                         : ExecState::OtherBlock;
        else if (token.upper() == "EXEC"sv)
            m_exec = ExecState::AfterExec; // a block without END-EXEC ends at the next EXEC
    }
    m_tokens.push_back(std::move(token));
}

bool Lexer::directive(std::string_view code)
{
    // Most lines are no directive: only ">>" or "$SET" can start one.
    const std::string_view start = trimmed(code);
    if (start.size() < 2
        || !((start[0] == '>' && start[1] == '>')
             || (start[0] == '$' && start.size() >= 4 && asciiUpper(start[1]) == 'S'
                 && asciiUpper(start[2]) == 'E' && asciiUpper(start[3]) == 'T')))
        return false;
    const std::string upper = upperCase(start);
    const bool isDirective = upper.rfind(">>", 0) == 0 || upper.rfind("$SET", 0) == 0;
    if (!isDirective)
        return false;
    const bool source = upper.find("SOURCE") != std::string::npos;
    if (source && upper.find("FREE") != std::string::npos)
        m_format = SourceFormat::Free;
    else if (source && upper.find("FIXED") != std::string::npos)
        m_format = SourceFormat::Fixed;
    return true;
}

void Lexer::line(std::string_view raw)
{
    m_sawSpace = true;
    if (m_format == SourceFormat::Free) {
        const std::string_view code = trimmed(raw);
        if (code.empty())
            return;
        if (code.rfind("*>", 0) == 0) {
            remark(SourceRemark::Kind::Comment, 1, raw);
            return;
        }
        if (directive(code)) {
            remark(SourceRemark::Kind::Directive, 1, raw);
            return;
        }
        closeOpenLiteral();
        scan(raw, 1, false);
        return;
    }
    if (trimmed(raw).rfind(">>", 0) == 0) {
        directive(raw); // a directive may start in any column
        remark(SourceRemark::Kind::Directive, 1, raw.substr(0, textColumn));
        return;
    }
    if (raw.size() < 7)
        return; // blank (sequence area only)
    const char indicator = raw[6];
    std::string_view area = raw.substr(7,
                                       raw.size() > textColumn ? textColumn - 7
                                                               : std::string_view::npos);
    if (indicator == '*' || indicator == '/' || indicator == 'D' || indicator == 'd') {
        remark(SourceRemark::Kind::Comment, 7, raw.substr(6, textColumn - 6));
        return;
    }
    if (indicator == '$' || (indicator == '>' && !area.empty() && area.front() == '>')) {
        directive(raw.substr(6));
        remark(SourceRemark::Kind::Directive, 7, raw.substr(6, textColumn - 6));
        return;
    }
    if (directive(area)) {
        remark(SourceRemark::Kind::Directive, 8, area);
        return;
    }
    if (indicator == '-') {
        scan(area, 8, true);
        return;
    }
    if (trimmed(area).empty())
        return;
    if (indicator != ' ')
        warn(7, std::string("The indicator '") + indicator + "' is not one of blank, *, /, -, D.");
    closeOpenLiteral();
    scan(area, 8, false);
}

std::size_t Lexer::literal(std::string_view area,
                           std::size_t start,
                           std::size_t quote,
                           std::uint32_t firstColumn)
{
    // Scans from the opening quote at `quote`; returns the index after the literal. A literal still
    // open at the end of a fixed-format line stays open (padded to column 72) for a continuation.
    const char q = area[quote];
    std::size_t i = quote + 1;
    while (i < area.size()) {
        if (area[i] == q) {
            if (i + 1 < area.size() && area[i + 1] == q) {
                i += 2;
                continue;
            }
            LexToken token;
            token.kind = TokenKind::Literal;
            token.setText(area.substr(start, i + 1 - start));
            token.place = {m_include, m_line, firstColumn + static_cast<std::uint32_t>(start)};
            token.length = static_cast<std::uint32_t>(i + 1 - start);
            push(std::move(token));
            return i + 1;
        }
        ++i;
    }
    LexToken token;
    token.kind = TokenKind::Literal;
    token.setText(area.substr(start));
    token.place = {m_include, m_line, firstColumn + static_cast<std::uint32_t>(start)};
    token.length = static_cast<std::uint32_t>(area.size() - start);
    if (m_format == SourceFormat::Fixed) {
        const std::size_t width = textColumn - 7;
        if (area.size() < width)
            token.setText(store().join(token.text(), std::string(width - area.size(), ' ')));
    }
    push(std::move(token));
    m_literalOpen = true;
    m_literalQuote = q;
    if (m_format == SourceFormat::Free)
        closeOpenLiteral();
    return area.size();
}

void Lexer::scan(std::string_view area, std::uint32_t firstColumn, bool continuation)
{
    std::size_t i = 0;
    const std::size_t n = area.size();
    bool joinNext = false;
    if (continuation) {
        while (i < n && isSpace(area[i]))
            ++i;
        if (i == n)
            return;
        if (m_literalOpen) {
            m_literalOpen = false;
            if (area[i] == '"' || area[i] == '\'') {
                // The continued literal resumes after the quote.
                std::size_t j = i + 1;
                std::string rest;
                bool closed = false;
                while (j < n) {
                    if (area[j] == m_literalQuote) {
                        if (j + 1 < n && area[j + 1] == m_literalQuote) {
                            rest += area.substr(j, 2);
                            j += 2;
                            continue;
                        }
                        rest += area[j];
                        ++j;
                        closed = true;
                        break;
                    }
                    rest += area[j++];
                }
                LexToken &last = m_tokens.back();
                if (!closed && m_format == SourceFormat::Fixed && n < textColumn - 7)
                    rest.append(textColumn - 7 - n, ' ');
                last.setText(store().join(last.text(), rest));
                last.setUpper(last.text());
                m_literalOpen = !closed;
                i = j;
                m_sawSpace = false;
            } else {
                warn(firstColumn + static_cast<std::uint32_t>(i),
                     "A continued literal must resume with a quote.",
                     Diagnostic::Severity::Error);
                closeOpenLiteral();
            }
        } else if (!m_tokens.empty() && m_tokens.back().isWordLike() && isWordChar(area[i])) {
            joinNext = true;
        }
    } else {
        m_sawSpace = true;
    }

    while (i < n) {
        const char c = area[i];
        const bool sql = m_exec == ExecState::Sql;
        if (isSpace(c) || (c == ',' && !sql) || c == ';') {
            m_sawSpace = true;
            ++i;
            continue;
        }
        const auto column = firstColumn + static_cast<std::uint32_t>(i);
        if (c == '*' && i + 1 < n && area[i + 1] == '>') {
            remark(SourceRemark::Kind::Comment, column, area.substr(i));
            return;
        }
        if (sql && c == '-' && i + 1 < n && area[i + 1] == '-')
            return; // an SQL comment runs to the end of the line
        auto punct = [&](std::size_t length) {
            LexToken token;
            token.kind = TokenKind::Punctuation;
            token.setText(area.substr(i, length));
            token.place = {m_include, m_line, column};
            token.length = static_cast<std::uint32_t>(length);
            push(std::move(token));
            i += length;
        };
        const bool optionalIs = (c == 'I' || c == 'i') && i + 1 < n
                                && (area[i + 1] == 'S' || area[i + 1] == 's')
                                && (i + 2 == n || isSpace(area[i + 2]));
        if (m_pictureNext && c != '.' && !optionalIs) {
            std::size_t j = i;
            while (j < n && !isSpace(area[j])) {
                if ((area[j] == '.' || area[j] == ',' || area[j] == ';')
                    && (j + 1 == n || isSpace(area[j + 1])))
                    break;
                ++j;
            }
            LexToken token;
            token.kind = TokenKind::PictureString;
            token.setText(area.substr(i, j - i));
            token.place = {m_include, m_line, column};
            token.length = static_cast<std::uint32_t>(j - i);
            push(std::move(token));
            i = j;
            continue;
        }
        if (c == '"' || c == '\'') {
            i = literal(area, i, i, firstColumn);
            continue;
        }
        // Prefixed literals: X"..", N"..", Z"..", B"..", H"..", NX"..", BX"..".
        if (isLetter(c)) {
            std::size_t q = i + 1;
            if (q < n && isLetter(area[q]) && (area[q] == 'X' || area[q] == 'x'))
                ++q;
            if (q < n && (area[q] == '"' || area[q] == '\'') && q - i <= 2) {
                const std::string prefix = upperCase(area.substr(i, q - i));
                if (prefix == "X" || prefix == "N" || prefix == "Z" || prefix == "B"
                    || prefix == "H" || prefix == "NX" || prefix == "BX" || prefix == "G"
                    || prefix == "U") {
                    i = literal(area, i, q, firstColumn);
                    continue;
                }
            }
        }
        if (c == '(' || c == ')' || c == ':' || c == '&' || c == '/' || c == ',') {
            punct(1);
            continue;
        }
        if (c == '=') {
            punct(i + 1 < n && area[i + 1] == '=' ? 2 : 1);
            continue;
        }
        if (c == '<' || c == '>') {
            const char next = i + 1 < n ? area[i + 1] : ' ';
            punct(next == '=' || (c == '<' && next == '>') ? 2 : 1);
            continue;
        }
        if (c == '*') {
            punct(i + 1 < n && area[i + 1] == '*' ? 2 : 1);
            continue;
        }
        const bool digitFollows = i + 1 < n && isDigit(area[i + 1]);
        const bool afterOperand = !m_tokens.empty() && !m_sawSpace
                                  && m_tokens.back().kind != TokenKind::Punctuation;
        if ((c == '+' || c == '-') && !(digitFollows && !afterOperand)) {
            // A lone sign is an operator; "-YY" glued after ":" or ")" is a word part that
            // REPLACING may join with the text before it.
            if (c == '-' && i + 1 < n && isWordChar(area[i + 1]) && !m_sawSpace) {
                // fall through to the word scan
            } else {
                punct(1);
                continue;
            }
        }
        if (c == '.') {
            if (digitFollows && m_sawSpace) {
                // ".5": a number
            } else {
                punct(1);
                continue;
            }
        }
        std::size_t j = i;
        if (c == '+' || c == '-' || c == '.')
            ++j;           // a sign or a point may start a number
        unsigned seen = 0; // wordCharBits of the characters after it
        while (j < n) {
            const auto d = static_cast<unsigned char>(area[j]);
            if (wordChars[d]) {
                seen |= wordCharBits[d];
                ++j;
                continue;
            }
            if (d == '.' && j + 1 < n && isDigit(area[j + 1]) && isDigit(area[j - 1])) {
                ++j;
                continue;
            }
            break;
        }
        if (j == i) {
            // A character no COBOL token uses: keep it as a token of its own so nothing is lost.
            LexToken token;
            token.kind = TokenKind::Other;
            token.setText(area.substr(i, 1));
            token.place = {m_include, m_line, column};
            token.length = 1;
            push(std::move(token));
            ++i;
            continue;
        }
        const std::string_view text = area.substr(i, j - i);
        const bool number = !(seen & notInNumber);
        if (joinNext) {
            joinNext = false;
            LexToken &last = m_tokens.back();
            last.setText(store().join(last.text(), text));
            last.setUpper(store().upper(last.text()));
            if (!number)
                last.kind = TokenKind::Word;
            i = j;
            m_sawSpace = false;
            continue;
        }
        LexToken token;
        token.kind = number ? TokenKind::Number : TokenKind::Word;
        token.setText(text);
        if (!(seen & lowerCase))
            token.setUpper(text); // already in upper case: push need not look again
        token.place = {m_include, m_line, column};
        token.length = static_cast<std::uint32_t>(j - i);
        push(std::move(token));
        i = j;
    }
}

} // namespace cobol
