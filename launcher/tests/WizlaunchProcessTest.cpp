#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <csignal>
#include <sys/types.h>

/// Runs wizlaunch as a user does, with a stand-in kelwiz found first through CHRONEX_BIN_DIR.
/// The stand-in copies the settings file it is given to $STANDIN_COPY, records its path in
/// $STANDIN_PATH and exits with $STANDIN_STATUS (or kills itself when that is "signal").
class WizlaunchProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void handsTheWizardTheRequestAndRemovesTheFile_data();
    void handsTheWizardTheRequestAndRemovesTheFile();
    void returnsTheWizardsExitStatus_data();
    void returnsTheWizardsExitStatus();
    void withoutArgumentsEndsAtOnceWithMinusOne();
    void aMissingOptionsLibraryIsReportedAndTheWizardStillRuns();
    void theRealWizardReadsTheRequest();
    void sourcesTheWizardCannotBeHandedAreLeftOutNamingThem();
    void aSignalThatEndsTheLauncherTakesTheWizardAndTheFileWithIt_data();
    void aSignalThatEndsTheLauncherTakesTheWizardAndTheFileWithIt();

private:
    struct Run
    {
        int exitCode = -2;
        QString output;
        QString settings; // what the wizard was given; empty when it did not run
        QString settingsPath;
    };
    Run launch(const QStringList &arguments,
               const QString &wizardStatus = QStringLiteral("0"),
               const QString &program = qEnvironmentVariable("WIZLAUNCH"));
    /// Settings files in the launcher's temporary directory (Qt keeps its runtime folder there).
    QStringList settingsFilesLeft() const
    {
        return QDir(path(QStringLiteral("tmp"))).entryList({QStringLiteral("y2k*")}, QDir::Files);
    }
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void writeFile(const QString &name, const QByteArray &content);

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcessEnvironment m_environment; // set over the test's own for each launch
};

void WizlaunchProcessTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_environment = QProcessEnvironment();
    m_environment.insert(QStringLiteral("CHRONEX_BIN_DIR"), path(QStringLiteral("bin")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("tmp")));
    writeFile(QStringLiteral("bin/kelwiz"),
              "#!/bin/sh\n"
              "cp \"$1\" \"$STANDIN_COPY\"\n"
              "printf '%s' \"$1\" > \"$STANDIN_PATH\"\n"
              "if [ \"$STANDIN_STATUS\" = signal ]; then kill -9 $$; fi\n"
              "if [ \"$STANDIN_STATUS\" = wait ]; then\n"
              "  echo $$ > \"$STANDIN_PATH.waiting\"; exec sleep 100\n"
              "fi\n"
              "exit \"$STANDIN_STATUS\"\n");
    QFile::setPermissions(path(QStringLiteral("bin/kelwiz")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(QStringLiteral("pay.iwp"), "+name=PAYROLL\n");
    writeFile(QStringLiteral("pay.iwo"), "-CompileInfo\n+compileOptions=-x %O -y %o\n");
    writeFile(QStringLiteral("bare.iwp"), "+name=BARE\n");
}

void WizlaunchProcessTest::writeFile(const QString &name, const QByteArray &content)
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

WizlaunchProcessTest::Run WizlaunchProcessTest::launch(const QStringList &arguments,
                                                       const QString &wizardStatus,
                                                       const QString &program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), path(QStringLiteral("tmp")));
    environment.insert(QStringLiteral("CHRONEX_LAUNCHER_AUTOANSWER"), QStringLiteral("1"));
    environment.insert(QStringLiteral("STANDIN_COPY"), path(QStringLiteral("given.txt")));
    environment.insert(QStringLiteral("STANDIN_PATH"), path(QStringLiteral("given-path.txt")));
    environment.insert(QStringLiteral("STANDIN_STATUS"), wizardStatus);
    environment.insert(m_environment);

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    QFile given(path(QStringLiteral("given.txt")));
    if (given.open(QIODevice::ReadOnly))
        run.settings = QString::fromUtf8(given.readAll());
    QFile givenPath(path(QStringLiteral("given-path.txt")));
    if (givenPath.open(QIODevice::ReadOnly))
        run.settingsPath = QString::fromUtf8(givenPath.readAll());
    return run;
}

