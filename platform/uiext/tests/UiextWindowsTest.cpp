#include "IFrameWindow.h"
#include "KelresrcResourceIds.h"
#include "XIAction.h"
#include "XIFindAndReplaceDialog.h"
#include "XIHelpIndex.h"
#include "XIHelpWindow.h"
#include "XIHoverHelpSelector.h"
#include "XIInfoArea.h"
#include "XIMenuDefinition.h"
#include "XIOpenSettings.h"
#include "XIProductInformation.h"
#include "XISettingsPage.h"
#include "XISettingsView.h"
#include "XIToolBar.h"
#include "XIUsingHelp.h"

#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

/// A page that counts how often it was filled and shows a few rows.
class CountingPage : public XISettingsPage
{
public:
    using XISettingsPage::XISettingsPage;
    int populated = 0;

protected:
    void populatePage() override
    {
        ++populated;
        addRow(QStringLiteral("Level:"), QStringLiteral("05"));
        addRow(QStringLiteral("Name:"), QStringLiteral("CUST-BIRTH-DATE OF CUSTOMER-RECORD"));
        addRow(QStringLiteral("Picture:"), QStringLiteral("9(6)"));
    }
};

/// An opener with three pages; `openOn` is the page it turns to.
class ThreePageOpener : public XIOpenSettings
{
public:
    using XIOpenSettings::XIOpenSettings;
    int openOn = 0;
    QList<CountingPage *> pages;
    int closedCount = 0;

protected:
    void populateSettingsView() override
    {
        pages.clear();
        for (const char *tab : {"CUSTOMER-RECORD", "CUST-ID", "CUST-BIRTH-DATE"}) {
            pages << new CountingPage(QString::fromLatin1(tab));
            settingsView()->addLastPage(pages.last());
        }
        settingsView()->turnToPage(openOn);
    }
    void settingsViewClosed() override
    {
        ++closedCount;
        XIOpenSettings::settingsViewClosed();
    }
};

