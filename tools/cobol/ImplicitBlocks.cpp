#include "ImplicitBlocks.h"

#include <algorithm>

namespace cobol {

using namespace std::string_view_literals;

namespace {

bool usesExec(const std::vector<LexToken> &tokens, std::size_t end, std::string_view language)
{
    for (std::size_t i = 0; i + 1 < end; ++i)
        if (tokens[i].is("EXEC") && tokens[i + 1].is(language))
            return true;
    return false;
}

bool declares(const std::vector<LexToken> &tokens, std::size_t end, std::string_view name)
{
    for (std::size_t i = 0; i + 1 < end; ++i)
        if (tokens[i].kind == TokenKind::Number
            && (tokens[i].text == "01"sv || tokens[i].text == "1"sv) && tokens[i + 1].is(name))
            return true;
    return false;
}

} // namespace

std::vector<ImplicitBlocks::Block> ImplicitBlocks::needed(const std::vector<LexToken> &tokens,
                                                          std::size_t end)
{
    end = std::min(end, tokens.size());
    std::vector<Block> blocks;
    if (usesExec(tokens, end, "CICS")) {
        if (!declares(tokens, end, "DFHEIBLK"))
            blocks.push_back({"DFHEIBLK", StorageArea::Linkage});
        if (!declares(tokens, end, "DFHCOMMAREA"))
            blocks.push_back({"DFHCOMMAREA", StorageArea::Linkage});
    }
    if (usesExec(tokens, end, "DLI") && !declares(tokens, end, "DLZDIB"))
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
