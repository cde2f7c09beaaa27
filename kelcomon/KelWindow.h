#pragma once

#include "BusyFlag.h"
#include "CommandThread.h"
#include "IFrameWindow.h"
#include "MouseGestureTable.h"

#include <QCursor>
#include <QPointer>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class DbEu;
class DbPu;
class DbToken;
class IException;
class IProfile;
class IMousePointerEvent;
class KelCloseGuard;
class KelCompiledS;
class KelControl;
class KelHelp;
class KelLogToggle;
class KelMouseClickHandler;
class KelPMWindow;
class KelRelatedS;
class KelRequestScrl;
class KelRestoreWindow;
class KelSaveWindow;
class KelScrollOnRequest;
class KelSurfonScrl;
class KelSymbolsU;
class KelTBMouseClickHandler;
class KelTutorial;
class KelWindowExit;
class QMenu;
class RegisterInstance;
class XIAction;
class XIHelpIndex;
class XIHoverHelpSelector;
class XIInfoArea;
class XIProductInformation;
class XIToolBar;
class XIUsingHelp;

/// The base of every analysis view window (source browser, grapher, list views ...): one frame,
/// one set of standard actions, one command dispatch, one mouse-gesture dispatch, the links to
/// the other views of the same program, the scroll-coupling toggles and the window's placement
/// through its registration in the window registry. kelcomon/README.md shows how a view derives.
///
/// Frame: built from the resource id `windowId` (title and icon from KELRESRC); a menu bar
/// (File, Edit, View, Selected, Options with Scroll Coupling and Tool Bar, Window, Help), a tool
/// bar and an info area. Empty menus (Edit and Selected until a view fills them) are not shown.
/// The frame is on the desktop's frame list from construction to destruction.
///
/// Commands: every action the window owns has a category that says how it runs (command()):
/// - "exit": at once on the GUI thread, even while the window is busy (Close);
/// - while `busy` is set, every other command is refused with a beep and dropped;
/// - "basic": on a worker thread of its own (8,000,000 bytes of stack) while the window's event
///   loop runs on; `busy` is set until the worker ends, whatever happens. What the command
///   throws is shown through the analysis database's message display (KelMsg) and never ends
///   the thread;
/// - anything else ("simple"): on the GUI thread with the wait pointer shown.
/// Commands of actions the window does not own go on to the next handler (false).
///
/// Threads: Qt widgets live on the GUI thread. A "basic" command's worker does its work (the
/// database, the registry search, the desktop request) itself and hands every widget change to
/// the GUI thread, waiting for it (callOnGuiThread) or not (postToGuiThread):
///
///     bool KelBrowser::openObjRelatedPrograms()          // runs on the worker
///     {
///         const QStringList names = callersOf(pu());     // database work: here
///         callOnGuiThread([&] { m_callers->addItems(names); });   // the widget: GUI thread
///         return true;
///     }
///
/// A window closed while its command runs (Close, theEnd, the title bar, the desktop's Exit)
/// hides at once and goes when the command has finished; the base destructor waits for a
/// running command too, delivering the GUI calls it waits for meanwhile. A view whose own
/// members a command uses, and which may be deleted directly rather than closed, calls
/// waitForCommand() first in its destructor.
///
/// Mouse gestures: setClient() (or a KelMouseClickHandler attached by the view) turns clicks on
/// the client into exactly one of the b1.../b2... operations (MouseGestureTable), refused with a
/// beep while busy. The base operations return false (not handled).
///
/// Links: findInSource, findInGraph and showDataMap look for an open window of the target kind
/// that answers the query 0x4011 for the token and post it the find event (0x4013, 0x4012,
/// 0x4006), a show request and 0x4004; without one they ask the desktop for a new window.
class KelWindow : public IFrameWindow
{
    Q_OBJECT

public:
    /// The category texts of the actions.
    static QString basicCategory();
    static QString simpleCategory();
    static QString complexCategory();
    static QString foreverCategory();
    static QString exitCategory();

