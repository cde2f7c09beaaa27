#include "CapturedMessages.h"
#include "DbPu.h"
#include "DemoScene.h"
#include "Gate.h"
#include "ICommandEvent.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IException.h"
#include "IMouseClickHandler.h"
#include "IProfile.h"
#include "KelDesktop.h"
#include "KelHelpViewer.h"
#include "KelMouseClickHandler.h"
#include "KelMsgIds.h"
#include "KelTBMouseClickHandler.h"
#include "KelWindowActions.h"
#include "KelresrcResourceIds.h"
#include "OpenWindowEvent.h"
#include "RegisterInstance.h"
#include "TemporaryHome.h"
#include "WidgetGrab.h"
#include "WindowRegistry.h"
#include "XIHelpIndex.h"
#include "XIHelpWindow.h"
#include "XIHoverHelpSelector.h"
#include "XIProductInformation.h"
#include "XIToolBar.h"
#include "XIUsingHelp.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

/// Exposes the click handlers' answers, which Qt only sees as an event taken or not.
class ProbeClickHandler : public KelMouseClickHandler
{
public:
    using KelMouseClickHandler::KelMouseClickHandler;
    using KelMouseClickHandler::mouseClicked;
};

class ProbeToolBarHandler : public KelTBMouseClickHandler
{
public:
    using KelTBMouseClickHandler::mouseClicked;
    using KelTBMouseClickHandler::mousePointerChange;
};

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

XIHelpWindow *shownHelpWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *help = qobject_cast<XIHelpWindow *>(window); help && help->isVisible())
            return help;
    }
    return nullptr;
}

