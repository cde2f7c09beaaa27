#pragma once

#include "KelDataMapPainter.h"

#include <QFont>
#include <QSize>
#include <QString>

class KelDataMapLayout;

/// The whole map of a record outside the window: as text for the clipboard, as a PNG image and
/// as an SVG drawing, each with the ruler and every row, drawn by KelDataMapPainter.
class KelDataMapExport final
{
public:
    /// The largest PNG written, in pixels per side and in all; a bigger map is refused (it would
    /// take gigabytes) and should be saved as SVG or text.
    static constexpr int maximumImageSide = 32000;
    static constexpr qint64 maximumImagePixels = 200'000'000;

    KelDataMapExport(const KelDataMapLayout &layout,
                     const QFont &font,
                     const KelDataMapPainter::Options &options);

    /// The map as text: a line naming the record, then per row the byte offset right-aligned in
    /// 8 characters and each item as two blanks, its column, a blank, its name and its OCCURS
    /// caption (the format of `keldb map`).
    QString text(const QString &title) const;
    /// The picture's size in pixels at zoom 1.
    QSize imageSize() const;
    /// Whether the map fits a PNG (maximumImageSide, maximumImagePixels).
    bool fitsImage() const;

    /// Writes a PNG; false with `error` set when the map is too large or the file cannot be
    /// written (the error names the file and why).
    bool savePng(const QString &fileName, QString &error) const;
    /// Writes an SVG drawing titled `title`; false with `error` set when the file cannot be
    /// written.
    bool saveSvg(const QString &fileName, const QString &title, QString &error) const;
    /// Writes text(); false with `error` set when the file cannot be written.
    bool saveText(const QString &fileName, const QString &title, QString &error) const;

private:
    void paintAll(QPainter &painter) const;

    const KelDataMapLayout &m_layout;
    QFont m_font;
    KelDataMapPainter::Options m_options;
};
