// hlpvu: the help viewer of the analysis views. Shows a help library (HTML pages under the
// installation's data directory) in a window of its own, so that a view's Help and Tutorial
// start it detached and go on.
//
//     hlpvu KELHELP.HLP                 the views' help, from its index
//     hlpvu --page desktop KELHELP.HLP  one page of it
//     hlpvu --print-page KELTUTE.HLP    print the page's file; exit 1 when it is missing
//     hlpvu --grab shot.png KELHELP.HLP save a picture of the window and exit

#include "XIHelpWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QTimer>

#include <cstdio>

namespace {

enum ExitStatus { success = 0, missingPage = 1, usageError = 64 };

QString pageFile(const QString &library, const QString &page)
{
    return QDir(XIHelpWindow::directory(library)).filePath(page + QStringLiteral(".html"));
}

/// The window's title follows the page's own title, so the task bar says what is shown.
void followPageTitles(XIHelpWindow *window)
{
    const auto update = [window] {
        const QString title = window->browser()->documentTitle();
        if (!title.isEmpty())
            window->setWindowTitle(title);
    };
    QObject::connect(window->browser(), &QTextBrowser::sourceChanged, window, update);
    update();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("hlpvu"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a help library of the analysis views. HELPFILE names it: "
                       "KELHELP.HLP is the help library \"kelhelp\" under the data directory's "
                       "help folder, KELTUTE.HLP the tutorial \"keltute\"."));
    parser.addHelpOption();
    const QCommandLineOption page(QStringLiteral("page"),
                                  QStringLiteral("The page to show (default: index)."),
                                  QStringLiteral("PAGE"),
                                  QStringLiteral("index"));
    const QCommandLineOption
        printPage(QStringLiteral("print-page"),
                  QStringLiteral("Print the page's file and exit: 0 when it exists, 1 when not."));
    const QCommandLineOption grab(QStringLiteral("grab"),
                                  QStringLiteral("Save a picture of the window to FILE and exit."),
                                  QStringLiteral("FILE"));
    parser.addOptions({page, printPage, grab});
    parser.addPositionalArgument(QStringLiteral("HELPFILE"),
                                 QStringLiteral("The help file, e.g. KELHELP.HLP."));
    parser.process(application);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr,
                     "hlpvu: expected one help file (e.g. KELHELP.HLP), found %lld "
                     "arguments; see hlpvu --help.\n",
                     static_cast<long long>(parser.positionalArguments().size()));
        return usageError;
    }

    const QString library = XIHelpWindow::libraryForHelpFile(parser.positionalArguments().first());
    const QString shown = parser.value(page);
    const QString file = pageFile(library, shown);
    const bool exists = QFileInfo(file).isFile();
    if (parser.isSet(printPage)) {
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(file)));
        return exists ? success : missingPage;
    }
    if (!exists)
        std::fprintf(stderr, "hlpvu: the help page %s does not exist.\n", qPrintable(file));

    XIHelpWindow *window = XIHelpWindow::showHelp(library, shown);
    followPageTitles(window);
    if (parser.isSet(grab)) {
        const QString shot = parser.value(grab);
        QTimer::singleShot(0, window, [window, shot] {
            const bool saved = window->grab().save(shot);
            if (!saved)
                std::fprintf(stderr, "hlpvu: cannot write the picture %s.\n", qPrintable(shot));
            QApplication::exit(saved ? success : usageError);
        });
    }
    return QApplication::exec();
}
