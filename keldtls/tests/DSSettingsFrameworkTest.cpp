// The settings notebook framework on real offscreen notebooks: one notebook per opener, lazy
// pages, tab sizes, the page id counter, the cursor, sections and their status line, modal and
// modeless openers, and what happens when the opener or the owner goes away.
#include "CountingPage.h"
#include "DSFont.h"
#include "IFrameWindow.h"
#include "TemporaryHome.h"
#include "XIHelpWindow.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

int openNotebooks()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<DSSettingsView *>(widget) && widget->isVisible() ? 1 : 0;
    return count;
}

QStringList tabTexts(const DSSettingsView &view)
{
    QStringList texts;
    for (DSSettingsView::Cursor cursor(view); cursor.isValid(); cursor.setToNext())
        texts << cursor.element()->tabText();
    return texts;
}

} // namespace

class DSSettingsFrameworkTest : public QObject
{
    Q_OBJECT

private slots:
    void performingTwiceShowsOneNotebookAndBringsItForward()
    {
        IFrameWindow owner;
        auto *opener = new ListOpener(0x7023, 0x7003, &owner);
        opener->tabs = {QStringLiteral("Grapher"), QStringLiteral("Browser")};
        QVERIFY(opener->performAction());
        QPointer<DSSettingsView> first = opener->settingsView();
        QVERIFY(first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->viewText(), QStringLiteral("Preferences"));
        QCOMPARE(first->parent(), &owner);
        first->showMinimized();

        QVERIFY(opener->performAction());
        QCOMPARE(opener->settingsView(), first.data());
        QCOMPARE(opener->populateCount, 1);
        QVERIFY(!first->isMinimized());
        QCOMPARE(openNotebooks(), 1);

        first->close();
        QCOMPARE(opener->closedCount, 1);
        QVERIFY(!opener->settingsView());
        QTRY_VERIFY(first.isNull()); // a modeless notebook deletes itself
        opener->performAction();
        QVERIFY(opener->settingsView());
        QCOMPARE(opener->populateCount, 2);
        opener->settingsView()->close();
    }

    void aPageIsBuiltOnlyWhenFirstSelectedInAShownNotebook()
    {
        ListOpener opener(0x5000);
        opener.tabs = {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")};
        opener.performAction();
        DSSettingsView *view = opener.settingsView();
        QCOMPARE(opener.pages[0]->populated, 1); // the opener turns to the first page
        QVERIFY(!opener.pages[1]->isInitialized());
        QVERIFY(!opener.pages[1]->window());
        QCOMPARE(opener.pages[2]->populated, 0);

        view->turnToPage(opener.pages[2]->pageId());
        QCOMPARE(opener.pages[2]->populated, 1);
        QVERIFY(opener.pages[2]->window()->findChild<QCheckBox *>());
        view->turnToPage(opener.pages[0]->pageId());
        view->turnToPage(opener.pages[2]->pageId());
        QCOMPARE(opener.pages[2]->populated, 1);
        QCOMPARE(opener.pages[1]->populated, 0); // never selected: no controls
        QVERIFY(!opener.pages[1]->window());
        view->close();
    }

    void aNotebookNotYetShownFillsOnlyThePageItShowsFirst()
    {
        ListOpener opener(0x5000);
        DSSettingsView view(QStringLiteral("Hidden"), 1, nullptr, &opener);
        auto *first = new CountingPage(&view, DSSettingsPage::TabType::major, "A", 0, 0);
        auto *second = new CountingPage(&view, DSSettingsPage::TabType::major, "B", 1, 0);
        view.addLastPage(first);
        view.addLastPage(second);
        view.turnToPage(second->pageId());
        QCOMPARE(first->populated + second->populated, 0);
        view.show();
        QCOMPARE(first->populated, 0);
        QCOMPARE(second->populated, 1);
    }

    void tabsAreMeasuredFromTheirText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("latin") << QStringLiteral("Token Colours");
        QTest::newRow("double-byte") << QStringLiteral("設定");
    }
    void tabsAreMeasuredFromTheirText()
    {
        QFETCH(QString, text);
        const QFont font = DSFont::systemFont();
        const DSSettingsPage::PageId before = DSSettingsPage::peekNextId();
        const QSize size = DSSettingsView::tabTextDBCS(text, font);
        if (text.isEmpty()) {
            QCOMPARE(size, QSize(14, 6));
        } else if (text.front().unicode() < 0x100) {
            const QFontMetrics metrics(font);
            QCOMPARE(size, QSize(metrics.horizontalAdvance(text) + 14, metrics.height() + 6));
            QCOMPARE(DSSettingsPage::peekNextId(), before);
        } else {
            QLabel probe(text);
            probe.setFont(font);
            QCOMPARE(size, probe.sizeHint() + QSize(14, 6));
            QCOMPARE(DSSettingsPage::peekNextId(), before + 1); // the probe took an id
        }
    }

