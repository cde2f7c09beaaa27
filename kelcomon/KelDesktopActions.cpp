// KelDesktop: what the list, the buttons and the system commands do.

#include "KelDesktop.h"

#include "DbEu.h"
#include "DbPu.h"
#include "FindLikeObject.h"
#include "ICurrentApplication.h"
#include "IException.h"
#include "IProfile.h"
#include "ISystemCommandEvent.h"
#include "KelWindow.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"
#include "StartWindowData.h"

#include <QListWidget>

#include <memory>

namespace {

/// A view whose close waits for its running command stays hidden whatever the desktop does.
bool isClosing(IFrameWindow *frame)
{
    const auto *view = qobject_cast<KelWindow *>(frame);
    return view && view->isClosePending();
}

void bringForward(IFrameWindow *frame)
{
    if (frame->isMinimized() || !frame->isVisible())
        frame->showNormal();
    frame->raise();
    frame->activateWindow();
}

} // namespace

void KelDesktop::openLine(int line)
{
    if (!m_eu)
        return;
    std::unique_ptr<StartWindowData> request;
    if (line <= 0) {
        request = std::make_unique<StartWindowData>(StartWindowData::grapher, nullptr, "");
    } else {
        DbPu *pu = m_eu->numberToPu(static_cast<std::uint32_t>(line));
        if (!pu)
            return;
        request = std::make_unique<StartWindowData>(StartWindowData::browser, pu, pu->puName());
    }
    newWindow(request.release());
}

void KelDesktop::openSelected()
{
    if (!m_eu)
        return;
    const int line = std::max(0, m_list->currentRow());
    // Line 0 stands for the execution unit, whose graph starts at its first unit.
    const unsigned long view = line == 0 ? KelRes::grapherView : KelRes::browserView;
    DbPu *pu = m_eu->numberToPu(line == 0 ? 1u : static_cast<std::uint32_t>(line));
    try {
        FindLikeObject finder(m_handle, ICurrentApplication::loadString(view), view, m_eu, pu);
        if (finder.setToFirst(1, m_eu->puToNumber(pu))) {
            const RegisterInstance found = finder.current();
            auto *frame = qobject_cast<IFrameWindow *>(found.handle().window());
            if (frame && m_frames.contains(frame) && !isClosing(frame))
                bringForward(frame);
            else
                found.requestShow();
            return;
        }
    } catch (const IException &) {
        // The window found went away meanwhile: a new one is opened instead.
    }
    openLine(line);
}

void KelDesktop::savePlacements(bool views)
{
    const IProfile profile(ICurrentApplication::loadString(KelRes::placementProfileFile));
    try {
        if (m_registration)
            m_registration->savePosition(profile);
    } catch (const IException &exception) {
        qWarning("%s", exception.text().c_str());
    }
    if (!views)
        return;
    for (IFrameWindow *frame : frames()) {
        try {
            FindLikeObject finder(frame);
            if (finder.setToFirstW(frame))
                finder.current().savePosition(profile);
        } catch (const IException &exception) {
            qWarning("%s", exception.text().c_str());
        }
    }
}

void KelDesktop::exitAll()
{
    savePlacements(false);
    for (IFrameWindow *frame : frames()) {
        try {
            frame->close();
        } catch (...) {
            // One view that fails to close must not keep the others open.
        }
    }
    close();
    endApplication();
}

void KelDesktop::restoreViews()
{
    for (IFrameWindow *frame : frames()) {
        if (!isClosing(frame))
            frame->showNormal();
    }
    ISystemCommandEvent::performDefault(this, ISystemCommand::Restore);
}

void KelDesktop::hideViews()
{
    for (IFrameWindow *frame : frames())
        frame->hide();
    ISystemCommandEvent::performDefault(this, ISystemCommand::Minimize);
}

void KelDesktop::hideAllViews()
{
    for (IFrameWindow *frame : frames())
        frame->hide();
}

void KelDesktop::maximizeViews()
{
    if (IFrameWindow *frame = takeMaximizeWith()) {
        bringForward(frame);
        return;
    }
    for (IFrameWindow *frame : frames()) {
        if (!isClosing(frame))
            frame->showMaximized();
    }
    activateWindow();
}

void KelDesktop::restoreViewsWithDesktop()
{
    if (takeRestoreWith())
        return; // the views stay as they are, once
    for (IFrameWindow *frame : frames()) {
        if (!isClosing(frame))
            frame->showNormal();
    }
    activateWindow();
}
