#include "IMouseClickHandler.h"

#include <QTest>
#include <QWidget>

namespace {

struct Seen
{
    IMouseClickEvent::Button button;
    IMouseClickEvent::Action action;
    bool ctrl, alt, shift;
    QPoint position;
    friend bool operator==(const Seen &, const Seen &) = default;
};

/// Records every click and takes the button-2 ones; shows a cross pointer on the left half.
class RecordingClicks : public IMouseClickHandler
{
public:
    QList<Seen> seen;

protected:
    bool mouseClicked(IMouseClickEvent &event) override
    {
        seen.append({event.mouseButton(),
                     event.mouseAction(),
                     event.isCtrlKeyDown(),
                     event.isAltKeyDown(),
                     event.isShiftKeyDown(),
                     event.mousePosition()});
        return event.mouseButton() == IMouseClickEvent::Button::Button2;
    }
    bool mousePointerChange(IMousePointerEvent &event) override
    {
        if (event.mousePosition().x() >= 50)
            return false;
        event.setMousePointer(Qt::CrossCursor);
        return true;
    }
};

using B = IMouseClickEvent::Button;
using A = IMouseClickEvent::Action;

} // namespace

/// Qt's mouse events as the design's click handlers see them.
class MouseClickTest : public QObject
{
    Q_OBJECT

private slots:
    void clicksReadDownUpClickAndDoubleClicksAsThePlatformDid()
    {
        QWidget canvas;
        canvas.resize(100, 100);
        canvas.show();
        RecordingClicks clicks;
        clicks.handleEventsFor(&canvas);
        const QPoint at(10, 20);

        QTest::mouseClick(&canvas, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, at);
        QCOMPARE(clicks.seen,
                 QList<Seen>({{B::Button1, A::Down, true, true, false, at},
                              {B::Button1, A::Up, true, true, false, at},
                              {B::Button1, A::Click, true, true, false, at}}));
        clicks.seen.clear();

        // What a double click delivers: press, release, double click (instead of the second
        // press), release.
        QTest::mousePress(&canvas, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(&canvas, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(&canvas, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(&canvas, Qt::LeftButton, Qt::NoModifier, at);
        QList<A> actions;
        for (const Seen &s : clicks.seen)
            actions << s.action;
        QCOMPARE(actions, QList<A>({A::Down, A::Up, A::Click, A::DoubleClick, A::Up}));
        clicks.seen.clear();

        // Moved beyond the drag distance between press and release: no click.
        QTest::mousePress(&canvas, Qt::LeftButton, Qt::ShiftModifier, at);
        QTest::mouseRelease(&canvas, Qt::LeftButton, Qt::ShiftModifier, at + QPoint(40, 0));
        QCOMPARE(clicks.seen.size(), 2);
        QCOMPARE(clicks.seen.last().action, A::Up);
        QVERIFY(clicks.seen.last().shift);
    }

    void handledClicksAreTakenAndOtherButtonsPassOver()
    {
        QWidget canvas;
        canvas.resize(100, 100);
        canvas.show();
        RecordingClicks clicks;
        clicks.handleEventsFor(&canvas);
        QMouseEvent right(QEvent::MouseButtonPress,
                          QPointF(5, 5),
                          canvas.mapToGlobal(QPointF(5, 5)),
                          Qt::RightButton,
                          Qt::RightButton,
                          Qt::NoModifier);
        QVERIFY(QCoreApplication::sendEvent(&canvas, &right)); // taken by the handler
        QCOMPARE(clicks.seen.last().button, B::Button2);
        QMouseEvent back(QEvent::MouseButtonPress,
                         QPointF(5, 5),
                         canvas.mapToGlobal(QPointF(5, 5)),
                         Qt::BackButton,
                         Qt::BackButton,
                         Qt::NoModifier);
        const auto before = clicks.seen.size();
        QCoreApplication::sendEvent(&canvas, &back);
        QCOMPARE(clicks.seen.size(), before);
    }

    void aHandlerChoosesThePointerWhileItMoves()
    {
        QWidget canvas;
        canvas.resize(100, 100);
        canvas.show();
        RecordingClicks clicks;
        clicks.handleEventsFor(&canvas);
        QVERIFY(canvas.hasMouseTracking());
        QTest::mouseMove(&canvas, QPoint(70, 70)); // enter the new window first
        QTest::mouseMove(&canvas, QPoint(10, 10));
        QCOMPARE(canvas.cursor().shape(), Qt::CrossCursor);
        QTest::mouseMove(&canvas, QPoint(80, 10));
        QCOMPARE(canvas.cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(MouseClickTest)
#include "MouseClickTest.moc"
