#include "FileSelectionPanel.h"
#include "ConversionFile.h"
#include "ConversionWizard.h"
#include "EFileDialogEnhanced.h"
#include "EMessageBox.h"
#include "FileListContainer.h"
#include "FileSelectionCanvas.h"
#include "KelwizResourceIds.h"
#include "ModalAnswerer.h"
#include "ResourceLibrary.h"
#include "WizardDriver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const ResourceLibrary &texts()
{
    return ResourceLibrary::load(QStringLiteral("KELWIZRS"));
}

/// The base names the list shows, in order.
QStringList rowTexts(const FileListContainer &list)
{
    QStringList names;
    for (int i = 0; i < list.rowCount(); ++i)
        names << list.rowAt(i)->text(FileRow::textColumn);
    return names;
}

QStringList collectionPaths(const ConversionWizard &wizard)
{
    QStringList paths;
    for (const std::string &path : wizard.files().paths())
        paths << QString::fromStdString(path);
    return paths;
}

} // namespace

class FileSelectionPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void filesFromTheSettingsAreListedWhenShown();
    void addIsEnabledOnlyForFiles();
    void addMovesTheSelectedFilesAndSkipsDirectoriesAndDuplicates();
    void activatingAFileAddsItAtOnce();
    void removingEveryRowThenNextAsksForAFile();
    void backAndForthRebuildsTheCanvasWithTheCurrentFiles();
    void aFileWithATakenBaseNameIsRefusedNamingBoth();
    void browserAndListShareTheWidthAndShowWholeNames_data();
    void browserAndListShareTheWidthAndShowWholeNames();

private:
    QString source(const QString &name) const { return m_dir->filePath(name); }
    FileSelectionCanvas *showPanel(ConversionWizard &wizard);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void FileSelectionPanelTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char *name : {"PAY.cbl", "TAX.cbl", "OLD.cvt", "seed.xsd"}) {
        QFile file(source(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("copybooks.cbl")));
}

FileSelectionCanvas *FileSelectionPanelTest::showPanel(ConversionWizard &wizard)
{
    auto &panel = static_cast<FileSelectionPanel &>(wizard.fileSelectionPanel());
    if (!nextUntil(wizard, panel))
        return nullptr;
    FileSelectionCanvas *canvas = panel.canvas();
    canvas->fileDialog()->setDirectory(m_dir->path());
    QCoreApplication::processEvents(); // the list fills itself from a posted event
    return canvas;
}

void FileSelectionPanelTest::filesFromTheSettingsAreListedWhenShown()
{
    ConversionWizard wizard(texts());
    addSource(wizard, source("TAX.cbl"));
    addSource(wizard, source("PAY.cbl"));
    runWizard(wizard, [&] {
        FileSelectionCanvas *canvas = showPanel(wizard);
        QVERIFY(canvas);
        QCOMPARE(rowTexts(*canvas->fileList()), QStringList({"TAX", "PAY"}));
        QVERIFY(wizard.isEnabled());
        QVERIFY(!canvas->addButton()->isEnabled());
        QVERIFY(!canvas->removeButton()->isEnabled());
        QCOMPARE(canvas->fileDialog()->listedNames(),
                 QStringList({"copybooks.cbl", "PAY.cbl", "TAX.cbl"}));
    });
}

void FileSelectionPanelTest::addIsEnabledOnlyForFiles()
{
    ConversionWizard wizard(texts());
    runWizard(wizard, [&] {
        FileSelectionCanvas *canvas = showPanel(wizard);
        QVERIFY(canvas);
        const struct
        {
            QStringList selection;
            bool enabled;
        } cases[] = {
            {{"copybooks.cbl"}, false},
            {{"PAY.cbl"}, true},
            {{}, false},
            {{"PAY.cbl", "TAX.cbl"}, true},
        };
        for (const auto &step : cases) {
            canvas->fileDialog()->select(step.selection);
            QVERIFY2(canvas->addButton()->isEnabled() == step.enabled,
                     qPrintable(step.selection.join(u',')));
        }
    });
}

void FileSelectionPanelTest::addMovesTheSelectedFilesAndSkipsDirectoriesAndDuplicates()
{
    ConversionWizard wizard(texts());
    addSource(wizard, source("TAX.cbl"));
    runWizard(wizard, [&] {
        FileSelectionCanvas *canvas = showPanel(wizard);
        QVERIFY(canvas);
        canvas->fileDialog()->select({"copybooks.cbl", "PAY.cbl", "TAX.cbl"});
        canvas->addButton()->click();
        // Until the posted command has run the wizard waits.
        QVERIFY(!wizard.isEnabled());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        QTRY_VERIFY(wizard.isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        QCOMPARE(rowTexts(*canvas->fileList()), QStringList({"TAX", "PAY"}));
        QCOMPARE(collectionPaths(wizard), QStringList({source("TAX.cbl"), source("PAY.cbl")}));
    });
}

void FileSelectionPanelTest::activatingAFileAddsItAtOnce()
{
    ConversionWizard wizard(texts());
    runWizard(wizard, [&] {
        FileSelectionCanvas *canvas = showPanel(wizard);
        QVERIFY(canvas);
        QListWidget *entries = canvas->fileDialog()->container();
        canvas->fileDialog()->select({"PAY.cbl"});
        entries->setCurrentItem(entries->findItems("PAY.cbl", Qt::MatchExactly).value(0));
        QTest::keyClick(entries, Qt::Key_Return);
        QCOMPARE(rowTexts(*canvas->fileList()), QStringList({"PAY"}));
        QVERIFY(wizard.isEnabled());
    });
    QCOMPARE(collectionPaths(wizard), QStringList({source("PAY.cbl")}));
}

void FileSelectionPanelTest::removingEveryRowThenNextAsksForAFile()
{
    ConversionWizard wizard(texts());
    addSource(wizard, source("TAX.cbl"));
    addSource(wizard, source("PAY.cbl"));
    ModalAnswerer answerer;
    QStringList shown;
    runWizard(wizard, [&] {
        FileSelectionCanvas *canvas = showPanel(wizard);
        QVERIFY(canvas);
        FileListContainer *list = canvas->fileList();
        list->rowAt(1)->setSelected(true);
        QVERIFY(canvas->removeButton()->isEnabled());
        canvas->removeButton()->click();
        QTRY_COMPARE(rowTexts(*list), QStringList({"TAX"}));
        QVERIFY(!canvas->removeButton()->isEnabled());

        list->selectAll();
        canvas->removeButton()->click();
        QTRY_COMPARE(list->rowCount(), 0);
        QVERIFY(wizard.files().isEmpty());

        answerer.answer<EMessageBox>([&](QWidget *box) {
            shown = static_cast<EMessageBox *>(box)->lines();
            ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
        });
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &wizard.fileSelectionPanel());
    });
    QCOMPARE(shown, QStringList{texts().loadString(KelwizRes::noFilesSelected)});
}

