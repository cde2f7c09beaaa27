#include "ImplicitBlocks.h"

#include <algorithm>

namespace cobol {

using namespace std::string_view_literals;

namespace {

/// The EXEC languages a program uses that need blocks, found in one pass over its tokens.
struct ExecUse
{
    bool cics = false;
    bool dli = false;
};

ExecUse execUse(const std::vector<LexToken> &tokens, std::size_t end)
{
    ExecUse use;
    for (std::size_t i = 0; i + 1 < end && !(use.cics && use.dli); ++i) {
        if (!tokens[i].is("EXEC"))
            continue;
        use.cics = use.cics || tokens[i + 1].is("CICS");
        use.dli = use.dli || tokens[i + 1].is("DLI");
    }
    return use;
}

bool declares(const std::vector<LexToken> &tokens, std::size_t end, std::string_view name)
{
    for (std::size_t i = 0; i + 1 < end; ++i)
        if (tokens[i].kind == TokenKind::Number
            && (tokens[i].text() == "01"sv || tokens[i].text() == "1"sv) && tokens[i + 1].is(name))
            return true;
    return false;
}

} // namespace

std::vector<ImplicitBlocks::Block> ImplicitBlocks::needed(const std::vector<LexToken> &tokens,
                                                          std::size_t end)
{
    end = std::min(end, tokens.size());
    std::vector<Block> blocks;
    const ExecUse use = execUse(tokens, end);
    if (use.cics) {
        if (!declares(tokens, end, "DFHEIBLK"))
            blocks.push_back({"DFHEIBLK", StorageArea::Linkage});
        if (!declares(tokens, end, "DFHCOMMAREA"))
            blocks.push_back({"DFHCOMMAREA", StorageArea::Linkage});
    }
    if (use.dli && !declares(tokens, end, "DLZDIB"))
        blocks.push_back({"DLZDIB", StorageArea::WorkingStorage});
    return blocks;
}

SourcePlace ImplicitBlocks::place(const std::vector<LexToken> &tokens,
                                  std::size_t end,
                                  StorageArea area)
{
    end = std::min(end, tokens.size());
    const std::string_view section = area == StorageArea::Linkage ? "LINKAGE" : "WORKING-STORAGE";
    for (std::size_t i = 0; i + 1 < end; ++i)
        if (tokens[i].is(section) && tokens[i + 1].is("SECTION"))
            return tokens[i].place;
    for (std::size_t i = 0; i + 1 < end; ++i)
        if (tokens[i].is("PROCEDURE") && tokens[i + 1].is("DIVISION"))
            return tokens[i].place;
    return {};
}

} // namespace cobol
