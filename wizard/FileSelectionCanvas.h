#pragma once

#include <QEvent>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class ConversionFileCollection;
class EFileDialogEnhanced;
class EStaticText;
class FileListContainer;
class QPushButton;
class ResourceLibrary;

/// The content of the COBOL file selection panel: an embedded file browser on the left, the
/// Add and Remove buttons in the middle and the list of files to convert on the right.
///
/// Add moves the files selected in the browser into the wizard's file collection (and the list);
/// Remove takes the selected rows out again. Both run from a user event the canvas posts to
/// itself, with the wait pointer shown and the wizard disabled until the event has been handled.
/// Activating a file in the browser (double-click, Enter) adds it at once.
class FileSelectionCanvas final : public QWidget
{
    Q_OBJECT

public:
    static constexpr QEvent::Type addEventType = QEvent::Type(39170);
    static constexpr QEvent::Type removeEventType = QEvent::Type(39171);
    /// The least width of the browser and of the list, in pixels.
    static constexpr int listMinimumWidth = 100;

    /// Control ids, as offsets from the canvas's base id.
    enum ControlOffset : unsigned long {
        fileListOffset = 1,
        buttonCanvasOffset = 2,
        addButtonOffset = 3,
        removeButtonOffset = 4,
        headingOffset = 5,
        listHeadingOffset = 6,
    };

    /// Builds the canvas in `parent` over `files` (which must outlive it); the browser starts in
    /// `startDirectory`. The list fills itself from the collection once the event loop runs.
    FileSelectionCanvas(QWidget *parent,
                        unsigned long controlId,
                        ConversionFileCollection &files,
                        const ResourceLibrary &resources,
                        const QString &startDirectory);
    ~FileSelectionCanvas() override;

    EFileDialogEnhanced *fileDialog() const { return m_fileDialog; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *removeButton() const { return m_removeButton; }
    FileListContainer *fileList() const { return m_fileList; }

    enum class Report { Now, Later };

    /// Adds every file selected in the browser, in browser order, that the collection does not
    /// hold yet; directories and other entries are skipped. A file whose base name a listed file
    /// has is refused: the message naming both is shown at once (Report::Now) or returned for the
    /// caller to show with reportRefused.
    QStringList addSelectedFiles(Report report = Report::Now);
    /// Tells the user which files were refused and why, in one message box.
    void reportRefused(const QStringList &messages);
    /// Removes the records of the selected rows from the collection and the list.
    void removeSelectedRows();

protected:
    bool event(QEvent *event) override;

private:
    /// Shows the wait pointer, disables the frame and posts `type` to the canvas.
    void postCommand(QEvent::Type type);
    /// Restores the pointer and the frame that postCommand changed, if it did.
    void endWait();
    void updateAddButton();
    void updateRemoveButton();

    EStaticText *m_heading = nullptr;
    EFileDialogEnhanced *m_fileDialog = nullptr;
    QWidget *m_buttonCanvas = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_removeButton = nullptr;
    EStaticText *m_listHeading = nullptr;
    FileListContainer *m_fileList = nullptr;
    QPointer<QWidget> m_waitingFrame; // disabled by postCommand until the command has run
    bool m_commandPending = false;
};
