#include "IException.h"
#include "IFrameWindow.h"
#include "NotificationLog.h"
#include "RegisterInstance.h"
#include "WindowRegistry.h"

#include <QTest>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <vector>

namespace {

/// What the registry should hold: one record per owning registration.
struct ModelEntry
{
    QString objectId;
    unsigned long view;
    IWindowHandle handle;
    int arrival;
};

bool before(const ModelEntry &a, const ModelEntry &b)
{
    const QByteArray x = a.objectId.toUtf8();
    const QByteArray y = b.objectId.toUtf8();
    if (x != y)
        return x < y;
    if (a.view != b.view)
        return a.view < b.view;
    return a.arrival < b.arrival;
}

struct LiveView
{
    std::unique_ptr<IFrameWindow> frame;
    std::unique_ptr<RegisterInstance> registration;
};

struct Copy
{
    std::unique_ptr<RegisterInstance> instance;
    IWindowHandle original;
};

/// Checks the registry against the model (QCOMPARE failures end the current test).
void verify(std::vector<ModelEntry> model,
            const std::map<unsigned long, LiveView> &live,
            const std::vector<Copy> &copies)
{
    std::sort(model.begin(), model.end(), before);
    const QList<RegisteredWindow> table = WindowRegistry::windows();
    QCOMPARE(table.size(), static_cast<qsizetype>(model.size()));
    for (qsizetype i = 0; i < table.size(); ++i) {
        QCOMPARE(table[i].handle, model[i].handle);
        QCOMPARE(table[i].objectId, model[i].objectId);
        QCOMPARE(table[i].view, model[i].view);
    }
    std::set<unsigned int> heldSlots;
    for (const auto &[handle, view] : live) {
        QCOMPARE(view.registration->handle().asUnsigned(), handle);
        heldSlots.insert(view.registration->slot());
    }
    for (const Copy &copy : copies) {
        heldSlots.insert(copy.instance->slot());
        if (live.count(copy.original.asUnsigned()))
            QCOMPARE(copy.instance->handle(), copy.original);
        else
            QVERIFY(!copy.instance->isValid());
    }
    QCOMPARE(heldSlots.size(), live.size() + copies.size());
    QCOMPARE(WindowRegistry::slotsHeld(), static_cast<int>(heldSlots.size()));
    QVERIFY(!heldSlots.count(0));
}

} // namespace

/// Registers, copies and removes windows in random order against a simple model of the table:
/// after every step the registry's order, every registration's entry, the heldSlots and the
/// notifications must agree with the model.
class RegistryModelTest : public QObject
{
    Q_OBJECT

private slots:
    void randomRegistrationsAgreeWithTheModel()
    {
        const unsigned seed = qEnvironmentVariableIsSet("KELIPC_MODEL_SEED")
                                  ? qEnvironmentVariableIntValue("KELIPC_MODEL_SEED")
                                  : 20240611u;
        qInfo("seed %u (set KELIPC_MODEL_SEED to repeat another run)", seed);
        std::mt19937 random(seed);
        const auto pick = [&](int n) {
            return std::uniform_int_distribution<int>(0, n - 1)(random);
        };
        const QStringList ids = {"A", "B", "Browser", "DataMap", "Grapher", "Symbols", ""};

        std::vector<ModelEntry> model;
        std::map<unsigned long, LiveView> live; // by handle
        std::vector<Copy> copies;
        NotificationLog log;
        int arrival = 0;
        int fullRefusals = 0;

        const auto randomLive = [&]() -> LiveView & {
            auto it = live.begin();
            std::advance(it, pick(static_cast<int>(live.size())));
            return it->second;
        };

        for (int step = 0; step < 4000; ++step) {
            // Phases that fill the table to its limit and empty it again.
            const bool filling = (step / 1000) % 2 == 0;
            const int action = pick(100);
            if (action < (filling ? 65 : 15)) {
                LiveView view{std::make_unique<IFrameWindow>(), nullptr};
                const QString id = ids[pick(ids.size())];
                const unsigned long number = 1 + pick(3);
                const IWindowHandle handle = view.frame->handle();
                try {
                    view.registration = std::make_unique<RegisterInstance>(handle,
                                                                           id,
                                                                           number,
                                                                           nullptr,
                                                                           nullptr,
                                                                           view.frame.get());
                } catch (const IResourceExhausted &) {
                    QCOMPARE(static_cast<int>(model.size()), 256);
                    ++fullRefusals;
                    continue;
                }
                log.watch(view.frame.get());
                model.push_back({id, number, handle, arrival++});
                live.emplace(handle.asUnsigned(), std::move(view));
            } else if (action < 80 && !live.empty()) {
                LiveView &victim = randomLive();
                const IWindowHandle closed = victim.frame->handle();
                const auto slot = static_cast<unsigned short>(victim.registration->slot());
                victim.registration.reset();
                live.erase(closed.asUnsigned());
                std::erase_if(model, [&](const ModelEntry &e) { return e.handle == closed; });
                // Every window still registered hears of it, once, from the closing slot.
                const QList<ReceivedNotification> heard = log.take();
                QCOMPARE(heard.size(), static_cast<qsizetype>(model.size()));
                std::set<unsigned long> receivers;
                for (const ReceivedNotification &n : heard) {
                    QCOMPARE(n.code, OpenWindowEvent::Code::WindowClosed);
                    QCOMPARE(n.senderSlot, slot);
                    QCOMPARE(IWindowHandle(n.message), closed);
                    receivers.insert(n.receiver.asUnsigned());
                }
                QCOMPARE(receivers.size(), model.size());
            } else if (action < 90 && !live.empty()) {
                LiveView &original = randomLive();
                copies.push_back({std::make_unique<RegisterInstance>(*original.registration),
                                  original.frame->handle()});
            } else if (action < 97 && !copies.empty()) {
                copies.erase(copies.begin() + pick(static_cast<int>(copies.size())));
                QVERIFY(log.take().isEmpty()); // a non-owning instance removes nothing
            } else if (!live.empty()) {
                LiveView &sender = randomLive();
                sender.registration->broadcastMessage(static_cast<unsigned long>(step));
                const QList<ReceivedNotification> heard = log.take();
                QCOMPARE(heard.size(), static_cast<qsizetype>(model.size() - 1));
                for (const ReceivedNotification &n : heard) {
                    QVERIFY(n.receiver != sender.frame->handle());
                    QCOMPARE(n.message, static_cast<unsigned long>(step));
                }
            }
            verify(model, live, copies);
            if (QTest::currentTestFailed()) {
                qWarning("failed at step %d", step);
                return;
            }
        }
        QVERIFY2(fullRefusals > 0, "the run never filled the table");
        copies.clear();
        live.clear();
        QCOMPARE(WindowRegistry::windowCount(), 0);
        QCOMPARE(WindowRegistry::slotsHeld(), 0);
    }
};

QTEST_MAIN(RegistryModelTest)
#include "RegistryModelTest.moc"
