#include "LayeredLayout.h"

#include "FlowGraph.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace {

bool ranked(const FlowGraph::Arc &arc)
{
    return arc.from != arc.to && arc.kind != FlowGraph::ArcKind::performReturn
           && arc.kind != FlowGraph::ArcKind::alter;
}

/// The layered graph: the real nodes first, then the bend points of long arcs.
struct Layered
{
    int realCount = 0;
    std::vector<int> layer;
    std::vector<double> width;
    std::vector<std::vector<int>> up;   ///< neighbours one layer higher
    std::vector<std::vector<int>> down; ///< neighbours one layer lower
    std::vector<std::vector<int>> layers;
    std::vector<int> position; ///< index within its layer

    int add(int inLayer, double w)
    {
        layer.push_back(inLayer);
        width.push_back(w);
        up.emplace_back();
        down.emplace_back();
        return static_cast<int>(layer.size()) - 1;
    }
    void link(int upper, int lower)
    {
        down[upper].push_back(lower);
        up[lower].push_back(upper);
    }
};

/// Reverses the arcs that close a cycle in a depth-first walk from the entries (then from every
/// node not yet seen), so the rest is acyclic.
std::vector<std::pair<int, int>> acyclicEdges(const FlowGraph &graph,
                                              std::vector<std::pair<int, int>> edges,
                                              std::vector<char> &reversed)
{
    const int n = static_cast<int>(graph.nodes.size());
    std::vector<std::vector<int>> out(n);
    for (int e = 0; e < static_cast<int>(edges.size()); ++e)
        out[edges[e].first].push_back(e);
    std::vector<char> state(n, 0); // 0 new, 1 on the stack, 2 done
    reversed.assign(edges.size(), 0);
    auto walk = [&](int start) {
        if (state[start])
            return;
        std::vector<std::pair<int, std::size_t>> stack{{start, 0}};
        state[start] = 1;
        while (!stack.empty()) {
            auto &[node, next] = stack.back();
            if (next == out[node].size()) {
                state[node] = 2;
                stack.pop_back();
                continue;
            }
            const int e = out[node][next++];
            const int target = edges[e].second;
            if (state[target] == 1)
                reversed[e] = 1;
            else if (state[target] == 0) {
                state[target] = 1;
                stack.push_back({target, 0});
            }
        }
    };
    for (int i = 0; i < n; ++i)
        if (graph.nodes[i].entry)
            walk(i);
    for (int i = 0; i < n; ++i)
        walk(i);
    for (std::size_t e = 0; e < edges.size(); ++e)
        if (reversed[e])
            std::swap(edges[e].first, edges[e].second);
    return edges;
}

/// Longest-path layers; a node without predecessors moves down next to its highest successor.
std::vector<int> assignLayers(int n, const std::vector<std::pair<int, int>> &dag)
{
    std::vector<std::vector<int>> out(n), in(n);
    std::vector<int> indegree(n, 0);
    for (const auto &[a, b] : dag) {
        out[a].push_back(b);
        in[b].push_back(a);
        ++indegree[b];
    }
    std::vector<int> order;
    order.reserve(n);
    for (int i = 0; i < n; ++i)
        if (indegree[i] == 0)
            order.push_back(i);
    for (std::size_t k = 0; k < order.size(); ++k)
        for (int b : out[order[k]])
            if (--indegree[b] == 0)
                order.push_back(b);
    std::vector<int> layer(n, 0);
    for (int v : order)
        for (int b : out[v])
            layer[b] = std::max(layer[b], layer[v] + 1);
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const int v = *it;
        if (!in[v].empty() || out[v].empty())
            continue;
        int lowest = layer[out[v].front()];
        for (int b : out[v])
            lowest = std::min(lowest, layer[b]);
        layer[v] = std::max(layer[v], lowest - 1);
    }
    return layer;
}

long long layerCrossings(const Layered &g, int upperLayer)
{
    std::vector<std::pair<int, int>> edges;
    for (int v : g.layers[upperLayer])
        for (int w : g.down[v])
            edges.push_back({g.position[v], g.position[w]});
    return LayeredLayout::countCrossings(std::move(edges),
                                         static_cast<int>(g.layers[upperLayer + 1].size()));
}

long long totalCrossings(const Layered &g)
{
    long long total = 0;
    for (int l = 0; l + 1 < static_cast<int>(g.layers.size()); ++l)
        total += layerCrossings(g, l);
    return total;
}

