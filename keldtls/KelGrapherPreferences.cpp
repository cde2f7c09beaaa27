#include "KelGrapherPreferences.h"

#include "KelresrcResourceIds.h"

KelGrapherPreferences::KelGrapherPreferences(QWidget *owner)
    : KelPreferences(owner, KelRes::grapherView, KelRes::grapherViewName)
{
    preferences();
}

std::vector<KelPreferences::Flag> KelGrapherPreferences::flags()
{
    return {{"_reqScrl", true, &requestScroll},
            {"_scrlOnReq", true, &scrollOnRequest},
            {"_surfOnScrlReq", false, &surfOnScrollRequest},
            {"_overview", false, &overview},
            {"_showReturnArcs", true, &showReturnArcs},
            {"_showHoverHelp", true, &showHoverHelp},
            {"_showZoomSlider", true, &showZoomSlider},
            {"_showProgressSlider", true, &showProgressSlider}};
}
