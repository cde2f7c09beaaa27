#include "KelDataMapPreferencesView.h"

#include "ICurrentApplication.h"
#include "KelDataMapPreferencesPage.h"
#include "KelresrcResourceIds.h"
#include "XIDialogAction.h"
#include "XISettingsView.h"

KelDataMapPreferencesView::KelDataMapPreferencesView(QWidget *map)
    : XIOpenSettings(KelRes::preferencesCommand, KelRes::dataMapViewName, map)
    , m_map(map)
{
    setObjectName(QStringLiteral("dataMapPreferencesView"));
    setTextsFromResources(KelRes::preferencesCommand,
                          KelRes::flyOverFor(KelRes::preferencesCommand));
}

KelDataMapPreferencesView::~KelDataMapPreferencesView() = default;

void KelDataMapPreferencesView::populateSettingsView()
{
    setTitle(XIDialogAction::dialogTitle(
        ICurrentApplication::loadString(KelRes::preferencesApplication)));
    settingsView()->addLastPage(new KelDataMapPreferencesPage(m_map, settingsView()));
}
