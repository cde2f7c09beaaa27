#pragma once

#include "FlowGraph.h"
#include "LayeredLayout.h"

#include <QFont>
#include <QGraphicsScene>
#include <QStringList>

#include <vector>

class GrapherArcItem;
class GrapherNodeItem;

/// The drawn graph: one item per node and arc, placed by a layout. Keeps the items by index so
/// the window can select, mark and hide them without searching the scene.
class GrapherScene final : public QGraphicsScene
{
    Q_OBJECT

public:
    explicit GrapherScene(QObject *parent = nullptr);

    /// Replaces what is drawn by `graph` placed by `layout` (its layout), names in `font`;
    /// `nodeHelp` and `arcHelp` are the hover texts (may be empty).
    void show(const FlowGraph &graph,
              const GraphLayout &layout,
              const QFont &font,
              const QStringList &nodeHelp,
              const QStringList &arcHelp);

    GrapherNodeItem *nodeItem(int index) const;
    int nodeCount() const { return static_cast<int>(m_nodes.size()); }
    /// The node under `scenePoint`; -1 when none.
    int nodeAt(const QPointF &scenePoint) const;

    /// Shows or hides the return arcs of performs.
    void setReturnArcsVisible(bool visible);
    /// Turns the hover texts on or off.
    void setHoverHelp(bool on);
    /// Outlines node `index` as the progress slider's step (-1: none).
    void setCurrentStep(int index);

private:
    QFont m_font;
    std::vector<GrapherNodeItem *> m_nodes;
    std::vector<GrapherArcItem *> m_arcs;
    QStringList m_nodeHelp;
    QStringList m_arcHelp;
    bool m_hoverHelp = true;
    int m_currentStep = -1;
};
