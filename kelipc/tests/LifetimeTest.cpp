#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

/// The library's load and unload, seen from a real process: both purge the process's entries.
class LifetimeTest : public QObject
{
    Q_OBJECT

private slots:
    void loadingAndUnloadingPurgeTheProcess()
    {
        QTemporaryDir directory;
        const QString trace = directory.filePath(QStringLiteral("trace.txt"));
        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CHRONEX_TRACE"), QStringLiteral("KELIPC"));
        environment.insert(QStringLiteral("CHRONEX_TRACETO"), trace);
        probe.setProcessEnvironment(environment);
        probe.start(qEnvironmentVariable("KELIPC_LIFETIME_PROBE"), {});
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 0);
        QCOMPARE(probe.readAllStandardOutput(), QByteArray("registered 1\n"));

        QFile file(trace);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList lines;
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (!line.isEmpty())
                lines << QString::fromUtf8(line.mid(line.indexOf(' ', line.indexOf(' ') + 1) + 1));
        }
        QVERIFY2(lines.size() >= 6, qPrintable(lines.join(u'\n')));
        // Loaded: the purge runs before anything else of the library.
        QCOMPARE(lines.at(0), QStringLiteral("+WindowRegistry::purgeCurrentProcess()"));
        QCOMPARE(lines.at(1), QStringLiteral("-WindowRegistry::purgeCurrentProcess()"));
        QVERIFY(lines.contains(QStringLiteral("+RegisterInstance::RegisterInstance(IWindowHandle,"
                                              "IString,unsigned long,DbEu*,DbPu*,IFrameWindow*)")));
        // Unloaded at exit: the purge is the last thing the library does.
        QCOMPARE(lines.at(lines.size() - 2),
                 QStringLiteral("+WindowRegistry::purgeCurrentProcess()"));
        QCOMPARE(lines.last(), QStringLiteral("-WindowRegistry::purgeCurrentProcess()"));
    }
};

QTEST_GUILESS_MAIN(LifetimeTest)
#include "LifetimeTest.moc"
