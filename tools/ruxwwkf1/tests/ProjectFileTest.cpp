#include "ProjectFile.h"
#include "IException.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>

namespace {

ProjectFile parsed(const std::string &text, const std::string &path = "/projects/PAYROLL.iwp")
{
    std::istringstream in(text);
    return ProjectFile::parse(in, path);
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
}

} // namespace

Q_DECLARE_METATYPE(std::vector<std::string>)

class ProjectFileTest : public QObject
{
    Q_OBJECT

private slots:
    void readsTheSectionsOfAProjectWrittenByTheConversion()
    {
        const ProjectFile project = parsed("-ProjectInfo\n"
                                           "+name=Year 2000 Conversion of PAYROLL\n"
                                           "+type=TELAMRDV.IWS\n"
                                           "-BuildInfo\n"
                                           "+target=y2k1.exe\n"
                                           "+runOptions=\n"
                                           "-LocationInfo\n"
                                           "+defaultDir=/home/ana/cobol/y2kready\n"
                                           "+dirs=/home/ana/cobol/y2kready\n"
                                           "-ConfigInfo\n"
                                           "+filter=*.asd;*.cvt;*.cpy;*.crs;*.log;*.xca;*.xrl;\n"
                                           "+view=icon\n"
                                           "+refresh=yes\n");
        QCOMPARE(project.name(), "Year 2000 Conversion of PAYROLL");
        QCOMPARE(project.value("BuildInfo", "target"), "y2k1.exe");
        QCOMPARE(project.value("buildinfo", "TARGET"), "y2k1.exe");
        QVERIFY(project.contains("BuildInfo", "runOptions"));
        QVERIFY(!project.contains("BuildInfo", "makefile"));
        QCOMPARE(project.value("ProjectInfo", "target"), "");
        QCOMPARE(project.directories(), std::vector<std::string>{"/home/ana/cobol/y2kready"});
        QCOMPARE(project.filters(),
                 (std::vector<std::string>{
                     "*.asd", "*.cvt", "*.cpy", "*.crs", "*.log", "*.xca", "*.xrl"}));
        QVERIFY(project.refreshes());
        QVERIFY(!project.position());
    }

