#include "KelDataMapPreferences.h"

#include "KelresrcResourceIds.h"

KelDataMapPreferences::KelDataMapPreferences(QWidget *owner)
    : KelPreferences(owner, KelRes::dataMapView, KelRes::dataMapViewName)
{
    preferences();
}

std::vector<KelPreferences::Flag> KelDataMapPreferences::flags()
{
    return {{"_reqScrl", true, &requestScroll},
            {"_scrlOnReq", true, &scrollOnRequest},
            {"_surfOnScrlReq", false, &surfOnScrollRequest}};
}
