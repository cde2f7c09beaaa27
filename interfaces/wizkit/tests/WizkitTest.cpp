#include "EAnimation.h"
#include "EMessageBox.h"
#include "EStaticText.h"
#include "EWizard.h"
#include "EWizardChapter.h"
#include "EWizardPanelError.h"
#include "GenericFileDialog.h"
#include "GenericScreenPanel.h"
#include "HelpViewer.h"
#include "KitMarkup.h"
#include "ModalAnswerer.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <QPushButton>
#include <QTest>
#include <stdexcept>

namespace {

/// A panel that records what the wizard does with it and answers next-checks from a script.
class RecordingPanel : public GenericScreenPanel
{
public:
    RecordingPanel(const QString &name, QStringList &log)
        : GenericScreenPanel(name)
        , m_log(log)
    {}

    QList<unsigned short> checkResults; // consumed one per next-check; empty: go on
    bool throwOnCheck = false;
    QList<int> pressedButtons;
    std::string firstValue;
    QString secondValue;

    void buildPanel(QWidget *parent, unsigned long controlId) override
    {
        m_log << name() + QStringLiteral(" build");
        GenericScreenPanel::buildPanel(parent, controlId);
    }
    void destroyPanel() override
    {
        m_log << name() + QStringLiteral(" destroy");
        GenericScreenPanel::destroyPanel();
    }
    void gather() override
    {
        m_log << name() + QStringLiteral(" gather");
        GenericScreenPanel::gather();
    }
    unsigned short nextCheck() override
    {
        m_log << name() + QStringLiteral(" check");
        if (throwOnCheck)
            throw std::runtime_error("Cannot read /x/seed.xsd: permission denied.");
        return checkResults.isEmpty() ? nextPanel : checkResults.takeFirst();
    }

protected:
    void buttonPressed(int number) override { pressedButtons << number; }

private:
    QStringList &m_log;
};

/// Three single-panel chapters; the last panel ends the wizard.
struct ThreePanelWizard
{
    QStringList log;
    RecordingPanel first{QStringLiteral("first"), log};
    RecordingPanel second{QStringLiteral("second"), log};
    RecordingPanel third{QStringLiteral("third"), log};
    EWizardChapter chapters[3];
    EWizard wizard;

    ThreePanelWizard()
    {
        first.addLine(QStringLiteral("<b>Welcome</b>"));
        first.addEntryFieldWithButton(QStringLiteral("Seed file:"), first.firstValue, "Browse");
        first.addEntryFieldWithButton(QStringLiteral("Output:"), first.secondValue, "Browse");
        chapters[0].addPanel(EWizardChapter::morePanels, first);
        chapters[1].addPanel(EWizardChapter::morePanels, second);
        chapters[2].addPanel(EWizardChapter::lastPanel, third);
        for (EWizardChapter &chapter : chapters)
            wizard.addChapterAsLast(chapter);
        wizard.setTitle(QStringLiteral("<b>Test Wizard"));
    }
};

} // namespace

class WizkitTest : public QObject
{
    Q_OBJECT

private slots:
    void markupBecomesEscapedRichText_data();
    void markupBecomesEscapedRichText();
    void markupIsRemovedForPlainText();

    void finishAfterWalkingAllPanels();
    void cancelAndCloseReturnTrueAndDestroyThePanel_data();
    void cancelAndCloseReturnTrueAndDestroyThePanel();
    void stayKeepsTheUserOnThePanelWithoutRebuilding();
    void backGathersAndRebuildsThePreviousPanel();
    void nextCheckCanJumpToAPanelById();
    void anErrorInAPanelIsShownAndKeepsTheUserThere();
    void initTestCase();
    void helpWithoutAHelpFileSaysSo();
    void helpShowsThePanelsPageInOneViewerBesideTheWizard();
    void focusGoesToThePanelsFirstFieldOrToFinish();
    void entryFieldsBindStringsAndButtonsAreNumbered();
    void buttonLabelsComeFromTheResourceLibrary();

    void messageBoxReturnsThePressedButton_data();
    void messageBoxReturnsThePressedButton();
    void panelErrorShowsItsTextInAnErrorBox();
    void fileTypeIsShownWithItsPattern();
    void animationCyclesThroughItsBitmaps();
    void screenshots();
};

