#pragma once

#include "FrameList.h"
#include "IFrameWindow.h"

#include <QList>
#include <QPointer>

#include <atomic>
#include <functional>
#include <iosfwd>
#include <memory>

class DbEu;
class DbPu;
class DbToken;
class KelDesktopCommandHandler;
class KelDesktopNewWindowHandler;
class KelDesktopSelectHandler;
class KelWindowStart;
class QLabel;
class QListWidget;
class QPushButton;
class RegisterInstance;
class WindowRequestPipeline;
struct StartWindowData;

/// The desktop of the analysis views: the main window of a process's views. It lists the
/// program units of the loaded execution unit, keeps the list of open view frames, and is the
/// one place where view windows are made.
///
/// Making a window: any view (or the list) hands a StartWindowData to newWindow(), from any
/// thread. A request thread writes "Just put the new window on the list" and the window list to
/// standard output, finds the request's program unit by name when it has none (the bare file
/// name of a path; an empty name takes the first unit) and loads it (a failure is message
/// 0xF603, and the request goes on); then it posts the create-window event 0x9988 to the
/// desktop. On the GUI thread the desktop takes the ready requests in request order and gives
/// each to the factory the host program registered (KelWindowStart), writing the window list
/// before and after; the request is deleted afterwards. A factory that throws is reported
/// through KelMsg (and the exception log), and later requests still work.
///
/// The list: line 0 is the execution unit as a whole, then one line per program unit in the
/// unit table's order. Open (or Enter, or a double click) on line 0 opens a graph of the whole
/// execution unit, on another line the unit's source; Open first brings an open window of that
/// kind and unit to the front (restored when minimized). Hide Views hides every view and
/// minimizes the desktop; Restore Views shows them again; Exit saves the desktop's placement,
/// closes every view and the desktop and ends the application.
///
/// System commands on the desktop: Close saves the placement of the desktop and of every view
/// and ends the application; Minimize and Hide hide the views as well; Maximize maximizes every
/// view instead of the desktop (or, after maximizeOnlyDesktopWith, only brings that view
/// forward); Restore shows and restores every view (or, after restoreOnlyDesktopWith, leaves
/// them as they are once).
///
/// The desktop registers its own frame in the window registry (object id KELRESRC 0x7005
/// "Desktop", view number 0x7005, no execution unit), so other libraries find it and its
/// placement is saved and restored in the placement profile. One desktop per process
/// (current()).
class KelDesktop : public IFrameWindow
{
    Q_OBJECT

public:
    /// The module tag the desktop's messages name.
    static constexpr const char *moduleTag = "kelcomon/KelDesktop";

    KelDesktop();
    ~KelDesktop() override;

    /// The desktop of the process (null before one is made and after it has gone). Any thread.
    static KelDesktop *current();
    static KelDesktop *putDesktop() { return current(); }

    /// The factory that makes the windows (not owned; the host keeps it while the desktop
    /// lives).
    void setKelWindowStart(KelWindowStart *windowStart);
    KelWindowStart *kelWindowStart() const { return m_windowStart; }

    /// Starts making the window `data` asks for and takes ownership of it; returns at once.
    /// Any thread. False (and `data` deleted) when the desktop is going.
    bool newWindow(StartWindowData *data);
    /// Gives the ready requests at the front of the queue, in order, to the factory. True when
    /// at least one was taken, false when none was ready. GUI thread (the 0x9988 event).
    bool createWindow();

    /// The frame list. addFrame returns false for a frame already listed; removeFrame false for
    /// one not listed. A frame that is destroyed leaves the list by itself. GUI thread.
    bool addFrame(IFrameWindow *frame);
    bool removeFrame(IFrameWindow *frame);
    QList<IFrameWindow *> frames() const;

    /// Makes `eu` the execution unit of the list and of the requests (StartWindowData::eu) and
    /// fills the list, selecting line 0. A null `eu` does nothing. Returns 0.
    int loadEuData(DbEu *eu);
    DbEu *eu() const { return m_eu; }

    /// The next Maximize on the desktop brings `frame` forward instead of maximizing the views.
    void maximizeOnlyDesktopWith(IFrameWindow *frame);
    /// Restores the desktop now, and the next Restore leaves the views as they are.
    void restoreOnlyDesktopWith(IFrameWindow *frame);

    /// Shows `token` of `pu` (token 1 for a null token) in an open browser, brought to the
    /// front with 0x4004 only, or asks for a new 'b' window. Returns true.
    bool findInSource(DbPu *pu, DbToken *token);
    /// As findInSource for a grapher; a new 'g' window.
    bool findInGraph(DbPu *pu, DbToken *token);

    /// Writes the window list to `out` (one piece, never mixed with another thread's list).
    void outputWindowList(std::ostream &out) const;

    /// The desktop's own registration.
    RegisterInstance *registration() const { return m_registration.get(); }
    QListWidget *unitList() const { return m_list; }

    /// How the desktop ends the application (Exit, Close); QCoreApplication::quit unless set.
    void setApplicationEnd(std::function<void()> end);

    // --- What the handlers do -------------------------------------------------------------------

    /// Opens the view of `line` (0: a graph of the execution unit; n: the source of unit n).
    void openLine(int line);
    /// Open (0x1550): as openLine for the selected line, after looking for an open window.
    void openSelected();
    /// Exit (0x1553).
    void exitAll();
    /// Restore Views (0x1554).
    void restoreViews();
    /// Hide Views (0x1552).
    void hideViews();
    /// Saves the desktop's placement, and with `views` that of every view as well.
    void savePlacements(bool views);
    /// Minimize or Hide on the desktop: every view is hidden.
    void hideAllViews();
    /// Maximize on the desktop: the first frame of maximizeWith comes forward, or, when there is
    /// none, every view is maximized and the desktop gets the focus.
    void maximizeViews();
    /// Restore on the desktop: the first frame of restoreWith is taken out, or, when there is
    /// none, every view is restored and the desktop gets the focus.
    void restoreViewsWithDesktop();
    /// Calls the application end.
    void endApplication();

private:
    void buildClient();
    void registerDesktop();
    void refreshDescriptions();
    std::string describe(IFrameWindow *frame) const;
    void startWindow(StartWindowData &request);
    IFrameWindow *takeRestoreWith();
    IFrameWindow *takeMaximizeWith();

    static std::atomic<KelDesktop *> s_current;

    IWindowHandle m_handle;
    KelWindowStart *m_windowStart = nullptr;
    std::unique_ptr<WindowRequestPipeline> m_pipeline;
    FrameList m_frames;
    QList<QPointer<IFrameWindow>> m_restoreWith;
    QList<QPointer<IFrameWindow>> m_maximizeWith;
    DbEu *m_eu = nullptr;
    std::unique_ptr<RegisterInstance> m_registration;
    std::function<void()> m_endApplication;

    QLabel *m_heading = nullptr;
    QListWidget *m_list = nullptr;
    QLabel *m_hint = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_hide = nullptr;
    QPushButton *m_restore = nullptr;
    QPushButton *m_exit = nullptr;

    KelDesktopSelectHandler *m_selectHandler = nullptr;
    KelDesktopCommandHandler *m_commandHandler = nullptr;
    KelDesktopNewWindowHandler *m_newWindowHandler = nullptr;
};
