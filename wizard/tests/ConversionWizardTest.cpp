#include "ConversionWizard.h"
#include "ConversionFile.h"
#include "EStaticText.h"
#include "EWizardPanel.h"
#include "Environment.h"
#include "InputSettings.h"
#include "KelwizResourceIds.h"
#include "ModalAnswerer.h"
#include "ResourceLibrary.h"
#include "WizardProgram.h"

#include <QDir>
#include <QLabel>
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
    void screenshots();

private:
    const ResourceLibrary &resources() { return ResourceLibrary::load("KELWIZRS"); }
    QString environmentText() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

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
    wizard.seedFile() = "/home/ana/seeds/my seed.xsd";
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
    QCOMPARE(readenv("SeedFile", "Millenium_Conv"), std::string("/home/ana/seeds/my seed.xsd"));
}

void ConversionWizardTest::cancelStoresNothing()
{
    const QString before = environmentText();
    for (int panel = 0; panel < 4; ++panel) {
        ConversionWizard wizard(resources());
        wizard.seedFile() = "/changed.xsd";
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
    // Pictures of every panel for a look by eye, written only when asked for.
    const QString directory = qEnvironmentVariable("CHRONEX_SCREENSHOT_DIR");
    if (directory.isEmpty())
        QSKIP("CHRONEX_SCREENSHOT_DIR not set");
    ConversionWizard wizard(resources());
    wizard.resize(760, 520);
    ModalAnswerer answerer;
    QStringList written;
    answerer.answer<ConversionWizard>([&](QWidget *) {
        for (int i = 1; i <= 4; ++i) {
            const QString path = directory + QStringLiteral("/kelwiz-panel%1.png").arg(i);
            if (wizard.grab().save(path))
                written << path;
            wizard.nextButton()->click();
        }
        wizard.cancel();
    });
    wizard.beginWizard();
    QCOMPARE(written.size(), 4);
}

QTEST_MAIN(ConversionWizardTest)
#include "ConversionWizardTest.moc"
