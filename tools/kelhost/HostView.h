#pragma once

#include "KelWindow.h"

#include <QPointer>

#include <cstdint>
#include <functional>

class HostBanner;
class IWindowHandle;
class QKeySequence;
class QVBoxLayout;
struct StartWindowData;
class XIAction;

/// The base of the host program's own view windows (source browser, list views, structure tree,
/// grapher place-holder): a KelWindow that also
///
/// - comes to the front on the registry's show request (0xFFDF code 2) and on 0x4004;
/// - passes its selection on to the other views of its execution unit while "request scrolling"
///   is on, and its scrolling while "surf on scrolling" is on (passOn), and follows what the
///   other views pass on while "scroll on request" is on (event 0x4014, followToken());
/// - shows a banner over its client when the unit it shows was recorded again meanwhile
///   (setStale), with a Reload button;
/// - offers the notebooks from its menus: the unit's settings and properties (File), the
///   preferences (Options).
///
/// Scroll coupling in the host: a selection is passed on as the selected token; scrolling as
/// the first token of the top line. The data map gets a selection as 0x4006 (it follows on its
/// own terms), every other view as 0x4014; a view moves on 0x4014 only while its "scroll on
/// request" is on and never passes on what it was moved to. Explicit finds (Find in Source,
/// Show Data Map, a double click in a list) always move their target and bring it forward.
class HostView : public KelWindow
{
    Q_OBJECT

public:
    /// Why a view passes a token on.
    enum class Coupling { selection, scrolling };

    /// A view of `viewKind` on `pu` of the desktop's execution unit; a null `pu` shows the
    /// execution unit as a whole.
    HostView(unsigned long viewKind, DbPu *pu);
    ~HostView() override;

    /// The unit's name, or the execution unit's when the view shows all of it.
    QString objectName() const;
    /// "<kind>-<unit>": the name of the view's picture under --grab.
    virtual QString grabName() const = 0;

    /// Shows (or, with an empty text, hides) the banner saying the unit has changed.
    void setStale(const QString &text);
    bool isStale() const;

    /// Passes `tokenNumber` of the view's unit on to the other views (see the class comment).
    /// Returns how many windows were told.
    int passOn(std::uint32_t tokenNumber, Coupling why);
    /// The same for a token of `unit`, a unit of the view's execution unit (a view of the whole
    /// execution unit passes on tokens of any of its units).
    int passOn(DbPu &unit, std::uint32_t tokenNumber, Coupling why);
    /// Tells the registered windows of `eu` other than `self` that token `tokenNumber` of `unit`
    /// was selected or scrolled to (0x4014; a data map of `unit` gets a selection as 0x4006),
    /// whatever the coupling toggles say. For windows that are no HostView (the data map).
    static int tellOthers(
        const IWindowHandle &self, DbEu &eu, DbPu &unit, std::uint32_t tokenNumber, Coupling why);

    /// Brings the window forward: shown, restored when minimized, raised and activated.
    void bringToFront();
    /// The factory found this view open for a new request: move to the request's token (or line,
    /// `word2`) and come forward. The base only comes forward.
    virtual void reveal(const StartWindowData &request);

    /// Shows `token`'s data item in the data map: an open map of the unit that answers the query
    /// is moved there (0x4006) and brought forward, else a new map opens on that item's record.
    /// Any thread.
    bool showDataMap(DbPu *pu, DbToken *token) override;
    /// Asks the desktop for the structure tree of this view's unit at `token` (may be null).
    void openStructureTree(DbToken *token);

signals:
    /// The user asked to open the database again (the banner's button, File > Reload).
    void reloadRequested();

protected:
    /// Makes `client` the view's client, below the banner.
    void setViewClient(QWidget *client);
    /// Another view passed token `tokenNumber` of `pu` on (a unit this view can show, canShow);
    /// move there without passing it on. Called only while "scroll on request" is on. The base
    /// does nothing.
    virtual void followToken(DbPu &pu, std::uint32_t tokenNumber);
    /// Whether the view shows, or can show, token `tokenNumber` of unit `unitNumber` (the query
    /// 0x4011). The base: a token of its own unit.
    virtual bool canShow(std::uint32_t tokenNumber, std::uint32_t unitNumber) const;

    bool userEvent(IUserEvent &event) override;

    /// A command of this window's own, run as `category` says ("simple" on the GUI thread,
    /// "basic" on the worker), calling `work` when performed.
    XIAction *addCommand(unsigned long commandId,
                         const QString &category,
                         std::function<void()> work,
                         const QKeySequence &shortcut = {});
    /// Adds the notebooks (settings, properties to File; preferences to Options) and Reload.
    void addStandardCommands(unsigned long preferencesId);
    /// Opens the preferences notebook for `preferencesId` (0x7004 browser, 0x7003 grapher,
    /// 595 the symbols view's own page).
    virtual void openPreferences();

    /// The unit's title for window titles: its name, or the execution unit's.
    QString unitTitle() const { return objectName(); }

    /// Asks the desktop for a list view of `listKind` on this view's unit.
    void requestList(std::uint32_t listKind);

    bool openObjRelatedPrograms() override;
    bool openObjSymbolsUsed() override;
    bool openObjRelatedSourceMembers() override;

private:
    class Notifications;

    QWidget *m_container = nullptr;
    QVBoxLayout *m_layout = nullptr;
    HostBanner *m_banner = nullptr;
    Notifications *m_notifications = nullptr;
    unsigned long m_preferencesId = 0;
};
