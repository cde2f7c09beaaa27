#include "KelGrapher.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbToken.h"
#include "DemoViews.h"
#include "GrapherNodeItem.h"
#include "GrapherOverview.h"
#include "GrapherScene.h"
#include "IEventTypes.h"
#include "IUserEvent.h"
#include "KelDesktop.h"
#include "KelGrapherPreferences.h"
#include "RecordedUnits.h"
#include "StartWindowData.h"
#include "TemporaryHome.h"
#include "makeGrapherWindow.h"

#include <QApplication>
#include <QFile>
#include <QGraphicsView>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

/// MAIN performs A and B; DEAD is never reached.
const char *const flowProgram = "       IDENTIFICATION DIVISION.\n"
                                "       PROGRAM-ID. FLOWW.\n"
                                "       PROCEDURE DIVISION.\n"
                                "       MAIN.\n"
                                "           PERFORM A.\n"
                                "           PERFORM B.\n"
                                "           STOP RUN.\n"
                                "       A.\n"
                                "           DISPLAY 'IN A'.\n"
                                "       B.\n"
                                "           DISPLAY 'IN B'.\n"
                                "       DEAD SECTION.\n"
                                "       D1.\n"
                                "           DISPLAY 'NEVER'.\n";

const char *const callerProgram = "       IDENTIFICATION DIVISION.\n"
                                  "       PROGRAM-ID. CALLER.\n"
                                  "       PROCEDURE DIVISION.\n"
                                  "           CALL 'FLOWW'.\n"
                                  "           STOP RUN.\n";

/// A program of `sections` sections of `paragraphs` paragraphs each, every one performed.
std::string bigProgram(int sections, int paragraphs)
{
    std::string text = "       IDENTIFICATION DIVISION.\n       PROGRAM-ID. BIG.\n"
                       "       PROCEDURE DIVISION.\n       MAIN SECTION.\n       M0.\n";
    for (int s = 1; s <= sections; ++s)
        text += "           PERFORM S" + std::to_string(s) + ".\n";
    text += "           STOP RUN.\n";
    for (int s = 1; s <= sections; ++s) {
        text += "       S" + std::to_string(s) + " SECTION.\n";
        for (int p = 1; p <= paragraphs; ++p)
            text += "       S" + std::to_string(s) + "-P" + std::to_string(p)
                    + ".\n           DISPLAY 'X'.\n";
    }
    return text;
}

int nodeNamed(const FlowGraph &graph, const std::string &name)
{
    for (int i = 0; i < static_cast<int>(graph.nodes.size()); ++i)
        if (graph.nodes[i].name == name)
            return i;
    return -1;
}

/// The first token of `pu` with `text` (upper case as written).
std::uint32_t tokenNumber(DbPu &pu, const std::string &text)
{
    for (std::uint32_t n = 1; n <= pu.numberOfTokens(); ++n)
        if (pu.numberToToken(n)->text() == text)
            return n;
    return 0;
}

unsigned long send(QWidget *window, int event, unsigned long p1, unsigned long p2)
{
    IUserEvent query(event, p1, p2);
    QCoreApplication::sendEvent(window, &query);
    return query.result();
}

} // namespace

/// The grapher as the host opens it: through its factory entry, over a real database, with a
/// real desktop whose stand-in factory makes the browsers the links look for.
class KelGrapherTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<RecordedUnits> m_units;
    std::unique_ptr<KelDesktop> m_desktop;
    std::unique_ptr<DemoFactory> m_factory;
    QList<QPointer<QWidget>> m_windows;

    DbPu *unit(const std::string &name)
    {
        DbPu *pu = m_units->open().puNamed(name);
        if (pu)
            pu->load();
        return pu;
    }

    KelGrapher *openGrapher(const std::string &unitName, DbToken *token = nullptr)
    {
        DbPu *pu = unitName.empty() ? nullptr : unit(unitName);
        QWidget *window = makeGrapherWindow(
            StartWindowData(StartWindowData::grapher, pu, unitName, token));
        m_windows << window;
        return qobject_cast<KelGrapher *>(window);
    }

    DemoView *openBrowser(const std::string &unitName)
    {
        const int before = static_cast<int>(m_factory->made.size());
        m_desktop->newWindow(
            new StartWindowData(StartWindowData::browser, unit(unitName), unitName));
        if (!QTest::qWaitFor([&] { return m_factory->made.size() > before; }, 5000))
            return nullptr;
        return qobject_cast<DemoView *>(m_factory->made.last().window.data());
    }

