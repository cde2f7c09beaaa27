#include "HostView.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbPuPropertyWindow.h"
#include "HostBanner.h"
#include "HostRequests.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IException.h"
#include "IUserEvent.h"
#include "KelDesktop.h"
#include "KelPreferencesView.h"
#include "KelSettingsView.h"
#include "KelViewLink.h"
#include "KelhostResourceIds.h"
#include "KelresrcResourceIds.h"
#include "OpenWindowEvent.h"
#include "OpenWindowHandler.h"
#include "StartWindowData.h"
#include "WindowRegistry.h"
#include "XIAction.h"

#include <QKeySequence>
#include <QMenu>
#include <QVBoxLayout>

/// Comes to the front on the registry's show request.
class HostView::Notifications : public OpenWindowDispatcher
{
public:
    explicit Notifications(HostView *view)
        : OpenWindowDispatcher(view)
        , m_view(view)
    {}

    bool showRequest(OpenWindowEvent &) override
    {
        m_view->bringToFront();
        return true;
    }

private:
    HostView *m_view;
};

HostView::HostView(unsigned long viewKind, DbPu *pu)
    : KelWindow(viewKind, *StartWindowData::eu(), pu, viewKind)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_container = new QWidget(this);
    m_layout = new QVBoxLayout(m_container);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_banner = new HostBanner(ICurrentApplication::loadString(KelRes::hostReloadButton),
                              m_container);
    m_layout->addWidget(m_banner);
    connect(m_banner, &HostBanner::buttonClicked, this, &HostView::reloadRequested);
    m_notifications = new Notifications(this);
    m_notifications->handleEventsFor(this);
}

HostView::~HostView()
{
    // A command may still use the view's members (its lists, its document).
    waitForCommand();
}

QString HostView::objectName() const
{
    if (pu())
        return QString::fromStdString(pu()->puName());
    return QString::fromStdString(eu()->euName());
}

void HostView::setViewClient(QWidget *client)
{
    m_layout->addWidget(client, 1);
    setClient(m_container);
}

void HostView::setStale(const QString &text)
{
    m_banner->setText(text);
}

bool HostView::isStale() const
{
    return !m_banner->text().isEmpty();
}

void HostView::bringToFront()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void HostView::reveal(const StartWindowData &)
{
    bringToFront();
}

bool HostView::showDataMap(DbPu *unit, DbToken *token)
{
    if (!KelViewLink::showInOpenWindow(windowHandle(),
                                       eu(),
                                       unit,
                                       token,
                                       KelViewLink::dataMap,
                                       KelViewLink::Positioning::findEvent,
                                       KelViewLink::dataMap.nullTokenNumber))
        // With the token, so the new map opens on the item's record rather than the unit's first
        // (the view base's request names the unit only).
        KelViewLink::requestWindow(StartWindowData::dataMap, unit, token);
    return true;
}

void HostView::openStructureTree(DbToken *token)
{
    KelViewLink::requestWindow(HostRequests::treeKind, pu(), token);
}

bool HostView::canShow(std::uint32_t tokenNumber, std::uint32_t unitNumber) const
{
    return pu() && unitNumber == puNumber() && tokenNumber <= pu()->numberOfTokens();
}

void HostView::followToken(DbPu &, std::uint32_t) {}

bool HostView::userEvent(IUserEvent &event)
{
    const auto p1 = static_cast<std::uint32_t>(event.parameter1());
    const auto p2 = static_cast<std::uint32_t>(event.parameter2());
    switch (event.eventId()) {
    case IEventTypes::canShowQuery:
        event.setResult(canShow(p1, p2) ? 1 : 0);
        return true;
    case IEventTypes::activateView:
        bringToFront();
        return true;
    case IEventTypes::followToken:
        if (scrollOnRequest() && canShow(p1, p2)) {
            DbPu *shown = eu()->numberToPu(p2);
            if (shown && shown->isLoaded())
                followToken(*shown, p1);
        }
        return true;
    default:
        return KelWindow::userEvent(event);
    }
}

int HostView::passOn(std::uint32_t tokenNumber, Coupling why)
{
    return pu() ? passOn(*pu(), tokenNumber, why) : 0;
}

