#include "DirectoryFileDialog.h"
#include "EFileDialogEnhanced.h"
#include "GenericFileDialog.h"
#include "ModalAnswerer.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

/// Types `name` into the dialog's file name field, as a user would.
void typeFileName(QFileDialog *dialog, const QString &name)
{
    auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(field);
    field->setText(name);
}

} // namespace

/// The embedded file browser and the modal file and directory dialogs, over a small directory
/// tree made for each test.
class FileDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void listsDirectoriesFirstThenFilesOfTheChosenType_data();
    void listsDirectoriesFirstThenFilesOfTheChosenType();
    void selectedEntriesComeInListOrder();
    void activatingADirectoryOpensItAndAFileIsReported();
    void goesUpToTheParentDirectory();
    void aLongDirectoryIsShortenedAtItsStartAndNeverWidensTheBrowser();
    void genericDialogReportsTheChosenFileOrNothing();
    void directoryDialogReportsTheChosenDirectory();

private:
    void touch(const QString &name) { QFile(m_dir->filePath(name)).open(QIODevice::WriteOnly); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void FileDialogTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QDir root(m_dir->path());
    root.mkpath("src/copy");
    root.mkpath("zeta dir");
    root.mkpath(".hidden");
    for (const char *name :
         {"PAY.CBL", "b.cbl", "a.cvt", "notes.txt", ".secret.cbl", "src/INNER.cbl"})
        touch(name);
}

void FileDialogTest::listsDirectoriesFirstThenFilesOfTheChosenType_data()
{
    QTest::addColumn<QString>("defaultExtension");
    QTest::addColumn<QString>("typeShown");
    QTest::addColumn<QStringList>("names");
    const QStringList directories = {"src", "zeta dir"};
    QTest::newRow("cbl, any case")
        << "cbl"
        << "COBOL sources (*.cbl)" << directories + QStringList{"b.cbl", "PAY.CBL"};
    QTest::newRow("cvt") << "cvt"
                         << "Converted sources (*.cvt)" << directories + QStringList{"a.cvt"};
    QTest::newRow("no default: all files")
        << ""
        << "All Files (*)" << directories + QStringList{"a.cvt", "b.cbl", "notes.txt", "PAY.CBL"};
}

void FileDialogTest::listsDirectoriesFirstThenFilesOfTheChosenType()
{
    QFETCH(QString, defaultExtension);
    QFETCH(QString, typeShown);
    QFETCH(QStringList, names);
    EFileDialogEnhanced dialog(nullptr, m_dir->path(), defaultExtension, "<b>Files:", 100);
    dialog.addSpecifiedExtension("cbl", "COBOL sources");
    dialog.addSpecifiedExtension("cvt", "Converted sources");
    dialog.addSpecifiedExtension("scb", "Structured sources");
    QCOMPARE(dialog.findChild<QComboBox *>("fileTypes")->currentText(), typeShown);
    QCOMPARE(dialog.findChild<QComboBox *>("fileTypes")->count(), 4);
    QCOMPARE(dialog.listedNames(), names);
    QCOMPARE(dialog.containerId(), 101UL);
    QCOMPARE(dialog.container()->objectName(), QStringLiteral("control101"));
}

void FileDialogTest::selectedEntriesComeInListOrder()
{
    EFileDialogEnhanced dialog(nullptr, m_dir->path(), "cbl", "Files:");
    dialog.addSpecifiedExtension("cbl", "COBOL sources");
    QSignalSpy changed(&dialog, &EFileDialogEnhanced::selectionChanged);
    QVERIFY(dialog.getSelected().fullName().isEmpty());

    dialog.select({"PAY.CBL", "src", "b.cbl"});
    QVERIFY(changed.count() > 0);
    QStringList walked;
    QList<bool> isFile;
    for (auto cursor = dialog.selectionCursor(); cursor.isValid(); cursor.setToNext()) {
        walked << cursor.current().fileName();
        isFile << cursor.current().isFile();
    }
    QCOMPARE(walked, QStringList({"src", "b.cbl", "PAY.CBL"}));
    QCOMPARE(isFile, QList<bool>({false, true, true}));

    dialog.select({"src"});
    QVERIFY(dialog.getSelected().isDirectory());
    QCOMPARE(dialog.getSelected().fullName(), QDir(m_dir->path()).absoluteFilePath("src"));
}

