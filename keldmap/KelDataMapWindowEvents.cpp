// KelDataMapWindow: its commands, the events other views send it, and finding items by name.
#include "KelDataMapWindow.h"

#include "DbPu.h"
#include "DbSymbol.h"
#include "ICommandEvent.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IUserEvent.h"
#include "KelDataMapActions.h"
#include "KelDataMapCanvas.h"
#include "KelDataMapItem.h"
#include "KelDataMapPreferencesView.h"
#include "KelPreferencesView.h"
#include "KeldmapResourceIds.h"
#include "KelresrcResourceIds.h"
#include "XIAction.h"
#include "XIFindAndReplaceDialog.h"
#include "XIInfoArea.h"

#include <QApplication>

bool KelDataMapWindow::command(ICommandEvent &event)
{
    using namespace KelRes;
    switch (event.commandId()) {
    case mapExpandCommand:
    case mapCollapseCommand:
        expandItem(m_selected, event.commandId() == mapExpandCommand);
        return true;
    case mapExpandPopupCommand:
    case mapCollapsePopupCommand:
        expandItem(m_popUpItem, event.commandId() == mapExpandPopupCommand);
        return true;
    case mapExpandAllCommand:
    case mapCollapseAllCommand:
        setAllExpanded(event.commandId() == mapExpandAllCommand);
        return true;
    case mapResetItemCommand:
        resetItem(m_selected, true);
        return true;
    case mapResetItemPopupCommand:
        resetItem(m_popUpItem, false);
        return true;
    case mapHexOffsetsCommand:
        setHexOffsets(!m_hexOffsets);
        return true;
    case mapDateFieldsCommand:
        setShowDateFields(!m_showDateFields);
        return true;
    case mapShowDeclarationCommand:
        showDeclaration(m_selected);
        return true;
    case mapShowDeclarationPopupCommand:
        showDeclaration(m_popUpItem);
        return true;
    case detailsCommand:
        openDetails(m_selected);
        return true;
    case detailsPopupCommand:
        openDetails(m_popUpItem);
        return true;
    case unitSettingsCommand:
        openSettings();
        return true;
    case preferencesCommand:
        m_actions->preferencesView()->performAction();
        return true;
    case mapViewPreferencesCommand:
        m_preferencesNotebook->performAction();
        return true;
    case findCommand:
        find();
        return true;
    case findNextCommand:
        findNext();
        return true;
    case mapZoomInCommand:
        m_canvas->zoomIn();
        return true;
    case mapZoomOutCommand:
        m_canvas->zoomOut();
        return true;
    case mapActualSizeCommand:
        m_canvas->resetZoom();
        return true;
    case mapCopyTextCommand:
        copyMapAsText();
        return true;
    case mapSaveCommand:
        saveMapAs();
        return true;
    case closeWindowCommand:
        close();
        return true;
    default:
        return IFrameWindow::command(event);
    }
}

bool KelDataMapWindow::canShow(std::uint32_t tokenNumber, std::uint32_t puNumber) const
{
    return puNumber == m_puNumber && tokenNumber <= m_pu->numberOfTokens();
}

bool KelDataMapWindow::userEvent(IUserEvent &event)
{
    switch (event.eventId()) {
    case IEventTypes::canShowQuery:
        event.setResult(canShow(static_cast<std::uint32_t>(event.parameter1()),
                                static_cast<std::uint32_t>(event.parameter2()))
                            ? 1
                            : 0);
        event.setHandled();
        return true;
    case IEventTypes::showInDataMap:
        if (event.parameter2() == m_puNumber)
            updateWindow(m_pu->numberToToken(event.parameter1()));
        event.setHandled();
        return true;
    case IEventTypes::activateView:
        comeToFront();
        event.setHandled();
        return true;
    default:
        return IFrameWindow::userEvent(event);
    }
}

void KelDataMapWindow::find()
{
    if (!m_findDialog) {
        m_findDialog = new XIFindAndReplaceDialog(this);
        connect(m_findDialog,
                &XIFindAndReplaceDialog::findNext,
                this,
                [this](const QString &text, unsigned options) {
                    // A new text or new options start again from the top.
                    const bool restart = text != m_findText || options != m_findOptions;
                    runFind(text, options, restart);
                });
    }
    m_findDialog->setFindText(m_findText);
    m_findDialog->setOptions(m_findOptions);
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

bool KelDataMapWindow::findNext()
{
    if (m_findText.isEmpty()) {
        find();
        return false;
    }
    return runFind(m_findText, m_findOptions, m_findPosition == 0);
}

bool KelDataMapWindow::runFind(const QString &text, unsigned options, bool restart)
{
    m_findText = text;
    m_findOptions = options;
    const auto count = m_pu->numberOfSymbols();
    if (text.isEmpty() || count == 0)
        return false;
    const bool backward = options & XIFindAndReplaceDialog::Backward;
    // Symbol numbers 1..count in declaration order; the walk starts next to the last match and
    // goes round once.
    std::uint32_t at = restart || m_findPosition == 0 || m_findPosition > count
                           ? (backward ? count : 1)
                           : (backward ? (m_findPosition == 1 ? count : m_findPosition - 1)
                                       : (m_findPosition == count ? 1 : m_findPosition + 1));
    const std::uint32_t start = at;
    bool wrapped = false;
    for (std::uint32_t step = 0; step < count; ++step) {
        const DbSymbol *symbol = m_pu->symbol(at);
        if (symbol
            && XIFindAndReplaceDialog::matches(QString::fromStdString(symbol->name()),
                                               text,
                                               options)
            && selectSymbol(*symbol)) {
            m_findPosition = at;
            m_infoArea->clearMessage();
            if (wrapped)
                m_infoArea->showMessage(ICurrentApplication::loadString(KelRes::mapFindWrapped),
                                        5000);
            return true;
        }
        at = backward ? (at == 1 ? count : at - 1) : (at == count ? 1 : at + 1);
        if (at == (backward ? count : 1) && at != start)
            wrapped = true;
    }
    m_findPosition = 0;
    QApplication::beep();
    m_infoArea->showMessage(ICurrentApplication::loadString(KelRes::mapNotFound)
                                .arg(QString::fromStdString(m_pu->puName()), text),
                            8000);
    return false;
}
