#pragma once

#include "KelPreferences.h"

/// The grapher's preferences (view 593, keys "KelGrapher..."), loaded when built.
class KelGrapherPreferences final : public KelPreferences
{
public:
    explicit KelGrapherPreferences(QWidget *owner);

    bool requestScroll = true;        ///< "_reqScrl"
    bool scrollOnRequest = true;      ///< "_scrlOnReq"
    bool surfOnScrollRequest = false; ///< "_surfOnScrlReq"
    bool overview = false;            ///< "_overview"
    bool showReturnArcs = true;       ///< "_showReturnArcs"
    bool showHoverHelp = true;        ///< "_showHoverHelp"
    bool showZoomSlider = true;       ///< "_showZoomSlider"
    bool showProgressSlider = true;   ///< "_showProgressSlider"

protected:
    std::vector<Flag> flags() override;
};
