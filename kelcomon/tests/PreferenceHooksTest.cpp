#include "DbPu.h"
#include "DemoDatabase.h"
#include "DemoViews.h"
#include "KelBrowserPreferences.h"
#include "KelDataMapPreferences.h"
#include "KelDesktop.h"
#include "TemporaryHome.h"

#include <QTest>

/// The contract with keldtls, which does not link kelcomon: its preference sets reach a view
/// derived from KelWindow through the hooks' names, and only views of the set's kind.
class PreferenceHooksTest : public QObject
{
    Q_OBJECT

private slots:
    void theSetsOfAViewsKindCallItsHooksByName()
    {
        const TemporaryHome home;
        DemoDatabase database;
        KelDesktop desktop;
        desktop.loadEuData(&database.eu());
        DbPu *pu = database.eu().puNamed("PAYROLL");
        QVERIFY(pu->load());
        const StartWindowData request(StartWindowData::browser, pu, "PAYROLL");
        DemoView browser(request, 592);
        DemoView grapher(request, 593);

        KelBrowserPreferences browserSet(&browser);
        browserSet.applyPreferences();
        QCOMPARE(browser.preferencesCalls, 1);
        browserSet.applyPreferences2();
        QCOMPARE(browser.coloursCalls, 1);
        QCOMPARE(grapher.preferencesCalls + grapher.coloursCalls, 0);

        // A data map set owned by the grapher saves its keys and tells no view of another kind.
        KelDataMapPreferences mapSet(&grapher);
        mapSet.applyPreferences();
        QCOMPARE(grapher.preferencesCalls, 0);
        QCOMPARE(browser.preferencesCalls, 1);
    }
};

QTEST_MAIN(PreferenceHooksTest)
#include "PreferenceHooksTest.moc"
