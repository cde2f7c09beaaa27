#include "FlowGraph.h"

#include <algorithm>

namespace {

bool transfers(FlowGraph::ArcKind kind)
{
    switch (kind) {
    case FlowGraph::ArcKind::perform:
    case FlowGraph::ArcKind::goTo:
    case FlowGraph::ArcKind::goToDepending:
    case FlowGraph::ArcKind::alteredGoTo:
    case FlowGraph::ArcKind::fallThrough:
    case FlowGraph::ArcKind::staticCall:
    case FlowGraph::ArcKind::dynamicCall:
        return true;
    case FlowGraph::ArcKind::performReturn:
    case FlowGraph::ArcKind::alter:
    case FlowGraph::ArcKind::copies:
        return false;
    }
    return false;
}

} // namespace

int FlowGraph::nodeForToken(std::uint32_t tokenNumber) const
{
    // Nodes nest only section-over-paragraph; the innermost (smallest) range wins.
    int best = -1;
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i) {
        const Node &n = nodes[i];
        if (n.firstToken == 0 || tokenNumber < n.firstToken || tokenNumber > n.lastToken)
            continue;
        if (best < 0 || n.lastToken - n.firstToken < nodes[best].lastToken - nodes[best].firstToken)
            best = i;
    }
    return best;
}

int FlowGraph::nodeForUnit(std::uint32_t unitNumber) const
{
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i)
        if (nodes[i].unitNumber == unitNumber && unitNumber != 0)
            return i;
    return -1;
}

const char *FlowGraph::kindName(NodeKind kind)
{
    switch (kind) {
    case NodeKind::procedureStart:
        return "procedure start";
    case NodeKind::section:
        return "section";
    case NodeKind::paragraph:
        return "paragraph";
    case NodeKind::collapsedSection:
        return "section (collapsed)";
    case NodeKind::program:
        return "program";
    case NodeKind::externalProgram:
        return "program outside the execution unit";
    case NodeKind::copybook:
        return "copybook";
    }
    return "";
}

const char *FlowGraph::kindName(ArcKind kind)
{
    switch (kind) {
    case ArcKind::perform:
        return "PERFORM";
    case ArcKind::performReturn:
        return "return";
    case ArcKind::goTo:
        return "GO TO";
    case ArcKind::goToDepending:
        return "GO TO DEPENDING ON";
    case ArcKind::alteredGoTo:
        return "GO TO (altered)";
    case ArcKind::alter:
        return "ALTER";
    case ArcKind::fallThrough:
        return "falls through";
    case ArcKind::staticCall:
        return "CALL";
    case ArcKind::dynamicCall:
        return "CALL (dynamic)";
    case ArcKind::copies:
        return "COPY";
    }
    return "";
}

const char *FlowGraph::endName(EndKind kind)
{
    switch (kind) {
    case EndKind::none:
        return "";
    case EndKind::stopRun:
        return "STOP RUN";
    case EndKind::goBack:
        return "GOBACK";
    case EndKind::exitProgram:
        return "EXIT PROGRAM";
    case EndKind::fallsOffEnd:
        return "end of the procedure division";
    }
    return "";
}

void FlowGraph::computeReachability()
{
    const int count = static_cast<int>(nodes.size());
    std::vector<std::vector<int>> out(count);
    // Successors in statement order; fall-through (token 0) comes after the statements.
    std::vector<int> order(arcs.size());
    for (int i = 0; i < static_cast<int>(arcs.size()); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        const std::uint32_t ta = arcs[a].token ? arcs[a].token : UINT32_MAX;
        const std::uint32_t tb = arcs[b].token ? arcs[b].token : UINT32_MAX;
        return ta < tb;
    });
    for (int i : order)
        if (transfers(arcs[i].kind))
            out[arcs[i].from].push_back(arcs[i].to);

    std::vector<char> seen(count, 0);
    executionOrder.clear();
    // Iterative depth-first walk: a deep GO TO chain must not exhaust the stack.
    auto walk = [&](int start) {
        std::vector<std::pair<int, std::size_t>> stack;
        if (seen[start])
            return;
        seen[start] = 1;
        executionOrder.push_back(start);
        stack.push_back({start, 0});
        while (!stack.empty()) {
            auto &[node, next] = stack.back();
            if (next == out[node].size()) {
                stack.pop_back();
                continue;
            }
            const int target = out[node][next++];
            if (seen[target])
                continue;
            seen[target] = 1;
            executionOrder.push_back(target);
            stack.push_back({target, 0});
        }
    };
    for (int i = 0; i < count; ++i)
        if (nodes[i].entry)
            walk(i);
    for (int i = 0; i < count; ++i)
        nodes[i].reachable = seen[i] != 0;
}
