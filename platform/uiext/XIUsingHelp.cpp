#include "XIUsingHelp.h"

#include "ICurrentApplication.h"
#include "Kelae20wResourceIds.h"
#include "UiextTexts.h"
#include "XIHelpWindow.h"

XIUsingHelp::XIUsingHelp(unsigned long windowId,
                         QWidget *window,
                         unsigned long titleId,
                         unsigned long textId,
                         unsigned long panel)
    : XIAction(commandId, ICurrentApplication::loadString(textId), {}, window)
    , m_windowId(windowId)
    , m_panel(panel)
    , m_title(ICurrentApplication::loadString(titleId))
{}

bool XIUsingHelp::performAction()
{
    const QString library = XIHelpWindow::applicationLibrary();
    const QString page = QString::number(m_panel);
    if (XIHelpWindow::hasPage(library, page))
        XIHelpWindow::showHelp(library, page, m_title);
    else
        XIHelpWindow::showHelp(QStringLiteral("kelae20w"),
                               QStringLiteral("using-help"),
                               UiextTexts::text(UiextRes::usingHelpTitle));
    emit performed();
    return true;
}
