#include "KelSymbolsPreferences.h"

#include "KelresrcResourceIds.h"

KelSymbolsPreferences::KelSymbolsPreferences(QWidget *owner)
    : KelPreferences(owner, KelRes::symbolsView, KelRes::symbolsViewName)
{
    preferences();
}

std::vector<KelPreferences::Flag> KelSymbolsPreferences::flags()
{
    return {{"_reqScrl", true, &requestScroll},
            {"_scrlOnReq", true, &scrollOnRequest},
            {"_surfOnScrlReq", false, &surfOnScrollRequest},
            {"_dataSymbols", true, &dataSymbols},
            {"_relatedSource", false, &relatedSource}};
}
