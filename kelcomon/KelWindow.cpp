// KelWindow: construction, the frame's actions, menus and tool bar, and the base operations.
// Command dispatch is in KelWindowCommands.cpp, the links to other views in KelWindowLinks.cpp.

#include "KelWindow.h"

#include "DbEu.h"
#include "DbPu.h"
#include "ExceptionLog.h"
#include "ICurrentApplication.h"
#include "IException.h"
#include "KelCloseGuard.h"
#include "KelDesktop.h"
#include "KelMouseClickHandler.h"
#include "KelTBMouseClickHandler.h"
#include "KelWindowActions.h"
#include "KelresrcResourceIds.h"
#include "RegisterInstance.h"
#include "XIHelpIndex.h"
#include "XIHoverHelpSelector.h"
#include "XIInfoArea.h"
#include "XIMenuDefinition.h"
#include "XIProductInformation.h"
#include "XIToolBar.h"
#include "XIUsingHelp.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <algorithm>

namespace {

/// The plain actions: menu headers without behaviour of their own.
constexpr unsigned long plainActionIds[] = {KelRes::fileMenu,
                                            KelRes::helpMenu,
                                            KelRes::viewMenu,
                                            KelRes::optionsMenu,
                                            KelRes::editMenu,
                                            KelRes::selectedMenu,
                                            KelRes::windowMenu,
                                            KelRes::scrollCouplingMenu,
                                            KelRes::toolBarMenu};

/// A pale background that sets the info area off from the client.
const QColor infoAreaColour(0xEE, 0xF1, 0xF5);

constexpr QSize typicalSize(760, 520);
constexpr int smallestHeight = 260;

} // namespace

QString KelWindow::basicCategory()
{
    return QStringLiteral("basic");
}

QString KelWindow::simpleCategory()
{
    return QStringLiteral("simple");
}

QString KelWindow::complexCategory()
{
    return QStringLiteral("complex");
}

QString KelWindow::foreverCategory()
{
    return QStringLiteral("forever");
}

QString KelWindow::exitCategory()
{
    return QStringLiteral("exit");
}

KelWindow::KelWindow(unsigned long windowId,
                     DbEu &eu,
                     DbPu &pu,
                     unsigned long viewKind,
                     DbToken *token,
                     const QString &extraText,
                     unsigned long extraValue)
    : IFrameWindow(windowId)
    , m_eu(&eu)
    , m_pu(&pu)
    , m_viewKind(viewKind)
    , m_token(token)
    , m_extraText(extraText)
    , m_extraValue(extraValue)
{
    construct();
}

KelWindow::KelWindow(
    unsigned long windowId, DbEu &eu, DbPu &pu, unsigned long viewKind, DbToken *token)
    : IFrameWindow(windowId)
    , m_eu(&eu)
    , m_pu(&pu)
    , m_viewKind(viewKind)
    , m_token(token)
{
    construct();
}

KelWindow::KelWindow(unsigned long windowId, DbEu &eu, DbPu *pu, unsigned long viewKind)
    : IFrameWindow(windowId)
    , m_eu(&eu)
    , m_pu(pu)
    , m_viewKind(viewKind)
{
    construct();
}

void KelWindow::construct()
{
    m_handle = handle();
    m_closeGuard = new KelCloseGuard(this);
    buildActions();
    if (KelDesktop *desktop = KelDesktop::current())
        desktop->addFrame(this);
    m_hoverHelp = XIHoverHelpSelector::hoverHelpSelector();
    m_puNumber = m_eu->puToNumber(m_pu);
    setFlyOverTexts();
    m_busy.leave();
    m_infoArea = new XIInfoArea(this);
    m_infoArea->setBackgroundColor(infoAreaColour);
    buildMenus();
    buildToolBar();
    m_mouseHandler = new KelMouseClickHandler(this);
    // At its smallest the frame still shows every menu and tool bar button.
    setMinimumSize(std::max(menuBar()->sizeHint().width(), m_toolBar->sizeHint().width()),
                   smallestHeight);
    resize(typicalSize);
}

KelWindow::~KelWindow()
{
    m_destroying = true;
    waitForCommand();
    if (KelDesktop *desktop = KelDesktop::current())
        desktop->removeFrame(this);
    // Deleting the registration removes the window from the registry and tells the other
    // windows, while this window (its handle) still exists.
    m_registration.reset();
    // The handlers call into this window: they go before the window's widgets do.
    delete m_mouseHandler;
    delete m_toolBarMouseHandler;
    delete m_closeGuard;
}

