#include "DSSettingsView.h"

#include "DSOpenSettings.h"
#include "ICurrentApplication.h"
#include "Kelae20wResourceIds.h"
#include "UiextTexts.h"
#include "XIHelpWindow.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

/// Added to the measured text of a tab.
constexpr int tabWidthPadding = 14;
constexpr int tabHeightPadding = 6;
/// The share of the available screen a notebook may grow to for its pages.
constexpr double largestScreenShare = 0.85;

/// A tab bar whose tabs are at least as large as the notebook measured them (tabTextDBCS).
class DSNotebookTabBar final : public QTabBar
{
public:
    explicit DSNotebookTabBar(const DSSettingsView *view)
        : m_view(view)
    {
        setElideMode(Qt::ElideNone);
        setUsesScrollButtons(true);
    }

protected:
    QSize tabSizeHint(int index) const override
    {
        const QSize hint = QTabBar::tabSizeHint(index);
        const DSSettingsPage *page = m_view->pageAt(index);
        return page ? hint.expandedTo(page->tabSize()) : hint;
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

private:
    const DSSettingsView *m_view;
};

/// The notebook control: a tab widget with the measuring tab bar.
class DSNotebook final : public QTabWidget
{
public:
    DSNotebook(const DSSettingsView *view, QWidget *parent)
        : QTabWidget(parent)
    {
        setTabBar(new DSNotebookTabBar(view));
        setObjectName(QStringLiteral("notebook"));
    }
};

bool needsDoubleByteMeasure(const QString &text)
{
    for (const QChar character : text) {
        if (character.unicode() > 0xFF)
            return true;
    }
    return false;
}

} // namespace

// --- Cursor -----------------------------------------------------------------------------------------

DSSettingsView::Cursor::Cursor(const DSSettingsView &view)
    : m_view(&view)
{
    setToFirst();
}

bool DSSettingsView::Cursor::setToFirst()
{
    m_index = m_view->numberOfPages() > 0 ? 0 : -1;
    return isValid();
}

bool DSSettingsView::Cursor::setToLast()
{
    m_index = m_view->numberOfPages() - 1;
    return isValid();
}

bool DSSettingsView::Cursor::setToNext()
{
    if (isValid())
        m_index = m_index + 1 < m_view->numberOfPages() ? m_index + 1 : -1;
    return isValid();
}

bool DSSettingsView::Cursor::setToPrevious()
{
    if (isValid())
        --m_index;
    return isValid();
}

bool DSSettingsView::Cursor::isValid() const
{
    return m_index >= 0 && m_index < m_view->numberOfPages();
}

DSSettingsView::PageId DSSettingsView::Cursor::current() const
{
    const DSSettingsPage *page = element();
    return page ? page->pageId() : 0;
}

DSSettingsPage *DSSettingsView::Cursor::element() const
{
    return isValid() ? m_view->pageAt(m_index) : nullptr;
}

// --- The notebook -----------------------------------------------------------------------------------

DSSettingsView::DSSettingsView(const QString &title,
                               unsigned long id,
                               QWidget *owner,
                               DSOpenSettings *opener)
    : IFrameWindow(owner, Qt::Window)
    , m_id(id)
    , m_owner(owner)
    , m_opener(opener)
    , m_notebook(new DSNotebook(this, nullptr))
    , m_status(new QLabel)
    , m_help(new QPushButton(UiextTexts::withoutMnemonic(UiextTexts::text(UiextRes::helpTitle))))
{
    setObjectName(QStringLiteral("dssettings-0x%1").arg(id, 0, 16));
    setViewText(title);
    m_status->setObjectName(QStringLiteral("status"));
    m_help->setObjectName(QStringLiteral("help"));
    m_help->setVisible(false);

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_help, QDialogButtonBox::HelpRole);
    QPushButton *close = buttons->addButton(UiextTexts::text(UiextRes::helpCloseButton),
                                            QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_help, &QPushButton::clicked, this, &DSSettingsView::showHelp);

    auto *footer = new QHBoxLayout;
    footer->addWidget(m_status, 1);
    footer->addWidget(buttons);
    auto *client = new QWidget;
    auto *layout = new QVBoxLayout(client);
    layout->addWidget(m_notebook, 1);
    layout->addLayout(footer);
    setCentralWidget(client);

    connect(m_notebook, &QTabWidget::currentChanged, this, &DSSettingsView::select);
    resize(560, 420);
}

DSSettingsView::~DSSettingsView()
{
    // The pages go with the notebook's children; their tabs need no removing then.
    for (const QPointer<DSSettingsPage> &page : std::as_const(m_pages)) {
        if (page)
            disconnect(page, nullptr, this, nullptr);
    }
}

DSSettingsView::PageId DSSettingsView::addFirstPage(DSSettingsPage *page)
{
    return insertPage(0, page);
}

DSSettingsView::PageId DSSettingsView::addLastPage(DSSettingsPage *page)
{
    return insertPage(numberOfPages(), page);
}

