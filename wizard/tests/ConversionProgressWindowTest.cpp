#include "ConversionProgressWindow.h"
#include "ConversionControl.h"
#include "ConversionFile.h"
#include "ConversionWizard.h"
#include "EAnimation.h"
#include "EMessageBox.h"
#include "EStaticText.h"
#include "FileListContainer.h"
#include "HelpViewer.h"
#include "KelwizResourceIds.h"
#include "ModalAnswerer.h"
#include "Process.h"
#include "ResourceLibrary.h"
#include "ToolOutputDialog.h"
#include "WizkitTexts.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <QScopeGuard>

#include <csignal>
#include <mutex>
#include <spawn.h>

#include <memory>
#include <thread>

extern char **environ;

namespace {

/// Starts `sleep 30` leading a process group of its own, as the engine starts its tools.
pid_t startSleepingToolStandIn()
{
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    char program[] = "sleep";
    char seconds[] = "30";
    char *argv[] = {program, seconds, nullptr};
    pid_t pid = -1;
    if (posix_spawnp(&pid, program, nullptr, &attributes, argv, environ) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    return pid;
}

} // namespace

using Pass = ConversionObserver::Pass;

class ConversionProgressWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void showsTitleIconHeadingAndButtons();
    void startsWithZeroCountsAndRunningAnimation();
    void countersFromEngineThreadFollowColourRule();
    void successColourStaysOnceSet();
    void fileRowsAreRemadeFromEngineThread();
    void statusLineFromEngineThread();
    void cancelAsksAndKillsRunningChild();
    void closeWhileRunningAsksFirst();
    void finishedRunShowsResult_data();
    void finishedRunShowsResult();
    void finishedWindowClosesWithoutQuestion();
    void engineMessagesAreShownAsBoxes();
    void helpShowsTheHelpPage();
    void aFailedSourceStandsOutAndSaysWhy();
    void helpIsDisabledWithoutHelpPage();
    void screenshots();

private:
    QString text(unsigned long id) const { return m_resources->loadString(id); }
    EStaticText *field(unsigned long id) const
    {
        return qobject_cast<EStaticText *>(m_window->control(id));
    }
    QPushButton *button(unsigned long id) const
    {
        return qobject_cast<QPushButton *>(m_window->control(id));
    }
    static int colourOf(QWidget *widget) { return widget->property("colourNumber").toInt(); }
    /// Runs `work` on a thread of its own, as the engine would, and waits for it.
    static void onEngineThread(const std::function<void()> &work) { std::thread(work).join(); }
    static void answerBox(ModalAnswerer &answerer, EMessageBox::Answer answer)
    {
        answerer.answer<EMessageBox>([answer](QWidget *box) {
            box->findChild<QPushButton *>(QStringLiteral("messageButton%1").arg(int(answer)))
                ->click();
        });
    }

    const ResourceLibrary *m_resources = nullptr;
    QTemporaryDir m_dir;
    std::unique_ptr<ConversionWizard> m_wizard;
    std::unique_ptr<ConversionProgressWindow> m_window;
};

void ConversionProgressWindowTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("CHRONEX_HOME", m_dir.path().toUtf8());
    m_resources = &ResourceLibrary::load(QStringLiteral("KELWIZRS"));
}

void ConversionProgressWindowTest::init()
{
    m_wizard = std::make_unique<ConversionWizard>(*m_resources);
    for (const char *name : {"PAYROLL.cbl", "ORDERS.cbl", "STOCK.cbl"})
        m_wizard->files().add(std::make_unique<ConversionFile>(
            (m_dir.path() + u'/' + QLatin1String(name)).toStdString()));
    m_window = std::make_unique<ConversionProgressWindow>(*m_wizard, *m_resources);
    m_window->show();
}

void ConversionProgressWindowTest::cleanup()
{
    m_window.reset();
    m_wizard.reset();
}

