#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace cobol {

class ExecArgumentReader;

/// Token-range helpers over the text of one EXEC SQL block: host variables, parentheses,
/// keywords at the top level, comma lists and the normalised text of a range.
class SqlText final
{
public:
    /// Tokens [first, last) of the block.
    struct Range
    {
        std::size_t first = 0;
        std::size_t last = 0;
    };

    explicit SqlText(const ExecArgumentReader &reader)
        : m_reader(reader)
    {}

    /// A host variable starts at `index`: ':' with a name glued to it.
    bool hostVariableAt(std::size_t index) const;
    /// The token after the parenthesised group that starts at `index` (the next one otherwise).
    std::size_t skipParentheses(std::size_t index) const;
    /// The first of `words` in `range` outside parentheses; `range.last` when none.
    std::size_t findKeyword(Range range, std::initializer_list<std::string_view> words) const;
    /// The comma-separated parts of `range`, commas inside parentheses not counting.
    std::vector<Range> splitList(Range range) const;
    /// `range` as text: words upper case, literals as written, no blank inside parentheses,
    /// around periods, after colons or commas ("CHAR(E.HIRE_DATE,USA)").
    std::string text(Range range) const;

private:
    const ExecArgumentReader &m_reader;
};

} // namespace cobol
