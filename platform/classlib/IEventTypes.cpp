#include "IEventTypes.h"

#include <QtGlobal>

#include <mutex>

namespace IEventTypes {

static_assert(isUserEventType(command) && isUserEventType(systemCommand)
                  && isUserEventType(registryNotification) && isUserEventType(canShowQuery)
                  && isUserEventType(activateView) && isUserEventType(showInDataMap)
                  && isUserEventType(findInGraph) && isUserEventType(findInSource)
                  && isUserEventType(followToken)
                  && isUserEventType(createWindow) && isUserEventType(fillFileList)
                  && isUserEventType(addFiles) && isUserEventType(removeFiles),
              "every event number must be a legal Qt user event type");

QList<int> reserveAll()
{
    static std::once_flag once;
    static QList<int> taken;
    std::call_once(once, [] {
        for (int type : {command,
                         systemCommand,
                         registryNotification,
                         canShowQuery,
                         activateView,
                         showInDataMap,
                         findInGraph,
                         findInSource,
                         followToken,
                         createWindow,
                         fillFileList,
                         addFiles,
                         removeFiles}) {
            if (QEvent::registerEventType(type) != type) {
                taken.append(type);
                qWarning("User event type %d was already handed out by Qt to another library; "
                         "events of that number may be misread.",
                         type);
            }
        }
    });
    return taken;
}

} // namespace IEventTypes
