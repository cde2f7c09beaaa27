// The message box display: messages raised on the GUI thread or on a worker thread appear in a
// box on the GUI thread, with the library's title, the text and the number with its place.
#include "KelMsgBox.h"
#include "KelMsg.h"
#include "KelMsgIds.h"
#include "ModalAnswerer.h"

#include <QMessageBox>
#include <QTest>

#include <thread>

class KelMsgBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { KelMsgBox::install(); }
    void cleanup() { KelMsgBox::uninstall(); }

    void aMessageOnTheGuiThreadShowsABox()
    {
        ModalAnswerer answerer;
        QString text, informative, title;
        answerer.answer<QMessageBox>([&](QWidget *w) {
            auto *box = static_cast<QMessageBox *>(w);
            text = box->text();
            informative = box->informativeText();
            title = box->windowTitle();
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->accept();
        });
        KelMsg::msg("KelDesktop.cpp", 399, KelMsgId::unitNotLoaded, "PAYROLL", "it is locked");
        QVERIFY(answerer.allAnswered());
        QCOMPARE(text, QStringLiteral("The program unit PAYROLL cannot be loaded: it is locked"));
        QCOMPARE(informative, QStringLiteral("KELF603E (KelDesktop.cpp:399)"));
        QCOMPARE(title, QStringLiteral("Chronex Analysis"));
    }

    void aMessageOfAWorkerThreadIsShownOnTheGuiThread()
    {
        ModalAnswerer answerer;
        QThread *shownOn = nullptr;
        answerer.answer<QMessageBox>([&](QWidget *w) {
            shownOn = QThread::currentThread();
            QCOMPARE(static_cast<QMessageBox *>(w)->icon(), QMessageBox::Warning);
            static_cast<QMessageBox *>(w)->accept();
        });
        std::thread worker([] {
            KelMsg::msg("keltree",
                        477,
                        KelMsgId::consistencyCheck,
                        "Token should have owning node.");
        });
        worker.join(); // the worker does not wait for the box
        QTRY_VERIFY_WITH_TIMEOUT(answerer.allAnswered(), 5000);
        QCOMPARE(shownOn, qApp->thread());
    }

    void theBoxLooksRight()
    {
        const KelMessage message = KelMsg::make("KelDataMapWindow.cpp",
                                                94,
                                                KelMsgId::databaseDamaged,
                                                {"/home/ana/y2kready/chxanalysis.db",
                                                 "chunk 3 of the tokens is damaged"});
        std::unique_ptr<QMessageBox> box = KelMsgBox::makeBox(message, nullptr);
        box->show();
        const QString dir = qEnvironmentVariable("CHRONEX_GRAB_DIR");
        if (!dir.isEmpty())
            box->grab().save(dir + "/kelmsgbox.png");
        QVERIFY(box->width() >= box->minimumSizeHint().width());
        QVERIFY(box->text().contains(QStringLiteral("chxanalysis.db")));
    }
};

QTEST_MAIN(KelMsgBoxTest)
#include "KelMsgBoxTest.moc"
