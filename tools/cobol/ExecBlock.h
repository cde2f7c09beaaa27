#pragma once

#include "LexToken.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cobol {

/// Where one EXEC ... END-EXEC block lies in a list of tokens. The front end's parsers and zmc2's
/// translation find blocks with the same rule, so that both agree on a block's extent even when
/// its END-EXEC is missing.
struct ExecBlock
{
    enum class Language { Cics, Sql, Dli, Unknown };

    Language language = Language::Unknown;
    std::string languageWord;  ///< as written, upper case (CICS, SQL, SQLIMS, DLI, ...)
    std::size_t begin = 0;     ///< the EXEC token
    std::size_t bodyBegin = 0; ///< the first token after the language word
    std::size_t bodyEnd = 0;   ///< one past the command's last token (the END-EXEC token when
                               ///< the block has one)
    std::size_t end = 0;       ///< one past the block: past END-EXEC when it has one
    bool terminated = false;   ///< END-EXEC was found

    /// The block that starts at `tokens[begin]`, an EXEC token, looking no further than `limit`.
    /// A block without END-EXEC ends before the next EXEC, the next separator period (a period
    /// followed by white space or the end of the text) or a COBOL-only verb (MOVE, PERFORM, IF,
    /// STOP ...) that starts a line, whichever comes first, so that the rest of the program is
    /// still read.
    static ExecBlock find(const std::vector<LexToken> &tokens,
                          std::size_t begin,
                          std::size_t limit);

    /// Whether `tokens[index]` is a period that separates sentences rather than a part of a
    /// qualified SQL name (`DCLEMP.EMPNO`, no white space after it).
    static bool isSeparatorPeriod(const std::vector<LexToken> &tokens, std::size_t index);

    /// Whether `word` (upper case) is a COBOL verb that no CICS, SQL or DL/I text holds (MOVE,
    /// PERFORM, IF, STOP ...): at the start of a line it ends a block that lacks END-EXEC.
    static bool isCobolOnlyVerb(std::string_view word);

    /// "CICS", "SQL", "DLI" or the language word as written.
    std::string languageName() const;
};

/// An EXEC block met in the data division (EXEC SQL DECLARE TABLE, INCLUDE, BEGIN DECLARE
/// SECTION ...): read into a statement once all data items are known.
struct DataDivisionExec
{
    std::size_t begin = 0;         ///< the EXEC token
    std::uint32_t itemsBefore = 0; ///< data items declared before the block
    std::uint32_t node = 0;        ///< the section (or division) node holding it
};

} // namespace cobol