    void anEmptyTabStillGetsItsTabAndTheTabBarHonoursTheMeasure()
    {
        DSSettingsView view(QStringLiteral("Tabs"), 1, nullptr, nullptr);
        auto *empty = new CountingPage(&view, DSSettingsPage::TabType::major, QString(), 0, 0);
        auto *named = new CountingPage(&view, DSSettingsPage::TabType::major, "Browser", 1, 0);
        view.addLastPage(empty);
        view.addLastPage(named);
        view.show();
        QCOMPARE(empty->tabSize(), QSize(14, 6));
        QTabBar *bar = view.notebook()->tabBar();
        QCOMPARE(bar->count(), 2);
        QVERIFY(bar->tabRect(0).width() >= 14 && bar->tabRect(0).height() >= 6);
        QVERIFY(bar->tabRect(1).width() >= named->tabSize().width());

        named->setTabText(QStringLiteral("A much longer browser tab"));
        QCOMPARE(bar->tabText(1), QStringLiteral("A much longer browser tab"));
        QCOMPARE(named->tabSize(),
                 DSSettingsView::tabTextDBCS(named->tabText(), view.notebook()->font()));
    }

    void pageIdsComeFromOneCounter()
    {
        DSSettingsView view(QStringLiteral("Ids"), 1, nullptr, nullptr);
        const DSSettingsPage::PageId next = DSSettingsPage::peekNextId();
        auto *a = new CountingPage(&view, QStringLiteral("A"), 0, 0, 1);
        auto *b = new CountingPage(&view, QStringLiteral("B"), 0, 0, 2);
        QCOMPARE(a->pageId(), next);
        QCOMPARE(b->pageId(), next + 1);
        QCOMPARE(a->tabType(), DSSettingsPage::TabType::major); // first of its section
        QCOMPARE(b->tabType(), DSSettingsPage::TabType::minor);
        QCOMPARE(view.addLastPage(a), a->pageId());
        view.addLastPage(b);
        view.show();
        QCOMPARE(a->window()->objectName(), QStringLiteral("dspagewindow-%1").arg(a->pageId()));
    }

