#include "KelDesktop.h"
#include "CapturedMessages.h"
#include "DbPu.h"
#include "DemoScene.h"
#include "FindLikeObject.h"
#include "ICommandEvent.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IProfile.h"
#include "ISystemCommandEvent.h"
#include "KelMsgIds.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"
#include "TemporaryHome.h"
#include "WidgetGrab.h"
#include "WindowRegistry.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

namespace {

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Catches what is written to standard output while it lives.
class CapturedOutput final
{
public:
    CapturedOutput()
        : m_previous(std::cout.rdbuf(m_text.rdbuf()))
    {}
    ~CapturedOutput() { std::cout.rdbuf(m_previous); }
    CapturedOutput(const CapturedOutput &) = delete;
    CapturedOutput &operator=(const CapturedOutput &) = delete;

    std::string text() const { return m_text.str(); }

private:
    std::ostringstream m_text;
    std::streambuf *m_previous;
};

} // namespace

/// The desktop as a host program uses it: a real analysis database, a stand-in factory making
/// real offscreen windows, real request threads, and a placement profile in a throwaway
/// CHRONEX_HOME.
class KelDesktopTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<DemoScene> m_scene;
    int m_ended = 0;

    bool waitForWindows(int count)
    {
        return QTest::qWaitFor([&] { return m_scene->factory->made.size() >= count; }, 5000);
    }

    DemoView *view(int index) const
    {
        return qobject_cast<DemoView *>(m_scene->factory->made.at(index).window.data());
    }

    void request(char kind, DbPu *pu, const std::string &name, DbToken *token = nullptr)
    {
        QVERIFY(m_scene->desktop->newWindow(new StartWindowData(kind, pu, name, token)));
    }

    void makeDesktop()
    {
        m_scene->makeDesktop([this] { ++m_ended; });
    }

