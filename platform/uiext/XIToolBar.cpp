#include "XIToolBar.h"

#include "ICurrentApplication.h"
#include "ResourceLibrary.h"
#include "XIAction.h"
#include "XIHoverHelpSelector.h"

#include <QEvent>
#include <QMainWindow>

XIToolBar::XIToolBar(QMainWindow *frame, unsigned long id)
    : QToolBar(frame)
{
    setObjectName(QStringLiteral("toolbar-%1").arg(id));
    setMovable(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(24, 24));
    frame->addToolBar(Qt::TopToolBarArea, this);
}

XIToolBar::~XIToolBar() = default;

XIToolBar &XIToolBar::addItem(XIAction *action)
{
    if (action->icon().isNull()) {
        if (const ResourceLibrary *library = ICurrentApplication::userResourceLibraryIfLoaded();
            library && library->hasImage(action->commandId()))
            action->setIcon(library->loadIcon(action->commandId()));
    }
    addAction(action);
    if (QWidget *button = widgetForAction(action)) {
        button->installEventFilter(this);
        button->setObjectName(QStringLiteral("button-0x%1").arg(action->commandId(), 0, 16));
    }
    return *this;
}

XIToolBar &XIToolBar::addSeparatorItem()
{
    addSeparator();
    return *this;
}

bool XIToolBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !XIHoverHelpSelector::isHoverHelpOn())
        return true;
    return QToolBar::eventFilter(watched, event);
}
