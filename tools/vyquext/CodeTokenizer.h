#pragma once

#include "SourceFile.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vyquext {

enum class TokenKind { Word, Number, Literal, Operator, Punctuation };

/// One token of COBOL text: where it stands (0-based line and columns in the tab-expanded line)
/// and its text. `upper` is the text in upper case, for matching words.
struct Token
{
    std::size_t line = 0;
    std::size_t begin = 0;
    std::size_t end = 0; ///< one past the last column
    TokenKind kind = TokenKind::Word;
    std::string text;
    std::string upper;

    bool is(const char *word) const { return upper == word; }
};

/// Splits the code areas of a source into tokens. Fixed format: columns 8-72, comment lines
/// ('*' or '/' in column 7) skipped, 'D' lines read as code, a '-' line continues an open
/// literal. Both formats: "*>" ends the line's code; directive lines (">>", "$") are skipped.
class CodeTokenizer final
{
public:
    /// The tokens of all lines of `source`, in order.
    static std::vector<Token> tokenize(const SourceFile &source);

    /// The first and one-past-last column of the code area of `line` in `format`.
    static std::size_t codeBegin(SourceFormat format);
    static std::size_t codeEnd(const std::string &line, SourceFormat format);

    /// True for lines that hold no code: comments, blank lines, directives.
    static bool isCommentLine(const std::string &line, SourceFormat format);
};

} // namespace vyquext
