#include "Kelae20wResourceIds.h"
#include "KelresrcResourceIds.h"
#include "ResourceLibrary.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <vector>

namespace {

/// Every command of the views whose menu text and fly-over text the libraries load.
const std::vector<unsigned long> commands = {
    KelRes::fileMenu,
    KelRes::helpMenu,
    KelRes::viewMenu,
    KelRes::windowMenu,
    KelRes::optionsMenu,
    KelRes::editMenu,
    KelRes::selectedMenu,
    KelRes::scrollCouplingMenu,
    KelRes::toolBarMenu,
    KelRes::controlGraphCommand,
    KelRes::relatedProgramsCommand,
    KelRes::symbolsUsedCommand,
    KelRes::relatedSourceCommand,
    KelRes::expandedSourceCommand,
    KelRes::requestScrollCommand,
    KelRes::scrollOnRequestCommand,
    KelRes::surfOnScrollCommand,
    KelRes::savePlacementCommand,
    KelRes::restoreOriginalPlacementCommand,
    KelRes::restoreSavedPlacementCommand,
    KelRes::closeWindowCommand,
    KelRes::tutorialCommand,
    KelRes::helpCommand,
    KelRes::exceptionLogCommand,
    KelRes::treePropertiesCommand,
    KelRes::treeExpandAllCommand,
    KelRes::treeInitialViewCommand,
    KelRes::mapExpandCommand,
    KelRes::mapCollapseCommand,
    KelRes::mapShowDeclarationCommand,
    KelRes::mapExpandPopupCommand,
    KelRes::mapCollapsePopupCommand,
    KelRes::mapShowDeclarationPopupCommand,
    KelRes::mapExpandAllCommand,
    KelRes::mapCollapseAllCommand,
    KelRes::mapResetItemCommand,
    KelRes::mapResetItemPopupCommand,
    KelRes::mapHexOffsetsCommand,
    KelRes::mapDateFieldsCommand,
    KelRes::detailsCommand,
    KelRes::detailsPopupCommand,
    KelRes::unitSettingsCommand,
    KelRes::preferencesCommand,
    KelRes::findCommand,
    KelRes::findNextCommand,
};

/// Every other text the view libraries load.
const std::vector<unsigned long> texts = {
    KelRes::dataMapTitle,
    KelRes::settingsViewTitle,
    KelRes::detailsViewTitle,
    KelRes::registryFull,
    KelRes::registrationGone,
    KelRes::placementProfileFile,
    KelRes::helpIndexFlyOver,
    KelRes::usingHelpFlyOver,
    KelRes::productInformationFlyOver,
    KelRes::hoverHelpFlyOver,
    KelRes::requestScrollOff,
    KelRes::scrollOnRequestOff,
    KelRes::surfOnScrollOff,
    KelRes::requestScrollOn,
    KelRes::scrollOnRequestOn,
    KelRes::surfOnScrollOn,
    KelRes::helpWindowTitle,
    KelRes::helpIndexText,
    KelRes::usingHelpText,
    KelRes::productInformationTitle,
    KelRes::productName,
    KelRes::productDescription,
    KelRes::desktopFrame,
    KelRes::desktopOpenButton,
    KelRes::desktopUnitList,
    KelRes::desktopHideButton,
    KelRes::desktopExitButton,
    KelRes::desktopRestoreButton,
    KelRes::desktopListHeading,
    KelRes::desktopWholeUnitLine,
    KelRes::desktopHint,
    KelRes::desktopShortName,
    KelRes::tokenColoursTab,
    KelRes::propertyWindowTitle,
    KelRes::inputFilesHeading,
    KelRes::levelLabel,
    KelRes::longNameLabel,
    KelRes::lengthLabel,
    KelRes::pictureLabel,
    KelRes::groupLabel,
    KelRes::redefinesLabel,
    KelRes::dateFieldLabel,
    KelRes::usageLabel,
    KelRes::offsetLabel,
    KelRes::occursLabel,
};

/// Texts stored in profile files as application names or keys.
std::vector<unsigned long> profileNames()
{
    std::vector<unsigned long> ids = {KelRes::browserView,
                                      KelRes::grapherView,
                                      KelRes::browserColourPage,
                                      KelRes::symbolsView,
                                      KelRes::dataMapView,
                                      KelRes::symbolsViewName,
                                      KelRes::treeViewName,
                                      KelRes::dataMapViewName,
                                      KelRes::grapherViewName,
                                      KelRes::browserViewName,
                                      KelRes::desktopViewName,
                                      KelRes::preferencesApplication};
    for (int type = 0; type < KelRes::tokenTypeCount; ++type)
        ids.push_back(KelRes::tokenTypeName(type));
    return ids;
}

QString id(unsigned long value)
{
    return QStringLiteral("0x%1").arg(value, 0, 16);
}

} // namespace

