#include "KelPreferencesView.h"

#include "DSSettingsView.h"
#include "FindLikeObject.h"
#include "ICurrentApplication.h"
#include "IException.h"
#include "KelBrowserPreferencesPage.h"
#include "KelBrowserPreferencesPage2.h"
#include "KelGrapherPreferencesPage.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QPointer>

namespace {

QPointer<KelPreferencesView> sharedNotebook;

/// The desktop's frame, found by its registration; null when no desktop has registered.
QMainWindow *desktopWindow()
{
    try {
        FindLikeObject finder(ICurrentApplication::loadString(KelRes::desktopViewName));
        if (finder.setToFirst(0, 0))
            return finder.current().frame();
    } catch (const IException &) {
        // A full registry: no desktop to be found.
    }
    return nullptr;
}

} // namespace

KelPreferencesView::KelPreferencesView(unsigned long id, QWidget *owner)
    : DSOpenSettings(KelRes::preferencesApplication, id, owner)
{
    setObjectName(QStringLiteral("preferences-0x%1").arg(id, 0, 16));
}

KelPreferencesView::~KelPreferencesView() = default;

KelPreferencesView *KelPreferencesView::getCurrentPreferences(unsigned long id)
{
    QMainWindow *desktop = desktopWindow();
    // A notebook made before the desktop registered is replaced once it is closed, so that the
    // views' preferences go through the desktop's registration from then on.
    if (sharedNotebook && !sharedNotebook->ownerWindow() && desktop
        && !sharedNotebook->settingsView())
        delete sharedNotebook.data();
    if (!sharedNotebook) {
        sharedNotebook = new KelPreferencesView(id, desktop);
        if (!desktop && QCoreApplication::instance())
            sharedNotebook->setParent(QCoreApplication::instance());
    }
    sharedNotebook->setId(id);
    return sharedNotebook;
}

int KelPreferencesView::pageNumberFor(unsigned long id)
{
    return id == KelRes::browserViewName ? browserPageNumber : grapherPageNumber;
}

bool KelPreferencesView::performAction()
{
    const bool wasOpen = settingsView() != nullptr;
    DSOpenSettings::performAction();
    if (wasOpen && settingsView() && m_shownId != id())
        turnToPageFor(id());
    m_shownId = id();
    return true;
}

void KelPreferencesView::populateSettingsView()
{
    DSSettingsView *view = settingsView();
    view->addLastPage(new KelGrapherPreferencesPage(view));
    view->addLastPage(new KelBrowserPreferencesPage(view));
    view->addLastPage(new KelBrowserPreferencesPage2(view));
    m_shownId = id();
    turnToPageFor(id());
}

void KelPreferencesView::turnToPageFor(unsigned long id)
{
    DSSettingsView *view = settingsView();
    if (!view)
        return;
    DSSettingsView::Cursor cursor(*view);
    for (int number = 1; number < pageNumberFor(id) && cursor.isValid(); ++number)
        cursor.setToNext();
    if (cursor.isValid())
        view->turnToPage(cursor);
}
