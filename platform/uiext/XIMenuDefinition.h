#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QMenu;
class QMenuBar;
class QPoint;
class QWidget;
class XIAction;

/// A menu definition: an ordered list of items (actions), separators and submenus, each
/// submenu headed by an action whose text is the submenu's title. One definition can be put on
/// a frame's menu bar, filled into a menu, or shown as a pop-up menu, as often as needed; the
/// menus made show the actions themselves, so texts, enabled and latched states stay current.
///
///     XIMenuDefinition menus(this);
///     menus.addSubmenu(fileMenu).addItem(saveAction).addSeparator().addItem(closeAction);
///     menus.addSubmenu(helpMenu).addItem(helpIndex);
///     menus.populate(menuBar());
///
/// The definition does not own the actions; an action destroyed later is left out of menus
/// made afterwards. Submenu definitions belong to their parent definition.
class XIMenuDefinition : public QObject
{
    Q_OBJECT

public:
    explicit XIMenuDefinition(QObject *parent = nullptr);
    ~XIMenuDefinition() override;

    XIMenuDefinition &addItem(XIAction *action);
    XIMenuDefinition &addSeparator();
    /// Adds a submenu titled by `header` and returns its definition, to be filled.
    XIMenuDefinition &addSubmenu(XIAction *header);

    /// Number of entries (items, separators and submenus) at this level.
    int entryCount() const { return static_cast<int>(m_entries.size()); }

    /// Puts the definition on `menuBar`: submenus become the bar's menus, items its entries.
    void populate(QMenuBar *menuBar) const;
    /// Appends the definition's entries to `menu`.
    void populate(QMenu *menu) const;
    /// A new menu with the definition's entries, a child of `parent`.
    QMenu *createMenu(QWidget *parent) const;
    /// Shows the definition as a pop-up menu at `globalPosition`; the menu deletes itself when
    /// it closes. Returns it (for tests).
    QMenu *popUp(QWidget *parent, const QPoint &globalPosition) const;

private:
    struct Entry
    {
        enum class Kind { Item, Separator, Submenu };
        Kind kind;
        QPointer<XIAction> action; // Item: the item; Submenu: its header
        XIMenuDefinition *submenu = nullptr;
    };

    QMenu *submenuFor(const Entry &entry, QWidget *parent) const;

    std::vector<Entry> m_entries;
};