private slots:
    void init()
    {
        m_ended = 0;
        m_scene = std::make_unique<DemoScene>([this] { ++m_ended; });
    }

    void cleanup() { m_scene.reset(); }

    void theListShowsTheExecutionUnitAndEachProgramUnit()
    {
        QListWidget *list = m_scene->desktop->unitList();
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->item(0)->text(), text(KelRes::desktopWholeUnitLine));
        QCOMPARE(list->item(1)->text(), text(KelRes::desktopUnitLinePrefix) + "PAYROLL");
        QCOMPARE(list->item(3)->text(), text(KelRes::desktopUnitLinePrefix) + "REPORTS");
        QCOMPARE(list->item(2)->toolTip(), QStringLiteral("/src/cobol/TAXCALC.cbl"));
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(m_scene->desktop->windowTitle().endsWith(QStringLiteral("PAYROLL-SYSTEM")));
        QCOMPARE(StartWindowData::eu(), &m_scene->database->eu());
        QCOMPARE(KelDesktop::current(), m_scene->desktop.get());
        QCOMPARE(KelDesktop::putDesktop(), m_scene->desktop.get());
        QCOMPARE(m_scene->desktop->loadEuData(nullptr), 0);
        QCOMPARE(list->count(), 4); // a null execution unit changes nothing
    }

    void twoQuickRequestsMakeTwoWindowsInRequestOrder()
    {
        request('b', nullptr, "TAXCALC");
        request('g', nullptr, "REPORTS");
        QVERIFY(waitForWindows(2));
        QCOMPARE(m_scene->factory->made[0].kind, 'b');
        QCOMPARE(m_scene->factory->made[0].pu->puName(), std::string("TAXCALC"));
        QCOMPARE(m_scene->factory->made[1].kind, 'g');
        QCOMPARE(m_scene->factory->made[1].pu->puName(), std::string("REPORTS"));
        QVERIFY(m_scene->factory->made[0].pu->isLoaded());
        QCOMPARE(m_scene->desktop->frames().size(), 2);
        QCOMPARE(m_scene->desktop->frames()[0], m_scene->factory->made[0].window.data());
    }

    void aRequestNamingAPathFindsTheUnitByItsBareFileName()
    {
        request('b', nullptr, "/home/ana/cobol/REPORTS.cbl");
        QVERIFY(waitForWindows(1));
        QCOMPARE(m_scene->factory->made[0].puName, std::string("REPORTS"));
        QVERIFY(m_scene->factory->made[0].pu);
        QCOMPARE(m_scene->factory->made[0].pu, m_scene->database->eu().puNamed("REPORTS"));
    }

    void lineZeroOpensAGraphOfTheWholeExecutionUnit()
    {
        QListWidget *list = m_scene->desktop->unitList();
        emit list->itemActivated(list->item(0));
        QVERIFY(waitForWindows(1));
        QCOMPARE(m_scene->factory->made[0].kind, 'g');
        QCOMPARE(m_scene->factory->made[0].puName, std::string()); // the request named no unit
        QCOMPARE(m_scene->factory->made[0].pu, m_scene->database->eu().numberToPu(1));
        QVERIFY(view(0)->wholeUnit);

        emit list->itemActivated(list->item(2));
        QVERIFY(waitForWindows(2));
        QCOMPARE(m_scene->factory->made[1].kind, 'b');
        QCOMPARE(m_scene->factory->made[1].pu, m_scene->database->eu().numberToPu(2));
    }

    void openRestoresAMinimizedBrowserInsteadOfOpeningASecond()
    {
        m_scene->desktop->show();
        m_scene->desktop->unitList()->setCurrentRow(1);
        auto *open = m_scene->desktop->findChild<QPushButton *>(QStringLiteral("button-0x1550"));
        QVERIFY(open);
        open->click();
        QVERIFY(waitForWindows(1));
        DemoView *browser = view(0);
        browser->showMinimized();
        QTRY_VERIFY(browser->isMinimized());

        open->click();
        QTRY_VERIFY(!browser->isMinimized());
        QVERIFY(browser->isVisible());
        QTest::qWait(50);
        QCOMPARE(m_scene->factory->made.size(), 1); // no second browser

        // The whole execution unit: a graph, found again the same way.
        m_scene->desktop->unitList()->setCurrentRow(0);
        open->click();
        QVERIFY(waitForWindows(2));
        QCOMPARE(m_scene->factory->made[1].kind, 'g');
        open->click();
        QTest::qWait(50);
        QCOMPARE(m_scene->factory->made.size(), 2);
    }

    void aFactoryThatThrowsIsReportedAndLaterRequestsStillWork()
    {
        const CapturedMessages messages;
        m_scene->factory->throwFor = 'g';
        request('g', nullptr, "PAYROLL");
        QTRY_COMPARE(messages.count(), 1u);
        QCOMPARE(messages.numbers().front(), KelMsgId::classLibraryException);
        QCOMPARE(messages.messages().front().sourceFile, std::string(KelDesktop::moduleTag));
        const QByteArray log = readFile(
            QDir(m_scene->workDirectory->path()).filePath("KELEXCPT.OUT"));
        QVERIFY2(log.contains("IAccessError\n") && log.contains("0The stand-in factory refuses"),
                 log.constData());

        request('b', nullptr, "PAYROLL");
        QVERIFY(waitForWindows(1));
        QCOMPARE(m_scene->factory->made[0].kind, 'b');
    }

    void aUnitThatCannotBeLoadedIsReportedAndTheFactoryStillAsked()
    {
        const CapturedMessages messages;
        std::filesystem::remove(m_scene->database->file());
        request('b', nullptr, "TAXCALC");
        QVERIFY(waitForWindows(1));
        QCOMPARE(messages.numbers(), std::vector<unsigned long>{KelMsgId::unitNotLoaded});
        QCOMPARE(messages.messages().front().line, 399ul);
        QVERIFY(m_scene->factory->made[0].pu);
        QVERIFY(!m_scene->factory->made[0].pu->isLoaded());
    }

    void theWindowListIsWrittenAroundEveryCreation()
    {
        std::string output;
        {
            const CapturedOutput captured;
            request('b', nullptr, "PAYROLL");
            QVERIFY(waitForWindows(1));
            QTest::qWait(20);
            output = captured.text();
        }
        const std::string heading = "Just put the new window on the list\nWindow list: 0 windows\n";
        QVERIFY2(output.rfind(heading, 0) == 0, output.c_str());
        QVERIFY2(output.find("Window list: 1 window\n  1  window ") != std::string::npos,
                 output.c_str());
        QVERIFY2(output.find("Browser - PAYROLL\n") != std::string::npos, output.c_str());

        std::ostringstream list;
        m_scene->desktop->outputWindowList(list);
        QVERIFY(list.str().rfind("Window list: 1 window\n", 0) == 0);
    }

    void theFrameListTakesEachFrameOnce()
    {
        IFrameWindow frame;
        IFrameWindow other;
        QVERIFY(m_scene->desktop->addFrame(&frame));
        QVERIFY(!m_scene->desktop->addFrame(&frame));
        QVERIFY(!m_scene->desktop->removeFrame(&other));
        QVERIFY(m_scene->desktop->removeFrame(&frame));
        QVERIFY(!m_scene->desktop->removeFrame(&frame));
        {
            IFrameWindow gone;
            QVERIFY(m_scene->desktop->addFrame(&gone));
        }
        QCOMPARE(m_scene->desktop->frames().size(), 0); // a destroyed frame leaves by itself
        QVERIFY2(!m_scene->desktop->createWindow(), "nothing queued");
        QCOMPARE(m_scene->desktop->handle().sendEvent(IEventTypes::createWindow), 0ul);
    }

    void theDesktopRegistersItselfAndKeepsItsPlacement()
    {
        RegisterInstance *registration = m_scene->desktop->registration();
        QVERIFY(registration);
        QCOMPARE(registration->objectId(), text(KelRes::desktopViewName));
        QCOMPARE(registration->viewNum(), KelRes::desktopViewName);
        FindLikeObject finder(text(KelRes::desktopViewName));
        QVERIFY(finder.setToFirst(0, 0));
        QCOMPARE(finder.current().frame(), m_scene->desktop.get());

        m_scene->desktop->setGeometry(70, 80, 400, 380);
        m_scene->desktop->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_scene->desktop.get()));
        m_scene->desktop->handle().sendSystemCommand(ISystemCommand::Close);
        QCOMPARE(m_ended, 1);
        m_scene->desktop.reset();
        makeDesktop();
        QCOMPARE(m_scene->desktop->geometry(), QRect(70, 80, 400, 380));
    }

    void closingTheDesktopSavesEveryPlacementAndEndsTheApplication()
    {
        request('b', nullptr, "PAYROLL");
        request('g', nullptr, "TAXCALC");
        QVERIFY(waitForWindows(2));
        view(0)->setGeometry(20, 30, 500, 400);
        m_scene->desktop->show();
        m_scene->desktop->handle().sendSystemCommand(ISystemCommand::Close);
        QCOMPARE(m_ended, 1);
        QVERIFY(!m_scene->desktop->isVisible());
        const IProfile profile(text(KelRes::placementProfileFile));
        QCOMPARE(*profile.value("Browser::592::PAYROLL-SYSTEM::PAYROLL", "WindowPosition"),
                 QStringLiteral("20 30 520 430 NONE"));
        QVERIFY(profile.value("Grapher::593::PAYROLL-SYSTEM::TAXCALC", "WindowPosition"));
        QVERIFY(profile.value("Desktop::28677", "WindowPosition"));
    }

    void minimizeHidesTheViewsAndRestoreShowsThem()
    {
        request('b', nullptr, "PAYROLL");
        request('g', nullptr, "PAYROLL");
        QVERIFY(waitForWindows(2));
        m_scene->desktop->show();
        m_scene->desktop->handle().sendSystemCommand(ISystemCommand::Minimize);
        QVERIFY(!view(0)->isVisible() && !view(1)->isVisible());
        m_scene->desktop->handle().sendSystemCommand(ISystemCommand::Restore);
        QVERIFY(view(0)->isVisible() && view(1)->isVisible());

        // restoreOnlyDesktopWith: the next restore leaves the views as they are.
        m_scene->desktop->handle().sendSystemCommand(ISystemCommand::Hide);
        QVERIFY(!view(0)->isVisible());
        m_scene->desktop->restoreOnlyDesktopWith(view(0));
        m_scene->desktop->handle().sendSystemCommand(ISystemCommand::Restore);
        QVERIFY(!view(0)->isVisible() && !view(1)->isVisible());
        m_scene->desktop->handle().sendSystemCommand(ISystemCommand::Restore);
        QVERIFY(view(0)->isVisible() && view(1)->isVisible());
    }

    void maximizeMaximizesTheViewsNotTheDesktop()
    {
        request('b', nullptr, "PAYROLL");
        QVERIFY(waitForWindows(1));
        m_scene->desktop->show();
        QVERIFY2(m_scene->desktop->handle().sendSystemCommand(ISystemCommand::Maximize),
                 "consumed");
        QVERIFY(!m_scene->desktop->isMaximized());
        QVERIFY(view(0)->isMaximized());

        view(0)->showNormal();
        m_scene->desktop->maximizeOnlyDesktopWith(view(0));
        QVERIFY(m_scene->desktop->handle().sendSystemCommand(ISystemCommand::Maximize));
        QVERIFY2(!view(0)->isMaximized(), "only brought forward");
        QVERIFY(m_scene->desktop->handle().sendSystemCommand(ISystemCommand::Maximize));
        QVERIFY(view(0)->isMaximized());
    }

    void theButtonsHideRestoreAndExit()
    {
        request('b', nullptr, "PAYROLL");
        request('s', nullptr, "PAYROLL");
        QVERIFY(waitForWindows(2));
        QPointer<DemoView> first = view(0);
        QPointer<DemoView> second = view(1);
        m_scene->desktop->show();
        QVERIFY(ICommandEvent::send(m_scene->desktop.get(), KelRes::desktopHideButton));
        QVERIFY(!first->isVisible() && !second->isVisible());
        QVERIFY(m_scene->desktop->isMinimized());
        QVERIFY(ICommandEvent::send(m_scene->desktop.get(), KelRes::desktopRestoreButton));
        QVERIFY(first->isVisible() && second->isVisible());
        QVERIFY(!m_scene->desktop->isMinimized());

        QVERIFY(ICommandEvent::send(m_scene->desktop.get(), KelRes::desktopExitButton));
        QTRY_VERIFY(!first && !second);
        QVERIFY(!m_scene->desktop->isVisible());
        QVERIFY(m_ended >= 1);
        const IProfile profile(text(KelRes::placementProfileFile));
        QVERIFY(profile.value("Desktop::28677", "WindowPosition"));
    }

    void theDesktopsFindsOnlyBringAnOpenViewForward()
    {
        request('b', nullptr, "PAYROLL");
        QVERIFY(waitForWindows(1));
        DemoView *browser = view(0);
        DbPu *payroll = m_scene->database->eu().puNamed("PAYROLL");
        QVERIFY(m_scene->desktop->findInSource(payroll, nullptr));
        QCOMPARE(browser->queries.last().parameter1, 1ul);
        QTRY_COMPARE(browser->received.size(), 2);
        QCOMPARE(browser->received[0].event, IEventTypes::registryNotification);
        QCOMPARE(browser->received[1].event, IEventTypes::activateView);

        // No grapher: a new one, asked for token 1 all the same.
        QVERIFY(m_scene->desktop->findInGraph(payroll, payroll->numberToToken(4)));
        QVERIFY(waitForWindows(2));
        QCOMPARE(m_scene->factory->made[1].kind, 'g');
        QCOMPARE(m_scene->factory->made[1].token, payroll->numberToToken(4));
    }

    void theDesktopLooksRightAtItsMinimumAndTypicalSize()
    {
        QVERIFY(WidgetGrab::check(m_scene->desktop.get(), QStringLiteral("desktop-typical")));
        m_scene->desktop->resize(m_scene->desktop->minimumSize());
        QVERIFY(WidgetGrab::check(m_scene->desktop.get(), QStringLiteral("desktop-minimum")));
        for (QPushButton *button : m_scene->desktop->findChildren<QPushButton *>())
            QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(button->text()));
    }
};

QTEST_MAIN(KelDesktopTest)
#include "KelDesktopTest.moc"