void KelWindow::buildActions()
{
    int plain = 0;
    for (const unsigned long id : plainActionIds) {
        auto *action = new XIAction(id, QString(), QString(), this);
        action->setText(ICurrentApplication::loadString(id));
        m_plainActions[plain++] = action;
    }
    m_helpIndex = new XIHelpIndex(windowId(), this, KelRes::helpWindowTitle, KelRes::helpIndexText);
    m_usingHelp = new XIUsingHelp(windowId(),
                                  this,
                                  KelRes::helpWindowTitle,
                                  KelRes::usingHelpText,
                                  KelRes::usingHelpPanel);
    m_help = new KelHelp(this);
    m_productInformation = new XIProductInformation(KelRes::productInformationTitle,
                                                    KelRes::productName,
                                                    KelRes::productDescription,
                                                    KelRes::productIcon,
                                                    this);
    m_control = new KelControl(this);
    m_symbolsUsed = new KelSymbolsU(this);
    m_relatedSource = new KelRelatedS(this);
    m_compiledSource = new KelCompiledS(this);
    m_requestScrollAction = new KelRequestScrl(this);
    m_scrollOnRequestAction = new KelScrollOnRequest(this);
    m_surfOnScrollAction = new KelSurfonScrl(this);
    m_saveWindow = new KelSaveWindow(this);
    m_pmWindow = new KelPMWindow(this);
    m_restoreWindow = new KelRestoreWindow(this);
    m_tutorial = new KelTutorial(this);
    m_logToggle = new KelLogToggle(this);
    m_exit = new KelWindowExit(this);
    const QList<KelWindowAction *> owned
        = findChildren<KelWindowAction *>(QString(), Qt::FindDirectChildrenOnly);
    for (KelWindowAction *action : owned) {
        action->setPointer(this);
        action->setText(ICurrentApplication::loadString(action->commandId()));
    }
}

void KelWindow::setFlyOverTexts()
{
    for (XIAction *action : m_plainActions)
        action->setFlyOverTextFromResource(KelRes::flyOverFor(action->commandId()));
    m_helpIndex->setFlyOverTextFromResource(KelRes::helpIndexFlyOver);
    m_usingHelp->setFlyOverTextFromResource(KelRes::usingHelpFlyOver);
    m_help->setFlyOverTextFromResource(KelRes::helpFlyOver);
    m_productInformation->setFlyOverTextFromResource(KelRes::productInformationFlyOver);
    m_tutorial->setFlyOverTextFromResource(KelRes::tutorialFlyOver);
    m_hoverHelp->setFlyOverTextFromResource(KelRes::hoverHelpFlyOver);
    for (XIAction *action : {static_cast<XIAction *>(m_control),
                             static_cast<XIAction *>(m_symbolsUsed),
                             static_cast<XIAction *>(m_relatedSource),
                             static_cast<XIAction *>(m_compiledSource),
                             static_cast<XIAction *>(m_saveWindow),
                             static_cast<XIAction *>(m_pmWindow),
                             static_cast<XIAction *>(m_restoreWindow),
                             static_cast<XIAction *>(m_logToggle),
                             static_cast<XIAction *>(m_exit)})
        action->setFlyOverTextFromResource(KelRes::flyOverFor(action->commandId()));
    m_requestScrollAction->setFlyOverTextFromResource(KelRes::requestScrollOff);
    m_scrollOnRequestAction->setFlyOverTextFromResource(KelRes::scrollOnRequestOff);
    m_surfOnScrollAction->setFlyOverTextFromResource(KelRes::surfOnScrollOff);
}

void KelWindow::buildMenus()
{
    auto *menus = new XIMenuDefinition(this);
    menus->addSubmenu(action(KelRes::fileMenu)).addItem(m_exit);
    menus->addSubmenu(action(KelRes::editMenu));
    menus->addSubmenu(action(KelRes::viewMenu))
        .addItem(m_control)
        .addItem(m_compiledSource)
        .addItem(m_symbolsUsed)
        .addItem(m_relatedSource);
    menus->addSubmenu(action(KelRes::selectedMenu));
    XIMenuDefinition &options = menus->addSubmenu(action(KelRes::optionsMenu));
    options.addSubmenu(action(KelRes::scrollCouplingMenu))
        .addItem(m_requestScrollAction)
        .addItem(m_scrollOnRequestAction)
        .addItem(m_surfOnScrollAction);
    options.addSubmenu(action(KelRes::toolBarMenu)).addItem(m_hoverHelp);
    options.addSeparator().addItem(m_logToggle);
    menus->addSubmenu(action(KelRes::windowMenu))
        .addItem(m_saveWindow)
        .addItem(m_restoreWindow)
        .addItem(m_pmWindow);
    menus->addSubmenu(action(KelRes::helpMenu))
        .addItem(m_help)
        .addItem(m_helpIndex)
        .addItem(m_tutorial)
        .addItem(m_usingHelp)
        .addSeparator()
        .addItem(m_productInformation);
    menus->populate(menuBar());
}

