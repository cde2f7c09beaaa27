#include "LayeredLayout.h"
#include "FlowGraph.h"
#include "GraphExport.h"
#include "SectionCollapse.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using ArcKind = FlowGraph::ArcKind;

FlowGraph graphOf(int nodes, const std::vector<std::tuple<int, int, ArcKind>> &arcs)
{
    FlowGraph graph;
    graph.title = "T";
    for (int i = 0; i < nodes; ++i) {
        FlowGraph::Node node;
        node.name = "P" + std::to_string(i) + (i % 3 ? "" : "-A-LONGER-NAME");
        graph.nodes.push_back(node);
    }
    graph.nodes[0].entry = true;
    for (const auto &[from, to, kind] : arcs)
        graph.arcs.push_back({from, to, kind, 0, {}});
    graph.computeReachability();
    return graph;
}

/// A program-like graph: a main line performing ranges, loops by GO TO, recursion, returns.
FlowGraph generated(int nodes, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::tuple<int, int, ArcKind>> arcs;
    for (int i = 0; i + 1 < nodes; ++i) {
        if (random() % 4)
            arcs.push_back({i, i + 1, ArcKind::fallThrough});
        const int target = static_cast<int>(random() % nodes);
        const ArcKind kind = random() % 3 ? ArcKind::perform : ArcKind::goTo;
        arcs.push_back({i, target, kind});
        if (kind == ArcKind::perform)
            arcs.push_back({target, i, ArcKind::performReturn});
    }
    return graphOf(nodes, arcs);
}

void expectSoundLayout(const FlowGraph &graph, const GraphLayout &layout)
{
    ASSERT_EQ(layout.nodes.size(), graph.nodes.size());
    ASSERT_EQ(layout.arcs.size(), graph.arcs.size());
    for (std::size_t a = 0; a < layout.nodes.size(); ++a) {
        const GraphLayout::Box &p = layout.nodes[a];
        EXPECT_GE(p.x, 0);
        EXPECT_LE(p.x + p.width, layout.width + 0.01);
        EXPECT_LE(p.y + p.height, layout.height + 0.01);
        for (std::size_t b = a + 1; b < layout.nodes.size(); ++b) {
            const GraphLayout::Box &q = layout.nodes[b];
            const bool apart = p.x + p.width <= q.x + 0.01 || q.x + q.width <= p.x + 0.01
                               || p.y + p.height <= q.y + 0.01 || q.y + q.height <= p.y + 0.01;
            EXPECT_TRUE(apart) << graph.nodes[a].name << " overlaps " << graph.nodes[b].name;
        }
    }
    for (std::size_t a = 0; a < graph.arcs.size(); ++a) {
        const GraphLayout::Path &path = layout.arcs[a];
        ASSERT_GE(path.points.size(), 2u);
        if (path.curved)
            continue;
        // Each segment of a ranked arc goes down, or up all the way for a back arc.
        for (std::size_t i = 1; i < path.points.size(); ++i) {
            if (path.back)
                EXPECT_LT(path.points[i].y, path.points[i - 1].y) << "arc " << a;
            else
                EXPECT_GT(path.points[i].y, path.points[i - 1].y) << "arc " << a;
        }
    }
}

TEST(LayeredLayout, nodesNeverOverlapAndArcsPointDownExceptBackArcs)
{
    const std::vector<std::pair<const char *, FlowGraph>> graphs = {
        {"one node", graphOf(1, {})},
        {"a chain",
         graphOf(4,
                 {{0, 1, ArcKind::fallThrough},
                  {1, 2, ArcKind::fallThrough},
                  {2, 3, ArcKind::fallThrough}})},
        {"a loop by GO TO",
         graphOf(3,
                 {{0, 1, ArcKind::fallThrough},
                  {1, 2, ArcKind::fallThrough},
                  {2, 0, ArcKind::goTo}})},
        {"a self loop and parallel arcs",
         graphOf(3,
                 {{0, 0, ArcKind::goTo},
                  {0, 1, ArcKind::perform},
                  {0, 1, ArcKind::fallThrough},
                  {1, 0, ArcKind::performReturn},
                  {0, 2, ArcKind::perform}})},
        {"unconnected nodes", graphOf(5, {{0, 4, ArcKind::perform}})},
        {"generated 60", generated(60, 7)},
        {"generated 300", generated(300, 11)},
    };
    for (const auto &[label, graph] : graphs) {
        SCOPED_TRACE(label);
        const GraphLayout layout = LayeredLayout::layout(graph);
        expectSoundLayout(graph, layout);
    }
}

