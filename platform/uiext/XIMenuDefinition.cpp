#include "XIMenuDefinition.h"

#include "XIAction.h"

#include <QMenu>
#include <QMenuBar>

XIMenuDefinition::XIMenuDefinition(QObject *parent)
    : QObject(parent)
{}

XIMenuDefinition::~XIMenuDefinition() = default;

XIMenuDefinition &XIMenuDefinition::addItem(XIAction *action)
{
    m_entries.push_back({Entry::Kind::Item, action});
    return *this;
}

XIMenuDefinition &XIMenuDefinition::addSeparator()
{
    m_entries.push_back({Entry::Kind::Separator, nullptr});
    return *this;
}

XIMenuDefinition &XIMenuDefinition::addSubmenu(XIAction *header)
{
    auto *submenu = new XIMenuDefinition(this);
    m_entries.push_back({Entry::Kind::Submenu, header, submenu});
    return *submenu;
}

QMenu *XIMenuDefinition::submenuFor(const Entry &entry, QWidget *parent) const
{
    QMenu *menu = entry.submenu->createMenu(parent);
    if (entry.action) {
        menu->setTitle(entry.action->text());
        menu->menuAction()->setStatusTip(entry.action->flyOverText());
        menu->menuAction()->setToolTip(entry.action->flyOverText());
        menu->setObjectName(QStringLiteral("menu-0x%1").arg(entry.action->commandId(), 0, 16));
        // The header's text may change (a latching header, another language): follow it.
        connect(entry.action, &QAction::changed, menu, [menu, header = entry.action] {
            menu->setTitle(header->text());
            menu->setEnabled(header->isEnabled());
        });
        menu->setEnabled(entry.action->isEnabled());
    }
    return menu;
}

void XIMenuDefinition::populate(QMenuBar *menuBar) const
{
    for (const Entry &entry : m_entries) {
        switch (entry.kind) {
        case Entry::Kind::Item:
            if (entry.action)
                menuBar->addAction(entry.action);
            break;
        case Entry::Kind::Separator:
            menuBar->addSeparator();
            break;
        case Entry::Kind::Submenu:
            menuBar->addMenu(submenuFor(entry, menuBar));
            break;
        }
    }
}

void XIMenuDefinition::populate(QMenu *menu) const
{
    for (const Entry &entry : m_entries) {
        switch (entry.kind) {
        case Entry::Kind::Item:
            if (entry.action)
                menu->addAction(entry.action);
            break;
        case Entry::Kind::Separator:
            menu->addSeparator();
            break;
        case Entry::Kind::Submenu:
            menu->addMenu(submenuFor(entry, menu));
            break;
        }
    }
}

QMenu *XIMenuDefinition::createMenu(QWidget *parent) const
{
    auto *menu = new QMenu(parent);
    populate(menu);
    return menu;
}

QMenu *XIMenuDefinition::popUp(QWidget *parent, const QPoint &globalPosition) const
{
    QMenu *menu = createMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
    return menu;
}
