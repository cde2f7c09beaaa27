#pragma once

#include <QObject>

#include <map>

class KelDataMapPreferencesView;
class XIAction;
class XIMenuDefinition;
class QMainWindow;

/// The actions and menus of a data map window, owned by it.
///
/// The eighteen actions of the map (their ids are KELRESRC ids; the texts are resource strings):
///
///     0x6010 / 0x6011  expand / collapse the selected item
///     0x6085 / 0x6086  expand / collapse the item under the pop-up menu
///     0x6072 / 0x6028  expand / collapse all items (a pair: the one that would change nothing
///                      is disabled)
///     0x6092 / 0x6093  reset the selected item (collapse it, its items as first shown) / reset
///                      the pop-up item (its items as first shown)
///     0x6207           show the ruler's offsets in hexadecimal (latching)
///     0x6027           show the date fields the analysis found (latching, on at first)
///     0x6012 / 0x6087  show the declaration of the selected / pop-up item in the source
///     0x6018 / 0x7013  details of the selected / pop-up item
///     0x6007           settings of the program unit
///     0x3037           the map's preferences notebook (KelDataMapPreferencesView)
///     0x3152 / 0x3153  find / find next
///
/// and the map's own: zoom in, zoom out, actual size, copy the map as text, save the map, the
/// browser and grapher preferences, close. Triggering one sends its command to the window
/// (IFrameWindow::command), which carries it out.
///
/// Seven menu definitions: the menu bar, its File, Edit, Selected, Map and Options menus, and
/// the pop-up menu of an item.
class KelDataMapActions final : public QObject
{
    Q_OBJECT

public:
    explicit KelDataMapActions(QMainWindow &window);
    ~KelDataMapActions() override;

    /// The action with `commandId`; null when the map has none.
    XIAction *action(unsigned long commandId) const;
    KelDataMapPreferencesView *preferencesView() const { return m_preferences; }

    XIMenuDefinition *menuBar() const { return m_menuBar; }
    XIMenuDefinition *itemPopUp() const { return m_itemPopUp; }

    /// What the actions can do now.
    struct ItemState
    {
        bool present = false;     ///< there is a selected (or pop-up) item
        bool canExpand = false;   ///< it is a collapsed group
        bool canCollapse = false; ///< it is an expanded group
    };

    /// Enables what applies to the selected item, and the all-items pair by the record's state:
    /// Expand All while some group is collapsed, Collapse All while some group is expanded, so
    /// that the one just used is disabled and the other enabled.
    void updateStates(const ItemState &selected, bool anyGroupCollapsed, bool anyGroupExpanded);
    /// Enables what applies to the item under the pop-up menu.
    void updatePopUpStates(const ItemState &item);

private:
    XIAction *add(unsigned long commandId, bool latching = false);
    void buildMenus(QMainWindow &window);

    std::map<unsigned long, XIAction *> m_actions;
    KelDataMapPreferencesView *m_preferences = nullptr;
    XIMenuDefinition *m_menuBar = nullptr;
    XIMenuDefinition *m_itemPopUp = nullptr;
};
