#include "DSSettingsPage.h"

#include "DSSettingsView.h"

#include <QScrollArea>
#include <QWidget>

#include <atomic>

namespace {

/// The class-wide id counter; starts with the library.
std::atomic<DSSettingsPage::PageId> pageIdCounter{1};

} // namespace

DSSettingsPage::DSSettingsPage(
    DSSettingsView *view, TabType tabType, const QString &tabText, int key, int helpPanel)
    : QObject(view)
    , m_view(view)
    , m_tabText(tabText)
    , m_tabType(tabType)
    , m_key(key)
    , m_helpPanel(helpPanel > 0 ? static_cast<unsigned long>(helpPanel) : 0)
    , m_pageId(nextId())
{
    setObjectName(QStringLiteral("dspage-%1").arg(m_pageId));
}

DSSettingsPage::DSSettingsPage(
    DSSettingsView *view, const QString &tabText, int key, int helpPanel, int positionInSection)
    : DSSettingsPage(view,
                     positionInSection <= 1 ? TabType::major : TabType::minor,
                     tabText,
                     key,
                     helpPanel)
{}

DSSettingsPage::~DSSettingsPage()
{
    // The controls of a derived page refer to its members, which are gone by now.
    delete m_window.data();
}

DSSettingsPage::PageId DSSettingsPage::nextId()
{
    return pageIdCounter.fetch_add(1);
}

DSSettingsPage::PageId DSSettingsPage::peekNextId()
{
    return pageIdCounter.load();
}

void DSSettingsPage::setTabText(const QString &text)
{
    m_tabText = text;
    if (m_view)
        m_view->refreshTabText(this);
}

void DSSettingsPage::setStatusText(const QString &text)
{
    m_statusText = text;
    emit statusTextChanged();
}

void DSSettingsPage::setHelpInfo(const QString &library,
                                 unsigned long panel,
                                 const QList<unsigned long> &helpData)
{
    m_helpLibrary = library;
    m_helpPanel = panel;
    m_helpData = helpData;
}

void DSSettingsPage::initializePage(QWidget *notebookWindow, int index)
{
    Q_UNUSED(index)
    if (m_window || !notebookWindow)
        return;
    m_container = notebookWindow;
    auto *window = new QWidget;
    window->setObjectName(QStringLiteral("dspagewindow-%1").arg(m_pageId));
    if (auto *scroll = qobject_cast<QScrollArea *>(notebookWindow))
        scroll->setWidget(window);
    else
        window->setParent(notebookWindow);
    m_window = window;
    populatePage();
}

void DSSettingsPage::populatePage() {}
