// The prediction-test window: opened by "予想の検証" of the prediction window
// with its options, it shows the backtest of those options, tests new ones
// when opened again after an option changed, and counts as an open analysis
// window for the entry guard.

#include "gui_support.h"
#include "money/yen_fixture.h"
#include "page_text.h"
#include "core/backtest/backtest.h"
#include "gui/backtest/backtest_window.h"
#include "gui/sheet/grid_actions.h"
#include "gui/sheet/sheet_print.h"
#include "gui/shell/main_frm.h"
#include "predict/game_samples.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QPdfWriter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

class BacktestWindowTest : public QObject {
    Q_OBJECT

private:
    HistoryFile m_file;

    static void compareSheets(const Sheet& actual, const Sheet& expected)
    {
        QCOMPARE(actual.rows(), expected.rows());
        QCOMPARE(actual.columns(), expected.columns());
        for (int r = 1; r <= expected.rows(); ++r)
            for (int c = 1; c <= expected.columns(); ++c)
                QCOMPARE(actual.text(c, r), expected.text(c, r));
    }

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void eachGameShowsItsMatchesAndClassesWhole_data()
    {
        QTest::addColumn<int>("game");
        for (const Game& g : games())
            QTest::addRow("%s", qPrintable(g.cliName.toString())) << int(g.id);
    }

