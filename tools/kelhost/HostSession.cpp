#include "HostSession.h"

#include "DbEu.h"
#include "DbPu.h"
#include "HostGrabber.h"
#include "HostRequests.h"
#include "HostWindows.h"
#include "ICurrentApplication.h"
#include "KelBrowser.h"
#include "KelDataMapWindow.h"
#include "KelDesktop.h"
#include "KelListWindow.h"
#include "KelMsgException.h"
#include "KelhostResourceIds.h"
#include "KelresrcResourceIds.h"
#include "StartWindowData.h"

#include <QApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <cstdio>

namespace {

/// How long the database must stay quiet before it is compared: a conversion writes a unit in
/// one transaction, but the file and its log change several times meanwhile.
constexpr int recheckDelayMs = 700;

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

/// The request that opens `window` again on a new execution unit; null for windows that are
/// not views (notebooks).
std::unique_ptr<StartWindowData> reopenRequest(QWidget *window)
{
    const auto unitName = [](const DbPu *pu) { return pu ? pu->puName() : std::string(); };
    if (auto *map = qobject_cast<KelDataMapWindow *>(window))
        return std::make_unique<StartWindowData>(StartWindowData::dataMap,
                                                 nullptr,
                                                 map->pu().puName());
    auto *view = qobject_cast<HostView *>(window);
    if (!view)
        return nullptr;
    std::unique_ptr<StartWindowData> request;
    switch (view->viewKind()) {
    case KelRes::browserView: {
        request = std::make_unique<StartWindowData>(StartWindowData::browser,
                                                    nullptr,
                                                    unitName(view->pu()));
        request->word2 = static_cast<KelBrowser *>(view)->sourceView()->selection().line;
        break;
    }
    case KelRes::symbolsView:
        request = std::make_unique<StartWindowData>(StartWindowData::listViews,
                                                    nullptr,
                                                    unitName(view->pu()));
        request->word1 = static_cast<KelListWindow *>(view)->listKind();
        break;
    case KelRes::grapherView:
        request = std::make_unique<StartWindowData>(StartWindowData::grapher,
                                                    nullptr,
                                                    unitName(view->pu()));
        break;
    case KelRes::treeViewName:
        request = std::make_unique<StartWindowData>(HostRequests::treeKind,
                                                    nullptr,
                                                    unitName(view->pu()));
        break;
    default:
        break;
    }
    return request;
}

/// Whether two units are the same recording: kelmkpu rewrites a unit in place (same key) and
/// stamps it to the second, so the sizes tell a unit recorded twice within one second apart.
bool isSameRecording(const DbPu &a, const DbPu &b)
{
    const DbUnitHeader &x = a.header();
    const DbUnitHeader &y = b.header();
    return a.databaseId() == b.databaseId() && x.timeStamp == y.timeStamp
           && x.tokenCount == y.tokenCount && x.symbolCount == y.symbolCount
           && x.lineCount == y.lineCount && x.sourceFile == y.sourceFile
           && x.expandedSourceFile == y.expandedSourceFile;
}

} // namespace

HostSession::HostSession(std::unique_ptr<DbEu> eu, QObject *parent)
    : QObject(parent)
    , m_eu(std::move(eu))
    , m_desktop(std::make_unique<KelDesktop>())
    , m_windows(std::make_unique<HostWindows>())
{
    m_desktop->setKelWindowStart(m_windows.get());
    m_windows->setReload([this] { reload(); });
    m_desktop->loadEuData(m_eu.get());
    m_desktop->setWindowTitle(m_desktop->windowTitle() + QStringLiteral(" - ")
                              + QString::fromStdString(m_eu->euName()));
    watch();
}

HostSession::~HostSession()
{
    closeViews();
    m_desktop.reset();
    StartWindowData::clearEu();
}