void WizkitTest::markupBecomesEscapedRichText_data()
{
    QTest::addColumn<QString>("markup");
    QTest::addColumn<QString>("html");
    QTest::newRow("plain") << "Hello"
                           << "Hello";
    QTest::newRow("bold, upper case tag") << "<B>Look in:"
                                          << "<b>Look in:</b>";
    QTest::newRow("italic and underline closed") << "<i>a</i><u>b</u>c"
                                                 << "<i>a</i><u>b</u>c";
    QTest::newRow("colour and size as the summary lines use them")
        << "<size=12>Seed: <color=black>/a<b>.xsd</color></size>"
        << "<span style=\"font-size:12pt\">Seed: <span style=\"color:#000000\">/a<b>.xsd</b>"
           "</span><b></b></span><b></b>";
    QTest::newRow("stray closing tags are dropped") << "x</color></size>"
                                                    << "x";
    QTest::newRow("unknown tags stay text") << "<script>alert(1)</script>"
                                            << "&lt;script&gt;alert(1)&lt;/script&gt;";
    QTest::newRow("html entities stay text") << "a &amp; b"
                                             << "a &amp;amp; b";
    QTest::newRow("stray angle brackets") << "a < b > c"
                                          << "a &lt; b &gt; c";
    QTest::newRow("unterminated tag") << "<b"
                                      << "&lt;b";
    QTest::newRow("invalid colour is text") << "<color=nosuch>x"
                                            << "&lt;color=nosuch&gt;x";
    QTest::newRow("invalid size is text") << "<size=x>y"
                                          << "&lt;size=x&gt;y";
    QTest::newRow("blank runs and line breaks kept") << " a  b\nc"
                                                     << "&nbsp;a &nbsp;b<br/>c";
    QTest::newRow("quotes escaped") << "\"q\""
                                    << "&quot;q&quot;";
    QTest::newRow("misnested tags stay nested") << "<b>1<i>2</b>3</i>"
                                                << "<b>1<i>2</i></b><i>3</i>";
}

void WizkitTest::markupBecomesEscapedRichText()
{
    QFETCH(QString, markup);
    QFETCH(QString, html);
    QCOMPARE(KitMarkup::toRichText(markup), html);
}

void WizkitTest::markupIsRemovedForPlainText()
{
    QCOMPARE(KitMarkup::toPlainText("<b>&Next></b>"), QStringLiteral("&Next>"));
    QCOMPARE(KitMarkup::toPlainText("<&Back"), QStringLiteral("<&Back"));
    QCOMPARE(KitMarkup::toPlainText("<size=10>a<unknown>b"), QStringLiteral("a<unknown>b"));

    EStaticText text(QStringLiteral("<b>1 < 2</b>"), nullptr);
    QCOMPARE(text.markup(), QStringLiteral("<b>1 < 2</b>"));
    QCOMPARE(text.textFormat(), Qt::RichText);
    QCOMPARE(text.text(), QStringLiteral("<b>1 &lt; 2</b>"));
}

void WizkitTest::finishAfterWalkingAllPanels()
{
    ThreePanelWizard w;
    ModalAnswerer answerer;
    QStringList buttonStates;
    answerer.answer<EWizard>([&](QWidget *) {
        buttonStates << QStringLiteral("back=%1 next=%2 finish=%3")
                            .arg(w.wizard.backButton()->isEnabled())
                            .arg(w.wizard.nextButton()->isEnabled())
                            .arg(w.wizard.finishButton()->isEnabled());
        w.wizard.nextButton()->click();
        w.wizard.nextButton()->click();
        buttonStates << QStringLiteral("back=%1 next=%2 finish=%3")
                            .arg(w.wizard.backButton()->isEnabled())
                            .arg(w.wizard.nextButton()->isEnabled())
                            .arg(w.wizard.finishButton()->isEnabled());
        w.wizard.finishButton()->click();
    });
    QCOMPARE(w.wizard.beginWizard(), false);
    QVERIFY(answerer.allAnswered());
    QCOMPARE(buttonStates, QStringList({"back=0 next=1 finish=0", "back=1 next=0 finish=1"}));
    QCOMPARE(w.log,
             QStringList({"first build",
                          "first gather",
                          "first check",
                          "first destroy",
                          "second build",
                          "second gather",
                          "second check",
                          "second destroy",
                          "third build",
                          "third gather",
                          "third check",
                          "third destroy"}));
    QCOMPARE(w.wizard.currentPanel(), nullptr);
    QVERIFY(!w.third.isBuilt());
}

