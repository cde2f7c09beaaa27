#pragma once

#include "AnalysisData.h"

#include <string>
#include <string_view>

namespace cobol {

/// A token as the lexer and the preprocessor pass it on: the public Token data plus the upper-case
/// text the parsers compare and whether white space separated it from the token before. The
/// texts are views: into the source text, or into the TextStore of the lexer that made them.
/// (Fields ordered for packing: a large program has half a million of them, and every pass of
/// the front end reads them all.)
struct LexToken
{
    std::string_view text; ///< as written (after REPLACING)

    /// Upper case for words; same as text for literals.
    std::string_view upper() const { return {m_upperData, m_upperSize}; }
    void setUpper(std::string_view upper)
    {
        m_upperData = upper.data();
        m_upperSize = static_cast<std::uint32_t>(upper.size());
    }

private:
    const char *m_upperData = nullptr;

public:
    SourcePlace place;
    std::uint32_t length = 0;

private:
    std::uint32_t m_upperSize = 0;

public:
    TokenKind kind = TokenKind::Word;
    bool glued = false;    ///< no white space between this token and the one before
    bool replaced = false; ///< produced by REPLACING

    bool is(std::string_view word) const { return kind != TokenKind::Literal && upper() == word; }
    bool isWordLike() const { return kind == TokenKind::Word || kind == TokenKind::Number; }
};

enum class SourceFormat { Fixed, Free };

/// `text` in double quotes, for messages. (Built piece by piece: GCC 12 warns, wrongly, on
/// "\"" + std::string(...) + "\"".)
inline std::string quoted(std::string_view text)
{
    std::string out(1, '"');
    out.append(text);
    out += '"';
    return out;
}

} // namespace cobol
