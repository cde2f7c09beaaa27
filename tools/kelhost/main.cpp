// kelhost: the analysis host program. Opens the desktop of an execution unit (an analysis
// database, or the output directory of a conversion that holds one) and from it every view:
//
//     kelhost build/dev/demo/out                          the desktop of the demo's database
//     kelhost --open browser:PAYRUN:120 --open datamap:PAYRUN out/chxanalysis.db
//     kelhost --open tree:* --grab /tmp/shots out        pictures of the views, then exit
//     kelhost --analyze -I copybooks src/*.cbl            analyse sources first, then open them
//
// kelhost --help describes the options and the exit statuses.

#include "AnalysisRunner.h"
#include "DatabaseLocation.h"
#include "DbEu.h"
#include "HostOptions.h"
#include "HostSession.h"
#include "HostWindows.h"
#include "ICurrentApplication.h"
#include "KelCopybookMap.h"
#include "KelDataMapWindow.h"
#include "KelDesktop.h"
#include "KelMsg.h"
#include "KelMsgBox.h"
#include "KelMsgException.h"

#include <QApplication>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

/// How long kelhost waits for a database that a running conversion is creating.
constexpr auto setUpWait = std::chrono::seconds(10);

/// Opens the database; a clear message on standard error and null when it cannot be opened.
std::unique_ptr<DbEu> openDatabase(const std::string &file)
{
    const auto deadline = std::chrono::steady_clock::now() + setUpWait;
    bool told = false;
    for (;;) {
        try {
            return DbEu::open(file);
        } catch (const KelMsgException &exception) {
            if (DatabaseLocation::isBeingSetUp(file)
                && std::chrono::steady_clock::now() < deadline) {
                if (!told)
                    std::fprintf(stderr,
                                 "kelhost: the analysis database %s is being written by a "
                                 "conversion; waiting for it...\n",
                                 file.c_str());
                told = true;
                QThread::msleep(250);
                continue;
            }
            std::fprintf(stderr, "kelhost: %s\n", KelMsg::format(exception.message()).c_str());
            return nullptr;
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelhost"));

    HostOptions options;
    std::string error;
    if (!options.parse(std::vector<std::string>(argv + 1, argv + argc), error)) {
        std::fprintf(stderr, "kelhost: %s\nSee kelhost --help.\n", error.c_str());
        return HostOptions::usageError;
    }
    if (options.help) {
        std::fputs(HostOptions::usage().c_str(), stdout);
        return HostOptions::success;
    }
    ICurrentApplication::setUserResourceLibrary(QStringLiteral("KELRESRC"));
    // Pictures for scripts must never wait on a message box: their messages go to standard error.
    if (options.grabDirectory.empty())
        KelMsgBox::install();

    std::string file;
    if (options.analyze) {
        AnalysisRunner runner(options);
        if (!runner.run(error)) {
            std::fprintf(stderr, "kelhost: %s\n", error.c_str());
            return HostOptions::cannotOpen;
        }
        file = runner.databaseFile();
    } else {
        const DatabaseLocation location = DatabaseLocation::resolve(options.database);
        if (location.file.empty()) {
            std::fprintf(stderr, "kelhost: %s\n", location.error.c_str());
            return HostOptions::cannotOpen;
        }
        file = location.file;
    }
    std::unique_ptr<DbEu> eu = openDatabase(file);
    if (!eu)
        return HostOptions::cannotOpen;

    HostSession session(std::move(eu));
    session.start(options.opens);
    for (const std::string &copybook : options.copybooks) {
        QString problem;
        if (QWidget *map = openCopybookMap(KelDesktop::current(), file, copybook, problem))
            session.windows().adopt(map,
                                    QStringLiteral("copybook-") + QString::fromStdString(copybook));
        else
            std::fprintf(stderr, "kelhost: %s\n", qPrintable(problem));
    }
    if (!options.grabDirectory.empty())
        session.grabWhenReady(QString::fromStdString(options.grabDirectory));
    const int status = QApplication::exec();
    return status != 0 ? status : session.exitStatus();
}
