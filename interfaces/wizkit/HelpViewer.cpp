#include "HelpViewer.h"

#include "InstallPaths.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

QString HelpViewer::pagePath(const QString &library, unsigned long helpId)
{
    if (library.isEmpty())
        return {};
    const QString path = QString::fromStdString(InstallPaths::dataDirectory())
                         + QStringLiteral("/help/") + library + u'/'
                         + (helpId == 0 ? QStringLiteral("index") : QString::number(helpId))
                         + QStringLiteral(".html");
    const QFileInfo page(path);
    return page.isFile() && page.isReadable() ? path : QString();
}

HelpViewer *HelpViewer::showPage(QWidget *owner,
                                 const QString &library,
                                 unsigned long helpId,
                                 const QString &title)
{
    const QString path = pagePath(library, helpId);
    if (path.isEmpty())
        return nullptr;
    QWidget *window = owner ? owner->window() : nullptr;
    HelpViewer *viewer = window ? window->findChild<HelpViewer *>(QString(),
                                                                  Qt::FindDirectChildrenOnly)
                                : nullptr;
    if (!viewer)
        viewer = new HelpViewer(window);
    viewer->setWindowTitle(title);
    viewer->m_browser->setSource(QUrl::fromLocalFile(path));
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

HelpViewer::HelpViewer(QWidget *owner)
    : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("helpViewer"));
    // Without an owner nothing else would free it.
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    setMinimumSize(minimumWidth, minimumHeight);
    resize(defaultWidth, defaultHeight);
}

QUrl HelpViewer::currentPage() const
{
    return m_browser->source();
}
