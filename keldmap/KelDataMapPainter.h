#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

#include <cstdint>

class KelDataMapLayout;
class QPainter;

/// Draws a data map's grid (KelDataMapLayout) with a painter whose coordinates are layout units:
/// the canvas, the saved pictures and the tests all draw through it. Only what meets the given
/// area is drawn: the rows and lanes of the area are found by binary search, so the cost of a
/// paint follows the area, not the record.
class KelDataMapPainter final
{
public:
    struct Options
    {
        int selected = -1;       ///< index in placed() of the selected item
        bool showMarks = true;   ///< draw the date fields the analysis found
        bool hexOffsets = false; ///< the ruler in hexadecimal
    };

    KelDataMapPainter(const KelDataMapLayout &layout, const QFont &font, const Options &options);

    /// Draws the panes (row bands and lines, boxes, names, captions) that meet `area`; returns how
    /// many items were drawn.
    int paintGrid(QPainter &painter, const QRectF &area) const;
    /// Draws the ruler (x from 0 to rulerWidth) for the lines between y0 and y1.
    void paintRuler(QPainter &painter, double y0, double y1) const;

    /// The text the ruler shows for a byte offset: decimal, or hexadecimal with "X'...'" .
    static QString offsetText(std::uint64_t byteOffset, bool hexadecimal);

private:
    void paintItem(QPainter &painter, int placedIndex) const;

    const KelDataMapLayout &m_layout;
    QFont m_font;
    Options m_options;
};
