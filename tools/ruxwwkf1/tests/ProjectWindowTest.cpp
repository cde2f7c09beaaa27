#include "ProjectWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <memory>

namespace {

void writeFile(const QString &path, const QByteArray &content = "x")
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
}

/// Answers the next modal message box from the event loop and keeps its text.
class MessageBoxAnswerer : public QObject
{
public:
    MessageBoxAnswerer()
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                m_text = box->text();
                box->close();
                m_timer.stop();
            }
        });
        m_timer.start();
    }
    QString text() const { return m_text; }

private:
    QTimer m_timer;
    QString m_text;
};

QStringList childTexts(const QTreeWidgetItem *item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

} // namespace

class ProjectWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_tempDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tempDir->isValid());
        QDir root(m_tempDir->path());
        QVERIFY(root.mkpath("src"));
        QVERIFY(root.mkpath("year end"));
        for (const char *name :
             {"src/PAYRUN.cbl", "src/EMPREC.cpy", "src/notes.txt", "year end/YREND.CBL"})
            writeFile(root.filePath(name));
        m_projectPath = root.filePath("PAYROLL.iwp");
        writeFile(m_projectPath,
                  "-ProjectInfo\n+name=PAYROLL\n-LocationInfo\n+defaultDir=src\n"
                  "+dirs=src;year end;missing\n-ConfigInfo\n+filter=*.cbl;*.cpy\n+view=icon\n"
                  "+refresh=no\n+position=10,20,640,400\n");
    }

    void listsTheMatchingFilesOfEveryDirectory()
    {
        const auto window = ProjectWindow::open(m_projectPath);
        QVERIFY(window);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->windowTitle(), "PAYROLL - Project");
        QCOMPARE(window->size(), QSize(640, 400));

        auto tree = window->findChild<QTreeWidget *>("files");
        QVERIFY(tree);
        QCOMPARE(tree->topLevelItemCount(), 3);
        QCOMPARE(tree->topLevelItem(0)->text(0), QDir(m_tempDir->path()).filePath("src"));
        QCOMPARE(childTexts(tree->topLevelItem(0)), (QStringList{"EMPREC.cpy", "PAYRUN.cbl"}));
        QCOMPARE(tree->topLevelItem(1)->text(0), QDir(m_tempDir->path()).filePath("year end"));
        QCOMPARE(childTexts(tree->topLevelItem(1)), QStringList{"YREND.CBL"});
        QCOMPARE(tree->topLevelItem(2)->childCount(), 0);
        QCOMPARE(tree->topLevelItem(2)->text(0),
                 QDir(m_tempDir->path()).filePath("missing") + " (not found)");

        const QString shot = QDir::temp().filePath("ruxwwkf1-window.png");
        QVERIFY(window->grab().save(shot));
        qInfo("screenshot: %s", qPrintable(shot));
    }

    void theSampleProjectTemplateShowsTheSamplePrograms()
    {
        const QString data = qEnvironmentVariable("CHRONEX_DATA_DIR");
        const QString path = data + "/templates/PAYROLL.iwp";
        if (data.isEmpty() || !QFile::exists(path))
            QSKIP("the samples are not in the data directory");
        const auto window = ProjectWindow::open(path);
        QVERIFY(window);
        auto tree = window->findChild<QTreeWidget *>("files");
        QCOMPARE(tree->topLevelItemCount(), 3);
        QVERIFY(childTexts(tree->topLevelItem(0)).contains("PAYRUN.cbl"));
        QVERIFY(childTexts(tree->topLevelItem(0)).contains("EMPREC.cpy"));
        QCOMPARE(childTexts(tree->topLevelItem(1)), QStringList{"TAXTBL.cpy"});
        QCOMPARE(childTexts(tree->topLevelItem(2)), QStringList{"YREND.cbl"});
        window->show();
        QVERIFY(window->grab().save(QDir::temp().filePath("ruxwwkf1-payroll.png")));
    }

    void enterAndDoubleClickOpenTheFile()
    {
        const auto window = ProjectWindow::open(m_projectPath);
        QVERIFY(window);
        QList<QUrl> opened;
        window->setFileOpener([&](const QUrl &url) {
            opened << url;
            return true;
        });
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto tree = window->findChild<QTreeWidget *>("files");
        QTreeWidgetItem *payrun = tree->topLevelItem(0)->child(1);
        QTreeWidgetItem *yrend = tree->topLevelItem(1)->child(0);

        tree->setCurrentItem(payrun);
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Return);
        const QRect rect = tree->visualItemRect(yrend);
        // A double-click arrives after the press and release of its first click.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, rect.center());

        QCOMPARE(opened,
                 (QList<QUrl>{QUrl::fromLocalFile(
                                  QDir(m_tempDir->path()).filePath("src/PAYRUN.cbl")),
                              QUrl::fromLocalFile(
                                  QDir(m_tempDir->path()).filePath("year end/YREND.CBL"))}));

        // A directory row is not a file to open.
        tree->setCurrentItem(tree->topLevelItem(0));
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(opened.size(), 2);
    }

    void aFileNoApplicationTakesIsReported()
    {
        const auto window = ProjectWindow::open(m_projectPath);
        QVERIFY(window);
        window->setFileOpener([](const QUrl &) { return false; });
        window->show();
        auto tree = window->findChild<QTreeWidget *>("files");
        tree->setCurrentItem(tree->topLevelItem(0)->child(0));
        MessageBoxAnswerer answerer;
        QTest::keyClick(tree, Qt::Key_Return);
        QVERIFY2(answerer.text().contains(QDir(m_tempDir->path()).filePath("src/EMPREC.cpy")),
                 qPrintable(answerer.text()));
    }

    void refreshShowsNewAndRemovedFiles()
    {
        const auto window = ProjectWindow::open(m_projectPath);
        QVERIFY(window);
        auto tree = window->findChild<QTreeWidget *>("files");
        writeFile(QDir(m_tempDir->path()).filePath("src/CLMCHECK.cbl"));
        QVERIFY(QFile::remove(QDir(m_tempDir->path()).filePath("src/EMPREC.cpy")));
        window->refresh();
        QCOMPARE(childTexts(tree->topLevelItem(0)), (QStringList{"CLMCHECK.cbl", "PAYRUN.cbl"}));
    }

    void aRefreshingProjectFollowsItsDirectories()
    {
        QFile project(m_projectPath);
        QVERIFY(project.open(QIODevice::ReadOnly));
        const QByteArray text = project.readAll().replace("+refresh=no", "+refresh=yes");
        project.close();
        writeFile(m_projectPath, text);
        const auto window = ProjectWindow::open(m_projectPath);
        QVERIFY(window);
        auto tree = window->findChild<QTreeWidget *>("files");
        writeFile(QDir(m_tempDir->path()).filePath("year end/NEWYEAR.cbl"));
        QTRY_COMPARE(childTexts(tree->topLevelItem(1)), (QStringList{"NEWYEAR.cbl", "YREND.CBL"}));
    }

    void aMissingProjectFileIsReportedByName()
    {
        const QString missing = QDir(m_tempDir->path()).filePath("no such.iwp");
        MessageBoxAnswerer answerer;
        QVERIFY(!ProjectWindow::open(missing));
        QVERIFY2(answerer.text().contains(missing), qPrintable(answerer.text()));
        QVERIFY2(answerer.text().contains("does not exist"), qPrintable(answerer.text()));
    }

    void unquoted_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "/a/p.iwp"
                               << "/a/p.iwp";
        QTest::newRow("quoted with a blank") << "\"/a b/p.iwp\""
                                             << "/a b/p.iwp";
        QTest::newRow("a lone quote stays") << "\""
                                            << "\"";
        QTest::newRow("quote on one side only") << "\"/a/p.iwp"
                                                << "\"/a/p.iwp";
        QTest::newRow("empty quotes") << "\"\""
                                      << "";
    }

    void unquoted()
    {
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        QCOMPARE(ProjectWindow::unquoted(argument), expected);
    }

private:
    std::unique_ptr<QTemporaryDir> m_tempDir;
    QString m_projectPath;
};

QTEST_MAIN(ProjectWindowTest)
#include "ProjectWindowTest.moc"
