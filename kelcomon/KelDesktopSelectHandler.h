#pragma once

#include <QObject>

class KelDesktop;
class QListWidget;

/// The desktop list's selection handler: entering a line (Enter, a double click) opens its view
/// (KelDesktop::openLine: line 0 a graph of the execution unit, line n the source of unit n);
/// selecting a line does nothing more.
class KelDesktopSelectHandler : public QObject
{
    Q_OBJECT

public:
    KelDesktopSelectHandler(QListWidget *list, KelDesktop *desktop);

    void enter(int line);
    void selected(int line);

private:
    KelDesktop *m_desktop;
};