    /// The module tag the window's messages name.
    static constexpr const char *moduleTag = "kelcomon/KelWindow";

    /// A window on `pu` of `eu` showing view kind `viewKind` (592 browser, 593 grapher, 595
    /// list views ...), at `token` (may be null), with two values stored for the derived view.
    KelWindow(unsigned long windowId,
              DbEu &eu,
              DbPu &pu,
              unsigned long viewKind,
              DbToken *token,
              const QString &extraText,
              unsigned long extraValue);
    KelWindow(unsigned long windowId, DbEu &eu, DbPu &pu, unsigned long viewKind, DbToken *token);
    /// `pu` may be null (a view of the whole execution unit): puNumber() is then 0.
    KelWindow(unsigned long windowId, DbEu &eu, DbPu *pu, unsigned long viewKind);
    ~KelWindow() override;

    // --- Hooks of the preference sets (called by name through Qt's meta-object system) --------

    /// A preference set of this window's view kind was saved: re-read and redraw. Empty here.
    Q_INVOKABLE virtual void preferencesChanged();
    /// The token colours were saved: redraw. Empty here.
    Q_INVOKABLE virtual void coloursChanged();

    // --- Mouse gestures: true when handled; the base versions return false ---------------------

    virtual bool b1Up(const QPoint &position);
    virtual bool b1DownAlt(const QPoint &position);
    virtual bool b1DownShift(const QPoint &position);
    virtual bool b1DownCtrl(const QPoint &position);
    virtual bool b1DownCtrlAlt(const QPoint &position);
    virtual bool b1DownCtrlShift(const QPoint &position);
    virtual bool b1Down(const QPoint &position);
    virtual bool b1Click(const QPoint &position);
    virtual bool b1ClickCtrl(const QPoint &position);
    virtual bool b1DblClick(const QPoint &position);
    virtual bool b2Up(const QPoint &position);
    virtual bool b2Down(const QPoint &position);
    virtual bool b2Click(const QPoint &position);
    virtual bool b2DblClick(const QPoint &position);
    virtual bool b12Click(const QPoint &position);
    /// The pointer moves over the client: set a pointer on the event and return true to show it.
    virtual bool myMousePointer(IMousePointerEvent &event);

    // --- Related views: each asks the desktop for a window on this window's unit -----------------

    virtual bool openObjControlGraph();         ///< 'g'
    virtual bool openObjRelatedPrograms();      ///< 's'
    virtual bool openObjExpandedSource();       ///< 'b'
    virtual bool openObjSymbolsUsed();          ///< 's'
    virtual bool openObjRelatedSourceMembers(); ///< 's'

    // --- Links to the other views ------------------------------------------------------------------

    /// Shows `token` of `pu` in a browser (592): an open one that answers the query for the token
    /// number (1 for a null token) gets 0x4013 (the token's syntax node number, the unit's
    /// number), a show request and 0x4004; else a new 'b' window for the unit and token.
    /// Empties statusText(). Returns true.
    virtual bool findInSource(DbPu *pu, DbToken *token);
    /// As findInSource for a grapher (593) with 0x4012 (token number, 0 for null; unit number).
    virtual bool findInGraph(DbPu *pu, DbToken *token);
    /// As findInSource for a data map (596) with 0x4006 (token number, 0 for null; unit number);
    /// a new 'm' window for the unit.
    virtual bool showDataMap(DbPu *pu, DbToken *token);
    /// Whether another window of this window's kind and object answers the query for the token
    /// (0 for null) of `pu` (0 for null).
    virtual bool scrollingInstanceExists(DbPu *pu, DbToken *token);

    // --- Registration and placement -------------------------------------------------------------

