#pragma once

#include "IFrameWindow.h"
#include "KelWindow.h"
#include "KelWindowStart.h"
#include "StartWindowData.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QPlainTextEdit;
class RegisterInstance;

/// A stand-in view for the tests, derived from KelWindow as the host's views are: it shows the
/// unit's expanded source, answers the query 0x4011 for the tokens of its unit, and records what
/// reaches it (queries, find events, gestures, beeps, the preference hooks).
class DemoView : public KelWindow
{
    Q_OBJECT

public:
    struct Received
    {
        int event = 0;
        unsigned long parameter1 = 0;
        unsigned long parameter2 = 0;
    };

    /// A view of `viewKind` (592, 593, 595) for `request`, in the requests' execution unit.
    DemoView(const StartWindowData &request, unsigned long viewKind);
    ~DemoView() override;

    QPlainTextEdit *client() const { return m_client; }

    /// What openObjRelatedPrograms does on the worker thread (tests block it, throw from it).
    std::function<void()> relatedProgramsWork;
    /// Whether the view answers queries (for the units it shows).
    bool answersQueries = true;

    QList<Received> received;
    QList<Received> queries;
    QStringList gestures;
    int beeps = 0;
    int preferencesCalls = 0;
    int coloursCalls = 0;
    bool wholeUnit = false;

    void preferencesChanged() override;
    void coloursChanged() override;
    bool openObjRelatedPrograms() override;

    bool b1Up(const QPoint &) override { return record("b1Up"); }
    bool b1DownAlt(const QPoint &) override { return record("b1DownAlt"); }
    bool b1DownShift(const QPoint &) override { return record("b1DownShift"); }
    bool b1DownCtrl(const QPoint &) override { return record("b1DownCtrl"); }
    bool b1DownCtrlAlt(const QPoint &) override { return record("b1DownCtrlAlt"); }
    bool b1DownCtrlShift(const QPoint &) override { return record("b1DownCtrlShift"); }
    bool b1Down(const QPoint &) override { return record("b1Down"); }
    bool b1Click(const QPoint &) override { return record("b1Click"); }
    bool b1ClickCtrl(const QPoint &) override { return record("b1ClickCtrl"); }
    bool b1DblClick(const QPoint &) override { return record("b1DblClick"); }
    bool b2Up(const QPoint &) override { return record("b2Up"); }
    bool b2Down(const QPoint &) override { return record("b2Down"); }
    bool b2Click(const QPoint &) override { return record("b2Click"); }
    bool b2DblClick(const QPoint &) override { return record("b2DblClick"); }

protected:
    bool userEvent(IUserEvent &event) override;
    void beepBusy() override;

private:
    bool record(const char *gesture);

    QPlainTextEdit *m_client = nullptr;
};

/// A stand-in data map: not a KelWindow, but made by the same factory, on the desktop's list and
/// registered under the data map's kind.
class DemoDataMap : public IFrameWindow
{
    Q_OBJECT

public:
    explicit DemoDataMap(const StartWindowData &request);
    ~DemoDataMap() override;

    QList<DemoView::Received> received;

protected:
    bool userEvent(IUserEvent &event) override;

private:
    std::unique_ptr<RegisterInstance> m_registration;
    std::uint32_t m_puNumber = 0;
};

/// The stand-in factory: makes a DemoView (or a DemoDataMap for 'm') for every request and
/// keeps a record of the requests in the order they came.
class DemoFactory : public KelWindowStart
{
public:
    struct Made
    {
        char kind = 0;
        std::string puName;
        DbPu *pu = nullptr;
        DbToken *token = nullptr;
        QPointer<IFrameWindow> window;
    };

    void startWindow(StartWindowData *request) override;

    QList<Made> made;
    /// Requests of this kind throw an IException instead of making a window.
    char throwFor = 0;
    /// Whether the windows made are shown.
    bool showWindows = true;
};
