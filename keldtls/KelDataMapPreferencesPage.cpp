#include "KelDataMapPreferencesPage.h"

#include "ICurrentApplication.h"
#include "KelDataMapPreferences.h"
#include "KelPreferencePanel.h"
#include "KeldtlsResourceIds.h"
#include "KelresrcResourceIds.h"

#include <QVBoxLayout>

KelDataMapPreferencesPage::KelDataMapPreferencesPage(QWidget *owner, QWidget *parent)
    : XISettingsPage(ICurrentApplication::loadString(KelRes::dataMapTitle), parent)
    , m_preferences(std::make_unique<KelDataMapPreferences>(owner))
{
    setObjectName(QStringLiteral("dataMapPreferences"));
}

KelDataMapPreferencesPage::~KelDataMapPreferencesPage()
{
    // The controls refer to the preference set, which goes before the page's children do.
    delete m_panel;
}

void KelDataMapPreferencesPage::populatePage()
{
    KelDataMapPreferences &set = *m_preferences;
    m_panel = new KelPreferencePanel(set);
    m_panel->addGroup(KelRes::scrollCouplingGroup,
                      {{KelRes::requestScrollOption, &set.requestScroll, "_reqScrl"},
                       {KelRes::scrollOnRequestOption, &set.scrollOnRequest, "_scrlOnReq"},
                       {KelRes::surfOnScrollOption, &set.surfOnScrollRequest, "_surfOnScrlReq"}});
    m_panel->finish();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_panel);
}
