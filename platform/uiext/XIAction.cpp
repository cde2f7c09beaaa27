#include "XIAction.h"

#include "ICommandEvent.h"
#include "ICurrentApplication.h"
#include "IEventBoundary.h"
#include "XIActionRegistry.h"

#include <QSignalBlocker>
#include <QWidget>

XIAction::XIAction(unsigned long commandId,
                   const QString &text,
                   const QString &flyOverText,
                   QObject *parent)
    : QAction(text, parent)
    , m_commandId(commandId)
    , m_owner(parent)
{
    setObjectName(QStringLiteral("action-0x%1").arg(commandId, 0, 16));
    setFlyOverText(flyOverText);
    XIActionRegistry::instance().add(this, commandId, parent);
    connect(this, &QAction::triggered, this, &XIAction::dispatch);
}

XIAction::~XIAction()
{
    XIActionRegistry::instance().remove(this);
}

QString XIAction::category() const
{
    return XIActionRegistry::instance().category(this);
}

void XIAction::setCategory(const QString &category)
{
    XIActionRegistry::instance().setCategory(this, category);
}

void XIAction::setFlyOverText(const QString &text)
{
    m_flyOverText = text;
    setToolTip(text.isEmpty() ? QString() : text);
    setStatusTip(text);
}

void XIAction::setTextsFromResources(unsigned long textId, unsigned long flyOverId)
{
    setText(ICurrentApplication::loadString(textId));
    setFlyOverTextFromResource(flyOverId);
}

void XIAction::setFlyOverTextFromResource(unsigned long flyOverId)
{
    setFlyOverText(ICurrentApplication::loadString(flyOverId));
}

void XIAction::enableLatching(bool latching)
{
    setCheckable(latching);
    setChecked(false);
}

void XIAction::setLatched(bool latched)
{
    setChecked(latched);
}

bool XIAction::performAction()
{
    emit performed();
    return true;
}

QWidget *XIAction::commandTarget() const
{
    if (m_commandTarget)
        return m_commandTarget;
    for (QObject *object = parent(); object; object = object->parent()) {
        if (object->isWidgetType())
            return static_cast<QWidget *>(object);
    }
    return nullptr;
}

void XIAction::setCommandTarget(QWidget *target)
{
    m_commandTarget = target;
}

void XIAction::dispatch(bool checkedByClick)
{
    // Qt has already flipped a checkable action; put it back, whoever performs the action sets
    // the state it really gets.
    if (isCheckable()) {
        const QSignalBlocker blocker(this);
        setChecked(!checkedByClick);
    }
    IEventBoundary::call("The action " + objectName().toStdString(), [this] {
        if (ICommandEvent::send(commandTarget(), m_commandId))
            return true;
        return performAction();
    });
}

XIAction *XIAction::find(unsigned long commandId, const QString &category, const QObject *owner)
{
    return XIActionRegistry::instance().find(commandId, category, owner);
}

QList<XIAction *> XIAction::allActions(const QString &category)
{
    return XIActionRegistry::instance().all(category);
}
