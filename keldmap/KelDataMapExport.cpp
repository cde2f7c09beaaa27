#include "KelDataMapExport.h"

#include "KelDataMapLayout.h"
#include "KelDataMapStyle.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cmath>

KelDataMapExport::KelDataMapExport(const KelDataMapLayout &layout,
                                   const QFont &font,
                                   const KelDataMapPainter::Options &options)
    : m_layout(layout)
    , m_font(font)
    , m_options(options)
{}

QString KelDataMapExport::text(const QString &title) const
{
    return title + QLatin1Char('\n') + QString::fromStdString(m_layout.text());
}

QSize KelDataMapExport::imageSize() const
{
    return {static_cast<int>(std::min(std::ceil(m_layout.width()), 2.0e9)),
            static_cast<int>(std::min(std::ceil(m_layout.height()), 2.0e9))};
}

bool KelDataMapExport::fitsImage() const
{
    const QSize size = imageSize();
    return size.width() <= maximumImageSide && size.height() <= maximumImageSide
           && qint64(size.width()) * size.height() <= maximumImagePixels;
}

void KelDataMapExport::paintAll(QPainter &painter) const
{
    const QRectF all(0, 0, m_layout.width(), m_layout.height());
    painter.fillRect(all, KelDataMapStyle::background());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const KelDataMapPainter drawer(m_layout, m_font, m_options);
    drawer.paintGrid(painter, all);
    drawer.paintRuler(painter, 0, m_layout.height());
}

bool KelDataMapExport::savePng(const QString &fileName, QString &error) const
{
    if (!fitsImage()) {
        error = QStringLiteral("%1 by %2 pixels is too large for a PNG image")
                    .arg(imageSize().width())
                    .arg(imageSize().height());
        return false;
    }
    QImage image(imageSize(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        error = QStringLiteral("there is not enough memory for a picture of %1 by %2 pixels")
                    .arg(imageSize().width())
                    .arg(imageSize().height());
        return false;
    }
    {
        QPainter painter(&image);
        paintAll(painter);
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool KelDataMapExport::saveSvg(const QString &fileName, const QString &title, QString &error) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(imageSize());
        svg.setViewBox(QRect(QPoint(0, 0), imageSize()));
        svg.setTitle(title);
        svg.setResolution(96);
        QPainter painter;
        if (!painter.begin(&svg)) {
            error = QStringLiteral("the drawing could not be started");
            file.cancelWriting();
            return false;
        }
        paintAll(painter);
        painter.end();
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool KelDataMapExport::saveText(const QString &fileName, const QString &title, QString &error) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        error = file.errorString();
        return false;
    }
    file.write(text(title).toUtf8());
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
