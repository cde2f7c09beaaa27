#pragma once

#include "XIAction.h"
#include "XISettingsView.h"

#include <QPointer>
#include <QSize>

/// The opener of a settings notebook: an action that makes the notebook (XISettingsView) when
/// it is performed, fills it (populateSettingsView), shows it and brings it to the front; asked
/// again while the notebook is open it only brings it forward. When the notebook closes the
/// opener forgets it (settingsViewClosed) and the notebook deletes itself.
///
/// A modeless notebook is a window of its own owned by the owner window, so it closes with it;
/// a modal one is shown with exec() and deleted when that returns.
class XIOpenSettings : public XIAction
{
    Q_OBJECT

public:
    enum class Modality { Modeless, Modal };

    /// An opener with the action's `commandId`, the notebook's `notebookId`, the owner window and
    /// the modality. `title` becomes the notebook's window title.
    XIOpenSettings(unsigned long commandId,
                   unsigned long notebookId,
                   QWidget *owner,
                   Modality modality = Modality::Modeless,
                   const QString &title = {});
    ~XIOpenSettings() override;

    /// Opens the notebook or brings it forward; returns true.
    bool performAction() override;

    /// The open notebook, or nullptr.
    XISettingsView *settingsView() const { return m_view; }
    unsigned long notebookId() const { return m_notebookId; }
    Modality modality() const { return m_modality; }

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    /// The notebook's minimum size (none when empty).
    void setMinimumViewSize(const QSize &size) { m_minimumSize = size; }

protected:
    /// Adds the pages to the new notebook (settingsView()); the base adds none.
    virtual void populateSettingsView();
    /// The notebook is closing; the base forgets it.
    virtual void settingsViewClosed();

private:
    unsigned long m_notebookId;
    Modality m_modality;
    QString m_title;
    QSize m_minimumSize;
    QPointer<XISettingsView> m_view;
};
