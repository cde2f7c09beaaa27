#include "FindLikeObject.h"
#include "AnalysisUnits.h"
#include "IEventTypes.h"
#include "IFrameWindow.h"
#include "IUserEvent.h"
#include "RegisterInstance.h"
#include "WindowRegistry.h"

#include <QTest>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

/// A view that answers the query event: yes when `answers` says so for (token, unit).
class QueryFrame : public IFrameWindow
{
public:
    std::function<bool(unsigned long, unsigned long)> answers = [](auto, auto) { return false; };
    QList<std::pair<unsigned long, unsigned long>> queries;
    std::function<void()> whileAnswering;

protected:
    bool userEvent(IUserEvent &event) override
    {
        if (event.eventId() != IEventTypes::canShowQuery)
            return false;
        queries.append({event.parameter1(), event.parameter2()});
        if (whileAnswering)
            whileAnswering();
        event.setResult(answers(event.parameter1(), event.parameter2()) ? 1 : 0);
        return true;
    }
};

struct View
{
    std::unique_ptr<QueryFrame> frame = std::make_unique<QueryFrame>();
    std::unique_ptr<RegisterInstance> registration;

    View(const QString &objectId, unsigned long view, DbEu *eu = nullptr, DbPu *pu = nullptr)
        : registration(std::make_unique<RegisterInstance>(frame->handle(),
                                                          objectId,
                                                          view,
                                                          eu,
                                                          pu,
                                                          frame.get()))
    {}
    void answerYes()
    {
        frame->answers = [](auto, auto) { return true; };
    }
};

const QString browser = QStringLiteral("Browser");

} // namespace

