// The data map window over units recorded from real COBOL in a real analysis database: opening
// and registering, following tokens (null, without data symbol, in the record shown, in another
// record, condition names, REDEFINES), the events other views send, marks, expanding and
// collapsing with the paired actions, find, the notebooks, the pop-up menu, copying and saving,
// and the entry function.
#include "DbEu.h"
#include "FindLikeObject.h"
#include "ICommandEvent.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IFrameWindow.h"
#include "KelDataMapActions.h"
#include "KelDataMapCanvas.h"
#include "KelDataMapLegend.h"
#include "KelDataMapPreferencesView.h"
#include "KelDetailsView.h"
#include "KelPreferencesView.h"
#include "KelSettingsView.h"
#include "KeldmapResourceIds.h"
#include "KelresrcResourceIds.h"
#include "MapPrograms.h"
#include "MapTestSupport.h"
#include "RecordedUnits.h"
#include "RegisterInstance.h"
#include "StorageMap.h"
#include "TemporaryHome.h"
#include "WindowRegistry.h"
#include "XIAction.h"
#include "XIFindAndReplaceDialog.h"
#include "XIInfoArea.h"
#include "XISettingsPage.h"
#include "XISettingsView.h"
#include "keldmap.h"

#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const char *const noData = "       IDENTIFICATION DIVISION.\n"
                           "       PROGRAM-ID. NODATA.\n"
                           "       PROCEDURE DIVISION.\n"
                           "           DISPLAY 'NOTHING'\n"
                           "           STOP RUN.\n";

bool sendCommand(KelDataMapWindow &map, unsigned long command)
{
    return ICommandEvent::send(&map, command);
}

bool enabled(KelDataMapWindow &map, unsigned long command)
{
    return map.actions()->action(command)->isEnabled();
}

} // namespace

class KelDataMapWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_units.recordText("MAPTEST.cbl", MapPrograms::customer);
        m_units.recordText("NODATA.cbl", noData);
        m_units.recordSample("EMPAGE.cbl");
        m_eu = &m_units.open();
        m_pu = m_eu->puNamed("MAPTEST");
        QVERIFY(m_pu && m_pu->load());
    }

    void cleanup()
    {
        // Maps delete themselves when closed.
        QList<QPointer<KelDataMapWindow>> maps;
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *map = qobject_cast<KelDataMapWindow *>(window))
                maps << map;
        for (const QPointer<KelDataMapWindow> &map : maps)
            delete map.data();
    }

    void opensOnTheTokensRecordAndRegistersAsView596()
    {
        DbToken *token = m_pu->numberToToken(keyOf(*m_pu, "CUST-LAST"));
        QPointer<KelDataMapWindow> map = new KelDataMapWindow(nullptr,
                                                              nullptr,
                                                              *m_eu,
                                                              *m_pu,
                                                              token);
        QVERIFY(map->isVisible());
        QCOMPARE(recordName(*map), std::string("CUST-REC"));
        QCOMPARE(selectedName(*map), std::string("CUST-LAST"));
        QCOMPARE(map->currentSymbolNumber(), symbolNamed(*m_pu, "CUST-LAST")->sNumber());
        QCOMPARE(map->dialogObjectText(), QStringLiteral("TESTRUN MAPTEST"));
        QCOMPARE(map->titleText(), QStringLiteral("Data Map"));
        QCOMPARE(map->windowTitle(), QStringLiteral("Data Map - TESTRUN MAPTEST - CUST-REC"));
        QCOMPARE(map->puNumber(), m_eu->puToNumber(m_pu));

        QVERIFY(map->registration());
        QCOMPARE(map->registration()->viewNum(), 596ul);
        QCOMPARE(map->registration()->objectId(), QStringLiteral("DataMap"));
        QCOMPARE(map->registration()->puidNum(), m_pu);
        QCOMPARE(map->registration()->euidNum(), m_eu);

        // The record chooser lists every record, the one that redefines another too.
        QStringList records;
        for (int i = 0; i < map->recordChooser()->count(); ++i)
            records << map->recordChooser()->itemText(i);
        QCOMPARE(records,
                 QStringList(
                     {"01 CUST-REC", "01 WS-FLAT", "01 WS-FLAT-R", "77 WS-COUNT", "01 WS-PLAIN"}));
        QCOMPARE(map->recordChooser()->currentText(), QStringLiteral("01 CUST-REC"));

        // The grid is the storage map keldb prints (with the RENAMES pane besides).
        QString expected = QString::fromStdString(
            StorageMap(*symbolNamed(*m_pu, "CUST-REC")).text());
        QString text = map->mapText();
        text.remove(QStringLiteral("  2 CUST-KEY"));
        QCOMPARE(text, QStringLiteral("TESTRUN MAPTEST 01 CUST-REC\n") + expected);

        map->close();
        QTRY_VERIFY(!map);
        QVERIFY(WindowRegistry::windows().isEmpty());
    }

    void opensOnTheFirstRecordOrSaysThereIsNone()
    {
        auto *map = new KelDataMapWindow(nullptr, nullptr, *m_eu, *m_pu, nullptr);
        QCOMPARE(recordName(*map), std::string("CUST-REC"));
        QCOMPARE(map->selectedItem(), nullptr);

        DbPu *empty = m_eu->puNamed("NODATA");
        auto *none = new KelDataMapWindow(nullptr,
                                          nullptr,
                                          *m_eu,
                                          *empty,
                                          plainToken(*empty, "DISPLAY"));
        QCOMPARE(none->record(), nullptr);
        QCOMPARE(none->canvas()->emptyText(),
                 QStringLiteral("The program unit NODATA has no data records to show."));
        QVERIFY(!none->recordChooser()->isEnabled());
        QVERIFY(!enabled(*none, KelRes::mapExpandAllCommand));
        QVERIFY(!enabled(*none, KelRes::detailsCommand));
        QVERIFY(!none->selectTokenNumber(1));
        none->setAllExpanded(true);
        none->copyMapAsText();
        QString error;
        QVERIFY(!none->saveMap(QDir::temp().filePath("none.png"), &error));
    }

    void followingTokens_data()
    {
        QTest::addColumn<QString>("tokenOf"); // a data name, "" for a null token, "*" a keyword
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("rebuilt");

        QTest::newRow("null token changes nothing") << ""
                                                    << "CUST-REC"
                                                    << "CUST-ID" << false;
        QTest::newRow("token without data symbol changes nothing") << "*"
                                                                   << "CUST-REC"
                                                                   << "CUST-ID" << false;
        QTest::newRow("item of the record shown only scrolls") << "ORD-DATE"
                                                               << "CUST-REC"
                                                               << "ORD-DATE" << false;
        QTest::newRow("REDEFINES of a REDEFINES") << "CUST-BIRTH-X"
                                                  << "CUST-REC"
                                                  << "CUST-BIRTH-X" << false;
        QTest::newRow("condition name selects its variable") << "CUST-CLOSED"
                                                             << "CUST-REC"
                                                             << "CUST-STATUS" << false;
        QTest::newRow("RENAMES entry") << "CUST-KEY"
                                       << "CUST-REC"
                                       << "CUST-KEY" << false;
        QTest::newRow("item of another record") << "WS-GROUP-B"
                                                << "WS-PLAIN"
                                                << "WS-GROUP-B" << true;
        QTest::newRow("record that redefines another") << "WS-FLAT-R"
                                                       << "WS-FLAT-R"
                                                       << "WS-FLAT-R" << true;
        QTest::newRow("77 item") << "WS-COUNT"
                                 << "WS-COUNT"
                                 << "WS-COUNT" << true;
    }

    void followingTokens()
    {
        QFETCH(QString, tokenOf);
        QFETCH(QString, record);
        QFETCH(QString, selected);
        QFETCH(bool, rebuilt);

        DbToken *first = m_pu->numberToToken(keyOf(*m_pu, "CUST-ID"));
        auto *map = new KelDataMapWindow(nullptr, nullptr, *m_eu, *m_pu, first);
        const KelDataMapRecord *before = map->record();
        DbToken *token = tokenOf.isEmpty() ? nullptr
                         : tokenOf == "*"
                             ? plainToken(*m_pu, "MOVE")
                             : m_pu->numberToToken(keyOf(*m_pu, tokenOf.toStdString()));
        if (!tokenOf.isEmpty())
            QVERIFY(token);
        map->updateWindow(token);
        QCOMPARE(QString::fromStdString(recordName(*map)), record);
        QCOMPARE(QString::fromStdString(selectedName(*map)), selected);
        QCOMPARE(map->record() != before, rebuilt);
        // The selected item is drawn selected and in view.
        QVERIFY(QTest::qWaitForWindowExposed(map));
        const auto *placed = placedNamed(*map, selected.toStdString());
        QVERIFY(placed);
        QCOMPARE(map->canvas()->selectedPlaced(), int(placed - map->mapLayout()->placed().data()));
        const QRectF visible = map->canvas()->visibleUnitRect();
        QVERIFY(visible.contains(
            QPointF(map->mapLayout()->nameX(*placed), map->mapLayout()->nameBaseline(*placed))));
    }

    void aSelectionInACollapsedGroupOpensTheGroup()
    {
        auto *map = new KelDataMapWindow(nullptr, nullptr, *m_eu, *m_pu, nullptr);
        map->setAllExpanded(false);
        QCOMPARE(map->mapLayout()->placed().size(), 1u);
        QVERIFY(map->selectTokenNumber(keyOf(*m_pu, "ORD-NO")));
        QVERIFY(placedNamed(*map, "ORD-NO"));
        QVERIFY(!placedNamed(*map, "CUST-FIRST")); // other groups stay collapsed
    }

    void answersTheQueryAndFollowsTheFindEvents()
    {
        auto *map = new KelDataMapWindow(nullptr, nullptr, *m_eu, *m_pu, nullptr);
        const auto puNumber = m_eu->puToNumber(m_pu);
        const auto token = keyOf(*m_pu, "WS-GROUP-A");
        QCOMPARE(map->handle().sendEvent(IEventTypes::canShowQuery, token, puNumber), 1ul);
        QCOMPARE(map->handle().sendEvent(IEventTypes::canShowQuery, 0, puNumber), 1ul);
        QCOMPARE(map->handle().sendEvent(IEventTypes::canShowQuery, token, puNumber + 1), 0ul);
        QCOMPARE(map->handle().sendEvent(IEventTypes::canShowQuery, 999999, puNumber), 0ul);

        // Another view finds the map as showDataMap does and posts it the find events.
        IFrameWindow browser;
        FindLikeObject finder(browser.handle(),
                              ICurrentApplication::loadString(KelRes::dataMapView),
                              KelRes::dataMapView,
                              m_eu,
                              m_pu);
        QVERIFY(finder.setToFirst(token, puNumber));
        QCOMPARE(finder.current().frame(), map);
        finder.current().handle().postEvent(IEventTypes::showInDataMap, token, puNumber);
        finder.current().handle().postEvent(IEventTypes::activateView, 0, 0);
        QTRY_COMPARE(selectedName(*map), std::string("WS-GROUP-A"));
        QCOMPARE(recordName(*map), std::string("WS-PLAIN"));

        // An event for another unit's token is not for this map.
        map->handle().postEvent(IEventTypes::showInDataMap, keyOf(*m_pu, "CUST-ID"), puNumber + 1);
        QTest::qWait(10);
        QCOMPARE(selectedName(*map), std::string("WS-GROUP-A"));
    }

    void marksTheDateFieldsTheAnalysisFound()
    {
        auto *map = new KelDataMapWindow(nullptr, nullptr, *m_eu, *m_pu, nullptr);
        const auto *birth = placedNamed(*map, "CUST-BIRTH");
        QVERIFY(birth && birth->item->isMarked());
        QCOMPARE(birth->item->markText(), std::string("ALWAYS-YEAR bytes 1-2"));
        QVERIFY(placedNamed(*map, "CUST-BIRTH-YY")->item->isMarked());
        QVERIFY(!placedNamed(*map, "CUST-ID")->item->isMarked());
        QVERIFY(map->canvas()->paintOptions().showMarks);
        QVERIFY(map->actions()->action(KelRes::mapDateFieldsCommand)->isLatched());

        QVERIFY(sendCommand(*map, KelRes::mapDateFieldsCommand));
        QVERIFY(!map->canvas()->paintOptions().showMarks);
        QVERIFY(!map->actions()->action(KelRes::mapDateFieldsCommand)->isLatched());
        QVERIFY(sendCommand(*map, KelRes::mapHexOffsetsCommand));
        QVERIFY(map->canvas()->paintOptions().hexOffsets);
        QCOMPARE(KelDataMapPainter::offsetText(170, true), QStringLiteral("X'AA'"));
        QCOMPARE(KelDataMapPainter::offsetText(170, false), QStringLiteral("170"));
    }

    void expandingAndCollapsingSwitchThePairedActions()
    {
        auto *map = new KelDataMapWindow(nullptr,
                                         nullptr,
                                         *m_eu,
                                         *m_pu,
                                         m_pu->numberToToken(keyOf(*m_pu, "CUST-NAME")));
        QVERIFY(!enabled(*map, KelRes::mapExpandAllCommand));
        QVERIFY(enabled(*map, KelRes::mapCollapseAllCommand));
        QVERIFY(!enabled(*map, KelRes::mapExpandCommand));
        QVERIFY(enabled(*map, KelRes::mapCollapseCommand));

        QVERIFY(sendCommand(*map, KelRes::mapCollapseCommand));
        QVERIFY(!placedNamed(*map, "CUST-FIRST"));
        QVERIFY(enabled(*map, KelRes::mapExpandCommand));
        QVERIFY(enabled(*map, KelRes::mapExpandAllCommand));
        QVERIFY(enabled(*map, KelRes::mapCollapseAllCommand));

        QVERIFY(sendCommand(*map, KelRes::mapCollapseAllCommand));
        QCOMPARE(map->mapLayout()->placed().size(), 1u);
        QCOMPARE(selectedName(*map), std::string("CUST-REC"));
        QVERIFY(!enabled(*map, KelRes::mapCollapseAllCommand));
        QVERIFY(enabled(*map, KelRes::mapExpandAllCommand));

        QVERIFY(sendCommand(*map, KelRes::mapExpandAllCommand));
        QVERIFY(placedNamed(*map, "CUST-FIRST"));
        QVERIFY(!enabled(*map, KelRes::mapExpandAllCommand));
        QVERIFY(enabled(*map, KelRes::mapCollapseAllCommand));

        // Reset: the selected item collapsed, the items below it as first shown.
        map->selectTokenNumber(keyOf(*m_pu, "CUST-BIRTH-R"));
        QVERIFY(sendCommand(*map, KelRes::mapResetItemCommand));
        QVERIFY(!placedNamed(*map, "CUST-BIRTH-YY"));
        QCOMPARE(selectedName(*map), std::string("CUST-BIRTH-R"));
        QVERIFY(sendCommand(*map, KelRes::mapExpandCommand));
        QVERIFY(placedNamed(*map, "CUST-BIRTH-YY"));
    }

    void thePopUpMenuActsOnItsItem()
    {
        auto *map = new KelDataMapWindow(nullptr, nullptr, *m_eu, *m_pu, nullptr);
        map->selectTokenNumber(keyOf(*m_pu, "CUST-ID"));
        KelDataMapItem *orders = placedNamed(*map, "CUST-ORDERS")->item;
        closePopUpSoon();
        map->showPopUp(orders, map->mapToGlobal(QPoint(100, 100)));
        QCOMPARE(map->popUpItem(), orders);
        QVERIFY(enabled(*map, KelRes::mapCollapsePopupCommand));
        QVERIFY(!enabled(*map, KelRes::mapExpandPopupCommand));
        QVERIFY(sendCommand(*map, KelRes::mapCollapsePopupCommand));
        QVERIFY(!placedNamed(*map, "ORD-NO"));
        QCOMPARE(selectedName(*map), std::string("CUST-ID")); // the selection stays
        QVERIFY(sendCommand(*map, KelRes::mapResetItemPopupCommand));
        QVERIFY(placedNamed(*map, "ORD-NO"));

        QSignalSpy declarations(map, &KelDataMapWindow::findInSourceRequested);
        QVERIFY(sendCommand(*map, KelRes::mapShowDeclarationPopupCommand));
        QVERIFY(sendCommand(*map, KelRes::mapShowDeclarationCommand));
        QCOMPARE(declarations.count(), 2);
        QCOMPARE(declarations.at(0).at(1).value<DbToken *>(),
                 symbolNamed(*m_pu, "CUST-ORDERS")->declaringToken());
        QCOMPARE(declarations.at(1).at(1).value<DbToken *>(),
                 symbolNamed(*m_pu, "CUST-ID")->declaringToken());

        // A pop-up away from any item has no item: its item actions do nothing.
        closePopUpSoon();
        map->showPopUp(nullptr, map->mapToGlobal(QPoint(5, 5)));
        QVERIFY(!enabled(*map, KelRes::detailsPopupCommand));
        QVERIFY(sendCommand(*map, KelRes::mapCollapsePopupCommand));
    }

    void theUsersClickSelectsAndIsOffered()
    {
        auto *map = new KelDataMapWindow(nullptr, nullptr, *m_eu, *m_pu, nullptr);
        map->resize(900, 600);
        QVERIFY(QTest::qWaitForWindowExposed(map));
        QSignalSpy selections(map, &KelDataMapWindow::itemSelected);
        const auto *last = placedNamed(*map, "CUST-LAST");
        const QPointF at = map->canvas()->toViewport(
            QPointF(map->mapLayout()->nameX(*last) + 5, map->mapLayout()->nameBaseline(*last) - 5));
        QTest::mouseClick(map->canvas()->viewport(), Qt::LeftButton, {}, at.toPoint());
        QCOMPARE(selectedName(*map), std::string("CUST-LAST"));
        QCOMPARE(selections.count(), 1);
        QCOMPARE(selections.at(0).at(1).value<DbToken *>(),
                 symbolNamed(*m_pu, "CUST-LAST")->declaringToken());
        QCOMPARE(map->infoArea()->inactiveText(),
                 QStringLiteral("CUST-LAST OF CUST-NAME OF CUST-REC: offset 16, length 15"));
        // Keys move the selection and fold groups.
        QTest::keyClick(map->canvas(), Qt::Key_Down);
        QCOMPARE(selectedName(*map), std::string("CUST-BIRTH"));
        QTest::keyClick(map->canvas(), Qt::Key_Up);
        QTest::keyClick(map->canvas(), Qt::Key_Left);
        QCOMPARE(selectedName(*map), std::string("CUST-NAME"));
        QTest::keyClick(map->canvas(), Qt::Key_Left);
        QVERIFY(!placedNamed(*map, "CUST-LAST"));
        QTest::keyClick(map->canvas(), Qt::Key_Right);
        QVERIFY(placedNamed(*map, "CUST-LAST"));
    }

    void findAndFindAgain()
    {
        auto *map = new KelDataMapWindow(nullptr, nullptr, *m_eu, *m_pu, nullptr);
        QVERIFY(map->runFind("birth", 0, true));
        QCOMPARE(selectedName(*map), std::string("CUST-BIRTH"));
        QStringList found;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(sendCommand(*map, KelRes::findNextCommand));
            found << QString::fromStdString(selectedName(*map));
        }
        QCOMPARE(found,
                 QStringList({"CUST-BIRTH-R", "CUST-BIRTH-YY", "CUST-BIRTH-MMDD", "CUST-BIRTH-X"}));
        // Round again to the first, then into another record.
        QVERIFY(map->findNext());
        QCOMPARE(selectedName(*map), std::string("CUST-BIRTH"));
        QVERIFY(map->runFind("WS-GROUP-B", XIFindAndReplaceDialog::WholeWords, true));
        QCOMPARE(recordName(*map), std::string("WS-PLAIN"));
        QVERIFY(map->runFind("CUST", XIFindAndReplaceDialog::Backward, true));
        QCOMPARE(selectedName(*map), std::string("CUST-KEY"));

        QVERIFY(!map->runFind("NO-SUCH-ITEM", 0, true));
        QCOMPARE(selectedName(*map), std::string("CUST-KEY"));
        QCOMPARE(map->infoArea()->currentMessage(),
                 QStringLiteral("No item of MAPTEST has a name that matches \"NO-SUCH-ITEM\"."));

        QVERIFY(sendCommand(*map, KelRes::findCommand));
        QVERIFY(map->findDialog() && map->findDialog()->isVisible());
        QCOMPARE(map->findDialog()->findText(), QStringLiteral("NO-SUCH-ITEM"));
        emit map->findDialog()->findNext(QStringLiteral("FILLER"), 0);
        QCOMPARE(selectedName(*map), std::string("FILLER"));
    }

    void opensDetailsSettingsAndPreferences()
    {
        auto *map = new KelDataMapWindow(nullptr,
                                         nullptr,
                                         *m_eu,
                                         *m_pu,
                                         m_pu->numberToToken(keyOf(*m_pu, "ORD-DATE")));
        QVERIFY(sendCommand(*map, KelRes::detailsCommand));
        QVERIFY(map->detailsView());
        QCOMPARE(&map->detailsView()->symbol(), symbolNamed(*m_pu, "ORD-DATE"));
        QVERIFY(sendCommand(*map, KelRes::unitSettingsCommand));
        QVERIFY(map->settingsView());
        QCOMPARE(map->settingsView()->pu(), m_pu);
        QVERIFY(sendCommand(*map, KelRes::preferencesCommand));
        XISettingsView *notebook = map->actions()->preferencesView()->settingsView();
        QVERIFY(notebook && notebook->isVisible());
        QCOMPARE(notebook->pageCount(), 1);
        QCOMPARE(notebook->page(0)->objectName(), QStringLiteral("dataMapPreferences"));
        QVERIFY(sendCommand(*map, KelRes::mapViewPreferencesCommand));
        QVERIFY(map->preferencesNotebook()->settingsView());
        // The notebooks and views close with the map.
        const QPointer<XISettingsView> open = notebook;
        const QPointer<KelDetailsView> details = map->detailsView();
        map->close();
        QTRY_VERIFY(!open);
        QTRY_VERIFY(!details);
    }

    void copiesAndSavesTheWholeMap()
    {
        auto *map = new KelDataMapWindow(nullptr, nullptr, *m_eu, *m_pu, nullptr);
        QVERIFY(sendCommand(*map, KelRes::mapCopyTextCommand));
        QCOMPARE(QApplication::clipboard()->text(), map->mapText());

        QTemporaryDir dir;
        QString error;
        QVERIFY2(map->saveMap(dir.filePath("map.png"), &error), qPrintable(error));
        const QImage image(dir.filePath("map.png"));
        QCOMPARE(image.width(), int(std::ceil(map->mapLayout()->width())));
        QCOMPARE(image.height(), int(std::ceil(map->mapLayout()->height())));
        QVERIFY2(map->saveMap(dir.filePath("map.svg"), &error), qPrintable(error));
        QFile svg(dir.filePath("map.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QByteArray drawing = svg.readAll();
        QVERIFY(drawing.contains("CUST-BIRTH-MMDD"));
        QVERIFY(drawing.contains("OCCURS 12 TIMES"));
        QVERIFY2(map->saveMap(dir.filePath("map.txt"), &error), qPrintable(error));
        QFile text(dir.filePath("map.txt"));
        QVERIFY(text.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(QString::fromUtf8(text.readAll()), map->mapText());

        QVERIFY(!map->saveMap(dir.filePath("no/such/dir/map.png"), &error));
        QVERIFY(!error.isEmpty());
    }

    void zoomKeepsThePointUnderThePointer()
    {
        auto *map = new KelDataMapWindow(nullptr, nullptr, *m_eu, *m_pu, nullptr);
        map->resize(700, 400);
        QVERIFY(QTest::qWaitForWindowExposed(map));
        KelDataMapCanvas *canvas = map->canvas();
        const auto *filler = placedNamed(*map, "FILLER");
        const QPointF unit(map->mapLayout()->nameX(*filler),
                           map->mapLayout()->nameBaseline(*filler));
        const QPoint at = canvas->toViewport(unit).toPoint();
        QWheelEvent wheel(at,
                          canvas->viewport()->mapToGlobal(at),
                          {},
                          QPoint(0, 240),
                          Qt::NoButton,
                          Qt::ControlModifier,
                          Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(canvas->viewport(), &wheel);
        QVERIFY(canvas->zoom() > 1.3);
        QVERIFY((canvas->toViewport(unit) - QPointF(at)).manhattanLength() < 3);
        QTest::keyClick(canvas, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(canvas->zoom(), 1.0);
        for (int i = 0; i < 20; ++i)
            QVERIFY(sendCommand(*map, KelRes::mapZoomOutCommand));
        QCOMPARE(canvas->zoom(), KelDataMapCanvas::minimumZoom);
        QVERIFY(canvas->placedAt(canvas->toViewport(unit).toPoint() + QPoint(2, -2))
                == int(filler - map->mapLayout()->placed().data()));
    }

    void largeAndDeepRecordsStayCorrectAndResponsive()
    {
        RecordedUnits units("LARGE");
        units.recordText("BIGREC.cbl", MapPrograms::bigRecord(12000));
        units.recordText("DEEPREC.cbl", MapPrograms::deepRecord(49));
        DbEu &eu = units.open();
        DbPu *big = eu.puNamed("BIGREC");
        QVERIFY(big && big->load());
        auto *map = new KelDataMapWindow(nullptr, nullptr, eu, *big, nullptr);
        map->resize(900, 600);
        QVERIFY(QTest::qWaitForWindowExposed(map));
        QCOMPARE(map->mapLayout()->placed().size(), 1u + 1200 + 12000);
        // Each paint draws what is in view, wherever the view is.
        QVERIFY(map->selectTokenNumber(keyOf(*big, "ITEM-XXXXXXXXXXXXXXXXXXXX11999")));
        map->canvas()->viewport()->repaint();
        QVERIFY(map->canvas()->lastPaintedItems() > 0);
        QVERIFY(map->canvas()->lastPaintedItems() < 200);
        QCOMPARE(map->mapLayout()->byteOffsetOfLine(map->mapLayout()->rows().size()), 12000u * 8);
        QVERIFY(map->runFind("ITEM-XXXXXXXXXXXXXXXXXXXXX5000",
                             XIFindAndReplaceDialog::WholeWords,
                             true));
        QCOMPARE(selectedName(*map), std::string("ITEM-XXXXXXXXXXXXXXXXXXXXX5000"));
        QVERIFY(sendCommand(*map, KelRes::mapCollapseAllCommand));
        QVERIFY(sendCommand(*map, KelRes::mapExpandAllCommand));
        QCOMPARE(map->mapLayout()->placed().size(), 1u + 1200 + 12000);

        DbPu *deep = eu.puNamed("DEEPREC");
        QVERIFY(deep && deep->load());
        auto *deepMap = new KelDataMapWindow(nullptr,
                                             nullptr,
                                             eu,
                                             *deep,
                                             deep->numberToToken(keyOf(*deep, "HUGE-TABLE")));
        QCOMPARE(selectedName(*deepMap), std::string("HUGE-TABLE"));
        QCOMPARE(placedNamed(*deepMap, "HUGE-TABLE")->column, 49u);
        QVERIFY(deepMap->mapText().contains(QStringLiteral("49 HUGE-TABLE OCCURS 99999999 TIMES")));
        deepMap->canvas()->viewport()->repaint();
        delete deepMap;
        delete map;
    }

    void theEntryFunctionRunsTheLoopOnlyWhenNoneRuns()
    {
        ICurrentApplication::setUserResourceLibrary(QStringLiteral("KELWIZRS"));
        QTimer::singleShot(0, [] { QCoreApplication::exit(7); });
        DbToken *token = m_pu->numberToToken(1);
        QCOMPARE(keldmap(*m_eu, *m_pu, *token), 7);
        QCOMPARE(ICurrentApplication::userResourceLibraryName(), QStringLiteral("KELRESRC"));
        int nested = -1;
        QTimer::singleShot(0, [&] {
            nested = keldmap(*m_eu, *m_pu, *token);
            QCoreApplication::exit(0);
        });
        QCOMPARE(keldmap(*m_eu, *m_pu, *token), 0);
        QCOMPARE(nested, 0);
    }

private:
    TemporaryHome m_home;
    RecordedUnits m_units;
    DbEu *m_eu = nullptr;
    DbPu *m_pu = nullptr;
};

QTEST_MAIN(KelDataMapWindowTest)
#include "KelDataMapWindowTest.moc"
