// Feeds arbitrary bytes to the chunk decoders as a damaged database would, and whatever
// decodes and passes validation to the object model: nothing may crash, read out of bounds or
// loop, and every number must convert back.
#include "DbChunkCodec.h"
#include "DbEu.h"
#include "DbPu.h"
#include "KelPuSmCursor.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    // Three chunks (lines, tokens, nodes) separated at the first two 0xFF bytes; the counts
    // come from the first three bytes.
    if (size < 3)
        return 0;
    const std::string_view input(reinterpret_cast<const char *>(bytes), size);
    const std::size_t counts[3] = {bytes[0] % 16u, bytes[1] % 32u, bytes[2] % 16u};
    std::string_view rest = input.substr(3);
    std::string_view parts[3];
    for (int i = 0; i < 3; ++i) {
        const std::size_t cut = i < 2 ? rest.find('\xFF') : std::string_view::npos;
        parts[i] = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    DbUnitData unit;
    if (!DbChunkCodec::decode(parts[0], counts[0], unit.lines)
        || !DbChunkCodec::decodeTokens(parts[1], counts[1], unit.lines, unit.tokens)
        || !DbChunkCodec::decode(parts[2], counts[2], unit.nodes))
        return 0;
    unit.includes = {{0, 1, 0, 0, "", ""}};
    unit.inputFiles = {{"/src/F.cbl", DbInputFileRecord::sourceFile, ""}};
    unit.treeRecords = {{0, "F", 0, unit.nodes.empty() ? 0u : 1u}};
    if (!unit.validate().empty())
        return 0;
    DbEu eu("", "fuzz", {unit.header});
    DbPu &pu = *eu.numberToPu(1);
    std::string error;
    if (!pu.loadData(unit, error))
        __builtin_trap();
    for (std::uint32_t n = 1; n <= pu.numberOfTokens(); ++n) {
        const DbToken *token = pu.numberToToken(n);
        if (pu.tokenToNumber(token) != n || !pu.tokenToNode(token))
            __builtin_trap();
        pu.tokenAt(token->expandedLine(), token->column());
    }
    for (std::uint32_t l = 0; l <= pu.numberOfExpandedLines() + 1; ++l)
        pu.firstTokenOnLine(l);
    for (KelPuSmCursor cursor(pu); cursor.isValid(); cursor.setToNext())
        cursor.element();
    return 0;
}
