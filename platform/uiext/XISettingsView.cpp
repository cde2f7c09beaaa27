#include "XISettingsView.h"

#include "Kelae20wResourceIds.h"
#include "UiextTexts.h"
#include "XISettingsPage.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

/// The page inside the scroll area that holds it on the notebook's tab.
XISettingsPage *pageIn(QWidget *tab)
{
    auto *scroll = qobject_cast<QScrollArea *>(tab);
    return scroll ? qobject_cast<XISettingsPage *>(scroll->widget()) : nullptr;
}

} // namespace

XISettingsView::XISettingsView(unsigned long notebookId, QWidget *owner)
    : QDialog(owner, Qt::Window)
    , m_notebookId(notebookId)
    , m_notebook(new QTabWidget(this))
    , m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("settingsView-0x%1").arg(notebookId, 0, 16));
    m_notebook->setUsesScrollButtons(true);
    m_notebook->setDocumentMode(false);
    m_status->setObjectName(QStringLiteral("status"));

    auto *buttons = new QDialogButtonBox(this);
    auto *close = buttons->addButton(UiextTexts::text(UiextRes::helpCloseButton),
                                     QDialogButtonBox::RejectRole);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *footer = new QHBoxLayout;
    footer->addWidget(m_status, 1);
    footer->addWidget(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_notebook, 1);
    layout->addLayout(footer);

    connect(m_notebook, &QTabWidget::currentChanged, this, &XISettingsView::pageChanged);
    setMinimumSize(360, 240);
    resize(520, 400);
}

XISettingsView::~XISettingsView() = default;

void XISettingsView::setViewText(const QString &text)
{
    setWindowTitle(text);
}

void XISettingsView::insertPage(int index, XISettingsPage *page)
{
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    m_notebook->insertTab(index, scroll, page->tabText());
    connect(page, &XISettingsPage::tabTextChanged, this, [this, page](const QString &text) {
        const int at = indexOf(page);
        if (at >= 0)
            m_notebook->setTabText(at, text);
    });
    pageChanged();
}

void XISettingsView::addFirstPage(XISettingsPage *page)
{
    insertPage(0, page);
}

void XISettingsView::addLastPage(XISettingsPage *page)
{
    insertPage(m_notebook->count(), page);
}

void XISettingsView::addPageBefore(XISettingsPage *page, XISettingsPage *before)
{
    const int at = indexOf(before);
    insertPage(at < 0 ? m_notebook->count() : at, page);
}

void XISettingsView::addPageAfter(XISettingsPage *page, XISettingsPage *after)
{
    const int at = indexOf(after);
    insertPage(at < 0 ? m_notebook->count() : at + 1, page);
}

void XISettingsView::removePage(XISettingsPage *page)
{
    const int at = indexOf(page);
    if (at < 0)
        return;
    QWidget *tab = m_notebook->widget(at);
    m_notebook->removeTab(at);
    delete tab;
    pageChanged();
}

void XISettingsView::turnToPage(XISettingsPage *page)
{
    turnToPage(indexOf(page));
}

void XISettingsView::turnToPage(int index)
{
    if (index >= 0 && index < m_notebook->count())
        m_notebook->setCurrentIndex(index);
}

int XISettingsView::pageCount() const
{
    return m_notebook->count();
}

XISettingsPage *XISettingsView::page(int index) const
{
    return pageIn(m_notebook->widget(index));
}

int XISettingsView::indexOf(const XISettingsPage *page) const
{
    for (int i = 0; i < m_notebook->count(); ++i) {
        if (pageIn(m_notebook->widget(i)) == page)
            return i;
    }
    return -1;
}

XISettingsPage *XISettingsView::currentPage() const
{
    return pageIn(m_notebook->currentWidget());
}

QString XISettingsView::statusText() const
{
    if (m_notebook->count() == 0)
        return {};
    return UiextTexts::text(UiextRes::pageText) + QString::number(m_notebook->currentIndex() + 1)
           + UiextTexts::text(UiextRes::pageOfText) + QString::number(m_notebook->count());
}

void XISettingsView::pageChanged()
{
    m_status->setText(statusText());
    if (isVisible()) {
        if (XISettingsPage *current = currentPage())
            current->ensurePopulated();
    }
}

void XISettingsView::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (XISettingsPage *current = currentPage())
        current->ensurePopulated();
}

void XISettingsView::closeEvent(QCloseEvent *event)
{
    QDialog::closeEvent(event);
    if (event->isAccepted() && !m_closedSignalled) {
        m_closedSignalled = true;
        emit closed();
    }
}

void XISettingsView::done(int result)
{
    QDialog::done(result);
    if (!m_closedSignalled) {
        m_closedSignalled = true;
        emit closed();
    }
}
