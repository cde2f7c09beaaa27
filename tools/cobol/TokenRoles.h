#pragma once

#include <string_view>
#include <vector>

namespace cobol {

class AnalysisData;
struct LexToken;

/// Gives every token of a parsed program its role (Token::role and Token::item): level
/// numbers, data names declared and referenced (with the item each names, qualifiers
/// included), section and paragraph names declared and referenced, and reserved words.
///
/// It works on the tokens and the parsers' results (items, nodes) after parsing, so the parsers
/// stay as they are: an entry's level number is the token at the item's place and its name the
/// word after it; a REDEFINES, OCCURS DEPENDING ON or RENAMES operand names the item the data
/// parser resolved; other data names resolve through their qualification as the procedure
/// parser resolves operands (an ambiguous name gives its first definition); a word that names a
/// section or paragraph is a procedure name. A data name wins over a reserved word of another
/// dialect. Words in EXEC blocks are left alone, except host variables (`:NAME`). Tokens after
/// the first program (a nested or following program) get reserved-word roles only.
class TokenRoles final
{
public:
    /// `tokens` are the lexer's tokens of the program. When `data.tokens` is empty it is made
    /// from them (ids, kinds, texts, places) with the roles; otherwise it holds the tokens made
    /// from them, in the same order, and gets their roles.
    static void assign(AnalysisData &data, const std::vector<LexToken> &tokens);

    /// Whether `upper` is a reserved word of COBOL (the standard's words with the IBM and Micro
    /// Focus extensions in common use).
    static bool isReservedWord(std::string_view upper);
};

} // namespace cobol
