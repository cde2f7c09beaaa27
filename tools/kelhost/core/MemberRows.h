#pragma once

#include <cstdint>
#include <string>
#include <vector>

class DbPu;

/// The rows of the "related source members" list of a loaded program unit: the program source,
/// then each COPY statement the front end expanded, in the order they were included, with the
/// copybook, the file it read, where the COPY statement stands and the token of its word COPY
/// (so a double click finds the statement in the source).
class MemberRows final
{
public:
    struct Row
    {
        std::uint32_t include = 0;   ///< 0 the program source, n the n-th COPY
        std::uint32_t depth = 0;     ///< 0 the source, 1 a COPY in the source, 2 nested ...
        std::string copybook;        ///< as written in COPY; empty for the source
        std::string file;            ///< the file read
        std::string includedFrom;    ///< "PAYRUN.cbl line 40"; empty for the source
        std::string qualifier;       ///< the library or REPLACING the include was made with
        std::uint32_t firstLine = 0; ///< the first expanded line from this file, 0 when none
        std::uint32_t copyToken = 0; ///< the word COPY of the statement; 0 when not found
        std::uint32_t lineCount = 0; ///< expanded lines this include contributes itself
    };

    explicit MemberRows(const DbPu &pu);

    const std::vector<Row> &rows() const { return m_rows; }
    /// How many distinct copybook files the unit read.
    std::uint32_t copybookFileCount() const { return m_copybookFiles; }

private:
    std::vector<Row> m_rows;
    std::uint32_t m_copybookFiles = 0;
};
