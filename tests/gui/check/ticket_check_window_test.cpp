// The ticket-check window: opened from its menu item, it counts as an open
// analysis window for the entry guard; "確認" shows the wins of the entered
// ticket and refuses a bad one with a message, keeping the result shown.

#include "gui_support.h"
#include "money/yen_fixture.h"
#include "page_text.h"
#include "core/check/ticket_check.h"
#include "gui/check/ticket_check_window.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/sheet_print.h"
#include "gui/shell/main_frm.h"
#include "predict/game_samples.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPdfWriter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
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

    // The grid lies wholly inside the window, and the window's contents need
    // no scroll bar of their own.
    static bool gridInView(TicketCheckWindow* w)
    {
        const QRect grid(w->grid()->mapTo(w, QPoint(0, 0)), w->grid()->size());
        auto* scroll = w->findChild<QScrollArea*>(QStringLiteral("bodyScroll"));
        return w->rect().contains(grid) && !scroll->horizontalScrollBar()->isVisible() &&
               !scroll->verticalScrollBar()->isVisible();
    }

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void loto7TicketHasSevenEntriesAndTwoBonuses()
    {
        QMdiArea area;
        area.resize(1600, 1000);
        auto* w = new TicketCheckWindow(GameId::Loto7);
        area.addSubWindow(w);
        w->load(makeGameHistory(GameId::Loto7, {
            {1, {1, 2, 3, 10, 11, 12, 13, 14, 4}},  // three and the second bonus: 6等
            {2, {1, 2, 3, 4, 5, 6, 10, 7, 11}},     // six and the first bonus: 2等
            {3, {20, 21, 22, 23, 24, 25, 26, 27, 28}},
        }));
        w->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));

        QCOMPARE(w->entryCount(), 7);
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("入力した７個の数字が過去の抽せんで当選していたか確認します"));
        for (int i = 0; i < 7; ++i) {
            QVERIFY(w->entry(i)->isVisible());
            w->entry(i)->setText(QString::number(7 - i));
        }
        QVERIFY(w->check());
        const Sheet& s = w->grid()->sheet();
        QCOMPARE(s.columns(), 12);
        QCOMPARE(s.rows(), 3);
        QCOMPARE(rowTexts(s, 3, 1, 12), (QStringList{"1", "1", "2", "3", "10", "11", "12", "13", "14", "4", "3",
                                                      QStringLiteral("6等")}));
        QCOMPARE(s.cell(10, 3).bg, kMatchedBonus);
        QCOMPARE(w->summary()->text(),
                 QStringLiteral("全3回中　1等 0回　2等 1回　3等 0回　4等 0回　5等 0回　6等 1回"));
        QVERIFY(gridInView(w));

        // The game's range in the refusal.
        w->entry(6)->setText(QStringLiteral("38"));
        MessageCatcher catcher;
        QVERIFY(!w->check());
        QCOMPARE(int(catcher.seen().size()), 1);
        QCOMPARE(catcher.seen().front().text, QStringLiteral("7番目の数字 38 が 1～37 の範囲外です。"));
    }

    void eachGameShowsItsEntriesAndWholeGrid_data()
    {
        QTest::addColumn<int>("game");
        for (const Game& g : games())
            QTest::addRow("%s", qPrintable(g.cliName.toString())) << int(g.id);
    }

    void eachGameShowsItsEntriesAndWholeGrid()
    {
        // The real history with its latest draw repeated 40 times after it:
        // the latest draw's numbers win often enough for the grid's scroll
        // bar, and the window still shows the grid whole.
        QFETCH(int, game);
        const GameId id = GameId(game);
        History h = gameSample(id);
        for (int i = 0; i < 40; ++i) {
            DrawRecord d = h.back();
            ++d.drawNo;
            h.push_back(d);
        }
        QMdiArea area;
        area.resize(1600, 1000);
        auto* w = new TicketCheckWindow(id);
        area.addSubWindow(w);
        w->load(h);
        w->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QCOMPARE(w->entryCount(), mirkano::game(id).mains);
        QVERIFY(w->width() >= twipsToPixels(TicketCheckWindow::kWidthTwips));
        QVERIFY(gridInView(w));
        for (int i = 0; i < w->entryCount(); ++i)
            w->entry(i)->setText(QString::number(h.back().main(i)));
        QVERIFY(w->check());
        QVERIFY(w->grid()->sheet().rows() > 31);
        QTRY_VERIFY(gridInView(w));
        QCOMPARE(w->grid()->size(), w->grid()->sizeHint());
        // Loto 6's window keeps its size; Loto 7's twelve columns widen it.
        if (id == GameId::Loto6)
            QCOMPARE(w->width(), twipsToPixels(TicketCheckWindow::kWidthTwips));
        if (id == GameId::Loto7)
            QVERIFY(w->width() > twipsToPixels(TicketCheckWindow::kWidthTwips));
    }

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

    // With the history file's prize data each win shows its 賞金 or 不明 in
    // a column of its own, wholly in view, and the summary the money.
    void showsTheWinningsInYenWithPrizeData()
    {
        test::TempDir dir;
        const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
        saveHistory(path, yenHistory(), GameId::Loto6, yenPrizes());
        MainFrm frame(path);
        QVERIFY(frame.load());
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        TicketCheckWindow* w = frame.openTicketCheck();
        enter(w, {"1", "2", "3", "4", "5", "6"});
        QVERIFY(w->check());
        const Sheet& s = w->grid()->sheet();
        QCOMPARE(s.text(11, 1), QStringLiteral("賞金"));
        QCOMPARE(rowTexts(s, 2, 1, 11).last(), QStringLiteral("不明"));
        QCOMPARE(rowTexts(s, 6, 1, 11).last(), QStringLiteral("200,000,000円"));
        QTRY_VERIFY(gridInView(w));
        const QStringList lines = w->summary()->text().split(u'\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[1], QStringLiteral("金額（賞金データのある5回、この数字を各回1口）：購入額 1,000円　"
                                          "当選金 212,346,600円（還元率 21234660.0％）"));
        QVERIFY(lines[2].contains(QStringLiteral("期待値 348円（還元率 34.8％）")));
        QVERIFY(lines[3].contains(QStringLiteral("第5回")));
        QVERIFY(w->summary()->isVisible());

        // A history without prize data checks as before: no column, one line.
        w->setHistory(yenHistory());
        QVERIFY(w->check());
        QCOMPARE(w->grid()->sheet().columns(), 10);
        QVERIFY(!w->summary()->text().contains(u'\n'));
    }

    // 印刷 prints what the grid shows, under a header naming the game and
    // the history the ticket was checked against, not a newer one kept for
    // the next check.
    void printsTheResultWithTheHistoryItWasCheckedAgainst()
    {
        const GameId id = GameId::MiniLoto;
        const History h = gameSample(id);
        TicketCheckWindow w(id);
        w.load(h);
        QCOMPARE(w.printButton()->text(), QStringLiteral("印刷"));
        QVERIFY(GridActions::of(w.grid())->printHandler);
        for (int i = 0; i < w.entryCount(); ++i)
            w.entry(i)->setText(QString::number(h.back().main(i)));
        QVERIFY(w.check());
        const QString checked = historySourceText(id, h.back().drawNo);
        QCOMPARE(w.printSource(), checked);
        History newer = h;
        newer.push_back(h.back());
        ++newer.back().drawNo;
        w.setHistory(newer);
        QCOMPARE(w.printSource(), checked);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("check.pdf"));
        {
            QPdfWriter pdf(path);
            w.printTo(pdf);
        }
        QVERIFY(pdfPageCount(path) >= 1);
    }
};

QTEST_MAIN(TicketCheckWindowTest)
#include "ticket_check_window_test.moc"
