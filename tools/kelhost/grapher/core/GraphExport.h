#pragma once

#include <string>

struct FlowGraph;
struct GraphLayout;

/// The graph as a file: Graphviz DOT (the graph alone; Graphviz lays it out again) and SVG (the
/// grapher's own layout, drawn as the window draws it).
class GraphExport final
{
public:
    enum class Returns { hidden, shown };

    /// A `digraph` with one statement per node and arc: entries double-bordered, ends marked in
    /// the label, unreachable nodes grey, arcs styled by kind and labelled with their words.
    static std::string toDot(const FlowGraph &graph, Returns returns = Returns::shown);

    /// A standalone SVG document of `layout` (which must be the layout of `graph`).
    static std::string toSvg(const FlowGraph &graph,
                             const GraphLayout &layout,
                             Returns returns = Returns::shown);

    /// `text` with the characters XML (and DOT strings) treat specially escaped.
    static std::string escapeXml(const std::string &text);
    static std::string escapeDot(const std::string &text);
};
