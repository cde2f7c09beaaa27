#pragma once

#include "KelPreferences.h"

/// The symbols view's preferences (view 595, keys "KelSymbols..."), loaded when built.
class KelSymbolsPreferences final : public KelPreferences
{
public:
    explicit KelSymbolsPreferences(QWidget *owner);

    bool requestScroll = true;        ///< "_reqScrl"
    bool scrollOnRequest = true;      ///< "_scrlOnReq"
    bool surfOnScrollRequest = false; ///< "_surfOnScrlReq"
    bool dataSymbols = true;          ///< "_dataSymbols"
    bool relatedSource = false;       ///< "_relatedSource"

protected:
    std::vector<Flag> flags() override;
};
