#include "KelDataMapPainter.h"

#include "DbSymbol.h"
#include "KelDataMapItem.h"
#include "KelDataMapLayout.h"
#include "KelDataMapStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

using Style = KelDataMapStyle::Box;

/// Room between nested boxes, so each box reads as its own.
constexpr double boxInset = 3;
constexpr double dateBarWidth = 5;
constexpr double disclosureSize = 8;

} // namespace

KelDataMapPainter::KelDataMapPainter(const KelDataMapLayout &layout,
                                     const QFont &font,
                                     const Options &options)
    : m_layout(layout)
    , m_font(font)
    , m_options(options)
{}

QString KelDataMapPainter::offsetText(std::uint64_t byteOffset, bool hexadecimal)
{
    if (hexadecimal)
        return QStringLiteral("X'%1'").arg(byteOffset, 0, 16).toUpper();
    return QString::number(byteOffset);
}

int KelDataMapPainter::paintGrid(QPainter &painter, const QRectF &area) const
{
    const auto &rows = m_layout.rows();
    if (rows.empty() || m_layout.panes().empty())
        return 0;
    painter.save();
    painter.setClipRect(area);
    painter.setFont(m_font);
    const auto [firstRow, endRow] = m_layout.rowsBetween(area.top(), area.bottom());
    const double left = m_layout.panes().front().x;
    const double right = m_layout.width() - KelDataMapLayout::rightMargin;

    // Row bands and lines across the panes.
    for (std::uint32_t r = firstRow; r < endRow; ++r)
        if (r % 2 == 1)
            painter.fillRect(QRectF(left,
                                    KelDataMapLayout::rowLine(r),
                                    right - left,
                                    KelDataMapLayout::rowHeight),
                             KelDataMapStyle::rowBand());
    painter.setPen(QPen(KelDataMapStyle::rowLine(), 0));
    for (std::uint32_t r = firstRow; r <= std::min<std::uint32_t>(endRow, rows.size() - 1); ++r)
        painter.drawLine(QPointF(left, KelDataMapLayout::rowLine(r)),
                         QPointF(right, KelDataMapLayout::rowLine(r)));
    const double end = KelDataMapLayout::rowLine(static_cast<std::uint32_t>(rows.size()));
    painter.setPen(QPen(KelDataMapStyle::endLine(), 0));
    painter.drawLine(QPointF(left, end), QPointF(right, end));
    painter.setPen(QPen(KelDataMapStyle::paneFrame(), 0));
    for (const auto &pane : m_layout.panes())
        if (pane.x <= area.right() && pane.x + pane.width >= area.left())
            painter.drawRect(QRectF(pane.x,
                                    KelDataMapLayout::rowLine(0),
                                    pane.width,
                                    end - KelDataMapLayout::rowLine(0)));

    // Items: per lane that meets the area, those whose boxes meet the rows shown.
    int painted = 0;
    const auto &placed = m_layout.placed();
    const double w = m_layout.columnWidth();
    for (const auto &lane : m_layout.lanes()) {
        if (lane.x > area.right() || lane.x + w < area.left())
            continue;
        auto at = std::partition_point(lane.placed.begin(),
                                       lane.placed.end(),
                                       [&](std::uint32_t p) {
                                           return placed[p].endRow <= firstRow;
                                       });
        for (; at != lane.placed.end() && placed[*at].row < std::max(endRow, firstRow + 1); ++at) {
            paintItem(painter, static_cast<int>(*at));
            ++painted;
        }
    }
    painter.restore();
    return painted;
}

