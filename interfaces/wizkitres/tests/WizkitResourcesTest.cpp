#include "ResourceLibrary.h"

#include <QGuiApplication>
#include <QTest>

/// The kit's texts are part of its interface: every id must be present with exactly its text.
class WizkitResourcesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextHasItsExactWording_data();
    void everyTextHasItsExactWording();
    void holdsNoOtherTexts();
    void messageBoxBitmapsAreRealImages_data();
    void messageBoxBitmapsAreRealImages();
};

namespace {

const QList<QPair<unsigned long, QString>> &expectedTexts()
{
    static const QList<QPair<unsigned long, QString>> texts = {
        {38149, "<b>OK"},
        {38150, "<b>Cancel"},
        {38151, "<b>Help"},
        {38152, "<b>Yes"},
        {38153, "<b>No"},
        {38154, "<b>Continue"},
        {38155, "<b>Stop"},
        {38156, "<b>End"},
        {38157, "<b>Abort"},
        {38158, "<b>Ignore"},
        {38159, "<b>Retry"},
        {38160, "<b>Enter"},
        {61472, "OK"},
        {61473, "Cancel"},
        {61474, "Select Directory..."},
        {61475, "All Files"},
        {61476, "Save"},
        {61477, "Save File..."},
        {61478, "File Name:  "},
        {61479, "File Type:  "},
        {61480, "Load"},
        {61481, "Load File..."},
        {61482, "Directory:"},
        {61483, "Select Directory"},
        {61484, "<B>Look in: "},
        {61485, ".."},
        {61707, "Cancel"},
        {61708, "&Next>"},
        {61709, "<&Back"},
        {61710, "Finish"},
        {61711, "Please correct the error on the screen before pressing next."},
        {61719, "Help File '%1' cannot be found.  Help may be disabled."},
        {61720, "Help"},
    };
    return texts;
}

} // namespace

void WizkitResourcesTest::everyTextHasItsExactWording_data()
{
    QTest::addColumn<qulonglong>("id");
    QTest::addColumn<QString>("text");
    for (const auto &[id, text] : expectedTexts())
        QTest::newRow(QByteArray::number(qulonglong(id)).constData()) << qulonglong(id) << text;
}

void WizkitResourcesTest::everyTextHasItsExactWording()
{
    QFETCH(qulonglong, id);
    QFETCH(QString, text);
    const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("wizkitres"));
    QVERIFY2(library.hasString(id), qPrintable(QStringLiteral("id %1 missing").arg(id)));
    QCOMPARE(library.loadString(id), text);
}

void WizkitResourcesTest::holdsNoOtherTexts()
{
    const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("wizkitres"));
    // Probe the id ranges around the table: nothing outside it may have crept in.
    int found = 0;
    for (unsigned long id = 38100; id < 38200; ++id)
        found += library.hasString(id);
    for (unsigned long id = 61400; id < 61800; ++id)
        found += library.hasString(id);
    QCOMPARE(found, int(expectedTexts().size()));
}

void WizkitResourcesTest::messageBoxBitmapsAreRealImages_data()
{
    QTest::addColumn<qulonglong>("id");
    QTest::newRow("information") << qulonglong(38401);
    QTest::newRow("question") << qulonglong(38402);
    QTest::newRow("warning") << qulonglong(38403);
    QTest::newRow("error") << qulonglong(38404);
    QTest::newRow("wizard side bitmap") << qulonglong(38410);
}

void WizkitResourcesTest::messageBoxBitmapsAreRealImages()
{
    QFETCH(qulonglong, id);
    const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("wizkitres"));
    const QImage image = library.loadImage(id);
    QVERIFY(!image.isNull());
    QVERIFY(image.width() >= 32);
    // A drawn image, not a blank square: it must hold more than one colour.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    QVERIFY(colours.size() > 2);
}

QTEST_MAIN(WizkitResourcesTest)
#include "WizkitResourcesTest.moc"