void WizkitTest::cancelAndCloseReturnTrueAndDestroyThePanel_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Cancel button") << 0;
    QTest::newRow("Escape key") << 1;
    QTest::newRow("window closed") << 2;
}

void WizkitTest::cancelAndCloseReturnTrueAndDestroyThePanel()
{
    QFETCH(int, way);
    ThreePanelWizard w;
    ModalAnswerer answerer;
    answerer.answer<EWizard>([&](QWidget *) {
        w.wizard.nextButton()->click();
        if (way == 0)
            w.wizard.cancelButton()->click();
        else if (way == 1)
            QTest::keyClick(&w.wizard, Qt::Key_Escape);
        else
            w.wizard.close();
    });
    QCOMPARE(w.wizard.beginWizard(), true);
    QCOMPARE(w.log.last(), QStringLiteral("second destroy"));
    QVERIFY(!w.log.contains("second check"));
    QVERIFY(!w.second.isBuilt());
}

void WizkitTest::stayKeepsTheUserOnThePanelWithoutRebuilding()
{
    ThreePanelWizard w;
    w.first.checkResults = {EWizardPanel::stayOnPanel, EWizardPanel::stayOnPanel};
    ModalAnswerer answerer;
    EWizardPanel *afterStay = nullptr;
    answerer.answer<EWizard>([&](QWidget *) {
        w.wizard.nextButton()->click();
        w.wizard.nextButton()->click();
        afterStay = w.wizard.currentPanel();
        w.wizard.nextButton()->click();
        w.wizard.cancelButton()->click();
    });
    QCOMPARE(w.wizard.beginWizard(), true);
    QCOMPARE(afterStay, &w.first);
    QCOMPARE(w.log.count("first build"), 1);
    QCOMPARE(w.log.count("first check"), 3);
    QCOMPARE(w.log.count("second build"), 1);
}

void WizkitTest::backGathersAndRebuildsThePreviousPanel()
{
    ThreePanelWizard w;
    ModalAnswerer answerer;
    QString shownAfterReturn;
    answerer.answer<EWizard>([&](QWidget *) {
        w.wizard.nextButton()->click();
        w.wizard.backButton()->click();
        QLineEdit *field = w.first.entryField(2);
        field->setText(QStringLiteral("/typed/before/back"));
        w.wizard.nextButton()->click();
        w.wizard.backButton()->click();
        shownAfterReturn = w.first.entryField(2)->text();
        w.wizard.cancelButton()->click();
    });
    QCOMPARE(w.wizard.beginWizard(), true);
    QCOMPARE(w.log.count("first build"), 3);
    QCOMPARE(w.log.count("first destroy"), 3);
    QCOMPARE(w.log.count("second gather"), 2); // Back gathers too, without a check
    QCOMPARE(w.log.count("second check"), 0);
    QCOMPARE(w.first.secondValue, QStringLiteral("/typed/before/back"));
    QCOMPARE(shownAfterReturn, QStringLiteral("/typed/before/back"));
}

void WizkitTest::nextCheckCanJumpToAPanelById()
{
    ThreePanelWizard w;
    w.first.checkResults = {w.third.panelId()};
    ModalAnswerer answerer;
    EWizardPanel *afterJump = nullptr;
    EWizardPanel *afterBack = nullptr;
    answerer.answer<EWizard>([&](QWidget *) {
        w.wizard.nextButton()->click();
        afterJump = w.wizard.currentPanel();
        w.wizard.backButton()->click();
        afterBack = w.wizard.currentPanel();
        w.wizard.cancelButton()->click();
    });
    w.wizard.beginWizard();
    QCOMPARE(afterJump, &w.third);
    QCOMPARE(afterBack, &w.first); // Back follows the way the user came
    QCOMPARE(w.log.count("second build"), 0);
}

