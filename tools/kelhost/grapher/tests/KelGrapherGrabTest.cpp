#include "KelGrapher.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DemoViews.h"
#include "GrapherNodeItem.h"
#include "GrapherScene.h"
#include "KelDesktop.h"
#include "RecordedUnits.h"
#include "StartWindowData.h"
#include "TemporaryHome.h"
#include "makeGrapherWindow.h"

#include <QDir>
#include <QFontMetricsF>
#include <QGraphicsView>
#include <QImage>
#include <QSlider>
#include <QtTest>

#include <filesystem>
#include <memory>

namespace {

/// Every kind of arc in one program: sections, a THRU range left by GO TO, GO TO DEPENDING ON,
/// ALTER, a recursive PERFORM chain and dead code.
const char *const allArcs = R"(       IDENTIFICATION DIVISION.
       PROGRAM-ID. ALLARCS.
       DATA DIVISION.
       WORKING-STORAGE SECTION.
       01  WS-CODE PIC 9 VALUE 1.
       01  WS-EOF  PIC X VALUE 'N'.
       PROCEDURE DIVISION.
       CONTROL-SECTION SECTION.
       MAIN-LINE.
           PERFORM INIT-SECTION.
           PERFORM READ-LOOP THRU READ-LOOP-EXIT
               UNTIL WS-EOF = 'Y'.
           ALTER SWITCH-PARA TO PROCEED TO FINISH-UP.
           PERFORM SWITCH-PARA.
           STOP RUN.
       SWITCH-PARA.
           GO TO NORMAL-END.
       NORMAL-END.
           DISPLAY 'NORMAL'.
       FINISH-UP.
           GOBACK.
       INIT-SECTION SECTION.
       INIT-FILES.
           DISPLAY 'OPEN'.
       INIT-TOTALS.
           MOVE 0 TO WS-CODE.
       PROCESS-SECTION SECTION.
       READ-LOOP.
           IF WS-CODE > 3 GO TO READ-LOOP-EXIT END-IF.
           GO TO CODE-1 CODE-2 CODE-3 DEPENDING ON WS-CODE.
           GO TO READ-LOOP-EXIT.
       CODE-1.
           PERFORM NESTED-A.
           GO TO READ-LOOP-EXIT.
       CODE-2.
           GO TO READ-LOOP-EXIT.
       CODE-3.
           MOVE 'Y' TO WS-EOF.
       READ-LOOP-EXIT.
           EXIT.
       NESTED-A.
           PERFORM NESTED-B.
       NESTED-B.
           IF WS-CODE = 9 PERFORM NESTED-A END-IF.
       OLD-CODE.
           DISPLAY 'NEVER CALLED'.
       OLD-CODE-2.
           DISPLAY 'NOR THIS'.
)";

} // namespace

/// Grabs of the grapher on every sample program and on the samples' execution unit, at the
/// window's minimum size and at a typical size. CHRONEX_GRAB_DIR=/tmp/grabs keeps the pictures.
class KelGrapherGrabTest : public QObject
{
    Q_OBJECT

private:
    TemporaryHome m_home;
    RecordedUnits m_units{"SAMPLES"};
    KelDesktop m_desktop;
    DemoFactory m_factory;

    void grab(KelGrapher *grapher, const QString &name)
    {
        for (const QSize &size : {grapher->minimumSizeHint(), QSize(1100, 760)}) {
            grapher->resize(size);
            QApplication::processEvents();
            if (size.width() > 1000) {
                // The typical size at actual size, on the entry, as a user reads the graph.
                grapher->zoomSlider()->setValue(100);
                const FlowGraph &shown = grapher->shownGraph();
                if (!shown.executionOrder.empty())
                    grapher->graphView()->centerOn(
                        grapher->scene()->nodeItem(shown.executionOrder.front()));
                QApplication::processEvents();
            }
            const QImage picture = grapher->grab().toImage();
            const QString dir = qEnvironmentVariable("CHRONEX_GRAB_DIR");
            if (!dir.isEmpty()) {
                QDir().mkpath(dir);
                picture.save(QDir(dir).filePath(QStringLiteral("grapher-%1-%2x%3.png")
                                                    .arg(name)
                                                    .arg(size.width())
                                                    .arg(size.height())));
            }
            // The graph is drawn: the view holds pixels that are neither white nor background.
            const QImage view = grapher->graphView()->viewport()->grab().toImage();
            int inked = 0;
            for (int y = 0; y < view.height(); y += 3)
                for (int x = 0; x < view.width(); x += 3)
                    inked += view.pixelColor(x, y) != QColor(Qt::white) ? 1 : 0;
            QVERIFY2(inked > 20, qPrintable(name));
        }
        // Every name fits in its box.
        const QFontMetricsF metrics(grapher->graphView()->font());
        const FlowGraph &graph = grapher->shownGraph();
        for (std::size_t i = 0; i < graph.nodes.size(); ++i)
            QVERIFY2(grapher->shownLayout().nodes[i].width
                         >= metrics.horizontalAdvance(QString::fromStdString(graph.nodes[i].name))
                                + 8,
                     graph.nodes[i].name.c_str());
    }

private slots:
    void initTestCase()
    {
        const std::filesystem::path samples = RecordedUnits::samplesDirectory();
        for (const auto &entry : std::filesystem::directory_iterator(samples))
            if (entry.path().extension() == ".cbl")
                m_units.recordSample(entry.path().filename().string());
        m_desktop.setKelWindowStart(&m_factory);
        m_desktop.setApplicationEnd([] {});
        m_desktop.loadEuData(&m_units.open());
    }

    void eachSampleProgram()
    {
        DbEu &eu = m_units.open();
        QVERIFY(eu.numberOfUnits() >= 5);
        for (std::uint32_t u = 1; u <= eu.numberOfUnits(); ++u) {
            DbPu *pu = eu.numberToPu(u);
            QVERIFY(pu->load());
            auto *grapher = qobject_cast<KelGrapher *>(
                makeGrapherWindow(StartWindowData(StartWindowData::grapher, pu, pu->puName())));
            QVERIFY(grapher);
            QVERIFY2(!grapher->shownGraph().nodes.empty(), pu->puName().c_str());
            grab(grapher, QString::fromStdString(pu->puName()));
            delete grapher;
        }
    }

    void everyKindOfArc()
    {
        RecordedUnits units("ARCS");
        units.recordText("ALLARCS.cbl", allArcs);
        DbPu *pu = units.open().numberToPu(1);
        QVERIFY(pu && pu->load());
        m_desktop.loadEuData(&units.open());
        auto *grapher = qobject_cast<KelGrapher *>(
            makeGrapherWindow(StartWindowData(StartWindowData::grapher, pu, pu->puName())));
        QVERIFY(grapher);
        grab(grapher, QStringLiteral("ALLARCS"));
        grapher->setFolded({0});
        grab(grapher, QStringLiteral("ALLARCS-folded"));
        delete grapher;
        m_desktop.loadEuData(&m_units.open());
    }

    void theExecutionUnitWithItsCopybooks()
    {
        auto *grapher = qobject_cast<KelGrapher *>(
            makeGrapherWindow(StartWindowData(StartWindowData::grapher, nullptr, "")));
        QVERIFY(grapher);
        grapher->setCopybooksShown(true);
        grab(grapher, QStringLiteral("execution-unit"));
        delete grapher;
    }
};

QTEST_MAIN(KelGrapherGrabTest)
#include "KelGrapherGrabTest.moc"
