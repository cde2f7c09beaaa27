#include "SeedFilePanel.h"
#include "ConversionWizard.h"
#include "EMessageBox.h"
#include "KelwizResourceIds.h"
#include "ModalAnswerer.h"
#include "ResourceLibrary.h"
#include "WizardDriver.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>

namespace {

const ResourceLibrary &texts()
{
    return ResourceLibrary::load(QStringLiteral("KELWIZRS"));
}

QString text(unsigned long id)
{
    return texts().loadString(id);
}

/// Types `path` into the dialog's name field and accepts, as a user would.
void chooseInFileDialog(QFileDialog *dialog, const QString &path)
{
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    name->setText(path);
    QMetaObject::invokeMethod(dialog, "accept");
}

} // namespace

class SeedFilePanelTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void emptyValuesAreNamedAndTheFirstEmptyFieldGetsTheFocus_data();
    void emptyValuesAreNamedAndTheFirstEmptyFieldGetsTheFocus();
    void aSeedFileThatIsNotAFileIsRejected_data();
    void aSeedFileThatIsNotAFileIsRejected();
    void anExistingOutputDirectoryWithTrailingSeparatorProceedsAsTyped();
    void valuesTheRunWouldRefuseAreNamedAndTheirFieldFocused_data();
    void valuesTheRunWouldRefuseAreNamedAndTheirFieldFocused();
    void aMissingOutputDirectoryIsCreatedOnYes();
    void noToTheCreationQuestionEmptiesTheFieldAndNextNamesIt();
    void aDirectoryThatCannotBeCreatedKeepsTheUserOnThePanel();
    void browsingReplacesTheValueOnlyWhenAccepted();

private:
    /// Shows the seed file panel with the three fields typed in as given.
    void typeValues(ConversionWizard &wizard,
                    const QString &seedFile,
                    const QString &outputDirectory,
                    const QString &title);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_seedFile;
};

void SeedFilePanelTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_seedFile = m_dir->filePath(QStringLiteral("seed.xsd"));
    QFile seed(m_seedFile);
    QVERIFY(seed.open(QIODevice::WriteOnly));
}

void SeedFilePanelTest::typeValues(ConversionWizard &wizard,
                                   const QString &seedFile,
                                   const QString &outputDirectory,
                                   const QString &title)
{
    auto &panel = static_cast<SeedFilePanel &>(wizard.seedFilePanel());
    QVERIFY(nextUntil(wizard, panel));
    panel.entryField(SeedFilePanel::seedFileField)->setText(seedFile);
    panel.entryField(SeedFilePanel::outputDirectoryField)->setText(outputDirectory);
    panel.entryField(SeedFilePanel::titleField)->setText(title);
}

void SeedFilePanelTest::emptyValuesAreNamedAndTheFirstEmptyFieldGetsTheFocus_data()
{
    QTest::addColumn<bool>("seedSet");
    QTest::addColumn<bool>("outputSet");
    QTest::addColumn<bool>("titleSet");
    QTest::addColumn<unsigned long>("message");
    QTest::addColumn<int>("focusField");

    const unsigned long all = KelwizRes::missingSeedOutputTitle;
    QTest::newRow("all empty") << false << false << false << all << 1;
    QTest::newRow("seed and output empty") << false << false << true << 63044ul << 1;
    QTest::newRow("seed and title empty") << false << true << false << 63045ul << 1;
    QTest::newRow("seed empty") << false << true << true << 63046ul << 1;
    QTest::newRow("output and title empty") << true << false << false << 63047ul << 2;
    QTest::newRow("output empty") << true << false << true << 63048ul << 2;
    QTest::newRow("title empty") << true << true << false << 63049ul << 3;
}

void SeedFilePanelTest::emptyValuesAreNamedAndTheFirstEmptyFieldGetsTheFocus()
{
    QFETCH(bool, seedSet);
    QFETCH(bool, outputSet);
    QFETCH(bool, titleSet);
    QFETCH(unsigned long, message);
    QFETCH(int, focusField);

    ConversionWizard wizard(texts());
    addSource(wizard, m_seedFile); // any file lets the user past the list
    auto &panel = static_cast<SeedFilePanel &>(wizard.seedFilePanel());
    ModalAnswerer answerer;
    QStringList shown;
    runWizard(wizard, [&] {
        typeValues(wizard,
                   seedSet ? m_seedFile : QString(),
                   outputSet ? m_dir->path() : QString(),
                   titleSet ? QStringLiteral("Payroll") : QString());
        answerer.answer<EMessageBox>([&](QWidget *box) {
            shown = static_cast<EMessageBox *>(box)->lines();
            ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
        });
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &panel);
        QCOMPARE(wizard.focusWidget(), panel.entryField(focusField));
    });
    QCOMPARE(shown, QStringList{text(message) + text(KelwizRes::missingValuesHint)});
}

void SeedFilePanelTest::aSeedFileThatIsNotAFileIsRejected_data()
{
    QTest::addColumn<QString>("seedFile");
    QTest::newRow("a directory") << QString();
    QTest::newRow("nothing there") << QStringLiteral("missing.xsd");
    QTest::newRow("a FIFO, refused without waiting") << QStringLiteral("fifo.xsd");
}

