#include "KelPreferenceStore.h"

#include "FindLikeObject.h"
#include "ICurrentApplication.h"
#include "IException.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"

#include <QMainWindow>
#include <QWidget>

namespace {

QString preferencesApplication()
{
    return ICurrentApplication::loadString(KelRes::preferencesApplication);
}

} // namespace

KelPreferenceStore::KelPreferenceStore(QWidget *owner)
    : m_owner(owner)
{}

IProfile KelPreferenceStore::profile()
{
    return IProfile(QString::fromLatin1(KelRes::preferencesProfileFile));
}

std::optional<RegisterInstance> KelPreferenceStore::registrationOf(QWidget *window)
{
    auto *frame = window ? qobject_cast<QMainWindow *>(window->window()) : nullptr;
    if (!frame)
        return std::nullopt;
    try {
        FindLikeObject finder(frame);
        if (!finder.setToFirstW(frame))
            return std::nullopt;
        std::optional<RegisterInstance> registration;
        registration.emplace(finder.current());
        if (!registration->isValid())
            return std::nullopt;
        return registration;
    } catch (const IException &) {
        // No slot left in the registry: the window is treated as unregistered.
        return std::nullopt;
    }
}

long KelPreferenceStore::retrieveInteger(const QString &key) const
{
    if (std::optional<RegisterInstance> registration = registrationOf(m_owner)) {
        try {
            return registration->retrieveINIInteger(key, profile());
        } catch (const IInvalidRequest &) {
            // The window closed meanwhile: read the profile directly.
        }
    }
    return profile().integerValue(preferencesApplication(), key).value_or(-1);
}

QString KelPreferenceStore::retrieveString(const QString &key) const
{
    if (std::optional<RegisterInstance> registration = registrationOf(m_owner)) {
        try {
            return registration->retrieveINIString(key, QString(), profile());
        } catch (const IInvalidRequest &) {
        }
    }
    return profile().value(preferencesApplication(), key).value_or(QStringLiteral("NULL"));
}

void KelPreferenceStore::saveInteger(const QString &key, long value) const
{
    if (std::optional<RegisterInstance> registration = registrationOf(m_owner)) {
        registration->saveINIInteger(key, value, profile());
        return;
    }
    profile().setIntegerValue(preferencesApplication(), key, value);
}

void KelPreferenceStore::saveString(const QString &key, const QString &value) const
{
    if (std::optional<RegisterInstance> registration = registrationOf(m_owner)) {
        registration->saveINIString(key, value, profile());
        return;
    }
    profile().setValue(preferencesApplication(), key, value);
}

std::optional<unsigned long> KelPreferenceStore::ownerViewNumber() const
{
    std::optional<RegisterInstance> registration = registrationOf(m_owner);
    if (!registration)
        return std::nullopt;
    try {
        return registration->viewNum();
    } catch (const IInvalidRequest &) {
        return std::nullopt;
    }
}
