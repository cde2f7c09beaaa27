#pragma once

#include "XIAction.h"

#include <QPointer>
#include <QSize>
#include <QString>

class DSSettingsView;
class QWidget;

/// A resource id naming a notebook: its id, and the string with that id as its title.
struct DSResourceId
{
    unsigned long id = 0;
};

/// The opener of a settings notebook (DSSettingsView): an action that makes the notebook when it
/// is performed, fills it (populateSettingsView), shows it and brings it to the front. Asked again
/// while the notebook is open it only brings it forward, so there is never more than one
/// notebook per opener. When the notebook's frame closes it calls settingsViewClosed() and the
/// opener forgets it.
///
/// A modeless notebook is a window of its own that belongs to the owner window: it closes with
/// the owner, and deletes itself when closed. A modal one blocks the application until it is
/// closed; performAction() returns after that, and the notebook is gone.
///
/// Destroying the opener closes its notebook, so neither is left pointing at the other.
class DSOpenSettings : public XIAction
{
    Q_OBJECT

public:
    enum class Modality { modeless, modal };

    /// An opener titled by the string `titleId` of the user resource library, for the notebook
    /// `id` (also the action's command id).
    DSOpenSettings(unsigned long titleId,
                   unsigned long id,
                   QWidget *owner = nullptr,
                   Modality modality = Modality::modeless);
    /// An opener whose notebook id is `resource.id` and whose title is the string with that id.
    explicit DSOpenSettings(DSResourceId resource,
                            QWidget *owner = nullptr,
                            Modality modality = Modality::modeless);
    /// An opener for the notebook `id` without a title (see setTitle).
    explicit DSOpenSettings(unsigned long id,
                            QWidget *owner = nullptr,
                            Modality modality = Modality::modeless);
    ~DSOpenSettings() override;

    /// Opens the notebook, or brings the open one forward. Returns true.
    bool performAction() override;

    /// Removes every page of the open notebook and adds the pages again (populateSettingsView).
    void refreshSettingsView();

    /// The open notebook; null when it is closed.
    DSSettingsView *settingsView() const;
    void setSettingsView(DSSettingsView *view);
    /// The notebook is closing: the opener forgets it. Derived openers that override this call
    /// the base.
    virtual void settingsViewClosed();

    unsigned long id() const { return m_id; }
    void setId(unsigned long id) { m_id = id; }
    /// The resource id of the title; 0 when the title was given as text or is empty.
    unsigned long titleId() const { return m_titleId; }
    QString title() const;
    void setTitle(const QString &title);
    /// The owner window; null when there is none or it has gone.
    QWidget *ownerWindow() const { return m_owner; }
    bool isModal() const { return m_modality == Modality::modal; }
    /// The notebook's minimum size (none when invalid).
    QSize minimumSize() const { return m_minimumSize; }
    void setMinimumSize(const QSize &size);

protected:
    /// Adds the pages to the new notebook (settingsView()); the base adds none.
    virtual void populateSettingsView();

private:
    void showModal();

    unsigned long m_id;
    unsigned long m_titleId = 0;
    QString m_title;
    QPointer<QWidget> m_owner;
    Modality m_modality;
    QSize m_minimumSize;
    QPointer<DSSettingsView> m_view;
};
