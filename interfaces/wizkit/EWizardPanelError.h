#pragma once

#include <QString>

class QWidget;

/// The message a panel shows when its values do not pass the next-check: an error box with the
/// text and an OK button, modal over `owner` (the panel's frame).
///
///     EWizardPanelError(frame(), text).show();
class EWizardPanelError final
{
public:
    /// `text` is kit mark-up; an empty text gives the kit's general request to correct the error.
    EWizardPanelError(QWidget *owner, const QString &text);

    /// Shows the message modally; returns when the user has acknowledged it.
    void show();

    const QString &text() const { return m_text; }

private:
    QWidget *m_owner = nullptr;
    QString m_text;
};
