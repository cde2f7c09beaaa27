#include "ProgramStrings.h"
#include "WizardProgram.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelwiz"));
    QApplication::setApplicationDisplayName(
        ProgramStrings::text(ProgramStrings::programName).trimmed());
    return WizardProgram(QApplication::arguments()).run();
}