void SeedFilePanelTest::aSeedFileThatIsNotAFileIsRejected()
{
    QFETCH(QString, seedFile);
    const QString path = m_dir->filePath(seedFile);
    if (seedFile == QLatin1String("fifo.xsd"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    ConversionWizard wizard(texts());
    addSource(wizard, m_seedFile);
    auto &panel = static_cast<SeedFilePanel &>(wizard.seedFilePanel());
    ModalAnswerer answerer;
    QStringList shown;
    runWizard(wizard, [&] {
        typeValues(wizard, path, m_dir->path(), QStringLiteral("Payroll"));
        answerer.answer<EMessageBox>([&](QWidget *box) {
            shown = static_cast<EMessageBox *>(box)->lines();
            ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
        });
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &panel);
        QCOMPARE(panel.entryField(SeedFilePanel::seedFileField)->text(), QString());
        QCOMPARE(wizard.focusWidget(), panel.entryField(SeedFilePanel::seedFileField));
    });
    QCOMPARE(shown, QStringList{path + text(KelwizRes::seedFileNotFound)});
    QCOMPARE(wizard.seedFile(), std::string());
}

void SeedFilePanelTest::valuesTheRunWouldRefuseAreNamedAndTheirFieldFocused_data()
{
    QTest::addColumn<QString>("source");   // in the test's directory, the output directory
    QTest::addColumn<QString>("seedFile"); // empty: the usual one
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message"); // how the message starts
    QTest::addColumn<int>("focusField");
    QTest::newRow("a title on two lines")
        << QString() << QString() << QStringLiteral("T\n+dirs=/etc")
        << QStringLiteral("The conversion title holds a control character") << 3;
    QTest::newRow("a source named like the log")
        << QStringLiteral("chxconv.log") << QString() << QStringLiteral("Payroll")
        << QStringLiteral("The source @DIR/chxconv.log lies where the conversion writes its log")
        << 2;
    QTest::newRow("a seed file named like a result")
        << QStringLiteral("PAY.cbl") << QStringLiteral("PAY.xca") << QStringLiteral("Payroll")
        << QStringLiteral("The seed file @DIR/PAY.xca lies where the conversion writes the "
                          "results of @DIR/PAY.cbl")
        << 1;
}

void SeedFilePanelTest::valuesTheRunWouldRefuseAreNamedAndTheirFieldFocused()
{
    QFETCH(QString, source);
    QFETCH(QString, seedFile);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(int, focusField);
    message.replace(QStringLiteral("@DIR"), m_dir->path());
    ConversionWizard wizard(texts());
    for (const QString &name : {source, seedFile}) {
        QFile file(m_dir->filePath(name));
        QVERIFY(name.isEmpty() || file.open(QIODevice::WriteOnly));
    }
    addSource(wizard, source.isEmpty() ? m_seedFile : m_dir->filePath(source));
    auto &panel = static_cast<SeedFilePanel &>(wizard.seedFilePanel());
    ModalAnswerer answerer;
    QStringList shown;
    runWizard(wizard, [&] {
        typeValues(wizard,
                   seedFile.isEmpty() ? m_seedFile : m_dir->filePath(seedFile),
                   m_dir->path(),
                   title);
        answerer.answer<EMessageBox>([&](QWidget *box) {
            shown = static_cast<EMessageBox *>(box)->lines();
            ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
        });
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &panel);
        QCOMPARE(wizard.focusWidget(), panel.entryField(focusField));
    });
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(message), qPrintable(shown.first()));
}

void SeedFilePanelTest::anExistingOutputDirectoryWithTrailingSeparatorProceedsAsTyped()
{
    ConversionWizard wizard(texts());
    addSource(wizard, m_seedFile);
    ModalAnswerer answerer; // no box may open: an unanswered one would hang the test
    const QString typed = m_dir->path() + QStringLiteral("//");
    runWizard(wizard, [&] {
        typeValues(wizard, m_seedFile, typed, QStringLiteral("Payroll"));
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &wizard.summaryPanel());
    });
    QCOMPARE(wizard.outputDirectory(), typed.toStdString());
    QCOMPARE(wizard.seedFile(), m_seedFile.toStdString());
    QCOMPARE(wizard.conversionTitle(), std::string("Payroll"));
}

void SeedFilePanelTest::aMissingOutputDirectoryIsCreatedOnYes()
{
    ConversionWizard wizard(texts());
    addSource(wizard, m_seedFile);
    const QString typed = m_dir->filePath(QStringLiteral("out/y2kready/"));
    ModalAnswerer answerer;
    QString question;
    runWizard(wizard, [&] {
        typeValues(wizard, m_seedFile, typed, QStringLiteral("Payroll"));
        answerer.answer<EMessageBox>([&](QWidget *box) {
            question = static_cast<EMessageBox *>(box)->lines().join(u'\n');
            ModalAnswerer::findButton(box, QStringLiteral("Yes"))->click();
        });
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &wizard.summaryPanel());
    });
    QCOMPARE(question, typed + text(KelwizRes::createOutputDirectory));
    QVERIFY(QFileInfo(m_dir->filePath(QStringLiteral("out/y2kready"))).isDir());
    QCOMPARE(wizard.outputDirectory(), typed.toStdString());
}

