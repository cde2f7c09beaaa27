#include "GraphExport.h"

#include "FlowGraph.h"
#include "LayeredLayout.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

using ArcKind = FlowGraph::ArcKind;

const char *dotStyle(ArcKind kind)
{
    switch (kind) {
    case ArcKind::perform:
        return "color=\"#1f5fbf\"";
    case ArcKind::performReturn:
        return "color=\"#7f9fcf\", style=dashed, constraint=false";
    case ArcKind::goTo:
        return "color=\"#c0392b\", penwidth=1.5";
    case ArcKind::goToDepending:
        return "color=\"#c0392b\", style=dashed";
    case ArcKind::alteredGoTo:
        return "color=\"#8e44ad\", style=dashed";
    case ArcKind::alter:
        return "color=\"#8e44ad\", style=dotted, constraint=false";
    case ArcKind::fallThrough:
        return "color=\"#555555\"";
    case ArcKind::staticCall:
        return "color=\"#1f5fbf\"";
    case ArcKind::dynamicCall:
        return "color=\"#1f5fbf\", style=dashed";
    case ArcKind::copies:
        return "color=\"#8a8a8a\", style=dotted";
    }
    return "";
}

const char *svgColour(ArcKind kind)
{
    switch (kind) {
    case ArcKind::perform:
    case ArcKind::staticCall:
    case ArcKind::dynamicCall:
        return "#1f5fbf";
    case ArcKind::performReturn:
        return "#7f9fcf";
    case ArcKind::goTo:
    case ArcKind::goToDepending:
        return "#c0392b";
    case ArcKind::alteredGoTo:
    case ArcKind::alter:
        return "#8e44ad";
    case ArcKind::fallThrough:
        return "#555555";
    case ArcKind::copies:
        return "#8a8a8a";
    }
    return "#000000";
}

const char *svgDash(ArcKind kind)
{
    switch (kind) {
    case ArcKind::performReturn:
    case ArcKind::goToDepending:
    case ArcKind::alteredGoTo:
    case ArcKind::dynamicCall:
        return " stroke-dasharray=\"6 4\"";
    case ArcKind::alter:
    case ArcKind::copies:
        return " stroke-dasharray=\"2 3\"";
    case ArcKind::perform:
    case ArcKind::goTo:
    case ArcKind::fallThrough:
    case ArcKind::staticCall:
        return "";
    }
    return "";
}

/// Room beside the layout for arcs drawn as curves on either side of the nodes.
constexpr double curveRoom = 60;

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string nodeLabel(const FlowGraph::Node &node)
{
    std::string label = node.name;
    if (node.end != FlowGraph::EndKind::none)
        label += std::string("\n[") + FlowGraph::endName(node.end) + "]";
    return label;
}

} // namespace

