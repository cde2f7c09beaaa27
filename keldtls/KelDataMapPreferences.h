#pragma once

#include "KelPreferences.h"

/// The data map's preferences (view 596, keys "KelDataMap..."), loaded when built.
class KelDataMapPreferences final : public KelPreferences
{
public:
    explicit KelDataMapPreferences(QWidget *owner);

    bool requestScroll = true;        ///< "_reqScrl"
    bool scrollOnRequest = true;      ///< "_scrlOnReq"
    bool surfOnScrollRequest = false; ///< "_surfOnScrlReq"

protected:
    std::vector<Flag> flags() override;
};
