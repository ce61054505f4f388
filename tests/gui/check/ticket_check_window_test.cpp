// The ticket-check window: opened from its menu item, it counts as an open
// analysis window for the entry guard; "確認" shows the wins of the entered
// ticket and refuses a bad one with a message, keeping the result shown.

#include "gui_support.h"
#include "gui/check/ticket_check_window.h"
#include "gui/shell/main_frm.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

class TicketCheckWindowTest : public QObject {
    Q_OBJECT

private:
    HistoryFile m_file;

    static void enter(TicketCheckWindow* w, const QStringList& numbers)
    {
        for (int i = 0; i < 6; ++i)
            w->entry(i)->setText(numbers.value(i));
    }

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void menuItemOpensItAndItCountsForTheEntryGuard()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        // The prediction window, opened by the frame's activation, would
        // clear the flag as well.
        if (QMdiSubWindow* prediction = frame.predictionWindow())
            prediction->close();
        QVERIFY(frame.propEnd());
        frame.findChild<QAction*>(QStringLiteral("mnuTosenKakunin"))->trigger();
        TicketCheckWindow* w = frame.ticketCheckWindow();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("当選確認"));
        QCOMPARE(w->pos(), QPoint(0, 0));
        QCOMPARE(frame.mdiArea()->activeSubWindow(), w);
        QVERIFY(!frame.propEnd());
        QCOMPARE(w->grid()->sheet().rows(), 1);  // header only until the first check
        QVERIFY(!QApplication::overrideCursor());
        {
            MessageCatcher catcher;
            QVERIFY(!frame.openWinningDataEntry());
            QCOMPARE(int(catcher.seen().size()), 1);
        }
        // Opening it again brings the same window to the front.
        frame.openAnalysis(QStringLiteral("pull"));
        QCOMPARE(frame.openTicketCheck(), w);
        QCOMPARE(frame.mdiArea()->activeSubWindow(), w);

        frame.analysisWindow(QStringLiteral("pull"))->close();
        frame.openTicketCheck();
        w->closeButton()->click();
        QVERIFY(frame.propEnd());
        QVERIFY(!frame.ticketCheckWindow());
    }

    void checkShowsTheWinsAndRefusesBadTickets()
    {
        MainFrm frame(m_file.path());
        QVERIFY(frame.load());
        frame.show();
        TicketCheckWindow* w = frame.openTicketCheck();

        // Draw 1 of the small history is 1 … 6 with bonus 7; draw 5 holds 1 and 2.
        enter(w, {"6", "5", "4", "3", "２", "1"});
        w->checkButton()->click();
        const Sheet& s = w->grid()->sheet();
        QCOMPARE(s.rows(), 2);
        QCOMPARE(s.text(1, 2), QStringLiteral("1"));
        QCOMPARE(s.text(10, 2), QStringLiteral("1等"));
        QCOMPARE(w->summary()->text(), QStringLiteral("全5回中　1等 1回　2等 0回　3等 0回　4等 0回　5等 0回"));

        const struct {
            QStringList numbers;
            const char* message;
        } bad[] = {
            {{"1", "2", "3", "4", "5", "5"}, "数字 5 が重複しています（5番目と6番目）。"},
            {{"1", "2", "", "4", "5", "6"}, "3番目の数字が入力されていません。"},
            {{"1", "2", "3", "4", "5", "44"}, "6番目の数字 44 が 1～43 の範囲外です。"},
            {{"1", "2", "a", "4", "5", "6"}, "3番目の「a」は数字ではありません。"},
        };
        for (const auto& c : bad) {
            enter(w, {"6", "5", "4", "3", "2", "1"});
            QVERIFY(w->check());
            enter(w, c.numbers);
            MessageCatcher catcher;
            // Enter in an entry checks as the button does.
            QTest::keyClick(w->entry(5), Qt::Key_Return);
            QCOMPARE(int(catcher.seen().size()), 1);
            QCOMPARE(catcher.seen().front().text, QString::fromUtf8(c.message));
            QCOMPARE(catcher.seen().front().title, QStringLiteral("メッセ－ジ"));
            // The earlier ticket's result does not stand under the new numbers.
            QCOMPARE(w->grid()->sheet().rows(), 1);
            QCOMPARE(w->grid()->sheet().text(1, 2), QString());
            QVERIFY(w->summary()->text().isEmpty());
        }

        // Return on the focused 確認 checks, on the focused 閉じる closes.
        enter(w, {"1", "2", "3", "4", "5", "6"});
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        w->checkButton()->setFocus();
        QTest::keyClick(w->checkButton(), Qt::Key_Return);
        QCOMPARE(w->grid()->sheet().rows(), 2);
        QCOMPARE(w->summary()->text().left(4), QStringLiteral("全5回中"));

        // A ticket with no win shows the header alone and zero counts.
        enter(w, {"37", "38", "39", "40", "41", "42"});
        QVERIFY(w->check());
        QCOMPARE(w->grid()->sheet().rows(), 1);
        QCOMPARE(w->summary()->text(), QStringLiteral("全5回中　1等 0回　2等 0回　3等 0回　4等 0回　5等 0回"));

        QTest::keyClick(w->closeButton(), Qt::Key_Enter);
        QVERIFY(!frame.ticketCheckWindow());
    }
};

QTEST_MAIN(TicketCheckWindowTest)
#include "ticket_check_window_test.moc"
