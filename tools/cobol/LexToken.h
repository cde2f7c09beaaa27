#pragma once

#include "AnalysisData.h"

#include <string>

namespace cobol {

/// A token as the lexer and the preprocessor pass it on: the public Token data plus the upper-case
/// text the parsers compare and whether white space separated it from the token before.
struct LexToken
{
    std::string text;  ///< as written (after REPLACING)
    std::string upper; ///< upper case for words; same as text for literals
    TokenKind kind = TokenKind::Word;
    SourcePlace place;
    std::uint32_t length = 0;
    bool glued = false;    ///< no white space between this token and the one before
    bool replaced = false; ///< produced by REPLACING

    bool is(std::string_view word) const { return kind != TokenKind::Literal && upper == word; }
    bool isWordLike() const { return kind == TokenKind::Word || kind == TokenKind::Number; }
};

enum class SourceFormat { Fixed, Free };

} // namespace cobol
