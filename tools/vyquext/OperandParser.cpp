#include "OperandParser.h"

#include <algorithm>
#include <set>

namespace vyquext {

namespace {

constexpr std::size_t npos = static_cast<std::size_t>(-1);

long long power10(int exponent)
{
    long long value = 1;
    for (int i = 0; i < exponent; ++i)
        value *= 10;
    return value;
}

} // namespace

OperandParser::OperandParser(const std::vector<Token> &tokens,
                             const SourceFile &source,
                             const DateFieldTable &fields,
                             const DataDescriptions &data,
                             int pivot)
    : m_tokens(tokens)
    , m_source(source)
    , m_fields(fields)
    , m_data(data)
    , m_pivot(pivot)
    , m_match(tokens.size(), npos)
{
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].text == "(") {
            open.push_back(i);
        } else if (tokens[i].text == ")" && !open.empty()) {
            m_match[i] = open.back();
            m_match[open.back()] = i;
            open.pop_back();
        } else if (tokens[i].text == ".") {
            open.clear(); // a sentence never leaves a parenthesis open
        }
    }
}

bool OperandParser::isKeyword(const Token &token)
{
    static const std::set<std::string> words = {"AND",
                                                "OR",
                                                "NOT",
                                                "IS",
                                                "IF",
                                                "WHEN",
                                                "UNTIL",
                                                "THEN",
                                                "ELSE",
                                                "OTHER",
                                                "THAN",
                                                "TO",
                                                "GREATER",
                                                "LESS",
                                                "EQUAL",
                                                "EQUALS",
                                                "FROM",
                                                "BY",
                                                "GIVING",
                                                "INTO",
                                                "ROUNDED",
                                                "ON",
                                                "SIZE",
                                                "ERROR",
                                                "VARYING",
                                                "AFTER",
                                                "ALSO",
                                                "THRU",
                                                "THROUGH",
                                                "TRUE",
                                                "FALSE",
                                                "POSITIVE",
                                                "NEGATIVE",
                                                "NUMERIC",
                                                "ALPHABETIC",
                                                "ALPHABETIC-LOWER",
                                                "ALPHABETIC-UPPER",
                                                "TIMES",
                                                "KEY",
                                                "ASCENDING",
                                                "DESCENDING",
                                                "USING",
                                                "END-IF",
                                                "END-EVALUATE",
                                                "END-PERFORM",
                                                "END-COMPUTE",
                                                "END-ADD",
                                                "END-SUBTRACT",
                                                "END-SEARCH"};
    return token.kind == TokenKind::Word && words.count(token.upper) != 0;
}

bool OperandParser::isArithmetic(const Token &token)
{
    return token.kind == TokenKind::Operator
           && (token.text == "+" || token.text == "-" || token.text == "*" || token.text == "/"
               || token.text == "**");
}

std::size_t OperandParser::match(std::size_t index) const
{
    return index < m_match.size() ? m_match[index] : npos;
}

TokenRange OperandParser::forward(std::size_t index) const
{
    TokenRange range;
    if (index >= m_tokens.size())
        return range;
    const Token &token = m_tokens[index];
    range.first = index;
    if (token.kind == TokenKind::Number || token.kind == TokenKind::Literal) {
        range.last = index + 1;
        range.valid = true;
        return range;
    }
    if (token.kind != TokenKind::Word || isKeyword(token))
        return range;
    std::size_t next = index + 1;
    if (token.is("FUNCTION")) {
        if (next >= m_tokens.size() || m_tokens[next].kind != TokenKind::Word)
            return range;
        ++next;
    } else {
        while (next + 1 < m_tokens.size() && (m_tokens[next].is("OF") || m_tokens[next].is("IN"))
               && m_tokens[next + 1].kind == TokenKind::Word)
            next += 2;
    }
    while (next < m_tokens.size() && m_tokens[next].text == "(") {
        const std::size_t close = match(next);
        if (close == npos)
            return range;
        next = close + 1;
    }
    range.last = next;
    range.valid = true;
    return range;
}

TokenRange OperandParser::backward(std::size_t end) const
{
    TokenRange range;
    if (end == 0 || end > m_tokens.size())
        return range;
    std::size_t index = end - 1;
    bool parenthesised = false;
    while (m_tokens[index].text == ")") {
        const std::size_t open = match(index);
        if (open == npos || open == 0)
            return range;
        index = open - 1;
        parenthesised = true;
    }
    const Token &token = m_tokens[index];
    if (token.kind == TokenKind::Number || token.kind == TokenKind::Literal) {
        if (parenthesised)
            return range;
    } else if (token.kind != TokenKind::Word || isKeyword(token)) {
        return range;
    }
    if (index > 0 && m_tokens[index - 1].is("FUNCTION")) {
        --index;
    } else {
        while (index >= 2 && (m_tokens[index - 1].is("OF") || m_tokens[index - 1].is("IN"))
               && m_tokens[index - 2].kind == TokenKind::Word)
            index -= 2;
    }
    range.first = index;
    range.last = end;
    range.valid = true;
    return range;
}

