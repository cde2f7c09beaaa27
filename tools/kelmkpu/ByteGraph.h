#pragma once

#include "NumericLayout.h"
#include "ProgramModel.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kelmkpu {

/// The storage bytes of a program as nodes of a union-find structure. A byte inside an OCCURS
/// range is the same node as the corresponding byte of the first occurrence. Every union that
/// joins two classes keeps the statement that caused it, so that a path between two bytes of a
/// class can be shown as a chain of statements.
class ByteGraph final
{
public:
    /// Lays out one node per storage byte of `model` (areas must fit `maxBytes` in total; the
    /// caller checks that before).
    explicit ByteGraph(const ProgramModel &model);

    /// The node of byte `offset` of storage area `area`; noIndex when outside the area.
    std::uint32_t node(std::uint32_t area, std::uint64_t offset) const;

    /// The nodes of the bytes an operand refers to: its constant reference modification, else
    /// the item's value bytes (`ByteSelection::Value`, see NumericLayout) or all its bytes.
    enum class ByteSelection { Value, All };
    std::vector<std::uint32_t> operandNodes(const ProgramModel &model,
                                            const Operand &operand,
                                            ByteSelection selection) const;
    /// The same into `nodes` (cleared first), so that a caller can reuse one buffer.
    void operandNodes(const ProgramModel &model,
                      const Operand &operand,
                      ByteSelection selection,
                      std::vector<std::uint32_t> &nodes) const;

    /// NumericLayout::digits of item `item` of the model, worked out once per item.
    std::span<const NumericLayout::Digit> digits(std::uint32_t item) const
    {
        return {m_digits.data() + m_digitStart[item], m_digitStart[item + 1] - m_digitStart[item]};
    }

    /// The representative of the class holding `node`.
    std::uint32_t find(std::uint32_t node);

    /// Joins the classes of `a` and `b`; records (a, b, statement) when they were apart.
    void unite(std::uint32_t a, std::uint32_t b, std::uint32_t statement);

    std::uint32_t nodeCount() const { return static_cast<std::uint32_t>(m_parent.size()); }

    /// The statements on a shortest path of recorded unions from `from` to `to`, in order; empty
    /// when they are the same node or not connected.
    std::vector<std::uint32_t> path(std::uint32_t from, std::uint32_t to);

    /// The most storage bytes analysed at once (about 40 bytes of memory each).
    static constexpr std::uint64_t maxBytes = 16ull * 1024 * 1024;

private:
    struct Edge
    {
        std::uint32_t a;
        std::uint32_t b;
        std::uint32_t statement;
    };

    void buildAdjacency();

    /// NumericLayout's digits and value bytes of every item, one run per item.
    std::vector<NumericLayout::Digit> m_digits;
    std::vector<std::uint32_t> m_digitStart;
    std::vector<std::uint32_t> m_valueBytes;
    std::vector<std::uint32_t> m_valueStart;
    std::vector<std::uint32_t> m_areaBase;
    std::vector<std::uint32_t> m_areaSize;
    std::vector<std::uint32_t> m_canonical; ///< byte (area base + offset) -> its node
    std::vector<std::uint32_t> m_parent;
    std::vector<std::uint8_t> m_rank;
    std::vector<Edge> m_edges;
    // Adjacency over m_edges in compressed rows, built on the first path() call.
    std::vector<std::uint32_t> m_adjStart;
    std::vector<std::uint32_t> m_adjEdge;
    std::size_t m_adjBuiltFor = 0;
    std::vector<std::uint32_t> m_visitStamp;
    std::vector<std::uint32_t> m_viaEdge;
    std::uint32_t m_stamp = 0;
};

} // namespace kelmkpu