void KelDataMapPainter::paintItem(QPainter &painter, int placedIndex) const
{
    const KelDataMapLayout::Placed &placed = m_layout
                                                 .placed()[static_cast<std::size_t>(placedIndex)];
    const KelDataMapItem &item = *placed.item;
    const double top = KelDataMapLayout::rowLine(placed.row);
    const double bottom = KelDataMapLayout::rowLine(placed.endRow);
    const QRectF box(m_layout.cellLeft(placed) + boxInset,
                     top + boxInset,
                     m_layout.columnWidth() - 2 * boxInset,
                     bottom - top - 2 * boxInset);

    const bool marked = m_options.showMarks && item.isMarked();
    const bool selected = placedIndex == m_options.selected;
    const bool group = item.symbol().isGroup() || placed.column == 1;
    Style kind = placed.column == 1 ? Style::record : group ? Style::group : Style::elementary;
    if (placed.pane > 0 || item.root() == 0)
        kind = Style::otherView;
    const Style fill = selected ? Style::selected : marked ? Style::dateField : kind;
    const Style border = selected ? Style::selected : marked ? Style::dateField : kind;
    painter.setPen(QPen(KelDataMapStyle::border(border), selected ? 2 : 1));
    painter.setBrush(KelDataMapStyle::fill(fill));
    painter.drawRoundedRect(box, 3, 3);
    if (marked)
        painter.fillRect(QRectF(box.left(), box.top(), dateBarWidth, box.height()),
                         KelDataMapStyle::dateFieldBar());

    // A group's marker: pointing down while its items are shown, right while they are hidden.
    if (item.symbol().isGroup() && placed.column > 0) {
        const double x = m_layout.cellLeft(placed) + 8;
        const double y = top + KelDataMapLayout::nameDrop - disclosureSize + 1;
        QPainterPath marker;
        if (item.expanded()) {
            marker.moveTo(x, y);
            marker.lineTo(x + disclosureSize, y);
            marker.lineTo(x + disclosureSize / 2, y + disclosureSize * 0.7);
        } else {
            marker.moveTo(x + 1, y - 1);
            marker.lineTo(x + 1 + disclosureSize * 0.7, y + disclosureSize / 2 - 1);
            marker.lineTo(x + 1, y + disclosureSize - 1);
        }
        marker.closeSubpath();
        painter.fillPath(marker, KelDataMapStyle::disclosure());
    }

    painter.setPen(item.name() == "FILLER" ? KelDataMapStyle::fillerText()
                                           : KelDataMapStyle::nameText());
    const double baseline = m_layout.nameBaseline(placed);
    painter.drawText(QPointF(m_layout.nameX(placed), baseline),
                     QString::fromStdString(item.name()));
    const std::string caption = item.occursCaption();
    if (!caption.empty()) {
        painter.setPen(KelDataMapStyle::captionText());
        painter.drawText(QPointF(m_layout.captionX(placed), baseline),
                         QString::fromStdString(caption));
    }
}

void KelDataMapPainter::paintRuler(QPainter &painter, double y0, double y1) const
{
    painter.save();
    painter.setFont(m_font);
    const double width = m_layout.rulerWidth();
    painter.fillRect(QRectF(0, y0, width, y1 - y0), KelDataMapStyle::rulerBackground());
    const auto rowCount = static_cast<std::uint32_t>(m_layout.rows().size());
    if (rowCount == 0) {
        painter.restore();
        return;
    }
    const QFontMetricsF metrics(m_font);
    const double half = metrics.height() / 2;
    // A label is centred on its line, so lines just outside the area may show in it.
    const auto [first, end] = m_layout.rowsBetween(y0 - half - KelDataMapLayout::rowHeight,
                                                   y1 + half);
    const double labelLeft = KelDataMapLayout::offsetInset;
    const double labelRight = m_layout.offsetLabelRight();
    for (std::uint32_t r = first; r <= std::min(end, rowCount); ++r) {
        const double line = KelDataMapLayout::rowLine(r);
        painter.setPen(
            QPen(r == rowCount ? KelDataMapStyle::endLine() : KelDataMapStyle::rowLine(), 0));
        painter.drawLine(QPointF(labelRight + 2, line), QPointF(width, line));
        painter.setPen(KelDataMapStyle::rulerText());
        painter.drawText(QRectF(labelLeft, line - half, labelRight - labelLeft, 2 * half),
                         Qt::AlignRight | Qt::AlignVCenter,
                         offsetText(m_layout.byteOffsetOfLine(r), m_options.hexOffsets));
    }
    painter.restore();
}
