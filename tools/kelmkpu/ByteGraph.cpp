#include "ByteGraph.h"

#include "NumericLayout.h"

#include <algorithm>
#include <deque>
#include <numeric>

namespace kelmkpu {

ByteGraph::ByteGraph(const ProgramModel &model)
{
    m_digitStart.reserve(model.items.size() + 1);
    m_valueStart.reserve(model.items.size() + 1);
    for (const DataItem &item : model.items) {
        m_digitStart.push_back(static_cast<std::uint32_t>(m_digits.size()));
        for (const NumericLayout::Digit &digit : NumericLayout::digits(item))
            m_digits.push_back(digit);
        m_valueStart.push_back(static_cast<std::uint32_t>(m_valueBytes.size()));
        for (std::uint32_t offset : NumericLayout::valueBytes(item))
            m_valueBytes.push_back(offset);
    }
    m_digitStart.push_back(static_cast<std::uint32_t>(m_digits.size()));
    m_valueStart.push_back(static_cast<std::uint32_t>(m_valueBytes.size()));

    std::uint64_t total = 0;
    for (const StorageArea &area : model.areas) {
        m_areaBase.push_back(static_cast<std::uint32_t>(total));
        m_areaSize.push_back(area.size);
        total += area.size;
    }
    m_canonical.resize(total);
    std::iota(m_canonical.begin(), m_canonical.end(), 0u);
    for (std::size_t a = 0; a < model.areas.size(); ++a) {
        const std::uint32_t base = m_areaBase[a];
        const std::uint64_t size = model.areas[a].size;
        std::vector<StorageArea::Occurs> ranges = model.areas[a].occurs;
        // Innermost ranges first: a byte of a later outer occurrence then maps onto a byte of the
        // first occurrence that has already been reduced by the inner ranges.
        std::stable_sort(ranges.begin(), ranges.end(), [](const auto &x, const auto &y) {
            return std::uint64_t(x.stride) * x.count < std::uint64_t(y.stride) * y.count;
        });
        for (const StorageArea::Occurs &range : ranges) {
            if (range.stride == 0 || range.count < 2)
                continue;
            const std::uint64_t end = std::min<std::uint64_t>(size,
                                                              range.offset
                                                                  + std::uint64_t(range.stride)
                                                                        * range.count);
            for (std::uint64_t i = std::uint64_t(range.offset) + range.stride; i < end; ++i)
                m_canonical[base + i]
                    = m_canonical[base + range.offset + (i - range.offset) % range.stride];
        }
    }
    m_parent.resize(total);
    std::iota(m_parent.begin(), m_parent.end(), 0u);
    m_rank.assign(total, 0);
}

std::uint32_t ByteGraph::node(std::uint32_t area, std::uint64_t offset) const
{
    if (area >= m_areaBase.size() || offset >= m_areaSize[area])
        return noIndex;
    return m_canonical[m_areaBase[area] + offset];
}

std::vector<std::uint32_t> ByteGraph::operandNodes(const ProgramModel &model,
                                                   const Operand &operand,
                                                   ByteSelection selection) const
{
    std::vector<std::uint32_t> nodes;
    operandNodes(model, operand, selection, nodes);
    return nodes;
}

void ByteGraph::operandNodes(const ProgramModel &model,
                             const Operand &operand,
                             ByteSelection selection,
                             std::vector<std::uint32_t> &nodes) const
{
    nodes.clear();
    if (!operand.isItem() || operand.item >= model.items.size())
        return;
    const DataItem &item = model.items[operand.item];
    auto push = [&](std::uint64_t offset) {
        if (const std::uint32_t n = node(item.area, std::uint64_t(item.offset) + offset);
            n != noIndex)
            nodes.push_back(n);
    };
    if (operand.refStart > 0 && !operand.variableRefMod) {
        const std::uint64_t first = operand.refStart - 1;
        const std::uint64_t end = operand.refLength == 0
                                      ? item.length
                                      : std::min<std::uint64_t>(item.length,
                                                                first + operand.refLength);
        for (std::uint64_t i = first; i < end; ++i)
            push(i);
    } else if (selection == ByteSelection::Value && operand.item + 1 < m_valueStart.size()) {
        for (std::uint32_t k = m_valueStart[operand.item]; k < m_valueStart[operand.item + 1]; ++k)
            push(m_valueBytes[k]);
    } else {
        for (std::uint32_t i = 0; i < item.length; ++i)
            push(i);
    }
}

std::uint32_t ByteGraph::find(std::uint32_t node)
{
    std::uint32_t root = node;
    while (m_parent[root] != root)
        root = m_parent[root];
    while (m_parent[node] != root) {
        const std::uint32_t next = m_parent[node];
        m_parent[node] = root;
        node = next;
    }
    return root;
}

void ByteGraph::unite(std::uint32_t a, std::uint32_t b, std::uint32_t statement)
{
    if (a == noIndex || b == noIndex)
        return;
    std::uint32_t ra = find(a);
    std::uint32_t rb = find(b);
    if (ra == rb)
        return;
    if (m_rank[ra] < m_rank[rb])
        std::swap(ra, rb);
    m_parent[rb] = ra;
    if (m_rank[ra] == m_rank[rb])
        ++m_rank[ra];
    m_edges.push_back({a, b, statement});
}

void ByteGraph::buildAdjacency()
{
    const std::size_t n = m_parent.size();
    m_adjStart.assign(n + 1, 0);
    for (const Edge &edge : m_edges) {
        ++m_adjStart[edge.a + 1];
        ++m_adjStart[edge.b + 1];
    }
    for (std::size_t i = 0; i < n; ++i)
        m_adjStart[i + 1] += m_adjStart[i];
    m_adjEdge.assign(m_adjStart[n], 0);
    std::vector<std::uint32_t> fill(m_adjStart.begin(), m_adjStart.end() - 1);
    for (std::uint32_t e = 0; e < m_edges.size(); ++e) {
        m_adjEdge[fill[m_edges[e].a]++] = e;
        m_adjEdge[fill[m_edges[e].b]++] = e;
    }
    m_visitStamp.assign(n, 0);
    m_viaEdge.assign(n, noIndex);
    m_adjBuiltFor = m_edges.size();
}

std::vector<std::uint32_t> ByteGraph::path(std::uint32_t from, std::uint32_t to)
{
    if (from == to || from >= m_parent.size() || to >= m_parent.size() || find(from) != find(to))
        return {};
    if (m_adjBuiltFor != m_edges.size() || m_adjStart.empty())
        buildAdjacency();
    ++m_stamp;
    std::deque<std::uint32_t> queue{from};
    m_visitStamp[from] = m_stamp;
    m_viaEdge[from] = noIndex;
    while (!queue.empty()) {
        const std::uint32_t current = queue.front();
        queue.pop_front();
        if (current == to)
            break;
        for (std::uint32_t k = m_adjStart[current]; k < m_adjStart[current + 1]; ++k) {
            const Edge &edge = m_edges[m_adjEdge[k]];
            const std::uint32_t next = edge.a == current ? edge.b : edge.a;
            if (m_visitStamp[next] == m_stamp)
                continue;
            m_visitStamp[next] = m_stamp;
            m_viaEdge[next] = m_adjEdge[k];
            queue.push_back(next);
        }
    }
    std::vector<std::uint32_t> statements;
    for (std::uint32_t at = to; at != from;) {
        const Edge &edge = m_edges[m_viaEdge[at]];
        statements.push_back(edge.statement);
        at = edge.a == at ? edge.b : edge.a;
    }
    std::reverse(statements.begin(), statements.end());
    return statements;
}

} // namespace kelmkpu