    void pagesGoWhereTheyAreAddedAndTheCursorWalksThem()
    {
        DSSettingsView view(QStringLiteral("Order"), 1, nullptr, nullptr);
        auto page = [&](const char *tab) {
            return new CountingPage(&view, DSSettingsPage::TabType::major, tab, 0, 0);
        };
        const auto b = view.addLastPage(page("B"));
        view.addFirstPage(page("A"));
        const auto d = view.addLastPage(page("D"));
        view.addPageBefore(page("C"), d);
        view.addPageAfter(page("E"), d);
        view.addPageBefore(page("Z"), 999999); // unknown page: last
        QCOMPARE(tabTexts(view).join(u','), QStringLiteral("A,B,C,D,E,Z"));
        QCOMPARE(view.notebook()->tabText(2), QStringLiteral("C"));

        DSSettingsView::Cursor cursor(view);
        QVERIFY(cursor.setToLast());
        QCOMPARE(cursor.element()->tabText(), QStringLiteral("Z"));
        DSSettingsView::Cursor copy = cursor;
        QVERIFY(copy == cursor);
        copy.setToPrevious();
        QVERIFY(!(copy == cursor));
        cursor = copy;
        QVERIFY(copy == cursor);

        QPointer<DSSettingsPage> removed = view.page(b);
        view.removePage(b);
        QVERIFY(removed.isNull());
        QVERIFY(cursor.setToFirst());
        view.removePage(cursor);
        QCOMPARE(tabTexts(view).join(u','), QStringLiteral("C,D,E,Z"));
        QCOMPARE(view.notebook()->count(), 4);
        view.removePage(12345678); // not in the notebook: nothing
        QCOMPARE(view.numberOfPages(), 4);
        delete view.pageAt(1); // deleted on its own: its tab goes too
        QCOMPARE(tabTexts(view).join(u','), QStringLiteral("C,E,Z"));
        QCOMPARE(view.notebook()->count(), 3);

        DSSettingsView empty(QStringLiteral("Empty"), 2, nullptr, nullptr);
        DSSettingsView::Cursor none(empty);
        QVERIFY(!none.isValid());
        QVERIFY(!none.setToFirst());
        QCOMPARE(none.current(), 0ul);
        QCOMPARE(empty.statusText(), QString());
    }

    void theStatusLineCountsPagesWithinTheirSection()
    {
        ListOpener opener(0x5000);
        opener.tabs = {QStringLiteral("Grapher"),
                       QStringLiteral("Browser"),
                       QStringLiteral("-Token Colours"),
                       QStringLiteral("-Fonts")};
        opener.performAction();
        DSSettingsView *view = opener.settingsView();
        QStringList lines;
        for (const QPointer<CountingPage> &page : opener.pages)
            lines << view->statusText(page->pageId());
        QCOMPARE(lines, QStringList({"Page 1 of 1", "Page 1 of 3", "Page 2 of 3", "Page 3 of 3"}));
        view->turnToPage(opener.pages[2]->pageId());
        QCOMPARE(view->statusText(), QStringLiteral("Page 2 of 3"));
        QCOMPARE(view->findChild<QLabel *>(QStringLiteral("status"))->text(),
                 QStringLiteral("Page 2 of 3"));
        opener.pages[2]->setStatusText(QStringLiteral("Colours of the source browser"));
        QCOMPARE(view->statusText(), QStringLiteral("Colours of the source browser"));
        view->removePage(opener.pages[3]->pageId());
        QCOMPARE(view->statusText(opener.pages[1]->pageId()), QStringLiteral("Page 1 of 2"));
        view->close();
    }

    void refreshingRemovesEveryPageAndAddsThemAgain()
    {
        ListOpener opener(0x5000);
        opener.tabs = {QStringLiteral("One"), QStringLiteral("Two")};
        opener.performAction();
        const QList<QPointer<CountingPage>> old = opener.pages;
        opener.tabs << QStringLiteral("Three");
        opener.refreshSettingsView();
        QVERIFY(old[0].isNull() && old[1].isNull());
        QCOMPARE(tabTexts(*opener.settingsView()).join(u','), QStringLiteral("One,Two,Three"));
        QCOMPARE(opener.settingsView()->currentPage(), opener.pages[0].data());
        QCOMPARE(opener.pages[0]->populated, 1);
        opener.settingsView()->close();
        opener.refreshSettingsView(); // closed: nothing to refresh
    }

    void aModalOpenerReturnsWhenTheNotebookClosesAndLeavesNothingBehind()
    {
        IFrameWindow owner;
        ListOpener opener(0x7023, 0x5000, &owner, DSOpenSettings::Modality::modal);
        opener.tabs = {QStringLiteral("Only")};
        QPointer<DSSettingsView> seen;
        bool wasModal = false;
        QTimer::singleShot(0, this, [&] {
            seen = opener.settingsView();
            wasModal = seen && seen->isVisible() && seen->isModal();
            seen->close();
        });
        QVERIFY(opener.performAction());
        QVERIFY(wasModal);
        QVERIFY(seen.isNull());
        QVERIFY(!opener.settingsView());
        QCOMPARE(opener.closedCount, 1);
    }