/// The resource libraries of the analysis views as the libraries load them: every id named in
/// the headers has a text, texts that become profile names stay plain, and no id is defined
/// twice.
class ViewResourcesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCommandHasItsTextAndFlyOver()
    {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELRESRC"));
        for (unsigned long command : commands) {
            QVERIFY2(!library.loadString(command).trimmed().isEmpty(), qPrintable(id(command)));
            QVERIFY2(library.hasString(KelRes::flyOverFor(command)), qPrintable(id(command)));
        }
        for (unsigned long text : texts)
            QVERIFY2(!library.loadString(text).trimmed().isEmpty(), qPrintable(id(text)));
        QCOMPARE(library.loadString(KelRes::placementProfileFile), QStringLiteral("KELPLACE.INI"));
    }

    void profileNamesArePlainAndFixed()
    {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELRESRC"));
        const QRegularExpression plain(QStringLiteral("^[A-Za-z][A-Za-z0-9]*$"));
        for (unsigned long name : profileNames()) {
            const QString text = library.loadString(name);
            QVERIFY2(plain.match(text).hasMatch(), qPrintable(id(name) + u' ' + text));
        }
        // Windows register under the kind's object id and are found by the view name.
        QCOMPARE(library.loadString(KelRes::dataMapView),
                 library.loadString(KelRes::dataMapViewName));
        QCOMPARE(library.loadString(KelRes::grapherView),
                 library.loadString(KelRes::grapherViewName));
        QCOMPARE(library.loadString(KelRes::browserView),
                 library.loadString(KelRes::browserViewName));
        QCOMPARE(library.loadString(KelRes::symbolsView),
                 library.loadString(KelRes::symbolsViewName));
        // The released names of the ten token types, in their order.
        QStringList tokenTypes;
        for (int type = 0; type < KelRes::tokenTypeCount; ++type) {
            tokenTypes << library.loadString(KelRes::tokenTypeName(type));
            QVERIFY(!library.loadString(KelRes::tokenTypeDisplayName(type)).isEmpty());
        }
        QCOMPARE(tokenTypes.join(u','),
                 QStringLiteral("Keyword,DataName,ProcedureName,Literal,Comment,Picture,"
                                "LevelNumber,CopyStatement,Operator,Other"));
        QCOMPARE(library.loadString(KelRes::preferencesApplication), QStringLiteral("Preferences"));
    }

    void textsJoinedToOthersKeepTheirBlanks()
    {
        const ResourceLibrary &views = ResourceLibrary::load(QStringLiteral("KELRESRC"));
        QVERIFY(views.loadString(KelRes::desktopUnitLinePrefix).endsWith(u' '));
        const ResourceLibrary &uiext = ResourceLibrary::load(QStringLiteral("KELAE20W"));
        QCOMPARE(uiext.loadString(UiextRes::pageText) + u'2'
                     + uiext.loadString(UiextRes::pageOfText) + u'5',
                 QStringLiteral("Page 2 of 5"));
        QVERIFY(uiext.loadString(UiextRes::helpMissing).endsWith(u' '));
    }

    void imagesRenderAtTheirSize()
    {
        const ResourceLibrary &library = ResourceLibrary::load(QStringLiteral("KELRESRC"));
        QCOMPARE(library.loadImage(KelRes::productIcon).size(), QSize(64, 64));
        QCOMPARE(library.loadImage(KelRes::desktopFrame).size(), QSize(32, 32));
        QCOMPARE(library.loadImage(KelRes::dataMapViewName).size(), QSize(32, 32));
        // Tool bar icons, one per command id that views put on their tool bars.
        for (unsigned long command : {KelRes::controlGraphCommand,
                                      KelRes::relatedProgramsCommand,
                                      KelRes::symbolsUsedCommand,
                                      KelRes::relatedSourceCommand,
                                      KelRes::expandedSourceCommand,
                                      KelRes::requestScrollCommand,
                                      KelRes::scrollOnRequestCommand,
                                      KelRes::surfOnScrollCommand,
                                      KelRes::savePlacementCommand,
                                      KelRes::restoreOriginalPlacementCommand,
                                      KelRes::restoreSavedPlacementCommand,
                                      KelRes::closeWindowCommand,
                                      KelRes::helpCommand,
                                      KelRes::exceptionLogCommand,
                                      KelRes::findCommand,
                                      KelRes::findNextCommand,
                                      KelRes::detailsCommand,
                                      KelRes::unitSettingsCommand,
                                      KelRes::preferencesCommand,
                                      KelRes::mapExpandAllCommand,
                                      KelRes::mapCollapseAllCommand,
                                      KelRes::treeExpandAllCommand,
                                      KelRes::treeInitialViewCommand,
                                      UiextRes::hoverHelpCommand,
                                      // XIHelpIndex, XIUsingHelp, XIProductInformation
                                      0x3201ul,
                                      0x3202ul,
                                      0x3203ul})
            QVERIFY2(library.loadImage(command).size() == QSize(24, 24), qPrintable(id(command)));
    }

    void noIdIsDefinedTwice()
    {
        for (const char *name : {"KELRESRC", "KELAE20W"}) {
            const QDir source(qEnvironmentVariable("CHRONEX_SOURCE_DIR")
                              + QStringLiteral("/platform/resources/") + QLatin1String(name));
            QSet<unsigned long> seen;
            for (const QString &table : source.entryList({QStringLiteral("strings*.txt")})) {
                QFile file(source.filePath(table));
                QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
                while (!file.atEnd()) {
                    const QString line = QString::fromUtf8(file.readLine());
                    if (line.startsWith(u'#') || !line.contains(u'\t'))
                        continue;
                    const QString key = line.section(u'\t', 0, 0);
                    bool ok = false;
                    const unsigned long value = key.startsWith(QStringLiteral("0x"))
                                                    ? key.mid(2).toULong(&ok, 16)
                                                    : key.toULong(&ok);
                    QVERIFY2(ok, qPrintable(line));
                    QVERIFY2(!seen.contains(value), qPrintable(QLatin1String(name) + u' ' + key));
                    seen.insert(value);
                }
            }
            QVERIFY(!seen.isEmpty());
        }
    }
};

QTEST_MAIN(ViewResourcesTest)
#include "ViewResourcesTest.moc"
