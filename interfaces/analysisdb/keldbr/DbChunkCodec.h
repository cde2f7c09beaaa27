#pragma once

#include "DbUnitData.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// The packed form of a unit's large lists (tokens, syntax nodes, expanded source lines): each
/// is stored as chunks of up to `chunkSize` records, one blob per chunk, so a unit of a quarter
/// of a million tokens is a few dozen rows instead of a quarter of a million. A record is a
/// sequence of unsigned LEB128 numbers and length-prefixed UTF-8 texts, fields in the order
/// README.md lists them.
class DbChunkCodec final
{
public:
    static constexpr std::size_t chunkSize = 8192;

    static void encode(const DbTokenRecord &token, std::string &out);
    static void encode(const DbNodeRecord &node, std::string &out);
    static void encode(const DbLineRecord &line, std::string &out);

    /// Decodes `count` records from `blob` and appends them to `out`; false when the blob ends
    /// early or has bytes left over (a damaged chunk).
    static bool decode(std::string_view blob, std::size_t count, std::vector<DbTokenRecord> &out);
    static bool decode(std::string_view blob, std::size_t count, std::vector<DbNodeRecord> &out);
    static bool decode(std::string_view blob, std::size_t count, std::vector<DbLineRecord> &out);
};
