#include "KelDataMapCanvas.h"

#include "DSFont.h"
#include "DbSymbol.h"
#include "ICurrentApplication.h"
#include "KelDataMapItem.h"
#include "KelDataMapLayout.h"
#include "KelDataMapStyle.h"
#include "KeldmapResourceIds.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double zoomStep = 1.25;
constexpr double wheelZoomPerNotch = 1.15;
constexpr int pixelStep = 20;

} // namespace

KelDataMapCanvas::KelDataMapCanvas(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("dataMapCanvas"));
    setFont(DSFont::systemFont());
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Window, KelDataMapStyle::background());
    viewport()->setPalette(colours);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(pixelStep);
    verticalScrollBar()->setSingleStep(pixelStep);
}

KelDataMapCanvas::~KelDataMapCanvas() = default;

void KelDataMapCanvas::setMapLayout(const KelDataMapLayout *layout)
{
    m_layout = layout;
    m_keepInView = -1;
    if (!m_layout)
        m_options.selected = -1;
    updateScrollBars();
    viewport()->update();
}

void KelDataMapCanvas::setEmptyText(const QString &text)
{
    m_emptyText = text;
    viewport()->update();
}

void KelDataMapCanvas::setPaintOptions(const KelDataMapPainter::Options &options)
{
    m_options = options;
    viewport()->update();
}

int KelDataMapCanvas::rulerPixels() const
{
    return m_layout ? static_cast<int>(std::ceil(m_layout->rulerWidth() * m_zoom)) : 0;
}

void KelDataMapCanvas::updateScrollBars()
{
    if (!m_layout) {
        horizontalScrollBar()->setRange(0, 0);
        verticalScrollBar()->setRange(0, 0);
        return;
    }
    const QSize view = viewport()->size();
    const double panes = (m_layout->width() - m_layout->rulerWidth()) * m_zoom;
    const int paneView = std::max(0, view.width() - rulerPixels());
    horizontalScrollBar()->setRange(0, std::max(0, static_cast<int>(std::ceil(panes)) - paneView));
    horizontalScrollBar()->setPageStep(paneView);
    verticalScrollBar()->setRange(0,
                                  std::max(0,
                                           static_cast<int>(std::ceil(m_layout->height() * m_zoom))
                                               - view.height()));
    verticalScrollBar()->setPageStep(view.height());
}

QPointF KelDataMapCanvas::toViewport(const QPointF &unitPoint) const
{
    const double rulerUnits = m_layout ? m_layout->rulerWidth() : 0;
    return {(unitPoint.x() - rulerUnits) * m_zoom + rulerPixels() - horizontalScrollBar()->value(),
            unitPoint.y() * m_zoom - verticalScrollBar()->value()};
}

QRectF KelDataMapCanvas::visibleUnitRect() const
{
    if (!m_layout)
        return {};
    const double rulerUnits = m_layout->rulerWidth();
    const QSize view = viewport()->size();
    return {rulerUnits + horizontalScrollBar()->value() / m_zoom,
            verticalScrollBar()->value() / m_zoom,
            std::max(0, view.width() - rulerPixels()) / m_zoom,
            view.height() / m_zoom};
}

void KelDataMapCanvas::paintEvent(QPaintEvent *event)
{
    ++m_paintCount;
    m_keepInView = -1;
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, KelDataMapStyle::background());
    m_lastPaintedItems = 0;
    if (!m_layout) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(viewport()->rect().adjusted(20, 20, -20, -20),
                         Qt::AlignCenter | Qt::TextWordWrap,
                         m_emptyText);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const KelDataMapPainter drawer(*m_layout, font(), m_options);
    const int ruler = rulerPixels();
    const double rulerUnits = m_layout->rulerWidth();
    const int hScroll = horizontalScrollBar()->value();
    const int vScroll = verticalScrollBar()->value();

    // The panes: layout x = rulerUnits + (pixel - ruler + hScroll) / zoom.
    const QRect panes = exposed.intersected(
        QRect(ruler, 0, viewport()->width() - ruler, viewport()->height()));
    if (!panes.isEmpty()) {
        painter.save();
        painter.setClipRect(panes);
        painter.translate(ruler - hScroll, -vScroll);
        painter.scale(m_zoom, m_zoom);
        painter.translate(-rulerUnits, 0);
        const QRectF area(rulerUnits + (panes.left() - ruler + hScroll) / m_zoom,
                          (panes.top() + vScroll) / m_zoom,
                          panes.width() / m_zoom,
                          panes.height() / m_zoom);
        m_lastPaintedItems = drawer.paintGrid(painter, area);
        painter.restore();
    }
    // The ruler stays at the left edge.
    const QRect rulerArea = exposed.intersected(QRect(0, 0, ruler, viewport()->height()));
    if (!rulerArea.isEmpty()) {
        painter.save();
        painter.setClipRect(rulerArea);
        painter.translate(0, -vScroll);
        painter.scale(m_zoom, m_zoom);
        drawer.paintRuler(painter,
                          (rulerArea.top() + vScroll) / m_zoom,
                          (rulerArea.bottom() + 1 + vScroll) / m_zoom);
        painter.restore();
    }
}

