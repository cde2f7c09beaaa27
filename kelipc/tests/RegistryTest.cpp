#include "AnalysisUnits.h"
#include "FindLikeObject.h"
#include "IException.h"
#include "IFrameWindow.h"
#include "ITrace.h"
#include "NotificationLog.h"
#include "RegisterInstance.h"
#include "WindowRegistry.h"

#include <QTest>

#include <memory>
#include <sstream>
#include <vector>

namespace {

/// A view frame with its registration, as a view window holds it.
struct View
{
    std::unique_ptr<IFrameWindow> frame = std::make_unique<IFrameWindow>();
    std::unique_ptr<RegisterInstance> registration;

    View(const QString &objectId, unsigned long view, DbEu *eu = nullptr, DbPu *pu = nullptr)
        : registration(std::make_unique<RegisterInstance>(frame->handle(),
                                                          objectId,
                                                          view,
                                                          eu,
                                                          pu,
                                                          frame.get()))
    {}
};

QStringList tableOrder()
{
    QStringList order;
    for (const RegisteredWindow &window : WindowRegistry::windows())
        order << window.objectId + u'/' + QString::number(window.view);
    return order;
}

/// Checks an exception's class, text, error id and its one location.
template<typename E, typename F>
void expectThrown(F &&work, const char *text, const char *function, unsigned long line)
{
    try {
        work();
        QFAIL("nothing thrown");
    } catch (const E &error) {
        QCOMPARE(QString::fromStdString(error.text()), QString::fromUtf8(text));
        QCOMPARE(error.errorId(), 0ul);
        QCOMPARE(error.locationCount(), std::size_t(1));
        QCOMPARE(QString::fromStdString(error.locationAtIndex(0).function),
                 QString::fromUtf8(function));
        QCOMPARE(QString::fromStdString(error.locationAtIndex(0).fileName),
                 QStringLiteral("kelipc"));
        QCOMPARE(error.locationAtIndex(0).lineNumber, line);
    }
}

const char fullText[]
    = "The window registry is full: no further analysis window can be registered. "
      "Close some windows and try again.";
const char goneText[] = "The analysis window of this registration has closed; the registration can "
                        "no longer be used.";

} // namespace

