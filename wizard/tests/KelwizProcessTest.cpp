#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

/// kelwiz run as a user runs it, with the wizard cancelling itself (CHRONEX_WIZARD_AUTOCANCEL):
/// the console lines before the wizard, the exit status, and settings left untouched.
class KelwizProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void consoleOutputBeforeTheWizard_data();
    void consoleOutputBeforeTheWizard();
};

namespace {

const QByteArray rule = QByteArray(54, '-') + '\n';
const QByteArray notOpened = "Error:  The file name passed through the command line is "
                             "incorrect.\n        Proceeding without the input file.\n";

QByteArray dump(const QByteArray &project, const QByteArray &options, const QByteArray &files = {})
{
    return rule + "The Parameters passed to the wizard are:\nProject Name:>   " + project
           + "\nCompile Options:>" + options + "\nConvert these files:>\n" + files + rule;
}

QByteArray badFormat(const QByteArray &reason)
{
    return "Error:  Input file has '" + reason
           + "'as an error.\n        Processing of the file cannot continue!\n"
             "Error:  The input file has bad formating.\n"
             "        The rest of the input file has been discarded, Processing will continue.\n";
}

} // namespace

void KelwizProcessTest::consoleOutputBeforeTheWizard_data()
{
    // "@" in a settings text stands for the test's directory; a null text means no file at all.
    QTest::addColumn<bool>("withArgument");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("no argument: no output") << false << QByteArray() << QByteArray();
    QTest::newRow("missing settings file") << true << QByteArray() << notOpened + dump("", "");
    QTest::newRow("empty settings file")
        << true << QByteArray("") << badFormat("File is empty") + dump("", "");
    QTest::newRow("truncated settings file")
        << true << QByteArray("Project Name:>   @/p.iwp\n")
        << badFormat("Missing 2 keyword") + dump("@/p.iwp", "");
    QTest::newRow("wrong files tag")
        << true << QByteArray("Project Name:>   @/p.iwp\nCompile Options:>-c\nFiles:>\n")
        << badFormat("Convert file tag is wrong") + dump("@/p.iwp", "-c");
    QTest::newRow("over-long options line")
        << true
        << "Project Name:>   @/p.iwp\nCompile Options:>" + QByteArray(1500, 'o')
               + "\nConvert these files:>\n"
        << badFormat("Convert file tag is wrong") + dump("@/p.iwp", QByteArray(999 - 17, 'o'));
    QTest::newRow("files that exist and files that do not")
        << true
        << QByteArray("Project Name:>   @/p.iwp\nCompile Options:>\nConvert these files:>\n"
                      "  @/A.cbl\n  @/missing.cbl\n  @/B C.cbl\n")
        << dump("@/p.iwp", "", "  @/A.cbl\n  @/B C.cbl\n");
}

void KelwizProcessTest::consoleOutputBeforeTheWizard()
{
    QFETCH(bool, withArgument);
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray root = QFile::encodeName(dir.path());
    for (const char *name : {"A.cbl", "B C.cbl"})
        QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
    QDir().mkpath(dir.filePath("home"));
    const QByteArray environment = "[COMMON]\nQCOBDIR=/opt/cobol\n";
    QFile environmentFile(dir.filePath("home/environment.ini"));
    QVERIFY(environmentFile.open(QIODevice::WriteOnly));
    environmentFile.write(environment);
    environmentFile.close();

    const QString settingsPath = dir.filePath("settings file.txt");
    if (!settings.isNull()) {
        QFile file(settingsPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(settings).replace('@', root));
    }

    QProcess kelwiz;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CHRONEX_HOME", dir.filePath("home"));
    env.insert("XDG_CACHE_HOME", dir.filePath("cache"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("CHRONEX_WIZARD_AUTOCANCEL", "1");
    kelwiz.setProcessEnvironment(env);
    kelwiz.setWorkingDirectory(dir.path());
    const QString program = qEnvironmentVariable("CHRONEX_BIN_DIR") + "/kelwiz";
    kelwiz.start(program, withArgument ? QStringList{settingsPath} : QStringList{});
    QVERIFY2(kelwiz.waitForStarted(), qPrintable(program));
    QVERIFY(kelwiz.waitForFinished(60000));
    QCOMPARE(kelwiz.exitStatus(), QProcess::NormalExit);
    QCOMPARE(kelwiz.exitCode(), 0);
    QCOMPARE(kelwiz.readAllStandardOutput(), QByteArray(expected).replace('@', root));

    // Cancelled: the seed file setting was not written.
    QVERIFY(environmentFile.open(QIODevice::ReadOnly));
    QCOMPARE(environmentFile.readAll(), environment);
}

QTEST_MAIN(KelwizProcessTest)
#include "KelwizProcessTest.moc"