void HostSession::closeViews()
{
    for (QWidget *window : m_windows->windows())
        delete window;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::unique_ptr<StartWindowData> HostSession::requestFor(const HostOpenRequest &open)
{
    const std::string unit = open.unit == "*" ? std::string() : open.unit;
    auto request = std::make_unique<StartWindowData>(StartWindowData::browser, nullptr, unit);
    request->word2 = open.line;
    switch (open.kind) {
    case HostViewKind::browser:
        break;
    case HostViewKind::symbolsUsed:
        request->kind = StartWindowData::listViews;
        request->word1 = HostRequests::symbolsUsed;
        break;
    case HostViewKind::relatedPrograms:
        request->kind = StartWindowData::listViews;
        request->word1 = HostRequests::relatedPrograms;
        break;
    case HostViewKind::relatedMembers:
        request->kind = StartWindowData::listViews;
        request->word1 = HostRequests::relatedMembers;
        break;
    case HostViewKind::dataMap:
        request->kind = StartWindowData::dataMap;
        break;
    case HostViewKind::tree:
        request->kind = HostRequests::treeKind;
        break;
    case HostViewKind::grapher:
        request->kind = StartWindowData::grapher;
        break;
    case HostViewKind::details:
        request->kind = HostRequests::notebookKind;
        request->word1 = HostRequests::details;
        break;
    case HostViewKind::settings:
        request->kind = HostRequests::notebookKind;
        request->word1 = HostRequests::settings;
        break;
    case HostViewKind::properties:
        request->kind = HostRequests::notebookKind;
        request->word1 = HostRequests::properties;
        break;
    case HostViewKind::preferences:
        request->kind = HostRequests::notebookKind;
        request->word1 = HostRequests::preferences;
        break;
    }
    return request;
}

void HostSession::start(const std::vector<HostOpenRequest> &opens)
{
    m_desktop->show();
    for (const HostOpenRequest &open : opens) {
        m_desktop->newWindow(requestFor(open).release());
        ++m_requested;
    }
}

void HostSession::grabWhenReady(const QString &directory)
{
    m_grabber = new HostGrabber(*m_desktop, *m_windows, m_requested, QDir(directory), this);
    connect(m_grabber, &HostGrabber::finished, this, [this](bool ok) {
        if (!ok)
            m_exitStatus = HostOptions::cannotOpen;
    });
    m_grabber->start();
}

void HostSession::watch()
{
    m_watcher = new QFileSystemWatcher(this);
    m_recheck = new QTimer(this);
    m_recheck->setSingleShot(true);
    m_recheck->setInterval(recheckDelayMs);
    connect(m_recheck, &QTimer::timeout, this, &HostSession::checkDatabase);
    const QString file = QString::fromStdString(m_eu->fileName());
    // The directory too: SQLite's write-ahead log comes and goes beside the file.
    m_watcher->addPath(file);
    m_watcher->addPath(QFileInfo(file).absolutePath());
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_recheck, qOverload<>(&QTimer::start));
    connect(m_watcher,
            &QFileSystemWatcher::directoryChanged,
            m_recheck,
            qOverload<>(&QTimer::start));
}

void HostSession::checkDatabase()
{
    std::unique_ptr<DbEu> now;
    try {
        now = DbEu::open(m_eu->fileName());
    } catch (const KelMsgException &) {
        // Being written or gone for a moment: the next change looks again.
        return;
    }
    for (QWidget *window : m_windows->windows()) {
        auto *view = qobject_cast<HostView *>(window);
        if (!view || !view->pu())
            continue;
        const DbPu *shown = view->pu();
        const DbPu *current = now->puNamed(shown->puName());
        const QString name = QString::fromStdString(shown->puName());
        if (!current)
            view->setStale(text(KelRes::hostUnitGone).arg(name));
        else if (!isSameRecording(*current, *shown))
            view->setStale(text(KelRes::hostUnitReplaced).arg(name));
    }
    // The file may have been replaced: watch the new one.
    const QString file = QString::fromStdString(m_eu->fileName());
    if (!m_watcher->files().contains(file) && QFileInfo::exists(file))
        m_watcher->addPath(file);
}

void HostSession::reload()
{
    std::unique_ptr<DbEu> fresh;
    try {
        fresh = DbEu::open(m_eu->fileName());
    } catch (const KelMsgException &exception) {
        std::fprintf(stderr, "kelhost: %s\n", KelMsg::format(exception.message()).c_str());
        return;
    }
    std::vector<std::unique_ptr<StartWindowData>> reopen;
    for (QWidget *window : m_windows->windows())
        if (auto request = reopenRequest(window))
            reopen.push_back(std::move(request));
    closeViews();
    m_desktop->loadEuData(fresh.get());
    m_retired.push_back(std::move(m_eu));
    m_eu = std::move(fresh);
    for (auto &request : reopen)
        m_desktop->newWindow(request.release());
}
