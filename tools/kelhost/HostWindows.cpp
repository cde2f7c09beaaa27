#include "HostWindows.h"

#include "DSSettingsView.h"
#include "DbEu.h"
#include "DbPu.h"
#include "DbPuPropertyWindow.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "HostRequests.h"
#include "ICurrentApplication.h"
#include "IProfile.h"
#include "KelBrowser.h"
#include "KelDataMapWindow.h"
#include "KelDesktop.h"
#include "KelDetailsView.h"
#include "KelListWindow.h"
#include "KelPreferencesView.h"
#include "KelSettingsView.h"
#include "KelTreeWindow.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"
#include "StartWindowData.h"
#include "XISettingsView.h"
#include "makeGrapherWindow.h"

#include <QApplication>
#include <QSet>
#include <QTimer>
#include <QVariant>

#include <cstdio>

namespace {

constexpr const char *grabNameProperty = "kelhostGrabName";

QString unitName(const DbPu *pu)
{
    if (pu)
        return QString::fromStdString(pu->puName());
    if (const DbEu *eu = StartWindowData::eu())
        return QString::fromStdString(eu->euName());
    return QStringLiteral("unit");
}

/// The data name on expanded line `line` that a request for "the item on this line" means: the
/// item declared there, else the first data name on it; null when the line has none.
DbToken *dataNameOnLine(const DbPu &pu, std::uint32_t line)
{
    DbToken *first = nullptr;
    DbToken *token = pu.firstTokenOnLine(line);
    for (std::uint32_t number = token ? pu.tokenToNumber(token) : 0;
         token && token->expandedLine() == line;
         token = pu.numberToToken(++number)) {
        if (!token->hasDataSymbol())
            continue;
        if (token->dataSymbol()->declaringToken() == token)
            return token;
        if (!first)
            first = token;
    }
    return first;
}

/// An open host view of `viewKind` on `pu` that `accepts` (for the list views: the same list).
template<typename View, typename Accept>
View *openView(unsigned long viewKind, const DbPu *pu, Accept accepts)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *view = qobject_cast<View *>(widget);
        if (view && view->viewKind() == viewKind && view->pu() == pu && view->isVisible()
            && accepts(*view))
            return view;
    }
    return nullptr;
}

/// A data map that has no placement of its own or of its kind yet opens at a size that shows a
/// few columns of a record; a placement the user saved is left as it was restored.
void fitNewMap(KelDataMapWindow &map)
{
    constexpr QSize typicalSize(860, 640);
    const RegisterInstance *registration = map.registration();
    if (!registration)
        return;
    const IProfile profile(ICurrentApplication::loadString(KelRes::placementProfileFile));
    const QString key = QStringLiteral("WindowPosition");
    if (profile.containsKey(registration->profileAppName(), key)
        || profile.containsKey(registration->profileAppName3(), key))
        return;
    map.resize(map.size().expandedTo(typicalSize));
}

} // namespace

HostWindows::HostWindows() = default;
HostWindows::~HostWindows() = default;

QList<QWidget *> HostWindows::windows() const
{
    QList<QWidget *> open;
    for (const QPointer<QWidget> &window : m_windows)
        if (window && !open.contains(window.data()))
            open.append(window.data());
    return open;
}

void HostWindows::adopt(QWidget *window, const QString &name)
{
    if (auto *map = qobject_cast<KelDataMapWindow *>(window))
        fitNewMap(*map);
    remember(window, name);
}

QString HostWindows::grabName(const QWidget *window)
{
    if (const auto *view = qobject_cast<const HostView *>(window))
        return view->grabName();
    return window->property(grabNameProperty).toString();
}

void HostWindows::remember(QWidget *window, const QString &name)
{
    if (!window)
        return;
    if (auto *view = qobject_cast<HostView *>(window)) {
        QObject::connect(view, &HostView::reloadRequested, view, [this] {
            if (m_reload)
                QTimer::singleShot(0, qApp, m_reload);
        });
    } else {
        window->setProperty(grabNameProperty, name);
    }
    m_windows.append(window);
}

void HostWindows::startWindow(StartWindowData *request)
{
    m_last = start(*request);
    ++m_served;
}

