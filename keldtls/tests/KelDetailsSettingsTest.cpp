// The details and settings views and the unit property window over program units recorded from
// real COBOL (the bundled samples) in a real analysis database: the pages they add, the page they
// open on, their rows, and how they go away.
#include "DbAnalysisPageInfo.h"
#include "DbCompilerPageInfo.h"
#include "DbEu.h"
#include "DbMark.h"
#include "DbPropertyObserver.h"
#include "DbPu.h"
#include "DbPuPropertyWindow.h"
#include "DbSourcePageInfo.h"
#include "DbSymbol.h"
#include "DbWriter.h"
#include "IFrameWindow.h"
#include "KelDetailsView.h"
#include "KelSettingsView.h"
#include "RecordedUnits.h"
#include "TemporaryHome.h"
#include "XIDialogAction.h"
#include "XISettingsPage.h"
#include "XISettingsView.h"

#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace {

using Rows = QList<QPair<QString, QString>>;

/// The label and value rows of a page (or property page), in order.
Rows rowsOf(QWidget *page)
{
    Rows rows;
    auto *form = page ? qobject_cast<QFormLayout *>(page->layout()) : nullptr;
    for (int row = 0; form && row < form->rowCount(); ++row) {
        auto *label = form->itemAt(row, QFormLayout::LabelRole);
        auto *field = form->itemAt(row, QFormLayout::FieldRole);
        if (!label || !field)
            continue;
        rows.append({qobject_cast<QLabel *>(label->widget())->text(),
                     qobject_cast<QLabel *>(field->widget())->text()});
    }
    return rows;
}

QStringList labelsOf(const Rows &rows)
{
    QStringList labels;
    for (const auto &row : rows)
        labels << row.first;
    return labels;
}

QString valueOf(const Rows &rows, const QString &label)
{
    for (const auto &row : rows)
        if (row.first == label)
            return row.second;
    return QStringLiteral("<no row>");
}

QStringList tabTexts(const XISettingsView &view)
{
    QStringList texts;
    for (int i = 0; i < view.pageCount(); ++i)
        texts << view.page(i)->tabText();
    return texts;
}

DbSymbol *symbolNamed(DbPu &pu, const std::string &name)
{
    for (std::uint32_t n = 1; n <= pu.numberOfSymbols(); ++n)
        if (pu.symbol(n)->name() == name)
            return pu.symbol(n);
    return nullptr;
}

const QStringList empRecord = {"EMP-RECORD",   "EMP-ID",         "EMP-NAME",       "EMP-BIRTH-DATE",
                               "EMP-BIRTH-YY", "EMP-BIRTH-MM",   "EMP-BIRTH-DD",   "EMP-START",
                               "EMP-START-R",  "EMP-START-YY",   "EMP-START-MMDD", "EMP-DEPT",
                               "EMP-GRADE",    "EMP-SALARY",     "EMP-REVIEWED",   "EMP-DEPENDENTS",
                               "EMP-HISTORY",  "EMP-HIST-GRADE", "EMP-HIST-FROM",  "FILLER"};

/// A program named PAYRUN in another directory: a second unit with the sample's name.
const char *const otherPayrun = "       IDENTIFICATION DIVISION.\n"
                                "       PROGRAM-ID. PAYRUN.\n"
                                "       DATA DIVISION.\n"
                                "       WORKING-STORAGE SECTION.\n"
                                "       01  WS-RUN-YY PIC 99.\n"
                                "       PROCEDURE DIVISION.\n"
                                "           MOVE 99 TO WS-RUN-YY\n"
                                "           STOP RUN.\n";

} // namespace

class KelDetailsSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_units.recordSample("EMPAGE.cbl");
        m_units.recordSample("PAYRUN.cbl");
        m_units.recordText("other/PAYRUN.cbl", otherPayrun);
        // A unit recorded without an expanded source file, as a damaged run may leave one.
        DbUnitData bare;
        bare.header.name = "BARE";
        bare.header.sourceFile = (m_units.directory() / "BARE.cbl").string();
        bare.header.timeStamp = 1700000000;
        bare.nodes.push_back({});
        bare.treeRecords.push_back({0, "BARE", 0, 1});
        DbWriter::record(m_units.databasePath(), "PAYROLL", bare);
        DbEu &eu = m_units.open();
        QCOMPARE(eu.numberOfUnits(), std::size_t(4));
        m_empage = eu.puNamed("EMPAGE");
        QVERIFY(m_empage && m_empage->load());
        XIDialogAction::setDialogObjectText(QStringLiteral("PAYROLL EMPAGE"));
    }

    void detailsOpenOnTheItemsPageInsideItsRecord_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("page");
        QTest::newRow("the level-01 record") << "EMP-RECORD" << 1;
        QTest::newRow("a subordinate item") << "EMP-BIRTH-YY" << 5;
        QTest::newRow("below a REDEFINES") << "EMP-START-MMDD" << 11;
        QTest::newRow("the last item") << "FILLER" << 20;
    }
    void detailsOpenOnTheItemsPageInsideItsRecord()
    {
        QFETCH(QString, item);
        QFETCH(int, page);
        IFrameWindow owner;
        DbSymbol *symbol = symbolNamed(*m_empage, item.toStdString());
        QVERIFY(symbol);
        QPointer<KelDetailsView> details = new KelDetailsView(&owner, *symbol);
        XISettingsView *view = details->settingsView();
        QVERIFY(view && view->isVisible());
        QCOMPARE(view->windowTitle(), QStringLiteral("Data Item Details - PAYROLL EMPAGE"));
        QCOMPARE(tabTexts(*view), empRecord);
        QCOMPARE(details->symbolPage(), page);
        QCOMPARE(view->indexOf(view->currentPage()), page - 1);
        QCOMPARE(view->statusText(), QStringLiteral("Page %1 of 20").arg(page));
        QVERIFY(!view->page(page == 1 ? 1 : 0)->isPopulated()); // pages fill when shown
        view->close();
        QTRY_VERIFY(details.isNull()); // the view goes with its notebook
    }

    void aStandaloneItemGetsItsOwnPage()
    {
        QPointer<KelDetailsView> details = new KelDetailsView(nullptr,
                                                              *symbolNamed(*m_empage, "WS-AGE"));
        QCOMPARE(tabTexts(*details->settingsView()), QStringList({"WS-AGE"}));
        QCOMPARE(details->settingsView()->statusText(), QStringLiteral("Page 1 of 1"));
        delete details.data();
    }

    void detailRowsShowWhatTheDatabaseKnowsOfTheItem()
    {
        IFrameWindow owner;
        auto *details = new KelDetailsView(&owner, *symbolNamed(*m_empage, "EMP-BIRTH-YY"));
        const Rows year = rowsOf(details->settingsView()->currentPage());
        QCOMPARE(year,
                 Rows({{"Level:", "10"},
                       {"Name:", "EMP-BIRTH-YY OF EMP-BIRTH-DATE OF EMP-RECORD"},
                       {"Length:", "2"},
                       {"Picture:", "99"},
                       {"Group:", "   "},
                       {"Redefines:", "   "},
                       {"Date field:", " X "},
                       {"Usage:", "DISPLAY"},
                       {"Offset:", "26"},
                       {"Storage:", "WORKING-STORAGE"},
                       {"Declared in:", "EMPREC.cpy:10"}}));

        details->settingsView()->turnToPage(8); // EMP-START-R REDEFINES EMP-START
        const Rows redefines = rowsOf(details->settingsView()->currentPage());
        QCOMPARE(labelsOf(redefines),
                 QStringList({"Level:",
                              "Name:",
                              "Length:",
                              "Group:",
                              "Redefines:",
                              "Date field:",
                              "Usage:",
                              "Offset:",
                              "Storage:",
                              "Declared in:"})); // a group has no picture: no row
        QCOMPARE(valueOf(redefines, "Group:"), QStringLiteral(" X "));
        QCOMPARE(valueOf(redefines, "Redefines:"), QStringLiteral(" X "));

        details->settingsView()->turnToPage(16); // EMP-HISTORY OCCURS 3 TIMES
        QCOMPARE(valueOf(rowsOf(details->settingsView()->currentPage()), "Occurs:"),
                 QStringLiteral("3"));
    }

    void settingsRowsAreTheUnitsHeader()
    {
        DbPu *payrun = m_units.open().puNamed("PAYRUN");
        auto *settings = new KelSettingsView(nullptr, *payrun);
        XISettingsView *view = settings->settingsView();
        QCOMPARE(view->windowTitle(), QStringLiteral("Program Unit Settings - PAYROLL EMPAGE"));
        QCOMPARE(tabTexts(*view), QStringList({"PAYRUN"}));
        const QString expanded = QString::fromStdString(payrun->expandedSourceFileName());
        QVERIFY(expanded.endsWith(QStringLiteral("PAYRUN.xpd")));
        QCOMPARE(rowsOf(view->currentPage()),
                 Rows({{"Language Code:", "1"},
                       {"Expanded Source:", expanded},
                       {"Version:", QString::number(payrun->version())},
                       {"Release:", QString::number(payrun->release())},
                       {"Analyzed?:", "1"},
                       {"Linkable?:", "1"},
                       {"State:", "Analyzed"},
                       {"Time Stamp:", QString::number(payrun->timeStamp())},
                       {"Code Page:", "1208"}}));
        QVERIFY(view->minimumWidth() >= QFontMetrics(QApplication::font()).averageCharWidth() * 56);
        view->close();

        auto *bare = new KelSettingsView(nullptr, *m_units.open().puNamed("BARE"));
        const Rows bareRows = rowsOf(bare->settingsView()->currentPage());
        QVERIFY(!labelsOf(bareRows).contains("Expanded Source:")); // empty value: no row
        QCOMPARE(bareRows.size(), 8);
        QCOMPARE(valueOf(bareRows, "Time Stamp:"), QStringLiteral("1700000000"));
        bare->settingsView()->close();
    }

    void settingsOfAnExecutionUnitOpenOnTheUnitItWasOpenedOn()
    {
        DbEu &eu = m_units.open();
        DbPu *other = nullptr;
        for (DbPuEntryTable::Cursor c(eu.puEntryTable()); c.isValid(); c.setToNext())
            if (c.element().pu()->sourceFileName().find("/other/") != std::string::npos)
                other = c.element().pu();
        QVERIFY(other);

        auto *onOther = new KelSettingsView(nullptr, eu, other);
        XISettingsView *view = onOther->settingsView();
        QCOMPARE(tabTexts(*view), QStringList({"EMPAGE", "PAYRUN", "PAYRUN", "BARE"}));
        QCOMPARE(view->indexOf(view->currentPage()), 2); // the very unit, not the first PAYRUN
        view->close();

        // A unit of another execution unit: the page of the first unit with its name.
        const std::unique_ptr<DbEu> again = DbEu::open(m_units.databasePath());
        auto *named = new KelSettingsView(nullptr, eu, again->puNamed("PAYRUN"));
        QCOMPARE(named->settingsView()->indexOf(named->settingsView()->currentPage()), 1);
        named->settingsView()->close();

        auto *whole = new KelSettingsView(nullptr, eu);
        QCOMPARE(whole->settingsView()->indexOf(whole->settingsView()->currentPage()), 0);
        whole->settingsView()->close();
    }

    void theViewsCloseWithTheirOwner()
    {
        auto owner = std::make_unique<IFrameWindow>();
        QPointer<KelDetailsView> details = new KelDetailsView(owner.get(),
                                                              *symbolNamed(*m_empage, "EMP-ID"));
        QPointer<KelSettingsView> settings = new KelSettingsView(owner.get(), *m_empage);
        QPointer<XISettingsView> notebook = settings->settingsView();
        owner.reset();
        QVERIFY(details.isNull() && settings.isNull() && notebook.isNull());
    }

    void thePropertyWindowShowsTheUnitsFilesAndFindings()
    {
        DbPu *payrun = m_units.open().puNamed("PAYRUN");
        auto owner = std::make_unique<IFrameWindow>();
        QPointer<DbPuPropertyWindow> window = DbPuPropertyWindow::open(owner.get(), *payrun);
        QCOMPARE(DbPuPropertyWindow::open(owner.get(), *payrun), window.data());
        QCOMPARE(window->windowTitle(), QStringLiteral("Program Unit Properties - PAYRUN"));

        QStringList files;
        for (DbInputFileTable::Cursor c(payrun->inputFileTable()); c.isValid(); c.setToNext())
            files << QString::fromStdString(c.element().inputFile(*payrun));
        QListWidget *list = window->sourcePage()->fileList();
        QStringList shown;
        for (int row = 0; row < list->count(); ++row)
            shown << list->item(row)->text();
        QCOMPARE(shown, files);
        QVERIFY(shown.first().endsWith(QStringLiteral("samples/PAYRUN.cbl")));
        QVERIFY(shown.contains(RecordedUnits::samplesDirectory().string().c_str()
                               + QStringLiteral("/copybooks/PAYLIB/TAXTBL.cpy")));

        const Rows compiler = rowsOf(window->compilerPage());
        QCOMPARE(valueOf(compiler, "Dialect:"), QStringLiteral("ibm"));
        QCOMPARE(valueOf(compiler, "Copy libraries:"),
                 QStringLiteral("the default search path, PAYLIB"));
        QCOMPARE(valueOf(compiler, "COPY statements:"),
                 QString::number(payrun->includes().size() - 1));
        QCOMPARE(valueOf(compiler, "Compiled without errors:"), QStringLiteral("Yes"));

        int dateFields = 0, windowSites = 0;
        for (const DbMark &mark : payrun->marks())
            (mark.kind() == DbMark::dateField ? dateFields : windowSites) += 1;
        QVERIFY(dateFields > 0);
        const Rows analysis = rowsOf(window->analysisPage());
        QCOMPARE(valueOf(analysis, "Date fields found:"), QString::number(dateFields));
        QCOMPARE(valueOf(analysis, "Statements to window:"), QString::number(windowSites));
        QCOMPARE(valueOf(analysis, "Tokens:"), QString::number(payrun->numberOfTokens()));
        QCOMPARE(valueOf(analysis, "Data items:"), QString::number(payrun->numberOfSymbols()));

        QVERIFY(!window->observer()->dispatchNotificationEvent(
            DbPropertyObserver::NotificationId::changedId));
        QVERIFY(window->isVisible());
        owner.reset(); // the observer closes the window
        QTRY_VERIFY(window.isNull());
    }

    void aUnitThatCannotBeReadSaysWhyOnItsPages()
    {
        RecordedUnits gone("GONE");
        gone.recordSample("EMPAGE.cbl");
        DbPu *pu = gone.open().puNamed("EMPAGE");
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(QString::fromStdString(gone.databasePath()) + QLatin1String(suffix));
        DbPuPropertyWindow window(nullptr, *pu);
        QVERIFY(!window.sourcePage()->fileList());
        auto *reason = window.sourcePage()->findChild<QLabel *>(QStringLiteral("loadError"));
        QVERIFY(reason);
        QVERIFY2(reason->text().contains(QString::fromStdString(gone.databasePath())),
                 qPrintable(reason->text()));
        QCOMPARE(valueOf(rowsOf(window.compilerPage()), "Dialect:"), QStringLiteral("ibm"));
    }

    void theCompilerAndAnalysisPagesReadTheDatabasesTexts()
    {
        QCOMPARE(DbCompilerPageInfo::copyLibraries({"DEFAULT",
                                                    "LIB=PAYLIB",
                                                    "DEFAULT+R0A1B2C3D",
                                                    "LIB=PAYLIB+R00000001",
                                                    "LIB=OTHER"}),
                 QStringList({"the default search path", "PAYLIB", "OTHER"}));
        QCOMPARE(DbCompilerPageInfo::binaryLayout("IBM"),
                 QStringLiteral("2, 4 or 8 bytes by their digits"));
        QCOMPARE(DbCompilerPageInfo::binaryLayout("mf"),
                 QStringLiteral("the fewest bytes that hold their digits"));
        QCOMPARE(DbCompilerPageInfo::binaryLayout("cobol2014"),
                 QStringLiteral("1, 2, 4 or 8 bytes by their digits"));
        QCOMPARE(DbCompilerPageInfo::binaryLayout("unknown"), QString());

        const auto kinds = DbAnalysisPageInfo::dateFieldKinds(m_empage->marks());
        int total = 0;
        for (const auto &[kind, count] : kinds) {
            QVERIFY2(!kind.contains(QStringLiteral(" bytes")), qPrintable(kind));
            total += count;
        }
        int dateFields = 0;
        for (const DbMark &mark : m_empage->marks())
            dateFields += mark.kind() == DbMark::dateField ? 1 : 0;
        QCOMPARE(total, dateFields);
    }

private:
    TemporaryHome m_home;
    RecordedUnits m_units{"PAYROLL"};
    DbPu *m_empage = nullptr;
};

QTEST_MAIN(KelDetailsSettingsTest)
#include "KelDetailsSettingsTest.moc"