private slots:
    void init()
    {
        m_home = std::make_unique<TemporaryHome>();
        m_units = std::make_unique<RecordedUnits>("GRAPHRUN");
        m_units->recordText("FLOWW.cbl", flowProgram);
        m_units->recordText("CALLER.cbl", callerProgram);
        m_desktop = std::make_unique<KelDesktop>();
        m_factory = std::make_unique<DemoFactory>();
        m_desktop->setKelWindowStart(m_factory.get());
        m_desktop->setApplicationEnd([] {});
        m_desktop->loadEuData(&m_units->open());
    }

    void cleanup()
    {
        for (const QPointer<QWidget> &window : std::as_const(m_windows))
            delete window.data();
        m_windows.clear();
        for (const DemoFactory::Made &made : std::as_const(m_factory->made))
            delete made.window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_desktop.reset();
        m_factory.reset();
        m_units.reset();
        m_home.reset();
    }

    void drawsTheUnitsFlowWithUnreachableCodeGreyedAndRegistersAsView593()
    {
        KelGrapher *grapher = openGrapher("FLOWW");
        QVERIFY(grapher && grapher->isVisible());
        QCOMPARE(grapher->registration() != nullptr, true);
        QCOMPARE(grapher->viewKind(), 593ul);
        const FlowGraph &graph = grapher->shownGraph();
        QCOMPARE(grapher->scene()->nodeCount(), static_cast<int>(graph.nodes.size()));
        QVERIFY(graph.nodes[nodeNamed(graph, "MAIN")].entry);
        QCOMPARE(graph.nodes[nodeNamed(graph, "MAIN")].end, FlowGraph::EndKind::stopRun);
        QVERIFY(!graph.nodes[nodeNamed(graph, "DEAD")].reachable);
        QVERIFY(!graph.nodes[nodeNamed(graph, "D1")].reachable);
        QVERIFY(grapher->statusText().contains(QStringLiteral("2 unreachable")));
    }

    void answersTheQueryForItsOwnTokensOnly()
    {
        KelGrapher *grapher = openGrapher("FLOWW");
        DbPu *pu = unit("FLOWW");
        const unsigned long own = m_units->open().puToNumber(pu);
        const unsigned long other = m_units->open().puToNumber(unit("CALLER"));
        struct Row
        {
            const char *label;
            unsigned long token;
            unsigned long unit;
            unsigned long answer;
        };
        const Row rows[] = {
            {"a token of its unit", 5, own, 1},
            {"no token (a find without one)", 0, own, 1},
            {"past the last token", pu->numberOfTokens() + 1, own, 0},
            {"another unit", 5, other, 0},
            {"no unit", 5, 0, 0},
        };
        for (const Row &row : rows)
            QVERIFY2(send(grapher, IEventTypes::canShowQuery, row.token, row.unit) == row.answer,
                     row.label);

        // The execution unit's graph shows each unit as a whole, not a particular token of it.
        KelGrapher *whole = openGrapher("");
        QCOMPARE(send(whole, IEventTypes::canShowQuery, 0, other), 1ul);
        QCOMPARE(send(whole, IEventTypes::canShowQuery, 1, other), 1ul);
        QCOMPARE(send(whole, IEventTypes::canShowQuery, 5, other), 0ul);
        QCOMPARE(send(whole, IEventTypes::canShowQuery, 0, 99), 0ul);
    }

    void findInGraphSelectsTheNodeHoldingTheToken()
    {
        KelGrapher *grapher = openGrapher("FLOWW");
        DbPu *pu = unit("FLOWW");
        DemoView *browser = openBrowser("FLOWW");
        QVERIFY(browser);
        // The browser's find reaches the open grapher through the registry (0x4012).
        const std::uint32_t inB = tokenNumber(*pu, "'IN B'");
        QVERIFY(inB != 0);
        QVERIFY(browser->findInGraph(pu, pu->numberToToken(inB)));
        QTRY_COMPARE(grapher->selectedNode(), nodeNamed(grapher->shownGraph(), "B"));
        QVERIFY(grapher->scene()->nodeItem(grapher->selectedNode())->isChosen());
        QCOMPARE(m_factory->made.size(), 1); // no new window was asked for

        // A token of another unit, or outside every paragraph, changes nothing.
        send(grapher, IEventTypes::findInGraph, inB, 99);
        QCOMPARE(grapher->selectedNode(), nodeNamed(grapher->shownGraph(), "B"));
        send(grapher, IEventTypes::findInGraph, 1, m_units->open().puToNumber(pu));
        QCOMPARE(grapher->selectedNode(), nodeNamed(grapher->shownGraph(), "B"));

        // The execution unit's graph selects the unit's program.
        KelGrapher *whole = openGrapher("");
        send(whole, IEventTypes::findInGraph, inB, m_units->open().puToNumber(pu));
        QCOMPARE(whole->selectedNode(), nodeNamed(whole->shownGraph(), "FLOWW"));
    }

    void selectingANodeFindsItInTheSource()
    {
        DbPu *pu = unit("FLOWW");
        DemoView *browser = openBrowser("FLOWW");
        KelGrapher *grapher = openGrapher("FLOWW");
        QVERIFY(browser && grapher);
        QCOMPARE(grapher->requestScroll(), 1u); // the preference's default
        const int a = nodeNamed(grapher->shownGraph(), "A");
        // A click on the node in the view: the gesture selects it and tells the browser.
        QApplication::processEvents();
        GrapherNodeItem *item = grapher->scene()->nodeItem(a);
        grapher->graphView()->centerOn(item);
        const QPoint at = grapher->graphView()->mapFromScene(item->sceneBoundingRect().center());
        browser->received.clear();
        QTest::mouseClick(grapher->graphView()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(grapher->selectedNode(), a);
        QTRY_VERIFY(!browser->received.isEmpty());
        QCOMPARE(browser->received.first().event, IEventTypes::findInSource);
        const DbToken *first = pu->numberToToken(grapher->shownGraph().nodes[a].firstToken);
        QCOMPARE(browser->received.first().parameter1,
                 static_cast<unsigned long>(pu->nodeToNumber(pu->tokenToNode(first))));

        // Selected by another view's request: nobody is told.
        browser->received.clear();
        grapher->selectNode(nodeNamed(grapher->shownGraph(), "B"),
                            KelGrapher::Selection::byRequest);
        QTest::qWait(50);
        QVERIFY(browser->received.isEmpty());
    }

    void thePreferencesTakeEffectWhileTheWindowIsOpen()
    {
        KelGrapher *grapher = openGrapher("FLOWW");
        QVERIFY(!grapher->overview()->isVisibleTo(grapher)); // off by default
        QVERIFY(grapher->zoomRow()->isVisibleTo(grapher));
        QVERIFY(grapher->progressRow()->isVisibleTo(grapher));
        QVERIFY(grapher->returnArcsShown());
        QVERIFY(!grapher->scene()->nodeItem(0)->toolTip().isEmpty());

        KelGrapherPreferences preferences(grapher);
        preferences.overview = true;
        preferences.showReturnArcs = false;
        preferences.showHoverHelp = false;
        preferences.showZoomSlider = false;
        preferences.showProgressSlider = false;
        preferences.requestScroll = false;
        preferences.applyPreferences(); // saves, then calls the grapher's hook

        QVERIFY(grapher->overview()->isVisibleTo(grapher));
        QVERIFY(!grapher->zoomRow()->isVisibleTo(grapher));
        QVERIFY(!grapher->progressRow()->isVisibleTo(grapher));
        QVERIFY(!grapher->returnArcsShown());
        QVERIFY(grapher->scene()->nodeItem(0)->toolTip().isEmpty());
        QCOMPARE(grapher->requestScroll(), 0u);
        for (QGraphicsItem *item : grapher->scene()->items())
            if (auto *arc = dynamic_cast<QGraphicsPathItem *>(item))
                QVERIFY(arc->isVisible() || arc->pen().style() == Qt::DashLine);

        // A new grapher reads what was saved.
        KelGrapher *second = openGrapher("FLOWW");
        QVERIFY(second->overview()->isVisibleTo(second));
        QVERIFY(!second->zoomRow()->isVisibleTo(second));
    }

    void theProgressSliderWalksTheNodesInExecutionOrder()
    {
        KelGrapher *grapher = openGrapher("FLOWW");
        const FlowGraph &graph = grapher->shownGraph();
        QStringList walked;
        for (int step = 0; step <= grapher->progressSlider()->maximum(); ++step) {
            grapher->progressSlider()->setValue(step);
            walked << QString::fromStdString(graph.nodes[graph.executionOrder[step]].name);
        }
        QCOMPARE(walked, (QStringList{"MAIN", "A", "B"}));
        grapher->zoomSlider()->setValue(50);
        QCOMPARE(grapher->graphView()->transform().m11(), 0.5);
    }

    void largeUnitsOpenWithSectionsFoldedAndFindsReachIntoThem()
    {
        m_units->recordText("BIG.cbl", bigProgram(40, 12));
        m_desktop->loadEuData(&m_units->open());
        KelGrapher *grapher = openGrapher("BIG");
        QVERIFY(grapher->fullGraph().nodes.size() > 400);
        QCOMPARE(grapher->shownGraph().nodes.size(), 41u); // the sections
        DbPu *pu = unit("BIG");
        const std::uint32_t token = tokenNumber(*pu, "S7-P3");
        send(grapher, IEventTypes::findInGraph, token, m_units->open().puToNumber(pu));
        QCOMPARE(grapher->selectedNode(), nodeNamed(grapher->shownGraph(), "S7"));
        // A double click on a folded section unfolds that one section, and again folds it.
        auto doubleClick = [grapher](const std::string &name) {
            GrapherNodeItem *item = grapher->scene()->nodeItem(
                nodeNamed(grapher->shownGraph(), name));
            grapher->graphView()->centerOn(item);
            QTest::mouseDClick(grapher->graphView()->viewport(),
                               Qt::LeftButton,
                               {},
                               grapher->graphView()->mapFromScene(
                                   item->sceneBoundingRect().center()));
        };
        doubleClick("S7");
        QCOMPARE(grapher->shownGraph().nodes.size(), 41u + 12u);
        doubleClick("S7");
        QCOMPARE(grapher->shownGraph().nodes.size(), 41u);
        // Unfolded, the same token is in its paragraph; the selection follows the unfolding.
        grapher->setFolded({});
        QCOMPARE(grapher->shownGraph().nodes.size(), grapher->fullGraph().nodes.size());
        QCOMPARE(grapher->selectedNode(), nodeNamed(grapher->shownGraph(), "S7"));
        send(grapher, IEventTypes::findInGraph, token, m_units->open().puToNumber(pu));
        QCOMPARE(grapher->selectedNode(), nodeNamed(grapher->shownGraph(), "S7-P3"));
    }

    void theExecutionUnitShowsProgramsCallsAndOnDemandCopybooks()
    {
        KelGrapher *whole = openGrapher("");
        const FlowGraph &graph = whole->shownGraph();
        QCOMPARE(graph.nodes.size(), 2u);
        QCOMPARE(graph.arcs.size(), 1u);
        QCOMPARE(graph.nodes[graph.arcs[0].from].name, std::string("CALLER"));
        QVERIFY(graph.nodes[nodeNamed(graph, "CALLER")].entry);
        QVERIFY(whole->windowTitle().contains(QStringLiteral("GRAPHRUN")));
    }

    void exportsSvgAndDot()
    {
        KelGrapher *grapher = openGrapher("FLOWW");
        QTemporaryDir directory;
        QString error;
        QVERIFY(
            grapher->exportTo(directory.filePath("g.svg"), KelGrapher::ExportFormat::svg, error));
        QVERIFY(
            grapher->exportTo(directory.filePath("g.dot"), KelGrapher::ExportFormat::dot, error));
        QFile svg(directory.filePath("g.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray picture = svg.readAll();
        QVERIFY(picture.startsWith("<?xml"));
        QVERIFY(picture.contains(">MAIN</text>"));
        QFile dot(directory.filePath("g.dot"));
        QVERIFY(dot.open(QIODevice::ReadOnly));
        QVERIFY(dot.readAll().startsWith("digraph \"FLOWW\""));
        // A place that cannot be written: false, and the message names it.
        const QString bad = directory.filePath("missing/dir/g.svg");
        QVERIFY(!grapher->exportTo(bad, KelGrapher::ExportFormat::svg, error));
        QVERIFY(error.contains(bad));
    }
};

QTEST_MAIN(KelGrapherTest)
#include "KelGrapherTest.moc"
