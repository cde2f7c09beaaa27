// The host's views in-process, over real units recorded from the samples, made by the real
// factory through a real desktop: the links between them as a maintainer uses them.

#include "DbEu.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "DbTreeInfo.h"
#include "HostRequests.h"
#include "HostSession.h"
#include "HostWindows.h"
#include "KelBrowser.h"
#include "KelDataMapItem.h"
#include "KelDataMapWindow.h"
#include "KelDesktop.h"
#include "KelDetailsView.h"
#include "KelGrapher.h"
#include "KelImpactWindow.h"
#include "KelListWindow.h"
#include "KelTreeWindow.h"
#include "KelhostResourceIds.h"
#include "RecordedUnits.h"
#include "SourceDocument.h"
#include "StartWindowData.h"
#include "TemporaryHome.h"
#include "TreeCnr.h"
#include "TreeNode.h"
#include "WidgetGrab.h"
#include "XIAction.h"
#include "XISettingsView.h"

#include <QApplication>
#include <QListWidget>
#include <QSortFilterProxyModel>
#include <QTest>

namespace {

template<typename Window>
QList<Window *> openWindows()
{
    QList<Window *> found;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<Window *>(widget); window && window->isVisible())
            found.append(window);
    return found;
}

/// The first token of `pu` reading `text` at or after expanded line `fromLine`.
std::uint32_t tokenNumber(const DbPu &pu, const std::string &text, std::uint32_t fromLine = 0)
{
    for (std::uint32_t n = 1; n <= pu.numberOfTokens(); ++n) {
        const DbToken *token = pu.numberToToken(n);
        if (token->text() == text && token->expandedLine() >= fromLine)
            return n;
    }
    return 0;
}

/// Lets the request threads, the posted events and a "basic" command's worker finish.
void settle()
{
    for (int i = 0; i < 5; ++i) {
        QTest::qWait(20);
        QCoreApplication::sendPostedEvents();
    }
}

} // namespace

class HostViewsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<RecordedUnits> m_units;
    std::unique_ptr<KelDesktop> m_desktop;
    std::unique_ptr<HostWindows> m_windows;
    DbPu *m_payrun = nullptr;

    template<typename Window>
    Window *request(char kind, DbPu *pu, std::uint32_t word1 = 0, DbToken *token = nullptr)
    {
        const int before = m_windows->served();
        auto *data = new StartWindowData(kind, pu, pu ? pu->puName() : std::string(), token);
        data->word1 = word1;
        m_desktop->newWindow(data);
        if (!QTest::qWaitFor([&] { return m_windows->served() > before; }, 5000))
            return nullptr;
        settle();
        return qobject_cast<Window *>(m_windows->lastStarted());
    }

    KelBrowser *browser() { return request<KelBrowser>(StartWindowData::browser, m_payrun); }

