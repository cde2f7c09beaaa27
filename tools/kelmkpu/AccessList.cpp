#include "AccessList.h"

namespace kelmkpu {

namespace {

/// Reads the numbers `AccessList::number` wrote, across the blocks.
class Reader
{
public:
    explicit Reader(const std::vector<std::string> &blocks)
        : m_blocks(blocks)
    {}
    std::uint32_t number()
    {
        std::uint32_t value = 0;
        for (int shift = 0;; shift += 7) {
            while (m_at == m_blocks[m_block].size()) {
                ++m_block;
                m_at = 0;
            }
            const auto byte = static_cast<std::uint8_t>(m_blocks[m_block][m_at++]);
            value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
    }

private:
    const std::vector<std::string> &m_blocks;
    std::size_t m_block = 0;
    std::size_t m_at = 0;
};

} // namespace

void AccessList::number(std::uint32_t value)
{
    // At most five bytes: a number never spans two blocks.
    if (m_blocks.empty() || m_blocks.back().size() + 5 > blockSize) {
        m_blocks.emplace_back();
        m_blocks.back().reserve(blockSize);
    }
    std::string &block = m_blocks.back();
    do {
        std::uint8_t byte = value & 0x7F;
        value >>= 7;
        if (value)
            byte |= 0x80;
        block.push_back(static_cast<char>(byte));
    } while (value);
}

void AccessList::add(const DbImpactFacts::Access &access)
{
    number(access.statement);
    number(access.range.area);
    number(access.range.offset);
    number(access.range.length);
    number(access.mode);
    ++m_count;
}

void AccessList::moveTo(std::vector<DbImpactFacts::Access> &out)
{
    out.reserve(out.size() + m_count);
    Reader in(m_blocks);
    for (std::size_t i = 0; i < m_count; ++i) {
        DbImpactFacts::Access access;
        access.statement = in.number();
        access.range.area = in.number();
        access.range.offset = in.number();
        access.range.length = in.number();
        access.mode = static_cast<DbImpactFacts::Mode>(in.number());
        out.push_back(access);
    }
    std::vector<std::string>().swap(m_blocks);
    m_count = 0;
}

} // namespace kelmkpu