/// Saves a grab of `widget` when CHRONEX_GRAB_DIR is set, and checks that it is not blank.
void checkGrab(QWidget *widget, const QString &name)
{
    QCoreApplication::processEvents(); // controls added to a shown window appear on the next turn
    const QImage image = widget->grab().toImage();
    QVERIFY(!image.isNull());
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    QVERIFY2(colours.size() > 3, qPrintable(name + QStringLiteral(" looks blank")));
    const QString dir = qEnvironmentVariable("CHRONEX_GRAB_DIR");
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace

/// Menus, tool bars, the info area, help, product information and settings notebooks as real
/// offscreen windows.
class UiextWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void aMenuDefinitionBuildsMenuBarsAndPopUps()
    {
        IFrameWindow frame;
        XIAction file(KelRes::fileMenu,
                      QStringLiteral("&File"),
                      QStringLiteral("File things"),
                      &frame);
        XIAction save(KelRes::savePlacementCommand, QStringLiteral("&Save Placement"), {}, &frame);
        XIAction close(KelRes::closeWindowCommand, QStringLiteral("&Close"), {}, &frame);
        XIAction options(KelRes::optionsMenu, QStringLiteral("&Options"), {}, &frame);
        XIAction coupling(KelRes::scrollCouplingMenu,
                          QStringLiteral("Scroll &Coupling"),
                          {},
                          &frame);
        auto gone = std::make_unique<XIAction>(0x6032, QStringLiteral("gone"), QString(), &frame);

        XIMenuDefinition menus(&frame);
        menus.addSubmenu(&file).addItem(&save).addSeparator().addItem(&close);
        menus.addSubmenu(&options).addSubmenu(&coupling).addItem(gone.get());
        gone.reset();
        menus.populate(frame.menuBar());

        const QList<QAction *> bar = frame.menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QStringLiteral("&File"));
        QCOMPARE(bar[0]->statusTip(), QStringLiteral("File things"));
        QMenu *fileMenu = bar[0]->menu();
        QCOMPARE(fileMenu->actions().size(), 3);
        QCOMPARE(fileMenu->actions()[0], &save);
        QVERIFY(fileMenu->actions()[1]->isSeparator());
        QMenu *couplingMenu = bar[1]->menu()->actions()[0]->menu();
        QCOMPARE(couplingMenu->title(), QStringLiteral("Scroll &Coupling"));
        QVERIFY(couplingMenu->actions().isEmpty()); // the destroyed action is left out

        file.setText(QStringLiteral("&Datei"));
        QCOMPARE(fileMenu->title(), QStringLiteral("&Datei"));

        QPointer<QMenu> popUp = menus.popUp(&frame, QPoint(10, 10));
        QVERIFY(popUp->isVisible());
        popUp->close();
        QTRY_VERIFY(popUp.isNull());
    }

    void toolBarsTakeIconsFromTheLibraryAndHonourHoverHelp()
    {
        IFrameWindow frame;
        XIToolBar toolBar(&frame, 1);
        XIAction withImage(KelRes::productIcon,
                           QStringLiteral("Product"),
                           QStringLiteral("Show the product"),
                           &frame);
        XIAction textOnly(KelRes::mapResetItemCommand,
                          QStringLiteral("Reset"),
                          QStringLiteral("Reset the item"),
                          &frame);
        toolBar.addItem(&withImage).addSeparatorItem().addItem(&textOnly);
        QVERIFY(!withImage.icon().isNull());
        QVERIFY(textOnly.icon().isNull());

        QWidget *button = toolBar.widgetForAction(&textOnly);
        QVERIFY(button);
        XIHoverHelpSelector *selector = XIHoverHelpSelector::hoverHelpSelector();
        QVERIFY(selector->isLatched());
        QHelpEvent on(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(button, &on);
        QVERIFY(on.isAccepted());
        selector->trigger(); // off
        QHelpEvent off(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        off.ignore();
        QVERIFY(QCoreApplication::sendEvent(button, &off)); // taken by the tool bar's filter
        QVERIFY(!off.isAccepted());
        selector->trigger(); // on again for the other tests
    }

    void theInfoAreaShowsFlyOversAndOtherwiseItsInactiveText()
    {
        IFrameWindow frame;
        XIInfoArea info(&frame);
        QCOMPARE(frame.statusBar(), &info);
        info.setInactiveText(QStringLiteral("PAYROLL PAY01"));
        QCOMPARE(info.currentText(), QStringLiteral("PAYROLL PAY01"));
        QStatusTipEvent tip(QStringLiteral("Save this window's placement"));
        QCoreApplication::sendEvent(&frame, &tip);
        QCOMPARE(info.currentText(), QStringLiteral("Save this window's placement"));
        QStatusTipEvent cleared{QString()};
        QCoreApplication::sendEvent(&frame, &cleared);
        QCOMPARE(info.currentText(), QStringLiteral("PAYROLL PAY01"));
        info.setBackgroundColor(Qt::yellow);
        QCOMPARE(info.palette().color(QPalette::Window), QColor(Qt::yellow));
    }

    void helpActionsShowTheHelpWindowOrSayWhereHelpIsMissing()
    {
        IFrameWindow frame;
        XIHelpWindow::setApplicationLibrary(QStringLiteral("no-such-help"));
        XIHelpIndex index(0x8006, &frame, KelRes::helpWindowTitle, KelRes::helpIndexText);
        QCOMPARE(index.text(), QStringLiteral("Help &Index"));
        QVERIFY(index.performAction());
        XIHelpWindow *window = XIHelpWindow::showHelp(QStringLiteral("no-such-help"),
                                                      QStringLiteral("index"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Help"));
        QVERIFY(window->isShowingMissingHelp());
        QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("no-such-help")));

        XIUsingHelp usingHelp(0x8006,
                              &frame,
                              KelRes::helpWindowTitle,
                              KelRes::usingHelpText,
                              KelRes::usingHelpPanel);
        QVERIFY(usingHelp.performAction());
        XIHelpWindow *own = XIHelpWindow::showHelp(QStringLiteral("kelae20w"),
                                                   QStringLiteral("using-help"),
                                                   QStringLiteral("Using Help"));
        QVERIFY(!own->isShowingMissingHelp());
        QVERIFY(own->browser()->toPlainText().contains(QStringLiteral("Back")));
        checkGrab(own, QStringLiteral("help-window"));
        QCOMPARE(XIHelpWindow::showHelp(QStringLiteral("kelae20w"), QStringLiteral("index")),
                 own); // one window per library
        QVERIFY(!own->isShowingMissingHelp());
        own->close();
        window->close();
    }

    void productInformationShowsOneWindowWithTheLibrarysTexts()
    {
        IFrameWindow frame;
        XIProductInformation information(KelRes::productInformationTitle,
                                         KelRes::productName,
                                         KelRes::productDescription,
                                         KelRes::productIcon,
                                         &frame);
        QCOMPARE(information.text(), QStringLiteral("Product &Information"));
        information.trigger();
        QMessageBox *box = information.informationWindow();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowTitle(), QStringLiteral("Product Information"));
        QCOMPARE(box->text(), QStringLiteral("Chronex Analysis Views"));
        QVERIFY(box->informativeText().startsWith(QStringLiteral("Version 0.1.0")));
        QVERIFY(!box->iconPixmap().isNull());
        information.trigger();
        QCOMPARE(information.informationWindow(), box);
        checkGrab(box, QStringLiteral("product-information"));
        box->close();
        QTRY_VERIFY(!information.informationWindow());
    }

    void aSettingsNotebookOpensOnceAndFillsOnlyThePagesShown()
    {
        IFrameWindow owner;
        ThreePageOpener opener(KelRes::detailsCommand,
                               0x5000,
                               &owner,
                               XIOpenSettings::Modality::Modeless,
                               QStringLiteral("Data Item Details"));
        opener.openOn = 2;
        QVERIFY(opener.performAction());
        XISettingsView *view = opener.settingsView();
        QVERIFY(view && view->isVisible());
        QCOMPARE(view->windowTitle(), QStringLiteral("Data Item Details"));
        QCOMPARE(view->pageCount(), 3);
        QCOMPARE(view->currentPage(), opener.pages[2]);
        QCOMPARE(view->statusText(), QStringLiteral("Page 3 of 3"));
        QCOMPARE(opener.pages[0]->populated, 0); // never shown, never built
        QCOMPARE(opener.pages[2]->populated, 1);

        QVERIFY(opener.performAction()); // brought forward, not made again
        QCOMPARE(opener.settingsView(), view);
        view->turnToPage(opener.pages[0]);
        view->turnToPage(2);
        QCOMPARE(opener.pages[0]->populated, 1);
        QCOMPARE(opener.pages[2]->populated, 1);

        opener.pages[1]->setTabText(QStringLiteral("CUST-NO"));
        QCOMPARE(view->notebook()->tabText(1), QStringLiteral("CUST-NO"));
        auto *extra = new CountingPage(QStringLiteral("FIRST"));
        view->addPageBefore(extra, opener.pages[0]);
        QCOMPARE(view->indexOf(extra), 0);
        view->removePage(extra);
        QCOMPARE(view->pageCount(), 3);

        view->resize(view->minimumSizeHint());
        checkGrab(view, QStringLiteral("settings-notebook-minimum"));
        view->resize(520, 360);
        checkGrab(view, QStringLiteral("settings-notebook"));

        QPointer<XISettingsView> watched = view;
        view->close();
        QCOMPARE(opener.closedCount, 1);
        QCOMPARE(opener.settingsView(), nullptr);
        QTRY_VERIFY(watched.isNull());
    }

    void aModalNotebookIsGoneWhenItReturnsAndAnOwnersNotebookDiesWithIt()
    {
        auto owner = std::make_unique<IFrameWindow>();
        // Openers belong to their owner window, as a view's actions do.
        auto *modal = new ThreePageOpener(KelRes::preferencesCommand,
                                          0x7003,
                                          owner.get(),
                                          XIOpenSettings::Modality::Modal);
        QTimer::singleShot(0, this, [] {
            if (auto *view = qobject_cast<XISettingsView *>(QApplication::activeModalWidget()))
                view->reject();
        });
        QVERIFY(modal->performAction());
        QCOMPARE(modal->settingsView(), nullptr);
        QCOMPARE(modal->closedCount, 1);

        auto *modeless = new ThreePageOpener(KelRes::detailsCommand, 0x5000, owner.get());
        modeless->performAction();
        QPointer<XISettingsView> view = modeless->settingsView();
        QVERIFY(view);
        owner.reset();
        QVERIFY(view.isNull());
    }

    void theFindDialogReportsTextAndOptionsAndMatchesAlike()
    {
        IFrameWindow owner;
        XIFindAndReplaceDialog find(&owner);
        QList<std::pair<QString, unsigned>> requests;
        connect(&find,
                &XIFindAndReplaceDialog::findNext,
                this,
                [&](const QString &text, unsigned options) {
                    requests.append({text, options});
                });
        find.setFindText(QStringLiteral("cust-birth-date"));
        find.setOptions(XIFindAndReplaceDialog::WholeWords);
        auto *next = find.findChild<QPushButton *>();
        QVERIFY(next && next->isEnabled());
        next->click();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().first, QStringLiteral("cust-birth-date"));
        QCOMPARE(requests.first().second, unsigned(XIFindAndReplaceDialog::WholeWords));
        find.setFindText({});
        QVERIFY(!next->isEnabled());

        using F = XIFindAndReplaceDialog;
        QVERIFY(F::matches(QStringLiteral("05 CUST-BIRTH-DATE PIC 9(6)."),
                           QStringLiteral("cust-birth-date"),
                           F::WholeWords));
        QVERIFY(!F::matches(QStringLiteral("CUST-BIRTH-DATE-X"),
                            QStringLiteral("CUST-BIRTH-DATE"),
                            F::WholeWords));
        QVERIFY(F::matches(QStringLiteral("CUST-BIRTH-DATE-X CUST-BIRTH-DATE"),
                           QStringLiteral("CUST-BIRTH-DATE"),
                           F::WholeWords));
        QVERIFY(!F::matches(QStringLiteral("cust-id"), QStringLiteral("CUST"), F::MatchCase));
        QVERIFY(F::matches(QStringLiteral("cust-id"), QStringLiteral("CUST"), 0));
        QVERIFY(!F::matches(QStringLiteral("anything"), QString(), 0));

        XIFindAndReplaceDialog replace(&owner, XIFindAndReplaceDialog::Form::FindAndReplace);
        replace.setFindText(QStringLiteral("WS-YY"));
        replace.show();
        checkGrab(&replace, QStringLiteral("find-and-replace"));
        find.setFindText(QStringLiteral("CUST-ID"));
        find.show();
        find.resize(find.minimumSizeHint());
        checkGrab(&find, QStringLiteral("find-minimum"));
    }

    void aTypicalFrameLooksComplete()
    {
        IFrameWindow frame(KelRes::desktopFrame);
        XIAction file(KelRes::fileMenu, {}, {}, &frame);
        file.setTextsFromResources(KelRes::fileMenu, KelRes::flyOverFor(KelRes::fileMenu));
        XIAction save(KelRes::savePlacementCommand, {}, {}, &frame);
        save.setTextsFromResources(KelRes::savePlacementCommand,
                                   KelRes::flyOverFor(KelRes::savePlacementCommand));
        XIProductInformation information(KelRes::productInformationTitle,
                                         KelRes::productName,
                                         KelRes::productDescription,
                                         KelRes::productIcon,
                                         &frame);
        XIMenuDefinition menus(&frame);
        menus.addSubmenu(&file).addItem(&save);
        menus.populate(frame.menuBar());
        XIToolBar toolBar(&frame);
        toolBar.addItem(&save)
            .addItem(&information)
            .addItem(XIHoverHelpSelector::hoverHelpSelector());
        XIInfoArea info(&frame);
        info.setInactiveText(QStringLiteral("PAYROLL: 8 program units"));
        auto *client = new QLabel(QStringLiteral("client area"), &frame);
        client->setAlignment(Qt::AlignCenter);
        frame.setCentralWidget(client);
        frame.show();
        frame.resize(frame.minimumSizeHint());
        checkGrab(&frame, QStringLiteral("frame-minimum"));
        frame.resize(640, 400);
        checkGrab(&frame, QStringLiteral("frame"));
    }
};

QTEST_MAIN(UiextWindowsTest)
#include "UiextWindowsTest.moc"
