#include "ProjectWindow.h"

#include <QApplication>
#include <QMessageBox>

// ruxwwkf1 "<project.iwp>": shows a project's directories and the files that match its filter.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("ruxwwkf1");

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2 || ProjectWindow::unquoted(arguments.at(1)).isEmpty()) {
        QMessageBox::critical(nullptr,
                              QObject::tr("Project tool"),
                              QObject::tr("No project file was given.\n\n"
                                          "Start the project tool as: ruxwwkf1 <project.iwp>"));
        return 1;
    }
    std::unique_ptr<ProjectWindow> window = ProjectWindow::open(
        ProjectWindow::unquoted(arguments.at(1)));
    if (!window)
        return 1;
    window->show();
    return QApplication::exec();
}
