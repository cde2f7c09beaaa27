#include "KelSymbolsPreferencesPage.h"

#include "ICurrentApplication.h"
#include "KelPreferencePanel.h"
#include "KelSymbolsPreferences.h"
#include "KeldtlsResourceIds.h"
#include "KelresrcResourceIds.h"

#include <QVBoxLayout>

KelSymbolsPreferencesPage::KelSymbolsPreferencesPage(QWidget *owner, QWidget *parent)
    : XISettingsPage(ICurrentApplication::loadString(KelRes::symbolsViewName), parent)
    , m_preferences(std::make_unique<KelSymbolsPreferences>(owner))
{
    setObjectName(QStringLiteral("symbolsPreferences"));
}

KelSymbolsPreferencesPage::~KelSymbolsPreferencesPage()
{
    // The controls refer to the preference set, which goes before the page's children do.
    delete m_panel;
}

void KelSymbolsPreferencesPage::populatePage()
{
    KelSymbolsPreferences &set = *m_preferences;
    m_panel = new KelPreferencePanel(set);
    m_panel->addGroup(KelRes::scrollCouplingGroup,
                      {{KelRes::requestScrollOption, &set.requestScroll, "_reqScrl"},
                       {KelRes::scrollOnRequestOption, &set.scrollOnRequest, "_scrlOnReq"},
                       {KelRes::surfOnScrollOption, &set.surfOnScrollRequest, "_surfOnScrlReq"}});
    m_panel->addGroup(KelRes::displayGroup,
                      {{KelRes::dataSymbolsOption, &set.dataSymbols, "_dataSymbols"},
                       {KelRes::relatedSourceOption, &set.relatedSource, "_relatedSource"}});
    m_panel->finish();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_panel);
}