void KelWindow::buildToolBar()
{
    m_toolBar = new XIToolBar(this, windowId());
    m_toolBar->addItem(m_control)
        .addItem(m_compiledSource)
        .addItem(m_symbolsUsed)
        .addItem(m_relatedSource)
        .addSeparatorItem()
        .addItem(m_requestScrollAction)
        .addItem(m_scrollOnRequestAction)
        .addItem(m_surfOnScrollAction)
        .addSeparatorItem()
        .addItem(m_saveWindow)
        .addSeparatorItem()
        .addItem(m_help)
        .addItem(m_hoverHelp);
    m_toolBarMouseHandler = new KelTBMouseClickHandler(this);
    // Button 2 does nothing on the tool bar: not even the frame's menu of tool bars.
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
}

void KelWindow::showEvent(QShowEvent *event)
{
    IFrameWindow::showEvent(event);
    // A menu that no item has been put into (Edit and Selected until a view fills them) would
    // open on nothing.
    const QList<QMenu *> menus = menuBar()->findChildren<QMenu *>(QString(),
                                                                  Qt::FindDirectChildrenOnly);
    for (QMenu *menu : menus)
        menu->menuAction()->setVisible(!menu->actions().isEmpty());
    // Tool bar buttons get their clicks themselves: each is handled, also those a view added.
    m_toolBarMouseHandler->handleEventsFor(m_toolBar);
    const QList<QToolButton *> buttons = m_toolBar->findChildren<QToolButton *>();
    for (QToolButton *button : buttons)
        m_toolBarMouseHandler->handleEventsFor(button);
}

void KelWindow::setClient(QWidget *client)
{
    setCentralWidget(client);
    if (client)
        m_mouseHandler->handleEventsFor(client);
}

QMenu *KelWindow::menu(unsigned long menuId) const
{
    return menuBar()->findChild<QMenu *>(QStringLiteral("menu-0x%1").arg(menuId, 0, 16));
}

XIAction *KelWindow::action(unsigned long commandId) const
{
    return XIAction::find(commandId, QString(), this);
}

void KelWindow::setStatusText(const QString &text)
{
    m_statusText = text;
    m_infoArea->setInactiveText(text);
}

bool KelWindow::isExceptionLogOn() const
{
    return m_logToggle->state() != 0;
}

void KelWindow::beepBusy()
{
    QApplication::beep();
}

void KelWindow::KelCatch(const IException &exception)
{
    ExceptionLog::append(exception);
}

void KelWindow::preferencesChanged() {}

void KelWindow::coloursChanged() {}

int KelWindow::log(int)
{
    return 0;
}

bool KelWindow::myMousePointer(IMousePointerEvent &)
{
    return false;
}

// The gesture operations: a view overrides those it answers.
bool KelWindow::b1Up(const QPoint &)
{
    return false;
}
bool KelWindow::b1DownAlt(const QPoint &)
{
    return false;
}
bool KelWindow::b1DownShift(const QPoint &)
{
    return false;
}
bool KelWindow::b1DownCtrl(const QPoint &)
{
    return false;
}
bool KelWindow::b1DownCtrlAlt(const QPoint &)
{
    return false;
}
bool KelWindow::b1DownCtrlShift(const QPoint &)
{
    return false;
}
bool KelWindow::b1Down(const QPoint &)
{
    return false;
}
bool KelWindow::b1Click(const QPoint &)
{
    return false;
}
bool KelWindow::b1ClickCtrl(const QPoint &)
{
    return false;
}
bool KelWindow::b1DblClick(const QPoint &)
{
    return false;
}
bool KelWindow::b2Up(const QPoint &)
{
    return false;
}
bool KelWindow::b2Down(const QPoint &)
{
    return false;
}
bool KelWindow::b2Click(const QPoint &)
{
    return false;
}
bool KelWindow::b2DblClick(const QPoint &)
{
    return false;
}
bool KelWindow::b12Click(const QPoint &)
{
    return false;
}

bool KelWindow::dispatchGesture(MouseGestureTable::Gesture gesture, const QPoint &position)
{
    using Gesture = MouseGestureTable::Gesture;
    switch (gesture) {
    case Gesture::none:
        return false;
    case Gesture::b1Up:
        return b1Up(position);
    case Gesture::b1DownAlt:
        return b1DownAlt(position);
    case Gesture::b1DownShift:
        return b1DownShift(position);
    case Gesture::b1DownCtrl:
        return b1DownCtrl(position);
    case Gesture::b1DownCtrlAlt:
        return b1DownCtrlAlt(position);
    case Gesture::b1DownCtrlShift:
        return b1DownCtrlShift(position);
    case Gesture::b1Down:
        return b1Down(position);
    case Gesture::b1Click:
        return b1Click(position);
    case Gesture::b1ClickCtrl:
        return b1ClickCtrl(position);
    case Gesture::b1DblClick:
        return b1DblClick(position);
    case Gesture::b2Up:
        return b2Up(position);
    case Gesture::b2Down:
        return b2Down(position);
    case Gesture::b2Click:
        return b2Click(position);
    case Gesture::b2DblClick:
        return b2DblClick(position);
    }
    return false;
}
