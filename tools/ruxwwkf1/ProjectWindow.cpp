#include "ProjectWindow.h"

#include "IException.h"

#include <QAction>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int pathRole = Qt::UserRole;

QString fromStd(const std::string &text)
{
    return QString::fromStdString(text);
}

QString joined(const std::vector<std::string> &parts, const QString &separator)
{
    QStringList list;
    for (const std::string &part : parts)
        list << fromStd(part);
    return list.join(separator);
}

QLabel *selectableLabel(const QString &text, QWidget *parent)
{
    auto label = new QLabel(text, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

ProjectWindow::ProjectWindow(ProjectFile project, QWidget *parent)
    : QMainWindow(parent)
    , m_project(std::move(project))
    , m_opener([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    buildUi();
    refresh();
    if (const auto position = m_project.position()) {
        move(position->x, position->y);
        resize(position->width, position->height);
    } else {
        resize(720, 520);
    }
}

ProjectWindow::~ProjectWindow() = default;

std::unique_ptr<ProjectWindow> ProjectWindow::open(const QString &path, QWidget *messageParent)
{
    try {
        return std::make_unique<ProjectWindow>(ProjectFile::load(path.toStdString()));
    } catch (const IException &error) {
        QMessageBox::critical(messageParent,
                              tr("Project tool"),
                              tr("The project cannot be opened.\n\n%1").arg(fromStd(error.what())));
    }
    return nullptr;
}

QString ProjectWindow::unquoted(const QString &argument)
{
    if (argument.size() >= 2 && argument.startsWith(u'"') && argument.endsWith(u'"'))
        return argument.mid(1, argument.size() - 2);
    return argument;
}

void ProjectWindow::setFileOpener(FileOpener opener)
{
    m_opener = std::move(opener);
}

void ProjectWindow::buildUi()
{
    setWindowTitle(tr("%1 - Project").arg(fromStd(m_project.name())));

    auto central = new QWidget(this);
    auto layout = new QVBoxLayout(central);
    auto form = new QFormLayout;
    form->addRow(tr("Project:"), selectableLabel(fromStd(m_project.name()), central));
    form->addRow(tr("Project file:"), selectableLabel(fromStd(m_project.path()), central));
    const std::vector<std::string> directories = m_project.directories();
    form->addRow(tr("Directories:"),
                 selectableLabel(directories.empty() ? tr("(none)") : joined(directories, "\n"),
                                 central));
    form->addRow(tr("Filter:"), selectableLabel(joined(m_project.filters(), "; "), central));
    layout->addLayout(form);

    m_files = new QTreeWidget(central);
    m_files->setObjectName("files");
    m_files->setColumnCount(3);
    m_files->setHeaderLabels({tr("Name"), tr("Size"), tr("Modified")});
    m_files->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_files->setRootIsDecorated(true);
    layout->addWidget(m_files, 1);
    setCentralWidget(central);

    // itemActivated covers double-click and Enter alike.
    connect(m_files, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        openItem(item);
    });

    QMenu *projectMenu = menuBar()->addMenu(tr("&Project"));
    QAction *openAction = projectMenu->addAction(tr("&Open"));
    connect(openAction, &QAction::triggered, this, [this] { openItem(m_files->currentItem()); });
    QAction *refreshAction = projectMenu->addAction(tr("&Refresh"));
    refreshAction->setShortcut(QKeySequence::Refresh);
    connect(refreshAction, &QAction::triggered, this, &ProjectWindow::refresh);
    projectMenu->addSeparator();
    QAction *quitAction = projectMenu->addAction(tr("&Close"));
    quitAction->setShortcut(QKeySequence::Quit);
    connect(quitAction, &QAction::triggered, this, &QWidget::close);

    if (m_project.refreshes()) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &ProjectWindow::refresh);
    }
}

void ProjectWindow::refresh()
{
    const QString current = m_files->currentItem()
                                ? m_files->currentItem()->data(0, pathRole).toString()
                                : QString();
    m_files->clear();
    QFileIconProvider icons;
    QLocale locale;
    int fileCount = 0;
    QTreeWidgetItem *toSelect = nullptr;
    for (const std::string &directory : m_project.directories()) {
        const QString directoryPath = fromStd(directory);
        auto directoryItem = new QTreeWidgetItem(m_files,
                                                 {QDir::toNativeSeparators(directoryPath)});
        directoryItem->setIcon(0, icons.icon(QFileIconProvider::Folder));
        directoryItem->setData(0, pathRole, directoryPath);
        directoryItem->setFirstColumnSpanned(true);
        if (!QFileInfo(directoryPath).isDir()) {
            directoryItem->setText(0, tr("%1 (not found)").arg(directoryItem->text(0)));
            directoryItem->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
            directoryItem->setToolTip(0, tr("The directory %1 does not exist.").arg(directoryPath));
            continue;
        }
        if (m_watcher && !m_watcher->directories().contains(directoryPath))
            m_watcher->addPath(directoryPath);
        for (const std::string &name : m_project.matchingFiles(directory)) {
            const QFileInfo info(QDir(directoryPath).filePath(fromStd(name)));
            auto fileItem = new QTreeWidgetItem(directoryItem,
                                                {info.fileName(),
                                                 locale.formattedDataSize(info.size()),
                                                 locale.toString(info.lastModified(),
                                                                 QLocale::ShortFormat)});
            fileItem->setIcon(0, icons.icon(info));
            fileItem->setData(0, pathRole, info.absoluteFilePath());
            fileItem->setToolTip(0, info.absoluteFilePath());
            if (info.absoluteFilePath() == current)
                toSelect = fileItem;
            ++fileCount;
        }
        directoryItem->setExpanded(true);
    }
    if (toSelect)
        m_files->setCurrentItem(toSelect);
    else if (m_files->topLevelItemCount() > 0)
        m_files->setCurrentItem(m_files->topLevelItem(0));
    statusBar()->showMessage(tr("%n file(s)", nullptr, fileCount));
}

void ProjectWindow::openItem(QTreeWidgetItem *item)
{
    if (!item || !item->parent())
        return; // a directory row: double-click already folds it
    const QString path = item->data(0, pathRole).toString();
    if (!QFileInfo::exists(path)) {
        QMessageBox::warning(this,
                             tr("Project tool"),
                             tr("The file %1 no longer exists.").arg(path));
        refresh();
        return;
    }
    if (!m_opener(QUrl::fromLocalFile(path)))
        QMessageBox::warning(this,
                             tr("Project tool"),
                             tr("The file %1 could not be opened: the desktop has no application "
                                "for this kind of file.")
                                 .arg(path));
}
