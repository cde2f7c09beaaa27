#pragma once

#include "ConversionLog.h"
#include "OperandParser.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vyquext {

/// Windows the relational conditions of one statement. Conditions that share a subject through
/// abbreviation ("A-YY < B-YY OR > C-YY", "A-YY = 1 OR 2") form a chain that is converted whole
/// or not at all, since the abbreviated parts compare against the (rewritten) subject.
class ConditionRewriter final
{
public:
    ConditionRewriter(const OperandParser &parser, ConversionLog &log);

    enum class Context { Plain, SearchAll };

    /// Handles the relations in tokens [first, last). `sentenceEnd` bounds the look for a
    /// century literal that tells the code is windowed already; a COMPUTE's own "=" is skipped by
    /// starting after it.
    void rewrite(std::size_t first, std::size_t last, std::size_t sentenceEnd, Context context);

private:
    struct Chain
    {
        TokenRange subject;
        bool subjectMissing = false;
        std::vector<TokenRange> objects; ///< invalid entries: an expression or nothing readable
        bool ordering = false;
        bool uncertain = false;
        std::size_t first = 0; ///< first token of the chain
        std::size_t last = 0;  ///< last token of the chain
    };

    bool isRelationCore(std::size_t index) const;
    bool startsRelation(std::size_t index) const;
    void finish(Chain &chain, std::size_t sentenceFirst, std::size_t sentenceEnd, Context context);
    bool centuryLiteralNear(std::size_t first, std::size_t last) const;

    const OperandParser &m_parser;
    const std::vector<Token> &m_tokens;
    ConversionLog &m_log;
};

} // namespace vyquext
