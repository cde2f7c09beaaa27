#pragma once

#include "DbUnitData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// The packed form of a unit's large lists (tokens, syntax nodes, expanded source lines): each
/// is stored as chunks of up to `chunkSize` records, one blob per chunk, so a unit of a quarter
/// of a million tokens is a few dozen rows instead of a quarter of a million. Records are
/// unsigned LEB128 numbers and length-prefixed UTF-8 texts (README.md gives the fields). Each
/// chunk decodes on its own: differences are taken within the chunk only.
///
/// A token's text and place are left out when the expanded source already says them: the text
/// when it is the line's text at the token's column, the include and line when they are the
/// expanded line's. So tokens are decoded after the lines.
class DbChunkCodec final
{
public:
    static constexpr std::size_t chunkSize = 8192;

    /// A token's fields with its text as a view, for packing without a DbTokenRecord.
    struct TokenFields
    {
        std::uint8_t type = 9;
        bool replaced = false;
        std::uint32_t include = 0;
        std::uint32_t line = 0;
        std::uint32_t column = 0;
        std::uint32_t length = 0;
        std::uint32_t expandedLine = 0;
        std::uint32_t symbol = 0;
        std::uint32_t node = 0;
        std::string_view text;
    };
    /// Where a chunk of tokens is: the expanded line and node of the chunk's previous token.
    struct TokenState
    {
        std::int64_t line = 0;
        std::int64_t node = 0;
    };
    /// The expanded line a token is shown on, as the token encoding compares with it.
    struct LineView
    {
        std::uint32_t include = 0;
        std::uint32_t line = 0;
        std::string_view text;
    };

    /// Appends one token to a chunk; `shownOn` is the token's expanded line (null when it has
    /// none). `state` starts default at each chunk.
    static void encodeToken(const TokenFields &token,
                            const LineView *shownOn,
                            TokenState &state,
                            std::string &out);
    static void encodeLine(std::uint32_t include,
                           std::uint32_t line,
                           std::uint8_t kind,
                           std::string_view text,
                           std::string &out);
    static void encodeNode(std::uint8_t kind,
                           std::uint32_t parent,
                           std::uint32_t firstToken,
                           std::uint32_t lastToken,
                           std::uint32_t symbol,
                           std::uint32_t treeRecord,
                           std::string_view name,
                           std::string &out);

    /// Appends tokens [first, end) of `tokens` as one chunk to `out`.
    static void encodeTokens(const std::vector<DbTokenRecord> &tokens,
                             std::size_t first,
                             std::size_t end,
                             const std::vector<DbLineRecord> &lines,
                             std::string &out);
    static void encode(const DbNodeRecord &node, std::string &out);
    static void encode(const DbLineRecord &line, std::string &out);

    /// Decodes `count` records from `blob` and appends them to `out`; false when the blob ends
    /// early, has bytes left over or refers to lines that do not exist (a damaged chunk).
    static bool decodeTokens(std::string_view blob,
                             std::size_t count,
                             const std::vector<DbLineRecord> &lines,
                             std::vector<DbTokenRecord> &out);
    static bool decode(std::string_view blob, std::size_t count, std::vector<DbNodeRecord> &out);
    static bool decode(std::string_view blob, std::size_t count, std::vector<DbLineRecord> &out);
};
