#include "DemoViews.h"

#include "DbEu.h"
#include "DbPu.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IException.h"
#include "IUserEvent.h"
#include "KelDesktop.h"
#include "KelMouseClickHandler.h"
#include "KelWindowActions.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

namespace {

QString unitTitle(unsigned long viewKind, const StartWindowData &request)
{
    QString title = ICurrentApplication::loadString(viewKind);
    if (!request.puName.empty() && request.pu)
        title += QStringLiteral(" - ") + QString::fromStdString(request.pu->puName());
    else if (DbEu *eu = StartWindowData::eu())
        title += QStringLiteral(" - ") + QString::fromStdString(eu->euName());
    return title;
}

QString sourceText(const DbPu *pu)
{
    if (!pu || !pu->isLoaded())
        return {};
    QString text;
    for (std::uint32_t line = 1; line <= pu->numberOfExpandedLines(); ++line)
        text += QString::fromStdString(pu->expandedLine(line)->text) + u'\n';
    return text;
}

} // namespace

DemoView::DemoView(const StartWindowData &request, unsigned long viewKind)
    : KelWindow(viewKind, *StartWindowData::eu(), request.pu, viewKind)
    , wholeUnit(request.puName.empty())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(unitTitle(viewKind, request));
    m_client = new QPlainTextEdit(this);
    m_client->setReadOnly(true);
    m_client->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_client->setPlainText(sourceText(request.pu));
    setClient(m_client);
    // The text's clicks arrive on its viewport.
    mouseClickHandler()->handleEventsFor(m_client->viewport());
    setStatusText(QString::fromStdString(eu()->euName()));
    // A view may own the related-programs action, which the base does not.
    (new KelRelatedP(this))->setPointer(this);
    registerWindow();
}

DemoView::~DemoView()
{
    // Its command may use the recorded lists: let it finish while they exist.
    waitForCommand();
}

bool DemoView::userEvent(IUserEvent &event)
{
    if (event.eventId() == IEventTypes::canShowQuery) {
        queries.append({event.eventId(), event.parameter1(), event.parameter2()});
        const bool mine = pu() && event.parameter2() == puNumber()
                          && event.parameter1() <= pu()->numberOfTokens();
        event.setResult(answersQueries && mine ? 1 : 0);
        return true;
    }
    received.append({event.eventId(), event.parameter1(), event.parameter2()});
    return false;
}

void DemoView::beepBusy()
{
    ++beeps;
}

void DemoView::preferencesChanged()
{
    ++preferencesCalls;
}

void DemoView::coloursChanged()
{
    ++coloursCalls;
}

bool DemoView::openObjRelatedPrograms()
{
    if (relatedProgramsWork)
        relatedProgramsWork();
    return true;
}

bool DemoView::record(const char *gesture)
{
    gestures.append(QString::fromLatin1(gesture));
    return true;
}

DemoDataMap::DemoDataMap(const StartWindowData &request)
    : IFrameWindow(KelRes::dataMapViewName)
{
    setAttribute(Qt::WA_DeleteOnClose);
    DbEu *eu = StartWindowData::eu();
    m_puNumber = eu->puToNumber(request.pu);
    if (KelDesktop *desktop = KelDesktop::current())
        desktop->addFrame(this);
    m_registration = std::make_unique<RegisterInstance>(handle(),
                                                        ICurrentApplication::loadString(
                                                            KelRes::dataMapViewName),
                                                        KelRes::dataMapView,
                                                        eu,
                                                        request.pu,
                                                        this);
    resize(420, 300);
}

DemoDataMap::~DemoDataMap()
{
    if (KelDesktop *desktop = KelDesktop::current())
        desktop->removeFrame(this);
}

bool DemoDataMap::userEvent(IUserEvent &event)
{
    if (event.eventId() == IEventTypes::canShowQuery) {
        event.setResult(event.parameter2() == m_puNumber ? 1 : 0);
        return true;
    }
    received.append({event.eventId(), event.parameter1(), event.parameter2()});
    return false;
}

void DemoFactory::startWindow(StartWindowData *request)
{
    if (request->kind == throwFor)
        ITHROW(IAccessError("The stand-in factory refuses '" + std::string(1, request->kind)
                            + "' windows."));
    Made record{request->kind, request->puName, request->pu, request->token, nullptr};
    switch (request->kind) {
    case StartWindowData::browser:
        record.window = new DemoView(*request, KelRes::browserView);
        break;
    case StartWindowData::grapher:
        record.window = new DemoView(*request, KelRes::grapherView);
        break;
    case StartWindowData::listViews:
        record.window = new DemoView(*request, KelRes::symbolsView);
        break;
    case StartWindowData::dataMap:
        record.window = new DemoDataMap(*request);
        break;
    default:
        break;
    }
    if (record.window && showWindows)
        record.window->show();
    made.append(record);
}
