#pragma once

#include "CodeTokenizer.h"
#include "ConversionLog.h"
#include "DateFieldTable.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vyquext {

/// A run of tokens [first, last).
struct TokenRange
{
    std::size_t first = 0;
    std::size_t last = 0;
    bool valid = false;
};

/// What an operand of a condition or an arithmetic statement is.
struct Operand
{
    enum class Kind { DateItem, NumberLiteral, OtherLiteral, ConditionName, Other };
    TokenRange range;
    Kind kind = Kind::Other;
    const DateField *field = nullptr;
    bool referenceModified = false;
    bool integer = false;      ///< an unsigned integer literal (or ZERO)
    long long value = 0;       ///< its value
    int literalDigits = 0;     ///< its digits
    bool mentionsDate = false; ///< a date item stands somewhere inside (function arguments...)
};

/// Reads identifiers, literals and function references from the procedure division's tokens,
/// and builds the windowed text of an operand. All positions are token indexes.
class OperandParser final
{
public:
    OperandParser(const std::vector<Token> &tokens,
                  const SourceFile &source,
                  const DateFieldTable &fields,
                  const DataDescriptions &data,
                  int pivot);

    const std::vector<Token> &tokens() const { return m_tokens; }
    int pivot() const { return m_pivot; }
    const DataDescriptions &data() const { return m_data; }

    /// The operand starting at `index`: a literal, an identifier with its qualifiers, subscripts
    /// and reference modification, or a FUNCTION reference. Invalid when none starts there.
    TokenRange forward(std::size_t index) const;
    /// The operand ending just before `end`. Invalid when none ends there.
    TokenRange backward(std::size_t end) const;

    Operand classify(TokenRange range) const;

    /// True for the form an earlier conversion wrote: FUNCTION MOD(<date item> - n, m).
    bool isWindowed(TokenRange range) const;

    /// Index of the parenthesis matching the one at `index`, or npos.
    std::size_t match(std::size_t index) const;

    /// Words that join or start conditions and so never start an operand.
    static bool isKeyword(const Token &token);
    static bool isArithmetic(const Token &token);

    /// The operand's text as it stands in the source (one line).
    std::string text(TokenRange range) const;
    /// `1900 + pivot + MOD(...)` or the order-keeping MOD form of a date item.
    std::string windowed(const Operand &operand) const;
    std::string fullYear(const Operand &operand) const;
    /// The literal's value moved into the window's order for `field`'s layout.
    std::string windowedLiteral(const Operand &literal, const DateField &field) const;

    /// True when every token of `range` stands on one line.
    bool onOneLine(TokenRange range) const;
    /// The source text from token `first` to token `last` (inclusive), lines joined by a blank,
    /// with `edits` applied.
    std::string sourceText(std::size_t first,
                           std::size_t last,
                           const std::vector<Edit> &edits) const;

    /// An edit that puts `replacement` in place of the operand.
    Edit replace(TokenRange range, std::string replacement) const;

private:
    const std::vector<Token> &m_tokens;
    const SourceFile &m_source;
    const DateFieldTable &m_fields;
    const DataDescriptions &m_data;
    int m_pivot = 50;
    std::vector<std::size_t> m_match;
};

} // namespace vyquext
