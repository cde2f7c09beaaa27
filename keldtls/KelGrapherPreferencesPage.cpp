#include "KelGrapherPreferencesPage.h"

#include "DSSettingsView.h"
#include "ICurrentApplication.h"
#include "KelGrapherPreferences.h"
#include "KelPreferencePanel.h"
#include "KeldtlsResourceIds.h"
#include "KelresrcResourceIds.h"

#include <QVBoxLayout>

KelGrapherPreferencesPage::KelGrapherPreferencesPage(DSSettingsView *view)
    : DSSettingsPage(view,
                     TabType::major,
                     ICurrentApplication::loadString(KelRes::grapherViewName),
                     static_cast<int>(KelRes::grapherView),
                     0)
    , m_preferences(std::make_unique<KelGrapherPreferences>(view ? view->owner() : nullptr))
{}

KelGrapherPreferencesPage::~KelGrapherPreferencesPage() = default;

void KelGrapherPreferencesPage::populatePage()
{
    KelGrapherPreferences &set = *m_preferences;
    m_panel = new KelPreferencePanel(set);
    m_panel->addGroup(KelRes::scrollCouplingGroup,
                      {{KelRes::requestScrollOption, &set.requestScroll, "_reqScrl"},
                       {KelRes::scrollOnRequestOption, &set.scrollOnRequest, "_scrlOnReq"},
                       {KelRes::surfOnScrollOption, &set.surfOnScrollRequest, "_surfOnScrlReq"}});
    m_panel->addGroup(KelRes::displayGroup,
                      {{KelRes::overviewOption, &set.overview, "_overview"},
                       {KelRes::returnArcsOption, &set.showReturnArcs, "_showReturnArcs"},
                       {KelRes::hoverHelpOption, &set.showHoverHelp, "_showHoverHelp"},
                       {KelRes::zoomSliderOption, &set.showZoomSlider, "_showZoomSlider"},
                       {KelRes::progressSliderOption,
                        &set.showProgressSlider,
                        "_showProgressSlider"}});
    m_panel->finish();
    auto *layout = new QVBoxLayout(window());
    layout->addWidget(m_panel);
}
