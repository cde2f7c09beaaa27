#include "SummaryPanel.h"
#include "ConversionWizard.h"
#include "EFileDialogEnhanced.h"
#include "EStaticText.h"
#include "FileListContainer.h"
#include "FileSelectionCanvas.h"
#include "FileSelectionPanel.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"
#include "SeedFilePanel.h"
#include "SummaryCanvas.h"
#include "WizardDriver.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const ResourceLibrary &texts()
{
    return ResourceLibrary::load(QStringLiteral("KELWIZRS"));
}

QString valueLine(unsigned long label, const QString &value)
{
    return texts().loadString(label) + "<color=black>" + value + "</color></size>";
}

} // namespace

class SummaryPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void showsTheFilesAndTheValuesUnescaped();
    void showsTheValuesChangedAfterGoingBack();
    void walkingThroughAllPanelsEndsWithFinish();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void fillValues(ConversionWizard &wizard);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void SummaryPanelTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char *name : {"PAY.R1.cbl", "TAX.cbl", "seed.xsd", "other.xsd"}) {
        QFile file(path(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

void SummaryPanelTest::fillValues(ConversionWizard &wizard)
{
    addSource(wizard, path("PAY.R1.cbl"));
    addSource(wizard, path("TAX.cbl"));
    wizard.seedFile() = path("seed.xsd").toStdString();
    wizard.outputDirectory() = m_dir->path().toStdString();
    wizard.conversionTitle() = "Year 2000 Conversion of <b>PAY & TAX</b>";
}

void SummaryPanelTest::showsTheFilesAndTheValuesUnescaped()
{
    ConversionWizard wizard(texts());
    fillValues(wizard);
    auto &panel = static_cast<SummaryPanel &>(wizard.summaryPanel());
    runWizard(wizard, [&] {
        QVERIFY(nextUntil(wizard, panel));
        SummaryCanvas *canvas = panel.canvas();
        QTRY_COMPARE(canvas->fileList()->rowCount(), 2);
        QCOMPARE(canvas->fileList()->rowAt(0)->text(FileRow::textColumn), QStringLiteral("PAY.R1"));
        QCOMPARE(canvas->fileList()->rowAt(1)->text(FileRow::textColumn), QStringLiteral("TAX"));
        QCOMPARE(canvas->seedFileLine()->markup(),
                 valueLine(KelwizRes::summarySeedFile, path("seed.xsd")));
        QCOMPARE(canvas->outputDirectoryLine()->markup(),
                 valueLine(KelwizRes::summaryOutputDirectory, m_dir->path()));
        QCOMPARE(canvas->titleLine()->markup(),
                 valueLine(KelwizRes::summaryTitle,
                           QStringLiteral("Year 2000 Conversion of <b>PAY & TAX</b>")));
        QVERIFY(wizard.finishButton()->isEnabled());
    });
}

void SummaryPanelTest::showsTheValuesChangedAfterGoingBack()
{
    ConversionWizard wizard(texts());
    fillValues(wizard);
    auto &summary = static_cast<SummaryPanel &>(wizard.summaryPanel());
    auto &seedPanel = static_cast<SeedFilePanel &>(wizard.seedFilePanel());
    runWizard(wizard, [&] {
        QVERIFY(nextUntil(wizard, summary));
        wizard.back();
        QCOMPARE(wizard.currentPanel(), &seedPanel);
        seedPanel.entryField(SeedFilePanel::seedFileField)->setText(path("other.xsd"));
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &summary);
        QCOMPARE(summary.canvas()->seedFileLine()->markup(),
                 valueLine(KelwizRes::summarySeedFile, path("other.xsd")));
    });
}

/// Walks the wizard as a user does, from the introduction to Finish. With
/// CHRONEX_SCREENSHOT_DIR set, each panel is saved there as kelwiz-walk<n>.png.
void SummaryPanelTest::walkingThroughAllPanelsEndsWithFinish()
{
    ConversionWizard wizard(texts());
    addSource(wizard, path("TAX.cbl"));
    wizard.seedFile() = path("seed.xsd").toStdString();
    wizard.outputDirectory() = m_dir->filePath("y2kready/").toStdString();
    wizard.conversionTitle() = "Year 2000 Conversion of PAYROLL";
    QVERIFY(QDir(m_dir->path()).mkdir("y2kready"));
    const QString screenshots = qEnvironmentVariable("CHRONEX_SCREENSHOT_DIR");
    QList<EWizardPanel *> shown;
    const auto snap = [&] {
        QCoreApplication::processEvents();
        shown << wizard.currentPanel();
        if (!screenshots.isEmpty())
            wizard.grab().save(
                QDir(screenshots).filePath(QStringLiteral("kelwiz-walk%1.png").arg(shown.size())));
    };
    const bool cancelled = runWizard(wizard, [&] {
        wizard.resize(900, 620);
        snap();
        wizard.nextButton()->click();
        auto *canvas = static_cast<FileSelectionPanel &>(wizard.fileSelectionPanel()).canvas();
        QTRY_VERIFY(canvas->isEnabled()); // the list has filled itself
        canvas->fileDialog()->setDirectory(m_dir->path());
        canvas->fileDialog()->select({"PAY.R1.cbl"});
        canvas->addButton()->click();
        QTRY_COMPARE(canvas->fileList()->rowCount(), 2);
        snap();
        wizard.nextButton()->click();
        snap();
        wizard.nextButton()->click();
        QTRY_COMPARE(
            static_cast<SummaryPanel &>(wizard.summaryPanel()).canvas()->fileList()->rowCount(), 2);
        snap();
        wizard.finishButton()->click();
    });
    QVERIFY(!cancelled);
    QCOMPARE(shown,
             QList<EWizardPanel *>({&wizard.introductoryPanel(),
                                    &wizard.fileSelectionPanel(),
                                    &wizard.seedFilePanel(),
                                    &wizard.summaryPanel()}));
    QCOMPARE(wizard.outputDirectory(), m_dir->filePath("y2kready/").toStdString());
}

QTEST_MAIN(SummaryPanelTest)
#include "SummaryPanelTest.moc"
