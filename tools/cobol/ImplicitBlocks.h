#pragma once

#include "AnalysisData.h"
#include "LexToken.h"

#include <string>
#include <vector>

namespace cobol {

/// The blocks a translator adds to a program without the program asking: for EXEC CICS the
/// execute interface block DFHEIBLK and the commarea DFHCOMMAREA in the linkage section, for
/// EXEC DLI the DL/I interface block DLZDIB in working storage. A block the program declares
/// itself (an 01 of that name, from its own text or a COPY) is not added again.
class ImplicitBlocks final
{
public:
    struct Block
    {
        std::string member; ///< the system member holding the block, named after its 01
        StorageArea area = StorageArea::Linkage;
    };

    /// The blocks the program in `tokens[0, end)` needs, in the order a translator adds them.
    static std::vector<Block> needed(const std::vector<LexToken> &tokens, std::size_t end);

    /// Where a translator puts a block of `area`: the header of that section, else the
    /// PROCEDURE DIVISION header (place 0/0/0 when neither exists).
    static SourcePlace place(const std::vector<LexToken> &tokens,
                             std::size_t end,
                             StorageArea area);
};

} // namespace cobol