std::string GraphExport::escapeXml(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string GraphExport::escapeDot(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out;
}

std::string GraphExport::toDot(const FlowGraph &graph, Returns returns)
{
    std::ostringstream out;
    out << "digraph \"" << escapeDot(graph.title) << "\" {\n"
        << "  node [shape=box, style=\"rounded,filled\", fillcolor=\"#eef3fb\", "
           "fontname=\"Helvetica\"];\n";
    for (std::size_t i = 0; i < graph.nodes.size(); ++i) {
        const FlowGraph::Node &node = graph.nodes[i];
        out << "  n" << i << " [label=\"" << escapeDot(nodeLabel(node)) << "\"";
        if (node.kind == FlowGraph::NodeKind::section
            || node.kind == FlowGraph::NodeKind::collapsedSection)
            out << ", fillcolor=\"#d6e2f5\"";
        if (node.kind == FlowGraph::NodeKind::copybook)
            out << ", shape=note, fillcolor=\"#f7f3e3\"";
        if (node.kind == FlowGraph::NodeKind::externalProgram)
            out << ", style=\"rounded,dashed\"";
        if (node.entry)
            out << ", peripheries=2";
        if (node.end != FlowGraph::EndKind::none)
            out << ", color=\"#b03a2e\"";
        if (!node.reachable)
            out << ", fillcolor=\"#e0e0e0\", fontcolor=\"#8a8a8a\"";
        out << "];\n";
    }
    for (const FlowGraph::Arc &arc : graph.arcs) {
        if (arc.kind == ArcKind::performReturn && returns == Returns::hidden)
            continue;
        out << "  n" << arc.from << " -> n" << arc.to << " [" << dotStyle(arc.kind);
        std::string label = arc.kind == ArcKind::fallThrough || arc.kind == ArcKind::performReturn
                                ? std::string()
                                : FlowGraph::kindName(arc.kind);
        if (!arc.label.empty())
            label += (label.empty() ? "" : " ") + arc.label;
        if (!label.empty())
            out << ", label=\"" << escapeDot(label) << "\"";
        out << "];\n";
    }
    out << "}\n";
    return out.str();
}

std::string GraphExport::toSvg(const FlowGraph &graph, const GraphLayout &layout, Returns returns)
{
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
        << number(layout.width + 2 * curveRoom) << "\" height=\"" << number(layout.height)
        << "\" viewBox=\"" << number(-curveRoom) << " 0 " << number(layout.width + 2 * curveRoom)
        << ' ' << number(layout.height)
        << "\" font-family=\"Helvetica, Arial, sans-serif\" font-size=\"12\">\n"
        << "<title>" << escapeXml(graph.title) << "</title>\n"
        << "<defs><marker id=\"head\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" "
           "markerWidth=\"7\" markerHeight=\"7\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" "
           "fill=\"context-stroke\"/></marker></defs>\n"
        << "<rect x=\"" << number(-curveRoom)
        << "\" width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    for (std::size_t a = 0; a < graph.arcs.size() && a < layout.arcs.size(); ++a) {
        const FlowGraph::Arc &arc = graph.arcs[a];
        const GraphLayout::Path &path = layout.arcs[a];
        if ((arc.kind == ArcKind::performReturn && returns == Returns::hidden)
            || path.points.size() < 2)
            continue;
        out << "<path d=\"";
        if (path.curved) {
            const LayoutPoint &p = path.points.front();
            const LayoutPoint &q = path.points.back();
            const double bulge = (30 + std::abs(q.y - p.y) / 6) * (path.onLeft ? -1 : 1);
            out << 'M' << number(p.x) << ',' << number(p.y) << " C" << number(p.x + bulge) << ','
                << number(p.y) << ' ' << number(q.x + bulge) << ',' << number(q.y) << ' '
                << number(q.x) << ',' << number(q.y);
        } else {
            for (std::size_t i = 0; i < path.points.size(); ++i)
                out << (i ? " L" : "M") << number(path.points[i].x) << ','
                    << number(path.points[i].y);
        }
        out << "\" fill=\"none\" stroke=\"" << svgColour(arc.kind) << "\" stroke-width=\"1.3\""
            << svgDash(arc.kind) << " marker-end=\"url(#head)\"><title>"
            << escapeXml(FlowGraph::kindName(arc.kind)
                         + (arc.label.empty() ? std::string() : " " + arc.label))
            << "</title></path>\n";
    }
    for (std::size_t i = 0; i < graph.nodes.size() && i < layout.nodes.size(); ++i) {
        const FlowGraph::Node &node = graph.nodes[i];
        const GraphLayout::Box &box = layout.nodes[i];
        const bool header = node.kind == FlowGraph::NodeKind::section
                            || node.kind == FlowGraph::NodeKind::collapsedSection;
        const char *fill = !node.reachable ? "#e6e6e6" : header ? "#d6e2f5" : "#eef3fb";
        const char *stroke = node.end != FlowGraph::EndKind::none ? "#b03a2e" : "#3c5a8a";
        out << "<g><title>" << escapeXml(node.name + " (" + node.note + ")") << "</title>"
            << "<rect x=\"" << number(box.x) << "\" y=\"" << number(box.y) << "\" width=\""
            << number(box.width) << "\" height=\"" << number(box.height) << "\" rx=\"6\" fill=\""
            << fill << "\" stroke=\"" << stroke << "\" stroke-width=\""
            << (node.entry ? "3" : "1.2") << "\"/>"
            << "<text x=\"" << number(box.centreX()) << "\" y=\"" << number(box.centreY() + 4)
            << "\" text-anchor=\"middle\" fill=\"" << (node.reachable ? "#1a1a1a" : "#8a8a8a")
            << "\">" << escapeXml(node.name) << "</text></g>\n";
    }
    out << "</svg>\n";
    return out.str();
}
