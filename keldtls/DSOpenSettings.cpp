#include "DSOpenSettings.h"

#include "DSSettingsView.h"
#include "ICurrentApplication.h"

#include <QEventLoop>
#include <QWidget>

DSOpenSettings::DSOpenSettings(unsigned long titleId,
                               unsigned long id,
                               QWidget *owner,
                               Modality modality)
    : XIAction(id, {}, {}, owner)
    , m_id(id)
    , m_titleId(titleId)
    , m_owner(owner)
    , m_modality(modality)
{}

DSOpenSettings::DSOpenSettings(DSResourceId resource, QWidget *owner, Modality modality)
    : DSOpenSettings(resource.id, resource.id, owner, modality)
{}

DSOpenSettings::DSOpenSettings(unsigned long id, QWidget *owner, Modality modality)
    : XIAction(id, {}, {}, owner)
    , m_id(id)
    , m_owner(owner)
    , m_modality(modality)
{}

DSOpenSettings::~DSOpenSettings()
{
    if (m_view) {
        m_view->setActionOwner(nullptr);
        delete m_view.data();
    }
}

QString DSOpenSettings::title() const
{
    if (m_titleId != 0)
        return ICurrentApplication::loadString(m_titleId);
    return m_title;
}

void DSOpenSettings::setTitle(const QString &title)
{
    m_titleId = 0;
    m_title = title;
    if (m_view)
        m_view->setViewText(title);
}

void DSOpenSettings::setMinimumSize(const QSize &size)
{
    m_minimumSize = size;
    if (m_view)
        m_view->setRequestedMinimumSize(size);
}

bool DSOpenSettings::performAction()
{
    if (!m_view) {
        m_view = new DSSettingsView(title(), m_id, m_owner, this);
        if (m_minimumSize.isValid())
            m_view->setRequestedMinimumSize(m_minimumSize);
        populateSettingsView();
        if (m_view && m_view->currentPageId() == 0 && m_view->numberOfPages() > 0)
            m_view->turnToPage(DSSettingsView::Cursor(*m_view).current());
    }
    if (!m_view)
        return true;
    if (isModal()) {
        // The owner may close while the notebook is shown, and take this opener with it.
        const QPointer<DSOpenSettings> self(this);
        showModal();
        if (!self)
            return true;
    } else {
        m_view->setAttribute(Qt::WA_DeleteOnClose);
        if (m_view->isMinimized())
            m_view->showNormal();
        m_view->show();
        m_view->raise();
        m_view->activateWindow();
    }
    emit performed();
    return true;
}

void DSOpenSettings::showModal()
{
    QPointer<DSSettingsView> view = m_view;
    view->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(view, &DSSettingsView::closed, &loop, &QEventLoop::quit);
    connect(view, &QObject::destroyed, &loop, &QEventLoop::quit);
    view->show();
    view->raise();
    view->activateWindow();
    const QPointer<DSOpenSettings> self(this);
    loop.exec();
    if (view) {
        view->setActionOwner(nullptr);
        delete view.data();
    }
    if (self)
        m_view = nullptr;
}

void DSOpenSettings::refreshSettingsView()
{
    if (!m_view)
        return;
    for (DSSettingsView::Cursor cursor(*m_view); cursor.setToFirst();)
        m_view->removePage(cursor);
    populateSettingsView();
    if (m_view && m_view->currentPageId() == 0 && m_view->numberOfPages() > 0)
        m_view->turnToPage(DSSettingsView::Cursor(*m_view).current());
}

DSSettingsView *DSOpenSettings::settingsView() const
{
    return m_view;
}

void DSOpenSettings::setSettingsView(DSSettingsView *view)
{
    m_view = view;
    if (view)
        view->setActionOwner(this);
}

void DSOpenSettings::settingsViewClosed()
{
    m_view = nullptr;
}

void DSOpenSettings::populateSettingsView() {}
