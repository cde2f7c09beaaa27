#pragma once

#include "XIAction.h"

class KelWindow;

/// An action of a view window: a command id, a category that says how the window runs it
/// ("basic", "simple", "exit"; KelWindow::command), an optional latching state, and a pointer
/// to the window whose operation it performs. Made with two empty texts; the window sets its
/// texts from KELRESRC. The window is its owner (the action's parent) and sets the pointer with
/// setPointer before the action is used.
class KelWindowAction : public XIAction
{
    Q_OBJECT

public:
    enum class Latching { no, yes };

    KelWindowAction(unsigned long commandId,
                    const QString &category,
                    Latching latching,
                    QObject *owner);

    void setPointer(KelWindow *window) { m_window = window; }
    KelWindow *window() const { return m_window; }

private:
    KelWindow *m_window = nullptr;
};
