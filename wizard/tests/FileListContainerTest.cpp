#include "FileListContainer.h"
#include "ConversionFile.h"
#include "ConversionFileCollection.h"
#include "KelwizResourceIds.h"
#include "ResourceLibrary.h"

#include <QApplication>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

/// Adds a record for `path` to `files`; the record, or null when the path was held already.
ConversionFile *add(ConversionFileCollection &files, const std::string &path)
{
    auto record = std::make_unique<ConversionFile>(path);
    ConversionFile *added = record.get();
    return files.add(std::move(record)) ? added : nullptr;
}

} // namespace

class FileListContainerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void plainFormShowsBaseNamesWithFileIcons();
    void statusFormShowsStateTextAndFullPath_data();
    void statusFormShowsStateTextAndFullPath();
    void duplicateRecordGetsNoRow();
    void addingAKnownRecordKeepsItsRow();
    void postedFillEventFillsAndRestoresFrame();
    void fillingAgainDoesNotDuplicateRows();
    void listGoneBeforeItsFillRestoresFrame();
    void remadeRowsCountAnalysisPasses();
    void remakeKeepsPlaceAndSelection();
    void removeRecordDropsRowAndRecord();

private:
    QString text(unsigned long id) const { return m_resources->loadString(id); }
    std::string path(const char *name) const
    {
        return (m_dir.path() + QLatin1Char('/') + QLatin1String(name)).toStdString();
    }

    const ResourceLibrary *m_resources = nullptr;
    QTemporaryDir m_dir;
};

void FileListContainerTest::initTestCase()
{
    m_resources = &ResourceLibrary::load(QStringLiteral("KELWIZRS"));
    QVERIFY(m_dir.isValid());
}

void FileListContainerTest::plainFormShowsBaseNamesWithFileIcons()
{
    ConversionFileCollection files;
    FileListContainer list(files, *m_resources, FileListContainer::Form::Plain);
    QVERIFY(list.addNewFile(QString::fromStdString(path("PAY.R1.cbl"))));
    QVERIFY(list.addNewFile(QString::fromStdString(path("ORDERS.cbl"))));

    QCOMPARE(list.columnCount(), 1);
    QVERIFY(list.isHeaderHidden());
    QCOMPARE(list.iconSize(), QSize(16, 16));
    QCOMPARE(list.rowCount(), 2);
    QCOMPARE(list.rowAt(0)->text(0), QStringLiteral("PAY.R1"));
    QCOMPARE(list.rowAt(1)->text(0), QStringLiteral("ORDERS"));
    QVERIFY(!list.rowAt(0)->icon(0).isNull());
    QCOMPARE(files.size(), std::size_t(2));
    QCOMPARE(&list.rowAt(1)->record(), files.find(path("ORDERS.cbl")));
}

void FileListContainerTest::statusFormShowsStateTextAndFullPath_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<unsigned long>("textId");
    QTest::addColumn<QString>("counter");

    QTest::newRow("waiting") << 0x00 << KelwizRes::stateWaiting << QString();
    QTest::newRow("compiled") << 0x11 << KelwizRes::stateCompiled << QString();
    QTest::newRow("analysed, counted") << 0x21 << KelwizRes::stateAnalysed << QStringLiteral("1");
    QTest::newRow("analysed with warnings, counter started")
        << 0x22 << KelwizRes::stateAnalysedWarnings << QStringLiteral("1");
    QTest::newRow("converting") << 0x94 << KelwizRes::stateConverting << QString();
    QTest::newRow("unknown state") << 0x33 << KelwizRes::stateUnknown << QString();
}

void FileListContainerTest::statusFormShowsStateTextAndFullPath()
{
    QFETCH(int, state);
    QFETCH(unsigned long, textId);
    QFETCH(QString, counter);

    ConversionFileCollection files;
    ConversionFile *record = add(files, path("PAY.cbl"));
    record->setState(std::uint8_t(state));
    FileListContainer list(files, *m_resources, FileListContainer::Form::Status);
    list.fill();

    QCOMPARE(list.columnCount(), 2);
    QCOMPARE(list.headerItem()->text(0), text(KelwizRes::statusColumnHeading));
    QCOMPARE(list.headerItem()->text(1), text(KelwizRes::fileColumnHeading));
    QCOMPARE(list.rowCount(), 1);
    FileRow *row = list.rowAt(0);
    QCOMPARE(row->text(FileRow::textColumn), text(textId) + counter);
    QCOMPARE(row->text(FileRow::pathColumn), QString::fromStdString(path("PAY.cbl")));
    QVERIFY(!row->icon(FileRow::textColumn).isNull());
    QCOMPARE(list.rowFor(*record), row);
}

