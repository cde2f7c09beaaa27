#include "XIHoverHelpSelector.h"

#include "Kelae20wResourceIds.h"
#include "UiextTexts.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

QPointer<XIHoverHelpSelector> selector;

} // namespace

XIHoverHelpSelector::XIHoverHelpSelector(QObject *parent)
    : XIAction(UiextRes::hoverHelpCommand,
               UiextTexts::text(UiextRes::hoverHelpCommand),
               UiextTexts::text(UiextRes::hoverHelpFlyOver),
               parent)
{
    enableLatching();
    setLatched(true);
}

XIHoverHelpSelector *XIHoverHelpSelector::hoverHelpSelector()
{
    if (!selector)
        selector = new XIHoverHelpSelector(QCoreApplication::instance());
    return selector;
}

bool XIHoverHelpSelector::isHoverHelpOn()
{
    return !selector || selector->isLatched();
}

bool XIHoverHelpSelector::performAction()
{
    setLatched(!isLatched());
    emit hoverHelpChanged(isLatched());
    emit performed();
    return true;
}
