#include "AnalysisUnits.h"
#include "ICommandHandler.h"
#include "IException.h"
#include "IFrameWindow.h"
#include "IProfile.h"
#include "ISystemCommandEvent.h"
#include "KelipcErrors.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"
#include "TemporaryHome.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <memory>

namespace {

/// The placement profile the views use (KELRESRC's string 0xf039).
IProfile placementProfile()
{
    return IProfile(KelipcErrors::text(KelRes::placementProfileFile));
}

QByteArray profileText()
{
    QFile file(placementProfile().fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// A shown view frame with its registration.
struct View
{
    std::unique_ptr<IFrameWindow> frame = std::make_unique<IFrameWindow>();
    std::unique_ptr<RegisterInstance> registration;

    View(const QString &objectId,
         unsigned long view,
         DbEu *eu,
         DbPu *pu,
         QRect at = {100, 100, 300, 200})
        : registration(std::make_unique<RegisterInstance>(frame->handle(),
                                                          objectId,
                                                          view,
                                                          eu,
                                                          pu,
                                                          frame.get()))
    {
        frame->setGeometry(at);
        frame->show();
        QCoreApplication::processEvents();
    }
};

/// Records the system commands a frame receives.
class SystemCommandLog : public ICommandHandler
{
public:
    QList<std::pair<ISystemCommand, ISystemCommandEvent::Origin>> commands;

protected:
    bool systemCommand(ISystemCommandEvent &event) override
    {
        commands.append({event.command(), event.origin()});
        return false;
    }
};

const QString dataMap = QStringLiteral("DataMap");

} // namespace

/// Placements and profile values through a real profile file in a throwaway CHRONEX_HOME, with
/// real offscreen frames minimized and maximized and real units from an analysis database.
class PlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void applicationNamesComeFromTheEntry()
    {
        AnalysisUnits units("PAYROLL 2024", {"PAY01"});
        View withUnit(dataMap, 596, &units.eu(), units.pu("PAY01"));
        View withoutUnit(QStringLiteral("Grapher"), 593, &units.eu(), nullptr);
        View desktop(QStringLiteral("Desktop"), 0x8006, nullptr, nullptr);
        QCOMPARE(withUnit.registration->profileAppName(),
                 QStringLiteral("DataMap::596::PAYROLL 2024::PAY01"));
        QCOMPARE(withUnit.registration->profileAppName3(), QStringLiteral("DataMap::596"));
        QCOMPARE(withUnit.registration->profileAppName2(), QStringLiteral("Preferences"));
        QCOMPARE(withoutUnit.registration->profileAppName(),
                 QStringLiteral("Grapher::593::PAYROLL 2024"));
        QCOMPARE(desktop.registration->profileAppName(), QStringLiteral("Desktop::32774"));
    }

    void aSavedPlacementIsStoredExactlyAndRestored()
    {
        TemporaryHome home;
        AnalysisUnits units("PAYROLL", {"PAY01", "TAX02"});
        View view(dataMap, 596, &units.eu(), units.pu("PAY01"), QRect(12, 40, 600, 400));
        view.registration->savePosition(placementProfile());
        QCOMPARE(placementProfile().fileName(), home.filePath(QStringLiteral("KELPLACE.INI")));
        QCOMPARE(profileText(),
                 QByteArray("[DataMap::596::PAYROLL::PAY01]\nWindowPosition=12 40 612 440 NONE\n\n"
                            "[DataMap::596]\nWindowPosition=12 40 612 440 NONE\n"));

        view.frame->setGeometry(200, 150, 320, 240);
        view.registration->restorePosition(placementProfile());
        QCOMPARE(view.frame->geometry(), QRect(12, 40, 600, 400));

        // A new window of the kind for another unit opens at the kind's placement.
        View other(dataMap, 596, &units.eu(), units.pu("TAX02"));
        other.registration->restorePosition(placementProfile());
        QCOMPARE(other.frame->geometry(), QRect(12, 40, 600, 400));
    }

    void aWindowNeverSavedRestoresNothing()
    {
        TemporaryHome home;
        AnalysisUnits units("PAYROLL", {"PAY01"});
        View view(dataMap, 596, &units.eu(), units.pu("PAY01"), QRect(30, 30, 300, 200));
        view.registration->restorePosition(placementProfile());
        view.registration->restorePMPosition(placementProfile());
        QCOMPARE(view.frame->geometry(), QRect(30, 30, 300, 200));
        QVERIFY(!QFile::exists(placementProfile().fileName()));
    }

    void savingMinimizedKeepsTheRectangleAndRestoringMinimizes()
    {
        TemporaryHome home;
        AnalysisUnits units("PAYROLL", {"PAY01"});
        View view(dataMap, 596, &units.eu(), units.pu("PAY01"), QRect(12, 40, 600, 400));
        view.registration->savePosition(placementProfile());
        view.frame->showMinimized();
        QCoreApplication::processEvents();
        view.registration->savePosition(placementProfile());
        QCOMPARE(placementProfile().value(QStringLiteral("DataMap::596::PAYROLL::PAY01"),
                                          QStringLiteral("WindowPosition")),
                 QStringLiteral("12 40 612 440 MIN"));
        QCOMPARE(placementProfile().value(QStringLiteral("DataMap::596"),
                                          QStringLiteral("WindowPosition")),
                 QStringLiteral("12 40 612 440 MIN"));

        View reopened(dataMap, 596, &units.eu(), units.pu("PAY01"), QRect(50, 50, 200, 100));
        reopened.registration->restorePosition(placementProfile());
        QVERIFY(reopened.frame->isMinimized());
        reopened.frame->showNormal();
        QCoreApplication::processEvents();
        QCOMPARE(reopened.frame->geometry(), QRect(12, 40, 600, 400));

        view.frame->showNormal();
        QCoreApplication::processEvents();
        view.frame->showMaximized();
        QCoreApplication::processEvents();
        view.registration->savePosition(placementProfile());
        QCOMPARE(placementProfile().value(QStringLiteral("DataMap::596"),
                                          QStringLiteral("WindowPosition")),
                 QStringLiteral("12 40 612 440 MAX"));
        View maximized(dataMap, 596, &units.eu(), units.pu("PAY01"));
        maximized.registration->restorePosition(placementProfile());
        QVERIFY(maximized.frame->isMaximized());
    }

    void savingMinimizedWithNothingStoredWritesNothing()
    {
        TemporaryHome home;
        AnalysisUnits units("PAYROLL", {"PAY01"});
        View view(dataMap, 596, &units.eu(), units.pu("PAY01"));
        view.frame->showMaximized();
        QCoreApplication::processEvents();
        view.registration->savePosition(placementProfile());
        QVERIFY(!QFile::exists(placementProfile().fileName()));
    }

    void theRegistrationTimePlacementComesBackWithItsState()
    {
        TemporaryHome home;
        AnalysisUnits units("PAYROLL", {"PAY01"});
        View view(dataMap, 596, &units.eu(), units.pu("PAY01"), QRect(20, 30, 400, 300));
        SystemCommandLog log;
        log.handleEventsFor(view.frame.get());
        // As a view registers: store the placement it got, then apply the user's saved one.
        view.registration->savePMPosition(placementProfile());
        view.registration->restorePosition(placementProfile());
        QCOMPARE(placementProfile().value(QStringLiteral("DataMap::596::PAYROLL::PAY01"),
                                          QStringLiteral("WindowPMPosition")),
                 QStringLiteral("20 30 420 330 NONE"));
        QVERIFY(!placementProfile().containsApplication(QStringLiteral("DataMap::596")));

        view.frame->setGeometry(60, 60, 200, 150);
        view.registration->restorePMPosition(placementProfile());
        QCOMPARE(view.frame->geometry(), QRect(20, 30, 400, 300));
        QVERIFY(log.commands.isEmpty());

        placementProfile().setValue(QStringLiteral("DataMap::596::PAYROLL::PAY01"),
                                    QStringLiteral("WindowPMPosition"),
                                    QStringLiteral("20 30 420 330 MAX"));
        view.registration->restorePMPosition(placementProfile());
        QCOMPARE(log.commands.size(), 1);
        QCOMPARE(log.commands.first().first, ISystemCommand::Maximize);
        QCOMPARE(log.commands.first().second, ISystemCommandEvent::Origin::Program);
        QVERIFY(view.frame->isMaximized());
    }

    void damagedOrOffScreenValuesNeverLoseTheWindow()
    {
        TemporaryHome home;
        AnalysisUnits units("PAYROLL", {"PAY01"});
        View view(dataMap, 596, &units.eu(), units.pu("PAY01"), QRect(40, 40, 300, 200));
        const QString own = view.registration->profileAppName();
        for (const char *damaged : {"12 40 612", "12 40 wide 440 NONE", "5 5 5 90 NONE", ""}) {
            placementProfile().setValue(own,
                                        QStringLiteral("WindowPosition"),
                                        QString::fromLatin1(damaged));
            view.registration->restorePosition(placementProfile());
            QCOMPARE(view.frame->geometry(), QRect(40, 40, 300, 200));
        }
        // Minimized with a damaged stored value: nothing to keep, nothing written.
        view.frame->showMinimized();
        QCoreApplication::processEvents();
        view.registration->savePosition(placementProfile());
        QCOMPARE(placementProfile().value(own, QStringLiteral("WindowPosition")), QString());
        view.frame->showNormal();
        QCoreApplication::processEvents();

        // Wholly off every screen: moved onto the primary screen, size kept.
        placementProfile().setValue(own,
                                    QStringLiteral("WindowPosition"),
                                    QStringLiteral("5000 4000 5300 4200 NONE"));
        view.registration->restorePosition(placementProfile());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(area.contains(view.frame->geometry()));
        QCOMPARE(view.frame->size(), QSize(300, 200));
        // Partly visible: left where the user put it.
        placementProfile().setValue(own,
                                    QStringLiteral("WindowPosition"),
                                    QStringLiteral("-100 10 200 210 NONE"));
        view.registration->restorePosition(placementProfile());
        QCOMPARE(view.frame->geometry(), QRect(-100, 10, 300, 200));
    }

    void aDamagedProfileIsReportedAndLeftAlone()
    {
        TemporaryHome home;
        AnalysisUnits units("PAYROLL", {"PAY01"});
        View view(dataMap, 596, &units.eu(), units.pu("PAY01"), QRect(40, 40, 300, 200));
        QFile file(placementProfile().fileName());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[DataMap::596\nWindowPosition=1 2 3 4 NONE\n");
        file.close();
        QVERIFY_THROWS_EXCEPTION(IAccessError, view.registration->savePosition(placementProfile()));
        view.registration->restorePosition(placementProfile());
        QCOMPARE(view.frame->geometry(), QRect(40, 40, 300, 200));
        QCOMPARE(profileText(), QByteArray("[DataMap::596\nWindowPosition=1 2 3 4 NONE\n"));
    }

    void profileValuesLiveUnderTheFixedApplicationName()
    {
        TemporaryHome home;
        AnalysisUnits units("PAYROLL", {"PAY01"});
        View view(dataMap, 596, &units.eu(), units.pu("PAY01"));
        const IProfile preferences(QString::fromLatin1(KelRes::preferencesProfileFile));
        const RegisterInstance &r = *view.registration;
        QCOMPARE(r.retrieveINIInteger(QStringLiteral("KelDataMap_reqScrl"), preferences), -1L);
        QCOMPARE(r.retrieveINIString(QStringLiteral("KelBrowser_fontSize"), {}, preferences),
                 QStringLiteral("NULL"));
        r.saveINIInteger(QStringLiteral("KelDataMap_reqScrl"), 0, preferences);
        r.saveINIString(QStringLiteral("KelBrowser_fontName"),
                        QStringLiteral("DejaVu Sans Mono"),
                        preferences);
        QCOMPARE(r.retrieveINIInteger(QStringLiteral("KelDataMap_reqScrl"), preferences), 0L);
        QCOMPARE(r.retrieveINIString(QStringLiteral("KelBrowser_fontName"), {}, preferences),
                 QStringLiteral("DejaVu Sans Mono"));
        r.saveINIString(QStringLiteral("KelBrowser_Keyword"), QStringLiteral("blue"), preferences);
        QCOMPARE(r.retrieveINIInteger(QStringLiteral("KelBrowser_Keyword"), preferences), -1L);
        r.deleteINIKey(QStringLiteral("KelDataMap_reqScrl"), preferences);
        QCOMPARE(r.retrieveINIInteger(QStringLiteral("KelDataMap_reqScrl"), preferences), -1L);
        QFile file(home.filePath(QStringLiteral("KELINI.INI")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("[Preferences]\nKelBrowser_fontName=DejaVu Sans Mono\n"
                            "KelBrowser_Keyword=blue\n"));
    }
};

QTEST_MAIN(PlacementTest)
#include "PlacementTest.moc"
