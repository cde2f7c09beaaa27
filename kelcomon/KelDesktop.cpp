#include "KelDesktop.h"

#include "DbEu.h"
#include "DbPu.h"
#include "ExceptionLog.h"
#include "FindLikeObject.h"
#include "ICommandEvent.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IException.h"
#include "IProfile.h"
#include "ISystemCommandEvent.h"
#include "KelDesktopCommandHandler.h"
#include "KelDesktopNewWindowHandler.h"
#include "KelDesktopSelectHandler.h"
#include "KelMsg.h"
#include "KelMsgException.h"
#include "KelViewLink.h"
#include "KelWindow.h"
#include "KelWindowStart.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"
#include "StartRequestResolver.h"
#include "StartWindowData.h"
#include "WindowRequestPipeline.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iostream>

namespace {

constexpr QSize typicalSize(460, 420);
constexpr QSize smallestSize(340, 260);

const std::string newWindowHeading = "Just put the new window on the list";

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

IProfile placementProfile()
{
    return IProfile(text(KelRes::placementProfileFile));
}

} // namespace

std::atomic<KelDesktop *> KelDesktop::s_current{nullptr};

KelDesktop::KelDesktop()
    : IFrameWindow(KelRes::desktopFrame)
    , m_handle(handle())
    , m_endApplication([] { QCoreApplication::quit(); })
{
    s_current = this;
    const IWindowHandle desktop = m_handle;
    WindowRequestPipeline::Hooks hooks;
    hooks.announce = [this](const StartWindowData &) {
        m_frames.write(std::cout, newWindowHeading);
    };
    hooks.resolve = [](StartWindowData &request) {
        StartRequestResolver::resolve(request, StartWindowData::eu(), moduleTag);
    };
    hooks.requestReady = [desktop] {
        try {
            desktop.postEvent(IEventTypes::createWindow, 0, 0);
        } catch (const IException &) {
            // The desktop has gone: nobody is left to make the window.
        }
    };
    m_pipeline = std::make_unique<WindowRequestPipeline>(std::move(hooks));

    buildClient();
    m_commandHandler = new KelDesktopCommandHandler(this);
    m_commandHandler->setPointer(this);
    m_commandHandler->handleEventsFor(this);
    m_newWindowHandler = new KelDesktopNewWindowHandler(this);
    m_newWindowHandler->handleEventsFor(this);
    m_selectHandler = new KelDesktopSelectHandler(m_list, this);
    // At its smallest the desktop still shows every button whole.
    setMinimumSize(std::max(smallestSize.width(), centralWidget()->sizeHint().width()),
                   smallestSize.height());
    resize(typicalSize);
    registerDesktop();
}

KelDesktop::~KelDesktop()
{
    // The request threads only post to the desktop, so waiting for them cannot deadlock.
    m_pipeline->shutDown();
    m_registration.reset();
    delete m_commandHandler;
    delete m_newWindowHandler;
    if (m_eu && StartWindowData::eu() == m_eu)
        StartWindowData::clearEu();
    KelDesktop *self = this;
    s_current.compare_exchange_strong(self, nullptr);
}

KelDesktop *KelDesktop::current()
{
    return s_current.load();
}

void KelDesktop::buildClient()
{
    auto *canvas = new QWidget(this);
    canvas->setObjectName(QStringLiteral("desktopCanvas"));
    m_heading = new QLabel(text(KelRes::desktopListHeading), canvas);
    m_list = new QListWidget(canvas);
    m_list->setObjectName(QStringLiteral("unitList"));
    m_list->setAccessibleName(text(KelRes::desktopUnitList));
    m_heading->setBuddy(m_list);
    m_hint = new QLabel(text(KelRes::desktopHint), canvas);
    m_hint->setWordWrap(true);
    m_hint->setEnabled(false);

    const auto button = [&](unsigned long id) {
        auto *pushButton = new QPushButton(text(id), canvas);
        pushButton->setObjectName(QStringLiteral("button-0x%1").arg(id, 0, 16));
        connect(pushButton, &QPushButton::clicked, this, [this, id] {
            ICommandEvent::send(this, id, ICommandEvent::Source::PushButton);
        });
        return pushButton;
    };
    m_open = button(KelRes::desktopOpenButton);
    m_open->setDefault(true);
    m_hide = button(KelRes::desktopHideButton);
    m_restore = button(KelRes::desktopRestoreButton);
    m_exit = button(KelRes::desktopExitButton);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_open);
    buttons->addWidget(m_hide);
    buttons->addWidget(m_restore);
    buttons->addStretch(1);
    buttons->addWidget(m_exit);
    auto *layout = new QVBoxLayout(canvas);
    layout->addWidget(m_heading);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_hint);
    layout->addLayout(buttons);
    setCentralWidget(canvas);
}

void KelDesktop::registerDesktop()
{
    try {
        m_registration = std::make_unique<RegisterInstance>(m_handle,
                                                            text(KelRes::desktopViewName),
                                                            KelRes::desktopViewName,
                                                            nullptr,
                                                            nullptr,
                                                            this);
        const IProfile profile = placementProfile();
        m_registration->savePMPosition(profile);
        m_registration->restorePosition(profile);
    } catch (const IException &exception) {
        // A full registry or a damaged placement profile: the desktop works on without.
        qWarning("%s", exception.text().c_str());
    }
}

void KelDesktop::setKelWindowStart(KelWindowStart *windowStart)
{
    m_windowStart = windowStart;
}

