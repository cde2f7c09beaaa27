#include "KelDetailsView.h"

#include "DbSymbol.h"
#include "ICurrentApplication.h"
#include "KelDetailsPage.h"
#include "KelresrcResourceIds.h"
#include "XIDialogAction.h"
#include "XISettingsView.h"

namespace {

/// The notebook id of the details and settings views.
constexpr unsigned long propertyNotebookId = 0x5000;

} // namespace

KelDetailsView::KelDetailsView(QWidget *owner, DbSymbol &symbol)
    : XIOpenSettings(KelRes::detailsCommand, propertyNotebookId, owner)
    , m_symbol(symbol)
{
    setObjectName(QStringLiteral("details-view"));
    performAction();
}

KelDetailsView::~KelDetailsView() = default;

void KelDetailsView::populateSettingsView()
{
    setTitle(
        XIDialogAction::dialogTitle(ICurrentApplication::loadString(KelRes::detailsViewTitle)));
    m_pageCount = 0;
    m_symbolPage = 1;
    DbSymbol &record = m_symbol.record() ? *m_symbol.record() : m_symbol;
    addPage(record);
    populateChildren(record);
    settingsView()->turnToPage(m_symbolPage - 1);
}

void KelDetailsView::addPage(DbSymbol &symbol)
{
    ++m_pageCount;
    if (&symbol == &m_symbol)
        m_symbolPage = m_pageCount;
    settingsView()->addLastPage(new KelDetailsPage(symbol, m_pageCount));
}

void KelDetailsView::populateChildren(DbSymbol &symbol)
{
    for (DbSymbol::ChildCursor cursor(symbol); cursor.isValid(); cursor.setToNext()) {
        DbSymbol &child = cursor.element();
        addPage(child);
        populateChildren(child);
    }
}

void KelDetailsView::settingsViewClosed()
{
    XIOpenSettings::settingsViewClosed();
    deleteLater();
}
