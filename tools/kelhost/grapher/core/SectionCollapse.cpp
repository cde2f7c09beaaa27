#include "SectionCollapse.h"

#include <map>
#include <tuple>

std::set<int> SectionCollapse::allSections(const FlowGraph &graph)
{
    std::set<int> sections;
    for (int i = 0; i < static_cast<int>(graph.nodes.size()); ++i)
        if (graph.nodes[i].kind == FlowGraph::NodeKind::section)
            sections.insert(i);
    return sections;
}

FlowGraph SectionCollapse::collapse(const FlowGraph &graph,
                                    const std::set<int> &collapsed,
                                    std::vector<int> *origin)
{
    FlowGraph result;
    result.title = graph.title;
    const int count = static_cast<int>(graph.nodes.size());
    std::vector<int> newIndex(count, -1);
    std::vector<int> from;
    for (int i = 0; i < count; ++i) {
        const FlowGraph::Node &node = graph.nodes[i];
        if (node.section >= 0 && collapsed.contains(node.section)) {
            const int folded = newIndex[node.section];
            newIndex[i] = folded;
            FlowGraph::Node &into = result.nodes[folded];
            into.entry = into.entry || node.entry;
            into.reachable = into.reachable || node.reachable;
            if (into.end == FlowGraph::EndKind::none)
                into.end = node.end;
            continue;
        }
        newIndex[i] = static_cast<int>(result.nodes.size());
        result.nodes.push_back(node);
        result.nodes.back().section = node.section >= 0 ? newIndex[node.section] : -1;
        if (collapsed.contains(i) && node.kind == FlowGraph::NodeKind::section) {
            result.nodes.back().kind = FlowGraph::NodeKind::collapsedSection;
            result.nodes.back().note = FlowGraph::kindName(FlowGraph::NodeKind::collapsedSection);
        }
        from.push_back(i);
    }
    std::map<std::tuple<int, int, FlowGraph::ArcKind>, bool> seen;
    for (const FlowGraph::Arc &arc : graph.arcs) {
        FlowGraph::Arc mapped = arc;
        mapped.from = newIndex[arc.from];
        mapped.to = newIndex[arc.to];
        if (mapped.from == mapped.to && arc.from != arc.to)
            continue; // inside a folded section
        if (!seen.try_emplace({mapped.from, mapped.to, mapped.kind}, true).second)
            continue;
        result.arcs.push_back(std::move(mapped));
    }
    std::vector<char> listed(result.nodes.size(), 0);
    for (int i : graph.executionOrder)
        if (!listed[newIndex[i]]) {
            listed[newIndex[i]] = 1;
            result.executionOrder.push_back(newIndex[i]);
        }
    if (origin)
        *origin = std::move(from);
    return result;
}