void KelDesktop::setApplicationEnd(std::function<void()> end)
{
    m_endApplication = std::move(end);
}

void KelDesktop::endApplication()
{
    if (m_endApplication)
        m_endApplication();
}

bool KelDesktop::newWindow(StartWindowData *data)
{
    return m_pipeline->submit(std::unique_ptr<StartWindowData>(data));
}

bool KelDesktop::createWindow()
{
    refreshDescriptions();
    outputWindowList(std::cout);
    bool taken = false;
    while (std::unique_ptr<StartWindowData> request = m_pipeline->takeReady()) {
        taken = true;
        startWindow(*request);
        request.reset();
        refreshDescriptions();
        outputWindowList(std::cout);
    }
    return taken;
}

void KelDesktop::startWindow(StartWindowData &request)
{
    if (!m_windowStart) {
        qWarning("No window factory is registered: the request for a '%c' window is dropped.",
                 request.kind);
        return;
    }
    try {
        m_windowStart->startWindow(&request);
    } catch (const KelMsgException &exception) {
        ExceptionLog::append(exception);
        if (exception.winMsgSet())
            KelMsg::winMsgShow1(moduleTag, __LINE__);
    } catch (const IException &exception) {
        ExceptionLog::append(exception);
        KelMsg::winIExcnSet1(moduleTag, __LINE__, exception);
        KelMsg::winMsgShow1(moduleTag, __LINE__);
    } catch (...) {
        KelMsg::winUnknownExcnSet1(moduleTag, __LINE__);
        KelMsg::winMsgShow1(moduleTag, __LINE__);
    }
}

bool KelDesktop::addFrame(IFrameWindow *frame)
{
    if (!frame || !m_frames.add(frame, frame->handle().asUnsigned(), describe(frame)))
        return false;
    // A frame that goes without saying so (not every view is a KelWindow) leaves the list.
    connect(frame, &QObject::destroyed, this, [this, key = static_cast<const void *>(frame)] {
        m_frames.remove(key);
    });
    return true;
}

bool KelDesktop::removeFrame(IFrameWindow *frame)
{
    return m_frames.remove(frame);
}

QList<IFrameWindow *> KelDesktop::frames() const
{
    QList<IFrameWindow *> list;
    for (const FrameList::Frame &frame : m_frames.frames())
        list.append(static_cast<IFrameWindow *>(const_cast<void *>(frame.frame)));
    return list;
}

std::string KelDesktop::describe(IFrameWindow *frame) const
{
    QString description = frame->windowTitle();
    if (description.isEmpty())
        description = frame->objectName();
    if (frame->isMinimized())
        description += QStringLiteral(" (minimized)");
    else if (frame->isMaximized())
        description += QStringLiteral(" (maximized)");
    else if (!frame->isVisible())
        description += QStringLiteral(" (hidden)");
    return description.toStdString();
}

void KelDesktop::refreshDescriptions()
{
    for (IFrameWindow *frame : frames())
        m_frames.describe(frame, describe(frame));
}

void KelDesktop::outputWindowList(std::ostream &out) const
{
    m_frames.write(out);
}

int KelDesktop::loadEuData(DbEu *eu)
{
    if (!eu)
        return 0;
    m_eu = eu;
    StartWindowData::eu(*eu);
    m_list->clear();
    m_list->addItem(text(KelRes::desktopWholeUnitLine));
    const QString prefix = text(KelRes::desktopUnitLinePrefix);
    for (DbPuEntryTable::Cursor cursor(eu->puEntryTable()); cursor.isValid(); cursor.setToNext()) {
        const DbPuEntry &entry = cursor.element();
        auto *item = new QListWidgetItem(prefix + QString::fromStdString(entry.puName()), m_list);
        item->setToolTip(QString::fromStdString(entry.pu()->sourceFileName()));
    }
    m_list->setCurrentRow(0);
    setWindowTitle(text(KelRes::desktopFrame) + QStringLiteral(" - ")
                   + QString::fromStdString(eu->euName()));
    return 0;
}

void KelDesktop::maximizeOnlyDesktopWith(IFrameWindow *frame)
{
    m_maximizeWith.append(frame);
}

void KelDesktop::restoreOnlyDesktopWith(IFrameWindow *frame)
{
    m_restoreWith.append(frame);
    ISystemCommandEvent::performDefault(this, ISystemCommand::Restore);
}

IFrameWindow *KelDesktop::takeRestoreWith()
{
    while (!m_restoreWith.isEmpty()) {
        if (IFrameWindow *frame = m_restoreWith.takeFirst())
            return frame;
    }
    return nullptr;
}

IFrameWindow *KelDesktop::takeMaximizeWith()
{
    while (!m_maximizeWith.isEmpty()) {
        if (IFrameWindow *frame = m_maximizeWith.takeFirst())
            return frame;
    }
    return nullptr;
}

bool KelDesktop::findInSource(DbPu *pu, DbToken *token)
{
    if (!KelViewLink::showInOpenWindow(
            m_handle, m_eu, pu, token, KelViewLink::source, KelViewLink::Positioning::showOnly, 1))
        KelViewLink::requestWindow(KelViewLink::source, pu, token);
    return true;
}

bool KelDesktop::findInGraph(DbPu *pu, DbToken *token)
{
    if (!KelViewLink::showInOpenWindow(
            m_handle, m_eu, pu, token, KelViewLink::graph, KelViewLink::Positioning::showOnly, 1))
        KelViewLink::requestWindow(KelViewLink::graph, pu, token);
    return true;
}
