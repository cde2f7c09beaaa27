#include "XIHelpWindow.h"

#include "InstallPaths.h"
#include "Kelae20wResourceIds.h"
#include "UiextTexts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <mutex>

namespace {

std::mutex libraryMutex; // guards applicationHelpLibrary
QString applicationHelpLibrary = QStringLiteral("kelhelp");

/// The open help window of each library.
QHash<QString, QPointer<XIHelpWindow>> &openWindows()
{
    static QHash<QString, QPointer<XIHelpWindow>> windows;
    return windows;
}

QString pageFile(const QString &library, const QString &page)
{
    return QDir(XIHelpWindow::directory(library)).filePath(page + QStringLiteral(".html"));
}

} // namespace

XIHelpWindow::XIHelpWindow(const QString &library)
    : QWidget(nullptr, Qt::Window)
    , m_library(library)
    , m_browser(new QTextBrowser(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("helpWindow-") + library);
    m_browser->setOpenExternalLinks(true);

    auto *buttons = new QDialogButtonBox(this);
    auto *index = buttons->addButton(UiextTexts::text(UiextRes::helpIndexButton),
                                     QDialogButtonBox::ActionRole);
    auto *back = buttons->addButton(UiextTexts::text(UiextRes::helpBackButton),
                                    QDialogButtonBox::ActionRole);
    auto *forward = buttons->addButton(UiextTexts::text(UiextRes::helpForwardButton),
                                       QDialogButtonBox::ActionRole);
    auto *close = buttons->addButton(UiextTexts::text(UiextRes::helpCloseButton),
                                     QDialogButtonBox::RejectRole);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(index, &QPushButton::clicked, this, [this] { showPage(QStringLiteral("index")); });
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addWidget(buttons);
    resize(640, 520);
}

XIHelpWindow *XIHelpWindow::showHelp(const QString &library,
                                     const QString &page,
                                     const QString &title)
{
    QPointer<XIHelpWindow> &window = openWindows()[library];
    if (!window)
        window = new XIHelpWindow(library);
    window->setWindowTitle(title.isEmpty() ? UiextTexts::text(UiextRes::helpTitle)
                                           : UiextTexts::withoutMnemonic(title));
    window->showPage(page);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QString XIHelpWindow::directory(const QString &library)
{
    return QDir(QString::fromStdString(InstallPaths::dataDirectory()))
        .filePath(QStringLiteral("help/") + library);
}

bool XIHelpWindow::hasPage(const QString &library, const QString &page)
{
    return QFileInfo(pageFile(library, page)).isFile();
}

QString XIHelpWindow::libraryForHelpFile(const QString &helpFile)
{
    return QFileInfo(helpFile).completeBaseName().toLower();
}

void XIHelpWindow::setApplicationLibrary(const QString &library)
{
    std::lock_guard lock(libraryMutex);
    applicationHelpLibrary = library;
}

QString XIHelpWindow::applicationLibrary()
{
    std::lock_guard lock(libraryMutex);
    return applicationHelpLibrary;
}

void XIHelpWindow::showPage(const QString &page)
{
    m_page = page;
    const QString file = pageFile(m_library, page);
    m_missing = !QFileInfo(file).isFile();
    if (m_missing) {
        m_browser->setPlainText(UiextTexts::text(UiextRes::helpMissing)
                                + QDir::toNativeSeparators(file) + u'.');
        return;
    }
    m_browser->setSource(QUrl::fromLocalFile(file));
}