void ConversionProgressWindowTest::showsTitleIconHeadingAndButtons()
{
    QCOMPARE(m_window->property("windowId").toULongLong(), 0x9000ull);
    QCOMPARE(m_window->windowTitle(), text(KelwizRes::wizardTitle));
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(field(ConversionProgressWindow::headingId)->markup(),
             text(KelwizRes::progressHeading));
    QCOMPARE(field(ConversionProgressWindow::headingId)->alignment(), Qt::AlignCenter);
    QCOMPARE(field(ConversionProgressWindow::compiledLabelId)->markup(),
             text(KelwizRes::compiledLabel));
    QCOMPARE(field(ConversionProgressWindow::convertedLabelId)->markup(),
             text(KelwizRes::convertedLabel));
    QCOMPARE(button(ConversionProgressWindow::cancelButtonId)->text(),
             text(KelwizRes::cancelButton));
    QCOMPARE(button(ConversionProgressWindow::helpButtonId)->text(), text(KelwizRes::helpButton));
    QVERIFY(button(ConversionProgressWindow::cancelButtonId)->isEnabled());

    QWidget *client = m_window->control(ConversionProgressWindow::clientCanvasId);
    QCOMPARE(m_window->centralWidget(), client);
    QCOMPARE(colourOf(client), int(ConversionProgressWindow::white));
    QCOMPARE(client->palette().color(QPalette::Window), QColor(Qt::white));

    FileListContainer &list = m_window->fileList();
    QCOMPARE(list.objectName(), QStringLiteral("control36872"));
    QVERIFY(list.isStatusForm());
    QCOMPARE(list.rowCount(), 3);
    QCOMPARE(list.rowAt(0)->text(0), text(KelwizRes::stateWaiting));
}

void ConversionProgressWindowTest::startsWithZeroCountsAndRunningAnimation()
{
    const unsigned long success[] = {36877, 36880, 36883};
    const unsigned long failure[] = {36878, 36881, 36884};
    const unsigned long labels[] = {36876, 36879, 36882};
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(field(success[row])->markup(), u'0' + text(KelwizRes::succeededSuffix));
        QCOMPARE(colourOf(field(success[row])), int(ConversionProgressWindow::textColour));
        QCOMPARE(field(success[row])->palette().color(QPalette::WindowText),
                 ConversionProgressWindow::colour(7));
        QCOMPARE(field(failure[row])->markup(), QString());
        QCOMPARE(colourOf(field(failure[row])), int(ConversionProgressWindow::red));
        QCOMPARE(colourOf(field(labels[row])), int(ConversionProgressWindow::blue));
    }
    QCOMPARE(field(ConversionProgressWindow::statusLineId)->markup(),
             text(KelwizRes::progressStartStatus));

    auto *animation = qobject_cast<EAnimation *>(
        m_window->control(ConversionProgressWindow::animationId));
    QVERIFY(animation);
    QVERIFY(animation->isRunning());
    QCOMPARE(animation->bitmapCount(), 20);
    QCOMPARE(animation->size(), QSize(96, 96));
    QVERIFY(m_window->isRunning());
    QCOMPARE(m_window->processId(), 0);
}

void ConversionProgressWindowTest::countersFromEngineThreadFollowColourRule()
{
    onEngineThread([this] {
        m_window->countersChanged(Pass::Compile, 1, 0);
        m_window->countersChanged(Pass::Compile, 2, 1);
        m_window->countersChanged(Pass::Analysis, 0, 3);
    });
    QTRY_COMPARE(m_window->failureCount(Pass::Analysis), 3u);

    const QString ok = text(KelwizRes::succeededSuffix);
    const QString failed = text(KelwizRes::failedSuffix);
    QCOMPARE(field(ConversionProgressWindow::compiledSuccessId)->markup(), u'2' + ok);
    QCOMPARE(colourOf(field(ConversionProgressWindow::compiledSuccessId)),
             int(ConversionProgressWindow::green));
    QCOMPARE(field(ConversionProgressWindow::compiledFailureId)->markup(), u'1' + failed);
    QCOMPARE(field(ConversionProgressWindow::analysedSuccessId)->markup(), u'0' + ok);
    QCOMPARE(colourOf(field(ConversionProgressWindow::analysedSuccessId)),
             int(ConversionProgressWindow::textColour));
    QCOMPARE(field(ConversionProgressWindow::analysedFailureId)->markup(), u'3' + failed);
    QCOMPARE(field(ConversionProgressWindow::convertedFailureId)->markup(), QString());
}