void WizlaunchProcessTest::handsTheWizardTheRequestAndRemovesTheFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("responseFile"); // written to "response.txt" when not null
    QTest::addColumn<QString>("expectedSettings");
    QTest::addColumn<bool>("optionsAsked");

    QTest::newRow("plain form") << QStringList{"@DIR/pay.iwp", "/src/A.cbl", "/src/B.cbl"}
                                << QByteArray()
                                << QStringLiteral(
                                       "Project Name:>   @DIR/pay.iwp\nCompile Options:>-x  -y %o\n"
                                       "Convert these files:>\n  /src/A.cbl\n  /src/B.cbl\n")
                                << true;
    QTest::newRow("response file over two lines")
        << QStringList{"@@DIR/response.txt"} << QByteArray("@DIR/pay.iwp /src/A.cbl\n/src/B.cbl\n")
        << QStringLiteral("Project Name:>   @DIR/pay.iwp\nCompile Options:>-x  -y %o\n"
                          "Convert these files:>\n  /src/A.cbl\n  /src/B.cbl\n")
        << true;
    QTest::newRow("response file with a quoted path")
        << QStringList{"@@DIR/response.txt"} << QByteArray("@DIR/pay.iwp \"/my src/A.cbl\"")
        << QStringLiteral("Project Name:>   @DIR/pay.iwp\nCompile Options:>-x  -y %o\n"
                          "Convert these files:>\n  /my src/A.cbl\n")
        << true;
    QTest::newRow("project without options file")
        << QStringList{"@DIR/bare.iwp", "/src/A.cbl"} << QByteArray()
        << QStringLiteral("Project Name:>   @DIR/bare.iwp\nCompile Options:>\n"
                          "Convert these files:>\n  /src/A.cbl\n")
        << true;
    const QString empty = QStringLiteral(
        "Project Name:>   \nCompile Options:>\nConvert these files:>\n");
    QTest::newRow("unreadable response file")
        << QStringList{"@@DIR/missing.txt"} << QByteArray() << empty << false;
    QTest::newRow("empty response file")
        << QStringList{"@@DIR/response.txt"} << QByteArray(" \n\n") << empty << false;
}

void WizlaunchProcessTest::handsTheWizardTheRequestAndRemovesTheFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, responseFile);
    QFETCH(QString, expectedSettings);
    QFETCH(bool, optionsAsked);

    const QString dir = m_dir->path();
    if (!responseFile.isNull())
        writeFile(QStringLiteral("response.txt"), responseFile.replace("@DIR", dir.toUtf8()));
    for (QString &argument : arguments)
        argument.replace(QStringLiteral("@DIR"), dir);
    expectedSettings.replace(QStringLiteral("@DIR"), dir);

    const Run run = launch(arguments);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.settings, expectedSettings);
    QVERIFY(run.settingsPath.startsWith(path(QStringLiteral("tmp/y2k"))));
    QVERIFY2(settingsFilesLeft().isEmpty(), "the settings file was left behind");

    // The request is echoed after the options call, if there was one.
    QVERIFY2(run.output.endsWith(expectedSettings), qPrintable(run.output));
    const QString project = expectedSettings.section(u'\n', 0, 0).mid(17);
    QCOMPARE(run.output.startsWith(QStringLiteral("Calling with (") + project + u','),
             optionsAsked);
    if (optionsAsked)
        QVERIFY(run.output.section(u'\n', 0, 0).endsWith(QStringLiteral(",1000)")));
}

void WizlaunchProcessTest::returnsTheWizardsExitStatus_data()
{
    QTest::addColumn<QString>("wizardStatus");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("success") << QStringLiteral("0") << 0;
    QTest::newRow("failure") << QStringLiteral("3") << 3;
    QTest::newRow("killed by a signal") << QStringLiteral("signal") << 16;
}

void WizlaunchProcessTest::returnsTheWizardsExitStatus()
{
    QFETCH(QString, wizardStatus);
    QFETCH(int, exitCode);
    const Run run = launch({path(QStringLiteral("pay.iwp"))}, wizardStatus);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(!run.settings.isEmpty());
    QVERIFY2(settingsFilesLeft().isEmpty(), "the settings file was left behind");
}

void WizlaunchProcessTest::withoutArgumentsEndsAtOnceWithMinusOne()
{
    const Run run = launch({});
    QCOMPARE(run.exitCode, 255);
    QCOMPARE(run.output, QString());
    QCOMPARE(run.settings, QString());
}

void WizlaunchProcessTest::aMissingOptionsLibraryIsReportedAndTheWizardStillRuns()
{
    // A copy of the launcher installed with the project's libraries but without RUXVCOPT.
    const QString launcher = qEnvironmentVariable("WIZLAUNCH");
    const QString copy = path(QStringLiteral("bin/wizlaunch"));
    QVERIFY(QFile::copy(launcher, copy));
    QVERIFY(QDir().mkpath(path(QStringLiteral("lib"))));
    const QDir libraries(QFileInfo(launcher).dir().filePath(QStringLiteral("../lib")));
    for (const QString &library : libraries.entryList({QStringLiteral("lib*.so*")}, QDir::Files)) {
        if (!library.startsWith(QStringLiteral("libRUXVCOPT")))
            QVERIFY(
                QFile::copy(libraries.filePath(library), path(QStringLiteral("lib/")) + library));
    }
    const QString project = path(QStringLiteral("pay.iwp"));
    const Run run = launch({project, QStringLiteral("/src/A.cbl")}, QStringLiteral("0"), copy);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.output.contains(QStringLiteral(
                 "Error:  The compiler-options library RUXVCOPT could not be loaded")),
             qPrintable(run.output));
    QCOMPARE(run.settings,
             QStringLiteral("Project Name:>   ") + project
                 + QStringLiteral("\nCompile Options:>\nConvert these files:>\n  /src/A.cbl\n"));
    QVERIFY2(settingsFilesLeft().isEmpty(), "the settings file was left behind");
}