void SeedFilePanelTest::noToTheCreationQuestionEmptiesTheFieldAndNextNamesIt()
{
    ConversionWizard wizard(texts());
    addSource(wizard, m_seedFile);
    auto &panel = static_cast<SeedFilePanel &>(wizard.seedFilePanel());
    const QString typed = m_dir->filePath(QStringLiteral("out"));
    ModalAnswerer answerer;
    QStringList shown;
    runWizard(wizard, [&] {
        typeValues(wizard, m_seedFile, typed, QStringLiteral("Payroll"));
        answerer.pressButton<EMessageBox>(QStringLiteral("No"));
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &panel);
        QCOMPARE(panel.entryField(SeedFilePanel::outputDirectoryField)->text(), QString());
        QCOMPARE(wizard.focusWidget(), panel.entryField(SeedFilePanel::outputDirectoryField));

        answerer.answer<EMessageBox>([&](QWidget *box) {
            shown = static_cast<EMessageBox *>(box)->lines();
            ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
        });
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &panel);
    });
    QVERIFY(answerer.allAnswered());
    QVERIFY(!QFileInfo::exists(typed));
    QCOMPARE(shown,
             QStringList{text(KelwizRes::missingOutput) + text(KelwizRes::missingValuesHint)});
}

void SeedFilePanelTest::aDirectoryThatCannotBeCreatedKeepsTheUserOnThePanel()
{
    ConversionWizard wizard(texts());
    addSource(wizard, m_seedFile);
    auto &panel = static_cast<SeedFilePanel &>(wizard.seedFilePanel());
    const QString typed = m_seedFile + QStringLiteral("/out"); // below a plain file
    ModalAnswerer answerer;
    QStringList shown;
    runWizard(wizard, [&] {
        typeValues(wizard, m_seedFile, typed, QStringLiteral("Payroll"));
        answerer.pressButton<EMessageBox>(QStringLiteral("Yes"));
        answerer.answer<EMessageBox>([&](QWidget *box) {
            shown = static_cast<EMessageBox *>(box)->lines();
            ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
        });
        wizard.next();
        QCOMPARE(wizard.currentPanel(), &panel);
        QCOMPARE(wizard.focusWidget(), panel.entryField(SeedFilePanel::outputDirectoryField));
    });
    QCOMPARE(shown, QStringList{typed + text(KelwizRes::projectErrorEnd)});
}

void SeedFilePanelTest::browsingReplacesTheValueOnlyWhenAccepted()
{
    ConversionWizard wizard(texts());
    addSource(wizard, m_seedFile);
    auto &panel = static_cast<SeedFilePanel &>(wizard.seedFilePanel());
    wizard.seedFile() = "typed.xsd";
    wizard.outputDirectory() = "typed-out";
    ModalAnswerer answerer;
    QStringList buttons;
    runWizard(wizard, [&] {
        QVERIFY(nextUntil(wizard, panel));
        const auto browseButtons = wizard.findChildren<QPushButton *>();
        QList<QPushButton *> browse;
        for (QPushButton *button : browseButtons) {
            if (button->text() == text(KelwizRes::browseButton))
                browse << button;
        }
        QCOMPARE(browse.size(), 2);

        answerer.reject<QFileDialog>();
        browse[0]->click();
        answerer.reject<QFileDialog>();
        browse[1]->click();
        QCOMPARE(panel.entryField(1)->text(), QStringLiteral("typed.xsd"));
        QCOMPARE(panel.entryField(2)->text(), QStringLiteral("typed-out"));

        answerer.answer<QFileDialog>([&](QWidget *w) {
            auto *dialog = static_cast<QFileDialog *>(w);
            buttons << dialog->windowTitle() << dialog->nameFilters().join(u'|');
            chooseInFileDialog(dialog, m_seedFile);
        });
        browse[0]->click();
        answerer.answer<QFileDialog>([&](QWidget *w) {
            auto *dialog = static_cast<QFileDialog *>(w);
            buttons << dialog->windowTitle();
            chooseInFileDialog(dialog, m_dir->path());
        });
        browse[1]->click();
        QCOMPARE(panel.entryField(1)->text(), m_seedFile);
        QCOMPARE(panel.entryField(2)->text(), QDir::cleanPath(m_dir->path()));
    });
    QVERIFY(answerer.allAnswered());
    QCOMPARE(buttons.value(0), text(KelwizRes::seedFileDialogTitle));
    QVERIFY(
        buttons.value(1).startsWith(text(KelwizRes::seedFileType) + QStringLiteral(" (*.xsd)")));
    QCOMPARE(buttons.value(2), text(KelwizRes::outputDirectoryDialogTitle));
}

QTEST_MAIN(SeedFilePanelTest)
#include "SeedFilePanelTest.moc"
