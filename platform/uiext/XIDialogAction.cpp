#include "XIDialogAction.h"

#include <mutex>

namespace {

std::mutex objectTextMutex; // guards objectText
QString objectText;

} // namespace

void XIDialogAction::setDialogObjectText(const QString &text)
{
    std::lock_guard lock(objectTextMutex);
    objectText = text;
}

QString XIDialogAction::dialogObjectText()
{
    std::lock_guard lock(objectTextMutex);
    return objectText;
}

QString XIDialogAction::dialogTitle(const QString &title)
{
    const QString object = dialogObjectText();
    return object.isEmpty() ? title : title + QStringLiteral(" - ") + object;
}