    /// Registers the window (object id = string resource viewKind()), stores the placement the
    /// system gave it ("WindowPMPosition") and applies the user's saved one, if any. Call once
    /// from the derived view when its client exists. Returns true.
    virtual bool registerWindow();
    virtual bool savewindowpreferences(); ///< the user's placement ("WindowPosition")
    virtual bool restorePMwindow();       ///< back to "WindowPMPosition"
    virtual bool restorewindow();         ///< back to "WindowPosition"

    // --- Scroll coupling: each flips its flag, its action's state and fly-over text --------------

    virtual unsigned long setrequestscroll();
    virtual unsigned long setscrollonrequest();
    virtual unsigned long setsurfonscroll();

    /// The exception log toggle was switched to `state`. The base does nothing and returns 0;
    /// while the toggle is on, exceptions of "basic" commands are also appended to the log.
    virtual int log(int state);
    /// Closes the window after the current handler: posts the system command Close to itself.
    virtual bool theEnd();

    /// Appends a report on `exception` to the exception log "KELEXCPT.OUT" in the current
    /// directory (ExceptionLog). Uses nothing of a window; never throws.
    static void KelCatch(const IException &exception);

    // --- Command dispatch ------------------------------------------------------------------------

    /// Runs the command of `event` as its action's category says (see the class comment). True
    /// when this window owns an action with the command id.
    bool command(ICommandEvent &event) override;
    /// The worker thread's body: performs the action of the command being run.
    void commandthread();

    /// Runs `work` on the GUI thread and waits (at once on the GUI thread). An exception from
    /// `work` is passed on to the caller; false when the window is going and `work` did not run.
    bool callOnGuiThread(const std::function<void()> &work);
    /// Runs `work` on the GUI thread later, unless the window has gone by then.
    void postToGuiThread(std::function<void()> work);
    /// Waits until a running "basic" command has finished (GUI thread), delivering meanwhile the
    /// GUI calls the command waits for.
    void waitForCommand();
    /// True while a "basic" command's worker runs.
    bool isCommandRunning() const { return m_worker.isRunning(); }
    /// True when a close waits for the running command.
    bool isClosePending() const { return m_closePending; }

    // --- What the window shows -------------------------------------------------------------------

    DbEu *eu() const { return m_eu; }
    DbPu *pu() const { return m_pu; }
    DbToken *token() const { return m_token; }
    unsigned long viewKind() const { return m_viewKind; }
    /// The unit's number in its execution unit; 0 without a unit.
    std::uint32_t puNumber() const { return m_puNumber; }
    const QString &extraText() const { return m_extraText; }
    unsigned long extraValue() const { return m_extraValue; }
    /// The view kind's object id; loaded by registerWindow().
    const QString &objectId() const { return m_objectId; }
    RegisterInstance *registration() const { return m_registration.get(); }
    /// The handle, also for other threads.
    IWindowHandle windowHandle() const { return m_handle; }

    /// 1 while a command or gesture runs.
    std::uint32_t busy() const { return m_busy.value(); }
    /// The command id being dispatched or run.
    unsigned long commandId() const { return m_commandId.load(); }

    std::uint32_t requestScroll() const { return m_requestScroll.load(); }
    std::uint32_t scrollOnRequest() const { return m_scrollOnRequest.load(); }
    std::uint32_t surfOnScroll() const { return m_surfOnScroll.load(); }
    /// Set a flag (from the view's preferences); the toggle's state and text follow. GUI thread.
    void setRequestScroll(bool on);
    void setScrollOnRequest(bool on);
    void setSurfOnScroll(bool on);

    bool isExceptionLogOn() const;

    /// The status text of the view (shown in the info area); findInSource empties it.
    QString statusText() const { return m_statusText; }
    void setStatusText(const QString &text);