void ConversionProgressWindowTest::successColourStaysOnceSet()
{
    onEngineThread([this] { m_window->countersChanged(Pass::Conversion, 1, 0); });
    QTRY_COMPARE(m_window->successCount(Pass::Conversion), 1u);
    EStaticText *success = field(ConversionProgressWindow::convertedSuccessId);
    QCOMPARE(colourOf(success), int(ConversionProgressWindow::green));
    QCOMPARE(success->palette().color(QPalette::WindowText), ConversionProgressWindow::colour(12));

    onEngineThread([this] { m_window->countersChanged(Pass::Conversion, 0, 2); });
    QTRY_COMPARE(m_window->failureCount(Pass::Conversion), 2u);
    QCOMPARE(success->markup(), u'0' + text(KelwizRes::succeededSuffix));
    QCOMPARE(colourOf(success), int(ConversionProgressWindow::green));
}

void ConversionProgressWindowTest::fileRowsAreRemadeFromEngineThread()
{
    ConversionFile &orders = m_wizard->files().at(1);
    // The engine sets a state and reports it at once; the GUI draws later. Every 0x21 report
    // counts, even when the GUI sees only the last state.
    onEngineThread([&] {
        for (std::uint8_t state : {0x92, 0x21, 0x92, 0x21}) {
            orders.setState(state);
            m_window->fileStateChanged(orders, state);
        }
    });
    const QString analysed = text(KelwizRes::stateAnalysed);
    QTRY_COMPARE(m_window->fileList().rowAt(1)->text(0), analysed + u'2');
    QCOMPARE(orders.counter(), 2u);
    QCOMPARE(m_window->fileList().rowCount(), 3);
    QCOMPARE(&m_window->fileList().rowAt(1)->record(), &orders);
    QCOMPARE(m_window->fileList().rowAt(0)->text(0), text(KelwizRes::stateWaiting));
}

void ConversionProgressWindowTest::statusLineFromEngineThread()
{
    onEngineThread([this] {
        m_window->statusText(KelwizRes::statusAnalysing, "Analysing");
        m_window->statusText(0, "A line of the engine's own");
    });
    QTRY_COMPARE(field(ConversionProgressWindow::statusLineId)->markup(),
                 QStringLiteral("A line of the engine's own"));
    QCOMPARE(m_window->resourceText(KelwizRes::questionTitle),
             text(KelwizRes::questionTitle).toStdString());
    QCOMPARE(m_window->resourceText(1), std::string());
}

