#include "KelDesktopSelectHandler.h"

#include "KelDesktop.h"

#include <QListWidget>

KelDesktopSelectHandler::KelDesktopSelectHandler(QListWidget *list, KelDesktop *desktop)
    : QObject(desktop)
    , m_desktop(desktop)
{
    connect(list, &QListWidget::itemActivated, this, [this, list](QListWidgetItem *item) {
        enter(list->row(item));
    });
    connect(list, &QListWidget::currentRowChanged, this, &KelDesktopSelectHandler::selected);
}

void KelDesktopSelectHandler::enter(int line)
{
    if (line >= 0)
        m_desktop->openLine(line);
}

void KelDesktopSelectHandler::selected(int) {}
