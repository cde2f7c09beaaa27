#include "XIActionRegistry.h"

#include <algorithm>

XIActionRegistry &XIActionRegistry::instance()
{
    static XIActionRegistry *registry = new XIActionRegistry; // outlives every action
    return *registry;
}

void XIActionRegistry::add(XIAction *action, unsigned long commandId, const QObject *owner)
{
    std::lock_guard lock(m_mutex);
    m_records.push_back({action, commandId, owner, {}});
}

void XIActionRegistry::remove(XIAction *action)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_records, [action](const Record &record) { return record.action == action; });
}

void XIActionRegistry::setCategory(const XIAction *action, const QString &category)
{
    std::lock_guard lock(m_mutex);
    for (Record &record : m_records) {
        if (record.action == action)
            record.category = category;
    }
}

QString XIActionRegistry::category(const XIAction *action) const
{
    std::lock_guard lock(m_mutex);
    for (const Record &record : m_records) {
        if (record.action == action)
            return record.category;
    }
    return {};
}

XIAction *XIActionRegistry::find(unsigned long commandId,
                                 const QString &category,
                                 const QObject *owner) const
{
    std::lock_guard lock(m_mutex);
    const auto found = std::find_if(m_records.rbegin(), m_records.rend(), [&](const Record &r) {
        return r.commandId == commandId && (category.isEmpty() || r.category == category)
               && (!owner || r.owner == owner);
    });
    return found == m_records.rend() ? nullptr : found->action;
}

QList<XIAction *> XIActionRegistry::all(const QString &category) const
{
    std::lock_guard lock(m_mutex);
    QList<XIAction *> actions;
    for (const Record &record : m_records) {
        if (category.isEmpty() || record.category == category)
            actions.append(record.action);
    }
    return actions;
}
