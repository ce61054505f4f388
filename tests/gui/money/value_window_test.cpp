// The window 期待値: with prize data it shows the averages, the next draw's
// ceiling, a chart of both values against the price with carry-over draws
// marked and a row per draw, newest first; without prize data it says so
// and how to bring them in.

#include "gui_support.h"
#include "gui/money/value_chart.h"
#include "gui/money/value_table.h"
#include "gui/money/value_window.h"
#include "gui/shell/main_frm.h"
#include "support/prize_samples.h"

#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QMdiArea>
#include <QAreaSeries>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using namespace mirkano;
using namespace mirkano::test;

namespace {

DrawPrizes draw(int no, std::array<std::int64_t, 5> winners, std::array<Yen, 5> prize, Yen carry)
{
    return loto6Draw(no, winners, prize, carry);
}

// Draws 1 … 3 of the small history: draw 2 leaves a carry-over that draw 3
// receives; draws 4 … 6 have no prize data.
PrizeTable smallPrizes()
{
    return {
        draw(1, {1, 2, 100, 5000, 80000}, {100000000, 10000000, 500000, 9000, 1000}, 0),
        draw(2, {0, 3, 150, 6000, 90000}, {0, 8000000, 400000, 8000, 1000}, 150000000),
        draw(3, {1, 2, 100, 5000, 85000}, {300000000, 9000000, 450000, 8500, 1000}, 0),
    };
}

}  // namespace

class ValueWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uiFont()); }

    void showsFiguresChartAndTable()
    {
        ValueWindow w;
        QSignalSpy opened(&w, &ChildWindow::opened);
        w.load(smallHistory(), smallPrizes(), GameId::Loto6);
        w.QMdiSubWindow::show();
        QCOMPARE(opened.count(), 1);
        QCOMPARE(w.windowTitle(), QStringLiteral("期待値"));

        const QString summary = w.summary()->text();
        QVERIFY2(summary.contains(QStringLiteral("賞金データのある 3回（第1回～第3回）の平均")), qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("賞金データがそろわない 3回は除いています")), qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("次の第4回（キャリーオーバーなし）")), qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("多くても 90.0円（価格の 0.450）で、価格 200円に届きません")), qPrintable(summary));
        QVERIFY(w.method()->isVisibleTo(&w));
        QVERIFY(w.method()->text().contains(QStringLiteral("販売額の45％")));

        // Newest first; draw 2's tickets from the fund, its carry-over shown.
        QCOMPARE(w.model()->rowCount(), 3);
        QCOMPARE(w.model()->text(0, 0), QStringLiteral("3"));
        QCOMPARE(w.model()->text(1, 4), QStringLiteral("4,133,333口（賞金総額から）"));
        QCOMPARE(w.model()->text(1, 5), QStringLiteral("150,000,000円"));
        // Draw 1, its tickets from the fund without any carry-over: 45 % of the price.
        QCOMPARE(w.model()->text(2, 1), QStringLiteral("90.0円"));
        QCOMPARE(w.model()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("無作為な1口の価値"));

        // Random value and paid out per draw, the price, their moving
        // means, and draw 3 marked as receiving a carry-over.
        const QList<QAbstractSeries*> series = w.chart()->chart()->series();
        QCOMPARE(series.size(), 6);
        const auto* random = static_cast<QLineSeries*>(series[0]);
        QCOMPARE(random->count(), 3);
        QCOMPARE(random->at(2), QPointF(3, w.report().draws[2].random));
        const auto* price = static_cast<QLineSeries*>(series[2]);
        QCOMPARE(price->at(0).y(), 200.0);
        const auto* randomMean = static_cast<QLineSeries*>(series[3]);
        QCOMPARE(randomMean->at(1).y(), (w.report().draws[0].random + w.report().draws[1].random) / 2);
        // Draw 3's band: a step from 2.5 to 3.5.
        const auto* carried = qobject_cast<QAreaSeries*>(series[5]);
        QVERIFY(carried);
        const QList<QPointF> band = carried->upperSeries()->points();
        QCOMPARE(band.size(), 4);
        QCOMPARE(band[0].x(), 2.5);
        QCOMPARE(band[3].x(), 3.5);

        // The chart paints its lines, not an empty frame.
        QImage image(w.chart()->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        static_cast<QWidget*>(w.chart())->render(&image);
        int painted = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                painted += image.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY2(painted > 1000, qPrintable(QString::number(painted)));
    }

    // A long history is thinned to the chart's columns, every peak kept.
    void longHistoryThinnedWithItsPeaks()
    {
        ValueReport r;
        r.price = 200;
        for (int no = 1; no <= 30000; ++no) {
            DrawValue v;
            v.drawNo = no;
            v.random = no == 12345 ? 900 : 80 + no % 7;
            v.paidOut = no == 777 ? 5 : 90;
            v.carryIn = no > 100 && no <= 200 ? 1 : 0;
            r.draws.push_back(v);
        }
        std::unique_ptr<QChart> chart(makeValueChart(r));
        const QList<QAbstractSeries*> series = chart->series();
        const auto maxOf = [](const QList<QPointF>& p) {
            return std::max_element(p.begin(), p.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); })->y();
        };
        const auto minOf = [](const QList<QPointF>& p) {
            return std::min_element(p.begin(), p.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); })->y();
        };
        const QList<QPointF> random = static_cast<QLineSeries*>(series[0])->points();
        QVERIFY(random.size() <= 2 * kChartColumns);
        QCOMPARE(maxOf(random), 900.0);
        QCOMPARE(minOf(static_cast<QLineSeries*>(series[1])->points()), 5.0);
        QVERIFY(static_cast<QLineSeries*>(series[3])->count() <= kChartColumns + 1);
        double lastMean = 0;
        for (std::size_t i = r.draws.size() - kMeanDraws; i < r.draws.size(); ++i)
            lastMean += r.draws[i].random / kMeanDraws;
        QVERIFY(qAbs(static_cast<QLineSeries*>(series[3])->points().back().y() - lastMean) < 1e-9);
        // Draws 101 … 200 received a carry-over: one step over their columns.
        const QList<QPointF> band = qobject_cast<QAreaSeries*>(series[5])->upperSeries()->points();
        QCOMPARE(band.size(), 4);
        QVERIFY(band[0].x() <= 101 && band[0].x() > 25);
        QVERIFY(band[3].x() >= 200 && band[3].x() < 300);
    }

    void saysHowToGetPrizeData()
    {
        ValueWindow w;
        w.load(smallHistory(), {}, GameId::Loto6);
        w.QMdiSubWindow::show();
        QCOMPARE(w.summary()->text(), kValueNoPrizeData);
        QVERIFY(w.summary()->text().contains(QStringLiteral("CSVから取り込み")));
        QVERIFY(!w.chart());
        QVERIFY(!w.table()->isVisibleTo(&w));
        QCOMPARE(w.model()->rowCount(), 0);

        // Prize data arriving later fill the same window.
        w.recompute(smallHistory(), smallPrizes(), GameId::Loto6);
        QVERIFY(w.chart()->isVisibleTo(&w));
        QCOMPARE(w.model()->rowCount(), 3);
    }

    // データ分析 → 期待値 opens the window on the frame's history file; a
    // second time brings the same window to the front.
    void menuOpensItOnTheHistoryFile()
    {
        HistoryFile file;
        MainFrm frame(file.path());
        QVERIFY(frame.load());
        frame.show();
        frame.findChild<QAction*>(QStringLiteral("mnuKitaichi"))->trigger();
        ValueWindow* w = frame.valueWindow();
        QVERIFY(w);
        QCOMPARE(w->report().game, GameId::Loto6);
        QCOMPARE(w->report().skipped, 6);
        QCOMPARE(w->summary()->text(), kValueNoPrizeData);
        frame.findChild<QAction*>(QStringLiteral("mnuKitaichi"))->trigger();
        QCOMPARE(frame.valueWindow(), w);
        QCOMPARE(frame.mdiArea()->subWindowList().count(static_cast<QMdiSubWindow*>(w)), 1);
    }
};

QTEST_MAIN(ValueWindowTest)
#include "value_window_test.moc"
