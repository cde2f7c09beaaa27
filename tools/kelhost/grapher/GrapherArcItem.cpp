#include "GrapherArcItem.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QStyleOptionGraphicsItem>

#include <cmath>

namespace {

QPolygonF arrowHead(const QPointF &tip, const QPointF &from)
{
    const QLineF line(from, tip);
    const qreal length = line.length();
    if (length < 0.01)
        return {};
    const QPointF unit = (tip - from) / length;
    const QPointF normal(-unit.y(), unit.x());
    const qreal size = 8;
    return QPolygonF(
        {tip, tip - unit * size + normal * size / 2, tip - unit * size - normal * size / 2});
}

} // namespace

GrapherArcItem::GrapherArcItem(int index, const FlowGraph::Arc &arc, const GraphLayout::Path &path)
    : m_index(index)
    , m_arc(arc)
{
    QPainterPath p;
    if (path.points.size() >= 2) {
        const QPointF start(path.points.front().x, path.points.front().y);
        const QPointF end(path.points.back().x, path.points.back().y);
        p.moveTo(start);
        if (path.curved) {
            const qreal bulge = (30 + std::abs(end.y() - start.y()) / 6) * (path.onLeft ? -1 : 1);
            if (arc.from == arc.to)
                p.cubicTo(start + QPointF(40, -22), end + QPointF(40, 22), end + QPointF(0, 4));
            else
                p.cubicTo(start + QPointF(bulge, 0), end + QPointF(bulge, 0), end);
        } else {
            for (std::size_t i = 1; i < path.points.size(); ++i)
                p.lineTo(path.points[i].x, path.points[i].y);
            for (const LayoutPoint &point : path.points)
                m_line << QPointF(point.x, point.y);
        }
        const QPointF before = p.pointAtPercent(0.97);
        m_head = arrowHead(p.currentPosition(), before);
    }
    setPath(p);
    QPen pen(colourOf(arc.kind), arc.kind == FlowGraph::ArcKind::goTo ? 1.8 : 1.3);
    switch (arc.kind) {
    case FlowGraph::ArcKind::performReturn:
    case FlowGraph::ArcKind::goToDepending:
    case FlowGraph::ArcKind::alteredGoTo:
    case FlowGraph::ArcKind::dynamicCall:
        pen.setStyle(Qt::DashLine);
        break;
    case FlowGraph::ArcKind::alter:
    case FlowGraph::ArcKind::copies:
        pen.setStyle(Qt::DotLine);
        break;
    case FlowGraph::ArcKind::perform:
    case FlowGraph::ArcKind::goTo:
    case FlowGraph::ArcKind::fallThrough:
    case FlowGraph::ArcKind::staticCall:
        break;
    }
    setPen(pen);
    setFlag(ItemUsesExtendedStyleOption);
    setZValue(arc.kind == FlowGraph::ArcKind::performReturn ? -1 : 0);
}

QColor GrapherArcItem::colourOf(FlowGraph::ArcKind kind)
{
    switch (kind) {
    case FlowGraph::ArcKind::perform:
    case FlowGraph::ArcKind::staticCall:
    case FlowGraph::ArcKind::dynamicCall:
        return QColor(0x1f, 0x5f, 0xbf);
    case FlowGraph::ArcKind::performReturn:
        return QColor(0x7f, 0x9f, 0xcf);
    case FlowGraph::ArcKind::goTo:
    case FlowGraph::ArcKind::goToDepending:
        return QColor(0xc0, 0x39, 0x2b);
    case FlowGraph::ArcKind::alteredGoTo:
    case FlowGraph::ArcKind::alter:
        return QColor(0x8e, 0x44, 0xad);
    case FlowGraph::ArcKind::fallThrough:
        return QColor(0x55, 0x55, 0x55);
    case FlowGraph::ArcKind::copies:
        return QColor(0x8a, 0x8a, 0x8a);
    }
    return Qt::black;
}

QRectF GrapherArcItem::boundingRect() const
{
    return QGraphicsPathItem::boundingRect().united(m_head.boundingRect()).adjusted(-2, -2, 2, 2);
}

QPainterPath GrapherArcItem::shape() const
{
    // Hover help finds the arc within a few pixels of its line.
    QPainterPathStroker stroker;
    stroker.setWidth(8);
    return stroker.createStroke(path());
}

void GrapherArcItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(pen());
    painter->setBrush(Qt::NoBrush);
    if (m_line.size() < 2) {
        painter->drawPath(path());
    } else {
        const QRectF exposed = option->exposedRect.adjusted(-4, -4, 4, 4);
        for (qsizetype i = 1; i < m_line.size(); ++i) {
            const QLineF segment(m_line[i - 1], m_line[i]);
            if (QRectF(segment.p1(), segment.p2())
                    .normalized()
                    .adjusted(-1, -1, 1, 1)
                    .intersects(exposed))
                painter->drawLine(segment);
        }
    }
    painter->setPen(Qt::NoPen);
    painter->setBrush(pen().color());
    painter->drawPolygon(m_head);
}
