#pragma once

#include "KelWindowStart.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

/// The host program's view factory, registered with the desktop: it makes every view kind the
/// host knows (HostRequests.h) on the desktop's GUI thread.
///
/// - 'b' the source browser, 's' the list view the request's word1 names, 'm' the data map at
///   the item declared on line word2 (or the request's token), 'g' the grapher
///   (makeGrapherWindow), 't' the structure tree, 'n' a notebook (word1: details of the item
///   declared or named on line word2, the unit's settings or properties, the preferences).
/// - A view of the same kind on the same unit that is open already is reused: it moves to the
///   request's token or line and comes to the front (HostView::reveal), so asking twice never
///   gives two windows. The data map and the notebooks reuse themselves the same way.
/// - A request whose unit the desktop could not find or load opens nothing (the desktop has said
///   why); a whole-execution-unit request opens the unit-free views (grapher, tree) of the whole
///   execution unit and the others on its first unit.
///
/// Every top-level window it made is remembered (windows()), each named "<kind>-<unit>" for
/// pictures (grabName()).
class HostWindows : public KelWindowStart
{
public:
    HostWindows();
    ~HostWindows() override;

    void startWindow(StartWindowData *request) override;

    /// The windows made so far that are still open, in the order they were made.
    QList<QWidget *> windows() const;
    /// How many requests have been served (whatever came of them).
    int served() const { return m_served; }
    /// The window the last request made or reused; null when it opened nothing or has gone.
    QWidget *lastStarted() const { return m_last; }

    /// What the views' Reload runs (after the signal's handler has returned, since reloading
    /// closes the view that asked).
    void setReload(std::function<void()> reload) { m_reload = std::move(reload); }

    /// The name of `window`'s picture: "browser-PAYRUN", "datamap-PAYRUN", "details-PAYRUN" ...
    static QString grabName(const QWidget *window);

    /// Remembers a window the host opened itself (the storage map of `--copybook`), so that it
    /// is listed, pictured as `name` and closed with the others. A data map without a saved
    /// placement grows to the size new maps open at.
    void adopt(QWidget *window, const QString &name);

private:
    QWidget *start(const StartWindowData &request);
    QWidget *startNotebook(const StartWindowData &request);
    void remember(QWidget *window, const QString &name);

    QList<QPointer<QWidget>> m_windows;
    std::function<void()> m_reload;
    int m_served = 0;
    QPointer<QWidget> m_last;
};
