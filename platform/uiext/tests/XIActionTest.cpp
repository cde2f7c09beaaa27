#include "XIAction.h"
#include "ICommandEvent.h"
#include "IFrameWindow.h"
#include "XIHoverHelpSelector.h"

#include <QTest>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

/// An action that counts how often it was performed and latches like a toggle.
class CountingAction : public XIAction
{
public:
    using XIAction::XIAction;
    int performedCount = 0;
    bool performAction() override
    {
        ++performedCount;
        if (isLatching())
            setLatched(!isLatched());
        return true;
    }
};

/// A frame that takes the commands in `taken` and records every command it sees.
class CommandFrame : public IFrameWindow
{
public:
    QList<unsigned long> taken;
    QList<unsigned long> seen;

protected:
    bool command(ICommandEvent &event) override
    {
        seen.append(event.commandId());
        return taken.contains(event.commandId());
    }
};

} // namespace

/// Actions: their attributes, the registry of all actions, triggering through the owning
/// window's command handling, and latching.
class XIActionTest : public QObject
{
    Q_OBJECT

private slots:
    void anActionCarriesItsIdCategoryAndFlyOver()
    {
        CommandFrame frame;
        XIAction action(0x6002,
                        QStringLiteral("&Control Flow Graph"),
                        QStringLiteral("Open it"),
                        &frame);
        QCOMPARE(action.commandId(), 0x6002ul);
        QCOMPARE(action.owner(), &frame);
        QCOMPARE(action.category(), QString());
        action.setCategory(QStringLiteral("basic"));
        QCOMPARE(action.category(), QStringLiteral("basic"));
        QCOMPARE(action.toolTip(), QStringLiteral("Open it"));
        QCOMPARE(action.statusTip(), QStringLiteral("Open it"));
        action.setTextsFromResources(0x6004, 0x16004);
        QCOMPARE(action.text(), QStringLiteral("&Symbols Used"));
        QCOMPARE(action.flyOverText(),
                 QStringLiteral("List the data items this program unit uses"));
        action.setFlyOverTextFromResource(0x1); // missing: shows the gap
        QCOMPARE(action.flyOverText(), QStringLiteral("[KELRESRC 1]"));
    }

    void theRegistryFindsByIdCategoryAndOwner()
    {
        CommandFrame first;
        CommandFrame second;
        XIAction a(0x6076, {}, {}, &first);
        XIAction b(0x6076, {}, {}, &second);
        auto c = std::make_unique<XIAction>(0x6076, QString(), QString(), &second);
        a.setCategory(QStringLiteral("basic"));
        b.setCategory(QStringLiteral("basic"));
        c->setCategory(QStringLiteral("exit"));

        QCOMPARE(XIAction::find(0x6076, {}, &first), &a);
        QCOMPARE(XIAction::find(0x6076, QStringLiteral("basic"), &second), &b);
        QCOMPARE(XIAction::find(0x6076, {}, &second), c.get()); // newest wins
        QCOMPARE(XIAction::find(0x6076, QStringLiteral("exit")), c.get());
        QCOMPARE(XIAction::find(0x6076, QStringLiteral("forever")), nullptr);
        QCOMPARE(XIAction::find(0x9999), nullptr);
        QVERIFY(XIAction::allActions(QStringLiteral("basic")).contains(&a));
        QVERIFY(!XIAction::allActions(QStringLiteral("basic")).contains(c.get()));

        c.reset();
        QCOMPARE(XIAction::find(0x6076, {}, &second), &b);
        QVERIFY(!XIAction::allActions().contains(nullptr));
    }

    void workerThreadsLookUpWhileTheGuiThreadChangesTheRegistry()
    {
        CommandFrame frame;
        XIAction stable(0x6033, {}, {}, &frame);
        std::atomic_bool stop{false};
        std::atomic_int misses{0};
        std::thread worker([&] {
            while (!stop) {
                if (XIAction::find(0x6033, {}, &frame) != &stable)
                    ++misses;
            }
        });
        for (int i = 0; i < 2000; ++i) {
            XIAction transient(0x6034, {}, {}, &frame);
            transient.setCategory(QStringLiteral("simple"));
        }
        stop = true;
        worker.join();
        QCOMPARE(misses.load(), 0);
    }

    void triggeringSendsTheCommandToTheOwningWindowFirst()
    {
        CommandFrame frame;
        frame.taken = {0x6002};
        CountingAction takenByFrame(0x6002, {}, {}, &frame);
        CountingAction performsItself(0x6003, {}, {}, &frame);
        CountingAction withoutWindow(0x6004);

        takenByFrame.trigger();
        performsItself.trigger();
        withoutWindow.trigger();
        QCOMPARE(frame.seen, QList<unsigned long>({0x6002, 0x6003}));
        QCOMPARE(takenByFrame.performedCount, 0);
        QCOMPARE(performsItself.performedCount, 1);
        QCOMPARE(withoutWindow.performedCount, 1);

        // An explicit target wins over the parent.
        CommandFrame other;
        other.taken = {0x6004};
        withoutWindow.setCommandTarget(&other);
        withoutWindow.trigger();
        QCOMPARE(withoutWindow.performedCount, 1);
        QCOMPARE(other.seen, QList<unsigned long>({0x6004}));
    }

    void aLatchingActionChangesStateOnlyWhenPerformed()
    {
        CommandFrame frame;
        CountingAction toggle(0x6032, {}, {}, &frame);
        toggle.enableLatching();
        QVERIFY(toggle.isLatching() && !toggle.isLatched());
        toggle.trigger(); // performs itself: on
        QVERIFY(toggle.isLatched());

        frame.taken = {0x6032}; // a busy window takes the command and drops it
        toggle.trigger();
        QVERIFY(toggle.isLatched());
        QCOMPARE(toggle.performedCount, 1);
    }

    void theHoverHelpSelectorIsOneLatchingActionStartingOn()
    {
        XIHoverHelpSelector *selector = XIHoverHelpSelector::hoverHelpSelector();
        QCOMPARE(XIHoverHelpSelector::hoverHelpSelector(), selector);
        QVERIFY(selector->isLatching() && selector->isLatched());
        QVERIFY(XIHoverHelpSelector::isHoverHelpOn());
        QList<bool> changes;
        connect(selector, &XIHoverHelpSelector::hoverHelpChanged, this, [&](bool on) {
            changes << on;
        });
        selector->trigger();
        QVERIFY(!XIHoverHelpSelector::isHoverHelpOn());
        selector->trigger();
        QCOMPARE(changes, QList<bool>({false, true}));
    }
};

QTEST_MAIN(XIActionTest)
#include "XIActionTest.moc"
