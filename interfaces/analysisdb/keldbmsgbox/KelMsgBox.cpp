#include "KelMsgBox.h"

#include "KelMsg.h"
#include "KelMsgIds.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <cstdio>

namespace {

void showOnGuiThread(const KelMessage &message)
{
    std::unique_ptr<QMessageBox> box = KelMsgBox::makeBox(message, QApplication::activeWindow());
    box->exec();
}

void display(const KelMessage &message)
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app) {
        const std::string line = KelMsg::format(message) + "\n";
        std::fputs(line.c_str(), stderr);
        return;
    }
    if (QThread::currentThread() == app->thread()) {
        showOnGuiThread(message);
        return;
    }
    QMetaObject::invokeMethod(
        app, [message] { showOnGuiThread(message); }, Qt::QueuedConnection);
}

} // namespace

void KelMsgBox::install()
{
    KelMsg::setDisplay(&display);
}

void KelMsgBox::uninstall()
{
    KelMsg::setDisplay({});
}

std::unique_ptr<QMessageBox> KelMsgBox::makeBox(const KelMessage &message, QWidget *parent)
{
    const QMessageBox::Icon icon = message.severity == KelMessage::Severity::error
                                       ? QMessageBox::Critical
                                   : message.severity == KelMessage::Severity::warning
                                       ? QMessageBox::Warning
                                       : QMessageBox::Information;
    auto box = std::make_unique<QMessageBox>(icon,
                                             QString::fromStdString(
                                                 KelMsg::catalogueText(KelMsgId::messageTitle)),
                                             QString::fromStdString(message.text),
                                             QMessageBox::Ok,
                                             parent);
    // The number and the place that showed it go below the text: what a maintainer quotes.
    KelMessage bare = message;
    bare.text.clear();
    box->setInformativeText(QString::fromStdString(KelMsg::format(bare)).simplified());
    box->setTextFormat(Qt::PlainText);
    return box;
}
