#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

/// A modal dialog for choosing one existing file.
///
///     GenericFileDialog dialog(frame(), ".", "xsd", title);
///     dialog.addFileType("xsd", description);   // listed as "<description> (*.xsd)"
///     dialog.setAcceptText(text);
///     dialog.show();
///     if (dialog.accepted()) use(dialog.selectedPath());
class GenericFileDialog
{
public:
    /// `extension` (without dot; may be empty) is appended to a typed name without one.
    GenericFileDialog(QWidget *owner,
                      const QString &startDirectory,
                      const QString &extension,
                      const QString &title);
    virtual ~GenericFileDialog();

    /// Offers a file type; the first one added is selected. "All Files" is always offered last.
    void addFileType(const QString &extension, const QString &description);
    /// The text of the accept button (kit mark-up is removed, "&" is the mnemonic).
    void setAcceptText(const QString &text);

    /// Shows the dialog modally.
    void show();

    bool accepted() const { return m_accepted; }
    /// Absolute path of the chosen file or directory; empty unless accepted.
    const QString &selectedPath() const { return m_selectedPath; }

    /// The filter line a file type is shown as: description + " (*." + extension + ")".
    static QString fileTypeText(const QString &extension, const QString &description);

protected:
    /// Directory mode for DirectoryFileDialog.
    enum class Mode { File, Directory };
    GenericFileDialog(QWidget *owner,
                      const QString &startDirectory,
                      const QString &extension,
                      const QString &title,
                      Mode mode);

private:
    QWidget *m_owner = nullptr;
    QString m_startDirectory;
    QString m_extension;
    QString m_title;
    QString m_acceptText;
    QStringList m_fileTypes;
    QString m_selectedPath;
    Mode m_mode = Mode::File;
    bool m_accepted = false;
};