void WizlaunchProcessTest::theRealWizardReadsTheRequest()
{
    // kelwiz from the build, cancelled as soon as it shows: its parameter dump shows what it read.
    m_environment.insert(QStringLiteral("CHRONEX_BIN_DIR"),
                         qEnvironmentVariable("CHRONEX_BIN_DIR"));
    m_environment.insert(QStringLiteral("CHRONEX_WIZARD_AUTOCANCEL"), QStringLiteral("1"));
    m_environment.insert(QStringLiteral("CHRONEX_HOME"), path(QStringLiteral("home")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("home")));
    writeFile(QStringLiteral("home/environment.ini"), QByteArray());
    writeFile(QStringLiteral("PAY.cbl"), "       IDENTIFICATION DIVISION.\n");

    const QString project = path(QStringLiteral("pay.iwp"));
    const Run run = launch(
        {project, path(QStringLiteral("PAY.cbl")), path(QStringLiteral("GONE.cbl"))});
    QCOMPARE(run.exitCode, 0);
    const QString request = QStringLiteral("Project Name:>   ") + project
                            + QStringLiteral(
                                "\nCompile Options:>-x  -y %o\nConvert these files:>\n  ");
    const QString dump = QString(54, u'-')
                         + QStringLiteral("\nThe Parameters passed to the wizard are:\n") + request
                         + path(QStringLiteral("PAY.cbl")) + u'\n' + QString(54, u'-') + u'\n';
    QVERIFY2(run.output.contains(request + path(QStringLiteral("PAY.cbl")) + QStringLiteral("\n  ")
                                 + path(QStringLiteral("GONE.cbl")) + u'\n' + dump),
             qPrintable(run.output));
    QVERIFY2(settingsFilesLeft().isEmpty(), "the settings file was left behind");
}

void WizlaunchProcessTest::sourcesTheWizardCannotBeHandedAreLeftOutNamingThem()
{
    const QString project = path(QStringLiteral("pay.iwp"));
    const Run run = launch({project,
                            QStringLiteral("/a/PAY.cbl"),
                            QStringLiteral("/b/PAY.scb"),
                            QStringLiteral("/a/B\nC.cbl")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.settings,
             QStringLiteral("Project Name:>   ") + project
                 + QStringLiteral("\nCompile Options:>-x  -y %o\nConvert these files:>\n"
                                  "  /a/PAY.cbl\n"));
    QVERIFY2(run.output.contains(QStringLiteral(
                 "Error:  The sources /a/PAY.cbl and /b/PAY.scb have the same base name PAY: ")),
             qPrintable(run.output));
    QVERIFY(run.output.contains(QStringLiteral("Error:  The source /a/B?C.cbl holds a line break "
                                               "or a NUL in its name and is left out.\n")));
}

void WizlaunchProcessTest::aSignalThatEndsTheLauncherTakesTheWizardAndTheFileWithIt_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void WizlaunchProcessTest::aSignalThatEndsTheLauncherTakesTheWizardAndTheFileWithIt()
{
    QFETCH(int, signal);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), path(QStringLiteral("tmp")));
    environment.insert(QStringLiteral("STANDIN_COPY"), path(QStringLiteral("given.txt")));
    environment.insert(QStringLiteral("STANDIN_PATH"), path(QStringLiteral("given-path.txt")));
    environment.insert(QStringLiteral("STANDIN_STATUS"), QStringLiteral("wait"));
    environment.insert(m_environment);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("WIZLAUNCH"), {path(QStringLiteral("pay.iwp"))});
    const QString waiting = path(QStringLiteral("given-path.txt.waiting"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(waiting).size() > 0, 30000);
    QCOMPARE(settingsFilesLeft().size(), 1);

    ::kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QVERIFY2(settingsFilesLeft().isEmpty(), "the settings file was left behind");
    // The wizard went with it (gone, or a zombie waiting for its new parent).
    QFile pidFile(waiting);
    QVERIFY(pidFile.open(QIODevice::ReadOnly));
    const QString stat = QStringLiteral("/proc/") + QString::fromUtf8(pidFile.readAll()).trimmed()
                         + QStringLiteral("/stat");
    const auto wizardGone = [&stat] {
        QFile status(stat);
        return !status.open(QIODevice::ReadOnly) || status.readAll().contains(") Z ");
    };
    QTRY_VERIFY_WITH_TIMEOUT(wizardGone(), 10000);
}

QTEST_GUILESS_MAIN(WizlaunchProcessTest)
#include "WizlaunchProcessTest.moc"
