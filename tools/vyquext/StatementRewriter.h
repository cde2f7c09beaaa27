#pragma once

#include "ConversionLog.h"
#include "OperandParser.h"

#include <cstddef>
#include <vector>

namespace vyquext {

/// Handles the statements other than conditions that touch two-digit years: arithmetic
/// (COMPUTE, ADD, SUBTRACT, MULTIPLY, DIVIDE), MOVE into a four-digit year, and the statements
/// only a person can convert (SORT/MERGE keys, STRING with a hard-coded century).
class StatementRewriter final
{
public:
    StatementRewriter(const OperandParser &parser, ConversionLog &log);

    /// Handles the statement whose verb is token `first`, its tokens ending before `last`.
    void rewrite(std::size_t first, std::size_t last);

private:
    struct Term
    {
        Operand operand;
        int sign = 1;
    };

    void compute(std::size_t first, std::size_t last);
    void addOrSubtract(std::size_t first, std::size_t last, bool subtract);
    void move(std::size_t first, std::size_t last);
    void leaveIfDates(std::size_t first, std::size_t last, const std::string &reason);

    /// Operands from `index` until a token for which `stop` is true; false when something else
    /// than an operand (or ROUNDED) stands there.
    template<typename Stop>
    bool operands(std::size_t &index, std::size_t last, Stop stop, std::vector<Operand> &out) const;
    /// The year arithmetic of `terms` into `targets`: windows differences, widens a year into a
    /// four-digit target, leaves the rest with a reason.
    void yearArithmetic(std::size_t first,
                        std::size_t last,
                        const std::vector<Term> &terms,
                        const std::vector<Operand> &targets,
                        bool rewriteInPlace);
    bool hasSizeError(std::size_t first, std::size_t last) const;
    /// A known four-digit year.
    bool isFourDigitTarget(const Operand &operand) const;
    /// A numeric item of four or more digits that is no known date.
    bool isWideNumber(const Operand &operand) const;
    void leave(std::size_t first,
               std::size_t last,
               const std::string &reason,
               Remark::Severity severity = Remark::Severity::Warning);

    const OperandParser &m_parser;
    const std::vector<Token> &m_tokens;
    ConversionLog &m_log;
};

} // namespace vyquext