DSSettingsView::PageId DSSettingsView::addPageBefore(DSSettingsPage *page, PageId other)
{
    const int at = indexOf(other);
    return insertPage(at < 0 ? numberOfPages() : at, page);
}

DSSettingsView::PageId DSSettingsView::addPageAfter(DSSettingsPage *page, PageId other)
{
    const int at = indexOf(other);
    return insertPage(at < 0 ? 0 : at + 1, page);
}

DSSettingsView::PageId DSSettingsView::insertPage(int index, DSSettingsPage *page)
{
    if (!page)
        return 0;
    page->setParent(this);
    page->setTabSize(tabTextDBCS(page->tabText(), m_notebook->font()));

    auto *container = new QScrollArea;
    container->setObjectName(QStringLiteral("dscontainer-%1").arg(page->pageId()));
    container->setWidgetResizable(true);
    container->setFrameShape(QFrame::NoFrame);
    m_pages.insert(index, page);
    connect(page, &DSSettingsPage::statusTextChanged, this, &DSSettingsView::updateStatusText);
    // A page deleted on its own (not through removePage) takes its tab with it.
    connect(page, &QObject::destroyed, this, [this, tab = QPointer<QScrollArea>(container)] {
        m_pages.removeAll(nullptr);
        if (tab) {
            const QSignalBlocker blocker(m_notebook);
            m_notebook->removeTab(m_notebook->indexOf(tab));
            delete tab.data();
        }
        select(m_notebook->currentIndex());
    });
    {
        // Inserting the first tab selects it; the page list must be complete before that.
        const QSignalBlocker blocker(m_notebook);
        m_notebook->insertTab(index, container, page->tabText());
    }
    m_notebook->setTabToolTip(index, page->tabText());
    emit pageAdded(page->pageId());
    select(m_notebook->currentIndex());
    return page->pageId();
}

void DSSettingsView::removePage(PageId id)
{
    const int at = indexOf(id);
    if (at < 0)
        return;
    DSSettingsPage *page = m_pages.takeAt(at);
    disconnect(page, nullptr, this, nullptr);
    QWidget *container = m_notebook->widget(at);
    {
        const QSignalBlocker blocker(m_notebook);
        m_notebook->removeTab(at);
    }
    delete container;
    delete page;
    emit pageRemoved(id);
    select(m_notebook->currentIndex());
}

void DSSettingsView::removePage(const Cursor &cursor)
{
    removePage(cursor.current());
}

void DSSettingsView::turnToPage(PageId id)
{
    const int at = indexOf(id);
    if (at < 0)
        return;
    if (at == m_notebook->currentIndex())
        select(at);
    else
        m_notebook->setCurrentIndex(at);
}

void DSSettingsView::turnToPage(const Cursor &cursor)
{
    turnToPage(cursor.current());
}

DSSettingsPage *DSSettingsView::page(PageId id) const
{
    return pageAt(indexOf(id));
}

DSSettingsPage *DSSettingsView::pageAt(int index) const
{
    return index >= 0 && index < m_pages.size() ? m_pages.at(index).data() : nullptr;
}

int DSSettingsView::indexOf(PageId id) const
{
    for (int i = 0; i < m_pages.size(); ++i) {
        if (m_pages.at(i) && m_pages.at(i)->pageId() == id)
            return i;
    }
    return -1;
}

int DSSettingsView::numberOfPages() const
{
    return static_cast<int>(m_pages.size());
}

DSSettingsView::PageId DSSettingsView::currentPageId() const
{
    const DSSettingsPage *current = currentPage();
    return current ? current->pageId() : 0;
}

DSSettingsPage *DSSettingsView::currentPage() const
{
    return pageAt(m_notebook->currentIndex());
}

void DSSettingsView::setViewText(const QString &text)
{
    setWindowTitle(text);
}

void DSSettingsView::setViewText(unsigned long textId)
{
    setViewText(ICurrentApplication::loadString(textId));
}

QString DSSettingsView::viewText() const
{
    return windowTitle();
}

QString DSSettingsView::statusText(PageId id) const
{
    const int at = indexOf(id);
    if (at < 0)
        return {};
    if (!m_pages.at(at)->statusText().isEmpty())
        return m_pages.at(at)->statusText();
    // The section runs from the major tab at or before the page to the next major tab.
    int first = at;
    while (first > 0 && m_pages.at(first)->tabType() == DSSettingsPage::TabType::minor)
        --first;
    int end = at + 1;
    while (end < m_pages.size() && m_pages.at(end)->tabType() == DSSettingsPage::TabType::minor)
        ++end;
    return UiextTexts::text(UiextRes::pageText) + QString::number(at - first + 1)
           + UiextTexts::text(UiextRes::pageOfText) + QString::number(end - first);
}

QString DSSettingsView::statusText() const
{
    return m_status->text();
}