void ConversionProgressWindowTest::cancelAsksAndKillsRunningChild()
{
    const pid_t child = startSleepingToolStandIn();
    QVERIFY(child > 0);
    bool reaped = false;
    // A failed check must not leave the child running.
    const auto killChild = qScopeGuard([child, &reaped] {
        if (!reaped) {
            ::kill(child, SIGKILL);
            waitForProcess(child);
        }
    });
    {
        const std::lock_guard<std::mutex> guard(ConversionControl::spawnLock());
        QVERIFY(m_window->control().addChild(child));
    }

    ModalAnswerer answerer;
    answerBox(answerer, EMessageBox::no);
    button(ConversionProgressWindow::cancelButtonId)->click();
    QVERIFY(answerer.allAnswered());
    QVERIFY(m_window->isRunning());
    QVERIFY(!m_window->control().isCancelled());

    answerBox(answerer, EMessageBox::yes);
    button(ConversionProgressWindow::cancelButtonId)->click();
    QVERIFY(answerer.allAnswered());
    QVERIFY(m_window->control().isCancelled());
    const ProcessResult result = waitForProcess(child);
    reaped = true;
    QCOMPARE(result.ending, ProcessResult::Ending::Signalled);

    QVERIFY(!m_window->isRunning());
    QVERIFY(!button(ConversionProgressWindow::cancelButtonId)->isEnabled());
    QVERIFY(!qobject_cast<EAnimation *>(m_window->control(ConversionProgressWindow::animationId))
                 ->isRunning());
    QCOMPARE(field(ConversionProgressWindow::statusLineId)->markup(),
             text(KelwizRes::statusCancelled));

    // The engine's later status lines do not hide that the run was cancelled.
    onEngineThread([this] { m_window->statusText(KelwizRes::statusConverting, "Converting"); });
    QCoreApplication::processEvents();
    QCOMPARE(field(ConversionProgressWindow::statusLineId)->markup(),
             text(KelwizRes::statusCancelled));
}

void ConversionProgressWindowTest::closeWhileRunningAsksFirst()
{
    QSignalSpy closed(m_window.get(), &ConversionProgressWindow::closed);
    ModalAnswerer answerer;
    answerBox(answerer, EMessageBox::no);
    m_window->close();
    QVERIFY(answerer.allAnswered());
    QVERIFY(m_window->isVisible());
    QCOMPARE(closed.count(), 0);
    QVERIFY(!m_window->control().isCancelled());

    answerBox(answerer, EMessageBox::yes);
    m_window->close();
    QVERIFY(answerer.allAnswered());
    QVERIFY(!m_window->isVisible());
    QCOMPARE(closed.count(), 1);
    QVERIFY(m_window->control().isCancelled());
}

void ConversionProgressWindowTest::finishedRunShowsResult_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("error");
    QTest::addColumn<unsigned long>("statusId");
    QTest::addColumn<QString>("statusTail");

    QTest::newRow("project made") << false << "/p/Y2K.iwp"
                                  << "" << KelwizRes::finalProjectCreated << "";
    QTest::newRow("no project") << false << ""
                                << "" << KelwizRes::finalNoProject << "";
    QTest::newRow("cancelled") << true << ""
                               << "" << KelwizRes::statusCancelled << "";
    QTest::newRow("ended by an error")
        << false << ""
        << "Cannot copy seed file a to b" << KelwizRes::statusStoppedByError
        << " Cannot copy seed file a to b";
}

void ConversionProgressWindowTest::finishedRunShowsResult()
{
    QFETCH(bool, cancelled);
    QFETCH(QString, project);
    QFETCH(QString, error);
    QFETCH(unsigned long, statusId);
    QFETCH(QString, statusTail);

    if (cancelled)
        m_window->control().cancel();
    onEngineThread([&] { m_window->runFinished(project.toStdString(), error.toStdString()); });
    QTRY_VERIFY(m_window->isFinished());

    QCOMPARE(m_window->projectPath(), project.toStdString());
    QVERIFY(!m_window->isRunning());
    QCOMPARE(field(ConversionProgressWindow::statusLineId)->markup(), text(statusId) + statusTail);
    QVERIFY(!qobject_cast<EAnimation *>(m_window->control(ConversionProgressWindow::animationId))
                 ->isRunning());
    QPushButton *close = button(ConversionProgressWindow::cancelButtonId);
    QVERIFY(close->isEnabled());
    QCOMPARE(close->text(), WizkitTexts::text(WizkitTexts::dialogOk));
}

void ConversionProgressWindowTest::finishedWindowClosesWithoutQuestion()
{
    QSignalSpy closed(m_window.get(), &ConversionProgressWindow::closed);
    onEngineThread([this] { m_window->runFinished("/p/Y2K.iwp", {}); });
    QTRY_VERIFY(m_window->isFinished());
    button(ConversionProgressWindow::cancelButtonId)->click();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!m_window->isVisible());
    QVERIFY(!m_window->control().isCancelled());
}