    void directories_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::vector<std::string>>("expected");
        QTest::newRow("default directory comes first")
            << "-LocationInfo\n+dirs=/b;/c\n+defaultDir=/a\n"
            << std::vector<std::string>{"/a", "/b", "/c"};
        QTest::newRow("blanks around entries and empty entries are dropped")
            << "-LocationInfo\n+defaultDir=\n+dirs= /b ;; ;/c;\n"
            << std::vector<std::string>{"/b", "/c"};
        QTest::newRow("a blank inside a directory name stays")
            << "-LocationInfo\n+dirs=/work/year end\n"
            << std::vector<std::string>{"/work/year end"};
        QTest::newRow("relative entries are taken from the project's directory")
            << "-LocationInfo\n+defaultDir=../Samples/cobol\n+dirs=src/./x\n"
            << std::vector<std::string>{"/Samples/cobol", "/projects/src/x"};
        QTest::newRow("a directory named twice is listed once")
            << "-LocationInfo\n+defaultDir=/a/\n+dirs=/a;/a/\n"
            << std::vector<std::string>{"/a"};
        QTest::newRow("doubled backslashes are undone")
            << "-LocationInfo\n+defaultDir=/odd\\\\name\n"
            << std::vector<std::string>{"/odd\\name"};
        QTest::newRow("Windows line ends") << "-LocationInfo\r\n+defaultDir=/a\r\n+dirs=/b\r\n"
                                           << std::vector<std::string>{"/a", "/b"};
        QTest::newRow("keys outside their section do not count")
            << "-ConfigInfo\n+defaultDir=/wrong\n-LocationInfo\n+dirs=/right\n"
            << std::vector<std::string>{"/right"};
        QTest::newRow("none") << "-ProjectInfo\n+name=X\n" << std::vector<std::string>{};
    }

    void directories()
    {
        QFETCH(QString, text);
        QFETCH(std::vector<std::string>, expected);
        QCOMPARE(parsed(text.toStdString()).directories(), expected);
    }

    void nameFallsBackToTheFileName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("given") << "-ProjectInfo\n+name=PAYROLL\n"
                               << "PAYROLL";
        QTest::newRow("empty") << "-ProjectInfo\n+name=\n"
                               << "y2k7";
        QTest::newRow("blank") << "-ProjectInfo\n+name=   \n"
                               << "y2k7";
        QTest::newRow("missing") << "-ProjectInfo\n+type=TELAMRDV.IWS\n"
                                 << "y2k7";
        QTest::newRow("first one counts") << "-ProjectInfo\n+name=A\n+name=B\n"
                                          << "A";
    }

    void nameFallsBackToTheFileName()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(parsed(text.toStdString(), "/p/y2k7.iwp").name()),
                 expected);
    }

    void position_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("four numbers") << "120,80,720,520" << true << QList<int>{120, 80, 720, 520};
        QTest::newRow("blanks and a negative origin")
            << " -5 , 2 , 30 , 40 " << true << QList<int>{-5, 2, 30, 40};
        QTest::newRow("three numbers") << "1,2,3" << false << QList<int>{};
        QTest::newRow("five numbers") << "1,2,3,4,5" << false << QList<int>{};
        QTest::newRow("not numbers") << "a,b,c,d" << false << QList<int>{};
        QTest::newRow("zero width") << "1,2,0,5" << false << QList<int>{};
        QTest::newRow("empty") << "" << false << QList<int>{};
    }

    void position()
    {
        QFETCH(QString, value);
        QFETCH(bool, valid);
        QFETCH(QList<int>, expected);
        const auto position = parsed("-ConfigInfo\n+position=" + value.toStdString() + "\n")
                                  .position();
        QCOMPARE(position.has_value(), valid);
        if (valid)
            QCOMPARE((QList<int>{position->x, position->y, position->width, position->height}),
                     expected);
    }

    void wildcards_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("extension") << "*.cbl"
                                   << "PAYRUN.cbl" << true;
        QTest::newRow("extension in upper case") << "*.cbl"
                                                 << "PAYRUN.CBL" << true;
        QTest::newRow("longer extension") << "*.cbl"
                                          << "PAYRUN.cbl.bak" << false;
        QTest::newRow("star in the middle") << "PAY*.c?l"
                                            << "PAYRUN.cbl" << true;
        QTest::newRow("question mark needs a character") << "a?"
                                                         << "a" << false;
        QTest::newRow("star matches nothing") << "*"
                                              << "" << true;
        QTest::newRow("empty pattern") << ""
                                       << "a" << false;
        QTest::newRow("backtracking") << "*a*b"
                                      << "xaxxaxb" << true;
        QTest::newRow("no backtracking past the end") << "*ab"
                                                      << "abx" << false;
    }

    void wildcards()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(ProjectFile::wildcardMatch(pattern.toStdString(), name.toStdString()), matches);
    }

    void noFilterShowsEveryFile()
    {
        const ProjectFile project = parsed("-ConfigInfo\n+filter=\n");
        QCOMPARE(project.filters(), std::vector<std::string>{"*"});
        QVERIFY(project.matchesFilter("anything.txt"));
    }

    void matchingFilesAreSortedRegularFilesOnly()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char *name : {"B.cbl", "a.cbl", "C.CPY", "notes.txt"})
            writeFile(dir.filePath(name), "x");
        QVERIFY(QDir(dir.path()).mkdir("sub.cbl"));
        const ProjectFile project = parsed("-ConfigInfo\n+filter=*.cbl;*.cpy\n");
        QCOMPARE(project.matchingFiles(dir.path().toStdString()),
                 (std::vector<std::string>{"B.cbl", "C.CPY", "a.cbl"}));
        QCOMPARE(project.matchingFiles(dir.filePath("missing").toStdString()),
                 std::vector<std::string>{});
    }

    void unreadableFilesAreErrorsNamingTheFile_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << "missing.iwp" << QByteArray() << "does not exist";
        QTest::newRow("empty") << "empty.iwp" << QByteArray("") << "holds no project settings";
        QTest::newRow("another kind of file")
            << "notes.iwp" << QByteArray("just some text\n\n") << "holds no project settings";
        QTest::newRow("a directory") << "dir.iwp" << QByteArray() << "is a directory";
    }

    void unreadableFilesAreErrorsNamingTheFile()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        if (fileName == "dir.iwp")
            QVERIFY(QDir(dir.path()).mkdir(fileName));
        else if (fileName != "missing.iwp")
            writeFile(path, content);
        try {
            ProjectFile::load(path.toStdString());
            QFAIL("no error raised");
        } catch (const IAccessError &error) {
            const QString text = QString::fromStdString(error.what());
            QVERIFY2(text.contains(path), qPrintable(text));
            QVERIFY2(text.contains(expected), qPrintable(text));
        }
    }

    void theSampleTemplateReads()
    {
        const QString source = qEnvironmentVariable("CHRONEX_SOURCE_DIR");
        if (source.isEmpty())
            QSKIP("CHRONEX_SOURCE_DIR is not set");
        const ProjectFile project = ProjectFile::load(
            (source + "/samples/templates/PAYROLL.iwp").toStdString());
        QCOMPARE(project.name(), "PAYROLL");
        QCOMPARE(project.directories().size(), std::size_t(3));
        QVERIFY(project.matchesFilter("EMPREC.cpy"));
        QVERIFY(project.position().has_value());
    }
};

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "ProjectFileTest.moc"
