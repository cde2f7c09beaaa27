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
    /// As written (after REPLACING).
    std::string_view text() const { return {m_text, m_size}; }
    /// Upper case for words; same as text for literals. It has the text's length: empty until
    /// set, and again whenever the text is set.
    std::string_view upper() const { return {m_upper, m_upper ? m_size : 0}; }

    void setText(std::string_view text)
    {
        m_text = text.data();
        m_size = static_cast<std::uint32_t>(text.size());
        m_upper = nullptr;
    }
    /// Sets the upper-case text, which must be as long as the text (an upper-case form of it);
    /// a text of another length is refused and leaves the upper-case text empty.
    void setUpper(std::string_view upper)
    {
        m_upper = upper.size() == m_size ? upper.data() : nullptr;
    }

private:
    const char *m_text = nullptr;
    const char *m_upper = nullptr;
    std::uint32_t m_size = 0;

public:
    SourcePlace place;
    std::uint32_t length = 0;
    TokenKind kind = TokenKind::Word;
    bool glued = false;    ///< no white space between this token and the one before
    bool replaced = false; ///< produced by REPLACING

    bool is(std::string_view word) const
    {
        const std::string_view text = upper();
        if (kind == TokenKind::Literal || text.size() != word.size())
            return false;
        // Words are short: compared here rather than by a call of the library's comparison.
        for (std::size_t i = 0; i < word.size(); ++i)
            if (text[i] != word[i])
                return false;
        return true;
    }
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
