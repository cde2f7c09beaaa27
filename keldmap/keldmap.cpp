#include "keldmap.h"

#include "ICurrentApplication.h"
#include "IException.h"
#include "KelMsg.h"
#include "KelMsgException.h"

#include <QCoreApplication>
#include <QThread>

namespace {
constexpr const char *moduleTag = "keldmap.cpp";
}

int keldmap(DbEu &, DbPu &, DbToken &)
{
    try {
        ICurrentApplication::setUserResourceLibrary(QStringLiteral("KELRESRC"));
        QCoreApplication *application = QCoreApplication::instance();
        // The loop runs only where none runs yet; a nested exec() would never return in order.
        if (application && QThread::currentThread() == application->thread()
            && QThread::currentThread()->loopLevel() == 0)
            return QCoreApplication::exec();
        return 0;
    } catch (const KelMsgException &exception) {
        if (exception.winMsgSet())
            KelMsg::winMsgShow1(moduleTag, 94);
    } catch (const IException &exception) {
        KelMsg::winIExcnSet1(moduleTag, 99, exception);
        KelMsg::winMsgShow1(moduleTag, 100);
    } catch (...) {
        KelMsg::winUnknownExcnSet1(moduleTag, 105);
        KelMsg::winMsgShow1(moduleTag, 106);
    }
    return 0;
}