void WizkitTest::anErrorInAPanelIsShownAndKeepsTheUserThere()
{
    ThreePanelWizard w;
    w.first.throwOnCheck = true;
    ModalAnswerer answerer;
    QStringList shown;
    EWizardPanel *afterError = nullptr;
    answerer.answer<EWizard>([&](QWidget *) {
        w.wizard.nextButton()->click(); // returns once the error box below is answered
        afterError = w.wizard.currentPanel();
        w.wizard.cancelButton()->click();
    });
    answerer.answer<EMessageBox>([&](QWidget *box) {
        shown = static_cast<EMessageBox *>(box)->lines();
        ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
    });
    QCOMPARE(w.wizard.beginWizard(), true);
    QCOMPARE(shown, QStringList({"Cannot read /x/seed.xsd: permission denied."}));
    QCOMPARE(afterError, &w.first);
    QCOMPARE(w.log.count("first build"), 1);
}

void WizkitTest::initTestCase()
{
    // Every message box of a program carries the program's title.
    QApplication::setApplicationDisplayName(QStringLiteral("Kit Test"));
}

void WizkitTest::helpWithoutAHelpFileSaysSo()
{
    ThreePanelWizard w;
    w.first.setHelpLibrary(QStringLiteral("nosuchhelp"));
    w.first.setHelpWindowTitle(QStringLiteral("Conversion Help"));
    w.first.setHelpId(1000);
    ModalAnswerer answerer;
    QStringList shown;
    QString title;
    answerer.answer<EWizard>([&](QWidget *) {
        w.wizard.helpButton()->click();
        w.wizard.cancelButton()->click();
    });
    answerer.answer<EMessageBox>([&](QWidget *box) {
        shown = static_cast<EMessageBox *>(box)->lines();
        title = box->windowTitle();
        ModalAnswerer::findButton(box, QStringLiteral("OK"))->click();
    });
    w.wizard.beginWizard();
    QCOMPARE(shown,
             QStringList({"Help File 'nosuchhelp' cannot be found.  Help may be disabled."}));
    QCOMPARE(title, QStringLiteral("Kit Test"));
}

