#pragma once

#include "HostOptions.h"

#include <QObject>

#include <memory>
#include <vector>

class DbEu;
class HostGrabber;
class HostWindows;
class KelDesktop;
class QFileSystemWatcher;
class QTimer;
struct StartWindowData;

/// One run of the host over one analysis database: the execution unit, the desktop that lists
/// its units, the view factory, the views asked for on the command line, and --grab.
///
/// It watches the database file: when a conversion records a unit again (or drops it) while its
/// views are open, those views say so in a banner; Reload (the banner's button, File > Reload)
/// opens the database again and puts the open views back on the new contents.
///
/// Destroying the session closes every view before the execution unit they show goes.
class HostSession : public QObject
{
    Q_OBJECT

public:
    HostSession(std::unique_ptr<DbEu> eu, QObject *parent = nullptr);
    ~HostSession() override;

    KelDesktop &desktop() const { return *m_desktop; }
    HostWindows &windows() const { return *m_windows; }
    DbEu &eu() const { return *m_eu; }

    /// Shows the desktop and asks it for the views of `opens`, in order.
    void start(const std::vector<HostOpenRequest> &opens);
    /// With --grab: once the views of start() are open, save their pictures in `directory` and
    /// close the desktop. The exit status becomes 1 when a picture cannot be written.
    void grabWhenReady(const QString &directory);

    /// The request that opens `open`'s view (the caller owns it).
    static std::unique_ptr<StartWindowData> requestFor(const HostOpenRequest &open);

    /// What the program exits with once the event loop ends.
    int exitStatus() const { return m_exitStatus; }

    /// Compares the database with what the open views show and marks the views whose unit was
    /// recorded again or dropped. Also run by the file watcher.
    void checkDatabase();
    /// Opens the database again and reopens the open views on it.
    void reload();

private:
    void watch();
    void closeViews();

    std::unique_ptr<DbEu> m_eu;
    /// Execution units replaced by reload(): kept until the end, since a closed view's notebooks
    /// or pending requests may still refer to them.
    std::vector<std::unique_ptr<DbEu>> m_retired;
    std::unique_ptr<KelDesktop> m_desktop;
    std::unique_ptr<HostWindows> m_windows;
    HostGrabber *m_grabber = nullptr;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_recheck = nullptr;
    int m_requested = 0;
    int m_exitStatus = HostOptions::success;
};
