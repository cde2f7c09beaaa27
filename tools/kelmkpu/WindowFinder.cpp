#include "WindowFinder.h"

#include "ByteGraph.h"
#include "EvidenceStore.h"
#include "NumericLayout.h"

#include <algorithm>

namespace kelmkpu {

namespace {

bool hasConstantRefMod(const Operand &operand)
{
    return operand.refStart > 0 && !operand.variableRefMod;
}

} // namespace

WindowFinder::WindowFinder(const ProgramModel &model,
                           ByteGraph &graph,
                           const EvidenceStore &evidence)
    : m_model(model)
    , m_graph(graph)
    , m_evidence(evidence)
{}

std::uint32_t WindowFinder::yearDigits(const Operand &operand)
{
    if (!operand.isItem())
        return 0;
    const DataItem &item = m_model.items[operand.item];
    m_graph.operandNodes(m_model, operand, ByteGraph::ByteSelection::Value, m_nodes);
    const std::vector<std::uint32_t> &nodes = m_nodes;
    const bool opaque = !hasConstantRefMod(operand)
                        && (item.category == ItemCategory::NumericPacked
                            || item.category == ItemCategory::NumericBinary);
    if (opaque) {
        bool anyYear = false;
        for (std::uint32_t node : nodes)
            anyYear = anyYear || (m_evidence.classPolarity(node) & PolarityYear);
        const int whole = static_cast<int>(item.digits) - item.scale;
        if (!anyYear)
            return 0;
        if (whole <= 2 || whole == 5 || whole == 6)
            return 2;
        return whole == 4 || whole == 7 || whole == 8 ? 4 : 0;
    }
    std::uint32_t leading = 0;
    while (leading < nodes.size() && (m_evidence.classPolarity(nodes[leading]) & PolarityYear))
        ++leading;
    return leading >= 4 ? 4 : (leading >= 2 ? 2 : 0);
}

std::vector<WindowSite> WindowFinder::windows()
{
    std::vector<WindowSite> windows;
    for (std::uint32_t s = 0; s < m_model.statements.size(); ++s) {
        const Statement &statement = m_model.statements[s];
        WindowSite site;
        site.statement = s;
        auto noteTwoDigit = [&](const Operand &operand) {
            if (yearDigits(operand) == 2
                && std::find(site.yearItems.begin(), site.yearItems.end(), operand.item)
                       == site.yearItems.end())
                site.yearItems.push_back(operand.item);
        };
        auto names = [&] {
            std::string text;
            for (std::uint32_t item : site.yearItems)
                text += (text.empty() ? "" : ", ") + m_model.items[item].name;
            return text;
        };
        switch (statement.kind) {
        case StatementKind::Compare:
            for (const Operand &operand : statement.operands)
                noteTwoDigit(operand);
            if (!site.yearItems.empty())
                site.reason = "comparison with a two-digit year (" + names()
                              + "): 00 would order before 99 without a window";
            break;
        case StatementKind::Arithmetic:
            for (const Operand &operand : statement.operands)
                noteTwoDigit(operand);
            for (const Term &term : statement.terms)
                noteTwoDigit(term.operand);
            if (!site.yearItems.empty())
                site.reason = "arithmetic on a two-digit year (" + names()
                              + "): results cross the century wrongly";
            break;
        case StatementKind::Move: {
            if (statement.operands.size() < 2 || yearDigits(statement.operands.front()) != 2)
                break;
            const Operand &from = statement.operands.front();
            const DataItem &sender = m_model.items[from.item];
            for (std::size_t r = 1; r < statement.operands.size(); ++r) {
                const Operand &to = statement.operands[r];
                if (!to.isItem() || hasConstantRefMod(to))
                    continue;
                const DataItem &receiver = m_model.items[to.item];
                const bool wider = NumericLayout::isNumeric(sender)
                                   && NumericLayout::isNumeric(receiver)
                                   && int(receiver.digits) - receiver.scale
                                          > int(sender.digits) - sender.scale;
                bool receivesYear = false;
                for (std::uint32_t node :
                     m_graph.operandNodes(m_model, to, ByteGraph::ByteSelection::Value))
                    receivesYear = receivesYear || (m_evidence.classPolarity(node) & PolarityYear);
                if (wider && receivesYear) {
                    site.yearItems = {from.item};
                    site.reason = "two-digit year " + sender.name + " moved into the wider "
                                  + receiver.name + ": the century must come from a window";
                    break;
                }
            }
            break;
        }
        case StatementKind::AcceptDate:
        case StatementKind::NonYearUse:
        case StatementKind::YearUse:
        case StatementKind::Other:
            break;
        }
        if (!site.reason.empty())
            windows.push_back(std::move(site));
    }
    return windows;
}

std::vector<Message> WindowFinder::loggedStatements()
{
    std::vector<Message> messages;
    auto firstYear = [&](const std::vector<Operand> &operands,
                         std::size_t from) -> const DataItem * {
        for (std::size_t i = from; i < operands.size(); ++i) {
            if (!operands[i].isItem())
                continue;
            for (std::uint32_t node :
                 m_graph.operandNodes(m_model, operands[i], ByteGraph::ByteSelection::Value))
                if (m_evidence.classPolarity(node) & PolarityYear)
                    return &m_model.items[operands[i].item];
        }
        return nullptr;
    };
    for (const Statement &statement : m_model.statements) {
        if (statement.kind == StatementKind::Move && !statement.operands.empty()
            && !statement.operands.front().isItem()) {
            if (const DataItem *year = firstYear(statement.operands, 1))
                messages.push_back({Severity::Note,
                                    statement.pos,
                                    "a literal is moved into the year " + year->name
                                        + " (a sentinel?); not windowed: " + statement.text});
        } else if (statement.kind == StatementKind::Other) {
            if (const DataItem *year = firstYear(statement.operands, 0))
                messages.push_back(
                    {Severity::Note,
                     statement.pos,
                     "the year " + year->name
                         + " is taken apart or built as text; not converted: " + statement.text});
        }
    }
    return messages;
}

} // namespace kelmkpu
