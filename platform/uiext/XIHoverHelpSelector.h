#pragma once

#include "XIAction.h"

/// The hover-help selector: one latching action for the whole process that switches the hover
/// help (the fly-over texts shown as tool tips) of every tool bar on or off. It starts on.
/// Put it on tool bars and menus like any action; its command id is
/// UiextRes::hoverHelpCommand.
class XIHoverHelpSelector : public XIAction
{
    Q_OBJECT

public:
    /// The selector, made on first request as a child of the application (needs a
    /// QCoreApplication).
    static XIHoverHelpSelector *hoverHelpSelector();

    /// Whether tool bars show hover help (true before the selector is made).
    static bool isHoverHelpOn();

    /// Switches hover help over and returns true.
    bool performAction() override;

signals:
    void hoverHelpChanged(bool on);

private:
    explicit XIHoverHelpSelector(QObject *parent);
};
