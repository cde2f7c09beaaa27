// The impact list and the copybook's data map over units recorded as kelmkpu records them.
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "DemoViews.h"
#include "KelCopybookMap.h"
#include "KelDataMapWindow.h"
#include "KelDesktop.h"
#include "KelImpactModel.h"
#include "KelImpactWindow.h"
#include "RecordedUnits.h"
#include "TemporaryHome.h"
#include "WidgetGrab.h"
#include "XIInfoArea.h"

#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

namespace {

std::string line(const char *text)
{
    return std::string("       ") + text + "\n";
}

const std::string mainProgram = line("IDENTIFICATION DIVISION.") + line("PROGRAM-ID. MAINP.")
                                + line("DATA DIVISION.") + line("WORKING-STORAGE SECTION.")
                                + line("COPY PARMREC.") + line("01  WS-PGM  PIC X(8).")
                                + line("PROCEDURE DIVISION.")
                                + line("    ACCEPT WS-DATE FROM DATE.")
                                + line("    CALL 'SUBD' USING WS-PARM.")
                                + line("    CALL WS-PGM USING WS-PARM.") + line("    GOBACK.");
const std::string subProgram = line("IDENTIFICATION DIVISION.") + line("PROGRAM-ID. SUBD.")
                               + line("DATA DIVISION.") + line("LINKAGE SECTION.")
                               + line("01  LK-PARM.") + line("    05  LK-DATE  PIC 9(6).")
                               + line("    05  LK-CODE  PIC X(2).")
                               + line("PROCEDURE DIVISION USING LK-PARM.")
                               + line("    IF LK-DATE < 500000")
                               + line("        MOVE 'OK' TO LK-CODE") + line("    END-IF.")
                               + line("    GOBACK.");
const std::string parmrec = line("01  WS-PARM.") + line("    05  WS-DATE  PIC 9(6).")
                            + line("    05  WS-CODE  PIC X(2).");

} // namespace

class KelImpactViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<RecordedUnits> m_units;
    std::unique_ptr<KelDesktop> m_desktop;
    std::unique_ptr<DemoFactory> m_factory;

    DbPu &unit(const std::string &name)
    {
        DbPu *pu = m_units->open().puNamed(name);
        pu->load();
        return *pu;
    }

private slots:
    void init()
    {
        m_home = std::make_unique<TemporaryHome>();
        m_units = std::make_unique<RecordedUnits>("IMPACT");
        m_units->recordText("MAINP.cbl", mainProgram, {{"PARMREC.cpy", parmrec}});
        m_units->recordText("SUBD.cbl", subProgram);
        m_desktop = std::make_unique<KelDesktop>();
        m_factory = std::make_unique<DemoFactory>();
        m_factory->showWindows = false;
        m_desktop->setKelWindowStart(m_factory.get());
        m_desktop->setApplicationEnd([] {});
        m_desktop->loadEuData(&m_units->open());
    }

    void cleanup()
    {
        for (const DemoFactory::Made &made : std::as_const(m_factory->made))
            delete made.window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_desktop.reset();
        m_factory.reset();
        m_units.reset();
        m_home.reset();
    }

    void listsHitsThenFlowsNotFollowedAndOpensTheStatementInTheBrowser()
    {
        DbPu &mainp = unit("MAINP");
        const DbSymbol *date = nullptr;
        for (std::uint32_t n = 1; n <= mainp.numberOfSymbols(); ++n)
            if (mainp.symbol(n)->name() == "WS-DATE")
                date = mainp.symbol(n);
        QVERIFY(date);
        QString error;
        QPointer<KelImpactWindow> window = openImpactOfItem(m_units->open(), mainp, *date, error);
        QVERIFY2(window, qPrintable(error));
        KelImpactModel *model = window->model();
        const auto cell = [&](int row, int column) {
            return model->data(model->index(row, column)).toString();
        };
        // ACCEPT, the two CALLs, the IF of SUBD; the dynamic CALL not followed.
        QCOMPARE(model->rowCount(), 5);
        QCOMPARE(cell(0, KelImpactModel::statementColumn), QString("ACCEPT WS-DATE FROM DATE"));
        QCOMPARE(cell(0, KelImpactModel::accessColumn), QString("write"));
        QCOMPARE(cell(0, KelImpactModel::chainColumn), QString("direct"));
        QCOMPARE(cell(3, KelImpactModel::programColumn), QString("SUBD"));
        QCOMPARE(cell(3, KelImpactModel::placeColumn), QString("SUBD.cbl:9"));
        QCOMPARE(cell(3, KelImpactModel::chainColumn),
                 QString("MAINP 9 CALL 'SUBD' USING WS-PARM"));
        QCOMPARE(cell(4, KelImpactModel::accessColumn), QString("not followed"));

        // Double-click (activation) asks for the statement in SUBD's browser.
        QSignalSpy opened(window.data(), &KelImpactWindow::statementOpened);
        emit window->list()->activated(model->index(3, 0));
        QCOMPARE(opened.count(), 1);
        QVERIFY(QTest::qWaitFor([&] { return !m_factory->made.isEmpty(); }, 5000));
        const DemoFactory::Made &made = m_factory->made.last();
        QCOMPARE(made.kind, 'b');
        QCOMPARE(made.puName, std::string("SUBD"));
        QVERIFY(made.token);
        QCOMPARE(made.token->text(), std::string("IF"));
        QCOMPARE(made.token->line(), 9u);

        window->resize(window->minimumSizeHint());
        QVERIFY(WidgetGrab::check(window, "impact-minimum"));
        window->resize(900, 420);
        QVERIFY(WidgetGrab::check(window, "impact-typical"));
        window->close();
    }

    void opensTheDataMapOfACopybookOnItsOwn()
    {
        QString error;
        QPointer<KelDataMapWindow> map = openCopybookMap(m_desktop.get(),
                                                         m_units->databasePath(),
                                                         "PARMREC",
                                                         error);
        QVERIFY2(map, qPrintable(error));
        DbPu &pu = map->pu();
        QCOMPARE(pu.numberOfSymbols(), 3u);
        QCOMPARE(pu.symbol(3)->name(), std::string("WS-CODE"));
        QCOMPARE(pu.symbol(3)->offset(), 6u);
        QVERIFY(map->toolTip().contains("as MAINP includes it"));
        QVERIFY(WidgetGrab::check(map, "copybook-map"));
        map->close();

        QVERIFY(!openCopybookMap(nullptr, m_units->databasePath(), "NOSUCH", error));
        QVERIFY(error.contains("NOSUCH"));
    }
};

QTEST_MAIN(KelImpactViewTest)
#include "KelImpactViewTest.moc"
