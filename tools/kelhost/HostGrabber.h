#pragma once

#include <QDir>
#include <QObject>
#include <QPointer>

class HostWindows;
class KelDesktop;
class QTimer;

/// `kelhost --grab DIR`: waits until the desktop has served the requests made at start and every
/// window is shown and painted, saves one PNG per open window in DIR ("desktop-<eu>.png",
/// "browser-<unit>.png" ..., HostWindows::grabName), then closes the desktop through its close
/// path, so the views' placements are saved as when a user closes it.
///
/// A window that is still not there after the wait (`timeoutMs`) is left out; what was open is
/// grabbed all the same. finished() says whether every picture was written.
class HostGrabber : public QObject
{
    Q_OBJECT

public:
    HostGrabber(KelDesktop &desktop,
                HostWindows &windows,
                int expectedRequests,
                const QDir &directory,
                QObject *parent = nullptr);

    /// Starts waiting; the grab happens from the event loop.
    void start(int timeoutMs = 60000);

    /// The pictures written so far (absolute paths).
    const QStringList &written() const { return m_written; }

signals:
    /// The pictures are written (`ok` false when one could not be) and the desktop is closing.
    void finished(bool ok);

private:
    void poll();
    bool grabAll();

    QPointer<KelDesktop> m_desktop;
    HostWindows &m_windows;
    int m_expected;
    QDir m_directory;
    QTimer *m_timer;
    int m_elapsedMs = 0;
    int m_timeoutMs = 60000;
    int m_settledPolls = 0;
    QStringList m_written;
};
