#pragma once

#include "ConversionControl.h"
#include "ConversionObserver.h"

#include <QColor>
#include <QMainWindow>

#include <array>
#include <string>

class ConversionWizard;
class EAnimation;
class EStaticText;
class FileListContainer;
class QPushButton;
class QTreeWidgetItem;
class QWidget;
class ResourceLibrary;

/// The window that shows a conversion run while the engine works on its own thread: an
/// animation while it runs, the success and failure counters of the three passes, the state of
/// every file, a status line, and Cancel and Help buttons.
///
/// It is the run's `ConversionObserver`. The engine calls the observer operations on its thread;
/// each hands a copy of its data to the window's (GUI) thread with a queued call and returns at
/// once, so the engine never waits for the GUI. Everything else runs on the GUI thread.
///
/// The window owns the run's `ConversionControl` (cancel flag, process-id slot, counters), which
/// the engine thread uses too; the engine thread must have ended before the window is destroyed.
///
/// A source that failed stands out: its row in bold red with its tool's latest message as tool
/// tip, the failure counts in bold red, and a final status that says how many failed. A
/// double-click (or Enter) on a row shows what the tools wrote for that source.
///
/// Cancel and the frame's Close ask for confirmation while the run is going; a confirmed request
/// cancels the run (the running child is killed) and Close then closes the window. When the run
/// has finished, the window shows the result and stays open until the user closes it (the
/// Cancel button becomes an OK button that closes it): the status line says what happened and
/// whether the project opens in the project tool afterwards, and the user should see it.
class ConversionProgressWindow final : public QMainWindow, public ConversionObserver
{
    Q_OBJECT

public:
    /// Window and control ids; each control's object name is "control<id>" and it carries the id
    /// in its "controlId" property.
    enum Id : unsigned long {
        windowId = 0x9000,
        clientCanvasId = 36865,
        headingId = 36866,
        buttonSetId = 36867,
        statusLineId = 36871,
        fileListId = 36872,
        sideCanvasId = 36873,
        cancelButtonId = 36874,
        counterCanvasId = 36875,
        compiledLabelId = 36876,
        compiledSuccessId = 36877,
        compiledFailureId = 36878,
        analysedLabelId = 36879,
        analysedSuccessId = 36880,
        analysedFailureId = 36881,
        convertedLabelId = 36882,
        convertedSuccessId = 36883,
        convertedFailureId = 36884,
        animationId = 36885,
        helpButtonId = 36886,
    };

    /// Colour numbers of the class library used by the window.
    enum Colour : int {
        red = 2,        ///< failure counts
        textColour = 7, ///< success counts while 0
        blue = 9,       ///< row labels
        green = 12,     ///< success counts once not 0
        white = 15,     ///< client background
    };
    /// The colour the class library draws for `number`: 2 red, 7 near-black text, 9 blue,
    /// 12 green, 15 white; any other number gives black.
    static QColor colour(int number);

    /// Builds the window over the wizard's files; `resources` is KELWIZRS. The file list is
    /// filled at once, the animation runs, the counters show 0. Both must outlive the window.
    ConversionProgressWindow(ConversionWizard &wizard,
                             const ResourceLibrary &resources,
                             QWidget *parent = nullptr);
    ~ConversionProgressWindow() override;

    /// Shared with the engine thread.
    ConversionControl &control() { return m_control; }

    // --- ConversionObserver: called on the engine thread --------------------------------------
    void fileStateChanged(ConversionFile &file, std::uint8_t state) override;
    void fileStarted(Pass pass, std::size_t index, std::size_t count) override;
    void countersChanged(Pass pass, unsigned success, unsigned failure) override;
    void statusText(unsigned long resourceId, const std::string &text) override;
    void childStarted(pid_t pid) override;
    void childEnded(pid_t pid) override;
    std::string resourceText(unsigned long id) override;
    void informationMessage(const std::vector<std::string> &lines) override;
    void errorMessage(const std::vector<std::string> &lines) override;
    void runFinished(const std::string &projectPath, const std::string &errorText) override;

    // --- GUI thread ---------------------------------------------------------------------------
    /// True from construction until the user stops the run or it finishes.
    bool isRunning() const { return m_running; }
    /// True once the run has reported its end.
    bool isFinished() const { return m_finished; }
    /// The project the run made (empty when none), known once it has finished.
    const std::string &projectPath() const { return m_projectPath; }
    /// The counts shown for `pass`.
    unsigned successCount(Pass pass) const { return m_counts[index(pass)].success; }
    unsigned failureCount(Pass pass) const { return m_counts[index(pass)].failure; }
    /// The id of the child the engine is running now, 0 when none.
    pid_t processId() const { return m_control.processId(); }
    bool hasHelp() const { return m_hasHelp; }

    /// The size the window opens at, and the least it can be made.
    static constexpr int defaultWidth = 720;
    static constexpr int defaultHeight = 520;
    static constexpr int minimumWidth = 560;
    static constexpr int minimumHeight = 440;

    /// The help id of this window's page in the wizard's help library.
    static constexpr unsigned long progressHelpId = 1400;

    FileListContainer &fileList() const { return *m_fileList; }
    /// The control with `id` (see Id), null when there is none.
    QWidget *control(unsigned long id) const;

    /// Asks whether to cancel and, when the user agrees, cancels the run. Does nothing when the
    /// run is no longer going. Connected to the Cancel button.
    void requestCancel();

signals:
    /// The window has been closed (the program's event loop ends with it).
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct Counts
    {
        unsigned success = 0;
        unsigned failure = 0;
        /// Set by the first success; the success count then stays green.
        bool highlighted = false;
    };

    static int index(Pass pass) { return static_cast<int>(pass); }

    QWidget *makeClient();
    QWidget *makeCounterCanvas();
    QWidget *makeSideCanvas();
    void makeHelp();
    void showHelp();
    /// Shows what the tools wrote for the source of `item` (a row of the file list).
    void showToolOutput(QTreeWidgetItem *item);
    void showCounters();
    void setStatusLine(const QString &text);
    bool confirm(unsigned long questionId);
    void cancelRun();
    void endRun(const std::string &projectPath, const std::string &errorText);
    void showMessage(const std::vector<std::string> &lines, int bitmapStyle);
    QString text(unsigned long id) const;

    const ResourceLibrary &m_resources;
    ConversionWizard &m_wizard;
    ConversionControl m_control;
    bool m_running = true;
    bool m_finished = false;
    std::string m_projectPath;
    std::array<Counts, 3> m_counts;

    FileListContainer *m_fileList = nullptr;
    EStaticText *m_statusLine = nullptr;
    EAnimation *m_animation = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_helpButton = nullptr;
    std::array<EStaticText *, 3> m_successFields{};
    std::array<EStaticText *, 3> m_failureFields{};
    /// False when the help page is not installed.
    bool m_hasHelp = false;
};