void FileListContainerTest::duplicateRecordGetsNoRow()
{
    ConversionFileCollection files;
    FileListContainer list(files, *m_resources, FileListContainer::Form::Plain);
    QVERIFY(list.addNewRecord(std::make_unique<ConversionFile>(path("A.cbl"))));
    QCOMPARE(list.addNewRecord(std::make_unique<ConversionFile>(path("A.cbl"))), nullptr);
    QCOMPARE(list.addNewFile(QString::fromStdString(path("A.cbl"))), nullptr);
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(files.size(), std::size_t(1));
}

void FileListContainerTest::addingAKnownRecordKeepsItsRow()
{
    ConversionFileCollection files;
    ConversionFile *record = add(files, path("A.cbl"));
    FileListContainer list(files, *m_resources, FileListContainer::Form::Status);
    FileRow *first = list.addRecord(*record);
    QCOMPARE(list.addRecord(*record), first);
    QCOMPARE(list.rowCount(), 1);
}

void FileListContainerTest::postedFillEventFillsAndRestoresFrame()
{
    ConversionFileCollection files;
    add(files, path("A.cbl"));
    add(files, path("B.cbl"));
    add(files, path("C.cbl"));
    QWidget frame;
    auto *list = new FileListContainer(files, *m_resources, FileListContainer::Form::Plain, &frame);
    list->postFill();

    QVERIFY(!frame.isEnabled());
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QCOMPARE(list->rowCount(), 0);

    QCoreApplication::sendPostedEvents(list, FileListContainer::fillEventType);
    QVERIFY(frame.isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(list->rowCount(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(list->rowAt(i)->record().fullPath(), files.at(std::size_t(i)).fullPath());
}

void FileListContainerTest::fillingAgainDoesNotDuplicateRows()
{
    ConversionFileCollection files;
    add(files, path("A.cbl"));
    add(files, path("B.cbl"));
    FileListContainer list(files, *m_resources, FileListContainer::Form::Plain);
    list.fill();
    list.fill();
    QCOMPARE(list.rowCount(), 2);
    QCOMPARE(list.rowFor(files.at(1)), list.rowAt(1));
}

void FileListContainerTest::listGoneBeforeItsFillRestoresFrame()
{
    ConversionFileCollection files;
    QWidget frame;
    auto *list = new FileListContainer(files, *m_resources, FileListContainer::Form::Plain, &frame);
    list->postFill();
    delete list;
    QCoreApplication::processEvents();
    QVERIFY(frame.isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void FileListContainerTest::remadeRowsCountAnalysisPasses()
{
    ConversionFileCollection files;
    ConversionFile *record = add(files, path("A.cbl"));
    FileListContainer list(files, *m_resources, FileListContainer::Form::Status);
    list.fill();
    QCOMPARE(list.rowAt(0)->text(0), text(KelwizRes::stateWaiting));

    record->setState(0x21);
    QCOMPARE(list.remakeRow(*record)->text(0), text(KelwizRes::stateAnalysed) + u'1');
    QCOMPARE(list.remakeRow(*record)->text(0), text(KelwizRes::stateAnalysed) + u'2');
    record->setState(0x22);
    QCOMPARE(list.remakeRow(*record)->text(0), text(KelwizRes::stateAnalysedWarnings) + u'2');
    record->setState(0x41);
    QCOMPARE(list.remakeRow(*record)->text(0), text(KelwizRes::stateComplete));
    QCOMPARE(list.rowCount(), 1);
}

void FileListContainerTest::remakeKeepsPlaceAndSelection()
{
    ConversionFileCollection files;
    add(files, path("A.cbl"));
    add(files, path("B.cbl"));
    add(files, path("C.cbl"));
    FileListContainer list(files, *m_resources, FileListContainer::Form::Status);
    list.fill();
    list.rowAt(1)->setSelected(true);

    ConversionFile &middle = files.at(1);
    middle.setState(0x91);
    FileRow *row = list.remakeRow(middle);
    QCOMPARE(list.rowAt(1), row);
    QVERIFY(row->isSelected());
    QCOMPARE(row->text(0), text(KelwizRes::stateCompiling));
    QCOMPARE(list.selectedRecords(), std::vector<ConversionFile *>{&middle});

    ConversionFileCollection others;
    ConversionFile *stranger = add(others, path("X.cbl"));
    QCOMPARE(list.remakeRow(*stranger), nullptr);
}

void FileListContainerTest::removeRecordDropsRowAndRecord()
{
    ConversionFileCollection files;
    FileListContainer list(files, *m_resources, FileListContainer::Form::Plain);
    list.addNewFile(QString::fromStdString(path("A.cbl")));
    list.addNewFile(QString::fromStdString(path("B.cbl")));

    QVERIFY(list.removeRecord(files.at(0)));
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(files.paths(), std::vector<std::string>{path("B.cbl")});
    QCOMPARE(list.rowAt(0)->text(0), QStringLiteral("B"));
}

QTEST_MAIN(FileListContainerTest)
#include "FileListContainerTest.moc"
