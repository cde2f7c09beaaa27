#pragma once

#include "File.h"

#include <QList>
#include <QString>
#include <QWidget>

class EStaticText;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QToolButton;

/// A file browser embedded in a panel: a label, the directory shown ("Look in:") with a button
/// to its parent, the directory's entries (sub-directories first, then the files of the chosen
/// type) with several selectable at once, and the file type list.
///
/// Double-click or Enter on a directory opens it; on a file it reports entryActivated. Hidden
/// entries (names starting with ".") are not listed. The list is read synchronously, so it is
/// complete as soon as the directory is set.
class EFileDialogEnhanced : public QWidget
{
    Q_OBJECT

public:
    /// `startDirectory` may be relative ("."); `defaultExtension` (without dot) selects the file
    /// type with that extension once it is added; `label` is kit mark-up shown above the list.
    EFileDialogEnhanced(QWidget *parent,
                        const QString &startDirectory,
                        const QString &defaultExtension,
                        const QString &label,
                        unsigned long controlId = 0);
    ~EFileDialogEnhanced() override;

    /// Offers a file type, listed as description + " (*." + extension + ")". "All Files" is
    /// always offered last.
    void addSpecifiedExtension(const QString &extension, const QString &description);

    /// The directory shown (absolute).
    QString directory() const { return m_directory; }
    /// Shows `path`; false (and nothing changed) when it is not a readable directory.
    bool setDirectory(const QString &path);
    /// Shows the parent of the directory shown; false at the root.
    bool goUp();
    /// Reads the directory again.
    void refresh();

    /// The entry with the selection cursor (the current item when it is selected, else the
    /// first selected entry); an empty File when nothing is selected.
    File getSelected() const;
    /// All selected entries, in the order they are listed (directories included).
    QList<File> selectedEntries() const;
    /// Selects the entries with these file names (in the directory shown); others are deselected.
    void select(const QStringList &fileNames);

    /// Walks the selected entries in list order:
    ///     for (auto cursor = dialog.selectionCursor(); cursor.isValid(); cursor.setToNext()) ...
    class SelectionCursor
    {
    public:
        bool isValid() const { return m_index < m_entries.size(); }
        void setToFirst() { m_index = 0; }
        void setToNext() { ++m_index; }
        const File &current() const { return m_entries.at(m_index); }

    private:
        friend class EFileDialogEnhanced;
        explicit SelectionCursor(QList<File> entries)
            : m_entries(std::move(entries))
        {}
        QList<File> m_entries;
        qsizetype m_index = 0;
    };
    SelectionCursor selectionCursor() const { return SelectionCursor(selectedEntries()); }

    /// The id of the list of entries (the container), and the list itself.
    unsigned long containerId() const { return m_containerId; }
    QListWidget *container() const { return m_list; }

    /// The names listed now, in order, for tests and keyboard search.
    QStringList listedNames() const;

signals:
    /// The selection in the list changed.
    void selectionChanged();
    /// A file entry was activated by double-click or Enter.
    void entryActivated(const File &file);
    /// Another directory is shown.
    void directoryChanged(const QString &directory);

private:
    void fill();
    void activate(QListWidgetItem *item);
    QStringList currentPatterns() const;

    QString m_directory;
    QString m_defaultExtension;
    QList<QString> m_extensions; // one per file type, "" for All Files
    EStaticText *m_label = nullptr;
    QLabel *m_lookIn = nullptr;
    QToolButton *m_up = nullptr;
    QListWidget *m_list = nullptr;
    QComboBox *m_types = nullptr;
    unsigned long m_containerId = 0;
};
