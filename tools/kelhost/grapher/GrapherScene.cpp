#include "GrapherScene.h"

#include "GrapherArcItem.h"
#include "GrapherNodeItem.h"

GrapherScene::GrapherScene(QObject *parent)
    : QGraphicsScene(parent)
{
    setBackgroundBrush(Qt::white);
}

void GrapherScene::show(const FlowGraph &graph,
                        const GraphLayout &layout,
                        const QFont &font,
                        const QStringList &nodeHelp,
                        const QStringList &arcHelp)
{
    clear();
    m_nodes.clear();
    m_arcs.clear();
    m_currentStep = -1;
    m_font = font;
    m_nodeHelp = nodeHelp;
    m_arcHelp = arcHelp;
    // Items are added without an index; the scene's index is built once, after all of them.
    setItemIndexMethod(NoIndex);
    for (std::size_t a = 0; a < graph.arcs.size(); ++a) {
        auto *item = new GrapherArcItem(static_cast<int>(a), graph.arcs[a], layout.arcs[a]);
        addItem(item);
        m_arcs.push_back(item);
    }
    for (std::size_t n = 0; n < graph.nodes.size(); ++n) {
        const GraphLayout::Box &box = layout.nodes[n];
        auto *item = new GrapherNodeItem(static_cast<int>(n),
                                         graph.nodes[n],
                                         QRectF(box.x, box.y, box.width, box.height),
                                         m_font);
        addItem(item);
        m_nodes.push_back(item);
    }
    setItemIndexMethod(BspTreeIndex);
    // Curved arcs bulge up to 60 units beside the nodes.
    setSceneRect(QRectF(0, 0, layout.width, layout.height).adjusted(-60, 0, 60, 0));
    setHoverHelp(m_hoverHelp);
}

GrapherNodeItem *GrapherScene::nodeItem(int index) const
{
    return index >= 0 && index < nodeCount() ? m_nodes[index] : nullptr;
}

int GrapherScene::nodeAt(const QPointF &scenePoint) const
{
    for (QGraphicsItem *item : items(scenePoint))
        if (auto *node = dynamic_cast<GrapherNodeItem *>(item))
            return node->index();
    return -1;
}

void GrapherScene::setReturnArcsVisible(bool visible)
{
    for (GrapherArcItem *arc : m_arcs)
        if (arc->arc().kind == FlowGraph::ArcKind::performReturn)
            arc->setVisible(visible);
}

void GrapherScene::setHoverHelp(bool on)
{
    m_hoverHelp = on;
    for (GrapherNodeItem *node : m_nodes)
        node->setToolTip(on && node->index() < m_nodeHelp.size() ? m_nodeHelp[node->index()]
                                                                 : QString());
    for (GrapherArcItem *arc : m_arcs)
        arc->setToolTip(on && arc->index() < m_arcHelp.size() ? m_arcHelp[arc->index()]
                                                              : QString());
}

void GrapherScene::setCurrentStep(int index)
{
    if (GrapherNodeItem *old = nodeItem(m_currentStep))
        old->setCurrentStep(false);
    m_currentStep = index;
    if (GrapherNodeItem *now = nodeItem(index))
        now->setCurrentStep(true);
}