    void eachGameShowsItsMatchesAndClassesWhole()
    {
        // Rows for 0 … k matches and the game's classes, the whole grid in view.
        QFETCH(int, game);
        const GameId id = GameId(game);
        const History& h = gameSample(id);
        QMdiArea area;
        area.resize(1600, 1000);
        auto* w = new BacktestWindow(id);
        area.addSubWindow(w);
        ReflectFlags flags;
        flags.on[0] = true;
        w->load(h, flags);
        w->show();
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));

        compareSheets(w->grid()->sheet(), buildBacktestSheet(runBacktest(h, id, flags)));
        QCOMPARE(w->grid()->sheet().text(1, 3 + mirkano::game(id).mains), QStringLiteral("%1個").arg(mirkano::game(id).mains));
        QCOMPARE(w->grid()->size(), w->grid()->sizeHint());
        const QRect grid(w->grid()->mapTo(w, QPoint(0, 0)), w->grid()->size());
        QVERIFY(w->rect().contains(grid));
        auto* scroll = w->findChild<QScrollArea*>(QStringLiteral("bodyScroll"));
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        QVERIFY(!scroll->verticalScrollBar()->isVisible());
        QVERIFY(w->width() >= twipsToPixels(BacktestWindow::kWidthTwips));
    }

    void predictionWindowButtonOpensItWithItsOptions()
    {
        QTemporaryDir settings;
        MainFrm frame(m_file.path(), settings.filePath(QStringLiteral("ミルカノ.ini")));
        QVERIFY(frame.load());
        frame.show();
        frame.findChild<QAction*>(QStringLiteral("mnuYoso"))->trigger();
        PredictionWindow* prediction = frame.predictionWindow();
        QVERIFY(prediction);
        QCOMPARE(prediction->backtestButton()->text(), QStringLiteral("予想の検証"));

        prediction->backtestButton()->click();
        BacktestWindow* w = frame.backtestWindow();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("予想の検証"));
        QCOMPARE(w->pos(), QPoint(0, 0));
        QCOMPARE(frame.mdiArea()->activeSubWindow(), w);
        QVERIFY(w->description()->text().contains(QStringLiteral("抽せんは無作為に行われる")));
        // Only draw 6 of the small history has four draws before it.
        QCOMPARE(w->summary()->text(), QStringLiteral("反映するオプションなし：予想の元にする過去の当選数字をさかのぼらせません\n"
                                                      "第6回～第6回の1回を検証"));
        compareSheets(w->grid()->sheet(), buildBacktestSheet(runBacktest(frame.history(), {})));
        QVERIFY(!QApplication::overrideCursor());

        // Another option: the same window tests the new options.
        prediction->reflectButton(4)->click();
        prediction->backtestButton()->click();
        QCOMPARE(frame.backtestWindow(), w);
        QCOMPARE(w->flags().offset(), 10);
        // The number is said in words: how far back the predictions look.
        QCOMPARE(w->summary()->text(),
                 QStringLiteral("反映するオプション1個：予想の元にする過去の当選数字を10回分さかのぼって選びます"
                                "（オプションの重みの合計 10）\n第16回以降に検証できる回がありません"));
        prediction->reflectButton(0)->click();
        prediction->backtestButton()->click();
        QVERIFY(w->summary()->text().startsWith(
            QStringLiteral("反映するオプション2個：予想の元にする過去の当選数字を11回分さかのぼって選びます")));
        QCOMPARE(w->grid()->sheet().text(2, 16), QStringLiteral("0"));
    }

    void itCountsAsAnOpenAnalysisWindow()
    {
        QTemporaryDir settings;
        MainFrm frame(m_file.path(), settings.filePath(QStringLiteral("ミルカノ.ini")));
        QVERIFY(frame.load());
        frame.show();
        if (QMdiSubWindow* prediction = frame.predictionWindow())
            prediction->close();
        QVERIFY(frame.propEnd());

        BacktestWindow* w = frame.openBacktest({});
        QVERIFY(!frame.propEnd());
        {
            MessageCatcher catcher;
            QVERIFY(!frame.openWinningDataEntry());
            QCOMPARE(int(catcher.seen().size()), 1);
        }
        w->closeButton()->click();
        QVERIFY(frame.propEnd());
        QVERIFY(!frame.backtestWindow());
    }

    // 印刷 (and the grid's 印刷…) prints the test under a header naming the
    // game and the last draw of the history tested.
    // With prize data (here for every Loto 6 draw but the last four) the
    // summary gives the single prediction's money under the draws tested,
    // naming the draws left out; the grid is the same.
    void summaryGivesTheMoneyWithPrizeData()
    {
        const History& h = gameSample(GameId::Loto6);
        PrizeTable prizes;
        for (const DrawRecord& d : h)
            if (d.drawNo <= h.back().drawNo - 4)
                prizes.push_back(loto6Prizes(d.drawNo, {100'000'000, 10'000'000, 300'000, 6'000, 1'000}));
        BacktestWindow w(GameId::Loto6);
        w.load(h, ReflectFlags{}, prizes);
        const BacktestResult r = runBacktest(h, GameId::Loto6, ReflectFlags{}, prizes);
        const QStringList lines = w.summary()->text().split(u'\n');
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.mid(2), backtestMoneyLines(r));
        QCOMPARE(lines[2], QStringLiteral("１発予想が6個そろい1口として買えた回：検証した%1回のうち%2回").arg(r.draws).arg(r.ticketDraws));
        QVERIFY(r.ticketDraws > 2000);
        QVERIFY(lines[5].endsWith(QStringLiteral("第%1回～第%2回").arg(h.back().drawNo - 3).arg(h.back().drawNo)));
        compareSheets(w.grid()->sheet(), buildBacktestSheet(runBacktest(h, GameId::Loto6, ReflectFlags{})));
    }

    // The frame hands the history file's prize data to the window.
    void theFrameGivesItThePrizeData()
    {
        test::TempDir dir;
        const QString path = dir.path(QStringLiteral("Mirkano.mdb"));
        saveHistory(path, yenHistory(), GameId::Loto6, yenPrizes());
        MainFrm frame(path);
        QVERIFY(frame.load());
        BacktestWindow* w = frame.openBacktest(ReflectFlags{});
        QVERIFY(w->summary()->text().contains(QStringLiteral("１発予想が6個そろい1口として買えた回：検証した1回のうち1回")));
        QVERIFY(w->summary()->text().contains(QStringLiteral("金額（賞金データのある1回、１発予想を各回1口）")));
    }

    void printsTheTestNamingTheGameAndLastDraw()
    {
        const GameId id = GameId::Loto7;
        const History& h = gameSample(id);
        BacktestWindow w(id);
        w.load(h, ReflectFlags{});
        QCOMPARE(w.printButton()->text(), QStringLiteral("印刷"));
        QVERIFY(GridActions::of(w.grid())->printHandler);
        QCOMPARE(w.printSource(), QStringLiteral("ロト7　第%1回まで").arg(h.back().drawNo));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("backtest.pdf"));
        {
            QPdfWriter pdf(path);
            w.printTo(pdf);
        }
        QCOMPARE(pdfPageCount(path), 1);
    }
};

QTEST_MAIN(BacktestWindowTest)
#include "backtest_window_test.moc"
