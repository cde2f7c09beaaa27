#pragma once

#include "ProjectFile.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QFileSystemWatcher;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

/// The project tool's window: the project's name, directories and filter, and a tree of the
/// files in each directory that match the filter. Activating a file (double-click or Enter)
/// opens it in the desktop's default application for its kind.
class ProjectWindow final : public QMainWindow
{
    Q_OBJECT

public:
    /// Opens a file for the user; true when an application took it.
    using FileOpener = std::function<bool(const QUrl &)>;

    explicit ProjectWindow(ProjectFile project, QWidget *parent = nullptr);
    ~ProjectWindow() override;

    /// Loads the project file at `path` and makes its window. When the file is missing,
    /// unreadable or not a project file, shows a message box naming the file and returns null.
    static std::unique_ptr<ProjectWindow> open(const QString &path,
                                               QWidget *messageParent = nullptr);

    /// A command-line argument with the double quotes that a caller may have put around a path
    /// with blanks taken off ("\"/a b/p.iwp\"" gives "/a b/p.iwp").
    static QString unquoted(const QString &argument);

    /// Replaces the desktop's opener (tests record what would be opened).
    void setFileOpener(FileOpener opener);

    const ProjectFile &project() const { return m_project; }

    /// Reads the directories again and rebuilds the file tree.
    void refresh();

private:
    void buildUi();
    void openItem(QTreeWidgetItem *item);

    ProjectFile m_project;
    FileOpener m_opener;
    QPointer<QTreeWidget> m_files;
    QPointer<QFileSystemWatcher> m_watcher;
};
