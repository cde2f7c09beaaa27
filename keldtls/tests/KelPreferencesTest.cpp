// The four preference sets against a real KELINI.INI in a throwaway CHRONEX_HOME, with real
// registered view windows: every key with its kind and default, the reading rules, the owner
// check and the hooks, defaults, and damaged values and files.
#include "DSFont.h"
#include "HookWindow.h"
#include "IException.h"
#include "IProfile.h"
#include "KelBrowserPreferences.h"
#include "KelDataMapPreferences.h"
#include "KelGrapherPreferences.h"
#include "KelPreferenceStore.h"
#include "KelSymbolsPreferences.h"
#include "TemporaryHome.h"

#include <QFile>
#include <QTest>

#include <memory>

namespace {

const QString app = QStringLiteral("Preferences");

IProfile profile()
{
    return KelPreferenceStore::profile();
}

QByteArray fileBytes()
{
    QFile file(profile().fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void store(const QString &key, const QString &value)
{
    profile().setValue(app, key, value);
}

/// The keys of the profile with their values, in file order: "key=value".
QStringList keysAndValues()
{
    QStringList lines;
    for (const QString &key : profile().keyNames(app))
        lines << key + u'=' + profile().value(app, key).value_or(QString());
    return lines;
}

/// The expected default words of the ten token types, as stored.
const QStringList tokenLines = {"KelBrowser_Keyword=246",
                                "KelBrowser_DataName=240",
                                "KelBrowser_ProcedureName=240",
                                "KelBrowser_Literal=246",
                                "KelBrowser_Comment=252",
                                "KelBrowser_Picture=245",
                                "KelBrowser_LevelNumber=245",
                                "KelBrowser_CopyStatement=176",
                                "KelBrowser_Operator=8435",
                                "KelBrowser_Other=212"};

} // namespace

class KelPreferencesTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_home = std::make_unique<TemporaryHome>(); }
    void cleanup() { m_home.reset(); }

    void everySetHasItsKeysKindsAndDefaults()
    {
        KelGrapherPreferences grapher(nullptr);
        KelSymbolsPreferences symbols(nullptr);
        KelDataMapPreferences dataMap(nullptr);
        KelBrowserPreferences browser(nullptr);
        QVERIFY(!QFile::exists(profile().fileName())); // reading writes nothing
        QCOMPARE(browser.fontName, DSFont::systemFont().family());
        QCOMPARE(browser.fontSize, QStringLiteral("12"));

        grapher.applyPreferences();
        symbols.applyPreferences();
        dataMap.applyPreferences();
        browser.applyPreferences();
        browser.applyPreferences2();
        const QString font = QStringLiteral("KelBrowser_fontName=") + DSFont::systemFont().family();
        QCOMPARE(keysAndValues(),
                 QStringList({"KelGrapher_reqScrl=1",        "KelGrapher_scrlOnReq=1",
                              "KelGrapher_surfOnScrlReq=0",  "KelGrapher_overview=0",
                              "KelGrapher_showReturnArcs=1", "KelGrapher_showHoverHelp=1",
                              "KelGrapher_showZoomSlider=1", "KelGrapher_showProgressSlider=1",
                              "KelSymbols_reqScrl=1",        "KelSymbols_scrlOnReq=1",
                              "KelSymbols_surfOnScrlReq=0",  "KelSymbols_dataSymbols=1",
                              "KelSymbols_relatedSource=0",  "KelDataMap_reqScrl=1",
                              "KelDataMap_scrlOnReq=1",      "KelDataMap_surfOnScrlReq=0",
                              "KelBrowser_reqScrl=1",        "KelBrowser_scrlOnReq=1",
                              "KelBrowser_surfOnScrlReq=0",  font,
                              "KelBrowser_fontSize=12"})
                     + tokenLines);
    }

