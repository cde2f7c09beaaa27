// The source browser and the other host windows on the sample PAYRUN, recorded for real: find,
// the findings, declarations, the find event of the other views, and pictures of every host
// window at its minimum and a typical size.

#include "KelBrowser.h"
#include "DbEu.h"
#include "DbNode.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "HostRequests.h"
#include "HostWindows.h"
#include "IEventTypes.h"
#include "IWindowHandle.h"
#include "KelDesktop.h"
#include "KelListWindow.h"
#include "KelTreeWindow.h"
#include "RecordedUnits.h"
#include "SourceDocument.h"
#include "StartWindowData.h"
#include "TemporaryHome.h"
#include "WidgetGrab.h"
#include "XIFindAndReplaceDialog.h"

#include <QTest>

namespace {

QString lineText(const KelBrowser &browser, std::uint32_t line)
{
    return QString::fromStdString(browser.document().text(line));
}

} // namespace

class KelBrowserTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TemporaryHome> m_home;
    std::unique_ptr<RecordedUnits> m_units;
    std::unique_ptr<KelDesktop> m_desktop;
    DbPu *m_payrun = nullptr;
    std::unique_ptr<KelBrowser> m_browser;

private slots:
    void initTestCase()
    {
        m_home = std::make_unique<TemporaryHome>();
        m_units = std::make_unique<RecordedUnits>("SAMPLES");
        m_units->recordSample("PAYRUN.cbl");
        DbEu &eu = m_units->open();
        m_payrun = eu.puNamed("PAYRUN");
        QVERIFY(m_payrun && m_payrun->load());
        m_desktop = std::make_unique<KelDesktop>();
        m_desktop->loadEuData(&eu);
        m_browser = std::make_unique<KelBrowser>(
            StartWindowData(StartWindowData::browser, m_payrun, "PAYRUN"));
        m_browser->resize(900, 600);
        m_browser->show();
    }

    void cleanupTestCase()
    {
        m_browser.reset();
        m_desktop.reset();
        StartWindowData::clearEu();
        m_units.reset();
    }

    void findWalksTheMatchesAndWrapsRound_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<unsigned>("options");
        QTest::addColumn<int>("matches"); ///< distinct places before it comes round again
        QTest::addColumn<bool>("token");  ///< a match is a whole token, selected as such
        QTest::newRow("a data name") << "WS-CUR-YY" << 0u << 3 << true;
        QTest::newRow("any case") << "ws-cur-yy" << 0u << 3 << true;
        QTest::newRow("match case")
            << "ws-cur-yy" << unsigned(XIFindAndReplaceDialog::MatchCase) << 0 << false;
        QTest::newRow("backward") << "WS-CUR-YY" << unsigned(XIFindAndReplaceDialog::Backward) << 3
                                  << true;
        // EMP-START also begins EMP-START-YY, EMP-START-R and EMP-START-MMDD; whole words leave
        // those out.
        QTest::newRow("whole words")
            << "EMP-START" << unsigned(XIFindAndReplaceDialog::WholeWords) << 2 << true;
        // Inside one token: the range is selected, and the token with it (Show Data Map works).
        QTest::newRow("part of a token") << "START-Y" << 0u << 2 << true;
        // Across two tokens: a range only.
        QTest::newRow("across tokens") << "ASSIGN TO" << 0u << 2 << false;
        QTest::newRow("absent") << "NO-SUCH-NAME" << 0u << 0 << false;
    }

    void findWalksTheMatchesAndWrapsRound()
    {
        QFETCH(QString, text);
        QFETCH(unsigned, options);
        QFETCH(int, matches);
        QFETCH(bool, token);
        KelBrowser &browser = *m_browser;
        if (matches == 0) {
            QVERIFY(!browser.runFind(text, options, true));
            return;
        }
        QVERIFY(browser.runFind(text, options, true));
        QList<QPair<std::uint32_t, std::uint32_t>> seen;
        for (int i = 0; i <= matches; ++i) {
            const SourceView::Selection selection = browser.sourceView()->selection();
            QVERIFY(lineText(browser, selection.line)
                        .mid(selection.column - 1, selection.length)
                        .compare(text, Qt::CaseInsensitive)
                    == 0);
            QCOMPARE(selection.token != 0, token);
            seen.append({selection.line, selection.column});
            QVERIFY(browser.findNext());
        }
        // After `matches` steps the search is back at the first match.
        QCOMPARE(seen.size(), matches + 1);
        QCOMPARE(seen.last(), seen.first());
        QCOMPARE(QSet(seen.begin(), seen.end()).size(), matches);
        const bool backward = options & XIFindAndReplaceDialog::Backward;
        if (matches > 1)
            QCOMPARE(seen.at(1).first > seen.at(0).first, !backward);
    }

    void findingsAreVisitedInOrderBothWays()
    {
        KelBrowser &browser = *m_browser;
        const SourceDocument &document = browser.document();
        browser.sourceView()->clearSelection();
        QVERIFY(browser.nextFinding(true));
        const std::uint32_t first = browser.sourceView()->selection().line;
        QCOMPARE(first, document.nextMarkedLine(0, true));
        QVERIFY(browser.nextFinding(true));
        QVERIFY(browser.sourceView()->selection().line > first);
        QVERIFY(browser.nextFinding(false));
        QCOMPARE(browser.sourceView()->selection().line, first);
        // Backward from the first finding wraps to the last.
        QVERIFY(browser.nextFinding(false));
        QCOMPARE(browser.sourceView()->selection().line, document.nextMarkedLine(first, false));
    }

    void findDeclarationGoesToTheItemTheParagraphOrTheCopybook()
    {
        KelBrowser &browser = *m_browser;
        const DbPu &pu = *m_payrun;
        const auto lastNamed = [&](const std::string &text, DbToken::Type type) {
            std::uint32_t found = 0;
            for (std::uint32_t n = 1; n <= pu.numberOfTokens(); ++n)
                if (pu.numberToToken(n)->text() == text && pu.numberToToken(n)->type() == type)
                    found = n;
            return found;
        };
        // A data name used in the procedure division: its declaration in EMPREC.
        QVERIFY(browser.showToken(lastNamed("EMP-SALARY", DbToken::dataName)));
        QVERIFY(browser.findDeclaration());
        const DbToken *declared = browser.selectedToken();
        QVERIFY(declared && declared->dataSymbol());
        QCOMPARE(declared->dataSymbol()->declaringToken(), declared);
        QCOMPARE(QString::fromStdString(browser.document().placeOf(declared->expandedLine()))
                     .section(u' ', 0, 0),
                 QStringLiteral("EMPREC.cpy"));

        // PERFORM READ-EMPLOYEE (the first use of the name): the paragraph, further down.
        std::uint32_t performed = 0;
        for (std::uint32_t n = 1; n <= pu.numberOfTokens() && !performed; ++n)
            if (pu.numberToToken(n)->text() == "READ-EMPLOYEE")
                performed = n;
        QVERIFY(browser.showToken(performed));
        const std::uint32_t performLine = browser.sourceView()->selection().line;
        QVERIFY(browser.findDeclaration());
        QVERIFY(browser.sourceView()->selection().line > performLine);
        QCOMPARE(lineText(browser, browser.sourceView()->selection().line).trimmed(),
                 QStringLiteral("READ-EMPLOYEE."));

        // COPY DATEWS: the copybook's first line.
        std::uint32_t copy = 0;
        for (std::uint32_t n = 1; n < pu.numberOfTokens() && !copy; ++n)
            if (pu.numberToToken(n)->type() == DbToken::copyStatement
                && pu.numberToToken(n + 1)->text().starts_with("DATEWS"))
                copy = n;
        QVERIFY(browser.showToken(copy));
        QVERIFY(browser.findDeclaration());
        const SourceDocument::Line &line = browser.document().line(
            browser.sourceView()->selection().line);
        QCOMPARE(browser.document().copybookName(line.include), std::string("DATEWS"));
    }

    void theFindEventOfAnotherViewSelectsTheTokenAskedFor()
    {
        KelBrowser &browser = *m_browser;
        const DbPu &pu = *m_payrun;
        std::uint32_t wanted = 0;
        for (std::uint32_t n = pu.numberOfTokens(); n >= 1 && !wanted; --n)
            if (pu.numberToToken(n)->text() == "WS-TAX")
                wanted = n;
        const DbToken *token = pu.numberToToken(wanted);
        const std::uint32_t unit = browser.puNumber();
        const std::uint32_t node = pu.nodeToNumber(pu.tokenToNode(token));
        // The query names the token; the find event then names its node.
        QCOMPARE(browser.windowHandle().sendEvent(IEventTypes::canShowQuery, wanted, unit), 1);
        QCOMPARE(browser.windowHandle().sendEvent(IEventTypes::canShowQuery, wanted, unit + 7), 0);
        browser.windowHandle().postEvent(IEventTypes::findInSource, node, unit);
        QTRY_COMPARE(browser.sourceView()->selection().token, wanted);
        // Without a query first: the node's first token.
        browser.windowHandle().postEvent(IEventTypes::findInSource, node, unit);
        QTRY_COMPARE(browser.selectedToken(), pu.numberToNode(node)->firstToken());
    }

    void everyHostWindowPaintsAtItsMinimumAndATypicalSize()
    {
        HostWindows factory;
        m_desktop->setKelWindowStart(&factory);
        const QList<QPair<char, std::uint32_t>> requests
            = {{StartWindowData::listViews, HostRequests::symbolsUsed},
               {StartWindowData::listViews, HostRequests::relatedPrograms},
               {StartWindowData::listViews, HostRequests::relatedMembers},
               {HostRequests::treeKind, 0},
               {StartWindowData::grapher, 0}};
        QList<QWidget *> windows{m_browser.get()};
        for (const auto &[kind, list] : requests) {
            StartWindowData request(kind, m_payrun, "PAYRUN");
            request.word1 = list;
            factory.startWindow(&request);
            QVERIFY(factory.lastStarted());
            windows.append(factory.lastStarted());
        }
        for (QWidget *window : std::as_const(windows)) {
            const QString name = HostWindows::grabName(window);
            window->resize(window->minimumSizeHint().expandedTo(window->minimumSize()));
            QVERIFY2(WidgetGrab::check(window, name + QStringLiteral("-minimum")),
                     qPrintable(name));
            window->resize(900, 620);
            QVERIFY2(WidgetGrab::check(window, name + QStringLiteral("-typical")),
                     qPrintable(name));
        }
        for (QWidget *window : factory.windows())
            delete window;
        m_desktop->setKelWindowStart(nullptr);
    }
};

QTEST_MAIN(KelBrowserTest)
#include "KelBrowserTest.moc"
