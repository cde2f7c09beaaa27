#include "EvidenceStore.h"

#include "ByteGraph.h"

namespace kelmkpu {

EvidenceStore::EvidenceStore(ByteGraph &graph)
    : m_graph(graph)
    , m_classPolarity(graph.nodeCount(), PolarityNone)
    , m_ownAlways(graph.nodeCount(), PolarityNone)
    , m_yearWitness(graph.nodeCount(), noIndex)
    , m_nonYearWitness(graph.nodeCount(), noIndex)
{}

void EvidenceStore::add(std::uint32_t node,
                        std::uint8_t polarity,
                        Strength strength,
                        SourcePos pos,
                        const std::string &text)
{
    if (node == noIndex || node >= m_ownAlways.size() || polarity == PolarityNone)
        return;
    if (strength == Strength::Always)
        m_ownAlways[node] |= polarity;
    const std::uint32_t root = m_graph.find(node);
    const auto added = static_cast<std::uint8_t>(polarity & ~m_classPolarity[root]);
    if (added == 0)
        return;
    m_classPolarity[root] |= added;
    const auto witness = static_cast<std::uint32_t>(m_witnesses.size());
    m_witnesses.push_back({node, pos, text});
    if (added & PolarityYear)
        m_yearWitness[root] = witness;
    if (added & PolarityNonYear)
        m_nonYearWitness[root] = witness;
    m_changed.push_back(root);
}

std::uint8_t EvidenceStore::classPolarity(std::uint32_t node) const
{
    if (node == noIndex)
        return PolarityNone;
    return m_classPolarity[m_graph.find(node)];
}

const EvidenceStore::Witness *EvidenceStore::yearWitness(std::uint32_t node) const
{
    const std::uint32_t index = m_yearWitness[m_graph.find(node)];
    return index == noIndex ? nullptr : &m_witnesses[index];
}

const EvidenceStore::Witness *EvidenceStore::nonYearWitness(std::uint32_t node) const
{
    const std::uint32_t index = m_nonYearWitness[m_graph.find(node)];
    return index == noIndex ? nullptr : &m_witnesses[index];
}

std::vector<std::uint32_t> EvidenceStore::takeChangedClasses()
{
    std::vector<std::uint32_t> changed;
    changed.swap(m_changed);
    return changed;
}

} // namespace kelmkpu
