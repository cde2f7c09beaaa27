// Grabs real data maps offscreen at the window's minimum and at a typical size: no label, button
// or legend text is cut, and every name and OCCURS caption drawn in view is drawn whole inside
// its item's box, in the cell of its row and column. CHRONEX_GRAB_DIR keeps the pictures.
#include "ClippingCheck.h"
#include "DbEu.h"
#include "KelDataMapCanvas.h"
#include "MapPrograms.h"
#include "MapTestSupport.h"
#include "RecordedUnits.h"
#include "TemporaryHome.h"

#include <QFontMetricsF>
#include <QTest>

namespace {

/// How many pixels of `rect` in `image` are dark enough to be text.
int darkPixels(const QImage &image, const QRect &rect)
{
    int dark = 0;
    const QRect inside = rect.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (qGray(image.pixel(x, y)) < 120)
                ++dark;
    return dark;
}

} // namespace

class KelDataMapGrabTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_units.recordText("MAPTEST.cbl", MapPrograms::customer);
        m_units.recordSample("EMPAGE.cbl");
        m_eu = &m_units.open();
    }

    void grab_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QSize>("size");
        QTest::newRow("customer-minimum") << "MAPTEST"
                                          << "CUST-BIRTH" << QSize();
        QTest::newRow("customer-typical") << "MAPTEST"
                                          << "CUST-BIRTH-YY" << QSize(1100, 560);
        QTest::newRow("long-names-typical") << "MAPTEST"
                                            << "WS-GROUP-B" << QSize(900, 400);
        QTest::newRow("employee-typical") << "EMPAGE"
                                          << "EMP-HIST-FROM" << QSize(1000, 640);
        QTest::newRow("employee-minimum") << "EMPAGE"
                                          << "EMP-NAME" << QSize();
    }

    void grab()
    {
        QFETCH(QString, unit);
        QFETCH(QString, item);
        QFETCH(QSize, size);
        DbPu *pu = m_eu->puNamed(unit.toStdString());
        QVERIFY(pu && pu->load());
        auto *map = new KelDataMapWindow(nullptr,
                                         nullptr,
                                         *m_eu,
                                         *pu,
                                         pu->numberToToken(keyOf(*pu, item.toStdString())));
        const std::unique_ptr<KelDataMapWindow> owner(map);
        map->resize(size.isValid() ? size : map->minimumSizeHint());
        QVERIFY(QTest::qWaitForWindowExposed(map));
        QApplication::processEvents();

        QVERIFY(grabLooksDrawn(map, QStringLiteral("map-%1").arg(QTest::currentDataTag())));
        const QStringList clipped = clippedWidgets(map);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));

        // Every name (and caption) whose row is in view is drawn whole in its box.
        KelDataMapCanvas *canvas = map->canvas();
        const QImage picture = canvas->viewport()->grab().toImage();
        const KelDataMapLayout &layout = *map->mapLayout();
        const QFontMetricsF metrics(canvas->font());
        const QRectF view(QPointF(0, 0), canvas->viewport()->size());
        const double rulerRight = layout.rulerWidth();
        int checked = 0;
        for (const auto &placed : layout.placed()) {
            const double w = layout.columnWidth();
            const QString name = QString::fromStdString(placed.item->name());
            const QString caption = QString::fromStdString(placed.item->occursCaption());
            const double textRight = caption.isEmpty()
                                         ? layout.nameX(placed) + metrics.horizontalAdvance(name)
                                         : layout.captionX(placed)
                                               + metrics.horizontalAdvance(caption);
            // Inside the box (3 units in from the cell's edges).
            QVERIFY2(textRight <= layout.cellLeft(placed) + w - 3,
                     qPrintable(name + QStringLiteral(" runs out of its cell")));
            const QPointF topLeft = canvas->toViewport(
                QPointF(layout.nameX(placed), layout.nameBaseline(placed) - metrics.ascent()));
            const QPointF bottomRight = canvas->toViewport(
                QPointF(textRight, layout.nameBaseline(placed) + metrics.descent()));
            const QRectF textRect(topLeft, bottomRight);
            if (!view.contains(textRect) || topLeft.x() < rulerRight)
                continue;
            // The text's pixels are there: dark pixels in the name's place.
            QVERIFY2(darkPixels(picture, textRect.toAlignedRect()) > name.size(),
                     qPrintable(name + QStringLiteral(" is not drawn where it belongs")));
            ++checked;
        }
        QVERIFY(checked >= 3);
    }

private:
    TemporaryHome m_home;
    RecordedUnits m_units;
    DbEu *m_eu = nullptr;
};

QTEST_MAIN(KelDataMapGrabTest)
#include "KelDataMapGrabTest.moc"
