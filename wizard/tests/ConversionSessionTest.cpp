// The run after Finish as the program does it: the progress window, the engine on its own
// thread over the stand-in tools, the end of the event loop and the start of the project tool.

#include "ConversionSession.h"
#include "ConversionFile.h"
#include "ConversionProgressWindow.h"
#include "ConversionWizard.h"
#include "EMessageBox.h"
#include "FileListContainer.h"
#include "KelwizResourceIds.h"
#include "ModalAnswerer.h"
#include "ResourceLibrary.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <sstream>

class ConversionSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void runsEngineAndOpensProjectInTool();
    void closingWhileRunningCancelsAndOpensNothing();
    void projectToolMissingIsReported();

private:
    QString path(const QString &name) const { return m_dir->path() + u'/' + name; }
    static void write(const QString &file, const QByteArray &text)
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text);
    }
    static QByteArray read(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    void addSource(const QString &base)
    {
        write(path("src/" + base + ".cbl"), "       IDENTIFICATION DIVISION.\n");
        m_wizard->files().add(
            std::make_unique<ConversionFile>(path("src/" + base + ".cbl").toStdString()));
        // What the stand-in program-unit builder reports: a program without copybooks.
        write(path("data/" + base + ".xrl"),
              "<PROGRAM-INFO>\n<FILE> " + base.toUtf8() + ".cbl </FILE>\n</PROGRAM-INFO>\n");
    }
    /// Closes the window (pressing its OK button) as soon as the run has finished.
    void closeWhenFinished(ConversionSession &session)
    {
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [timer, &session] {
            ConversionProgressWindow *window = session.window();
            if (!window || !window->isFinished())
                return;
            timer->deleteLater();
            qobject_cast<QPushButton *>(window->control(ConversionProgressWindow::cancelButtonId))
                ->click();
        });
        timer->start(10);
    }

    const ResourceLibrary *m_resources = nullptr;
    QByteArray m_path;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ConversionWizard> m_wizard;
    std::ostringstream m_console;
};

void ConversionSessionTest::initTestCase()
{
    m_resources = &ResourceLibrary::load(QStringLiteral("KELWIZRS"));
    m_path = qgetenv("PATH");
}

void ConversionSessionTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char *directory : {"src", "home", "work", "projects", "config", "data", "tool"})
        QVERIFY(QDir(m_dir->path()).mkdir(QLatin1String(directory)));
    write(path("config/telamrdv.iwo"), "options template\n");
    write(path("seed.xsd"), "* the user's seed file\n");
    write(path("home/environment.ini"),
          ("[Conversion & Structuring]\nQVFWORK=" + path("work")
           + "\n[Toolbench]\nPRJDIR=" + path("projects") + "\nCONFIG_PATH=" + path("config") + "\n")
              .toUtf8());
    // The project tool's stand-in keeps its arguments, one a line.
    write(path("tool/ruxwwkf1"),
          "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > "
          "\"$STANDIN_DIR/ruxwwkf1.tmp\"\n"
          "mv \"$STANDIN_DIR/ruxwwkf1.tmp\" \"$STANDIN_DIR/ruxwwkf1.args\"\n");
    QFile::setPermissions(path("tool/ruxwwkf1"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    qputenv("CHRONEX_HOME", path("home").toUtf8());
    qputenv("STANDIN_DIR", path("data").toUtf8());
    qputenv("STANDIN_QVFWORK", path("work").toUtf8());
    const QByteArray standIns = qgetenv("CHRONEX_SOURCE_DIR") + "/engine/tests/standin";
    qputenv("PATH", standIns + ':' + path("tool").toUtf8() + ':' + m_path);

    m_wizard = std::make_unique<ConversionWizard>(*m_resources);
    m_wizard->seedFile() = path("seed.xsd").toStdString();
    // Not there yet, and with a blank: the run makes it, and it stays one argument throughout.
    m_wizard->outputDirectory() = path("y2k ready").toStdString();
    m_wizard->conversionTitle() = "Year 2000 Conversion";
    m_console.str({});
}

void ConversionSessionTest::cleanup()
{
    m_wizard.reset();
    qputenv("PATH", m_path);
    qunsetenv("STANDIN_HANG_zmc2_PROGB");
    m_dir.reset();
}

void ConversionSessionTest::runsEngineAndOpensProjectInTool()
{
    addSource("PROGA");
    addSource("PROGB");
    ConversionSession session(*m_wizard, *m_resources, m_console);
    session.start();
    QVERIFY(session.window()->isVisible());
    closeWhenFinished(session);
    session.waitForWindowClose();

    QVERIFY(!session.projectPath().empty());
    QCOMPARE(ConversionFile::outputDirectory(), m_wizard->outputDirectory());
    for (std::size_t i = 0; i < m_wizard->files().size(); ++i)
        QCOMPARE(int(m_wizard->files().at(i).state()), 0x81);
    using Pass = ConversionObserver::Pass;
    for (Pass pass : {Pass::Compile, Pass::Analysis, Pass::Conversion}) {
        QCOMPARE(session.window()->successCount(pass), 2u);
        QCOMPARE(session.window()->failureCount(pass), 0u);
    }
    QCOMPARE(session.window()->fileList().rowAt(1)->text(0),
             m_resources->loadString(KelwizRes::stateConverted));
    QVERIFY(QFile::exists(path("y2k ready/PROGA.cvt")));
    QVERIFY(m_console.str().find("Executed:  ") != std::string::npos);
    // The console names the analysis database last (the stand-in tools record none).
    QVERIFY2(m_console.str().ends_with("\nDatabase:  (none)\n"), m_console.str().c_str());

    QVERIFY(session.openProject());
    // One argument, the path itself: an argument vector needs no quotes around it.
    QTRY_COMPARE(read(path("data/ruxwwkf1.args")),
                 QByteArray::fromStdString(session.projectPath() + "\n"));
}

void ConversionSessionTest::closingWhileRunningCancelsAndOpensNothing()
{
    addSource("PROGA");
    addSource("PROGB");
    qputenv("STANDIN_HANG_zmc2_PROGB", "1");
    ConversionSession session(*m_wizard, *m_resources, m_console);
    session.start();
    ConversionProgressWindow *window = session.window();

    ModalAnswerer answerer;
    answerer.answer<EMessageBox>([](QWidget *box) {
        box->findChild<QPushButton *>(QStringLiteral("messageButton%1").arg(int(EMessageBox::yes)))
            ->click();
    });
    // Close once the compiler hangs on the second program.
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, timer, window] {
        if (!QFile::exists(path("data/running.zmc2.PROGB")) || window->processId() == 0)
            return;
        timer->deleteLater();
        window->close();
    });
    timer->start(10);
    session.waitForWindowClose();

    QVERIFY(answerer.allAnswered());
    QVERIFY(window->control().isCancelled());
    QVERIFY(session.projectPath().empty());
    QCOMPARE(int(m_wizard->files().at(0).state()), 0x11);
    // The killed compile is not judged: the file keeps its running state.
    QCOMPARE(int(m_wizard->files().at(1).state()), 0x91);
    QVERIFY(!session.openProject());
    QVERIFY(!QFile::exists(path("data/ruxwwkf1.args")));
}

void ConversionSessionTest::projectToolMissingIsReported()
{
    addSource("PROGA");
    qputenv("PATH", qgetenv("CHRONEX_SOURCE_DIR") + "/engine/tests/standin:" + m_path);
    ConversionSession session(*m_wizard, *m_resources, m_console);
    session.start();
    closeWhenFinished(session);
    session.waitForWindowClose();
    QVERIFY(!session.projectPath().empty());

    QStringList lines;
    ModalAnswerer answerer;
    answerer.answer<EMessageBox>([&lines](QWidget *box) {
        lines = qobject_cast<EMessageBox *>(box)->lines();
        box->findChild<QPushButton *>(QStringLiteral("messageButton%1").arg(int(EMessageBox::ok)))
            ->click();
    });
    QVERIFY(!session.openProject());
    QVERIFY(answerer.allAnswered());
    QCOMPARE(lines,
             QStringList{m_resources->loadString(KelwizRes::projectToolNotStarted)
                         + QString::fromStdString(m_wizard->outputDirectory()) + u'.'});
}

QTEST_MAIN(ConversionSessionTest)
#include "ConversionSessionTest.moc"
