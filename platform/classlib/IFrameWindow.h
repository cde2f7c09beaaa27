#pragma once

#include "IWindowHandle.h"

#include <QMainWindow>

class ICommandEvent;
class ISystemCommandEvent;
class IUserEvent;

/// A frame window: the main window of a view, with a menu bar, tool bars, a client area and an
/// info area (QMainWindow). It adds to Qt's main window what the views rely on:
/// - a handle (IWindowHandle) through which other windows and threads reach it;
/// - frames built from a resource id: the title is the string and the icon the image with that
///   id in the user resource library (ICurrentApplication), when it has them;
/// - its own commands, system commands and user events as virtual operations (return true when
///   dealt with); handlers attached with IHandler::handleEventsFor see them first;
/// - closes and state changes reported as system commands (see ISystemCommandEvent), so one
///   systemCommand override or handler sees the title bar's buttons and the program's commands
///   alike. A class that overrides closeEvent or changeEvent must call this class's version.
class IFrameWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit IFrameWindow(QWidget *parent = nullptr, Qt::WindowFlags flags = {});
    /// A frame built from `windowId`: title and icon from the user resource library (missing
    /// ones are left empty), object name "frame-<id>".
    explicit IFrameWindow(unsigned long windowId,
                          QWidget *parent = nullptr,
                          Qt::WindowFlags flags = {});
    ~IFrameWindow() override;

    /// The resource id the frame was built from, 0 for none.
    unsigned long windowId() const { return m_windowId; }

    IWindowHandle handle() const;

protected:
    /// An ICommandEvent for this frame (from its menus, tool bars, buttons).
    virtual bool command(ICommandEvent &event);
    /// An ISystemCommandEvent for this frame; true consumes it (no default processing).
    virtual bool systemCommand(ISystemCommandEvent &event);
    /// Any other IUserEvent posted or sent to this frame; set the event's result to answer.
    virtual bool userEvent(IUserEvent &event);

    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    unsigned long m_windowId = 0;
    bool m_revertingState = false;
};