void KelDataMapCanvas::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    if (m_keepInView >= 0) {
        // Nobody has seen where the canvas was scrolled to at its first size: start from the top
        // left again, so the item comes into view with as much of the record as fits.
        horizontalScrollBar()->setValue(0);
        verticalScrollBar()->setValue(0);
        ensurePlacedVisible(m_keepInView);
    }
}

void KelDataMapCanvas::scrollContentsBy(int dx, int dy)
{
    // Move what is drawn and paint only the strip that came into view; sideways only the panes
    // move, the ruler stays.
    if (dy != 0)
        viewport()->scroll(0, dy);
    if (dx != 0) {
        const int ruler = rulerPixels();
        viewport()->scroll(dx,
                           0,
                           QRect(ruler, 0, viewport()->width() - ruler, viewport()->height()));
    }
}

void KelDataMapCanvas::setZoom(double zoom, const QPoint *anchor)
{
    zoom = std::clamp(zoom, minimumZoom, maximumZoom);
    if (std::abs(zoom - m_zoom) < 1e-9)
        return;
    const QPoint at = anchor ? *anchor : viewport()->rect().center();
    // The layout point under the anchor, kept there.
    const double rulerUnits = m_layout ? m_layout->rulerWidth() : 0;
    const double unitX = rulerUnits
                         + (at.x() - rulerPixels() + horizontalScrollBar()->value()) / m_zoom;
    const double unitY = (at.y() + verticalScrollBar()->value()) / m_zoom;
    m_zoom = zoom;
    updateScrollBars();
    horizontalScrollBar()->setValue(
        static_cast<int>(std::lround((unitX - rulerUnits) * m_zoom - at.x() + rulerPixels())));
    verticalScrollBar()->setValue(static_cast<int>(std::lround(unitY * m_zoom - at.y())));
    viewport()->update();
}