void ConversionProgressWindowTest::engineMessagesAreShownAsBoxes()
{
    QStringList shown;
    ModalAnswerer answerer;
    answerer.answer<EMessageBox>([&shown](QWidget *box) {
        shown = qobject_cast<EMessageBox *>(box)->lines();
        box->findChild<QPushButton *>(QStringLiteral("messageButton%1").arg(int(EMessageBox::ok)))
            ->click();
    });
    onEngineThread([this] { m_window->informationMessage({"The new project is in", "", "/p"}); });
    QTRY_VERIFY(answerer.allAnswered());
    QTRY_COMPARE(shown, (QStringList{"The new project is in", "", "/p"}));
}

void ConversionProgressWindowTest::helpShowsTheHelpPage()
{
    QVERIFY(m_window->hasHelp());
    button(ConversionProgressWindow::helpButtonId)->click();
    auto *help = m_window->findChild<HelpViewer *>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->windowTitle(), text(KelwizRes::helpWindowTitle));
    QCOMPARE(help->currentPage().fileName(), QStringLiteral("1400.html"));
    QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("The conversion window")));
    // Asked again: the same viewer comes to the front.
    button(ConversionProgressWindow::helpButtonId)->click();
    QCOMPARE(m_window->findChildren<HelpViewer *>().size(), 1);
}

void ConversionProgressWindowTest::aFailedSourceStandsOutAndSaysWhy()
{
    ConversionFileCollection &files = m_wizard->files();
    const std::string output = "PAYROLL.cbl:12: error: syntax error, unexpected PERFORM\n"
                               + std::string(70, '-') + "\nExecuted:  zmc2 ... ==> 8\n";
    onEngineThread([&] {
        files.at(0).appendToolOutput(output, output);
        files.at(0).setState(0x14);
        m_window->fileStateChanged(files.at(0), 0x14);
        files.at(1).setState(0x81);
        m_window->fileStateChanged(files.at(1), 0x81);
        m_window->countersChanged(Pass::Compile, 2, 1);
    });
    FileListContainer &list = m_window->fileList();
    QTRY_VERIFY(list.rowAt(0)->isFailed());
    FileRow *failed = list.rowAt(0);
    QCOMPARE(failed->foreground(FileRow::textColumn).color(), FileRow::failureColour());
    QVERIFY(failed->font(FileRow::textColumn).bold());
    QCOMPARE(failed->toolTip(FileRow::textColumn),
             QStringLiteral("PAYROLL.cbl:12: error: syntax error, unexpected PERFORM"));
    QVERIFY(!list.rowAt(1)->isFailed());
    QVERIFY(field(ConversionProgressWindow::compiledFailureId)->font().bold());

    // Enter on the row (as a double-click would) shows everything the tools wrote.
    list.setFocus();
    list.setCurrentItem(failed);
    QTest::keyClick(&list, Qt::Key_Return);
    auto *details = m_window->findChild<ToolOutputDialog *>();
    QVERIFY(details);
    QVERIFY(details->isVisible());
    QCOMPARE(details->outputView()->toPlainText(), QString::fromStdString(output));
    QVERIFY(details->windowTitle().endsWith(QStringLiteral("PAYROLL")));
    details->close();

    onEngineThread([this] { m_window->runFinished("/p/Y2K.iwp", {}); });
    QTRY_VERIFY(m_window->isFinished());
    QCOMPARE(field(ConversionProgressWindow::statusLineId)->text(),
             text(KelwizRes::finalProjectCreated) + u' '
                 + text(KelwizRes::statusFailedSources).arg(1).arg(3));
    QCOMPARE(colourOf(field(ConversionProgressWindow::statusLineId)),
             int(ConversionProgressWindow::red));
}

