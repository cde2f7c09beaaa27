#pragma once

#include "XIAction.h"

/// The "help index" action: shows the index of the application help library
/// (XIHelpWindow::applicationLibrary) in the help window. Command id XIHelpIndex::commandId.
class XIHelpIndex : public XIAction
{
    Q_OBJECT

public:
    static constexpr unsigned long commandId = 0x3201;

    /// For the window `window` (its owner) with the resource id `windowId`; `titleId` is the
    /// help window's title and `textId` the menu text, both from the user resource library.
    XIHelpIndex(unsigned long windowId,
                QWidget *window,
                unsigned long titleId,
                unsigned long textId);

    unsigned long windowId() const { return m_windowId; }
    bool performAction() override;

private:
    unsigned long m_windowId;
    QString m_title;
};
