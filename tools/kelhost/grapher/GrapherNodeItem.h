#pragma once

#include "FlowGraph.h"

#include <QGraphicsItem>

/// One node of the graph: a rounded box with the procedure's or program's name. Entries have a
/// thick green border, ends a red bar at the bottom with the way they end, unreachable nodes are
/// grey, folded sections stacked; the node on the progress slider's step is outlined in amber.
class GrapherNodeItem final : public QGraphicsItem
{
public:
    /// Node `index` of the graph shown, drawn in `rect` (scene coordinates) with `font`.
    GrapherNodeItem(int index, const FlowGraph::Node &node, const QRectF &rect, const QFont &font);

    int index() const { return m_index; }
    const FlowGraph::Node &node() const { return m_node; }

    /// Marks the node as the progress slider's current step.
    void setCurrentStep(bool on);
    /// Marks the node as the window's selected node (the window keeps the one selection).
    void setChosen(bool on);
    bool isChosen() const { return m_chosen; }

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    int m_index;
    FlowGraph::Node m_node;
    QRectF m_rect;
    const QFont &m_font;
    bool m_currentStep = false;
    bool m_chosen = false;
};
