#include "ConversionWizard.h"
#include "ConversionFile.h"
#include "EMessageBox.h"
#include "EStaticText.h"
#include "EWizardPanel.h"
#include "Environment.h"
#include "GenericScreenPanel.h"
#include "HelpViewer.h"
#include "InputSettings.h"
#include "KelwizResourceIds.h"
#include "ModalAnswerer.h"
#include "ProgramStrings.h"
#include "ResourceLibrary.h"
#include "SeedFilePanel.h"
#include "WizardDriver.h"
#include "WizardProgram.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

/// The conversion wizard driven in-process: its panels, chapters and texts, Finish and Cancel,
/// and the values the program gives it before it is shown.
class ConversionWizardTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void panelsComeInTheirChapterOrderWithTheirHelp();
    void introductoryPanelShowsItsLinesInOrder();
    void finishAfterTheLastPanelStoresTheSeedFile();
    void cancelStoresNothing();
    void startUpFillsFilesAndDefaults();
    void relativeNamesAreMadeAbsoluteAfterFinish();
    void sourcesWithATakenBaseNameAreLeftOutAtStartUp();
    void everyMessageBoxCarriesTheProgramTitle();
    void screenshots();

private:
    const ResourceLibrary &resources() { return ResourceLibrary::load("KELWIZRS"); }
    QString environmentText() const;

    void fillValidValues(ConversionWizard &wizard, const QString &seedFile);

    std::unique_ptr<QTemporaryDir> m_dir;
};

/// Values that every panel accepts: `seedFile` (which must exist) as one source to convert and
/// as the seed file, the test's directory as the output directory, and a title.
void ConversionWizardTest::fillValidValues(ConversionWizard &wizard, const QString &seedFile)
{
    addSource(wizard, seedFile);
    wizard.seedFile() = seedFile.toStdString();
    wizard.outputDirectory() = m_dir->path().toStdString();
    wizard.conversionTitle() = "Payroll";
}

void ConversionWizardTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("CHRONEX_HOME", QFile::encodeName(m_dir->filePath("home")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir->filePath("cache")));
    QDir().mkpath(m_dir->filePath("home"));
    QFile settings(m_dir->filePath("home/environment.ini"));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[COMMON]\nQCOBDIR=/opt/cobol\n");
    InputSettings::instance().clear();
}

void ConversionWizardTest::cleanup()
{
    InputSettings::instance().clear();
    m_dir.reset();
}

QString ConversionWizardTest::environmentText() const
{
    QFile settings(m_dir->filePath("home/environment.ini"));
    return settings.open(QIODevice::ReadOnly) ? QString::fromUtf8(settings.readAll()) : QString();
}

void ConversionWizardTest::panelsComeInTheirChapterOrderWithTheirHelp()
{
    ConversionWizard wizard(resources());
    QCOMPARE(wizard.panelCount(), 4);
    const QList<EWizardPanel *> panels = {&wizard.introductoryPanel(),
                                          &wizard.fileSelectionPanel(),
                                          &wizard.seedFilePanel(),
                                          &wizard.summaryPanel()};
    const QStringList names = {"Introductory Screen",
                               "COBOL File Selection Panel",
                               "Select Seed file",
                               "COBOL Summary Panel"};
    const QList<unsigned long> helpIds = {1000, 1100, 1200, 1300};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(int(panels.at(i)->panelId()), i + 1);
        QCOMPARE(panels.at(i)->name(), names.at(i));
        QCOMPARE(panels.at(i)->helpId(), helpIds.at(i));
        QCOMPARE(panels.at(i)->helpLibrary(), resources().loadString(KelwizRes::helpLibraryName));
        QCOMPARE(panels.at(i)->helpWindowTitle(),
                 resources().loadString(KelwizRes::helpWindowTitle));
    }
    QCOMPARE(wizard.windowTitle(), resources().loadString(KelwizRes::wizardTitle));
    QVERIFY(!wizard.windowIcon().isNull());
    auto *side = wizard.findChild<QLabel *>("wizardSideBitmap");
    QVERIFY(side && !side->pixmap().isNull());
    QCOMPARE(side->pixmap().size(), resources().loadBitmap(KelwizRes::wizardSideBitmap).size());
    QVERIFY(!wizard.findChild<QWidget *>("wizardSecondTitle")->isVisibleTo(&wizard));
}

