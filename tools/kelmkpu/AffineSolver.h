#pragma once

#include "AnalysisResult.h"
#include "ProgramModel.h"

#include <cstdint>
#include <set>
#include <vector>

namespace kelmkpu {

class ByteGraph;
class EvidenceStore;

/// The affine rule for ADD, SUBTRACT and COMPUTE: years are points and differences are vectors.
/// For result = sum of sign * term, k is the sum of the signs of the year terms: k = 1 makes the
/// result a year, k = 0 (a year pair) a non-year, anything else is suspicious. Backwards, a year
/// result whose other terms are all non-years makes the remaining positive term a year, and a
/// non-year result whose known year terms leave k = 1 (or -1) makes the remaining term of the
/// opposite sign a year.
///
/// Sites are re-evaluated from a worklist when a class they touch gains a polarity. A site whose
/// forward rule would need to treat unknown terms as non-years waits until nothing else can be
/// learnt (strict sites first), then fires in statement order: complete knowledge goes first, so
/// fewer guesses turn into false conflicts, and the order is fixed.
class AffineSolver final
{
public:
    AffineSolver(const ProgramModel &model, ByteGraph &graph, EvidenceStore &evidence);

    /// Runs the worklist until nothing changes.
    void solve();

    /// Suspicious arithmetic on years (after solve()), one message per statement.
    std::vector<Message> suspiciousSites() const;

private:
    enum class Status { Unknown, Year, NonYear, Mixed };

    struct Site
    {
        std::uint32_t statement = 0;
        std::vector<std::uint32_t> resultNodes;
        std::vector<std::vector<std::uint32_t>> termNodes; ///< linear terms only
        std::vector<int> termSigns;
        std::vector<std::uint32_t> nonlinearNodes;
    };

    Status status(const std::vector<std::uint32_t> &nodes) const;
    void evaluate(std::uint32_t site, bool lenient);
    void apply(const std::vector<std::uint32_t> &nodes,
               std::uint8_t polarity,
               std::uint32_t statement);
    void enqueueChanged();

    const ProgramModel &m_model;
    ByteGraph &m_graph;
    EvidenceStore &m_evidence;
    std::vector<Site> m_sites;
    std::vector<std::uint32_t>
        m_classSitesStart; ///< compressed rows: class representative -> sites
    std::vector<std::uint32_t> m_classSites;
    std::vector<std::uint32_t> m_strict;
    std::vector<std::uint8_t> m_inStrict;
    std::set<std::uint32_t> m_lenient;
};

} // namespace kelmkpu