QWidget *HostWindows::start(const StartWindowData &request)
{
    const bool wholeUnit = request.puName.empty() && !request.pu;
    DbPu *pu = request.pu;
    // The desktop has reported a unit it could not find or load.
    const bool unitUsable = pu && pu->isLoaded();
    const bool forWholeUnit = request.puName.empty();
    switch (request.kind) {
    case StartWindowData::browser: {
        if (!unitUsable)
            return nullptr;
        if (KelBrowser *open = openView<KelBrowser>(KelRes::browserView, pu, [](auto &) {
                return true;
            })) {
            open->reveal(request);
            return open;
        }
        auto *browser = new KelBrowser(request);
        browser->show();
        remember(browser, {});
        return browser;
    }
    case StartWindowData::listViews: {
        if (!unitUsable)
            return nullptr;
        const auto kind = KelListWindow::kindFor(request, KelDesktop::current());
        if (KelListWindow *open = openView<KelListWindow>(KelRes::symbolsView,
                                                          pu,
                                                          [kind](auto &view) {
                                                              return view.listKind() == kind;
                                                          })) {
            open->reveal(request);
            return open;
        }
        auto *list = new KelListWindow(request, kind);
        list->show();
        remember(list, {});
        return list;
    }
    case StartWindowData::dataMap: {
        if (!unitUsable)
            return nullptr;
        DbToken *token = request.token;
        if (!token && request.word2 != 0)
            token = dataNameOnLine(*pu, request.word2);
        // The map answers the registry's query itself; find an open one of this unit directly.
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *map = qobject_cast<KelDataMapWindow *>(widget);
            if (map && &map->pu() == pu && map->isVisible()) {
                map->updateWindow(token);
                map->showNormal();
                map->raise();
                map->activateWindow();
                return map;
            }
        }
        auto *map = new KelDataMapWindow(nullptr,
                                         KelDesktop::current(),
                                         *StartWindowData::eu(),
                                         *pu,
                                         token);
        QObject::connect(map,
                         &KelDataMapWindow::findInSourceRequested,
                         map,
                         [map](DbPu *unit, DbToken *shown) {
                             if (KelDesktop *desktop = KelDesktop::current())
                                 desktop->findInSource(unit, shown);
                             (void) map;
                         });
        // The map's own selections move the views that follow (it sends only while its
        // "request scrolling" is on).
        QObject::connect(map,
                         &KelDataMapWindow::itemSelected,
                         map,
                         [map](DbPu *unit, DbToken *token) {
                             if (unit && token)
                                 HostView::tellOthers(map->handle(),
                                                      map->eu(),
                                                      *unit,
                                                      unit->tokenToNumber(token),
                                                      HostView::Coupling::selection);
                         });
        fitNewMap(*map);
        remember(map, QStringLiteral("datamap-") + unitName(pu));
        return map;
    }
    case StartWindowData::grapher: {
        if (!wholeUnit && !forWholeUnit && !unitUsable)
            return nullptr;
        const DbPu *shown = forWholeUnit ? nullptr : pu;
        if (HostView *open = openView<HostView>(KelRes::grapherView, shown, [](auto &) {
                return true;
            })) {
            open->reveal(request);
            return open;
        }
        QWidget *grapher = makeGrapherWindow(request);
        remember(grapher, QStringLiteral("grapher-") + unitName(shown));
        return grapher;
    }
    case HostRequests::treeKind: {
        if (!forWholeUnit && !unitUsable)
            return nullptr;
        const DbPu *shown = forWholeUnit ? nullptr : pu;
        if (KelTreeWindow *open = openView<KelTreeWindow>(KelRes::treeViewName, shown, [](auto &) {
                return true;
            })) {
            open->reveal(request);
            return open;
        }
        auto *tree = new KelTreeWindow(request);
        tree->show();
        remember(tree, {});
        return tree;
    }
    case HostRequests::notebookKind:
        return startNotebook(request);
    default:
        return nullptr;
    }
}

QWidget *HostWindows::startNotebook(const StartWindowData &request)
{
    DbPu *pu = request.pu && request.pu->isLoaded() ? request.pu : nullptr;
    QWidget *owner = KelDesktop::current();
    QWidget *window = nullptr;
    QString name;
    switch (request.word1) {
    case HostRequests::details: {
        DbToken *token = request.token;
        if (!token && pu && request.word2 != 0)
            token = dataNameOnLine(*pu, request.word2);
        if (!token || !token->hasDataSymbol()) {
            std::fprintf(stderr,
                         "kelhost: no data item is declared or named on line %u of %s; no "
                         "details to show.\n",
                         static_cast<unsigned>(request.word2),
                         qPrintable(unitName(pu)));
            return nullptr;
        }
        window = (new KelDetailsView(owner, *token->dataSymbol()))->settingsView();
        name = QStringLiteral("details-") + unitName(pu);
        break;
    }
    case HostRequests::settings:
        window = (pu ? new KelSettingsView(owner, *pu)
                     : new KelSettingsView(owner, *StartWindowData::eu()))
                     ->settingsView();
        name = QStringLiteral("settings-") + unitName(pu);
        break;
    case HostRequests::properties:
        if (!pu)
            return nullptr;
        window = DbPuPropertyWindow::open(owner, *pu);
        name = QStringLiteral("properties-") + unitName(pu);
        break;
    case HostRequests::preferences:
        if (KelPreferencesView *notebook = KelPreferencesView::getCurrentPreferences(
                KelRes::browserViewName)) {
            notebook->performAction();
            window = notebook->settingsView();
        }
        name = QStringLiteral("preferences");
        break;
    default:
        return nullptr;
    }
    remember(window, name);
    return window;
}
