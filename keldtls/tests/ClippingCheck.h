#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QStringList>
#include <QTabBar>
#include <QWidget>

/// Finds the texts a window shows only in part: a label, button or group box narrower or lower
/// than its text needs, or lying (partly) outside the window or outside the visible part of a
/// scroll area it sits in; and texts missing from their resource library ("[KELRESRC 53504]").
/// Returns one line per fault; empty when there is none.
inline QStringList clippedWidgets(QWidget *window)
{
    QStringList clipped;
    const QRect windowRect = window->rect();
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(window))
            continue;
        const bool text = qobject_cast<QLabel *>(widget) || qobject_cast<QAbstractButton *>(widget)
                          || qobject_cast<QGroupBox *>(widget) || qobject_cast<QTabBar *>(widget);
        if (!text || qobject_cast<QTabBar *>(widget->parentWidget()))
            continue; // a tab bar sizes its own scroll buttons
        const QString name = QStringLiteral("%1 \"%2\"")
                                 .arg(QString::fromLatin1(widget->metaObject()->className()),
                                      widget->objectName().isEmpty()
                                          ? widget->property("text").toString()
                                          : widget->objectName());
        const QString shown = widget->property("text").toString()
                              + widget->property("title").toString();
        if (shown.contains(QStringLiteral("[KELRESRC "))
            || shown.contains(QStringLiteral("[KELAE20W ")))
            clipped << name + QStringLiteral(" shows a missing text: ") + shown;
        auto *label = qobject_cast<QLabel *>(widget);
        const QSize needed = label && !label->wordWrap() ? widget->sizeHint()
                                                         : widget->minimumSizeHint();
        if (!qobject_cast<QTabBar *>(widget)
            && (widget->width() < needed.width() || widget->height() < needed.height()))
            clipped << name
                           + QStringLiteral(" is %1x%2, needs %3x%4")
                                 .arg(widget->width())
                                 .arg(widget->height())
                                 .arg(needed.width())
                                 .arg(needed.height());
        const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
        if (!windowRect.contains(inWindow))
            clipped << name + QStringLiteral(" lies outside the window");
        for (QWidget *up = widget->parentWidget(); up && up != window; up = up->parentWidget()) {
            auto *scroll = qobject_cast<QAbstractScrollArea *>(up);
            if (!scroll)
                continue;
            const QRect viewport(scroll->viewport()->mapTo(window, QPoint(0, 0)),
                                 scroll->viewport()->size());
            if (!viewport.contains(inWindow))
                clipped << name + QStringLiteral(" is scrolled out of sight");
            break;
        }
    }
    return clipped;
}

/// Grabs `window`, saves the picture as `<name>.png` in $CHRONEX_GRAB_DIR when set, and returns
/// whether it shows more than a blank area.
inline bool grabLooksDrawn(QWidget *window, const QString &name)
{
    const QImage image = window->grab().toImage();
    if (image.isNull())
        return false;
    const QString dir = qEnvironmentVariable("CHRONEX_GRAB_DIR");
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
    QList<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < 4; y += 3)
        for (int x = 0; x < image.width() && colours.size() < 4; x += 3)
            if (!colours.contains(image.pixel(x, y)))
                colours << image.pixel(x, y);
    return colours.size() > 3;
}