TEST(LayeredLayout, aLoopHasExactlyOneBackArcAndALongArcBends)
{
    const FlowGraph graph = graphOf(4,
                                    {{0, 1, ArcKind::fallThrough},
                                     {1, 2, ArcKind::fallThrough},
                                     {2, 3, ArcKind::fallThrough},
                                     {3, 1, ArcKind::goTo},
                                     {0, 3, ArcKind::perform}});
    const GraphLayout layout = LayeredLayout::layout(graph);
    int back = 0;
    for (const GraphLayout::Path &path : layout.arcs)
        back += path.back;
    EXPECT_EQ(back, 1);
    EXPECT_TRUE(layout.arcs[3].back);
    EXPECT_EQ(layout.layers, 4);
    EXPECT_EQ(layout.arcs[4].points.size(), 4u); // 0 -> 3 bends on layers 1 and 2
}

TEST(LayeredLayout, crossingsAreCountedAsPairsOfSegmentsThatCross)
{
    struct Case
    {
        const char *label;
        std::vector<std::pair<int, int>> edges;
        int lowerSize;
        long long crossings;
    };
    const std::vector<Case> cases = {
        {"parallel", {{0, 0}, {1, 1}, {2, 2}}, 3, 0},
        {"one X", {{0, 1}, {1, 0}}, 2, 1},
        {"fully reversed", {{0, 2}, {1, 1}, {2, 0}}, 3, 3},
        {"shared ends do not cross", {{0, 0}, {0, 1}, {1, 1}}, 2, 0},
        {"fan over fan", {{0, 1}, {0, 2}, {1, 0}}, 3, 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LayeredLayout::countCrossings(c.edges, c.lowerSize), c.crossings) << c.label;
}

TEST(LayeredLayout, orderingDoesNotAddCrossings)
{
    // Two crossed pairs in source order: the sweeps must untangle them.
    const FlowGraph graph = graphOf(5,
                                    {{0, 1, ArcKind::perform},
                                     {0, 2, ArcKind::perform},
                                     {1, 4, ArcKind::perform},
                                     {2, 3, ArcKind::perform}});
    EXPECT_EQ(LayeredLayout::layout(graph).crossings, 0);
}

TEST(SectionCollapse, foldedSectionsKeepOutsideArcsAndDropInsideOnes)
{
    FlowGraph graph = graphOf(5,
                              {{0, 1, ArcKind::perform},
                               {1, 2, ArcKind::fallThrough},
                               {2, 3, ArcKind::fallThrough},
                               {3, 0, ArcKind::performReturn},
                               {2, 4, ArcKind::goTo}});
    graph.nodes[1].kind = FlowGraph::NodeKind::section;
    graph.nodes[2].section = 1;
    graph.nodes[3].section = 1;
    graph.nodes[3].end = FlowGraph::EndKind::stopRun;
    std::vector<int> origin;
    const FlowGraph folded = SectionCollapse::collapse(graph, {1}, &origin);
    ASSERT_EQ(folded.nodes.size(), 3u);
    EXPECT_EQ(origin, (std::vector<int>{0, 1, 4}));
    EXPECT_EQ(folded.nodes[1].kind, FlowGraph::NodeKind::collapsedSection);
    EXPECT_EQ(folded.nodes[1].end, FlowGraph::EndKind::stopRun);
    ASSERT_EQ(folded.arcs.size(), 3u); // perform, return, GO TO; the fall-throughs are inside
    EXPECT_EQ(folded.executionOrder.size(), 3u);
}

TEST(GraphExport, dotAndSvgNameEveryNodeAndArcAndEscapeTheirTexts)
{
    FlowGraph graph = graphOf(3,
                              {{0, 1, ArcKind::perform},
                               {1, 0, ArcKind::performReturn},
                               {0, 2, ArcKind::goTo}});
    graph.nodes[1].name = "A<\"&>";
    graph.arcs[0].label = "THRU \"X\"";
    graph.nodes[2].reachable = false;
    const std::string dot = GraphExport::toDot(graph);
    EXPECT_NE(dot.find("n1 [label=\"A<\\\"&>\""), std::string::npos) << dot;
    EXPECT_NE(dot.find("n0 -> n1 [color=\"#1f5fbf\", label=\"PERFORM THRU \\\"X\\\"\"]"),
              std::string::npos)
        << dot;
    EXPECT_NE(dot.find("n1 -> n0"), std::string::npos);
    EXPECT_EQ(GraphExport::toDot(graph, GraphExport::Returns::hidden).find("n1 -> n0"),
              std::string::npos);
    const std::string svg = GraphExport::toSvg(graph, LayeredLayout::layout(graph));
    EXPECT_NE(svg.find(">A&lt;&quot;&amp;&gt;</text>"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("A<"), std::string::npos);
    EXPECT_EQ(std::count(svg.begin(), svg.end(), '\n') > 5, true);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

} // namespace