void ConversionWizardTest::introductoryPanelShowsItsLinesInOrder()
{
    ConversionWizard wizard(resources());
    ModalAnswerer answerer;
    QStringList shown;
    answerer.answer<ConversionWizard>([&](QWidget *) {
        for (EStaticText *text : wizard.findChildren<EStaticText *>()) {
            if (text->objectName().startsWith("control"))
                shown << text->markup();
        }
        wizard.cancel();
    });
    QCOMPARE(wizard.beginWizard(), true);
    const auto text = [this](unsigned long id) { return resources().loadString(id); };
    QCOMPARE(shown,
             QStringList({text(KelwizRes::introWelcome),
                          text(KelwizRes::introPurpose),
                          text(KelwizRes::introStepsLead),
                          text(KelwizRes::introStepFiles),
                          text(KelwizRes::introStepSeedFile),
                          text(KelwizRes::introStepSummary),
                          text(KelwizRes::introClosing)}));
}

void ConversionWizardTest::finishAfterTheLastPanelStoresTheSeedFile()
{
    ConversionWizard wizard(resources());
    const QString seedFile = m_dir->filePath("my seed.xsd");
    QFile(seedFile).open(QIODevice::WriteOnly);
    fillValidValues(wizard, seedFile);
    ModalAnswerer answerer;
    QList<bool> finishEnabled;
    answerer.answer<ConversionWizard>([&](QWidget *) {
        for (int i = 0; i < 3; ++i) {
            finishEnabled << wizard.finishButton()->isEnabled();
            wizard.nextButton()->click();
        }
        finishEnabled << wizard.finishButton()->isEnabled();
        QCOMPARE(wizard.currentPanel(), &wizard.summaryPanel());
        wizard.finishButton()->click();
    });
    QCOMPARE(wizard.beginWizard(), false);
    QCOMPARE(finishEnabled, QList<bool>({false, false, false, true}));
    wizard.outputDirectory() = "/home/ana/out dir";
    WizardProgram::afterFinish(wizard);
    QCOMPARE(ConversionFile::outputDirectory(), std::string("/home/ana/out dir"));
    QCOMPARE(readenv("SeedFile", "Millenium_Conv"), seedFile.toStdString());
}

void ConversionWizardTest::relativeNamesAreMadeAbsoluteAfterFinish()
{
    // The tools run in the sources' directories: a relative output directory or seed file
    // would be looked for there. The names typed mean the ones below the working directory.
    ConversionWizard wizard(resources());
    wizard.outputDirectory() = "out/y2k";
    wizard.seedFile() = "./seeds/my seed.xsd";
    WizardProgram::afterFinish(wizard);
    const QString cwd = QDir::currentPath();
    QCOMPARE(wizard.outputDirectory(), (cwd + "/out/y2k").toStdString());
    QCOMPARE(ConversionFile::outputDirectory(), (cwd + "/out/y2k").toStdString());
    QCOMPARE(wizard.seedFile(), (cwd + "/seeds/my seed.xsd").toStdString());
    QCOMPARE(readenv("SeedFile", "Millenium_Conv"), (cwd + "/seeds/my seed.xsd").toStdString());
}

void ConversionWizardTest::sourcesWithATakenBaseNameAreLeftOutAtStartUp()
{
    QVERIFY(QDir(m_dir->path()).mkpath("a") && QDir(m_dir->path()).mkpath("b"));
    const QString first = m_dir->filePath("a/PAY.cbl");
    const QString second = m_dir->filePath("b/PAY.cbl");
    QFile(first).open(QIODevice::WriteOnly);
    QFile(second).open(QIODevice::WriteOnly);
    const QString settingsPath = m_dir->filePath("settings.txt");
    QFile settings(settingsPath);
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(("Project Name:>   /p/P.iwp\nCompile Options:>\nConvert these files:>\n  "
                    + first + "\n  " + second + "\n")
                       .toUtf8());
    settings.close();
    InputSettings::instance().clear();
    std::unique_ptr<ConversionWizard> wizard = WizardProgram({"kelwiz", settingsPath})
                                                   .prepareWizard(resources());
    QCOMPARE(wizard->files().paths(), std::vector<std::string>({first.toStdString()}));
}

void ConversionWizardTest::everyMessageBoxCarriesTheProgramTitle()
{
    // As the program's main sets it.
    QApplication::setApplicationDisplayName(
        ProgramStrings::text(ProgramStrings::programName).trimmed());
    ConversionWizard wizard(resources());
    ModalAnswerer answerer;
    QStringList titles;
    const auto record = [&](QWidget *box) {
        titles << box->windowTitle();
        ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
    };
    answerer.answer<EMessageBox>(record); // no file selected
    answerer.answer<EMessageBox>(record); // no help page
    runWizard(wizard, [&] {
        wizard.next();
        wizard.next();
        wizard.fileSelectionPanel().setHelpLibrary(QStringLiteral("nosuchhelp"));
        wizard.showHelp();
    });
    QCOMPARE(titles, QStringList({"Chronex Wizard", "Chronex Wizard"}));
}

