#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QSet>
#include <QString>
#include <QWidget>

/// Grabs of windows in GUI tests: check() shows the window if needed, grabs it, fails on a
/// blank picture (an empty pane or a window that did not paint) and saves it as <name>.png in
/// $CHRONEX_GRAB_DIR when that is set, to be looked at.
///
///     QVERIFY(WidgetGrab::check(window, "desktop-minimum"));
namespace WidgetGrab {

inline bool check(QWidget *widget, const QString &name)
{
    if (!widget->isVisible())
        widget->show();
    // A window laid out anew paints on the next turns of the event loop.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    const QImage image = widget->grab().toImage();
    if (image.isNull())
        return false;
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    const QString directory = qEnvironmentVariable("CHRONEX_GRAB_DIR");
    if (!directory.isEmpty())
        image.save(QDir(directory).filePath(name + QStringLiteral(".png")));
    return colours.size() > 3;
}

} // namespace WidgetGrab