bool send(QWidget *window, unsigned long commandId)
{
    return ICommandEvent::send(window, commandId, ICommandEvent::Source::Menu);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

/// KelWindow as the host's views use it: real offscreen windows derived from it, made by a
/// stand-in factory through a real desktop, over a real analysis database, with real worker
/// threads.
class KelWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<DemoScene> m_scene;

    DbPu *unit(const std::string &name)
    {
        DbPu *pu = m_scene->database->eu().puNamed(name);
        pu->load();
        return pu;
    }

    /// A window made through the desktop, as the views' own requests make them.
    template<typename Window = DemoView>
    Window *open(char kind, const std::string &unitName, DbToken *token = nullptr)
    {
        const int before = static_cast<int>(m_scene->factory->made.size());
        DbPu *pu = unitName.empty() ? nullptr : unit(unitName);
        m_scene->desktop->newWindow(new StartWindowData(kind, pu, unitName, token));
        if (!QTest::qWaitFor([&] { return m_scene->factory->made.size() > before; }, 5000))
            return nullptr;
        return qobject_cast<Window *>(m_scene->factory->made.last().window.data());
    }

    static bool idle(DemoView *view)
    {
        return QTest::qWaitFor([view] { return view->busy() == 0 && !view->isCommandRunning(); },
                               5000);
    }

private slots:
    void init() { m_scene = std::make_unique<DemoScene>(); }

    void cleanup()
    {
        m_scene.reset();
        qunsetenv("CHRONEX_HELP_VIEWER");
        qunsetenv("KELCOMON_VIEWER_LOG");
    }

    void theActionsCarryTheirIdsCategoriesLatchingAndFlyOverTexts()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        struct Row
        {
            unsigned long id;
            const char *category;
            bool latching;
            unsigned long flyOver;
        };
        const Row rows[] = {
            {KelRes::controlGraphCommand, "basic", false, 0x16002},
            {KelRes::symbolsUsedCommand, "basic", false, 0x16004},
            {KelRes::relatedSourceCommand, "basic", false, 0x16005},
            {KelRes::expandedSourceCommand, "basic", false, 0x16006},
            {KelRes::requestScrollCommand, "basic", true, KelRes::requestScrollOff},
            {KelRes::scrollOnRequestCommand, "basic", true, KelRes::scrollOnRequestOff},
            {KelRes::surfOnScrollCommand, "basic", true, KelRes::surfOnScrollOff},
            {KelRes::savePlacementCommand, "basic", false, 0x16076},
            {KelRes::restoreOriginalPlacementCommand, "basic", false, 0x16081},
            {KelRes::restoreSavedPlacementCommand, "basic", false, 0x17020},
            {KelRes::closeWindowCommand, "exit", false, 0x13117},
            {KelRes::tutorialCommand, "basic", false, 0xef11},
            {KelRes::helpCommand, "basic", false, 0xef0f},
            {KelRes::exceptionLogCommand, "simple", true, 0x16109},
            // The plain actions: menu headers.
            {KelRes::fileMenu, "", false, 0xef07},
            {KelRes::viewMenu, "", false, 0xef08},
            {KelRes::windowMenu, "", false, 0xef09},
            {KelRes::optionsMenu, "", false, 0xef0a},
            {KelRes::editMenu, "", false, 0xef0b},
            {KelRes::selectedMenu, "", false, 0xef0c},
            {KelRes::helpMenu, "", false, 0xef12},
            {KelRes::scrollCouplingMenu, "", false, 0x16108},
            {KelRes::toolBarMenu, "", false, 0x16126},
            {XIHelpIndex::commandId, "", false, 0xef0d},
            {XIUsingHelp::commandId, "", false, 0xef0e},
            {XIProductInformation::commandId, "", false, 0xef10},
        };
        for (const Row &row : rows) {
            XIAction *action = view->action(row.id);
            QVERIFY2(action, qPrintable(QString::number(row.id, 16)));
            QCOMPARE(action->category(), QString::fromLatin1(row.category));
            QCOMPARE(action->isLatching(), row.latching);
            QCOMPARE(action->flyOverText(), text(row.flyOver));
            QVERIFY2(!action->text().startsWith(u'['), qPrintable(action->text()));
        }
        QCOMPARE(XIHoverHelpSelector::hoverHelpSelector()->flyOverText(), text(0xee0a));
        // Related programs is the view's own action (the base owns none).
        QCOMPARE(view->action(KelRes::relatedProgramsCommand)->category(), QStringLiteral("basic"));
        KelWindow bare(KelRes::browserView, m_scene->database->eu(), nullptr, KelRes::browserView);
        QCOMPARE(bare.action(KelRes::relatedProgramsCommand), nullptr);
        QCOMPARE(bare.puNumber(), 0u);
        QCOMPARE(bare.busy(), 0u);
        QCOMPARE(bare.requestScroll() + bare.scrollOnRequest() + bare.surfOnScroll(), 0u);
    }

    void theMenusAndToolBarShowTheActions()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        QVERIFY(view->menu(KelRes::scrollCouplingMenu)->actions().contains(view->action(0x6032)));
        QVERIFY2(!view->menu(KelRes::editMenu)->menuAction()->isVisible(), "empty: not shown");
        QVERIFY(view->toolBar()->actions().contains(view->action(0x6091)));

        // Button 2 does nothing on the tool bar; button 1 goes on to the buttons.
        QCOMPARE(view->toolBar()->contextMenuPolicy(), Qt::PreventContextMenu);
        ProbeToolBarHandler toolBarHandler;
        for (const auto action : {IMouseClickEvent::Action::Down,
                                  IMouseClickEvent::Action::Click,
                                  IMouseClickEvent::Action::DoubleClick}) {
            IMouseClickEvent right(view->toolBar(),
                                   IMouseClickEvent::Button::Button2,
                                   action,
                                   Qt::NoModifier,
                                   QPoint(3, 3));
            QVERIFY(toolBarHandler.mouseClicked(right));
            IMouseClickEvent left(view->toolBar(),
                                  IMouseClickEvent::Button::Button1,
                                  action,
                                  Qt::NoModifier,
                                  QPoint(3, 3));
            QVERIFY(!toolBarHandler.mouseClicked(left));
        }
        IMousePointerEvent pointer(view->toolBar(), QPoint(3, 3));
        QVERIFY(!toolBarHandler.mousePointerChange(pointer));
    }

    void aBasicCommandRunsOnItsWorkerWhileTheWindowRefusesOthers()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        Gate gate;
        QThread *workerThread = nullptr;
        view->relatedProgramsWork = [&] {
            workerThread = QThread::currentThread();
            gate.wait();
        };
        QVERIFY(send(view, KelRes::relatedProgramsCommand));
        QCOMPARE(view->busy(), 1u);
        QCOMPARE(view->commandId(), KelRes::relatedProgramsCommand);
        QVERIFY(view->isCommandRunning());
        QCOMPARE(view->cursor().shape(), Qt::WaitCursor);

        // Busy: a second command beeps and is dropped; so is a "simple" one.
        QVERIFY(send(view, KelRes::requestScrollCommand));
        QVERIFY(send(view, KelRes::exceptionLogCommand));
        QCOMPARE(view->beeps, 2);
        QCOMPARE(view->requestScroll(), 0u);
        QVERIFY(!view->action(KelRes::requestScrollCommand)->isLatched());
        QVERIFY(!view->isExceptionLogOn());
        // A click is consumed; its press beeps once.
        ProbeClickHandler probe(view);
        for (const auto action : {IMouseClickEvent::Action::Down, IMouseClickEvent::Action::Up}) {
            IMouseClickEvent click(view->client()->viewport(),
                                   IMouseClickEvent::Button::Button1,
                                   action,
                                   Qt::NoModifier,
                                   QPoint(5, 5));
            QVERIFY(probe.mouseClicked(click));
        }
        QCOMPARE(view->beeps, 3);
        QVERIFY(view->gestures.isEmpty());
        // A command of no action of the window goes on to the next handler.
        QVERIFY(!send(view, 0x7777));

        gate.open();
        QVERIFY(idle(view));
        QVERIFY(workerThread && workerThread != QThread::currentThread());
        QTRY_COMPARE(view->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(send(view, KelRes::requestScrollCommand));
        QVERIFY(idle(view));
        QCOMPARE(view->requestScroll(), 1u);
    }

    void anExitCommandClosesTheWindowEvenWhileItIsBusy()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        QPointer<DemoView> watched(view);
        Gate gate;
        view->relatedProgramsWork = [&] { gate.wait(); };
        QVERIFY(send(view, KelRes::relatedProgramsCommand));
        QVERIFY(send(view, KelRes::closeWindowCommand));
        QTRY_VERIFY(!view->isVisible());
        QVERIFY(view->isClosePending());
        QCOMPARE(view->beeps, 0); // exit commands are never refused
        QVERIFY2(watched, "the window waits for its command");
        QVERIFY(m_scene->desktop->frames().contains(view));
        gate.open();
        QTRY_VERIFY(!watched);
        QCOMPARE(m_scene->desktop->frames().size(), 0);
    }

    void aCommandThatThrowsIsShownAndLeavesTheWindowIdle()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        const CapturedMessages messages;
        QVERIFY(send(view, KelRes::exceptionLogCommand)); // "simple": at once
        QVERIFY(view->isExceptionLogOn());
        QVERIFY(view->action(KelRes::exceptionLogCommand)->isLatched());

        view->relatedProgramsWork = [] { ITHROW(IAccessError("The callers cannot be read.")); };
        QVERIFY(send(view, KelRes::relatedProgramsCommand));
        QVERIFY(idle(view));
        QCOMPARE(messages.numbers(), std::vector<unsigned long>{KelMsgId::classLibraryException});
        QCOMPARE(messages.messages().front().sourceFile, std::string(KelWindow::moduleTag));
        const QByteArray log = readFile(
            QDir(m_scene->workDirectory->path()).filePath("KELEXCPT.OUT"));
        QVERIFY2(log.contains("IAccessError\nerror id = 0\ntext count = 1\n0The callers cannot be "
                              "read.\nException is recoverable.\n"),
                 log.constData());

        // Anything else thrown: shown as of unknown kind; the window takes commands again.
        view->relatedProgramsWork = [] { throw 7; };
        QVERIFY(send(view, KelRes::relatedProgramsCommand));
        QVERIFY(idle(view));
        QCOMPARE(messages.numbers().back(), KelMsgId::unknownException);
        QVERIFY(send(view, KelRes::surfOnScrollCommand));
        QVERIFY(idle(view));
        QCOMPARE(view->surfOnScroll(), 1u);
    }

    void theScrollTogglesFlipTheirFlagStateAndFlyOverText()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        XIAction *request = view->action(KelRes::requestScrollCommand);
        QCOMPARE(view->setrequestscroll(), 1ul);
        QVERIFY(request->isLatched());
        QCOMPARE(request->flyOverText(), text(KelRes::requestScrollOn));
        QCOMPARE(view->setrequestscroll(), 0ul);
        QVERIFY(!request->isLatched());
        QCOMPARE(request->flyOverText(), text(KelRes::requestScrollOff));

        // From the menu: on the worker, the action changed on the GUI thread.
        QVERIFY(send(view, KelRes::scrollOnRequestCommand));
        QVERIFY(idle(view));
        QCOMPARE(view->scrollOnRequest(), 1u);
        QVERIFY(view->action(KelRes::scrollOnRequestCommand)->isLatched());
        QCOMPARE(view->action(KelRes::scrollOnRequestCommand)->flyOverText(),
                 text(KelRes::scrollOnRequestOn));
        view->setSurfOnScroll(true);
        QCOMPARE(view->action(KelRes::surfOnScrollCommand)->flyOverText(),
                 text(KelRes::surfOnScrollOn));
        QCOMPARE(view->setsurfonscroll(), 0ul);
    }

    void clicksCallExactlyOneGestureOperation()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        QWidget *surface = view->client()->viewport();
        const QPoint at(30, 20);

        QTest::mouseClick(surface, Qt::LeftButton, Qt::ShiftModifier, at);
        QCOMPARE(view->gestures, QStringList({"b1DownShift", "b1Up"}));
        view->gestures.clear();
        QTest::mousePress(surface,
                          Qt::LeftButton,
                          Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier,
                          at);
        QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(view->gestures, QStringList({"b1DownCtrlAlt", "b1Up", "b1Click"}));
        view->gestures.clear();
        QTest::mouseDClick(surface, Qt::RightButton, Qt::NoModifier, at);
        QVERIFY(view->gestures.contains("b2DblClick"));
        QCOMPARE(view->busy(), 0u);

        // The click itself with Shift or Alt: no operation, the event is not taken.
        ProbeClickHandler probe(view);
        for (const Qt::KeyboardModifiers keys :
             {Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
            view->gestures.clear();
            IMouseClickEvent click(surface,
                                   IMouseClickEvent::Button::Button1,
                                   IMouseClickEvent::Action::Click,
                                   keys,
                                   at);
            QVERIFY(!probe.mouseClicked(click));
            QVERIFY(view->gestures.isEmpty());
        }
        IMouseClickEvent ctrlClick(surface,
                                   IMouseClickEvent::Button::Button1,
                                   IMouseClickEvent::Action::Click,
                                   Qt::ControlModifier,
                                   at);
        QVERIFY(probe.mouseClicked(ctrlClick));
        QCOMPARE(view->gestures.last(), QStringLiteral("b1ClickCtrl"));
    }

    void findInSourceAsksForTokenOneAndSendsTheOpenBrowserThere()
    {
        DemoView *browser = open('b', "PAYROLL");
        DemoView *grapher = open('g', "PAYROLL");
        QVERIFY(browser && grapher);
        DbPu *payroll = unit("PAYROLL");
        const std::uint32_t puNumber = m_scene->database->eu().puToNumber(payroll);

        QVERIFY(grapher->findInSource(payroll, nullptr));
        QCOMPARE(browser->queries.size(), 1);
        QCOMPARE(browser->queries.last().parameter1, 1ul); // token 1 for a null token
        QCOMPARE(browser->queries.last().parameter2, static_cast<unsigned long>(puNumber));
        QTRY_COMPARE(browser->received.size(), 3);
        QCOMPARE(browser->received[0].event, IEventTypes::findInSource);
        // Token 1 ("01") belongs to syntax node 2, the entry of REC.
        QCOMPARE(browser->received[0].parameter1, 2ul);
        QCOMPARE(browser->received[0].parameter2, static_cast<unsigned long>(puNumber));
        QCOMPARE(browser->received[1].event, IEventTypes::registryNotification);
        QCOMPARE(browser->received[2].event, IEventTypes::activateView);
        QCOMPARE(m_scene->factory->made.size(), 2); // no new window

        // A token of its own: its node (token 11, "A" in the MOVE, is in node 5).
        browser->received.clear();
        QVERIFY(grapher->findInSource(payroll, payroll->numberToToken(11)));
        QCOMPARE(browser->queries.last().parameter1, 11ul);
        QTRY_COMPARE(browser->received.size(), 3);
        QCOMPARE(browser->received[0].parameter1, 5ul);

        // findInGraph and showDataMap ask for token 0 when there is none.
        QVERIFY(browser->findInGraph(payroll, nullptr));
        QCOMPARE(grapher->queries.last().parameter1, 0ul);
        QTRY_VERIFY(!grapher->received.isEmpty());
        QCOMPARE(grapher->received.first().event, IEventTypes::findInGraph);
        QCOMPARE(grapher->received.first().parameter1, 0ul);
    }

    void aFindThatNoWindowAnswersOpensANewOne()
    {
        DemoView *browser = open('b', "PAYROLL");
        QVERIFY(browser);
        DbPu *taxcalc = unit("TAXCALC");
        DbToken *token = taxcalc->numberToToken(11);
        QVERIFY(browser->findInSource(taxcalc, token));
        QTRY_COMPARE(m_scene->factory->made.size(), 2);
        const DemoFactory::Made made = m_scene->factory->made.last();
        QCOMPARE(made.kind, 'b');
        QCOMPARE(made.pu, taxcalc);
        QCOMPARE(made.puName, std::string("TAXCALC"));
        QCOMPARE(made.token, token);

        QVERIFY(browser->showDataMap(taxcalc, token));
        QTRY_COMPARE(m_scene->factory->made.size(), 3);
        QCOMPARE(m_scene->factory->made.last().kind, 'm');
        QCOMPARE(m_scene->factory->made.last().token,
                 nullptr); // the data map's request carries none
        auto *map = qobject_cast<DemoDataMap *>(m_scene->factory->made.last().window.data());
        QVERIFY(map);
        // Open now: the next showDataMap finds it and posts 0x4006 (token number, unit number).
        QVERIFY(browser->showDataMap(taxcalc, token));
        QTRY_VERIFY(!map->received.isEmpty());
        QCOMPARE(map->received.first().event, IEventTypes::showInDataMap);
        QCOMPARE(map->received.first().parameter1, 11ul);
        QCOMPARE(m_scene->factory->made.size(), 3);
    }

    void theRelatedViewsAreRequestedThroughTheDesktop()
    {
        DemoView *browser = open('b', "REPORTS");
        QVERIFY(browser);
        const struct
        {
            unsigned long command;
            char kind;
        } rows[] = {{KelRes::controlGraphCommand, 'g'},
                    {KelRes::symbolsUsedCommand, 's'},
                    {KelRes::relatedSourceCommand, 's'},
                    {KelRes::expandedSourceCommand, 'b'}};
        for (const auto &row : rows) {
            const auto before = m_scene->factory->made.size();
            QVERIFY(send(browser, row.command));
            QTRY_COMPARE(m_scene->factory->made.size(), before + 1);
            QCOMPARE(m_scene->factory->made.last().kind, row.kind);
            QCOMPARE(m_scene->factory->made.last().puName, std::string("REPORTS"));
            QVERIFY(idle(browser));
        }
        // A view of the whole execution unit asks without a unit.
        KelWindow whole(KelRes::grapherView, m_scene->database->eu(), nullptr, KelRes::grapherView);
        const auto before = m_scene->factory->made.size();
        QVERIFY(whole.openObjControlGraph());
        QTRY_COMPARE(m_scene->factory->made.size(), before + 1);
        QCOMPARE(m_scene->factory->made.last().puName, std::string());
    }

    void scrollingInstanceExistsAsksTheOtherWindowsOfItsKind()
    {
        DemoView *first = open('b', "PAYROLL");
        QVERIFY(first);
        DbPu *payroll = unit("PAYROLL");
        QVERIFY(!first->scrollingInstanceExists(payroll, nullptr));
        DemoView *second = open('b', "PAYROLL");
        QVERIFY(second);
        QVERIFY(first->scrollingInstanceExists(payroll, payroll->numberToToken(3)));
        QCOMPARE(second->queries.last().parameter1, 3ul);
        second->answersQueries = false;
        QVERIFY(!first->scrollingInstanceExists(payroll, nullptr));
    }

    void theRegistrationKeepsThePlacements()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        QVERIFY(view->registration());
        QCOMPARE(view->objectId(), QStringLiteral("Browser"));
        QCOMPARE(view->registration()->viewNum(), KelRes::browserView);
        const IProfile profile(text(KelRes::placementProfileFile));
        const QString application = view->registration()->profileAppName();
        QCOMPARE(application, QStringLiteral("Browser::592::PAYROLL-SYSTEM::PAYROLL"));
        QVERIFY(profile.value(application, "WindowPMPosition"));
        const QRect given = view->geometry();

        view->setGeometry(40, 60, 500, 360);
        QVERIFY(send(view, KelRes::savePlacementCommand));
        QVERIFY(idle(view));
        QCOMPARE(*profile.value(application, "WindowPosition"),
                 QStringLiteral("40 60 540 420 NONE"));
        view->setGeometry(200, 200, 300, 300);
        QVERIFY(send(view, KelRes::restoreSavedPlacementCommand));
        QVERIFY(idle(view));
        QCOMPARE(view->geometry(), QRect(40, 60, 500, 360));
        QVERIFY(send(view, KelRes::restoreOriginalPlacementCommand));
        QVERIFY(idle(view));
        QCOMPARE(view->geometry(), given);

        // A new window of the kind for another unit opens at the saved placement.
        DemoView *other = open('b', "TAXCALC");
        QVERIFY(other);
        QCOMPARE(other->geometry(), QRect(40, 60, 500, 360));
    }

    void theEndClosesTheWindowAndItLeavesDesktopAndRegistry()
    {
        DemoView *view = open('g', "TAXCALC");
        QVERIFY(view);
        QPointer<DemoView> watched(view);
        const int registered = WindowRegistry::windowCount();
        QVERIFY(m_scene->desktop->frames().contains(view));
        QVERIFY(send(view, KelRes::closeWindowCommand));
        QTRY_VERIFY(!watched);
        QCOMPARE(WindowRegistry::windowCount(), registered - 1);
        QCOMPARE(m_scene->desktop->frames().size(), 0);
    }

    void aViewDeletedWhileItsCommandRunsWaitsForIt()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        std::atomic<bool> finished = false;
        // The command hands work to the GUI thread and waits for it while the view goes.
        view->relatedProgramsWork = [&] {
            QThread::msleep(50);
            view->callOnGuiThread([&] { view->setStatusText(QStringLiteral("read")); });
            finished = true;
        };
        QVERIFY(send(view, KelRes::relatedProgramsCommand));
        delete view;
        QVERIFY(finished);
    }

    void thePreferenceHooksAreReachedByName()
    {
        DemoView *view = open('s', "PAYROLL");
        QVERIFY(view);
        QVERIFY(QMetaObject::invokeMethod(view, "preferencesChanged"));
        QVERIFY(QMetaObject::invokeMethod(view, "coloursChanged"));
        QCOMPARE(view->preferencesCalls, 1);
        QCOMPARE(view->coloursCalls, 1);
    }

    void helpAndTutorialStartTheViewerWithAnArgumentVector()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        const QString standIn = qEnvironmentVariable("KELCOMON_VIEWER_STANDIN");
        QVERIFY(QFileInfo(standIn).isExecutable());
        const QString log = QDir(m_scene->workDirectory->path()).filePath("viewer.log");
        qputenv("CHRONEX_HELP_VIEWER", standIn.toUtf8());
        qputenv("KELCOMON_VIEWER_LOG", log.toUtf8());

        QVERIFY(send(view, KelRes::helpCommand));
        QVERIFY(idle(view));
        QTRY_COMPARE(readFile(log), QByteArray("KELHELP.HLP\n"));
        auto *help = static_cast<KelHelp *>(view->action(KelRes::helpCommand));
        QCOMPARE(help->lastCommand(), QStringList({standIn, "KELHELP.HLP"}));
        QVERIFY(send(view, KelRes::tutorialCommand));
        QVERIFY(idle(view));
        QTRY_COMPARE(readFile(log), QByteArray("KELHELP.HLP\nKELTUTE.HLP\n"));

        // Without our variable the viewer is hlpvu beside the programs.
        qunsetenv("CHRONEX_HELP_VIEWER");
        QCOMPARE(QFileInfo(KelHelpViewer::program()).fileName(), QStringLiteral("hlpvu"));
        QVERIFY(QFileInfo(KelHelpViewer::program()).isExecutable());
    }

    void helpWithoutAViewerShowsTheSameHelpInTheWindowsProcess()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        qputenv("CHRONEX_HELP_VIEWER", "/nonexistent/hlpvu");
        QVERIFY(send(view, KelRes::helpCommand));
        QVERIFY(idle(view));
        XIHelpWindow *help = nullptr;
        QTRY_VERIFY((help = shownHelpWindow()) != nullptr);
        QCOMPARE(help->library(), QStringLiteral("kelhelp"));
        QVERIFY2(!help->isShowingMissingHelp(), "the views' help pages are installed");
        help->close();
    }

    void kelCatchAppendsToTheLogInTheCurrentDirectory()
    {
        IInvalidRequest first("The registration has gone.", 601);
        first.addLocation({"RegisterInstance::handle()", "kelipc", 1758});
        KelWindow::KelCatch(first);
        KelWindow::KelCatch(first);
        const QByteArray log = readFile(
            QDir(m_scene->workDirectory->path()).filePath("KELEXCPT.OUT"));
        const QByteArray block
            = "Exception in: RegisterInstance::handle() (line 1758 in file kelipc\n"
              "IInvalidRequest\nerror id = 601\ntext count = 1\n"
              "0The registration has gone.\nException is recoverable.\n";
        QCOMPARE(log, block + block);
    }

    void theWindowLooksRightAtItsMinimumAndTypicalSize()
    {
        DemoView *view = open('b', "PAYROLL");
        QVERIFY(view);
        view->setStatusText(QStringLiteral("PAYROLL-SYSTEM: PAYROLL, 16 tokens"));
        QVERIFY(WidgetGrab::check(view, QStringLiteral("kelwindow-typical")));
        view->resize(view->minimumSize());
        QVERIFY(WidgetGrab::check(view, QStringLiteral("kelwindow-minimum")));
        // Nothing of the frame is cut off at its smallest: the menu bar and the tool bar fit.
        QVERIFY(view->width() >= view->menuBar()->sizeHint().width());
        QVERIFY(view->width() >= view->toolBar()->sizeHint().width());
    }
};

QTEST_MAIN(KelWindowTest)
#include "KelWindowTest.moc"
