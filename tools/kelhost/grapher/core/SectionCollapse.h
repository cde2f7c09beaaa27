#pragma once

#include "FlowGraph.h"

#include <set>
#include <vector>

/// Shows sections as single nodes: a unit of thousands of paragraphs stays readable when its
/// sections are folded, and the user unfolds the ones of interest.
class SectionCollapse final
{
public:
    /// `graph` with every section node in `collapsed` (indices into `graph.nodes`) merged with
    /// its paragraphs into one node. Arcs inside a folded section go; arcs into or out of it
    /// end at the folded node (one arc per kind and pair of nodes). A folded section is an entry,
    /// an end or reachable when one of its nodes is. `origin` receives, per node of the result,
    /// the index of the node it stands for in `graph` (the section node when folded).
    static FlowGraph collapse(const FlowGraph &graph,
                              const std::set<int> &collapsed,
                              std::vector<int> *origin = nullptr);

    /// The indices of all section nodes of `graph`.
    static std::set<int> allSections(const FlowGraph &graph);

    /// Whether a graph of `nodeCount` nodes opens with its sections folded.
    static bool foldsWhenOpened(const FlowGraph &graph) { return graph.nodes.size() > 400; }
};