void sortByBarycentre(Layered &g, int l, bool fromAbove)
{
    std::vector<int> &row = g.layers[l];
    std::vector<double> key(row.size());
    for (std::size_t i = 0; i < row.size(); ++i) {
        const std::vector<int> &neighbours = fromAbove ? g.up[row[i]] : g.down[row[i]];
        if (neighbours.empty()) {
            key[i] = static_cast<double>(i);
            continue;
        }
        double sum = 0;
        for (int w : neighbours)
            sum += g.position[w];
        key[i] = sum / static_cast<double>(neighbours.size());
    }
    std::vector<std::size_t> index(row.size());
    std::iota(index.begin(), index.end(), 0);
    std::stable_sort(index.begin(), index.end(), [&](std::size_t a, std::size_t b) {
        return key[a] < key[b];
    });
    std::vector<int> sorted(row.size());
    for (std::size_t i = 0; i < index.size(); ++i)
        sorted[i] = row[index[i]];
    row = std::move(sorted);
    for (std::size_t i = 0; i < row.size(); ++i)
        g.position[row[i]] = static_cast<int>(i);
}

void reduceCrossings(Layered &g, int sweeps)
{
    std::vector<std::vector<int>> best = g.layers;
    long long bestCount = totalCrossings(g);
    const int count = static_cast<int>(g.layers.size());
    for (int s = 0; s < sweeps && bestCount > 0; ++s) {
        const bool downwards = s % 2 == 0;
        if (downwards)
            for (int l = 1; l < count; ++l)
                sortByBarycentre(g, l, true);
        else
            for (int l = count - 2; l >= 0; --l)
                sortByBarycentre(g, l, false);
        const long long now = totalCrossings(g);
        if (now < bestCount) {
            bestCount = now;
            best = g.layers;
        }
    }
    g.layers = std::move(best);
    for (const std::vector<int> &row : g.layers)
        for (std::size_t i = 0; i < row.size(); ++i)
            g.position[row[i]] = static_cast<int>(i);
}

/// Places the nodes of one layer as near to `desired` as their separations allow: the least
/// squares fit under x[i+1] - x[i] >= gap[i], by pooling adjacent violators.
void fitRow(const std::vector<double> &desired,
            const std::vector<double> &gaps,
            std::vector<double> &x)
{
    const std::size_t n = desired.size();
    std::vector<double> offset(n, 0);
    for (std::size_t i = 1; i < n; ++i)
        offset[i] = offset[i - 1] + gaps[i - 1];
    struct Block
    {
        double sum;
        int count;
    };
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < n; ++i) {
        blocks.push_back({desired[i] - offset[i], 1});
        while (blocks.size() > 1) {
            const Block &last = blocks.back();
            const Block &before = blocks[blocks.size() - 2];
            if (before.sum / before.count <= last.sum / last.count)
                break;
            const Block merged{before.sum + last.sum, before.count + last.count};
            blocks.pop_back();
            blocks.back() = merged;
        }
    }
    x.resize(n);
    std::size_t i = 0;
    for (const Block &b : blocks)
        for (int k = 0; k < b.count; ++k, ++i)
            x[i] = b.sum / b.count + offset[i];
}

std::vector<double> placeColumns(const Layered &g, const LayoutOptions &options)
{
    std::vector<double> x(g.layer.size(), 0);
    auto gap = [&](int a, int b) {
        const bool real = a < g.realCount && b < g.realCount;
        return g.width[a] / 2 + g.width[b] / 2 + (real ? options.nodeGap : options.dummyGap);
    };
    for (const std::vector<int> &row : g.layers) {
        double at = 0;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                at += gap(row[i - 1], row[i]);
            x[row[i]] = at;
        }
    }
    auto sweep = [&](int l, bool useUp, bool useDown) {
        const std::vector<int> &row = g.layers[l];
        std::vector<double> desired(row.size()), gaps(row.size() ? row.size() - 1 : 0), placed;
        for (std::size_t i = 0; i < row.size(); ++i) {
            double sum = 0;
            int count = 0;
            if (useUp)
                for (int w : g.up[row[i]])
                    sum += x[w], ++count;
            if (useDown)
                for (int w : g.down[row[i]])
                    sum += x[w], ++count;
            desired[i] = count ? sum / count : x[row[i]];
            if (i + 1 < row.size())
                gaps[i] = gap(row[i], row[i + 1]);
        }
        fitRow(desired, gaps, placed);
        for (std::size_t i = 0; i < row.size(); ++i)
            x[row[i]] = placed[i];
    };
    const int count = static_cast<int>(g.layers.size());
    for (int s = 0; s < options.placementSweeps; ++s) {
        if (s % 2 == 0)
            for (int l = 1; l < count; ++l)
                sweep(l, true, false);
        else
            for (int l = count - 2; l >= 0; --l)
                sweep(l, false, true);
    }
    for (int l = 0; l < count; ++l)
        sweep(l, true, true);
    return x;
}

