// The preferences notebook and its five pages as real offscreen windows over a real KELINI.INI:
// the pages' order and the page the notebook opens on, the shared notebook and its owner, and
// what each page's controls write (and do not write before Apply).
#include "KelPreferencesView.h"
#include "DSSettingsView.h"
#include "HookWindow.h"
#include "IProfile.h"
#include "KelBrowserPreferences.h"
#include "KelBrowserPreferencesPage.h"
#include "KelBrowserPreferencesPage2.h"
#include "KelColourPalette.h"
#include "KelDataMapPreferencesPage.h"
#include "KelGrapherPreferencesPage.h"
#include "KelPreferencePanel.h"
#include "KelPreferenceStore.h"
#include "KelSymbolsPreferencesPage.h"
#include "ModalAnswerer.h"
#include "TemporaryHome.h"
#include "XIOpenSettings.h"
#include "XISettingsView.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace {

const QString app = QStringLiteral("Preferences");

std::optional<QString> stored(const char *key)
{
    return KelPreferenceStore::profile().value(app, QLatin1String(key));
}

QStringList tabTexts(const DSSettingsView &view)
{
    QStringList texts;
    for (DSSettingsView::Cursor cursor(view); cursor.isValid(); cursor.setToNext())
        texts << cursor.element()->tabText();
    return texts;
}

template<typename Page>
Page *pageOf(const DSSettingsView &view)
{
    for (DSSettingsView::Cursor cursor(view); cursor.isValid(); cursor.setToNext()) {
        if (auto *page = qobject_cast<Page *>(cursor.element()))
            return page;
    }
    return nullptr;
}

/// A notebook that a view supplies for its own preference page.
template<typename Page>
class OwnPageOpener : public XIOpenSettings
{
public:
    OwnPageOpener(QWidget *owner)
        : XIOpenSettings(0x3037, 0x5001, owner)
    {}
    Page *page = nullptr;

protected:
    void populateSettingsView() override
    {
        page = new Page(qobject_cast<QWidget *>(parent()));
        settingsView()->addLastPage(page);
    }
};

} // namespace

class KelPreferencesViewTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_home = std::make_unique<TemporaryHome>(); }
    void cleanup() { m_home.reset(); }

    void theNotebookHasThreePagesAndOpensOnTheIdsPage_data()
    {
        QTest::addColumn<unsigned long>("id");
        QTest::addColumn<int>("page");
        QTest::newRow("grapher 0x7003") << 0x7003ul << 1;
        QTest::newRow("browser 0x7004") << 0x7004ul << 2;
        QTest::newRow("data map 0x7002") << 0x7002ul << 1;
    }
    void theNotebookHasThreePagesAndOpensOnTheIdsPage()
    {
        QFETCH(unsigned long, id);
        QFETCH(int, page);
        IFrameWindow owner;
        auto *notebook = new KelPreferencesView(id, &owner);
        notebook->performAction();
        DSSettingsView *view = notebook->settingsView();
        QCOMPARE(view->viewText(), QStringLiteral("Preferences"));
        QCOMPARE(tabTexts(*view), QStringList({"Grapher", "Browser", "Token Colours"}));
        QList<int> keys;
        for (DSSettingsView::Cursor cursor(*view); cursor.isValid(); cursor.setToNext())
            keys << cursor.element()->key();
        QCOMPARE(keys, QList<int>({593, 592, 594}));
        QCOMPARE(view->pageAt(2)->tabType(), DSSettingsPage::TabType::minor);
        QCOMPARE(view->notebook()->currentIndex(), page - 1);
        // Only the page shown is built; the token colour page was never selected.
        QCOMPARE(view->pageAt(page - 1)->isInitialized(), true);
        QCOMPARE(view->pageAt(2 - page)->isInitialized(), false);
        QVERIFY(!view->pageAt(2)->isInitialized());
        QCOMPARE(view->statusText(), QStringLiteral("Page 1 of %1").arg(page == 2 ? 2 : 1));
    }

    void oneSharedNotebookBelongsToTheDesktop()
    {
        KelPreferencesView *shared = KelPreferencesView::getCurrentPreferences(0x7004);
        QCOMPARE(KelPreferencesView::getCurrentPreferences(0x7004), shared);
        shared->performAction();
        shared->performAction();
        QPointer<DSSettingsView> view = shared->settingsView();
        int open = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            open += qobject_cast<DSSettingsView *>(widget) && widget->isVisible() ? 1 : 0;
        QCOMPARE(open, 1);
        QCOMPARE(view->notebook()->currentIndex(), 1);

        // Asked for another page while open: the same notebook turns to it.
        KelPreferencesView::getCurrentPreferences(0x7003)->performAction();
        QCOMPARE(shared->settingsView(), view.data());
        QCOMPARE(view->notebook()->currentIndex(), 0);
        view->close();
        QTRY_VERIFY(view.isNull());

        // Made before any desktop registered it had no owner; once one has, it is made anew
        // with the desktop as owner, and goes with the desktop.
        auto desktop = std::make_unique<HookWindow>(QStringLiteral("Desktop"), 0x7005);
        QPointer<KelPreferencesView> withDesktop = KelPreferencesView::getCurrentPreferences(
            0x7003);
        QCOMPARE(withDesktop->ownerWindow(), desktop.get());
        withDesktop->performAction();
        QCOMPARE(withDesktop->settingsView()->parent(), desktop.get());
        desktop.reset();
        QVERIFY(withDesktop.isNull());
        QVERIFY(KelPreferencesView::getCurrentPreferences(0x7003));
    }

    void theGrapherPageWritesOnApplyAndTellsItsOwner()
    {
        HookWindow grapher(QStringLiteral("Grapher"), 593);
        KelPreferencesView notebook(0x7003, &grapher);
        notebook.performAction();
        auto *page = pageOf<KelGrapherPreferencesPage>(*notebook.settingsView());
        KelPreferencePanel *panel = page->panel();
        QVERIFY(panel);
        QList<QCheckBox *> boxes = page->window()->findChildren<QCheckBox *>();
        QCOMPARE(boxes.size(), 8);
        auto *overview = page->window()->findChild<QCheckBox *>("_overview");
        QVERIFY(!overview->isChecked());
        overview->click();
        QVERIFY(!stored("KelGrapher_overview")); // nothing written before Apply
        panel->applyButton()->click();
        QCOMPARE(stored("KelGrapher_overview"), std::optional<QString>("1"));
        QCOMPARE(grapher.preferencesCalls, 1);

        overview->click();
        panel->undoButton()->click(); // back to what is saved
        QVERIFY(overview->isChecked());
        panel->defaultsButton()->click();
        QVERIFY(!overview->isChecked());
        QCOMPARE(stored("KelGrapher_overview"), std::optional<QString>("0"));
        QCOMPARE(grapher.preferencesCalls, 1);
    }

    void theBrowserPageOffersPlainFacesAndTheSizes()
    {
        QCOMPARE(KelBrowserPreferencesPage::offeredFaces({"DejaVu Sans",
                                                          "Arial Bold",
                                                          "Courier italic",
                                                          "Boldface Gothic",
                                                          "Ubuntu Mono"}),
                 QStringList({"DejaVu Sans", "Ubuntu Mono"}));

        HookWindow browser(QStringLiteral("Browser"), 592);
        KelPreferencesView notebook(0x7004, &browser);
        notebook.performAction();
        auto *page = pageOf<KelBrowserPreferencesPage>(*notebook.settingsView());
        QVERIFY(page->fontList()->count() > 0);
        for (int row = 0; row < page->fontList()->count(); ++row) {
            const QString face = page->fontList()->item(row)->text().toUpper();
            QVERIFY2(!face.contains("BOLD") && !face.contains("ITALIC"), qPrintable(face));
        }
        QStringList sizes;
        for (int row = 0; row < page->sizeList()->count(); ++row)
            sizes << page->sizeList()->item(row)->text();
        QCOMPARE(sizes.join(u' '), QStringLiteral("9 10 11 12 14 16 18 20 22 24 26 28 36 48 72"));
        QCOMPARE(page->sizeList()->currentItem()->text(), QStringLiteral("12"));

        const QString face = page->fontList()->item(page->fontList()->count() - 1)->text();
        page->fontList()->setCurrentRow(page->fontList()->count() - 1);
        page->sizeList()->setCurrentRow(page->sizeList()->count() - 1);
        QCOMPARE(page->sample()->font().pointSize(), 72);
        QVERIFY(!stored("KelBrowser_fontSize"));
        page->panel()->applyButton()->click();
        QCOMPARE(stored("KelBrowser_fontName"), std::optional<QString>(face));
        QCOMPARE(stored("KelBrowser_fontSize"), std::optional<QString>("72"));
        QCOMPARE(browser.preferencesCalls, 1);
    }

    void theTokenColourPageEditsAWorkingCopyUntilApply()
    {
        HookWindow browser(QStringLiteral("Browser"), 592);
        KelPreferencesView notebook(0x7004, &browser);
        notebook.performAction();
        DSSettingsView *view = notebook.settingsView();
        auto *page = pageOf<KelBrowserPreferencesPage2>(*view);
        view->turnToPage(page->pageId());
        QCOMPARE(page->tokenList()->count(), 10);
        QCOMPARE(page->tokenList()->item(1)->text(), QStringLiteral("Data name"));
        QVERIFY(!page->changeButton()->isEnabled() && !page->applyButton()->isEnabled());

        // Operator: olive on white, bold.
        page->tokenList()->setCurrentRow(8);
        QVERIFY(page->styleBox(KelTokenAttribute::bold)->isChecked());
        QVERIFY(!page->styleBox(KelTokenAttribute::underline)->isChecked());
        QVERIFY(page->swatch(3)->isChecked());
        page->groundChoice(KelBrowserPreferencesPage2::Ground::background)->click();
        QVERIFY(page->swatch(15)->isChecked());

        page->swatch(11)->click(); // yellow background
        page->groundChoice(KelBrowserPreferencesPage2::Ground::text)->click();
        page->swatch(9)->click(); // red text
        page->styleBox(KelTokenAttribute::underline)->click();
        const KelTokenAttribute::Word edited
            = KelTokenAttribute::make(9,
                                      11,
                                      KelTokenAttribute::bold | KelTokenAttribute::underline);
        QCOMPARE(page->controlsWord(), edited);
        QCOMPARE(page->sample()->palette().color(QPalette::WindowText),
                 KelColourPalette::colour(9));
        QCOMPARE(page->sample()->palette().color(QPalette::Window), KelColourPalette::colour(11));
        QVERIFY(page->sample()->font().underline() && page->sample()->font().bold());
        QCOMPARE(page->workingCopy()[8], KelTokenAttribute::defaults[8]); // not yet changed

        page->changeButton()->click();
        QCOMPARE(page->workingCopy()[8], edited);
        QCOMPARE(page->tokenList()->item(8)->foreground().color(), KelColourPalette::colour(9));
        QVERIFY(page->applyButton()->isEnabled() && page->resetButton()->isEnabled());
        page->resetButton()->click();
        QCOMPARE(page->workingCopy(), KelTokenAttribute::defaults);

        page->tokenList()->setCurrentRow(8);
        page->swatch(9)->click();
        page->allButton()->click();
        for (KelTokenAttribute::Word word : page->workingCopy())
            QCOMPARE(word, KelTokenAttribute::make(9, 15, KelTokenAttribute::bold));
        QVERIFY(!stored("KelBrowser_Keyword")); // nothing written before Apply
        page->applyButton()->click();
        QCOMPARE(stored("KelBrowser_Keyword"), std::optional<QString>("8441"));
        QCOMPARE(stored("KelBrowser_Other"), std::optional<QString>("8441"));
        QCOMPARE(browser.coloursCalls, 1);
        QCOMPARE(browser.preferencesCalls, 0);
        QVERIFY(!page->applyButton()->isEnabled());

        page->defaultButton()->click();
        QCOMPARE(page->workingCopy(), KelTokenAttribute::defaults);
        page->resetButton()->click(); // back to what was applied
        QCOMPARE(page->workingCopy()[0], KelTokenAttribute::make(9, 15, KelTokenAttribute::bold));
    }

    void theSymbolsAndDataMapPagesLiveInTheViewsOwnNotebook()
    {
        HookWindow dataMap(QStringLiteral("DataMap"), 596);
        auto *opener = new OwnPageOpener<KelDataMapPreferencesPage>(&dataMap);
        opener->performAction();
        KelDataMapPreferencesPage *page = opener->page;
        QCOMPARE(page->tabText(), QStringLiteral("Data Map"));
        QVERIFY(page->isPopulated());
        QCOMPARE(page->findChildren<QCheckBox *>().size(), 3);
        page->findChild<QCheckBox *>("_surfOnScrlReq")->click();
        page->panel()->applyButton()->click();
        QCOMPARE(stored("KelDataMap_surfOnScrlReq"), std::optional<QString>("1"));
        QCOMPARE(dataMap.preferencesCalls, 1);

        HookWindow symbols(QStringLiteral("Symbols"), 595);
        auto *symbolsOpener = new OwnPageOpener<KelSymbolsPreferencesPage>(&symbols);
        symbolsOpener->performAction();
        KelSymbolsPreferencesPage *symbolsPage = symbolsOpener->page;
        QCOMPARE(symbolsPage->tabText(), QStringLiteral("Symbols"));
        QCOMPARE(symbolsPage->findChildren<QCheckBox *>().size(), 5);
        symbolsPage->findChild<QCheckBox *>("_relatedSource")->click();
        symbolsPage->panel()->applyButton()->click();
        QCOMPARE(stored("KelSymbols_relatedSource"), std::optional<QString>("1"));
        QCOMPARE(symbols.preferencesCalls, 1);
        QCOMPARE(dataMap.preferencesCalls, 1);
    }

    void aProfileThatCannotBeWrittenIsReportedAndLeftAlone()
    {
        QFile file(KelPreferenceStore::profile().fileName());
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray damaged("[Preferences\n\x01\x02 not a profile", 28);
        file.write(damaged);
        file.close();
        IFrameWindow owner;
        KelPreferencesView notebook(0x7003, &owner);
        notebook.performAction();
        auto *page = pageOf<KelGrapherPreferencesPage>(*notebook.settingsView());
        page->window()->findChild<QCheckBox *>("_overview")->click();
        QString message;
        ModalAnswerer answerer;
        answerer.answer<QMessageBox>([&](QWidget *box) {
            message = static_cast<QMessageBox *>(box)->text();
            static_cast<QMessageBox *>(box)->accept();
        });
        page->panel()->applyButton()->click();
        QVERIFY(answerer.allAnswered());
        QVERIFY2(message.contains(QStringLiteral("KELINI.INI")), qPrintable(message));
        QVERIFY(page->window()->findChild<QCheckBox *>("_overview")->isChecked());
        QFile again(KelPreferenceStore::profile().fileName());
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), damaged);
    }

private:
    std::unique_ptr<TemporaryHome> m_home;
};

QTEST_MAIN(KelPreferencesViewTest)
#include "KelPreferencesViewTest.moc"