/// The window registry with real frames: table order, slots, notifications, the exceptions with
/// their exact texts and locations, the trace and the library's purge.
class RegistryTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        ITrace::configure("", nullptr);
        QCOMPARE(WindowRegistry::windowCount(), 0);
        QCOMPARE(WindowRegistry::slotsHeld(), 0);
    }

    void registrationsAreOrderedByObjectAndViewAndSlotsFollowThem()
    {
        View b2(QStringLiteral("B"), 2);
        View a1(QStringLiteral("A"), 1);
        View b1(QStringLiteral("B"), 1);
        QCOMPARE(tableOrder(), QStringList({"A/1", "B/1", "B/2"}));
        QCOMPARE(WindowRegistry::windows().at(2).handle, b2.frame->handle());
        QCOMPARE(b2.registration->handle(), b2.frame->handle());
        QCOMPARE(b2.registration->viewNum(), 2ul);
        QVERIFY(b2.registration->isOwner());
        QVERIFY(!b2.registration->isOnlyWindowForObject());
        QVERIFY(a1.registration->isOnlyWindowForObject());
    }

    void removingTheFirstOfTwoEqualKeysLeavesTheOtherDesignated()
    {
        auto first = std::make_unique<View>(QStringLiteral("DataMap"), 596);
        View second(QStringLiteral("DataMap"), 596);
        FindLikeObject finder(QStringLiteral("DataMap"));
        QVERIFY(finder.setToFirst(0, 0));
        const RegisterInstance ofFirst = finder.current();
        QVERIFY(!ofFirst.isOwner());
        QCOMPARE(ofFirst.handle(), first->frame->handle());

        first.reset();
        QCOMPARE(second.registration->handle(), second.frame->handle());
        QVERIFY(second.registration->isOnlyWindowForObject());
        expectThrown<IInvalidRequest>([&] { ofFirst.handle(); },
                                      goneText,
                                      "RegisterInstance::handle()",
                                      1758);
    }

    void everyAccessorOfAGoneEntryNamesItsLocation()
    {
        auto view = std::make_unique<View>(QStringLiteral("Symbols"), 595);
        FindLikeObject finder;
        QVERIFY(finder.setToFirst(0, 0));
        const RegisterInstance gone = finder.current();
        view.reset();
        expectThrown<IInvalidRequest>([&] { gone.objectId(); },
                                      goneText,
                                      "RegisterInstance::objectId()",
                                      1789);
        expectThrown<IInvalidRequest>([&] { gone.viewNum(); },
                                      goneText,
                                      "RegisterInstance::viewNum()",
                                      1821);
        expectThrown<IInvalidRequest>([&] { gone.euidNum(); },
                                      goneText,
                                      "RegisterInstance::euidNum()",
                                      1853);
        expectThrown<IInvalidRequest>([&] { gone.puidNum(); },
                                      goneText,
                                      "RegisterInstance::puidNum()",
                                      1886);
        expectThrown<IInvalidRequest>([&] { gone.isOnlyWindowForObject(); },
                                      goneText,
                                      "RegisterInstance::isOnlyWindowForObject()",
                                      1919);
        // A cursor that is not on an entry gives a registration of nothing.
        finder.invalidate();
        expectThrown<IInvalidRequest>([&] { finder.current().handle(); },
                                      goneText,
                                      "RegisterInstance::handle()",
                                      1758);
    }

    void the257thRegistrationThrowsAndLeavesTheTableUnchanged()
    {
        std::ostringstream trace; // outlives the views, whose removal is traced too
        std::vector<std::unique_ptr<View>> views;
        for (int i = 0; i < 256; ++i)
            views.push_back(std::make_unique<View>(QStringLiteral("W%1").arg(i % 7), i));
        const QStringList before = tableOrder();
        IFrameWindow extra;
        ITrace::configure("KELIPC", &trace);
        expectThrown<IResourceExhausted>(
            [&] {
                RegisterInstance(extra.handle(), QStringLiteral("W0"), 1, nullptr, nullptr, &extra);
            },
            fullText,
            "RegisterInstance::RegisterInstance(IWindowHandle,IString,unsigned long,DbEu*,DbPu*,"
            "IFrameWindow*)",
            856);
        // Logged before it was thrown.
        QVERIFY2(QString::fromStdString(trace.str())
                     .contains(QStringLiteral("!IResourceExhausted error id 0 in RegisterInstance::"
                                              "RegisterInstance(IWindowHandle,IString,unsigned "
                                              "long,DbEu*,DbPu*,IFrameWindow*) (line 856 in file "
                                              "kelipc): The window registry is full")),
                 trace.str().c_str());
        QCOMPARE(tableOrder(), before);
        QCOMPARE(WindowRegistry::slotsHeld(), 256);
    }

    void runningOutOfSlotsThrowsAtEachConstructorsLocation()
    {
        View view(QStringLiteral("Browser"), 592);
        std::vector<std::unique_ptr<FindLikeObject>> cursors;
        while (WindowRegistry::slotsHeld() < 512)
            cursors.push_back(std::make_unique<FindLikeObject>());
        IFrameWindow extra;
        expectThrown<IResourceExhausted>(
            [&] {
                RegisterInstance(extra.handle(), QStringLiteral("X"), 1, nullptr, nullptr, &extra);
            },
            fullText,
            "RegisterInstance::RegisterInstance(IWindowHandle,IString,unsigned long,DbEu*,DbPu*,"
            "IFrameWindow*)",
            869);
        expectThrown<IResourceExhausted>([&] { RegisterInstance(1u); },
                                         fullText,
                                         "RegisterInstance::RegisterInstance(unsigned int)",
                                         2065);
        expectThrown<IResourceExhausted>([&] { RegisterInstance copy(*view.registration); },
                                         fullText,
                                         "RegisterInstance::RegisterInstance(const "
                                         "RegisterInstance&)",
                                         1026);
        const struct
        {
            std::function<void()> make;
            const char *function;
            unsigned long line;
        } finders[] = {
            {[] { FindLikeObject f; }, "FindLikeObject::FindLikeObject()", 2122},
            {[] { FindLikeObject f(QStringLiteral("A")); },
             "FindLikeObject::FindLikeObject(IString)",
             2181},
            {[] { FindLikeObject f(QStringLiteral("A"), 1); },
             "FindLikeObject::FindLikeObject(IString,unsigned long)",
             2242},
            {[&] { FindLikeObject f(extra.handle(), QStringLiteral("A"), 1, nullptr, nullptr); },
             "FindLikeObject::FindLikeObject(IWindowHandle,IString,unsigned long,DbEu*,DbPu*)",
             2310},
            {[&] { FindLikeObject f(&extra); },
             "FindLikeObject::FindLikeObject(IFrameWindow*)",
             2367},
            {[&] { FindLikeObject f(*cursors.front()); },
             "FindLikeObject::FindLikeObject(const FindLikeObject&)",
             2431},
        };
        for (const auto &finder : finders)
            expectThrown<IResourceExhausted>(finder.make, fullText, finder.function, finder.line);
        QCOMPARE(WindowRegistry::windowCount(), 1);
    }

    void notificationsGoToTheRightWindows()
    {
        View sender(QStringLiteral("Browser"), 592);
        View other(QStringLiteral("Grapher"), 593);
        auto closing = std::make_unique<View>(QStringLiteral("DataMap"), 596);
        NotificationLog log;
        log.watch(sender.frame.get());
        log.watch(other.frame.get());
        log.watch(closing->frame.get());
        const auto slotOf = [](const View &v) {
            return static_cast<unsigned short>(v.registration->slot());
        };

        sender.registration->requestShow();
        QCOMPARE(log.take(),
                 QList<ReceivedNotification>({{sender.frame->handle(),
                                               OpenWindowEvent::Code::ShowRequest,
                                               slotOf(sender),
                                               0}}));

        sender.registration->broadcastMessage(4711);
        const QList<ReceivedNotification> messages = log.take();
        QCOMPARE(messages.size(), 2);
        for (const ReceivedNotification &n : messages) {
            QVERIFY(n.receiver != sender.frame->handle());
            QCOMPARE(n.code, OpenWindowEvent::Code::Message);
            QCOMPARE(n.senderSlot, slotOf(sender));
            QCOMPARE(n.message, 4711ul);
        }

        const IWindowHandle closedHandle = closing->frame->handle();
        const unsigned short closedSlot = slotOf(*closing);
        closing->registration.reset();
        const QList<ReceivedNotification> closed = log.take();
        QCOMPARE(closed.size(), 2);
        for (const ReceivedNotification &n : closed) {
            QVERIFY(n.receiver != closedHandle);
            QCOMPARE(n.code, OpenWindowEvent::Code::WindowClosed);
            QCOMPARE(n.senderSlot, closedSlot);
            QCOMPARE(IWindowHandle(n.message), closedHandle);
        }

        // A window destroyed while still registered is passed over, not posted to.
        auto orphan = std::make_unique<View>(QStringLiteral("Symbols"), 595);
        orphan->frame.reset();
        sender.registration->broadcastMessage(1);
        QCOMPARE(log.take().size(), 1);
        orphan.reset();
        QCOMPARE(log.take().size(), 2);
    }

    void forwardMessagePostsOnlyToRegisteredWindows()
    {
        View sender(QStringLiteral("Browser"), 592);
        View target(QStringLiteral("DataMap"), 596);
        IFrameWindow unregistered;
        QList<std::pair<unsigned long, unsigned long>> seen;
        class Probe : public IHandler
        {
        public:
            QList<std::pair<unsigned long, unsigned long>> *seen = nullptr;
            bool dispatchHandlerEvent(QEvent &event) override
            {
                if (auto *user = IUserEvent::from(&event); user && user->eventId() == 0x4006) {
                    seen->append({user->parameter1(), user->parameter2()});
                    return true;
                }
                return false;
            }
        } probe;
        probe.seen = &seen;
        probe.handleEventsFor(target.frame.get()).handleEventsFor(&unregistered);

        QVERIFY(sender.registration
                    ->forwardMessage(target.frame->handle(), 0x4006, 0, nullptr, nullptr, 17, 3));
        QVERIFY(!sender.registration
                     ->forwardMessage(unregistered.handle(), 0x4006, 0, nullptr, nullptr, 1, 1));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(seen, (QList<std::pair<unsigned long, unsigned long>>{{17, 3}}));
    }

    void everyOperationIsTracedUnderKelipc()
    {
        std::ostringstream trace; // outlives the view, whose removal is traced too
        View view(QStringLiteral("Browser"), 592);
        ITrace::configure("KELIPC", &trace);
        view.registration->viewNum();
        const QString text = QString::fromStdString(trace.str());
        QVERIFY2(text.contains(QStringLiteral(" +RegisterInstance::viewNum()\n")),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral(" -RegisterInstance::viewNum()\n")),
                 qPrintable(text));
        QVERIFY(text.startsWith(QStringLiteral("KELIPC ")));
    }

    void aLongObjectIdIsKeptToItsFirst128Bytes()
    {
        const QString longId = QString(127, u'Y') + QStringLiteral("éxyz");
        View view(longId, 1);
        QCOMPARE(view.registration->objectId(), QString(127, u'Y'));
        FindLikeObject finder(longId);
        QVERIFY(finder.setToFirst(0, 0));
        QCOMPARE(finder.current().handle(), view.frame->handle());
    }

    void thePurgeOfTheLibraryLeavesNoRegistrationActingOnAnotherEntry()
    {
        auto purged = std::make_unique<View>(QStringLiteral("Browser"), 592);
        auto cursor = std::make_unique<FindLikeObject>();
        QVERIFY(cursor->setToFirst(0, 0));
        WindowRegistry::purgeCurrentProcess(); // as when the library is unloaded
        QCOMPARE(WindowRegistry::windowCount(), 0);
        QCOMPARE(WindowRegistry::slotsHeld(), 0);
        QVERIFY(!purged->registration->isValid());
        QVERIFY(!cursor->isValid());

        // New registrations take the freed slots; the old holders must not touch them.
        View fresh(QStringLiteral("Grapher"), 593);
        FindLikeObject freshCursor;
        QVERIFY(freshCursor.setToFirst(0, 0));
        expectThrown<IInvalidRequest>([&] { purged->registration->handle(); },
                                      goneText,
                                      "RegisterInstance::handle()",
                                      1758);
        QVERIFY(!cursor->setToFirst(0, 0));
        QVERIFY(!cursor->isValid());
        purged.reset();
        cursor.reset();
        QCOMPARE(WindowRegistry::windowCount(), 1);
        QCOMPARE(fresh.registration->handle(), fresh.frame->handle());
        QVERIFY(freshCursor.isValid());
    }

    void aRegistrationCarriesItsUnits()
    {
        AnalysisUnits units("PAYROLL", {"PAY01", "TAX02"});
        View view(QStringLiteral("DataMap"), 596, &units.eu(), units.pu("TAX02"));
        QCOMPARE(view.registration->euidNum(), &units.eu());
        QCOMPARE(view.registration->puidNum(), units.pu("TAX02"));
        QCOMPARE(view.registration->frame(), view.frame.get());
        const RegisterInstance copy(*view.registration);
        QCOMPARE(copy.puidNum(), units.pu("TAX02"));
        QCOMPARE(copy.frame(), view.frame.get());
        QVERIFY(!copy.isOwner());
    }
};

QTEST_MAIN(RegistryTest)
#include "RegistryTest.moc"