void WizkitTest::helpShowsThePanelsPageInOneViewerBesideTheWizard()
{
    QTemporaryDir data;
    QVERIFY(QDir(data.path()).mkpath(QStringLiteral("help/kit")));
    for (const char *page : {"1000", "1100"}) {
        QFile file(data.filePath(QStringLiteral("help/kit/%1.html").arg(page)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("<html><body><h1>Page ") + page + "</h1></body></html>");
    }
    const QByteArray savedData = qgetenv("CHRONEX_DATA_DIR");
    qputenv("CHRONEX_DATA_DIR", data.path().toUtf8());

    ThreePanelWizard w;
    for (auto [panel, id] :
         {std::pair<RecordingPanel *, unsigned long>{&w.first, 1000}, {&w.second, 1100}}) {
        panel->setHelpLibrary(QStringLiteral("kit"));
        panel->setHelpWindowTitle(QStringLiteral("Conversion Help"));
        panel->setHelpId(id);
    }
    ModalAnswerer answerer;
    QList<HelpViewer *> viewers;
    QStringList pages;
    bool usable = false;
    answerer.answer<EWizard>([&](QWidget *) {
        w.wizard.helpButton()->click();
        w.wizard.nextButton()->click();
        w.wizard.helpButton()->click();
        viewers = w.wizard.findChildren<HelpViewer *>();
        for (HelpViewer *viewer : std::as_const(viewers)) {
            pages << viewer->currentPage().fileName() << viewer->windowTitle()
                  << viewer->browser()->toPlainText();
            // A window of its own that belongs to the modal wizard, so it is not blocked.
            usable = viewer->isWindow() && viewer->isVisible()
                     && viewer->parentWidget() == QApplication::activeModalWidget();
        }
        w.wizard.cancelButton()->click();
    });
    w.wizard.beginWizard();
    qputenv("CHRONEX_DATA_DIR", savedData);
    QCOMPARE(viewers.size(), 1);
    QCOMPARE(pages, QStringList({"1100.html", "Conversion Help", "Page 1100"}));
    QVERIFY(usable);
}

void WizkitTest::focusGoesToThePanelsFirstFieldOrToFinish()
{
    ThreePanelWizard w;
    ModalAnswerer answerer;
    QStringList focused;
    answerer.answer<EWizard>([&](QWidget *) {
        const auto focusName = [&] {
            return w.wizard.focusWidget() ? w.wizard.focusWidget()->objectName() : QString();
        };
        focused << focusName(); // a panel with fields: its first entry field, not its button
        w.wizard.nextButton()->setFocus();
        w.wizard.nextButton()->click();
        focused << focusName(); // no field: Next
        w.wizard.helpButton()->setFocus();
        w.wizard.nextButton()->click();
        focused << focusName(); // the last panel: Finish
        w.wizard.backButton()->click();
        focused << focusName();
        w.wizard.cancel();
    });
    w.wizard.beginWizard();
    QCOMPARE(focused, QStringList({"entryField1", "wizardNext", "wizardFinish", "wizardNext"}));
}

void WizkitTest::entryFieldsBindStringsAndButtonsAreNumbered()
{
    ThreePanelWizard w;
    w.first.firstValue = "/old/seed.xsd";
    ModalAnswerer answerer;
    QString shown;
    answerer.answer<EWizard>([&](QWidget *) {
        shown = w.first.entryField(1)->text();
        w.first.secondValue = QStringLiteral("set by the panel");
        w.first.refreshPanel();
        QCOMPARE(w.first.entryField(2)->text(), QStringLiteral("set by the panel"));
        w.first.entryField(1)->setText(QStringLiteral("/new/seed file.xsd"));
        w.wizard.findChild<QPushButton *>(QStringLiteral("entryButton2"))->click();
        w.wizard.findChild<QPushButton *>(QStringLiteral("entryButton1"))->click();
        // Not gathered yet: the bound string still holds the old value.
        QCOMPARE(w.first.firstValue, std::string("/old/seed.xsd"));
        w.wizard.nextButton()->click();
        w.wizard.cancelButton()->click();
    });
    w.wizard.beginWizard();
    QCOMPARE(shown, QStringLiteral("/old/seed.xsd"));
    QCOMPARE(w.first.pressedButtons, QList<int>({2, 1}));
    QCOMPARE(w.first.firstValue, std::string("/new/seed file.xsd"));
    QCOMPARE(w.first.entryField(1), nullptr); // not built any more
}

void WizkitTest::buttonLabelsComeFromTheResourceLibrary()
{
    EWizard wizard;
    QCOMPARE(wizard.nextButton()->text(), QStringLiteral("&Next>"));
    QCOMPARE(wizard.backButton()->text(), QStringLiteral("<&Back"));
    QCOMPARE(wizard.finishButton()->text(), QStringLiteral("Finish"));
    QCOMPARE(wizard.cancelButton()->text(), QStringLiteral("Cancel"));
    QCOMPARE(wizard.helpButton()->text(), QStringLiteral("Help"));
    wizard.setTitle(QStringLiteral("<b>Chronex</b> Wizard"), {});
    QCOMPARE(wizard.windowTitle(), QStringLiteral("Chronex Wizard"));
}

void WizkitTest::messageBoxReturnsThePressedButton_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");
    QTest::newRow("OK") << int(EMessageBox::okButton) << "OK" << int(EMessageBox::ok);
    QTest::newRow("Yes") << int(EMessageBox::yesNoButtons) << "Yes" << int(EMessageBox::yes);
    QTest::newRow("No") << int(EMessageBox::yesNoButtons) << "No" << int(EMessageBox::no);
    QTest::newRow("Retry") << int(EMessageBox::abortRetryIgnoreButtons) << "Retry"
                           << int(EMessageBox::retry);
    QTest::newRow("Escape") << int(EMessageBox::yesNoCancelButtons) << "" << int(EMessageBox::none);
}

