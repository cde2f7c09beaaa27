#pragma once

#include "AnalysisResult.h"
#include "ByteGraph.h"
#include "ProgramModel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelmkpu {

class EvidenceStore;
class SeedFile;

/// Infers the date fields of one program from its statement facts, the seed blocks and
/// (optionally) its declarations. Bytes that flow into one another are joined into classes;
/// evidence on any byte of a class holds for the whole class; the affine rule adds evidence until
/// nothing changes. README.md lists the rules.
class DateFieldAnalyzer final
{
public:
    enum class Declarations { On, Off };

    explicit DateFieldAnalyzer(const ProgramModel &model);
    ~DateFieldAnalyzer();

    /// Empty when the model can be analysed; otherwise what is wrong with it (an item outside
    /// its storage area, storage too large, an index out of range).
    static std::string validate(const ProgramModel &model);

    /// Runs the analysis once; `model` must have passed validate().
    AnalysisResult run(const SeedFile &seeds, Declarations declarations);

private:
    /// The operand's nodes, in `out` (one of the scratch buffers below, reused).
    const std::vector<std::uint32_t> &nodesOf(const Operand &operand,
                                              ByteGraph::ByteSelection selection,
                                              std::vector<std::uint32_t> &out) const;
    void uniteFlow(const Operand &from, const Operand &to, std::uint32_t statement);
    void applySeeds(const SeedFile &seeds);
    void applyDeclarations();
    void applyStatementEvidence();

    void collectFields(AnalysisResult &result);
    void collectIncludes(AnalysisResult &result);
    void collectConflicts(AnalysisResult &result);
    void collectCandidates();
    std::uint32_t itemNode(const DataItem &item, std::uint64_t offset) const;

    const ProgramModel &m_model;
    ByteGraph m_graph;
    std::unique_ptr<EvidenceStore> m_evidence;
    std::vector<std::vector<std::uint32_t>>
        m_includeItems; ///< per include: its mapped elementary items
    std::vector<Message> m_messages;
    std::vector<std::uint32_t> m_nodesA; ///< scratch buffers for operands' nodes
    std::vector<std::uint32_t> m_nodesB;
};

} // namespace kelmkpu
