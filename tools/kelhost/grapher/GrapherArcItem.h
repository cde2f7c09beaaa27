#pragma once

#include "FlowGraph.h"
#include "LayeredLayout.h"

#include <QGraphicsPathItem>

/// One arc of the graph: a polyline through the layout's bend points (a curve on the right of
/// the nodes for returns, ALTER and an arc to its own node) with an arrowhead, coloured and
/// dashed by kind: PERFORM and CALL blue, GO TO red, ALTER violet, fall-through grey, returns
/// light blue and dashed.
class GrapherArcItem final : public QGraphicsPathItem
{
public:
    GrapherArcItem(int index, const FlowGraph::Arc &arc, const GraphLayout::Path &path);

    int index() const { return m_index; }
    const FlowGraph::Arc &arc() const { return m_arc; }

    /// The colour arcs of `kind` are drawn in (also the legend's).
    static QColor colourOf(FlowGraph::ArcKind kind);

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    int m_index;
    FlowGraph::Arc m_arc;
    QPolygonF m_head;
    /// The polyline of a layered arc (empty for a curve): painted segment by segment, only
    /// where exposed, so an arc across hundreds of layers costs little when scrolling.
    QPolygonF m_line;
};
