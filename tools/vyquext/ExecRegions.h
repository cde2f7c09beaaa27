#pragma once

#include "CodeTokenizer.h"

#include <cstddef>
#include <vector>

namespace vyquext {

/// The EXEC ... END-EXEC blocks of a source, found with the rule the COBOL front end uses: a
/// block ends with END-EXEC, or, without one, before the next EXEC, the next separator period or
/// a COBOL-only verb (MOVE, PERFORM, IF ...) that starts a line. The conversion never rewrites
/// inside them.
class ExecRegions final
{
public:
    struct Region
    {
        std::size_t first = 0;     ///< the EXEC token
        std::size_t last = 0;      ///< one past the block's last token
        std::size_t firstLine = 0; ///< 0-based line of EXEC
        std::size_t lastLine = 0;  ///< 0-based line of the block's last token
        std::size_t endColumn = 0; ///< one past the last token's last column
    };

    explicit ExecRegions(const std::vector<Token> &tokens);

    const std::vector<Region> &regions() const { return m_regions; }

    /// The region that starts at token `index`, or nullptr.
    const Region *startingAt(std::size_t index) const;
    /// The region that holds 1-based source line `line`, or nullptr.
    const Region *holdingLine(std::size_t line) const;
    /// Whether columns [begin, end) of 0-based line `line` touch a region.
    bool overlaps(std::size_t line, std::size_t begin, std::size_t end) const;
    /// Whether a region holds text on 0-based line `line`.
    bool touchesLine(std::size_t line) const;

private:
    std::vector<Region> m_regions;
    std::vector<std::size_t> m_firstColumns; ///< per region: the first column of its EXEC
};

} // namespace vyquext
