#include "AffineSolver.h"

#include "ByteGraph.h"
#include "EvidenceStore.h"

#include <algorithm>
#include <utility>

namespace kelmkpu {

AffineSolver::AffineSolver(const ProgramModel &model, ByteGraph &graph, EvidenceStore &evidence)
    : m_model(model)
    , m_graph(graph)
    , m_evidence(evidence)
{
    using Sel = ByteGraph::ByteSelection;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> classSite;
    for (std::uint32_t s = 0; s < model.statements.size(); ++s) {
        const Statement &statement = model.statements[s];
        if (statement.kind != StatementKind::Arithmetic)
            continue;
        for (const Operand &result : statement.operands) {
            Site site;
            site.statement = s;
            site.resultNodes = graph.operandNodes(model, result, Sel::Value);
            if (site.resultNodes.empty())
                continue;
            for (const Term &term : statement.terms) {
                std::vector<std::uint32_t> nodes = graph.operandNodes(model,
                                                                      term.operand,
                                                                      Sel::Value);
                if (nodes.empty())
                    continue; // literals carry no evidence
                if (term.linear) {
                    site.termNodes.push_back(std::move(nodes));
                    site.termSigns.push_back(term.sign < 0 ? -1 : 1);
                } else {
                    site.nonlinearNodes.insert(site.nonlinearNodes.end(),
                                               nodes.begin(),
                                               nodes.end());
                }
            }
            const auto index = static_cast<std::uint32_t>(m_sites.size());
            auto note = [&](const std::vector<std::uint32_t> &nodes) {
                for (std::uint32_t node : nodes)
                    classSite.emplace_back(graph.find(node), index);
            };
            note(site.resultNodes);
            for (const auto &nodes : site.termNodes)
                note(nodes);
            m_sites.push_back(std::move(site));
        }
    }
    std::sort(classSite.begin(), classSite.end());
    classSite.erase(std::unique(classSite.begin(), classSite.end()), classSite.end());
    const std::uint32_t n = graph.nodeCount();
    m_classSitesStart.assign(std::size_t(n) + 1, 0);
    for (const auto &[cls, site] : classSite)
        ++m_classSitesStart[cls + 1];
    for (std::uint32_t i = 0; i < n; ++i)
        m_classSitesStart[i + 1] += m_classSitesStart[i];
    m_classSites.reserve(classSite.size());
    for (const auto &[cls, site] : classSite)
        m_classSites.push_back(site);
    m_inStrict.assign(m_sites.size(), 0);
}

AffineSolver::Status AffineSolver::status(const std::vector<std::uint32_t> &nodes) const
{
    bool allYear = true;
    bool allNonYear = true;
    std::uint8_t any = PolarityNone;
    for (std::uint32_t node : nodes) {
        const std::uint8_t polarity = m_evidence.classPolarity(node);
        any |= polarity;
        allYear = allYear && (polarity & PolarityYear);
        allNonYear = allNonYear && (polarity & PolarityNonYear);
    }
    if (any == PolarityNone)
        return Status::Unknown;
    if (any == PolarityYear && allYear)
        return Status::Year;
    if (any == PolarityNonYear && allNonYear)
        return Status::NonYear;
    return Status::Mixed;
}

void AffineSolver::apply(const std::vector<std::uint32_t> &nodes,
                         std::uint8_t polarity,
                         std::uint32_t statement)
{
    const Statement &s = m_model.statements[statement];
    for (std::uint32_t node : nodes)
        m_evidence.add(node, polarity, Strength::Used, s.pos, s.text);
}

void AffineSolver::enqueueChanged()
{
    for (std::uint32_t cls : m_evidence.takeChangedClasses()) {
        for (std::uint32_t k = m_classSitesStart[cls]; k < m_classSitesStart[cls + 1]; ++k) {
            const std::uint32_t site = m_classSites[k];
            if (!m_inStrict[site]) {
                m_inStrict[site] = 1;
                m_strict.push_back(site);
            }
        }
    }
}

void AffineSolver::evaluate(std::uint32_t index, bool lenient)
{
    const Site &site = m_sites[index];
    const Status result = status(site.resultNodes);
    int k = 0;
    int years = 0;
    int unknown = 0;
    int mixed = 0;
    std::size_t lastUnknown = 0;
    for (std::size_t t = 0; t < site.termNodes.size(); ++t) {
        switch (status(site.termNodes[t])) {
        case Status::Year:
            k += site.termSigns[t];
            ++years;
            break;
        case Status::Unknown:
            ++unknown;
            lastUnknown = t;
            break;
        case Status::Mixed:
            ++mixed;
            break;
        case Status::NonYear:
            break;
        }
    }
    if (years > 0 && (k == 0 || k == 1)) {
        if (unknown == 0 && mixed == 0) {
            apply(site.resultNodes, k == 1 ? PolarityYear : PolarityNonYear, site.statement);
        } else if (lenient) {
            // Unknown terms are taken as non-years (offsets, counts).
            apply(site.resultNodes, k == 1 ? PolarityYear : PolarityNonYear, site.statement);
        } else {
            m_lenient.insert(index);
        }
    }
    if (unknown == 1 && mixed == 0) {
        const int sign = site.termSigns[lastUnknown];
        if (result == Status::Year && years == 0 && sign == 1)
            apply(site.termNodes[lastUnknown], PolarityYear, site.statement);
        else if (result == Status::NonYear && k != 0 && k + sign == 0)
            apply(site.termNodes[lastUnknown], PolarityYear, site.statement);
    }
}

void AffineSolver::solve()
{
    m_evidence.takeChangedClasses();
    for (std::uint32_t s = 0; s < m_sites.size(); ++s) {
        m_inStrict[s] = 1;
        m_strict.push_back(s);
    }
    for (;;) {
        // FIFO over a growing vector; the read position restarts when it is drained.
        for (std::size_t next = 0; next < m_strict.size(); ++next) {
            const std::uint32_t site = m_strict[next];
            m_inStrict[site] = 0;
            evaluate(site, /*lenient=*/false);
            enqueueChanged();
        }
        m_strict.clear();
        if (m_lenient.empty())
            break;
        const std::uint32_t site = *m_lenient.begin();
        m_lenient.erase(m_lenient.begin());
        evaluate(site, /*lenient=*/true);
        enqueueChanged();
    }
}

std::vector<Message> AffineSolver::suspiciousSites() const
{
    std::vector<Message> messages;
    std::uint32_t lastStatement = noIndex;
    for (const Site &site : m_sites) {
        if (site.statement == lastStatement)
            continue;
        const Statement &statement = m_model.statements[site.statement];
        int k = 0;
        int years = 0;
        for (std::size_t t = 0; t < site.termNodes.size(); ++t) {
            if (status(site.termNodes[t]) == Status::Year) {
                k += site.termSigns[t];
                ++years;
            }
        }
        if (years > 0 && k != 0 && k != 1) {
            messages.push_back({Severity::Warning,
                                statement.pos,
                                "suspicious arithmetic on years: the year terms add up to "
                                    + std::to_string(k) + " years (" + statement.text + ")"});
            lastStatement = site.statement;
        } else if (!site.nonlinearNodes.empty() && status(site.nonlinearNodes) == Status::Year) {
            messages.push_back(
                {Severity::Note,
                 statement.pos,
                 "a year is multiplied or divided; no evidence taken (" + statement.text + ")"});
            lastStatement = site.statement;
        }
    }
    return messages;
}

} // namespace kelmkpu