/// Finding open views: the filters, the order of the search, the query event and every
/// positioning operation, with real windows answering.
class FindLikeObjectTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        QCOMPARE(WindowRegistry::windowCount(), 0);
        QCOMPARE(WindowRegistry::slotsHeld(), 0);
    }

    void withoutAnotherWindowOfTheKindNothingIsFound()
    {
        AnalysisUnits units("PAYROLL", {"PAY01"});
        View self(browser, 592, &units.eu(), units.pu("PAY01"));
        self.answerYes();
        View otherKind(QStringLiteral("Grapher"), 593, &units.eu(), units.pu("PAY01"));
        otherKind.answerYes();
        FindLikeObject finder(self.frame->handle(), browser, 592, &units.eu(), units.pu("PAY01"));
        QVERIFY(!finder.setToFirst(7, 1));
        QVERIFY(!finder.isValid());
        QVERIFY2(self.frame->queries.isEmpty(), "the searching window is never asked");
        QVERIFY(otherKind.frame->queries.isEmpty());
    }

    void theFirstWindowThatAnswersYesInTableOrderIsFound()
    {
        AnalysisUnits units("PAYROLL", {"PAY01", "TAX02"});
        View self(browser, 592, &units.eu(), units.pu("PAY01"));
        View saysNo(browser, 592, &units.eu(), units.pu("PAY01"));
        View first(browser, 592, &units.eu(), units.pu("TAX02"));
        View second(browser, 592, &units.eu(), units.pu("PAY01"));
        first.answerYes();
        second.answerYes();
        FindLikeObject finder(self.frame->handle(), browser, 592, &units.eu(), units.pu("PAY01"));
        QVERIFY(finder.setToFirst(42, 2));
        QCOMPARE(finder.current().handle(), first.frame->handle());
        // The query carries (token number, program-unit number) and goes in table order.
        QCOMPARE(saysNo.frame->queries, (QList<std::pair<unsigned long, unsigned long>>{{42, 2}}));
        QCOMPARE(first.frame->queries.size(), 1);
        QVERIFY(second.frame->queries.isEmpty());
        QVERIFY(self.frame->queries.isEmpty());

        QVERIFY(finder.setToNext()); // stepping applies no query and no unit filter
        QCOMPARE(finder.current().handle(), second.frame->handle());
        QVERIFY(!finder.setToNext());
        QVERIFY(!finder.isValid());
    }

    void aWindowOfAnotherExecutionUnitIsNeverAsked()
    {
        AnalysisUnits payroll("PAYROLL", {"PAY01"});
        AnalysisUnits billing("BILLING", {"PAY01"});
        AnalysisUnits payrollAgain("PAYROLL", {"PAY01"}); // another file, the same name
        View self(browser, 592, &payroll.eu(), payroll.pu("PAY01"));
        View otherUnit(browser, 592, &billing.eu(), billing.pu("PAY01"));
        View sameName(browser, 592, &payrollAgain.eu(), payrollAgain.pu("PAY01"));
        View noUnit(browser, 592);
        otherUnit.answerYes();
        noUnit.answerYes();
        sameName.frame->answers = [](unsigned long token, unsigned long unit) {
            return token == 5 && unit == 1;
        };
        FindLikeObject finder(self.frame->handle(), browser, 592, &payroll.eu(), nullptr);
        QVERIFY(finder.setToFirst(5, 1));
        QCOMPARE(finder.current().handle(), sameName.frame->handle());
        QVERIFY(otherUnit.frame->queries.isEmpty());
        QVERIFY(noUnit.frame->queries.isEmpty());
    }

    void windowsThatComeAndGoWhileOneAnswersDoNotConfuseTheSearch()
    {
        View self(browser, 592);
        auto leaving = std::make_unique<View>(browser, 592);
        View answering(browser, 592);
        answering.answerYes();
        std::unique_ptr<View> arriving;
        // The first candidate closes itself and opens a window of another kind before answering.
        leaving->frame->whileAnswering = [&] {
            leaving->registration.reset();
            arriving = std::make_unique<View>(QStringLiteral("A"), 1);
        };
        FindLikeObject finder(self.frame->handle(), browser, 592, nullptr, nullptr);
        QVERIFY(finder.setToFirst(1, 1));
        QCOMPARE(finder.current().handle(), answering.frame->handle());
        QCOMPARE(answering.frame->queries.size(), 1);
        leaving.reset();
        arriving.reset();
    }

    void aCommandThreadSearchesThroughTheGuiThread()
    {
        View self(browser, 592);
        View other(browser, 592);
        other.frame->answers = [](unsigned long token, auto) { return token == 9; };
        FindLikeObject finder(self.frame->handle(), browser, 592, nullptr, nullptr);
        std::atomic_int result{-1};
        std::thread worker([&] { result = finder.setToFirst(9, 1) ? 1 : 0; });
        QTRY_COMPARE(result.load(), 1);
        worker.join();
        QCOMPARE(finder.current().handle(), other.frame->handle());
    }

    void positioningOperationsFollowTheirFilters()
    {
        AnalysisUnits units("PAYROLL", {"PAY01"});
        DbEu *eu = &units.eu();
        DbPu *pu = units.pu("PAY01");
        View a(QStringLiteral("A"), 1);
        View b1(browser, 1);
        View b2(browser, 2);
        View b2later(browser, 2, eu, pu);
        View c(QStringLiteral("C"), 1);

        FindLikeObject all;
        QVERIFY(all.setToFirst(0, 0));
        QCOMPARE(all.current().handle(), a.frame->handle());
        QVERIFY(all.setToLast());
        QCOMPARE(all.current().handle(), c.frame->handle());
        QVERIFY(all.setToPrevious());
        QCOMPARE(all.current().handle(), b2later.frame->handle());
        QVERIFY(all.setToObject(browser));
        QCOMPARE(all.current().handle(), b1.frame->handle());
        QVERIFY(all.setToView(browser, 2));
        QCOMPARE(all.current().handle(), b2.frame->handle());
        QVERIFY(!all.setToView(browser, 3));
        QVERIFY(!all.isValid());
        QVERIFY(all.setToFirstW(b2later.frame.get()));
        QCOMPARE(all.current().handle(), b2later.frame->handle());
        QVERIFY2(!all.setToFirstObject(browser, 2, eu, pu), "needs all four filters");
        QVERIFY2(all.isValid(), "a refused operation leaves the cursor");

        FindLikeObject byObject(browser);
        QVERIFY(byObject.setToFirst(0, 0));
        QCOMPARE(byObject.current().handle(), b1.frame->handle());
        QVERIFY(!byObject.setToObject(QStringLiteral("A")));
        QCOMPARE(byObject.current().handle(), b1.frame->handle());
        QVERIFY(byObject.setToLast());
        QCOMPARE(byObject.current().handle(), b2later.frame->handle());
        QVERIFY(!byObject.setToNext());
        QVERIFY(byObject.setToLast() && byObject.setToPrevious() && byObject.setToPrevious());
        QVERIFY(!byObject.setToPrevious());

        FindLikeObject byView(browser, 2);
        QVERIFY(byView.setToLast());
        QCOMPARE(byView.current().handle(), b2later.frame->handle());
        QVERIFY(byView.setToPrevious());
        QVERIFY2(!byView.setToPrevious(), "B/1 does not match the view filter");
        QVERIFY(!byView.setToView(browser, 1));

        FindLikeObject full(a.frame->handle(), browser, 2, eu, pu);
        QVERIFY(full.setToFirstObject(browser, 2, eu, pu));
        QCOMPARE(full.current().handle(), b1.frame->handle());
        QVERIFY(full.setToFirstView(browser, 2, eu, pu));
        QCOMPARE(full.current().handle(), b2.frame->handle());
        QVERIFY(!full.setToFirstView(browser, 2, eu, nullptr));
        const FindLikeObject copy(full);
        QCOMPARE(copy.current().handle(), b2.frame->handle());

        FindLikeObject ofFrame(c.frame.get());
        QVERIFY(ofFrame.setToFirstW(c.frame.get()));
        QCOMPARE(ofFrame.current().viewNum(), 1ul);
        QVERIFY(!ofFrame.setToFirstW(nullptr));
    }
};

QTEST_MAIN(FindLikeObjectTest)
#include "FindLikeObjectTest.moc"
