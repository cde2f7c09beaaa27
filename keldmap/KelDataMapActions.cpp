#include "KelDataMapActions.h"

#include "KelDataMapPreferencesView.h"
#include "KeldmapResourceIds.h"
#include "KelresrcResourceIds.h"
#include "XIAction.h"
#include "XIMenuDefinition.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>

namespace {

using namespace KelRes;

/// The map's actions that show a selected or pop-up item, with the flags they need.
constexpr unsigned long selectedItemActions[] = {mapExpandCommand,
                                                 mapCollapseCommand,
                                                 mapShowDeclarationCommand,
                                                 mapResetItemCommand,
                                                 detailsCommand};
constexpr unsigned long popUpItemActions[] = {mapExpandPopupCommand,
                                              mapCollapsePopupCommand,
                                              mapShowDeclarationPopupCommand,
                                              mapResetItemPopupCommand,
                                              detailsPopupCommand};

} // namespace

KelDataMapActions::KelDataMapActions(QMainWindow &window)
    : QObject(&window)
{
    for (unsigned long id : selectedItemActions)
        add(id);
    for (unsigned long id : popUpItemActions)
        add(id);
    add(mapExpandAllCommand);
    add(mapCollapseAllCommand);
    add(mapHexOffsetsCommand, true);
    add(mapDateFieldsCommand, true)->setLatched(true);
    add(unitSettingsCommand);
    // The preferences notebook is an action itself; its command reaches the window first.
    m_preferences = new KelDataMapPreferencesView(&window);
    m_actions[preferencesCommand] = m_preferences;
    add(findCommand)->setShortcut(QKeySequence::Find);
    add(findNextCommand)->setShortcut(QKeySequence::FindNext);

    add(mapZoomInCommand)
        ->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    add(mapZoomOutCommand)->setShortcut(QKeySequence::ZoomOut);
    add(mapActualSizeCommand)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    add(mapCopyTextCommand)->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    add(mapSaveCommand)->setShortcut(QKeySequence::SaveAs);
    add(mapViewPreferencesCommand);
    add(closeWindowCommand)->setShortcut(QKeySequence::Close);
    for (auto &[id, action] : m_actions)
        action->setShortcutContext(Qt::WindowShortcut);
    buildMenus(window);
}

KelDataMapActions::~KelDataMapActions() = default;

XIAction *KelDataMapActions::add(unsigned long commandId, bool latching)
{
    auto *action = new XIAction(commandId, {}, {}, parent());
    action->setTextsFromResources(commandId, flyOverFor(commandId));
    action->setCategory(QStringLiteral("simple"));
    action->setObjectName(QStringLiteral("map-0x%1").arg(commandId, 0, 16));
    if (latching)
        action->enableLatching();
    m_actions[commandId] = action;
    return action;
}

XIAction *KelDataMapActions::action(unsigned long commandId) const
{
    const auto found = m_actions.find(commandId);
    return found == m_actions.end() ? nullptr : found->second;
}

void KelDataMapActions::buildMenus(QMainWindow &window)
{
    auto header = [this](unsigned long id) {
        auto *action = new XIAction(id, {}, {}, this);
        action->setTextsFromResources(id, flyOverFor(id));
        return action;
    };
    m_menuBar = new XIMenuDefinition(this);
    m_menuBar->addSubmenu(header(fileMenu))
        .addItem(action(mapCopyTextCommand))
        .addItem(action(mapSaveCommand))
        .addSeparator()
        .addItem(action(closeWindowCommand));
    m_menuBar->addSubmenu(header(editMenu))
        .addItem(action(findCommand))
        .addItem(action(findNextCommand))
        .addSeparator()
        .addItem(action(mapCopyTextCommand));
    XIMenuDefinition &selected = m_menuBar->addSubmenu(header(selectedMenu));
    selected.addItem(action(mapExpandCommand))
        .addItem(action(mapCollapseCommand))
        .addItem(action(mapResetItemCommand))
        .addSeparator()
        .addItem(action(mapShowDeclarationCommand))
        .addItem(action(detailsCommand));
    m_menuBar->addSubmenu(header(mapMenu))
        .addItem(action(mapExpandAllCommand))
        .addItem(action(mapCollapseAllCommand))
        .addSeparator()
        .addItem(action(mapDateFieldsCommand))
        .addItem(action(mapHexOffsetsCommand))
        .addSeparator()
        .addItem(action(mapZoomInCommand))
        .addItem(action(mapZoomOutCommand))
        .addItem(action(mapActualSizeCommand));
    m_menuBar->addSubmenu(header(optionsMenu))
        .addItem(action(unitSettingsCommand))
        .addSeparator()
        .addItem(action(preferencesCommand))
        .addItem(action(mapViewPreferencesCommand));
    m_menuBar->populate(window.menuBar());

    m_itemPopUp = new XIMenuDefinition(this);
    m_itemPopUp->addItem(action(mapExpandPopupCommand))
        .addItem(action(mapCollapsePopupCommand))
        .addItem(action(mapResetItemPopupCommand))
        .addSeparator()
        .addItem(action(mapShowDeclarationPopupCommand))
        .addItem(action(detailsPopupCommand))
        .addSeparator()
        .addItem(action(mapExpandAllCommand))
        .addItem(action(mapCollapseAllCommand))
        .addSeparator()
        .addItem(action(findCommand))
        .addItem(action(mapCopyTextCommand))
        .addItem(action(mapSaveCommand));
}

void KelDataMapActions::updateStates(const ItemState &selected,
                                     bool anyGroupCollapsed,
                                     bool anyGroupExpanded)
{
    for (unsigned long id : selectedItemActions)
        action(id)->setEnabled(selected.present);
    action(mapExpandCommand)->setEnabled(selected.canExpand);
    action(mapCollapseCommand)->setEnabled(selected.canCollapse);
    action(mapExpandAllCommand)->setEnabled(anyGroupCollapsed);
    action(mapCollapseAllCommand)->setEnabled(anyGroupExpanded);
}

void KelDataMapActions::updatePopUpStates(const ItemState &item)
{
    for (unsigned long id : popUpItemActions)
        action(id)->setEnabled(item.present);
    action(mapExpandPopupCommand)->setEnabled(item.canExpand);
    action(mapCollapsePopupCommand)->setEnabled(item.canCollapse);
}
