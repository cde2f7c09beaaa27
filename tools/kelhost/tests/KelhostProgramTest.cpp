// kelhost run as a user runs it: a real process over a database recorded from the samples, with
// --open and --grab, a temporary CHRONEX_HOME, and its exit statuses.

#include "DbEu.h"
#include "RecordedUnits.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

QString kelhostProgram()
{
    return qEnvironmentVariable("CHRONEX_BIN_DIR") + QStringLiteral("/kelhost");
}

Run runKelhost(const QStringList &arguments,
               const QString &home,
               const QList<QPair<QString, QString>> &variables = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &[name, value] : variables)
        environment.insert(name, value);
    environment.insert(QStringLiteral("CHRONEX_HOME"), home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(kelhostProgram(), arguments);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

/// More than a handful of colours: the window painted its content.
bool isPainted(const QString &file)
{
    const QImage image(file);
    if (image.isNull() || image.width() < 100 || image.height() < 100)
        return false;
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    return colours.size() > 8;
}

} // namespace

class KelhostProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<RecordedUnits> m_units;

private slots:
    void initTestCase()
    {
        m_units = std::make_unique<RecordedUnits>("Samples");
        for (const char *sample : {"PAYRUN.cbl", "EMPAGE.cbl", "CUSTINQ.cbl"})
            m_units->recordSample(sample);
    }

    void grabsEveryViewThenClosesThroughTheDesktopAndSavesPlacements()
    {
        QTemporaryDir home;
        QTemporaryDir shots;
        const Run run = runKelhost({"--open",
                                    "browser:PAYRUN:60",
                                    "--open",
                                    "symbols:PAYRUN",
                                    "--open",
                                    "programs:PAYRUN",
                                    "--open",
                                    "members:PAYRUN",
                                    "--open",
                                    "datamap:PAYRUN:40",
                                    "--open",
                                    "tree:*",
                                    "--open",
                                    "grapher:EMPAGE",
                                    "--open",
                                    "details:PAYRUN:30",
                                    "--open",
                                    "settings:PAYRUN",
                                    "--open",
                                    "preferences:",
                                    "--grab",
                                    shots.path(),
                                    QString::fromStdString(m_units->directory().string())},
                                   home.path());
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));

        const QStringList expected = {"desktop-Samples",
                                      "browser-PAYRUN",
                                      "symbols-PAYRUN",
                                      "programs-PAYRUN",
                                      "members-PAYRUN",
                                      "datamap-PAYRUN",
                                      "tree-Samples",
                                      "grapher-EMPAGE",
                                      "details-PAYRUN",
                                      "settings-PAYRUN",
                                      "preferences"};
        for (const QString &name : expected) {
            const QString file = QDir(shots.path()).filePath(name + QStringLiteral(".png"));
            QVERIFY2(isPainted(file), qPrintable(file));
            QVERIFY2(run.out.contains(QStringLiteral("Grabbed ") + file), qPrintable(run.out));
        }
        QCOMPARE(QDir(shots.path()).entryList(QDir::Files).size(), expected.size());

        // The desktop's window list on standard output, each view by its title.
        QVERIFY(run.out.contains(QStringLiteral("Just put the new window on the list")));
        QVERIFY(run.out.contains(QStringLiteral("Window list: 6 windows")));
        QVERIFY(run.out.contains(QStringLiteral("Source - PAYRUN")));
        QVERIFY(run.out.contains(QStringLiteral("Control Flow - EMPAGE")));

        // Closing through the desktop saved every view's placement and the desktop's own.
        QSettings placements(QDir(home.path()).filePath(QStringLiteral("KELPLACE.INI")),
                             QSettings::IniFormat);
        const QStringList sections = placements.childGroups();
        for (const QString &section : QStringList{"Browser::592::Samples::PAYRUN",
                                                  "Symbols::595::Samples::PAYRUN",
                                                  "Browser::592",
                                                  "Grapher::593::Samples::EMPAGE",
                                                  "Tree::28673::Samples",
                                                  "Desktop::28677"}) {
            QVERIFY2(sections.contains(section), qPrintable(sections.join(QLatin1Char(','))));
            QVERIFY(!placements.value(section + QStringLiteral("/WindowPosition")).isNull());
        }
    }

    void exitStatusesSayWhatWentWrong()
    {
        QTemporaryDir home;
        QTemporaryDir empty;
        struct Case
        {
            const char *label;
            QStringList arguments;
            int status;
            const char *message;
        };
        const QList<Case> cases = {
            {"no database", {}, 64, "expected one analysis database"},
            {"unknown option", {"--bogus", empty.path()}, 64, "unknown option '--bogus'"},
            {"bad open", {"--open", "b:PAYRUN:x", empty.path()}, 64, "line number"},
            {"directory without database", {empty.path()}, 1, "holds no analysis database"},
            {"missing file", {empty.filePath("none.db")}, 1, "does not exist"},
            {"not a database", {QDir(empty.path()).filePath("junk.db")}, 1, "junk.db"},
            {"help", {"--help"}, 0, ""},
        };
        QFile junk(QDir(empty.path()).filePath("junk.db"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'x'));
        junk.close();
        for (const Case &c : cases) {
            const Run run = runKelhost(c.arguments, home.path());
            QVERIFY2(run.exitCode == c.status,
                     qPrintable(
                         QStringLiteral("%1: %2 %3").arg(c.label).arg(run.exitCode).arg(run.err)));
            QVERIFY2(run.err.contains(QLatin1String(c.message)),
                     qPrintable(c.label + (": " + run.err)));
        }
        QVERIFY(runKelhost({"--help"}, home.path()).out.contains(QStringLiteral("--grab DIR")));
    }

    void analyzeRecordsTheSourcesAndOpensThem()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("cobc")).isEmpty())
            QSKIP("GnuCOBOL (cobc) is not installed: zmc2 cannot check sources");
        QTemporaryDir home;
        QTemporaryDir cache;
        QTemporaryDir shots;
        const QString samples = qEnvironmentVariable("CHRONEX_SOURCE_DIR")
                                + QStringLiteral("/samples");
        const Run run = runKelhost({"--analyze",
                                    "-I",
                                    samples + "/copybooks",
                                    samples + "/PAYRUN.cbl",
                                    samples + "/EMPAGE.cbl",
                                    "--open",
                                    "browser:EMPAGE",
                                    "--grab",
                                    shots.path()},
                                   home.path(),
                                   {{"XDG_CACHE_HOME", cache.path()}});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err + run.out));
        QVERIFY(run.out.contains(QStringLiteral("Recording ") + samples + "/EMPAGE.cbl"));
        QVERIFY(isPainted(QDir(shots.path()).filePath(QStringLiteral("browser-EMPAGE.png"))));
        QVERIFY(isPainted(QDir(shots.path()).filePath(QStringLiteral("desktop-samples.png"))));
        // The database lies under the user's cache directory, named after the sources.
        const QStringList runs = QDir(cache.path() + QStringLiteral("/chronex/analysis"))
                                     .entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(runs.size(), 1);
        QVERIFY(runs.first().startsWith(QStringLiteral("samples-")));
    }
};

QTEST_MAIN(KelhostProgramTest)
#include "KelhostProgramTest.moc"
