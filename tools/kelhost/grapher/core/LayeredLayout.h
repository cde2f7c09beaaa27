#pragma once

#include <vector>

struct FlowGraph;

/// Sizes and gaps of a layout, in drawing units (pixels at 100%).
struct LayoutOptions
{
    double charWidth = 7.5; ///< average width of a character of the node font
    double nodeHeight = 34;
    double nodePadding = 24; ///< added to the text width
    double minNodeWidth = 70;
    double layerGap = 54; ///< between the bottom of one layer and the top of the next
    double nodeGap = 26;  ///< between two nodes of a layer
    double dummyGap = 10; ///< beside a bend point of a long arc
    double margin = 20;
    int orderingSweeps = 12; ///< barycentre sweeps (down and up count one each)
    int placementSweeps = 6;
};

struct LayoutPoint
{
    double x = 0;
    double y = 0;
};

/// Where a graph's nodes and arcs are drawn.
struct GraphLayout
{
    struct Box
    {
        double x = 0; ///< left edge
        double y = 0; ///< top edge
        double width = 0;
        double height = 0;
        int layer = 0;
        double centreX() const { return x + width / 2; }
        double centreY() const { return y + height / 2; }
    };
    struct Path
    {
        /// From the arc's source to its target: the source's edge, bends, the target's edge.
        std::vector<LayoutPoint> points;
        /// The arc goes against the layering (a loop's back arc, a return).
        bool back = false;
        /// Not ranked by the layout (returns, ALTER, an arc to itself): drawn as a curve on the
        /// right of the nodes between its two end points.
        bool curved = false;
        /// A curve on the left of the nodes (ALTER) instead of the right (returns, loops).
        bool onLeft = false;
    };
    std::vector<Box> nodes; ///< parallel to FlowGraph::nodes
    std::vector<Path> arcs; ///< parallel to FlowGraph::arcs
    double width = 0;
    double height = 0;
    int layers = 0;
    int crossings = 0; ///< crossings between adjacent layers after ordering
    int bendPoints = 0;
};

/// A layered ("Sugiyama") layout: cycles broken by reversing the back arcs of a depth-first walk
/// from the entries, layers by longest path (sources pulled down next to what they lead to),
/// long arcs split into bend points, crossings reduced by barycentre sweeps (the best order
/// kept), and x positions that put each node over the mean of its neighbours without overlap
/// (an exact least-squares fit per layer). Arcs of the layering point down; only reversed
/// arcs point up. Returns, ALTER arcs and arcs to their own node take no part in the ranking.
class LayeredLayout final
{
public:
    /// Lays out `graph`; `textWidths` (per node, in drawing units) replaces the estimate from
    /// the name's length when given.
    static GraphLayout layout(const FlowGraph &graph,
                              const LayoutOptions &options = {},
                              const std::vector<double> &textWidths = {});

    /// Crossings of the straight segments between two adjacent layers: `edges` hold the upper
    /// and the lower end's position in their layers.
    static long long countCrossings(std::vector<std::pair<int, int>> edges, int lowerSize);
};
