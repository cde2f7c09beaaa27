// Grabs a real structure tree offscreen at its minimum and at a typical size and checks that the
// texts it shows are drawn whole: the column is as wide as its widest shown text, and what does
// not fit the window scrolls rather than being cut. CHRONEX_GRAB_DIR keeps the pictures.
#include "ClippingCheck.h"
#include "DbEu.h"
#include "RecordedUnits.h"
#include "TemporaryHome.h"
#include "TreeTestSupport.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

class TreeCnrGrabTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_units.recordSample("EMPAGE.cbl");
        m_units.recordSample("PAYRUN.cbl");
        m_eu = &m_units.open();
    }

    void grab_data()
    {
        QTest::addColumn<bool>("wholeUnit");
        QTest::addColumn<QSize>("size");
        QTest::newRow("unit-minimum") << false << QSize();
        QTest::newRow("unit-typical") << false << QSize(420, 520);
        QTest::newRow("execution-unit-typical") << true << QSize(420, 520);
    }

    void grab()
    {
        QFETCH(bool, wholeUnit);
        QFETCH(QSize, size);
        std::unique_ptr<TreeCnr> tree = wholeUnit
                                            ? std::make_unique<TreeCnr>(*m_eu)
                                            : std::make_unique<TreeCnr>(*m_eu->puNamed("PAYRUN"));
        tree->resize(size.isValid() ? size : tree->minimumSizeHint());
        tree->expandAll();
        QVERIFY(QTest::qWaitForWindowExposed(tree.get()));
        QApplication::processEvents();

        // Every shown row's text fits its column; the column may be wider than the window, and
        // then the view scrolls sideways.
        const QFontMetrics metrics(tree->font());
        const int column = tree->header()->sectionSize(0);
        int widest = 0;
        for (QModelIndex index = tree->indexAt(QPoint(1, 1)); index.isValid();
             index = tree->indexBelow(index)) {
            const QRect rect = tree->visualRect(index);
            if (rect.top() > tree->viewport()->height())
                break;
            const int needed = rect.left() + tree->horizontalScrollBar()->value()
                               + metrics.horizontalAdvance(index.data().toString());
            widest = std::max(widest, needed);
            QVERIFY2(needed <= column,
                     qPrintable(QStringLiteral("%1 needs %2 of a column of %3")
                                    .arg(index.data().toString())
                                    .arg(needed)
                                    .arg(column)));
        }
        QVERIFY(widest > 0);
        if (column > tree->viewport()->width())
            QVERIFY(tree->horizontalScrollBar()->maximum() > 0);
        QVERIFY(grabLooksDrawn(tree.get(), QStringLiteral("tree-%1").arg(QTest::currentDataTag())));
    }

private:
    TemporaryHome m_home;
    RecordedUnits m_units;
    DbEu *m_eu = nullptr;
};

QTEST_MAIN(TreeCnrGrabTest)
#include "TreeCnrGrabTest.moc"
