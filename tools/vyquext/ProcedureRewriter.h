#pragma once

#include "ConversionLog.h"
#include "OperandParser.h"

#include <cstddef>
#include <vector>

namespace vyquext {

/// Walks the procedure division statement by statement and hands each to the condition and
/// statement rewriters. A statement runs from its verb to the next verb or period.
class ProcedureRewriter final
{
public:
    ProcedureRewriter(const OperandParser &parser, ConversionLog &log);

    /// Converts everything after the PROCEDURE DIVISION header. Returns false when the source
    /// has no procedure division.
    bool run();

    /// True for the words that start a statement (or a branch: ELSE, WHEN, END-xxx).
    static bool isVerb(const Token &token);

private:
    const OperandParser &m_parser;
    const std::vector<Token> &m_tokens;
    ConversionLog &m_log;
};

} // namespace vyquext