/// The points of each arc: layered arcs through their bend points (`bends`, by layered-graph
/// vertex), the others as curves beside the nodes.
void routeArcs(const FlowGraph &graph,
               const std::map<std::pair<int, int>, int> &edgeOf,
               const std::vector<char> &reversed,
               const std::vector<std::vector<int>> &chains,
               const std::vector<LayoutPoint> &bends,
               GraphLayout &result)
{
    for (std::size_t a = 0; a < graph.arcs.size(); ++a) {
        const FlowGraph::Arc &arc = graph.arcs[a];
        GraphLayout::Path &path = result.arcs[a];
        const GraphLayout::Box &from = result.nodes[arc.from];
        const GraphLayout::Box &to = result.nodes[arc.to];
        if (!ranked(arc)) {
            path.curved = true;
            path.back = arc.kind == FlowGraph::ArcKind::performReturn;
            path.onLeft = arc.kind == FlowGraph::ArcKind::alter;
            if (path.onLeft)
                path.points = {{from.x, from.centreY()}, {to.x, to.centreY()}};
            else
                path.points = {{from.x + from.width, from.centreY()},
                               {to.x + to.width, to.centreY()}};
            continue;
        }
        const int e = edgeOf.at({arc.from, arc.to});
        path.back = reversed[e] != 0;
        // The chain runs from the upper end down; a back arc walks it upwards.
        std::vector<LayoutPoint> points;
        const GraphLayout::Box &upper = path.back ? to : from;
        const GraphLayout::Box &lower = path.back ? from : to;
        points.push_back({upper.centreX(), upper.y + upper.height});
        for (int bend : chains[e])
            points.push_back(bends[bend]);
        points.push_back({lower.centreX(), lower.y});
        if (path.back)
            std::reverse(points.begin(), points.end());
        path.points = std::move(points);
    }
}

/// Gives each arc its own point on the edge of a node (in the order of where the arcs go), so
/// arcs that leave or enter a node side by side, and parallel arcs, stay apart.
void spreadPorts(const FlowGraph &graph, GraphLayout &result)
{
    struct Port
    {
        std::size_t arc;
        bool atStart;
        double towards;
    };
    const std::size_t n = graph.nodes.size();
    std::vector<std::vector<Port>> top(n), bottom(n);
    for (std::size_t a = 0; a < result.arcs.size(); ++a) {
        const GraphLayout::Path &path = result.arcs[a];
        if (path.curved || path.points.size() < 2)
            continue;
        const std::vector<LayoutPoint> &p = path.points;
        const LayoutPoint &second = p[1];
        const LayoutPoint &beforeLast = p[p.size() - 2];
        (second.y > p.front().y ? bottom : top)[graph.arcs[a].from].push_back({a, true, second.x});
        (beforeLast.y < p.back().y ? top : bottom)[graph.arcs[a].to].push_back(
            {a, false, beforeLast.x});
    }
    auto place = [&](std::vector<Port> &ports, const GraphLayout::Box &box) {
        if (ports.size() < 2)
            return;
        std::stable_sort(ports.begin(), ports.end(), [](const Port &a, const Port &b) {
            return a.towards < b.towards;
        });
        const double used = box.width * 0.7;
        const double step = used / static_cast<double>(ports.size() - 1);
        for (std::size_t k = 0; k < ports.size(); ++k) {
            std::vector<LayoutPoint> &points = result.arcs[ports[k].arc].points;
            (ports[k].atStart ? points.front() : points.back()).x = box.centreX() - used / 2
                                                                    + step * static_cast<double>(k);
        }
    };
    for (std::size_t i = 0; i < n; ++i) {
        place(top[i], result.nodes[i]);
        place(bottom[i], result.nodes[i]);
    }
}

} // namespace

