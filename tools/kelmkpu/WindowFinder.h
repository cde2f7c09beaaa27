#pragma once

#include "AnalysisResult.h"
#include "ProgramModel.h"

#include <cstdint>
#include <vector>

namespace kelmkpu {

class ByteGraph;
class EvidenceStore;

/// After the inference: the statements the conversion aid must window (comparisons and arithmetic
/// with two-digit years, two-digit years moved into wider years) and the statements only worth a
/// note (literals moved into years, years in STRING/UNSTRING).
class WindowFinder final
{
public:
    WindowFinder(const ProgramModel &model, ByteGraph &graph, const EvidenceStore &evidence);

    /// In statement order.
    std::vector<WindowSite> windows();
    std::vector<Message> loggedStatements();

private:
    /// 2 for a two-digit year or a year-first date with a two-digit year, 4 for a four-digit
    /// year, 0 when the operand holds no year at its start.
    std::uint32_t yearDigits(const Operand &operand);

    const ProgramModel &m_model;
    ByteGraph &m_graph;
    const EvidenceStore &m_evidence;
    std::vector<std::uint32_t> m_nodes; ///< scratch buffer for an operand's nodes
};

} // namespace kelmkpu
