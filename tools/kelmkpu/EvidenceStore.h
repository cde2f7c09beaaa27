#pragma once

#include "DateKind.h"
#include "ProgramModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelmkpu {

class ByteGraph;

/// The evidence known about each class of bytes: its polarity (joined from every piece of
/// evidence on any of its bytes), each byte's own always-evidence, and the first witness of each
/// polarity for explanations. Use only after all unions are done: classes must not merge later.
class EvidenceStore final
{
public:
    struct Witness
    {
        std::uint32_t node = noIndex;
        SourcePos pos;
        std::string text;
    };

    explicit EvidenceStore(ByteGraph &graph);

    /// Adds evidence on `node`; a class that gains a polarity is remembered as changed.
    void add(std::uint32_t node,
             std::uint8_t polarity,
             Strength strength,
             SourcePos pos,
             const std::string &text);

    std::uint8_t classPolarity(std::uint32_t node) const;
    std::uint8_t ownAlways(std::uint32_t node) const { return m_ownAlways[node]; }

    /// The first evidence of that polarity in the class of `node`; null when none.
    const Witness *yearWitness(std::uint32_t node) const;
    const Witness *nonYearWitness(std::uint32_t node) const;

    /// Class representatives that gained a polarity since the last call.
    std::vector<std::uint32_t> takeChangedClasses();

private:
    ByteGraph &m_graph;
    std::vector<std::uint8_t> m_classPolarity; ///< by class representative
    std::vector<std::uint8_t> m_ownAlways;     ///< by node
    std::vector<std::uint32_t> m_yearWitness;  ///< by class representative
    std::vector<std::uint32_t> m_nonYearWitness;
    std::vector<Witness> m_witnesses;
    std::vector<std::uint32_t> m_changed;
};

} // namespace kelmkpu
