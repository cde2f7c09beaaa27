#include "XIOpenSettings.h"

#include "XISettingsView.h"

XIOpenSettings::XIOpenSettings(unsigned long commandId,
                               unsigned long notebookId,
                               QWidget *owner,
                               Modality modality,
                               const QString &title)
    : XIAction(commandId, {}, {}, owner)
    , m_notebookId(notebookId)
    , m_modality(modality)
    , m_title(title)
{}

XIOpenSettings::~XIOpenSettings()
{
    // A modeless notebook belongs to the owner window; without an owner it would outlive its
    // opener, so close it now.
    if (m_view && !m_view->parent())
        delete m_view;
}

void XIOpenSettings::setTitle(const QString &title)
{
    m_title = title;
    if (m_view)
        m_view->setViewText(title);
}

bool XIOpenSettings::performAction()
{
    if (!m_view) {
        auto *owner = qobject_cast<QWidget *>(const_cast<QObject *>(this->owner()));
        m_view = new XISettingsView(m_notebookId, owner);
        m_view->setViewText(m_title);
        if (m_minimumSize.isValid())
            m_view->setRequestedMinimumSize(m_minimumSize);
        connect(m_view, &XISettingsView::closed, this, [this] { settingsViewClosed(); });
        populateSettingsView();
        if (m_view && !m_view->currentPage() && m_view->pageCount() > 0)
            m_view->turnToPage(0);
    }
    if (m_modality == Modality::Modal) {
        QPointer<XISettingsView> view = m_view;
        view->exec();
        delete view;
        m_view = nullptr;
    } else {
        m_view->setAttribute(Qt::WA_DeleteOnClose);
        m_view->show();
        m_view->raise();
        m_view->activateWindow();
    }
    emit performed();
    return true;
}

void XIOpenSettings::populateSettingsView() {}

void XIOpenSettings::settingsViewClosed()
{
    m_view = nullptr;
}
