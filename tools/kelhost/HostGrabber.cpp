#include "HostGrabber.h"

#include "DbEu.h"
#include "HostWindows.h"
#include "KelDesktop.h"
#include "StartWindowData.h"

#include <QApplication>
#include <QPixmap>
#include <QSet>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int pollMs = 50;
/// Polls in a row with everything served and shown before grabbing: lets queued paints, layouts
/// and the views' own deferred work (first selection, scrolling) run.
constexpr int settlePolls = 4;

/// A file name from a window's name: blanks and path separators would make odd files.
QString fileNameFor(QString name)
{
    for (QChar &c : name)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_' && c != u'.')
            c = u'_';
    return name;
}

} // namespace

HostGrabber::HostGrabber(KelDesktop &desktop,
                         HostWindows &windows,
                         int expectedRequests,
                         const QDir &directory,
                         QObject *parent)
    : QObject(parent)
    , m_desktop(&desktop)
    , m_windows(windows)
    , m_expected(expectedRequests)
    , m_directory(directory)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(pollMs);
    connect(m_timer, &QTimer::timeout, this, &HostGrabber::poll);
}

void HostGrabber::start(int timeoutMs)
{
    m_timeoutMs = timeoutMs;
    m_timer->start();
}

void HostGrabber::poll()
{
    m_elapsedMs += pollMs;
    bool ready = m_windows.served() >= m_expected;
    for (QWidget *window : m_windows.windows())
        ready = ready && window->isVisible();
    m_settledPolls = ready ? m_settledPolls + 1 : 0;
    if (m_settledPolls < settlePolls && m_elapsedMs < m_timeoutMs)
        return;
    m_timer->stop();
    if (!ready)
        std::fprintf(stderr,
                     "kelhost: only %d of %d windows were ready after %d ms; grabbing those.\n",
                     m_windows.served(),
                     m_expected,
                     m_elapsedMs);
    const bool ok = grabAll();
    emit finished(ok);
    if (m_desktop)
        m_desktop->close();
}

bool HostGrabber::grabAll()
{
    if (!m_directory.exists() && !m_directory.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr,
                     "kelhost: cannot create the directory %s for the pictures.\n",
                     qPrintable(m_directory.absolutePath()));
        return false;
    }
    QList<QPair<QWidget *, QString>> windows;
    if (m_desktop) {
        const DbEu *eu = StartWindowData::eu();
        windows.append(
            {m_desktop.data(),
             QStringLiteral("desktop-") + (eu ? QString::fromStdString(eu->euName()) : QString())});
    }
    for (QWidget *window : m_windows.windows())
        windows.append({window, HostWindows::grabName(window)});

    bool ok = true;
    QSet<QString> used;
    for (const auto &[window, name] : std::as_const(windows)) {
        if (!window->isVisible())
            continue;
        QString base = fileNameFor(name);
        for (int n = 2; used.contains(base); ++n)
            base = fileNameFor(name) + QLatin1Char('-') + QString::number(n);
        used.insert(base);
        const QString file = m_directory.absoluteFilePath(base + QStringLiteral(".png"));
        if (!window->grab().save(file, "PNG")) {
            std::fprintf(stderr, "kelhost: cannot write the picture %s.\n", qPrintable(file));
            ok = false;
            continue;
        }
        m_written.append(file);
        std::printf("Grabbed %s\n", qPrintable(file));
    }
    std::fflush(stdout);
    return ok;
}
