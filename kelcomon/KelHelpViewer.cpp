#include "KelHelpViewer.h"

#include "InstallPaths.h"
#include "XIHelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

QString KelHelpViewer::program()
{
    const QString chosen = qEnvironmentVariable("CHRONEX_HELP_VIEWER");
    if (!chosen.isEmpty())
        return chosen;
    const QString sibling = QDir(QString::fromStdString(InstallPaths::binDirectory()))
                                .filePath(QStringLiteral("hlpvu"));
    const QFileInfo file(sibling);
    if (file.isFile() && file.isExecutable())
        return sibling;
    return QStringLiteral("hlpvu");
}

QStringList KelHelpViewer::command(const QString &helpFile)
{
    return {program(), helpFile};
}

bool KelHelpViewer::start(const QStringList &command)
{
    if (command.isEmpty())
        return false;
    return QProcess::startDetached(command.first(), command.mid(1));
}

void KelHelpViewer::showInProcess(const QString &helpFile)
{
    XIHelpWindow::showHelp(XIHelpWindow::libraryForHelpFile(helpFile), QStringLiteral("index"));
}