void DSSettingsView::refreshTabText(DSSettingsPage *page)
{
    const int at = page ? indexOf(page->pageId()) : -1;
    if (at < 0)
        return;
    page->setTabSize(tabTextDBCS(page->tabText(), m_notebook->font()));
    m_notebook->setTabText(at, page->tabText());
    m_notebook->setTabToolTip(at, page->tabText());
}

QSize DSSettingsView::tabTextDBCS(const QString &text, const QFont &font)
{
    if (text.isEmpty())
        return {tabWidthPadding, tabHeightPadding};
    QSize measure;
    if (needsDoubleByteMeasure(text)) {
        QLabel probe(text);
        probe.setObjectName(QStringLiteral("dstabprobe-%1").arg(DSSettingsPage::nextId()));
        probe.setFont(font);
        probe.setTextFormat(Qt::PlainText);
        measure = probe.sizeHint();
    } else {
        const QFontMetrics metrics(font);
        measure = {metrics.horizontalAdvance(text), metrics.height()};
    }
    return measure + QSize(tabWidthPadding, tabHeightPadding);
}

void DSSettingsView::forceCalcMinimumSize(QWidget *window)
{
    if (!window)
        return;
    const int at = m_notebook->indexOf(
        window->parentWidget() ? window->parentWidget()->parentWidget() : nullptr);
    QScrollArea *container = containerAt(at >= 0 ? at : m_notebook->currentIndex());
    if (!container)
        return;
    QSize needed = window->minimumSizeHint().expandedTo(window->minimumSize());
    // Wrapped texts grow taller as the page gets narrower: at its narrowest the page is as tall
    // as its layout needs for that width.
    if (window->hasHeightForWidth())
        needed.setHeight(qMax(needed.height(), window->heightForWidth(needed.width())));
    if (const QScreen *screen = this->screen() ? this->screen()
                                               : QGuiApplication::primaryScreen()) {
        const QSize largest = screen->availableSize() * largestScreenShare;
        needed = needed.boundedTo(largest);
    }
    container->setMinimumSize(needed.expandedTo(container->minimumSize()));
    updateMinimumSize();
}

void DSSettingsView::setRequestedMinimumSize(const QSize &size)
{
    m_requestedMinimum = size;
    updateMinimumSize();
}

void DSSettingsView::updateMinimumSize()
{
    // An explicit minimum size would stop the layout from setting its own, so the notebook
    // keeps both: what the opener asked for and what the layout needs for the pages filled.
    layout()->activate();
    const QSize needed = layout()->minimumSize().expandedTo(m_requestedMinimum);
    setMinimumSize(needed);
    if (width() < needed.width() || height() < needed.height())
        resize(size().expandedTo(needed));
}

void DSSettingsView::setActionOwner(DSOpenSettings *opener)
{
    m_opener = opener;
}

DSOpenSettings *DSSettingsView::actionOwner() const
{
    return m_opener;
}

QScrollArea *DSSettingsView::containerAt(int index) const
{
    return qobject_cast<QScrollArea *>(m_notebook->widget(index));
}

void DSSettingsView::select(int index)
{
    updateStatusText();
    DSSettingsPage *page = pageAt(index);
    if (!page)
        return;
    if (isVisible())
        initializeSelected();
    m_help->setVisible(page->helpPanel() != 0);
    emit pageSelected(page->pageId());
}

void DSSettingsView::initializeSelected()
{
    const int index = m_notebook->currentIndex();
    DSSettingsPage *page = pageAt(index);
    if (!page || page->isInitialized())
        return;
    page->initializePage(containerAt(index), index);
    if (QWidget *window = page->window()) {
        // Controls added to a shown window are shown on the next turn of the event loop; show
        // them now, so that they count when the page is measured.
        const auto children = window->findChildren<QWidget *>();
        for (QWidget *child : children) {
            if (child->isHidden() && !child->testAttribute(Qt::WA_WState_ExplicitShowHide))
                child->show();
        }
        forceCalcMinimumSize(window);
    }
}

void DSSettingsView::updateStatusText()
{
    m_status->setText(statusText(currentPageId()));
}

void DSSettingsView::showHelp()
{
    const DSSettingsPage *page = currentPage();
    if (!page || page->helpPanel() == 0)
        return;
    XIHelpWindow::showHelp(page->helpLibrary().isEmpty() ? XIHelpWindow::applicationLibrary()
                                                         : page->helpLibrary(),
                           QString::number(page->helpPanel()),
                           viewText());
}

void DSSettingsView::showEvent(QShowEvent *event)
{
    IFrameWindow::showEvent(event);
    initializeSelected();
}

void DSSettingsView::closeEvent(QCloseEvent *event)
{
    IFrameWindow::closeEvent(event);
    if (!event->isAccepted() || m_closeSignalled)
        return;
    m_closeSignalled = true;
    if (m_opener)
        m_opener->settingsViewClosed();
    emit closed();
}
