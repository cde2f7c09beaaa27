#include "XIHelpIndex.h"

#include "ICurrentApplication.h"
#include "XIHelpWindow.h"

XIHelpIndex::XIHelpIndex(unsigned long windowId,
                         QWidget *window,
                         unsigned long titleId,
                         unsigned long textId)
    : XIAction(commandId, ICurrentApplication::loadString(textId), {}, window)
    , m_windowId(windowId)
    , m_title(ICurrentApplication::loadString(titleId))
{}

bool XIHelpIndex::performAction()
{
    XIHelpWindow::showHelp(XIHelpWindow::applicationLibrary(), QStringLiteral("index"), m_title);
    emit performed();
    return true;
}
