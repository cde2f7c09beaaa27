#include "ProgramStrings.h"
#include "TerminationCleanup.h"
#include "WizardProgram.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
    // A full disk or file-size limit makes a write of the run fail (reported, the file's state
    // says so) instead of ending the wizard; so does a reader of the console that has gone away.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    // SIGINT, SIGTERM and SIGHUP end the wizard as before, but take the running tool with it.
    TerminationCleanup::install();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelwiz"));
    QApplication::setApplicationDisplayName(
        ProgramStrings::text(ProgramStrings::programName).trimmed());
    return WizardProgram(QApplication::arguments()).run();
}
