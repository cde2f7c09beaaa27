#pragma once

#include "DbImpactFacts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelmkpu {

/// The accesses of a unit's statements while they are collected, packed (a few bytes each, in
/// blocks that never move) instead of as DbImpactFacts::Access records: a large program has
/// hundreds of thousands of them, collected while the analysis data file is still in memory.
class AccessList final
{
public:
    void add(const DbImpactFacts::Access &access);
    std::size_t size() const { return m_count; }
    /// Appends the accesses to `out` in the order they were added and empties the list.
    void moveTo(std::vector<DbImpactFacts::Access> &out);

private:
    static constexpr std::size_t blockSize = 64 * 1024;
    void number(std::uint32_t value);

    std::vector<std::string> m_blocks;
    std::size_t m_count = 0;
};

} // namespace kelmkpu