void KelDataMapCanvas::scrollToOrigin()
{
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void KelDataMapCanvas::zoomIn()
{
    setZoom(m_zoom * zoomStep);
}

void KelDataMapCanvas::zoomOut()
{
    setZoom(m_zoom / zoomStep);
}

void KelDataMapCanvas::resetZoom()
{
    setZoom(1.0);
}

void KelDataMapCanvas::ensurePlacedVisible(int placedIndex)
{
    if (!m_layout || placedIndex < 0
        || static_cast<std::size_t>(placedIndex) >= m_layout->placed().size())
        return;
    if (m_paintCount == 0)
        m_keepInView = placedIndex;
    const auto &placed = m_layout->placed()[static_cast<std::size_t>(placedIndex)];
    const double top = KelDataMapLayout::rowLine(placed.row);
    const double bottom = std::min(KelDataMapLayout::rowLine(placed.endRow),
                                   top + KelDataMapLayout::rowHeight * 3);
    const QRectF visible = visibleUnitRect();
    const double left = m_layout->cellLeft(placed);
    const double right = left + m_layout->columnWidth();
    // Vertically: the item's first rows; sideways: its cell, its left edge first.
    if (top < visible.top() || bottom > visible.bottom()) {
        const double target = bottom - top > visible.height()
                                  ? top
                                  : (top + bottom - visible.height()) / 2;
        verticalScrollBar()->setValue(
            static_cast<int>(std::lround(std::max(0.0, target) * m_zoom)));
    }
    if (left < visible.left() || right > visible.right()) {
        const double target = right - left > visible.width() || left < visible.left()
                                  ? left - KelDataMapLayout::gutterWidth
                                  : right - visible.width();
        horizontalScrollBar()->setValue(
            static_cast<int>(std::lround(std::max(0.0, target - m_layout->rulerWidth()) * m_zoom)));
    }
}

int KelDataMapCanvas::placedAt(const QPoint &position) const
{
    if (!m_layout || position.x() < rulerPixels())
        return -1;
    const double rulerUnits = m_layout->rulerWidth();
    const double x = rulerUnits
                     + (position.x() - rulerPixels() + horizontalScrollBar()->value()) / m_zoom;
    const double y = (position.y() + verticalScrollBar()->value()) / m_zoom;
    return m_layout->placedAt(x, y);
}

void KelDataMapCanvas::wheelEvent(QWheelEvent *event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        const double notches = event->angleDelta().y() / 120.0;
        if (notches != 0) {
            const QPoint at = event->position().toPoint();
            setZoom(m_zoom * std::pow(wheelZoomPerNotch, notches), &at);
        }
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void KelDataMapCanvas::moveSelection(int placedIndex)
{
    if (!m_layout || placedIndex < 0
        || static_cast<std::size_t>(placedIndex) >= m_layout->placed().size())
        return;
    emit itemClicked(placedIndex);
}

void KelDataMapCanvas::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::ZoomIn)
        || (event->modifiers() & Qt::ControlModifier
            && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal))) {
        zoomIn();
        return;
    }
    if (event->matches(QKeySequence::ZoomOut)
        || (event->modifiers() & Qt::ControlModifier && event->key() == Qt::Key_Minus)) {
        zoomOut();
        return;
    }
    if (event->modifiers() & Qt::ControlModifier && event->key() == Qt::Key_0) {
        resetZoom();
        return;
    }
    if (!m_layout || m_layout->placed().empty()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int count = static_cast<int>(m_layout->placed().size());
    const int selected = m_options.selected;
    switch (event->key()) {
    case Qt::Key_Down:
        moveSelection(selected < 0 ? 0 : std::min(count - 1, selected + 1));
        return;
    case Qt::Key_Up:
        moveSelection(selected < 0 ? 0 : std::max(0, selected - 1));
        return;
    case Qt::Key_Home:
        moveSelection(0);
        return;
    case Qt::Key_End:
        moveSelection(count - 1);
        return;
    case Qt::Key_Right:
    case Qt::Key_Left:
        if (selected >= 0)
            emit expandRequested(selected, event->key() == Qt::Key_Right);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selected >= 0)
            emit itemActivated(selected);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void KelDataMapCanvas::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        const int hit = placedAt(event->position().toPoint());
        if (hit >= 0)
            emit itemClicked(hit);
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void KelDataMapCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int hit = event->button() == Qt::LeftButton ? placedAt(event->position().toPoint()) : -1;
    if (hit >= 0)
        emit itemActivated(hit);
    else
        QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void KelDataMapCanvas::contextMenuEvent(QContextMenuEvent *event)
{
    int hit = -1;
    if (event->reason() == QContextMenuEvent::Mouse)
        hit = placedAt(event->pos());
    else
        hit = m_options.selected;
    emit popUpRequested(hit, event->globalPos());
    event->accept();
}

bool KelDataMapCanvas::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int hit = placedAt(help->pos());
        if (hit >= 0)
            QToolTip::showText(help->globalPos(), toolTipFor(hit), viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

QString KelDataMapCanvas::toolTipFor(int placedIndex) const
{
    const auto &placed = m_layout->placed()[static_cast<std::size_t>(placedIndex)];
    const DbSymbol &symbol = placed.item->symbol();
    QStringList lines;
    lines << QStringLiteral("<b>%1 %2</b>")
                 .arg(symbol.level(), 2, 10, QLatin1Char('0'))
                 .arg(QString::fromStdString(symbol.longName()).toHtmlEscaped());
    lines << ICurrentApplication::loadString(KelRes::mapOffsetLength)
                 .arg(symbol.offset())
                 .arg(symbol.length());
    if (!symbol.picture().empty())
        lines << ICurrentApplication::loadString(KelRes::mapPictureUsage)
                     .arg(QString::fromStdString(symbol.picture()),
                          QString::fromStdString(symbol.usage()))
                     .toHtmlEscaped();
    if (const std::string caption = placed.item->occursCaption(); !caption.empty())
        lines << QString::fromStdString(caption);
    if (const DbSymbol *base = symbol.baseSymbol())
        lines << ICurrentApplication::loadString(KelRes::mapRedefinesText)
                     .arg(QString::fromStdString(base->name()))
                     .toHtmlEscaped();
    if (placed.item->isMarked())
        lines << ICurrentApplication::loadString(KelRes::mapDateFieldText)
                     .arg(QString::fromStdString(placed.item->markText()))
                     .toHtmlEscaped();
    return lines.join(QStringLiteral("<br>"));
}

QSize KelDataMapCanvas::minimumSizeHint() const
{
    const QFontMetrics metrics(font());
    const int frame = 2 * frameWidth();
    // The ruler and about two columns of sixteen characters, and a few rows.
    return {metrics.horizontalAdvance(QStringLiteral("0000000000"))
                + 2 * 16 * metrics.averageCharWidth() + 40 + frame,
            static_cast<int>(KelDataMapLayout::rowHeight * 6) + frame};
}

QSize KelDataMapCanvas::sizeHint() const
{
    const int frame = 2 * frameWidth() + 20;
    if (!m_layout)
        return {640, 480};
    return {std::clamp(static_cast<int>(m_layout->width()) + frame, 480, 1100),
            std::clamp(static_cast<int>(m_layout->height()) + frame, 320, 720)};
}
