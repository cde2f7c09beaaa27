#include "ClasslibResourceIds.h"
#include "IException.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"

#include <QDir>
#include <QSet>
#include <QTest>

#include <vector>

namespace {

std::vector<unsigned long> range(unsigned long first, unsigned long last)
{
    std::vector<unsigned long> ids;
    for (unsigned long id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

/// Every text id the wizard, its engine and its launcher load from KELWIZRS.
std::vector<unsigned long> kelwizStringIds()
{
    std::vector<unsigned long> ids
        = {62977, 62979, 62980, 62983, 62986, 62987, 62989, 62990, 62991, 63002, 62465};
    for (const auto &[first, last] :
         std::vector<std::pair<unsigned long, unsigned long>>{{62996, 63000},
                                                              {63016, 63022},
                                                              {63036, 63049},
                                                              {63076, 63080},
                                                              {63096, 63124},
                                                              {63132, 63152},
                                                              {63160, 63164},
                                                              {63170, 63173},
                                                              {63233, 63235}}) {
        const auto more = range(first, last);
        ids.insert(ids.end(), more.begin(), more.end());
    }
    return ids;
}

struct ExpectedImage
{
    unsigned long id;
    QSize size;
};

std::vector<ExpectedImage> kelwizImages()
{
    std::vector<ExpectedImage> images = {{KelwizRes::wizardSideBitmap, {160, 320}},
                                     {KelwizRes::wizardIcon, {32, 32}},
                                     {KelwizRes::progressIcon, {32, 32}}};
    for (unsigned long id : range(KelwizRes::animationFirstFrame, KelwizRes::animationLastFrame))
        images.push_back({id, {96, 96}});
    for (unsigned long id : {62749,
                             62750,
                             62751,
                             62752,
                             62755,
                             62756,
                             62757,
                             62759,
                             62760,
                             62761,
                             62762,
                             62763,
                             62764,
                             62765,
                             62766,
                             62767})
        images.push_back({id, {16, 16}});
    return images;
}

} // namespace

/// The resource libraries as the programs load them: every id they ask for is there, texts keep
/// the blanks and tags the programs join them with, and every image renders at its size.
class ResourceLibrariesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWizardTextExists()
    {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELWIZRS"));
        for (unsigned long id : kelwizStringIds()) {
            QVERIFY2(library.hasString(id), qPrintable(QString::number(id)));
            QVERIFY2(!library.loadString(id).trimmed().isEmpty(), qPrintable(QString::number(id)));
        }
        QCOMPARE(library.loadString(KelwizRes::helpLibraryName), QStringLiteral("kelwiz"));
    }

    void textsJoinedToValuesKeepTheirBlanksAndTags()
    {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELWIZRS"));
        // Appended to a message, a path or a count: must start with a blank.
        for (unsigned long id : {KelwizRes::missingValuesHint,
                                 KelwizRes::seedFileNotFound,
                                 KelwizRes::createOutputDirectory,
                                 KelwizRes::failedSuffix,
                                 KelwizRes::succeededSuffix,
                                 KelwizRes::projectErrorEnd})
            QVERIFY2(library.loadString(id).startsWith(u' '), qPrintable(QString::number(id)));
        // Followed by a counter, a directory or a title: must end with a blank.
        for (unsigned long id :
             {62465ul, 63137ul, 63138ul, 63139ul, 63140ul, 63161ul, 63162ul, 63164ul})
            QVERIFY2(library.loadString(id).endsWith(u' '), qPrintable(QString::number(id)));
        // Messages that text 63233 completes end a sentence.
        for (unsigned long id : range(KelwizRes::missingSeedOutputTitle, KelwizRes::missingTitle))
            QVERIFY2(library.loadString(id).endsWith(u'.'), qPrintable(QString::number(id)));
        // The summary lines open a size tag that the program closes.
        for (unsigned long id : range(KelwizRes::summarySeedFile, KelwizRes::summaryTitle)) {
            const QString text = library.loadString(id);
            QVERIFY2(text.startsWith(QStringLiteral("<size=")) && !text.contains(u"</size>"),
                     qPrintable(text));
        }
    }

    void everyWizardImageRendersAtItsSize()
    {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELWIZRS"));
        const QString renderDir = qEnvironmentVariable("CHRONEX_RESOURCE_RENDER_DIR");
        for (const ExpectedImage &expected : kelwizImages()) {
            const QImage image = library.loadImage(expected.id);
            QVERIFY2(!image.isNull(), qPrintable(QString::number(expected.id)));
            QCOMPARE(image.size(), expected.size);
            QVERIFY(!library.loadIcon(expected.id).isNull());
            // Set the variable to look at the images as the programs see them.
            if (!renderDir.isEmpty())
                image.save(
                    QDir(renderDir).filePath(QString::number(expected.id) + QStringLiteral(".png")));
        }
    }

    void animationFramesAreAllDifferent()
    {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELWIZRS"));
        QSet<QByteArray> frames;
        for (unsigned long id :
             range(KelwizRes::animationFirstFrame, KelwizRes::animationLastFrame)) {
            const QImage image = library.loadImage(id).convertToFormat(QImage::Format_ARGB32);
            frames.insert(
                QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
        }
        QCOMPARE(frames.size(), 20);
    }

    void theClassLibraryTextsExist()
    {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("CLASSLIB"));
        for (unsigned long id : {ClasslibRes::okButton,
                                 ClasslibRes::cancelButton,
                                 ClasslibRes::yesButton,
                                 ClasslibRes::noButton,
                                 ClasslibRes::retryButton,
                                 ClasslibRes::abortButton,
                                 ClasslibRes::ignoreButton,
                                 ClasslibRes::helpButton,
                                 ClasslibRes::closeButton,
                                 ClasslibRes::unexpectedError,
                                 ClasslibRes::resourceLibraryMissing})
            QVERIFY2(library.hasString(id), qPrintable(QString::number(id)));
        QCOMPARE(library.loadString(ClasslibRes::informationTitle), QStringLiteral("Information"));
        QCOMPARE(library.loadString(ClasslibRes::warningTitle), QStringLiteral("Warning"));
        QCOMPARE(library.loadString(ClasslibRes::errorTitle), QStringLiteral("Error"));
        QCOMPARE(library.loadString(ClasslibRes::questionTitle), QStringLiteral("Question"));
    }

    void anUnknownIdIsAnAccessError()
    {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELWIZRS"));
        QVERIFY_THROWS_EXCEPTION(IAccessError, library.loadString(1));
        QVERIFY_THROWS_EXCEPTION(IAccessError, library.loadImage(62724));
    }
};

QTEST_MAIN(ResourceLibrariesTest)
#include "ResourceLibrariesTest.moc"
