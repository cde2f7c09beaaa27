// KelWindow: the related views, the links to the other views, the registration and the
// placement actions.

#include "KelWindow.h"

#include "DbEu.h"
#include "FindLikeObject.h"
#include "ICurrentApplication.h"
#include "IException.h"
#include "IProfile.h"
#include "KelMsg.h"
#include "KelViewLink.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"
#include "StartWindowData.h"

#include <QtGlobal>

namespace {

/// Shows `token` of `pu` in an open view of `target`'s kind, or asks the desktop for a new one.
bool showInViewOf(const KelViewLink::Target &target,
                  const IWindowHandle &handle,
                  DbEu *eu,
                  DbPu *pu,
                  DbToken *token)
{
    if (!KelViewLink::showInOpenWindow(handle,
                                       eu,
                                       pu,
                                       token,
                                       target,
                                       KelViewLink::Positioning::findEvent,
                                       target.nullTokenNumber))
        KelViewLink::requestWindow(target, pu, token);
    return true;
}

} // namespace

bool KelWindow::requestWindow(char kind)
{
    KelViewLink::requestWindow(kind, m_pu);
    return true;
}

bool KelWindow::openObjControlGraph()
{
    return requestWindow(StartWindowData::grapher);
}

bool KelWindow::openObjRelatedPrograms()
{
    return requestWindow(StartWindowData::listViews);
}

bool KelWindow::openObjExpandedSource()
{
    return requestWindow(StartWindowData::browser);
}

bool KelWindow::openObjSymbolsUsed()
{
    return requestWindow(StartWindowData::listViews);
}

bool KelWindow::openObjRelatedSourceMembers()
{
    return requestWindow(StartWindowData::listViews);
}

bool KelWindow::findInSource(DbPu *pu, DbToken *token)
{
    callOnGuiThread([this] { setStatusText(QString()); });
    return showInViewOf(KelViewLink::source, m_handle, m_eu, pu, token);
}

bool KelWindow::findInGraph(DbPu *pu, DbToken *token)
{
    return showInViewOf(KelViewLink::graph, m_handle, m_eu, pu, token);
}

bool KelWindow::showDataMap(DbPu *pu, DbToken *token)
{
    return showInViewOf(KelViewLink::dataMap, m_handle, m_eu, pu, token);
}

bool KelWindow::scrollingInstanceExists(DbPu *pu, DbToken *token)
{
    const QString objectId = m_objectId.isEmpty() ? ICurrentApplication::loadString(m_viewKind)
                                                  : m_objectId;
    try {
        FindLikeObject finder(m_handle, objectId, m_viewKind, m_eu, pu);
        return finder.setToFirst(KelViewLink::tokenNumber(pu, token, 0), m_eu->puToNumber(pu));
    } catch (const IException &) {
        return false; // no slot for a cursor: no other window can be asked
    }
}

bool KelWindow::registerWindow()
{
    m_objectId = ICurrentApplication::loadString(m_viewKind);
    m_registration.reset();
    try {
        m_registration = std::make_unique<RegisterInstance>(m_handle,
                                                            m_objectId,
                                                            m_viewKind,
                                                            m_eu,
                                                            m_pu,
                                                            this);
    } catch (const IException &exception) {
        // A full registry: the window works, but other views cannot find it. Say so.
        KelMsg::winIExcnSet1(moduleTag, __LINE__, exception);
        KelMsg::winMsgShow1(moduleTag, __LINE__);
        return false;
    }
    const IProfile profile(ICurrentApplication::loadString(KelRes::placementProfileFile));
    try {
        m_registration->savePMPosition(profile);
        m_registration->restorePosition(profile);
    } catch (const IException &exception) {
        // A damaged placement profile is reported by the profile and left as it is; the window
        // keeps the placement it was given.
        qWarning("%s", exception.text().c_str());
    }
    return true;
}

bool KelWindow::placement(void (RegisterInstance::*operation)(IProfile) const)
{
    if (!m_registration)
        return true;
    const IProfile profile(ICurrentApplication::loadString(KelRes::placementProfileFile));
    callOnGuiThread([&] { (m_registration.get()->*operation)(profile); });
    return true;
}

bool KelWindow::savewindowpreferences()
{
    return placement(&RegisterInstance::savePosition);
}

bool KelWindow::restorewindow()
{
    return placement(&RegisterInstance::restorePosition);
}

bool KelWindow::restorePMwindow()
{
    return placement(&RegisterInstance::restorePMPosition);
}

bool KelWindow::theEnd()
{
    m_handle.postSystemCommand(ISystemCommand::Close);
    return true;
}