void ConversionProgressWindowTest::helpIsDisabledWithoutHelpPage()
{
    QTemporaryDir emptyData;
    const QByteArray dataDirectory = qgetenv("CHRONEX_DATA_DIR");
    qputenv("CHRONEX_DATA_DIR", emptyData.path().toUtf8());
    ConversionProgressWindow window(*m_wizard, *m_resources);
    qputenv("CHRONEX_DATA_DIR", dataDirectory);

    QVERIFY(!window.hasHelp());
    auto *help = qobject_cast<QPushButton *>(
        window.control(ConversionProgressWindow::helpButtonId));
    QVERIFY(!help->isEnabled());
    QCOMPARE(help->toolTip(), text(KelwizRes::helpNotAvailable));
}

void ConversionProgressWindowTest::screenshots()
{
    // Pictures for a person to look at; set CHRONEX_SCREENSHOT_DIR to get them.
    const QString directory = qEnvironmentVariable("CHRONEX_SCREENSHOT_DIR");
    if (directory.isEmpty())
        QSKIP("CHRONEX_SCREENSHOT_DIR is not set");
    const auto save = [&directory](QWidget *widget, const QString &name) {
        QCoreApplication::sendPostedEvents(); // the layouts follow the new texts
        QVERIFY(widget->grab().save(directory + u'/' + name + QStringLiteral(".png")));
        const QSize size = widget->size();
        widget->resize(widget->minimumSizeHint().expandedTo(widget->minimumSize()));
        QCoreApplication::sendPostedEvents();
        QVERIFY(widget->grab().save(directory + u'/' + name + QStringLiteral("-minimum.png")));
        widget->resize(size);
    };
    save(m_window.get(), QStringLiteral("kelwiz-progress-start"));
    ConversionFileCollection &files = m_wizard->files();
    const std::uint8_t states[] = {0x14, 0x21, 0x92};
    onEngineThread([&] {
        files.at(0).appendToolOutput("PAYROLL.cbl:12: error: syntax error, unexpected PERFORM\n",
                                     "PAYROLL.cbl:12: error: syntax error, unexpected PERFORM");
        for (std::size_t i = 0; i < 3; ++i) {
            files.at(i).setState(states[i]);
            m_window->fileStateChanged(files.at(i), states[i]);
        }
        m_window->countersChanged(Pass::Compile, 2, 1);
        m_window->countersChanged(Pass::Analysis, 1, 0);
        m_window->statusText(KelwizRes::statusAnalysing, {});
    });
    QTRY_COMPARE(m_window->successCount(Pass::Analysis), 1u);
    save(m_window.get(), QStringLiteral("kelwiz-progress-running"));

    onEngineThread([this] { m_window->runFinished("/p/Y2K.iwp", {}); });
    QTRY_VERIFY(m_window->isFinished());
    save(m_window.get(), QStringLiteral("kelwiz-progress-finished"));

    emit m_window->fileList().itemActivated(m_window->fileList().rowAt(0), 0);
    auto *details = m_window->findChild<ToolOutputDialog *>();
    QVERIFY(details);
    save(details, QStringLiteral("kelwiz-tool-output"));

    button(ConversionProgressWindow::helpButtonId)->click();
    auto *help = m_window->findChild<HelpViewer *>();
    QVERIFY(help);
    QTest::qWait(50);
    save(help, QStringLiteral("kelwiz-progress-help"));

    ModalAnswerer answerer;
    answerer.answer<EMessageBox>([&](QWidget *box) {
        save(box, QStringLiteral("kelwiz-progress-question"));
        ModalAnswerer::findButton(box, QStringLiteral("No"))->click();
    });
    ConversionProgressWindow running(*m_wizard, *m_resources);
    running.show();
    running.requestCancel();
    QVERIFY(answerer.allAnswered());
}

QTEST_MAIN(ConversionProgressWindowTest)
#include "ConversionProgressWindowTest.moc"
