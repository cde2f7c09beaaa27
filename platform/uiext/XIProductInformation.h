#pragma once

#include "XIAction.h"

#include <QMessageBox>
#include <QPointer>

/// The "product information" action: shows a small window with the product's icon, name and
/// description. Texts and icon come from the user resource library. One window at a time: asking
/// again brings the open one to the front. Command id XIProductInformation::commandId.
class XIProductInformation : public XIAction
{
    Q_OBJECT

public:
    static constexpr unsigned long commandId = 0x3203;

    /// `titleId`: the menu text and (without its mnemonic) the window title; `nameId`: the
    /// product name; `descriptionId`: what follows it; `iconId`: an image; `window`: the owner.
    XIProductInformation(unsigned long titleId,
                         unsigned long nameId,
                         unsigned long descriptionId,
                         unsigned long iconId,
                         QWidget *window);

    bool performAction() override;
    /// The window while it is open.
    QMessageBox *informationWindow() const { return m_window; }

private:
    unsigned long m_nameId;
    unsigned long m_descriptionId;
    unsigned long m_iconId;
    QPointer<QMessageBox> m_window;
};
