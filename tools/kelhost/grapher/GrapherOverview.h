#pragma once

#include <QGraphicsView>
#include <QPointer>

/// The overview pane: the whole graph, small, with the part the main view shows framed.
/// Clicking or dragging in it moves the main view there.
class GrapherOverview final : public QGraphicsView
{
    Q_OBJECT

public:
    GrapherOverview(QGraphicsScene *scene, QGraphicsView *main, QWidget *parent);

    /// Fits the whole scene again (after a new layout or a resize).
    void refit();

protected:
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPointer<QGraphicsView> m_main;
};