int HostView::passOn(DbPu &unit, std::uint32_t tokenNumber, Coupling why)
{
    if ((why == Coupling::selection && !requestScroll())
        || (why == Coupling::scrolling && !surfOnScroll()))
        return 0;
    return tellOthers(windowHandle(), *eu(), unit, tokenNumber, why);
}

int HostView::tellOthers(
    const IWindowHandle &self, DbEu &eu, DbPu &unit, std::uint32_t tokenNumber, Coupling why)
{
    const std::uint32_t unitNumber = eu.puToNumber(&unit);
    if (unitNumber == 0 || tokenNumber == 0)
        return 0;
    int told = 0;
    for (const RegisteredWindow &window : WindowRegistry::windows()) {
        if (window.handle == self || !window.eu || window.eu->euName() != eu.euName())
            continue;
        int eventId = IEventTypes::followToken;
        if (window.view == KelRes::dataMapView) {
            // The data map follows selections of its own unit only, and not scrolling.
            if (why != Coupling::selection || window.pu != &unit)
                continue;
            eventId = IEventTypes::showInDataMap;
        }
        try {
            window.handle.postEvent(eventId, tokenNumber, unitNumber);
            ++told;
        } catch (const IException &) {
            // The window went while the list was read.
        }
    }
    return told;
}

XIAction *HostView::addCommand(unsigned long commandId,
                               const QString &category,
                               std::function<void()> work,
                               const QKeySequence &shortcut)
{
    auto *command = new XIAction(commandId, {}, {}, this);
    command->setTextsFromResources(commandId, KelRes::flyOverFor(commandId));
    command->setCategory(category);
    if (!shortcut.isEmpty())
        command->setShortcut(shortcut);
    // Direct: a "basic" command is performed on the window's worker and does its work there.
    connect(command, &XIAction::performed, this, std::move(work), Qt::DirectConnection);
    return command;
}

void HostView::addStandardCommands(unsigned long preferencesId)
{
    m_preferencesId = preferencesId;
    QMenu *file = menu(KelRes::fileMenu);
    QAction *close = file->actions().value(0);
    XIAction *settings = addCommand(KelRes::unitSettingsCommand, simpleCategory(), [this] {
        if (pu())
            new KelSettingsView(this, *pu());
        else
            new KelSettingsView(this, *eu());
    });
    XIAction *properties = addCommand(KelRes::hostPropertiesCommand, simpleCategory(), [this] {
        if (pu())
            DbPuPropertyWindow::open(this, *pu());
    });
    properties->setEnabled(pu() != nullptr);
    XIAction *reload = addCommand(KelRes::hostReloadCommand, simpleCategory(), [this] {
        emit reloadRequested();
    });
    file->insertAction(close, settings);
    file->insertAction(close, properties);
    file->insertSeparator(close);
    file->insertAction(close, reload);
    file->insertSeparator(close);

    QMenu *options = menu(KelRes::optionsMenu);
    XIAction *preferences = addCommand(KelRes::preferencesCommand, simpleCategory(), [this] {
        openPreferences();
    });
    options->insertAction(options->actions().value(0), preferences);
    options->insertSeparator(options->actions().value(1));
}

void HostView::openPreferences()
{
    if (KelPreferencesView *notebook = KelPreferencesView::getCurrentPreferences(m_preferencesId))
        notebook->performAction();
}

void HostView::requestList(std::uint32_t listKind)
{
    auto request = std::make_unique<StartWindowData>(StartWindowData::listViews,
                                                     pu(),
                                                     pu() ? pu()->puName() : std::string());
    request->word1 = listKind;
    if (KelDesktop *desktop = KelDesktop::current())
        desktop->newWindow(request.release());
}

bool HostView::openObjRelatedPrograms()
{
    requestList(HostRequests::relatedPrograms);
    return true;
}

bool HostView::openObjSymbolsUsed()
{
    requestList(HostRequests::symbolsUsed);
    return true;
}

bool HostView::openObjRelatedSourceMembers()
{
    requestList(HostRequests::relatedMembers);
    return true;
}
