#pragma once

#include <QList>
#include <QString>

#include <mutex>
#include <vector>

class QObject;
class XIAction;

/// The registry of all actions (XIAction registers itself): command id, category and owner of
/// each, in creation order. Guarded by a mutex, so worker threads can look actions up while the
/// GUI thread creates and destroys them.
class XIActionRegistry final
{
public:
    static XIActionRegistry &instance();

    void add(XIAction *action, unsigned long commandId, const QObject *owner);
    void remove(XIAction *action);
    void setCategory(const XIAction *action, const QString &category);
    QString category(const XIAction *action) const;

    /// The newest matching action; empty category and null owner match any.
    XIAction *find(unsigned long commandId, const QString &category, const QObject *owner) const;
    QList<XIAction *> all(const QString &category) const;

private:
    struct Record
    {
        XIAction *action;
        unsigned long commandId;
        const QObject *owner;
        QString category;
    };

    mutable std::mutex m_mutex; // guards m_records
    std::vector<Record> m_records;
};
