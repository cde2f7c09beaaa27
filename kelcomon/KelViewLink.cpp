#include "KelViewLink.h"

#include "DbEu.h"
#include "DbPu.h"
#include "FindLikeObject.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IException.h"
#include "KelDesktop.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"
#include "StartWindowData.h"

#include <memory>

const KelViewLink::Target KelViewLink::source{KelRes::browserView,
                                              IEventTypes::findInSource,
                                              StartWindowData::browser,
                                              1,
                                              true,
                                              true};
const KelViewLink::Target KelViewLink::graph{KelRes::grapherView,
                                             IEventTypes::findInGraph,
                                             StartWindowData::grapher,
                                             0,
                                             false,
                                             true};
const KelViewLink::Target KelViewLink::dataMap{KelRes::dataMapView,
                                               IEventTypes::showInDataMap,
                                               StartWindowData::dataMap,
                                               0,
                                               false,
                                               false};

std::uint32_t KelViewLink::tokenNumber(const DbPu *pu,
                                       const DbToken *token,
                                       unsigned long nullNumber)
{
    if (!token)
        return static_cast<std::uint32_t>(nullNumber);
    return pu ? pu->tokenToNumber(token) : 0;
}

std::uint32_t KelViewLink::nodeNumber(const DbPu *pu, const DbToken *token)
{
    if (!pu)
        return 0;
    const DbToken *at = token ? token : pu->numberToToken(1);
    const std::uint32_t node = pu->nodeToNumber(pu->tokenToNode(at));
    // A unit without tokens: its own node.
    return node != 0 ? node : (pu->rootNode() ? 1 : 0);
}

bool KelViewLink::showInOpenWindow(IWindowHandle self,
                                   DbEu *eu,
                                   DbPu *pu,
                                   DbToken *token,
                                   const Target &target,
                                   Positioning positioning,
                                   unsigned long nullTokenNumber)
{
    const QString objectId = ICurrentApplication::loadString(target.view);
    const std::uint32_t puNumber = eu ? eu->puToNumber(pu) : 0;
    const std::uint32_t asked = tokenNumber(pu, token, nullTokenNumber);
    const unsigned long first = target.sendsNodeNumber ? nodeNumber(pu, token) : asked;
    try {
        FindLikeObject finder(self, objectId, target.view, eu, pu);
        if (!finder.setToFirst(asked, puNumber))
            return false;
        const RegisterInstance found = finder.current();
        const IWindowHandle window = found.handle();
        if (!window.isValid())
            return false;
        if (positioning == Positioning::findEvent)
            window.postEvent(target.findEvent, first, puNumber);
        found.requestShow();
        window.postEvent(IEventTypes::activateView, 0, 0);
        return true;
    } catch (const IException &) {
        // The window found went away meanwhile: a new one is opened instead.
        return false;
    }
}

bool KelViewLink::requestWindow(const Target &target, DbPu *pu, DbToken *token)
{
    return requestWindow(target.kind, pu, target.requestCarriesToken ? token : nullptr);
}

bool KelViewLink::requestWindow(char kind, DbPu *pu, DbToken *token)
{
    KelDesktop *desktop = KelDesktop::current();
    if (!desktop)
        return false;
    auto request = std::make_unique<StartWindowData>(kind,
                                                     pu,
                                                     pu ? pu->puName() : std::string(),
                                                     token);
    return desktop->newWindow(request.release());
}