void WizkitTest::messageBoxReturnsThePressedButton()
{
    QFETCH(int, style);
    QFETCH(QString, button);
    QFETCH(int, answer);
    EMessageBox box(nullptr, style, EMessageBox::questionBitmap);
    box.addLine(QStringLiteral("Create the directory <b>/out</b>?"));
    box.addLine();
    box.addBulletLine(QStringLiteral("a bullet"));
    ModalAnswerer answerer;
    if (button.isEmpty())
        answerer.reject<EMessageBox>();
    else
        answerer.pressButton<EMessageBox>(button);
    QCOMPARE(int(box.show()), answer);
    QCOMPARE(box.lines(),
             QStringList({"Create the directory <b>/out</b>?", "", "\u2022 a bullet"}));
}

void WizkitTest::panelErrorShowsItsTextInAnErrorBox()
{
    ModalAnswerer answerer;
    QStringList shown;
    answerer.answer<EMessageBox>([&](QWidget *w) {
        shown = static_cast<EMessageBox *>(w)->lines();
        ModalAnswerer::findButton(w, QStringLiteral("OK"))->click();
    });
    EWizardPanelError(nullptr, QStringLiteral("The seed file is missing.")).show();
    QCOMPARE(shown, QStringList({"The seed file is missing."}));
    QCOMPARE(EWizardPanelError(nullptr, {}).text(),
             QStringLiteral("Please correct the error on the screen before pressing next."));
}

void WizkitTest::fileTypeIsShownWithItsPattern()
{
    QCOMPARE(GenericFileDialog::fileTypeText("xsd", "Seed files"),
             QStringLiteral("Seed files (*.xsd)"));
}

void WizkitTest::animationCyclesThroughItsBitmaps()
{
    EAnimation animation;
    animation.begin(); // nothing to show: stays stopped
    QVERIFY(!animation.isRunning());
    for (const Qt::GlobalColor color : {Qt::red, Qt::green, Qt::blue}) {
        QPixmap bitmap(8, 8);
        bitmap.fill(color);
        animation.addBitmapAsLast(bitmap);
    }
    animation.setSize(96, 96);
    animation.setDelay(100);
    animation.begin();
    QVERIFY(animation.isRunning());
    QCOMPARE(animation.currentIndex(), 0);
    animation.advance();
    animation.advance();
    QCOMPARE(animation.currentIndex(), 2);
    animation.advance();
    QCOMPARE(animation.currentIndex(), 0);
    animation.end();
    QVERIFY(!animation.isRunning());
    QCOMPARE(animation.size(), QSize(96, 96));
}

void WizkitTest::screenshots()
{
    // Pictures of a panel with entry fields and of a message box for a look by eye, written
    // only when asked for.
    const QString directory = qEnvironmentVariable("CHRONEX_SCREENSHOT_DIR");
    if (directory.isEmpty())
        QSKIP("CHRONEX_SCREENSHOT_DIR not set");
    ThreePanelWizard w;
    w.first.addLine();
    w.first.addBulletLine(QStringLiteral("<i>italic</i>, <u>underlined</u>, "
                                         "<color=red>red</color> and <size=14>big</size> text; "
                                         "a stray < and an <unknown> tag stay as written"));
    w.first.firstValue = "/home/ana/seeds/sample.xsd";
    w.wizard.resize(700, 460);
    ModalAnswerer answerer;
    bool saved = false;
    answerer.answer<EWizard>([&](QWidget *) {
        saved = w.wizard.grab().save(directory + QStringLiteral("/wizkit-panel.png"));
        w.wizard.cancel();
    });
    w.wizard.beginWizard();
    QVERIFY(saved);

    EMessageBox box(nullptr, EMessageBox::yesNoButtons, EMessageBox::questionBitmap);
    box.setTitle(QStringLiteral("Chronex"));
    box.addLine(QStringLiteral("The directory <b>/home/ana/out</b> does not exist."));
    box.addBulletLine(QStringLiteral("Create it now?"));
    answerer.answer<EMessageBox>([&](QWidget *widget) {
        saved = widget->grab().save(directory + QStringLiteral("/wizkit-messagebox.png"));
        ModalAnswerer::findButton(widget, QStringLiteral("No"))->click();
    });
    QCOMPARE(box.show(), EMessageBox::no);
    QVERIFY(saved);
}

QTEST_MAIN(WizkitTest)
#include "WizkitTest.moc"
