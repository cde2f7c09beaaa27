#include "KelPreferences.h"

#include "FindLikeObject.h"
#include "ICurrentApplication.h"
#include "IException.h"
#include "RegisterInstance.h"

#include <QMainWindow>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

namespace {

/// Calls `method()` on `window` when its class declares it invokable; true when called.
bool callHook(QObject *window, const char *method)
{
    if (!window)
        return false;
    const QByteArray signature = QByteArray(method) + "()";
    if (window->metaObject()->indexOfMethod(signature.constData()) < 0)
        return false;
    return QMetaObject::invokeMethod(window, method, Qt::DirectConnection);
}

/// The frames of the registered windows with `view`, except `except`.
QList<QPointer<QMainWindow>> framesOfKind(unsigned long view, const QMainWindow *except)
{
    QList<QPointer<QMainWindow>> frames;
    try {
        FindLikeObject finder(ICurrentApplication::loadString(view));
        for (bool valid = finder.setToFirst(0, 0); valid; valid = finder.setToNext()) {
            const RegisterInstance entry = finder.current();
            if (entry.viewNum() == view && entry.frame() && entry.frame() != except)
                frames.append(entry.frame());
        }
    } catch (const IException &) {
        // A full registry or a window gone during the walk: the remaining windows are not told.
    }
    return frames;
}

} // namespace

KelPreferences::KelPreferences(QWidget *owner, unsigned long viewNumber, unsigned long viewNameId)
    : m_store(owner)
    , m_viewNumber(viewNumber)
    , m_viewNameId(viewNameId)
{}

KelPreferences::~KelPreferences() = default;

QString KelPreferences::key(const QString &suffix) const
{
    return QStringLiteral("Kel") + ICurrentApplication::loadString(m_viewNameId) + suffix;
}

void KelPreferences::preferences()
{
    loadFlags();
}

void KelPreferences::applyPreferences()
{
    saveFlags();
    tellViews("preferencesChanged");
}

void KelPreferences::defaultPreferences()
{
    resetFlags();
    saveFlags();
}

bool KelPreferences::ownerHasViewNumber() const
{
    const std::optional<unsigned long> view = m_store.ownerViewNumber();
    return view && *view == m_viewNumber;
}

void KelPreferences::loadFlags()
{
    for (const Flag &flag : flags()) {
        const long stored = m_store.retrieveInteger(key(QLatin1String(flag.suffix)));
        *flag.value = stored == 1 ? true : stored == 0 ? false : flag.defaultValue;
    }
}

void KelPreferences::saveFlags()
{
    for (const Flag &flag : flags())
        m_store.saveInteger(key(QLatin1String(flag.suffix)), *flag.value ? 1 : 0);
}

void KelPreferences::resetFlags()
{
    for (const Flag &flag : flags())
        *flag.value = flag.defaultValue;
}

void KelPreferences::tellViews(const char *method) const
{
    QWidget *ownerWindow = owner();
    auto *ownerFrame = ownerWindow ? qobject_cast<QMainWindow *>(ownerWindow->window()) : nullptr;
    // Collected first: a hook may open or close windows.
    const QList<QPointer<QMainWindow>> others = framesOfKind(m_viewNumber, ownerFrame);
    if (ownerHasViewNumber())
        callHook(ownerWindow, method);
    for (const QPointer<QMainWindow> &frame : others)
        callHook(frame, method);
}
