#include "IProfile.h"
#include "IException.h"
#include "TemporaryHome.h"

#include <QFile>
#include <QTest>

#include <thread>
#include <vector>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

/// Profiles in a throwaway state directory: values by application and key, integers, the
/// damaged-file rules and writers that do not lose each other's values.
class IProfileTest : public QObject
{
    Q_OBJECT

private slots:
    void aRelativeNameLivesInTheStateDirectory()
    {
        TemporaryHome home;
        IProfile profile(QStringLiteral("KELINI.INI"));
        QCOMPARE(profile.fileName(), home.filePath(QStringLiteral("KELINI.INI")));
        QVERIFY(!QFile::exists(profile.fileName()));
        QCOMPARE(profile.value(QStringLiteral("Preferences"), QStringLiteral("k")), std::nullopt);
        QVERIFY(profile.problem().isEmpty());

        profile.setValue(QStringLiteral("Data Map::596::PAY ROLL"),
                         QStringLiteral("WindowPosition"),
                         QStringLiteral("12 40 612 440 NONE"));
        profile.setIntegerValue(QStringLiteral("Preferences"),
                                QStringLiteral("KelDataMap_reqScrl"),
                                1);
        QCOMPARE(readFile(profile.fileName()),
                 QByteArray("[Data Map::596::PAY ROLL]\nWindowPosition=12 40 612 440 NONE\n\n"
                            "[Preferences]\nKelDataMap_reqScrl=1\n"));
        QCOMPARE(IProfile(QStringLiteral("KELINI.INI"))
                     .value(QStringLiteral("Data Map::596::PAY ROLL"),
                            QStringLiteral("WindowPosition")),
                 QStringLiteral("12 40 612 440 NONE"));
        QCOMPARE(profile.applicationNames(),
                 QStringList(
                     {QStringLiteral("Data Map::596::PAY ROLL"), QStringLiteral("Preferences")}));
        QVERIFY(
            profile.removeKey(QStringLiteral("Preferences"), QStringLiteral("KelDataMap_reqScrl")));
        QVERIFY(!profile.containsApplication(QStringLiteral("Preferences")));
    }

    void integersAreReadStrictly_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<std::optional<long>>("expected");
        QTest::newRow("plain") << QStringLiteral("42") << std::optional<long>(42);
        QTest::newRow("negative") << QStringLiteral("-1") << std::optional<long>(-1);
        QTest::newRow("plus and blanks") << QStringLiteral(" +7 ") << std::optional<long>(7);
        QTest::newRow("word") << QStringLiteral("NULL") << std::optional<long>();
        QTest::newRow("trailing text") << QStringLiteral("12px") << std::optional<long>();
        QTest::newRow("empty") << QString() << std::optional<long>();
        QTest::newRow("too large")
            << QStringLiteral("99999999999999999999") << std::optional<long>();
    }
    void integersAreReadStrictly()
    {
        QFETCH(QString, stored);
        QFETCH(std::optional<long>, expected);
        TemporaryHome home;
        IProfile profile(QStringLiteral("P.INI"));
        profile.setValue(QStringLiteral("A"), QStringLiteral("k"), stored);
        QCOMPARE(profile.integerValue(QStringLiteral("A"), QStringLiteral("k")), expected);
    }

    void aDamagedFileIsReportedAndNeverOverwritten()
    {
        TemporaryHome home;
        IProfile profile(QStringLiteral("KELPLACE.INI"));
        const QByteArray damaged("[Browser::592]\nWindowPosition=1 2 3 4 NONE\n[Broken\n\x01\x02");
        writeFile(profile.fileName(), damaged);

        QVERIFY(profile.problem().contains(QStringLiteral("is damaged (line 3")));
        QVERIFY(profile.problem().contains(profile.fileName()));
        QCOMPARE(profile.value(QStringLiteral("Browser::592"), QStringLiteral("WindowPosition")),
                 std::nullopt);
        try {
            profile.setValue(QStringLiteral("Browser::592"),
                             QStringLiteral("WindowPosition"),
                             QStringLiteral("5 6 7 8 MAX"));
            QFAIL("a damaged profile was written");
        } catch (const IAccessError &error) {
            QVERIFY2(QString::fromStdString(error.text()).contains(profile.fileName()),
                     error.text().c_str());
        }
        QVERIFY_THROWS_EXCEPTION(IAccessError,
                                 profile.removeKey(QStringLiteral("Browser::592"),
                                                   QStringLiteral("WindowPosition")));
        QCOMPARE(readFile(profile.fileName()), damaged);
    }

    void valuesTheFormatCannotHoldAreRefused()
    {
        TemporaryHome home;
        IProfile profile(QStringLiteral("P.INI"));
        QVERIFY_THROWS_EXCEPTION(IAccessError,
                                 profile.setValue(QStringLiteral("A"),
                                                  QStringLiteral("k"),
                                                  QStringLiteral("two\nlines")));
        QVERIFY(!QFile::exists(profile.fileName()));
    }

    void concurrentWritersLoseNothing()
    {
        TemporaryHome home;
        const QString name = home.filePath(QStringLiteral("SHARED.INI"));
        std::vector<std::thread> writers;
        for (int w = 0; w < 4; ++w)
            writers.emplace_back([w, name] {
                IProfile profile(name);
                for (int k = 0; k < 25; ++k)
                    profile.setIntegerValue(QStringLiteral("W%1").arg(w),
                                            QStringLiteral("k%1").arg(k),
                                            k);
            });
        for (auto &writer : writers)
            writer.join();
        IProfile profile(name);
        for (int w = 0; w < 4; ++w)
            QCOMPARE(profile.keyNames(QStringLiteral("W%1").arg(w)).size(), 25);
    }
};

QTEST_GUILESS_MAIN(IProfileTest)
#include "IProfileTest.moc"