void FileDialogTest::activatingADirectoryOpensItAndAFileIsReported()
{
    EFileDialogEnhanced dialog(nullptr, m_dir->path(), "cbl", "Files:");
    dialog.addSpecifiedExtension("cbl", "COBOL sources");
    QSignalSpy activated(&dialog, &EFileDialogEnhanced::entryActivated);
    QSignalSpy moved(&dialog, &EFileDialogEnhanced::directoryChanged);

    QListWidget *list = dialog.container();
    list->setCurrentItem(list->findItems("b.cbl", Qt::MatchExactly).constFirst());
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).value<File>().fileName(), QStringLiteral("b.cbl"));

    emit list->itemActivated(list->findItems("src", Qt::MatchExactly).constFirst());
    QTRY_COMPARE(moved.count(), 1);
    QCOMPARE(dialog.directory(), QDir(m_dir->path()).absoluteFilePath("src"));
    QCOMPARE(dialog.listedNames(), QStringList({"copy", "INNER.cbl"}));
    QCOMPARE(activated.count(), 1);
}

void FileDialogTest::goesUpToTheParentDirectory()
{
    EFileDialogEnhanced dialog(nullptr, m_dir->filePath("src/copy"), "", "Files:");
    QVERIFY(dialog.goUp());
    QCOMPARE(dialog.directory(), QDir(m_dir->path()).absoluteFilePath("src"));
    QVERIFY(!dialog.setDirectory(m_dir->filePath("missing")));
    QCOMPARE(dialog.directory(), QDir(m_dir->path()).absoluteFilePath("src"));
    QVERIFY(dialog.setDirectory("/"));
    QVERIFY(!dialog.goUp());
}

void FileDialogTest::aLongDirectoryIsShortenedAtItsStartAndNeverWidensTheBrowser()
{
    const QString deep = QStringLiteral("a directory with a rather long name/") + QString(60, u'x')
                         + QStringLiteral("/the last part");
    QVERIFY(QDir(m_dir->path()).mkpath(deep));
    const QString full = QDir::toNativeSeparators(
        QDir::cleanPath(QDir(m_dir->path()).absoluteFilePath(deep)));
    EFileDialogEnhanced dialog(nullptr, m_dir->filePath(deep), "", "Files:");
    dialog.resize(300, 300);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.width(), 300);

    auto *lookIn = dialog.findChild<QLabel *>(QStringLiteral("lookIn"));
    QVERIFY(lookIn);
    QCOMPARE(lookIn->toolTip(), full);
    QVERIFY2(lookIn->text().endsWith(QStringLiteral("the last part")), qPrintable(lookIn->text()));
    QVERIFY(lookIn->text() != full);
    QVERIFY(lookIn->fontMetrics().horizontalAdvance(lookIn->text())
            <= lookIn->contentsRect().width());

    // Given room, the whole path shows again.
    dialog.resize(4000, 300);
    QTRY_COMPARE(lookIn->text(), full);
}

void FileDialogTest::genericDialogReportsTheChosenFileOrNothing()
{
    GenericFileDialog dialog(nullptr, m_dir->path(), "cbl", "<b>Choose a seed file");
    dialog.addFileType("cbl", "COBOL sources");
    dialog.setAcceptText("<b>&Select");

    ModalAnswerer answerer;
    QStringList filters;
    QString acceptText;
    answerer.answer<QFileDialog>([&](QWidget *w) {
        auto *fileDialog = static_cast<QFileDialog *>(w);
        filters = fileDialog->nameFilters();
        acceptText = fileDialog->labelText(QFileDialog::Accept);
        fileDialog->reject();
    });
    dialog.show();
    QVERIFY(!dialog.accepted());
    QVERIFY(dialog.selectedPath().isEmpty());
    QCOMPARE(filters, QStringList({"COBOL sources (*.cbl)", "All Files (*)"}));
    QCOMPARE(acceptText, QStringLiteral("&Select"));

    answerer.answer<QFileDialog>([&](QWidget *w) {
        auto *fileDialog = static_cast<QFileDialog *>(w);
        typeFileName(fileDialog, "b.cbl");
        static_cast<QDialog *>(fileDialog)->accept();
    });
    dialog.show();
    QVERIFY(dialog.accepted());
    QCOMPARE(dialog.selectedPath(), QDir(m_dir->path()).absoluteFilePath("b.cbl"));
}

void FileDialogTest::directoryDialogReportsTheChosenDirectory()
{
    DirectoryFileDialog dialog(nullptr, m_dir->path(), "", "Output directory");
    ModalAnswerer answerer;
    answerer.answer<QFileDialog>([&](QWidget *w) {
        auto *fileDialog = static_cast<QFileDialog *>(w);
        typeFileName(fileDialog, m_dir->filePath("zeta dir"));
        static_cast<QDialog *>(fileDialog)->accept();
    });
    dialog.show();
    QVERIFY(dialog.accepted());
    QCOMPARE(dialog.selectedPath(), QDir(m_dir->path()).absoluteFilePath("zeta dir"));
}

QTEST_MAIN(FileDialogTest)
#include "FileDialogTest.moc"