    void theOwnerClosingDuringAModalNotebookEndsItSafely()
    {
        auto owner = std::make_unique<IFrameWindow>();
        QPointer<ListOpener> opener = new ListOpener(0x5000,
                                                     owner.get(),
                                                     DSOpenSettings::Modality::modal);
        opener->tabs = {QStringLiteral("Only")};
        QTimer::singleShot(0, this, [&] { owner.reset(); });
        opener->performAction(); // returns once the owner (and the opener) are gone
        QVERIFY(opener.isNull());
        QCOMPARE(openNotebooks(), 0);
    }

    void notebooksGoWithTheirOwnerAndTheirOpener()
    {
        auto owner = std::make_unique<IFrameWindow>();
        auto *opener = new ListOpener(0x5000, owner.get());
        opener->tabs = {QStringLiteral("One")};
        opener->performAction();
        QPointer<DSSettingsView> view = opener->settingsView();
        owner.reset();
        QVERIFY(view.isNull());

        auto *orphan = new ListOpener(0x5001);
        orphan->tabs = {QStringLiteral("One")};
        orphan->performAction();
        QPointer<DSSettingsView> parentless = orphan->settingsView();
        QVERIFY(parentless && !parentless->parent());
        delete orphan; // closes its notebook
        QVERIFY(parentless.isNull());
    }

    void aNotebookKeepsTheMinimumSizeItsOpenerAsksFor()
    {
        ListOpener opener(0x5000);
        opener.tabs = {QStringLiteral("One")};
        opener.setMinimumSize(QSize(700, 500));
        opener.performAction();
        DSSettingsView *view = opener.settingsView();
        QVERIFY(view->minimumWidth() >= 700 && view->minimumHeight() >= 500);
        QVERIFY(view->width() >= 700 && view->height() >= 500);
        view->close();
    }

    void aPageWithHelpShowsTheHelpButton()
    {
        DSSettingsView view(QStringLiteral("Help"), 1, nullptr, nullptr);
        auto *plain = new CountingPage(&view, DSSettingsPage::TabType::major, "Plain", 0, 0);
        auto *helped = new CountingPage(&view, DSSettingsPage::TabType::major, "Helped", 1, 2301);
        view.addLastPage(plain);
        view.addLastPage(helped);
        view.show();
        auto *help = view.findChild<QPushButton *>(QStringLiteral("help"));
        QVERIFY(help && !help->isVisible());
        view.turnToPage(helped->pageId());
        QVERIFY(help->isVisible());
        help->click();
        XIHelpWindow *window = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<XIHelpWindow *>(widget))
                window = found;
        QVERIFY(window);
        QCOMPARE(window->page(), QStringLiteral("2301"));
        window->close();
    }

    void theSystemFontIsTheApplicationsAndIdsPickFixedFonts()
    {
        QCOMPARE(DSFont::systemFont(), QApplication::font());
        QCOMPARE(DSFont::fontFromId(DSFont::systemFontId), QApplication::font());
        QCOMPARE(DSFont::fontFromId(4711), QApplication::font());
        const QFont fixed = DSFont::fontFromId(DSFont::systemFixedFont);
        QCOMPARE(fixed, QFontDatabase::systemFont(QFontDatabase::FixedFont));
        QCOMPARE(DSFont::fontFromId(DSFont::ansiFixedFont), fixed);
        QCOMPARE(DSFont::fontFromId(DSFont::defaultGuiFont),
                 QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    }

private:
    TemporaryHome m_home;
};

QTEST_MAIN(DSSettingsFrameworkTest)
#include "DSSettingsFrameworkTest.moc"