    void aBooleanIsOnlyZeroOrOne_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("defaultTrueReads");
        QTest::addColumn<bool>("defaultFalseReads");
        QTest::newRow("0") << "0" << false << false;
        QTest::newRow("1") << "1" << true << true;
        QTest::newRow("2 is damaged") << "2" << true << false;
        QTest::newRow("-1 is damaged") << "-1" << true << false;
        QTest::newRow("text is damaged") << "yes" << true << false;
        QTest::newRow("empty") << "" << true << false;
        QTest::newRow("missing") << QString() << true << false;
    }
    void aBooleanIsOnlyZeroOrOne()
    {
        QFETCH(QString, stored);
        QFETCH(bool, defaultTrueReads);
        QFETCH(bool, defaultFalseReads);
        if (!stored.isNull()) {
            store(QStringLiteral("KelDataMap_reqScrl"), stored);       // default 1
            store(QStringLiteral("KelDataMap_surfOnScrlReq"), stored); // default 0
        }
        const QByteArray before = fileBytes();
        KelDataMapPreferences set(nullptr);
        QCOMPARE(set.requestScroll, defaultTrueReads);
        QCOMPARE(set.surfOnScrollRequest, defaultFalseReads);
        QCOMPARE(fileBytes(), before); // a damaged value stays until apply
    }

    void theFontReadsNullAndDamagedValuesAsDefaults_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("nameRead");
        QTest::addColumn<QString>("sizeRead");
        const QString system = DSFont::systemFont().family();
        QTest::newRow("NULL") << "NULL"
                              << "NULL" << system << "12";
        QTest::newRow("missing") << QString() << QString() << system << "12";
        QTest::newRow("chosen") << "Courier New"
                                << "14"
                                << "Courier New"
                                << "14";
        QTest::newRow("blanks around") << "Courier New"
                                       << " 18 "
                                       << "Courier New"
                                       << "18";
        QTest::newRow("not a number") << ""
                                      << "big" << system << "12";
        QTest::newRow("zero points") << "Mono"
                                     << "0"
                                     << "Mono"
                                     << "12";
        QTest::newRow("negative") << "Mono"
                                  << "-9"
                                  << "Mono"
                                  << "12";
    }
    void theFontReadsNullAndDamagedValuesAsDefaults()
    {
        QFETCH(QString, name);
        QFETCH(QString, size);
        QFETCH(QString, nameRead);
        QFETCH(QString, sizeRead);
        if (!name.isNull())
            store(QStringLiteral("KelBrowser_fontName"), name);
        if (!size.isNull())
            store(QStringLiteral("KelBrowser_fontSize"), size);
        KelBrowserPreferences set(nullptr);
        QCOMPARE(set.fontName, nameRead);
        QCOMPARE(set.fontSize, sizeRead);
        QCOMPARE(set.font().pointSize(), sizeRead.toInt());
    }

    void aTokenWordIsUsedWhenItIsOne_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("read");
        const int keywordDefault = 246;
        QTest::newRow("0 is a valid word") << "0" << 0;
        QTest::newRow("styles and colours") << QString::number(0xF0A5) << 0xF0A5;
        QTest::newRow("missing") << QString() << keywordDefault;
        QTest::newRow("negative") << "-1" << keywordDefault;
        QTest::newRow("above 16 bits") << "70000" << keywordDefault;
        QTest::newRow("bits 8-11 set") << QString::number(0x0F00) << keywordDefault;
        QTest::newRow("text") << "red" << keywordDefault;
    }
    void aTokenWordIsUsedWhenItIsOne()
    {
        QFETCH(QString, stored);
        QFETCH(int, read);
        if (!stored.isNull())
            store(QStringLiteral("KelBrowser_Keyword"), stored);
        KelBrowserPreferences set(nullptr);
        QCOMPARE(int(set.tokenAttributes[0]), read);
        QCOMPARE(int(set.tokenAttributes[1]), 240); // the others keep their defaults
        QCOMPARE(set.tokenKey(9), QStringLiteral("KelBrowser_Other"));
    }

    void applyingTellsTheOwnerOnlyWhenItShowsTheSetsKind()
    {
        HookWindow grapher(QStringLiteral("Grapher"), 593);
        KelDataMapPreferences dataMap(&grapher);
        dataMap.requestScroll = false;
        dataMap.applyPreferences();
        QCOMPARE(profile().value(app, "KelDataMap_reqScrl"), std::optional<QString>("0"));
        QCOMPARE(grapher.preferencesCalls, 0); // a data map set never refreshes a grapher

        KelGrapherPreferences own(&grapher);
        QVERIFY(own.ownerHasViewNumber());
        own.applyPreferences();
        QCOMPARE(grapher.preferencesCalls, 1);
        QCOMPARE(grapher.coloursCalls, 0);

        HookWindow browser(QStringLiteral("Browser"), 592);
        KelBrowserPreferences colours(&browser);
        colours.tokenAttributes[4] = 0;
        colours.applyPreferences2();
        QCOMPARE(browser.coloursCalls, 1);
        QCOMPARE(browser.preferencesCalls, 0);
        QCOMPARE(profile().value(app, "KelBrowser_Comment"), std::optional<QString>("0"));
    }

    void theOtherOpenViewsOfTheKindAreToldToo()
    {
        HookWindow desktop(QStringLiteral("Desktop"), 0x7005);
        HookWindow browser(QStringLiteral("Browser"), 592);
        HookWindow secondBrowser(QStringLiteral("Browser"), 592);
        PlainRegisteredWindow noHooks(QStringLiteral("Browser"), 592);
        HookWindow grapher(QStringLiteral("Grapher"), 593);
        KelBrowserPreferences set(&desktop); // the shared notebook's owner
        QVERIFY(!set.ownerHasViewNumber());
        set.applyPreferences();
        QCOMPARE(desktop.preferencesCalls, 0);
        QCOMPARE(browser.preferencesCalls, 1);
        QCOMPARE(secondBrowser.preferencesCalls, 1);
        QCOMPARE(grapher.preferencesCalls, 0);

        KelBrowserPreferences own(&browser); // the owner is told once, not twice
        own.applyPreferences();
        QCOMPARE(browser.preferencesCalls, 2);
        QCOMPARE(secondBrowser.preferencesCalls, 2);
    }

    void anOwnerWithoutRegistrationStillKeepsItsPreferences()
    {
        HookWindow unregistered;
        KelSymbolsPreferences set(&unregistered);
        QVERIFY(!set.ownerHasViewNumber());
        set.dataSymbols = false;
        set.applyPreferences();
        QCOMPARE(unregistered.preferencesCalls, 0);
        QCOMPARE(profile().value(app, "KelSymbols_dataSymbols"), std::optional<QString>("0"));
        KelSymbolsPreferences again(nullptr);
        QCOMPARE(again.dataSymbols, false);
    }

    void defaultsGoStraightToTheProfileExceptTheBrowsersWhichApplies()
    {
        HookWindow grapher(QStringLiteral("Grapher"), 593);
        KelGrapherPreferences set(&grapher);
        set.overview = true;
        set.showZoomSlider = false;
        set.applyPreferences();
        QCOMPARE(grapher.preferencesCalls, 1);
        set.defaultPreferences();
        QCOMPARE(grapher.preferencesCalls, 1); // not told
        QCOMPARE(set.overview, false);
        QCOMPARE(profile().value(app, "KelGrapher_overview"), std::optional<QString>("0"));
        QCOMPARE(profile().value(app, "KelGrapher_showZoomSlider"), std::optional<QString>("1"));

        HookWindow browser(QStringLiteral("Browser"), 592);
        store(QStringLiteral("KelBrowser_scrlOnReq"), QStringLiteral("0"));
        store(QStringLiteral("KelBrowser_fontSize"), QStringLiteral("20"));
        store(QStringLiteral("KelBrowser_Keyword"), QStringLiteral("7"));
        KelBrowserPreferences browserSet(&browser);
        browserSet.defaultPreferences();
        QCOMPARE(browser.preferencesCalls, 1); // through applyPreferences
        QCOMPARE(browserSet.scrollOnRequest, true);
        QCOMPARE(profile().value(app, "KelBrowser_scrlOnReq"), std::optional<QString>("1"));
        QCOMPARE(profile().value(app, "KelBrowser_fontSize"), std::optional<QString>("20"));
        QCOMPARE(int(browserSet.tokenAttributes[0]), 7); // token words are not reset
        QCOMPARE(profile().value(app, "KelBrowser_Keyword"), std::optional<QString>("7"));
    }

    void appliedValuesAreReadBackByTheNextSession()
    {
        {
            KelBrowserPreferences set(nullptr);
            set.surfOnScrollRequest = true;
            set.fontName = QStringLiteral("DejaVu Sans Mono");
            set.fontSize = QStringLiteral("16");
            set.tokenAttributes[8] = 0x3014;
            set.applyPreferences();
            set.applyPreferences2();
        }
        KelBrowserPreferences next(nullptr);
        QCOMPARE(next.surfOnScrollRequest, true);
        QCOMPARE(next.fontName, QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(next.fontSize, QStringLiteral("16"));
        QCOMPARE(int(next.tokenAttributes[8]), 0x3014);
    }

    void aDamagedProfileReadsAsDefaultsAndIsNeverOverwritten()
    {
        QFile file(profile().fileName());
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray damaged("[Preferences\nKelGrapher_overview=1\n\xff\xfe\x00binary", 40);
        file.write(damaged);
        file.close();
        HookWindow grapher(QStringLiteral("Grapher"), 593);
        KelGrapherPreferences set(&grapher);
        QCOMPARE(set.overview, false);
        set.overview = true;
        try {
            set.applyPreferences();
            QFAIL("saving into a damaged profile must fail");
        } catch (const IAccessError &error) {
            QVERIFY(QString::fromStdString(error.text()).contains(QStringLiteral("KELINI.INI")));
        }
        QCOMPARE(grapher.preferencesCalls, 0);
        QCOMPARE(fileBytes(), damaged);
        QCOMPARE(set.overview, true); // the user's choice is kept for another try
    }

private:
    std::unique_ptr<TemporaryHome> m_home;
};

QTEST_MAIN(KelPreferencesTest)
#include "KelPreferencesTest.moc"