void ConversionWizardTest::cancelStoresNothing()
{
    const QString before = environmentText();
    for (int panel = 0; panel < 4; ++panel) {
        ConversionWizard wizard(resources());
        const QString seedFile = m_dir->filePath("changed.xsd");
        QFile(seedFile).open(QIODevice::WriteOnly);
        fillValidValues(wizard, seedFile);
        ModalAnswerer answerer;
        answerer.answer<ConversionWizard>([&](QWidget *) {
            for (int i = 0; i < panel; ++i)
                wizard.nextButton()->click();
            wizard.cancelButton()->click();
        });
        QCOMPARE(wizard.beginWizard(), true);
    }
    QCOMPARE(environmentText(), before);
}

void ConversionWizardTest::startUpFillsFilesAndDefaults()
{
    const QString source = m_dir->filePath("PAY.R1.cbl");
    QFile(source).open(QIODevice::WriteOnly);
    const QString project = m_dir->filePath("payroll.iwp");
    QFile projectFile(project);
    QVERIFY(projectFile.open(QIODevice::WriteOnly));
    projectFile.write("+project\n+name=PAYROLL\n");
    projectFile.close();
    const QString settingsPath = m_dir->filePath("settings.txt");
    QFile settings(settingsPath);
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(("Project Name:>   " + project + "\nCompile Options:>\nConvert these files:>\n  "
                    + source + "\n  " + source + "\n")
                       .toUtf8());
    settings.close();

    const QString workingDirectory = QDir::currentPath();
    WizardProgram program({"kelwiz", settingsPath, "ignored"});
    std::unique_ptr<ConversionWizard> wizard = program.prepareWizard(resources());
    QCOMPARE(wizard->files().paths(), std::vector<std::string>({source.toStdString()}));
    QCOMPARE(wizard->conversionTitle(), std::string("Year 2000 Conversion of PAYROLL"));
    QCOMPARE(wizard->outputDirectory(), (workingDirectory + "/y2kready").toStdString());
    QCOMPARE(wizard->seedFile(), std::string("/opt/cobol/Samples/Seedfile/sample.xsd"));

    WizardProgram withoutArguments({"kelwiz"});
    InputSettings::instance().clear();
    wizard = withoutArguments.prepareWizard(resources());
    QVERIFY(wizard->files().isEmpty());
    QCOMPARE(wizard->conversionTitle(), std::string("Year 2000 Conversion"));
}

void ConversionWizardTest::screenshots()
{
    // Pictures of every panel at the wizard's default and minimum size, of a panel's help and
    // of a panel's error box, for a look by eye; written only when asked for.
    const QString directory = qEnvironmentVariable("CHRONEX_SCREENSHOT_DIR");
    if (directory.isEmpty())
        QSKIP("CHRONEX_SCREENSHOT_DIR not set");
    ConversionWizard wizard(resources());
    const QString seedFile = m_dir->filePath("seed.xsd");
    QFile(seedFile).open(QIODevice::WriteOnly);
    fillValidValues(wizard, seedFile); // so that every panel lets the walk go on
    ModalAnswerer answerer;
    QStringList written;
    const auto save = [&](QWidget *widget, const QString &name) {
        QCoreApplication::processEvents(); // let a panel's list fill itself
        const QString path = directory + u'/' + name + QStringLiteral(".png");
        if (widget->grab().save(path))
            written << path;
    };
    answerer.answer<ConversionWizard>([&](QWidget *) {
        for (int i = 1; i <= 4; ++i) {
            save(&wizard, QStringLiteral("kelwiz-panel%1").arg(i));
            const QSize size = wizard.size();
            wizard.resize(wizard.minimumSize());
            save(&wizard, QStringLiteral("kelwiz-panel%1-minimum").arg(i));
            wizard.resize(size);
            if (i == 3) {
                wizard.showHelp();
                if (auto *help = wizard.findChild<HelpViewer *>()) {
                    save(help, QStringLiteral("kelwiz-help"));
                    help->resize(help->minimumSize());
                    save(help, QStringLiteral("kelwiz-help-minimum"));
                    help->close();
                }
                // The error box of a value the run would refuse.
                const std::string title = wizard.conversionTitle();
                static_cast<GenericScreenPanel &>(wizard.seedFilePanel())
                    .entryField(SeedFilePanel::titleField)
                    ->setText(QStringLiteral("T\n+dirs=/etc"));
                answerer.answer<EMessageBox>([&](QWidget *box) {
                    save(box, QStringLiteral("kelwiz-panel-error"));
                    ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
                });
                wizard.next();
                static_cast<GenericScreenPanel &>(wizard.seedFilePanel())
                    .entryField(SeedFilePanel::titleField)
                    ->setText(QString::fromStdString(title));
            }
            wizard.nextButton()->click();
        }
        wizard.cancel();
    });
    wizard.beginWizard();
    QCOMPARE(written.size(), 11);
}

QTEST_MAIN(ConversionWizardTest)
#include "ConversionWizardTest.moc"
