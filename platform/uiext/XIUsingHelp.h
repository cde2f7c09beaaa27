#pragma once

#include "XIAction.h"

/// The "using help" action: shows the help panel `panel` of the application help library, or,
/// when that library has no such page, the UI extension library's own page on using help.
/// Command id XIUsingHelp::commandId.
class XIUsingHelp : public XIAction
{
    Q_OBJECT

public:
    static constexpr unsigned long commandId = 0x3202;

    /// `titleId`: the help window's title; `textId`: the menu text (user resource library).
    XIUsingHelp(unsigned long windowId,
                QWidget *window,
                unsigned long titleId,
                unsigned long textId,
                unsigned long panel);

    unsigned long windowId() const { return m_windowId; }
    unsigned long panel() const { return m_panel; }
    bool performAction() override;

private:
    unsigned long m_windowId;
    unsigned long m_panel;
    QString m_title;
};