private slots:
    void init()
    {
        m_home = std::make_unique<TemporaryHome>();
        m_units = std::make_unique<RecordedUnits>("SAMPLES");
        m_units->recordSample("PAYRUN.cbl");
        m_units->recordSample("EMPAGE.cbl");
        DbEu &eu = m_units->open();
        m_payrun = eu.puNamed("PAYRUN");
        QVERIFY(m_payrun);
        m_desktop = std::make_unique<KelDesktop>();
        m_windows = std::make_unique<HostWindows>();
        m_desktop->setKelWindowStart(m_windows.get());
        m_desktop->setApplicationEnd([] {});
        m_desktop->loadEuData(&eu);
        m_desktop->show();
    }

    void cleanup()
    {
        for (QWidget *window : m_windows->windows())
            delete window;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_desktop.reset();
        m_windows.reset();
        StartWindowData::clearEu();
        m_units.reset();
        m_home.reset();
    }

    void browserShowsADataNamesMapAndTheMapItsDetails()
    {
        KelBrowser *source = browser();
        QVERIFY(source);
        const std::uint32_t birthYear = tokenNumber(*m_payrun, "EMP-START-YY", 100);
        QVERIFY(birthYear);
        QVERIFY(source->showToken(birthYear));
        QAction *showMap = source->action(KelRes::hostShowDataMapCommand);
        QVERIFY(showMap && showMap->isEnabled());
        showMap->trigger();
        QVERIFY(QTest::qWaitFor([] { return !openWindows<KelDataMapWindow>().isEmpty(); }, 5000));
        settle();
        KelDataMapWindow *map = openWindows<KelDataMapWindow>().first();
        QVERIFY(map->selectedItem());
        QCOMPARE(map->selectedItem()->symbol().name(), std::string("EMP-START-YY"));

        map->openDetails(map->selectedItem());
        QVERIFY(map->detailsView() && map->detailsView()->settingsView());
        QVERIFY(map->detailsView()->settingsView()->isVisible());

        // Asked again, the browser finds the open map instead of opening another.
        QVERIFY(source->showToken(tokenNumber(*m_payrun, "EMP-SALARY", 100)));
        showMap->trigger();
        settle();
        QCOMPARE(openWindows<KelDataMapWindow>().size(), 1);
        QCOMPARE(map->selectedItem()->symbol().name(), std::string("EMP-SALARY"));
    }

    void dataMapAndTreeFollowTheBrowsersSelection()
    {
        KelBrowser *source = browser();
        auto *map = request<KelDataMapWindow>(StartWindowData::dataMap, m_payrun);
        auto *tree = request<KelTreeWindow>(HostRequests::treeKind, m_payrun);
        QVERIFY(source && map && tree);

        // A user's selection in the browser moves the map of its unit and the tree.
        const std::uint32_t grade = tokenNumber(*m_payrun, "EMP-SALARY", 100);
        source->sourceView()->selectToken(grade,
                                          SourceView::Placement::centre,
                                          SourceView::Origin::user);
        settle();
        QVERIFY(map->selectedItem());
        QCOMPARE(map->selectedItem()->symbol().name(), std::string("EMP-SALARY"));
        TreeNode *current = tree->tree()->currentNode();
        QVERIFY(current && current->treeInfo());
        const std::string paragraph = m_payrun->numberToToken(grade)->owningSyntaxNode()
                                          ? current->treeInfo()->text()
                                          : std::string();
        QVERIFY2(!paragraph.empty() && paragraph != "PAYRUN", paragraph.c_str());

        // A selection the browser makes for another view is not passed on, and with
        // "request scrolling" off nothing is.
        source->setRequestScroll(false);
        source->sourceView()->selectToken(tokenNumber(*m_payrun, "EMP-ID", 100),
                                          SourceView::Placement::centre,
                                          SourceView::Origin::user);
        settle();
        QCOMPARE(map->selectedItem()->symbol().name(), std::string("EMP-SALARY"));
    }

    void desktopOpenRestoresAMinimizedBrowserInsteadOfOpeningAnother()
    {
        KelBrowser *source = browser();
        QVERIFY(source);
        source->showMinimized();
        QVERIFY(QTest::qWaitFor([&] { return source->isMinimized(); }, 2000));
        const int line = m_desktop->unitList()->row(
            m_desktop->unitList()->findItems(QStringLiteral("PAYRUN"), Qt::MatchEndsWith).first());
        m_desktop->unitList()->setCurrentRow(line);
        m_desktop->openSelected();
        settle();
        QCOMPARE(openWindows<KelBrowser>().size(), 1);
        QVERIFY(!source->isMinimized());
    }

    void eachListIsOneWindowPerUnitAndAskingAgainReusesIt()
    {
        auto *symbols = request<KelListWindow>(StartWindowData::listViews,
                                               m_payrun,
                                               HostRequests::symbolsUsed);
        QVERIFY(symbols);
        QCOMPARE(request<KelListWindow>(StartWindowData::listViews,
                                        m_payrun,
                                        HostRequests::symbolsUsed),
                 symbols);
        auto *members = request<KelListWindow>(StartWindowData::listViews,
                                               m_payrun,
                                               HostRequests::relatedMembers);
        QVERIFY(members && members != symbols);
        QCOMPARE(members->listKind(), HostRequests::relatedMembers);
        QCOMPARE(openWindows<KelListWindow>().size(), 2);
        QVERIFY(WidgetGrab::check(symbols, QStringLiteral("kelhost-symbols")));

        // A double click on a member finds its COPY statement in a browser.
        QVERIFY(members->selectRow(1));
        QVERIFY(members->findSelectedInSource());
        settle();
        const QList<KelBrowser *> browsers = openWindows<KelBrowser>();
        QCOMPARE(browsers.size(), 1);
        const DbToken *copy = browsers.first()->selectedToken();
        QVERIFY(copy);
        QCOMPARE(copy->text(), std::string("COPY"));
    }

    void impactOpensFromTheBrowserAndACopybooksMapFromTheMembersList()
    {
        KelBrowser *source = browser();
        QVERIFY(source->showToken(tokenNumber(*m_payrun, "EMP-START-YY", 100)));
        QAction *impact = source->action(KelRes::hostImpactCommand);
        QVERIFY(impact && impact->isEnabled());
        impact->trigger();
        settle();
        QCOMPARE(openWindows<KelImpactWindow>().size(), 1);

        auto *members = request<KelListWindow>(StartWindowData::listViews,
                                               m_payrun,
                                               HostRequests::relatedMembers);
        QVERIFY(members);
        QAction *storageMap = members->action(KelRes::hostCopybookMapCommand);
        QVERIFY(members->selectRow(0));
        QVERIFY(!storageMap->isEnabled()); // the program source is no copybook
        QVERIFY(members->selectRow(1));
        QVERIFY(storageMap->isEnabled());
        const QList<KelDataMapWindow *> mapsBefore = openWindows<KelDataMapWindow>();
        storageMap->trigger();
        settle();
        QList<KelDataMapWindow *> copybookMaps = openWindows<KelDataMapWindow>();
        for (KelDataMapWindow *map : mapsBefore)
            copybookMaps.removeOne(map);
        QCOMPARE(copybookMaps.size(), 1);

        // Neither window came from the host's factory, so cleanup() would not close them; the
        // impact list refers to this test's execution unit.
        for (KelImpactWindow *window : openWindows<KelImpactWindow>())
            delete window;
        qDeleteAll(copybookMaps);
    }

    void findInGraphFromTheBrowserSelectsTheParagraphInTheOpenGrapher()
    {
        auto *grapher = request<KelGrapher>(StartWindowData::grapher, m_payrun);
        QVERIFY(grapher);
        QVERIFY(WidgetGrab::check(grapher, QStringLiteral("kelhost-grapher")));
        KelBrowser *source = browser();
        QVERIFY(source->showToken(tokenNumber(*m_payrun, "PERFORM")));
        source->action(KelRes::hostFindInGraphCommand)->trigger();
        settle();
        QCOMPARE(openWindows<KelGrapher>().size(), 1);
        QVERIFY(grapher->selectedNode() >= 0);
    }

    void aUnitRecordedAgainSaysSoAndReloadReopensItsViews()
    {
        m_desktop.reset(); // the session makes the process's desktop
        const std::string first = "       IDENTIFICATION DIVISION.\n"
                                  "       PROGRAM-ID. STALE.\n"
                                  "       PROCEDURE DIVISION.\n"
                                  "           GOBACK.\n";
        RecordedUnits units("CHANGING");
        units.recordText("STALE.cbl", first);
        HostSession session(DbEu::open(units.databasePath()));
        session.start({{HostViewKind::browser, "STALE", 0}, {HostViewKind::tree, "STALE", 0}});
        QVERIFY(QTest::qWaitFor([&] { return session.windows().served() == 2; }, 5000));
        settle();
        QPointer<KelBrowser> old = openWindows<KelBrowser>().value(0);
        QVERIFY(old);
        session.checkDatabase();
        QVERIFY(!old->isStale());

        // A conversion records the unit again, longer.
        units.recordText("STALE.cbl",
                         "       IDENTIFICATION DIVISION.\n"
                         "       PROGRAM-ID. STALE.\n"
                         "       PROCEDURE DIVISION.\n"
                         "           DISPLAY 'AGAIN'\n"
                         "           GOBACK.\n");
        session.checkDatabase();
        QVERIFY(old->isStale());
        const auto trees = openWindows<KelTreeWindow>();
        QCOMPARE(trees.size(), 1);
        QVERIFY(trees.first()->isStale());

        // Reload puts both views back on the new contents.
        session.reload();
        QVERIFY(QTest::qWaitFor([&] { return session.windows().served() == 4; }, 5000));
        settle();
        QVERIFY(!old);
        const auto browsers = openWindows<KelBrowser>();
        QCOMPARE(browsers.size(), 1);
        QVERIFY(!browsers.first()->isStale());
        QCOMPARE(browsers.first()->document().lineCount(), 5u);
        QCOMPARE(openWindows<KelTreeWindow>().size(), 1);
    }
};

QTEST_MAIN(HostViewsTest)
#include "HostViewsTest.moc"