    XIInfoArea *infoArea() const { return m_infoArea; }
    XIToolBar *toolBar() const { return m_toolBar; }
    /// The menu (or submenu) headed by `menuId` (KelRes::editMenu ...), for the view's items.
    QMenu *menu(unsigned long menuId) const;
    /// The window's action with `commandId`, or null.
    XIAction *action(unsigned long commandId) const;

protected:
    /// Makes `client` the client area and sends its clicks to the gesture operations.
    void setClient(QWidget *client);
    /// The handler that turns the client's clicks into gestures; attach it to further widgets
    /// whose clicks are the view's (a scroll area's viewport).
    KelMouseClickHandler *mouseClickHandler() const { return m_mouseHandler; }
    /// Sounds the busy beep (875 Hz for 100 ms on the design's platform).
    virtual void beepBusy();

    void showEvent(QShowEvent *event) override;

private:
    friend class KelCloseGuard;
    friend class KelMouseClickHandler;

    void construct();
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void setFlyOverTexts();
    bool dispatchGesture(MouseGestureTable::Gesture gesture, const QPoint &position);
    void startWorker(unsigned long commandId);
    void runOnGuiThread(XIAction *action);
    void commandFinished(std::uint64_t generation);
    void restoreCursor();
    /// A Close while the command runs: hide now, close when it has finished.
    void deferClose();
    unsigned long toggle(std::atomic<std::uint32_t> &flag, unsigned long commandId);
    void showToggle(unsigned long commandId, bool on);
    bool requestWindow(char kind);
    bool placement(void (RegisterInstance::*operation)(IProfile) const);

    // Scroll coupling, the unit and the busy word: read by the view and the worker.
    std::atomic<std::uint32_t> m_requestScroll{0};
    std::atomic<std::uint32_t> m_scrollOnRequest{0};
    std::atomic<std::uint32_t> m_surfOnScroll{0};
    std::uint32_t m_puNumber = 0;
    BusyFlag m_busy;

    DbEu *m_eu = nullptr;
    DbPu *m_pu = nullptr;
    unsigned long m_viewKind = 0;
    DbToken *m_token = nullptr;
    QString m_extraText;
    unsigned long m_extraValue = 0;
    QString m_objectId;
    std::unique_ptr<RegisterInstance> m_registration;
    std::atomic<unsigned long> m_commandId{0};
    IWindowHandle m_handle;

    // Owned by the frame (QObject children).
    XIAction *m_plainActions[9] = {};
    XIHelpIndex *m_helpIndex = nullptr;
    XIUsingHelp *m_usingHelp = nullptr;
    KelHelp *m_help = nullptr;
    XIProductInformation *m_productInformation = nullptr;
    KelControl *m_control = nullptr;
    KelSymbolsU *m_symbolsUsed = nullptr;
    KelRelatedS *m_relatedSource = nullptr;
    KelCompiledS *m_compiledSource = nullptr;
    KelRequestScrl *m_requestScrollAction = nullptr;
    KelScrollOnRequest *m_scrollOnRequestAction = nullptr;
    KelSurfonScrl *m_surfOnScrollAction = nullptr;
    KelSaveWindow *m_saveWindow = nullptr;
    KelPMWindow *m_pmWindow = nullptr;
    KelRestoreWindow *m_restoreWindow = nullptr;
    XIInfoArea *m_infoArea = nullptr;
    XIHoverHelpSelector *m_hoverHelp = nullptr;
    KelTutorial *m_tutorial = nullptr;
    KelLogToggle *m_logToggle = nullptr;
    KelWindowExit *m_exit = nullptr;
    XIToolBar *m_toolBar = nullptr;
    KelCloseGuard *m_closeGuard = nullptr;
    KelMouseClickHandler *m_mouseHandler = nullptr;
    KelTBMouseClickHandler *m_toolBarMouseHandler = nullptr;

    QString m_statusText;
    CommandThread m_worker;
    // Written on the GUI thread before the worker starts (and after it was joined), read by it.
    unsigned long m_workerCommandId = 0;
    std::uint64_t m_workerGeneration = 0;
    std::optional<QCursor> m_savedCursor;
    bool m_closePending = false;
    bool m_destroying = false; // GUI thread only
};