void FileSelectionPanelTest::backAndForthRebuildsTheCanvasWithTheCurrentFiles()
{
    ConversionWizard wizard(texts());
    runWizard(wizard, [&] {
        FileSelectionCanvas *first = showPanel(wizard);
        QVERIFY(first);
        first->fileDialog()->select({"PAY.cbl"});
        first->addButton()->click();
        QTRY_COMPARE(first->fileList()->rowCount(), 1);
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &wizard.seedFilePanel());
        addSource(wizard, source("TAX.cbl")); // as the program could have
        wizard.back();
        QPointer<FileSelectionCanvas> second
            = static_cast<FileSelectionPanel &>(wizard.fileSelectionPanel()).canvas();
        QVERIFY(second);
        QTRY_COMPARE(rowTexts(*second->fileList()), QStringList({"PAY", "TAX"}));
        QVERIFY(!second->addButton()->isEnabled());
    });
}

void FileSelectionPanelTest::aFileWithATakenBaseNameIsRefusedNamingBoth()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("other")));
    QFile other(source("other/PAY.cbl"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    ConversionWizard wizard(texts());
    addSource(wizard, source("PAY.cbl"));
    ModalAnswerer answerer;
    QStringList shown;
    answerer.answer<EMessageBox>([&](QWidget *box) {
        shown = static_cast<EMessageBox *>(box)->lines();
        ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
    });
    runWizard(wizard, [&] {
        FileSelectionCanvas *canvas = showPanel(wizard);
        QVERIFY(canvas);
        canvas->fileDialog()->setDirectory(source("other"));
        canvas->fileDialog()->select({"PAY.cbl"});
        canvas->addButton()->click();
        QTRY_VERIFY(!shown.isEmpty());
        QCOMPARE(rowTexts(*canvas->fileList()), QStringList({"PAY"}));
        QVERIFY(wizard.isEnabled());
    });
    QCOMPARE(collectionPaths(wizard), QStringList({source("PAY.cbl")}));
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(QStringLiteral("The sources ") + source("PAY.cbl")
                                      + QStringLiteral(" and ") + source("other/PAY.cbl")
                                      + QStringLiteral(" have the same base name PAY: ")),
             qPrintable(shown.first()));
}

void FileSelectionPanelTest::browserAndListShareTheWidthAndShowWholeNames_data()
{
    QTest::addColumn<bool>("minimumSize");
    QTest::newRow("default size") << false;
    QTest::newRow("minimum size") << true;
}

void FileSelectionPanelTest::browserAndListShareTheWidthAndShowWholeNames()
{
    QFETCH(bool, minimumSize);
    ConversionWizard wizard(texts());
    for (int i = 1; i <= 5; ++i)
        addSource(wizard, source(QStringLiteral("CLMCHE0%1.cbl").arg(i)));
    runWizard(wizard, [&] {
        if (minimumSize)
            wizard.resize(wizard.minimumSize());
        FileSelectionCanvas *canvas = showPanel(wizard);
        QVERIFY(canvas);
        FileListContainer *list = canvas->fileList();
        const QString shots = qEnvironmentVariable("CHRONEX_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            wizard.grab().save(shots
                               + QStringLiteral("/kelwiz-selection-%1.png")
                                     .arg(minimumSize ? "minimum" : "default"));
        }
        // The same share of the width for the browser and the list.
        QVERIFY2(qAbs(list->width() - canvas->fileDialog()->width()) <= 2,
                 qPrintable(QStringLiteral("list %1, browser %2")
                                .arg(list->width())
                                .arg(canvas->fileDialog()->width())));
        // Every eight-character member name shows whole, icon included.
        for (int row = 0; row < list->rowCount(); ++row) {
            const QString name = list->rowAt(row)->text(FileRow::textColumn);
            const int needed = list->fontMetrics().horizontalAdvance(name)
                               + list->iconSize().width() + 8;
            QVERIFY2(list->columnWidth(FileRow::textColumn) >= needed
                         && list->viewport()->width() >= needed,
                     qPrintable(name));
        }
        // An empty list has no horizontal scroll bar.
        list->selectAll();
        canvas->removeButton()->click();
        QTRY_COMPARE(list->rowCount(), 0);
        QVERIFY(!list->horizontalScrollBar()->isVisible());
        if (!shots.isEmpty()) {
            wizard.grab().save(shots
                               + QStringLiteral("/kelwiz-selection-empty-%1.png")
                                     .arg(minimumSize ? "minimum" : "default"));
        }
    });
}

QTEST_MAIN(FileSelectionPanelTest)
#include "FileSelectionPanelTest.moc"
