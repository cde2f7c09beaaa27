#include "ExecutionUnitFlowBuilder.h"

#include "DbEu.h"
#include "DbNode.h"
#include "DbPu.h"
#include "DbPuEntryTable.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "ProgramFlowBuilder.h"

#include <map>
#include <set>

namespace {

using ArcKind = FlowGraph::ArcKind;

struct Call
{
    std::string name;
    ArcKind kind;
    std::uint32_t token;
};

/// The CALLs of `pu` whose program names are known, and how many are not.
std::vector<Call> callsOf(const DbPu &pu, int &unresolved)
{
    std::map<const DbSymbol *, std::set<std::string>> moved; // MOVE 'literal' TO identifier
    std::vector<std::pair<const DbToken *, std::uint32_t>> dynamic;
    std::vector<Call> calls;
    for (std::uint32_t n = 1; n <= pu.numberOfNodes(); ++n) {
        const DbNode *node = pu.numberToNode(n);
        if (node->kind() != DbNode::statement)
            continue;
        const std::vector<const DbToken *> words = ProgramFlowBuilder::ownTokens(pu, *node);
        if (words.size() < 2)
            continue;
        const std::string verb = ProgramFlowBuilder::upper(words[0]->text());
        if (verb == "MOVE" && words[1]->type() == DbToken::literal) {
            for (std::size_t i = 2; i < words.size(); ++i)
                if (words[i]->hasDataSymbol())
                    moved[words[i]->dataSymbol()].insert(
                        ExecutionUnitFlowBuilder::unquote(words[1]->text()));
        } else if (verb == "CALL") {
            const DbToken *target = words[1];
            const std::uint32_t token = pu.tokenToNumber(words[0]);
            if (target->type() == DbToken::literal)
                calls.push_back({ExecutionUnitFlowBuilder::unquote(target->text()),
                                 ArcKind::staticCall,
                                 token});
            else
                dynamic.push_back({target, token});
        }
    }
    for (const auto &[target, token] : dynamic) {
        std::set<std::string> names;
        if (const DbSymbol *symbol = target->dataSymbol()) {
            if (!symbol->value().empty())
                names.insert(ExecutionUnitFlowBuilder::unquote(symbol->value()));
            if (const auto found = moved.find(symbol); found != moved.end())
                names.insert(found->second.begin(), found->second.end());
        }
        names.erase("");
        if (names.empty())
            ++unresolved;
        for (const std::string &name : names)
            calls.push_back({name, ArcKind::dynamicCall, token});
    }
    return calls;
}

} // namespace

std::string ExecutionUnitFlowBuilder::unquote(const std::string &literal)
{
    if (literal.size() >= 2 && (literal.front() == '\'' || literal.front() == '"')
        && literal.back() == literal.front())
        return literal.substr(1, literal.size() - 2);
    return literal;
}

FlowGraph ExecutionUnitFlowBuilder::build(DbEu &eu, Copybooks copybooks)
{
    FlowGraph graph;
    graph.title = eu.euName();
    const std::uint32_t units = static_cast<std::uint32_t>(eu.numberOfUnits());
    std::map<std::string, int> programOf; // upper-case name -> node
    for (std::uint32_t u = 1; u <= units; ++u) {
        DbPu *pu = eu.numberToPu(u);
        FlowGraph::Node node;
        node.kind = FlowGraph::NodeKind::program;
        node.name = pu->puName();
        node.unitNumber = u;
        node.note = pu->sourceFileName();
        programOf.try_emplace(ProgramFlowBuilder::upper(node.name), graph.nodes.size());
        graph.nodes.push_back(std::move(node));
    }
    std::map<std::string, int> copybookOf;
    std::set<std::pair<int, int>> copied;
    std::vector<int> callers(graph.nodes.size(), 0);
    for (std::uint32_t u = 1; u <= units; ++u) {
        DbPu *pu = eu.numberToPu(u);
        const int from = static_cast<int>(u - 1);
        if (!pu->load()) {
            graph.nodes[from].note += "\nnot loaded: " + pu->loadError();
            continue;
        }
        int unresolved = 0;
        std::set<std::pair<std::string, ArcKind>> drawn;
        for (const Call &call : callsOf(*pu, unresolved)) {
            const std::string key = ProgramFlowBuilder::upper(call.name);
            if (!drawn.insert({key, call.kind}).second)
                continue;
            auto [it, added] = programOf.try_emplace(key, graph.nodes.size());
            if (added) {
                FlowGraph::Node external;
                external.kind = FlowGraph::NodeKind::externalProgram;
                external.name = call.name;
                external.note = "not in the execution unit";
                graph.nodes.push_back(std::move(external));
                callers.push_back(0);
            }
            if (it->second != from)
                ++callers[it->second];
            graph.arcs.push_back({from, it->second, call.kind, call.token, {}});
        }
        if (unresolved > 0)
            graph.nodes[from].note += "\n" + std::to_string(unresolved)
                                      + " CALL of an identifier without a known program name";
        for (std::uint32_t n = 1; n <= pu->numberOfNodes(); ++n) {
            const DbNode *node = pu->numberToNode(n);
            if (node->kind() != DbNode::statement)
                continue;
            const std::vector<const DbToken *> words = ProgramFlowBuilder::ownTokens(*pu, *node);
            if (words.size() > 1 && ProgramFlowBuilder::upper(words[0]->text()) == "STOP"
                && ProgramFlowBuilder::upper(words[1]->text()) == "RUN")
                graph.nodes[from].end = FlowGraph::EndKind::stopRun;
        }
        if (copybooks == Copybooks::hidden)
            continue;
        for (std::size_t i = 1; i < pu->includes().size(); ++i) {
            const std::string &name = pu->includes()[i].copybook;
            if (name.empty())
                continue;
            auto [it, added] = copybookOf.try_emplace(ProgramFlowBuilder::upper(name),
                                                      graph.nodes.size());
            if (added) {
                FlowGraph::Node book;
                book.kind = FlowGraph::NodeKind::copybook;
                book.name = name;
                graph.nodes.push_back(std::move(book));
                callers.push_back(0);
            }
            if (copied.insert({from, it->second}).second)
                graph.arcs.push_back({from, it->second, ArcKind::copies, 0, {}});
        }
    }
    bool anyEntry = false;
    for (std::size_t i = 0; i < graph.nodes.size(); ++i)
        if (graph.nodes[i].kind == FlowGraph::NodeKind::program && callers[i] == 0)
            anyEntry = graph.nodes[i].entry = true;
    if (!anyEntry && !graph.nodes.empty())
        graph.nodes.front().entry = true;
    graph.computeReachability();
    std::map<int, int> users;
    for (const FlowGraph::Arc &arc : graph.arcs)
        if (arc.kind == ArcKind::copies)
            ++users[arc.to];
    for (FlowGraph::Node &node : graph.nodes)
        if (node.kind == FlowGraph::NodeKind::copybook)
            node.reachable = true;
    for (const auto &[book, count] : users)
        graph.nodes[book].note = count > 1
                                     ? "copybook shared by " + std::to_string(count) + " programs"
                                     : "copybook of one program";
    return graph;
}