bool OperandParser::isWindowed(TokenRange range) const
{
    if (!range.valid || range.last - range.first < 8 || !m_tokens[range.first].is("FUNCTION")
        || !m_tokens[range.first + 1].is("MOD") || m_tokens[range.first + 2].text != "("
        || match(range.first + 2) != range.last - 1)
        return false;
    TokenRange inner = forward(range.first + 3);
    if (!inner.valid)
        return false;
    if (m_tokens[inner.first].is("FUNCTION") && m_tokens[inner.first + 1].is("NUMVAL"))
        inner = forward(inner.first + 3);
    const Operand item = classify(inner);
    if (item.kind != Operand::Kind::DateItem)
        return false;
    std::size_t next = inner.last;
    while (next < range.last && m_tokens[next].text == ")")
        ++next; // the end of a NUMVAL wrapper
    return next + 3 == range.last - 1 && m_tokens[next].text == "-"
           && m_tokens[next + 1].kind == TokenKind::Number
           && m_tokens[next + 2].kind == TokenKind::Number;
}

Operand OperandParser::classify(TokenRange range) const
{
    Operand operand;
    operand.range = range;
    if (!range.valid)
        return operand;
    const Token &token = m_tokens[range.first];
    for (std::size_t i = range.first; i < range.last; ++i)
        if (m_tokens[i].kind == TokenKind::Word && m_fields.find(m_tokens[i].upper))
            operand.mentionsDate = true;
    if (token.kind == TokenKind::Number) {
        operand.kind = Operand::Kind::NumberLiteral;
        const std::string &text = token.text;
        operand.integer = text.find_first_not_of("0123456789") == std::string::npos
                          && text.size() <= 15;
        if (operand.integer) {
            operand.value = std::stoll(text);
            operand.literalDigits = static_cast<int>(text.size());
        }
        return operand;
    }
    if (token.kind == TokenKind::Literal) {
        operand.kind = Operand::Kind::OtherLiteral;
        return operand;
    }
    if (range.last == range.first + 1
        && (token.is("ZERO") || token.is("ZEROS") || token.is("ZEROES"))) {
        operand.kind = Operand::Kind::NumberLiteral;
        operand.integer = true;
        operand.literalDigits = 1;
        return operand;
    }
    if (token.is("FUNCTION"))
        return operand;
    operand.field = m_fields.find(token.upper);
    if (operand.field) {
        operand.kind = Operand::Kind::DateItem;
        // Subscripts are lists of items and numbers; a colon marks a reference modification.
        for (std::size_t i = range.first; i < range.last; ++i)
            if (m_tokens[i].text == ":")
                operand.referenceModified = true;
        return operand;
    }
    if (range.last == range.first + 1 && m_data.isConditionName(token.upper))
        operand.kind = Operand::Kind::ConditionName;
    return operand;
}

std::string OperandParser::text(TokenRange range) const
{
    const Token &first = m_tokens[range.first];
    const Token &last = m_tokens[range.last - 1];
    return m_source.lines[first.line].substr(first.begin, last.end - first.begin);
}

std::string OperandParser::windowed(const Operand &operand) const
{
    std::string value = text(operand.range);
    if (operand.field->alphanumeric)
        value = "FUNCTION NUMVAL(" + value + ")";
    const int after = operand.field->shape == DateShape::YearFirstDate
                          ? operand.field->digitsAfterYear
                          : 0;
    return "FUNCTION MOD(" + value + " - " + std::to_string(m_pivot * power10(after)) + ", "
           + std::to_string(100 * power10(after)) + ")";
}

std::string OperandParser::fullYear(const Operand &operand) const
{
    const int after = operand.field->shape == DateShape::YearFirstDate
                          ? operand.field->digitsAfterYear
                          : 0;
    return "(" + std::to_string((1900 + m_pivot) * power10(after)) + " + " + windowed(operand)
           + ")";
}

std::string OperandParser::windowedLiteral(const Operand &literal, const DateField &field) const
{
    const int after = field.shape == DateShape::YearFirstDate ? field.digitsAfterYear : 0;
    const long long modulus = 100 * power10(after);
    const long long shifted = ((literal.value - m_pivot * power10(after)) % modulus + modulus)
                              % modulus;
    return std::to_string(shifted);
}

bool OperandParser::onOneLine(TokenRange range) const
{
    return range.valid && m_tokens[range.first].line == m_tokens[range.last - 1].line;
}

Edit OperandParser::replace(TokenRange range, std::string replacement) const
{
    const Token &first = m_tokens[range.first];
    const Token &last = m_tokens[range.last - 1];
    return Edit{first.line, first.begin, last.end, std::move(replacement), 0};
}

std::string OperandParser::sourceText(std::size_t first,
                                      std::size_t last,
                                      const std::vector<Edit> &edits) const
{
    std::string out;
    std::size_t index = first;
    while (index <= last && index < m_tokens.size()) {
        const std::size_t line = m_tokens[index].line;
        std::size_t lastOnLine = index;
        while (lastOnLine + 1 <= last && lastOnLine + 1 < m_tokens.size()
               && m_tokens[lastOnLine + 1].line == line)
            ++lastOnLine;
        const std::size_t begin = m_tokens[index].begin;
        const std::size_t end = m_tokens[lastOnLine].end;
        std::string piece = m_source.lines[line].substr(begin, end - begin);
        std::vector<const Edit *> onLine;
        for (const Edit &edit : edits)
            if (edit.line == line && edit.begin >= begin && edit.end <= end)
                onLine.push_back(&edit);
        std::sort(onLine.begin(), onLine.end(), [](const Edit *a, const Edit *b) {
            return a->begin > b->begin;
        });
        for (const Edit *edit : onLine)
            piece.replace(edit->begin - begin, edit->end - edit->begin, edit->text);
        if (!out.empty())
            out += ' ';
        out += piece;
        index = lastOnLine + 1;
    }
    return out;
}

} // namespace vyquext
