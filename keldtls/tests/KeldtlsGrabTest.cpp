// Every page of the library's notebooks, grabbed at the notebook's minimum size: nothing may be
// clipped or blank. With CHRONEX_GRAB_DIR set the pictures are saved there to be looked at.
#include "ClippingCheck.h"
#include "DSSettingsView.h"
#include "DbEu.h"
#include "DbPu.h"
#include "DbPuPropertyWindow.h"
#include "DbSymbol.h"
#include "IFrameWindow.h"
#include "KelDataMapPreferencesPage.h"
#include "KelDetailsView.h"
#include "KelPreferencesView.h"
#include "KelSettingsView.h"
#include "KelSymbolsPreferencesPage.h"
#include "KeldtlsResourceIds.h"
#include "RecordedUnits.h"
#include "ResourceLibrary.h"
#include "TemporaryHome.h"
#include "XIOpenSettings.h"
#include "XISettingsPage.h"
#include "XISettingsView.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace {

/// Shows `window` at its minimum size and checks the grab.
void checkAtMinimumSize(QWidget *window, const QString &name)
{
    window->show();
    QCoreApplication::processEvents();
    window->resize(window->minimumSize().expandedTo(window->minimumSizeHint()));
    QCoreApplication::processEvents();
    const QStringList clipped = clippedWidgets(window);
    QVERIFY2(clipped.isEmpty(), qPrintable(name + u'\n' + clipped.join(u'\n')));
    QVERIFY2(grabLooksDrawn(window, name), qPrintable(name + QStringLiteral(" looks blank")));
}

class TwoPageOpener : public XIOpenSettings
{
public:
    explicit TwoPageOpener(QWidget *owner)
        : XIOpenSettings(0x3037, 0x5001, owner)
    {}

protected:
    void populateSettingsView() override
    {
        auto *owner = qobject_cast<QWidget *>(parent());
        settingsView()->addLastPage(new KelSymbolsPreferencesPage(owner));
        settingsView()->addLastPage(new KelDataMapPreferencesPage(owner));
    }
};

} // namespace

class KeldtlsGrabTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_units.recordSample("EMPAGE.cbl");
        m_units.recordSample("PAYRUN.cbl");
    }

    void everyTextTheLibraryNamesIsInTheResourceLibrary()
    {
        QFile header(qEnvironmentVariable("CHRONEX_SOURCE_DIR")
                     + QStringLiteral("/platform/resources/KeldtlsResourceIds.h"));
        QVERIFY(header.open(QIODevice::ReadOnly | QIODevice::Text));
        const QRegularExpression id(QStringLiteral("= 0x([0-9A-Fa-f]+);"));
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELRESRC"));
        int count = 0;
        for (auto match = id.globalMatch(QString::fromUtf8(header.readAll())); match.hasNext();) {
            const unsigned long value = match.next().captured(1).toULong(nullptr, 16);
            QVERIFY2(!library.loadString(value).trimmed().isEmpty(),
                     qPrintable(QString::number(value, 16)));
            ++count;
        }
        QVERIFY(count > 80);
        for (int colour = 0; colour < 16; ++colour)
            QVERIFY(library.hasString(KelRes::paletteColourName(colour)));
        QCOMPARE(library.loadString(KelRes::languageCodeLabel), QStringLiteral("Language Code:"));
        QCOMPARE(library.loadString(KelRes::analyzedLabel), QStringLiteral("Analyzed?:"));
    }

    void thePreferencePagesAtTheirMinimumSize()
    {
        IFrameWindow owner;
        KelPreferencesView notebook(0x7003, &owner);
        notebook.performAction();
        DSSettingsView *view = notebook.settingsView();
        int number = 0;
        for (DSSettingsView::Cursor cursor(*view); cursor.isValid(); cursor.setToNext()) {
            view->turnToPage(cursor);
            checkAtMinimumSize(view,
                               QStringLiteral("preferences-%1-%2")
                                   .arg(++number)
                                   .arg(cursor.element()->tabText().remove(u' ')));
        }
        QCOMPARE(number, 3);

        TwoPageOpener own(&owner);
        own.performAction();
        checkAtMinimumSize(own.settingsView(), QStringLiteral("preferences-symbols"));
        own.settingsView()->turnToPage(1);
        checkAtMinimumSize(own.settingsView(), QStringLiteral("preferences-datamap"));
    }

    void theDetailsAndSettingsPagesAtTheirMinimumSize()
    {
        DbEu &eu = m_units.open();
        DbPu *pu = eu.puNamed("EMPAGE");
        QVERIFY(pu && pu->load());
        DbSymbol *birthYear = nullptr;
        for (std::uint32_t n = 1; n <= pu->numberOfSymbols(); ++n)
            if (pu->symbol(n)->name() == "EMP-BIRTH-YY")
                birthYear = pu->symbol(n);
        QVERIFY(birthYear);
        IFrameWindow owner;
        auto *details = new KelDetailsView(&owner, *birthYear);
        checkAtMinimumSize(details->settingsView(), QStringLiteral("details-EMP-BIRTH-YY"));
        details->settingsView()->turnToPage(0);
        checkAtMinimumSize(details->settingsView(), QStringLiteral("details-EMP-RECORD"));

        auto *settings = new KelSettingsView(&owner, eu, pu);
        checkAtMinimumSize(settings->settingsView(), QStringLiteral("settings-EMPAGE"));
    }

    void theUnitPropertyWindowAtItsMinimumSize()
    {
        DbPu *pu = m_units.open().puNamed("PAYRUN");
        QVERIFY(pu);
        auto *window = new DbPuPropertyWindow(nullptr, *pu);
        const QStringList names = {"source", "compiler", "analysis"};
        for (int tab = 0; tab < window->notebook()->count(); ++tab) {
            window->notebook()->setCurrentIndex(tab);
            checkAtMinimumSize(window, QStringLiteral("properties-") + names.value(tab));
        }
        window->close();
    }

private:
    TemporaryHome m_home;
    RecordedUnits m_units{"PAYROLL"};
};

QTEST_MAIN(KeldtlsGrabTest)
#include "KeldtlsGrabTest.moc"
