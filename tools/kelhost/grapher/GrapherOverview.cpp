#include "GrapherOverview.h"

#include <QMouseEvent>
#include <QScrollBar>

GrapherOverview::GrapherOverview(QGraphicsScene *scene, QGraphicsView *main, QWidget *parent)
    : QGraphicsView(scene, parent)
    , m_main(main)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setInteractive(false);
    setFrameShape(QFrame::Box);
    setRenderHint(QPainter::Antialiasing, false);
    setViewportUpdateMode(FullViewportUpdate);
    setCursor(Qt::PointingHandCursor);
    for (QScrollBar *bar : {main->horizontalScrollBar(), main->verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, viewport(), [this] { viewport()->update(); });
    connect(scene, &QGraphicsScene::sceneRectChanged, this, [this] { refit(); });
}

void GrapherOverview::refit()
{
    if (scene())
        fitInView(scene()->sceneRect(), Qt::KeepAspectRatio);
    viewport()->update();
}

void GrapherOverview::drawForeground(QPainter *painter, const QRectF &)
{
    if (!m_main)
        return;
    const QRectF seen = m_main->mapToScene(m_main->viewport()->rect()).boundingRect();
    painter->setPen(QPen(QColor(0xe6, 0x9b, 0x00), 0)); // cosmetic: one pixel at any scale
    painter->setBrush(QColor(0xe6, 0x9b, 0x00, 40));
    painter->drawRect(seen.intersected(sceneRect()));
}

void GrapherOverview::mousePressEvent(QMouseEvent *event)
{
    if (m_main)
        m_main->centerOn(mapToScene(event->position().toPoint()));
}

void GrapherOverview::mouseMoveEvent(QMouseEvent *event)
{
    if (m_main && (event->buttons() & Qt::LeftButton))
        m_main->centerOn(mapToScene(event->position().toPoint()));
}

void GrapherOverview::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    refit();
}
