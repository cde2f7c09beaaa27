#include "GrapherNodeItem.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

namespace {

constexpr qreal radius = 6;
constexpr qreal stackOffset = 4; ///< the second box behind a folded section

} // namespace

GrapherNodeItem::GrapherNodeItem(int index,
                                 const FlowGraph::Node &node,
                                 const QRectF &rect,
                                 const QFont &font)
    : m_index(index)
    , m_node(node)
    , m_rect(rect)
    , m_font(font)
{
    setZValue(1);
}

void GrapherNodeItem::setChosen(bool on)
{
    if (m_chosen == on)
        return;
    m_chosen = on;
    update();
}

void GrapherNodeItem::setCurrentStep(bool on)
{
    if (m_currentStep == on)
        return;
    m_currentStep = on;
    update();
}

QRectF GrapherNodeItem::boundingRect() const
{
    return m_rect.adjusted(-4, -4, stackOffset + 4, stackOffset + 4);
}

void GrapherNodeItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    using Kind = FlowGraph::NodeKind;
    const bool header = m_node.kind == Kind::section || m_node.kind == Kind::collapsedSection
                        || m_node.kind == Kind::procedureStart;
    QColor fill = header ? QColor(0xd6, 0xe2, 0xf5) : QColor(0xee, 0xf3, 0xfb);
    if (m_node.kind == Kind::copybook)
        fill = QColor(0xf7, 0xf3, 0xe3);
    if (m_node.kind == Kind::program)
        fill = QColor(0xe3, 0xef, 0xe3);
    QColor text(0x1a, 0x1a, 0x1a);
    QColor border(0x3c, 0x5a, 0x8a);
    if (!m_node.reachable) {
        fill = QColor(0xe6, 0xe6, 0xe6);
        text = QColor(0x8a, 0x8a, 0x8a);
        border = QColor(0xa0, 0xa0, 0xa0);
    }
    painter->setRenderHint(QPainter::Antialiasing);
    if (m_node.kind == Kind::collapsedSection) {
        painter->setPen(QPen(border, 1));
        painter->setBrush(fill.darker(108));
        painter->drawRoundedRect(m_rect.translated(stackOffset, stackOffset), radius, radius);
    }
    QPen pen(border, m_node.entry ? 3 : 1.2);
    if (m_node.entry)
        pen.setColor(QColor(0x2e, 0x8b, 0x3e));
    if (m_node.kind == Kind::externalProgram)
        pen.setStyle(Qt::DashLine);
    painter->setPen(pen);
    painter->setBrush(fill);
    painter->drawRoundedRect(m_rect, radius, radius);
    if (m_node.end != FlowGraph::EndKind::none) {
        // A red bar along the bottom edge: the run ends here.
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(0xb0, 0x3a, 0x2e));
        painter->drawRoundedRect(QRectF(m_rect.left() + 6,
                                        m_rect.bottom() - 5,
                                        m_rect.width() - 12,
                                        4),
                                 2,
                                 2);
    }
    if (isSelected() || m_currentStep) {
        painter->setBrush(Qt::NoBrush);
        painter->setPen(
            QPen(isSelected() ? QColor(0x1f, 0x5f, 0xbf) : QColor(0xe6, 0x9b, 0x00), 3));
        painter->drawRoundedRect(m_rect.adjusted(-3, -3, 3, 3), radius + 2, radius + 2);
    }
    painter->setFont(m_font);
    painter->setPen(text);
    painter->drawText(m_rect.adjusted(4, 0, -4, m_node.end != FlowGraph::EndKind::none ? -3 : 0),
                      Qt::AlignCenter,
                      QString::fromStdString(m_node.name));
}
