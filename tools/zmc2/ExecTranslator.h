#pragma once

#include "LexToken.h"
#include "TranslationPlan.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Translates the EXEC blocks of one file into plain COBOL that GnuCOBOL accepts, as a
/// precompiler would, keeping the data flow: a block in the procedure division becomes
/// `CALL 'CHXCICS'` (CHXSQL, CHXDLI) `USING BY CONTENT '<command>'` followed by its arguments,
/// data items BY REFERENCE and literals BY CONTENT; a command that runs nothing (DECLARE,
/// WHENEVER) becomes CONTINUE; EXEC SQL INCLUDE becomes COPY; the other blocks of the data
/// division disappear. DFHRESP(condition) becomes its number, DFHVALUE(name) 0. In the program
/// source the implicit members are COPYed where the translator puts them (the linkage or
/// working-storage section, made when missing).
///
/// Every line of the result knows the line of the original it comes from, so that the
/// compiler's messages can be told with the user's lines. Text outside the blocks keeps its
/// columns; lines are never longer than column 72 in fixed format.
class ExecTranslator final
{
public:
    struct Result
    {
        std::string text;
        /// For each line of `text` (index 0 = line 1), the 1-based line of the original.
        std::vector<std::uint32_t> originalLines;
    };

    ExecTranslator(const TranslationPlan &plan, cobol::SourceFormat format)
        : m_plan(plan)
        , m_format(format)
    {}

    /// Translates `text`, the file of include `include` (0 = the program source).
    Result translate(std::uint32_t include, std::string_view text) const;

private:
    struct Piece
    {
        std::string text;       ///< a word or phrase never split; "\n" breaks the line
        std::uint32_t line = 0; ///< original line the piece stands for
        bool areaA = false;     ///< a header that starts in area A
    };
    struct Edit
    {
        std::uint32_t line = 0;      ///< first line replaced
        std::uint32_t column = 0;    ///< first column replaced
        std::uint32_t endLine = 0;   ///< last line replaced
        std::uint32_t endColumn = 0; ///< one past the last column replaced
        std::vector<Piece> pieces;   ///< the text put there, laid out as statement words
        bool inPlace = false;        ///< same-width text written over the columns
        std::string replacement;     ///< inPlace: the text
    };

    std::vector<Edit> blockEdits(std::uint32_t include,
                                 const std::vector<cobol::LexToken> &tokens) const;
    Edit blockEdit(const std::vector<cobol::LexToken> &tokens,
                   std::size_t begin,
                   std::size_t &next) const;
    std::vector<Piece> arguments(const std::vector<cobol::LexToken> &tokens,
                                 std::size_t first,
                                 std::size_t last) const;
    std::vector<Edit> implicitEdits(const std::vector<cobol::LexToken> &tokens) const;
    std::vector<std::string> layOut(const std::vector<Piece> &pieces,
                                    std::vector<std::uint32_t> &lines) const;

    const TranslationPlan &m_plan;
    cobol::SourceFormat m_format;
};