long long LayeredLayout::countCrossings(std::vector<std::pair<int, int>> edges, int lowerSize)
{
    // Sorted by the upper end, crossings are the inversions among the lower ends: counted with
    // a Fenwick tree over the lower layer's positions.
    std::sort(edges.begin(), edges.end());
    std::vector<int> tree(static_cast<std::size_t>(lowerSize) + 1, 0);
    long long crossings = 0;
    long long seen = 0;
    for (const auto &[upper, lower] : edges) {
        long long notAbove = 0; // edges seen whose lower end is <= this one's
        for (int i = lower + 1; i > 0; i -= i & -i)
            notAbove += tree[i];
        crossings += seen - notAbove;
        for (int i = lower + 1; i <= lowerSize; i += i & -i)
            ++tree[i];
        ++seen;
    }
    return crossings;
}

GraphLayout LayeredLayout::layout(const FlowGraph &graph,
                                  const LayoutOptions &options,
                                  const std::vector<double> &textWidths)
{
    GraphLayout result;
    const int n = static_cast<int>(graph.nodes.size());
    result.nodes.resize(n);
    result.arcs.resize(graph.arcs.size());
    if (n == 0)
        return result;

    // One layout edge per ordered pair of nodes, whatever the number of arcs between them.
    std::map<std::pair<int, int>, int> edgeOf;
    std::vector<std::pair<int, int>> edges;
    for (const FlowGraph::Arc &arc : graph.arcs)
        if (ranked(arc) && edgeOf.try_emplace({arc.from, arc.to}, edges.size()).second)
            edges.push_back({arc.from, arc.to});
    std::vector<char> reversed;
    const std::vector<std::pair<int, int>> dag = acyclicEdges(graph, edges, reversed);
    const std::vector<int> layerOf = assignLayers(n, dag);

    Layered g;
    g.realCount = n;
    for (int i = 0; i < n; ++i) {
        const double text = i < static_cast<int>(textWidths.size())
                                ? textWidths[i]
                                : options.charWidth
                                      * static_cast<double>(graph.nodes[i].name.size());
        g.add(layerOf[i], std::max(options.minNodeWidth, text + options.nodePadding));
    }
    // Each edge becomes a chain through one bend point per layer it crosses.
    std::vector<std::vector<int>> chains(dag.size());
    for (std::size_t e = 0; e < dag.size(); ++e) {
        auto [a, b] = dag[e];
        if (layerOf[a] == layerOf[b])
            continue; // cannot happen with longest-path layers; kept safe
        if (layerOf[a] > layerOf[b])
            std::swap(a, b);
        int previous = a;
        for (int l = layerOf[a] + 1; l < layerOf[b]; ++l) {
            const int bend = g.add(l, 0);
            g.link(previous, bend);
            chains[e].push_back(bend);
            previous = bend;
        }
        g.link(previous, b);
    }
    const int layerCount = *std::max_element(g.layer.begin(), g.layer.end()) + 1;
    g.layers.assign(layerCount, {});
    g.position.assign(g.layer.size(), 0);
    for (int v = 0; v < static_cast<int>(g.layer.size()); ++v) {
        g.position[v] = static_cast<int>(g.layers[g.layer[v]].size());
        g.layers[g.layer[v]].push_back(v);
    }
    reduceCrossings(g, options.orderingSweeps);
    std::vector<double> x = placeColumns(g, options);

    double left = 0;
    bool first = true;
    for (int v = 0; v < static_cast<int>(x.size()); ++v)
        if (first || x[v] - g.width[v] / 2 < left) {
            left = x[v] - g.width[v] / 2;
            first = false;
        }
    const double rowHeight = options.nodeHeight + options.layerGap;
    auto centreY = [&](int l) { return options.margin + l * rowHeight + options.nodeHeight / 2; };
    for (int i = 0; i < n; ++i) {
        GraphLayout::Box &box = result.nodes[i];
        box.width = g.width[i];
        box.height = options.nodeHeight;
        box.x = x[i] - g.width[i] / 2 - left + options.margin;
        box.y = centreY(g.layer[i]) - options.nodeHeight / 2;
        box.layer = g.layer[i];
        result.width = std::max(result.width, box.x + box.width + options.margin);
    }
    for (std::size_t v = n; v < x.size(); ++v)
        result.width = std::max(result.width, x[v] - left + 2 * options.margin);
    result.layers = layerCount;
    result.height = 2 * options.margin + layerCount * rowHeight - options.layerGap;
    result.crossings = static_cast<int>(totalCrossings(g));
    result.bendPoints = static_cast<int>(x.size()) - n;

    std::vector<LayoutPoint> bends(x.size());
    for (std::size_t v = n; v < x.size(); ++v)
        bends[v] = {x[v] - left + options.margin, centreY(g.layer[v])};
    routeArcs(graph, edgeOf, reversed, chains, bends, result);
    spreadPorts(graph, result);
    return result;
}
