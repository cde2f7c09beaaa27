#pragma once

#include "KelDataMapPainter.h"

#include <QAbstractScrollArea>

class KelDataMapLayout;

/// The drawing canvas of a data map: a scroll area that draws the grid of a KelDataMapLayout
/// with the ruler of byte offsets fixed at its left edge.
///
/// - Only what is exposed is painted: scrolling moves what was drawn and paints the strip that
///   came into view (the ruler stays put while the panes scroll sideways).
/// - Scrolling is by pixels (wheel, touchpad, scroll bars), so it is smooth at any zoom.
/// - Zoom from 25% to 400%: Ctrl+wheel around the pointer, Ctrl++ / Ctrl+- / Ctrl+0, or
///   setZoom().
/// - Keyboard: Up and Down select the previous or next item, Left collapses a group (or goes to
///   the enclosing group), Right expands one, Enter asks for the item's details, Home and End go
///   to the first and last item.
///
/// The canvas shows; the window decides. A click, a key or a pop-up request emits a signal with
/// the index of the item in the layout's placed() (-1 for none), and the window answers by
/// selecting, expanding, or showing a menu. The layout belongs to the window, which sets it again
/// (or to null) before the old one goes.
class KelDataMapCanvas : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr double minimumZoom = 0.25;
    static constexpr double maximumZoom = 4.0;

    explicit KelDataMapCanvas(QWidget *parent = nullptr);
    ~KelDataMapCanvas() override;

    /// The grid to draw (null: nothing); keeps the scroll position as far as it can.
    void setMapLayout(const KelDataMapLayout *layout);
    const KelDataMapLayout *mapLayout() const { return m_layout; }

    /// What the canvas says when it has no layout (no records, a unit that cannot be loaded).
    void setEmptyText(const QString &text);
    const QString &emptyText() const { return m_emptyText; }

    void setPaintOptions(const KelDataMapPainter::Options &options);
    const KelDataMapPainter::Options &paintOptions() const { return m_options; }
    int selectedPlaced() const { return m_options.selected; }

    double zoom() const { return m_zoom; }
    /// Sets the zoom (clamped), keeping the point under `anchor` (viewport coordinates; the
    /// middle when null) where it is.
    void setZoom(double zoom, const QPoint *anchor = nullptr);
    void zoomIn();
    void zoomOut();
    void resetZoom();

    /// Scrolls so that the item's name is in view (and as much of its box as fits), moving as
    /// little as needed. Asked before the canvas was first drawn (its size not settled yet), it
    /// does so again when the canvas gets its size.
    void ensurePlacedVisible(int placedIndex);
    /// Scrolls to the top left corner.
    void scrollToOrigin();
    /// The item at `position` (viewport coordinates); -1 for none.
    int placedAt(const QPoint &position) const;
    /// Where the layout point (units) is in the viewport.
    QPointF toViewport(const QPointF &unitPoint) const;
    /// The layout rectangle (units) the viewport shows of the panes.
    QRectF visibleUnitRect() const;

    /// For tests and measurements: how many paints ran, and how many items the last one drew.
    int paintCount() const { return m_paintCount; }
    int lastPaintedItems() const { return m_lastPaintedItems; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

signals:
    void itemClicked(int placedIndex);
    void itemActivated(int placedIndex);
    void expandRequested(int placedIndex, bool expand);
    void popUpRequested(int placedIndex, const QPoint &globalPosition);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void updateScrollBars();
    /// The width of the fixed ruler in viewport pixels.
    int rulerPixels() const;
    void moveSelection(int placedIndex);
    QString toolTipFor(int placedIndex) const;

    const KelDataMapLayout *m_layout = nullptr;
    KelDataMapPainter::Options m_options;
    QString m_emptyText;
    double m_zoom = 1.0;
    /// The item to bring into view again once the canvas has its size (-1: none).
    int m_keepInView = -1;
    int m_paintCount = 0;
    int m_lastPaintedItems = 0;
};
