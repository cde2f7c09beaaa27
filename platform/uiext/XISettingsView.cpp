#include "XISettingsView.h"

#include "Kelae20wResourceIds.h"
#include "UiextTexts.h"
#include "XISettingsPage.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

/// The share of the available screen a notebook may grow to for its pages.
constexpr double largestScreenShare = 0.85;

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
    setRequestedMinimumSize(QSize(360, 240));
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
    if (isVisible())
        populateCurrentPage();
}

void XISettingsView::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    populateCurrentPage();
}

void XISettingsView::populateCurrentPage()
{
    XISettingsPage *current = currentPage();
    if (!current || current->isPopulated())
        return;
    current->ensurePopulated();
    // Controls added to a shown window are shown on the next turn of the event loop; show them
    // now, so that they count when the page is measured.
    const auto children = current->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (child->isHidden() && !child->testAttribute(Qt::WA_WState_ExplicitShowHide))
            child->show();
    }
    fitPage(current);
}

void XISettingsView::fitPage(XISettingsPage *page)
{
    auto *scroll = qobject_cast<QScrollArea *>(m_notebook->widget(indexOf(page)));
    if (!scroll)
        return;
    QSize needed = page->minimumSizeHint().expandedTo(page->minimumSize());
    // Wrapped texts grow taller as the page gets narrower: at its narrowest the page is as tall
    // as its layout needs for that width.
    if (page->hasHeightForWidth())
        needed.setHeight(qMax(needed.height(), page->heightForWidth(needed.width())));
    if (const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        needed = needed.boundedTo(screen->availableSize() * largestScreenShare);
    scroll->setMinimumSize(needed.expandedTo(scroll->minimumSize()));
    updateMinimumSize();
}

void XISettingsView::setRequestedMinimumSize(const QSize &size)
{
    m_requestedMinimum = size;
    updateMinimumSize();
}

void XISettingsView::updateMinimumSize()
{
    // An explicit minimum size stops the layout from setting its own, so the notebook keeps
    // both: what its opener asked for and what the pages filled so far need.
    layout()->activate();
    const QSize needed = layout()->minimumSize().expandedTo(m_requestedMinimum);
    setMinimumSize(needed);
    if (width() < needed.width() || height() < needed.height())
        resize(size().expandedTo(needed));
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
