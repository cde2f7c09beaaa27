#include "KelSettingsView.h"

#include "DSFont.h"
#include "DbEu.h"
#include "DbPu.h"
#include "ICurrentApplication.h"
#include "KelSettingsPage.h"
#include "KelresrcResourceIds.h"
#include "XIDialogAction.h"
#include "XISettingsView.h"

#include <QFontMetrics>

namespace {

constexpr unsigned long propertyNotebookId = 0x5000;
/// The minimum size in characters and lines of the system font.
constexpr int minimumColumns = 56;
constexpr int minimumLines = 16;

} // namespace

KelSettingsView::KelSettingsView(QWidget *owner, DbPu &pu)
    : XIOpenSettings(KelRes::detailsCommand, propertyNotebookId, owner)
    , m_pu(&pu)
    , m_eu(pu.pEu() ? &pu.pEu()->eu() : nullptr)
{
    open();
}

KelSettingsView::KelSettingsView(QWidget *owner, DbEu &eu, const DbPu *current)
    : XIOpenSettings(KelRes::detailsCommand, propertyNotebookId, owner)
    , m_pu(current)
    , m_eu(&eu.eu())
    , m_allUnits(true)
{
    open();
}

KelSettingsView::~KelSettingsView() = default;

void KelSettingsView::open()
{
    setObjectName(QStringLiteral("settings-view"));
    const QFontMetrics metrics(DSFont::systemFont());
    setMinimumViewSize(
        QSize(metrics.averageCharWidth() * minimumColumns, metrics.lineSpacing() * minimumLines));
    performAction();
}

void KelSettingsView::populateSettingsView()
{
    setTitle(
        XIDialogAction::dialogTitle(ICurrentApplication::loadString(KelRes::settingsViewTitle)));
    XISettingsView *view = settingsView();
    if (!m_allUnits) {
        view->addLastPage(new KelSettingsPage(*m_pu));
        return;
    }
    int sameUnit = -1;
    int sameName = -1;
    int index = 0;
    for (DbPuEntryTable::Cursor cursor(m_eu->puEntryTable()); cursor.isValid();
         cursor.setToNext(), ++index) {
        DbPu &unit = *cursor.element().pu();
        view->addLastPage(new KelSettingsPage(unit));
        if (m_pu && &unit == m_pu)
            sameUnit = index;
        else if (m_pu && sameName < 0 && unit.puName() == m_pu->puName())
            sameName = index;
    }
    view->turnToPage(sameUnit >= 0 ? sameUnit : sameName >= 0 ? sameName : 0);
}

void KelSettingsView::settingsViewClosed()
{
    XIOpenSettings::settingsViewClosed();
    deleteLater();
}
