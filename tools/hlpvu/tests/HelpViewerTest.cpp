#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString helpDirectory(const QString &library)
{
    return QDir(qEnvironmentVariable("CHRONEX_DATA_DIR"))
        .filePath(QStringLiteral("help/") + library);
}

struct Run
{
    int exitCode = -1;
    QString output;
    QString errors;
};

Run hlpvu(const QStringList &arguments)
{
    QProcess process;
    process.start(QDir(qEnvironmentVariable("CHRONEX_BIN_DIR")).filePath(QStringLiteral("hlpvu")),
                  arguments);
    Run run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

/// The help viewer as the views start it, and the help it shows: the views' own pages.
class HelpViewerTest : public QObject
{
    Q_OBJECT

private slots:
    void theHelpFilesNameTheirLibrariesAndPages()
    {
        struct Case
        {
            QStringList arguments;
            int exitCode;
            QString pageEnd;
        };
        const QList<Case> cases = {
            {{"--print-page", "KELHELP.HLP"}, 0, "help/kelhelp/index.html"},
            {{"--print-page", "KELTUTE.HLP"}, 0, "help/keltute/index.html"},
            {{"--print-page", "--page", "desktop", "KELHELP.HLP"}, 0, "help/kelhelp/desktop.html"},
            {{"--print-page", "--page", "nosuch", "KELHELP.HLP"}, 1, "help/kelhelp/nosuch.html"},
            {{"--print-page", "NOSUCH.HLP"}, 1, "help/nosuch/index.html"},
        };
        for (const Case &c : cases) {
            const Run run = hlpvu(c.arguments);
            QCOMPARE(run.exitCode, c.exitCode);
            QVERIFY2(run.output.trimmed().endsWith(c.pageEnd), qPrintable(run.output));
        }
        const Run usage = hlpvu({});
        QCOMPARE(usage.exitCode, 64);
        QVERIFY2(usage.errors.contains("KELHELP.HLP"), qPrintable(usage.errors));
    }

    void everyPageIsTitledAndEveryLinkLeadsToAPage()
    {
        const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
        for (const QString &library : {QStringLiteral("kelhelp"), QStringLiteral("keltute")}) {
            const QDir directory(helpDirectory(library));
            const QStringList pages = directory.entryList({QStringLiteral("*.html")}, QDir::Files);
            QVERIFY2(pages.contains("index.html"), qPrintable(library));
            for (const QString &page : pages) {
                QFile file(directory.filePath(page));
                QVERIFY(file.open(QIODevice::ReadOnly));
                const QString html = QString::fromUtf8(file.readAll());
                QVERIFY2(html.contains(QRegularExpression("<title>[^<]+</title>")),
                         qPrintable(page));
                for (auto it = link.globalMatch(html); it.hasNext();) {
                    const QString target = it.next().captured(1);
                    QVERIFY2(directory.exists(target),
                             qPrintable(library + "/" + page + " links to " + target));
                }
            }
        }
    }

    void theViewsHelpDescribesEveryAnalysisView()
    {
        const QDir directory(helpDirectory(QStringLiteral("kelhelp")));
        QFile index(directory.filePath(QStringLiteral("index.html")));
        QVERIFY(index.open(QIODevice::ReadOnly));
        const QByteArray contents = index.readAll();
        // The desktop, the view windows and what links them, each reached from the contents.
        for (const char *page : {"desktop",
                                 "views",
                                 "browser",
                                 "grapher",
                                 "lists",
                                 "datamap",
                                 "tree",
                                 "notebooks",
                                 "scrolling",
                                 "mouse",
                                 "links",
                                 "placements",
                                 "exceptions",
                                 "1400"}) {
            QVERIFY2(directory.exists(QString::fromLatin1(page) + ".html"), page);
            QVERIFY2(contents.contains(QByteArray("href=\"") + page + ".html\""), page);
        }
    }

    void theViewerShowsTheHelpInAWindow()
    {
        QTemporaryDir directory;
        const QString shot = directory.filePath(QStringLiteral("hlpvu.png"));
        const Run run = hlpvu({"--grab", shot, "--page", "desktop", "KELHELP.HLP"});
        QCOMPARE(run.exitCode, 0);
        const QImage image(shot);
        QVERIFY(!image.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 3, "the help window is blank");
        const QString grabs = qEnvironmentVariable("CHRONEX_GRAB_DIR");
        if (!grabs.isEmpty())
            QFile::copy(shot, QDir(grabs).filePath(QStringLiteral("hlpvu-desktop.png")));
    }
};

QTEST_MAIN(HelpViewerTest)
#include "HelpViewerTest.moc"
